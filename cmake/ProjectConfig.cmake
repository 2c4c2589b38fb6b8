# One interface target carries the language standard, warnings and Qt defines for every target.
add_library(dashcam_config INTERFACE)
target_compile_features(dashcam_config INTERFACE cxx_std_20)
# qBittorrent's warning set: casts that drop qualifiers or alignment, hidden virtuals, C casts.
target_compile_options(dashcam_config INTERFACE
    -Wall -Wextra -Wpedantic -Wcast-qual -Wcast-align -Woverloaded-virtual -Wold-style-cast
    -Wnon-virtual-dtor
)
target_compile_definitions(dashcam_config INTERFACE
    QT_NO_NARROWING_CONVERSIONS_IN_CONNECT
    QT_USE_QSTRINGBUILDER
    QT_NO_CAST_FROM_ASCII
    QT_NO_KEYWORDS
)
target_include_directories(dashcam_config INTERFACE ${PROJECT_SOURCE_DIR})
