# The Debian package: in a build directory, `cpack -G DEB` writes
# zelton_<version>_<arch>.deb with the program in /usr/bin, its desktop
# entry, its hicolor icons and its AppStream metainfo.

set(ZELTON_SCREENSHOT_BASE_URL "https://zelton.example/screenshots" CACHE STRING
    "Web address under which the README's screenshots (docs/screenshots) are published")
configure_file(${PROJECT_SOURCE_DIR}/resources/zelton.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/ru.zelton.Selector.metainfo.xml @ONLY)
include(GNUInstallDirs)
install(FILES ${PROJECT_BINARY_DIR}/ru.zelton.Selector.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelton)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zelton")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "sizing of the regulating valve of a heat substation")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Подбор Zelton: a Russian-language calculator with which a heating engineer\n"
    "sizes the regulating valve of a district-heating substation, with an A4\n"
    "sizing sheet to print or save as PDF (also from the command line).")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zelton maintainers <maintainers@zelton.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
# Libraries the program and its printing module link come from
# dpkg-shlibdeps. What it loads by name at run time cannot be seen there:
# the toolkit's platform plugins (xcb, offscreen), the one font the window
# and the sheet are set in, and the toolkit's Russian translation.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-liberation2, qt6-translations-l10n")
include(CPack)
