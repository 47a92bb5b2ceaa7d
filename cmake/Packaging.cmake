# Installation as a desktop program, and the Debian package made from it.
#
#   cmake --install build/debug --prefix /usr/local
#   ./dev package                      (the .deb, in build/package)
#
# Installs the program and its tools, the launcher (.desktop), the program's
# icon at 48 and 256 pixels and as SVG, and the AppStream metadata that software
# centres read. The icon files are drawn by tools/icongen/draw_program_icon.py.

include(GNUInstallDirs)

set(RK_APP_ID org.reelkeeper.Reelkeeper)
set(RK_DESKTOP_DIR ${PROJECT_SOURCE_DIR}/resources/desktop)

install(TARGETS reelkeeper kmftool rkseed rkcalc RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${RK_DESKTOP_DIR}/${RK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${RK_DESKTOP_DIR}/${RK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${RK_DESKTOP_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME reelkeeper)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The REELKEEPER developers")
set(CPACK_PACKAGE_CONTACT "The REELKEEPER developers <reelkeeper@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Catalogue of a private collection of video tapes")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Keeps home-recorded tapes and what is on them, commercial videos with their cast, "
       "subjects and manufacturers, in crash-safe record files; browses, forms, trees and "
       "printed catalogues.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The build keeps its debugging information; the package does not need it.
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
# The Qt and Boost libraries the binaries link are found by dpkg-shlibdeps, so the
# dependencies name the runtime packages of exactly the versions built against.
# What the linker cannot see is named here: the display plugins Qt loads at run
# time and the font faces the window definitions' fonts are mapped to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation, fonts-dejavu-core")
include(CPack)
