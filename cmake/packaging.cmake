# The Debian package: in a build directory, `cpack -G DEB` writes
# zelton_<version>_<arch>.deb with the program in /usr/bin, its desktop
# entry, its hicolor icons, its AppStream metainfo, its manual page, and its
# copyright file and changelog in /usr/share/doc/zelton.

set(ZELTON_SCREENSHOT_BASE_URL "https://zelton.example/screenshots" CACHE STRING
    "Web address under which the README's screenshots (docs/screenshots) are published")
configure_file(${PROJECT_SOURCE_DIR}/resources/zelton.metainfo.xml.in
               ${PROJECT_BINARY_DIR}/ru.zelton.Selector.metainfo.xml @ONLY)
include(GNUInstallDirs)
install(FILES ${PROJECT_BINARY_DIR}/ru.zelton.Selector.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# What Debian's checker (lintian) asks of every package: the copyright file
# (machine-readable), the changelog of a native package and the manual
# page, the last two compressed as Debian compresses them (gzip -9n: best
# compression, no name or time in the header, so the same bytes every time).
if(UNIX)
  set(ZELTON_DEBIAN ${PROJECT_SOURCE_DIR}/cmake/debian)
  file(STRINGS ${ZELTON_DEBIAN}/changelog newestEntry LIMIT_COUNT 1)
  string(FIND "${newestEntry}" "zelton (${PROJECT_VERSION}) " at)
  if(NOT at EQUAL 0)
    message(FATAL_ERROR "cmake/debian/changelog: the newest entry is not that of version ${PROJECT_VERSION}")
  endif()
  set(gzipped)
  foreach(doc ${ZELTON_DEBIAN}/changelog ${PROJECT_SOURCE_DIR}/app/zelton.1)
    get_filename_component(name ${doc} NAME)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${name}.gz
                       COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" sh ${doc} ${PROJECT_BINARY_DIR}/${name}.gz
                       DEPENDS ${doc} VERBATIM)
    list(APPEND gzipped ${PROJECT_BINARY_DIR}/${name}.gz)
  endforeach()
  add_custom_target(zelton_package_docs ALL DEPENDS ${gzipped})
  install(FILES ${ZELTON_DEBIAN}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
          DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zelton)
  install(FILES ${PROJECT_BINARY_DIR}/zelton.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()

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
