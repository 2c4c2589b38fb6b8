# What `cmake --install` puts where the freedesktop.org specifications look: the program, its
# desktop entry (so menus list it and file managers offer it for folders), its AppStream
# metadata and its icon. One reverse-DNS id names all three.
include(GNUInstallDirs)

# Installing and packaging need only the program, not every test and tool of the build.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

install(TARGETS dashcam-settings RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# The menu name in every language the program speaks, from its own language documents.
set(desktop_locales
    french=fr russian=ru korean=ko spanish=es chinesesimplified=zh_CN chinesetraditional=zh_TW
    german=de italian=it japanese=ja portuguese=pt)
set(DASHCAM_DESKTOP_NAMES "")
foreach(pair IN LISTS desktop_locales)
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 document)
    list(GET pair 1 locale)
    set(document "${PROJECT_SOURCE_DIR}/resources/lang/${document}.ini")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${document}")
    file(STRINGS "${document}" title_line REGEX "^IDS_STRING101=\"" ENCODING UTF-8)
    if(title_line MATCHES "^IDS_STRING101=\"(.+)\"$")
        string(APPEND DASHCAM_DESKTOP_NAMES "Name[${locale}]=${CMAKE_MATCH_1}\n")
    endif()
endforeach()
string(STRIP "${DASHCAM_DESKTOP_NAMES}" DASHCAM_DESKTOP_NAMES)

set(desktop_folder "${PROJECT_BINARY_DIR}/desktop")
configure_file(resources/desktop/app.desktop.in "${desktop_folder}/${DASHCAM_APP_ID}.desktop" @ONLY)
configure_file(resources/desktop/app.metainfo.xml.in "${desktop_folder}/${DASHCAM_APP_ID}.metainfo.xml" @ONLY)

install(FILES "${desktop_folder}/${DASHCAM_APP_ID}.desktop" DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${desktop_folder}/${DASHCAM_APP_ID}.metainfo.xml" DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES resources/icons/dashcam-settings-64.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps RENAME ${DASHCAM_APP_ID}.png)
install(FILES resources/icons/dashcam-settings.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/256x256/apps RENAME ${DASHCAM_APP_ID}.png)
