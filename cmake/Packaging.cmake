# `make package`: a Debian package of what `cmake --install` installs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dashcam-settings)
set(CPACK_PACKAGE_VENDOR "Dash Cam Settings developers")
set(CPACK_PACKAGE_CONTACT "Dash Cam Settings developers <dashcam-settings@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Editor for the settings a car dash cam keeps on its memory card")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Opens a car dash cam's memory card, shows the recording, memory card and system settings on\n"
    "three pages and writes them back to the card. It can also set the camera's clock and format\n"
    "the card while keeping the camera's files. The interface speaks eleven languages.")
set(CPACK_PACKAGE_INSTALL_DIRECTORY dashcam-settings)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the program's own links; the rest the program needs but does not link.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The skin font (a free Tahoma) and the glyphs of the Chinese, Japanese and Korean texts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wine, fonts-wqy-microhei, fonts-noto-cjk")
# Only formatting needs these, and without them the program says formatting is not available:
# the settings editor itself works without them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "dosfstools, exfatprogs, udisks2")
include(CPack)
