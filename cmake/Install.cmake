# Where `cmake --install` puts Pelodyn under its prefix, and the Debian
# package `make package` builds from it. The programs find their shared files
# relative to their own folder (bin/../share/pelodyn), so an installed copy
# works under any prefix and the build folder keeps working.
include(GNUInstallDirs)

install(TARGETS pelodyn-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(PELODYN_BUILD_GUI)
  install(TARGETS pelodyn RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

set(PELODYN_SHARE ${CMAKE_INSTALL_DATADIR}/pelodyn)
install(FILES ${PROJECT_SOURCE_DIR}/share/pelodyn/whatsnew.txt DESTINATION ${PELODYN_SHARE})
file(GLOB PELODYN_EXAMPLES ${PROJECT_SOURCE_DIR}/examples/*.pdd)
install(FILES ${PELODYN_EXAMPLES} DESTINATION ${PELODYN_SHARE}/examples)

# The desktop: the menu entry, the project file type (by its ending and by
# the first line of a 2.0 file), the icon, the manual pages.
install(FILES ${PROJECT_SOURCE_DIR}/share/applications/pelodyn.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/share/mime/pelodyn.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/share/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
# Manual pages are installed compressed, as Debian's policy asks; -n keeps
# the package's bytes the same from one build to the next.
set(PELODYN_MAN_PAGES)
foreach(page pelodyn.1 pelodyn-cli.1)
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/man/${page}.gz
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
                     COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/docs/man/${page} > ${PROJECT_BINARY_DIR}/man/${page}.gz
                     DEPENDS ${PROJECT_SOURCE_DIR}/docs/man/${page}
                     VERBATIM)
  list(APPEND PELODYN_MAN_PAGES ${PROJECT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(pelodyn_man_pages ALL DEPENDS ${PELODYN_MAN_PAGES})
install(FILES ${PELODYN_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# /usr/share/doc/pelodyn: the copyright file, the changelog (compressed,
# as Debian's policy asks for a native package), the user's guide in English
# and Thai with the pictures and schemas it links to.
set(PELODYN_DOC ${CMAKE_INSTALL_DATADIR}/doc/pelodyn)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/doc
                   COMMAND gzip -9nc ${PROJECT_SOURCE_DIR}/share/doc/changelog > ${PROJECT_BINARY_DIR}/doc/changelog.gz
                   DEPENDS ${PROJECT_SOURCE_DIR}/share/doc/changelog
                   VERBATIM)
add_custom_target(pelodyn_changelog ALL DEPENDS ${PROJECT_BINARY_DIR}/doc/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/share/doc/copyright ${PROJECT_BINARY_DIR}/doc/changelog.gz
              ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/guide-th.md
              ${PROJECT_SOURCE_DIR}/docs/pelodyn-cli-result.schema.json
              ${PROJECT_SOURCE_DIR}/docs/pelodyn-companion.schema.json
        DESTINATION ${PELODYN_DOC})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/pictures DESTINATION ${PELODYN_DOC} FILES_MATCHING PATTERN "*.png")

# The Debian package. The shared libraries it needs are worked out by
# dpkg-shlibdeps; the Thai fonts are needed for Thai text on screen and in
# PDF. The menu, file-type and icon caches are refreshed by the triggers of
# desktop-file-utils, shared-mime-info and the icon theme, so the package
# needs no scripts of its own and leaves nothing behind when removed.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelodyn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Pelodyn")
set(CPACK_PACKAGE_CONTACT "Pelodyn developers <pelodyn@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "slope-stability analysis by limit equilibrium")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Pelodyn analyses a two-dimensional slope section by limit equilibrium.\n"
    "It searches circular and irregular slip surfaces for the lowest factor of\n"
    "safety by the Ordinary, Simplified Janbu, Simplified Bishop and Spencer\n"
    "methods, with layered soils, ground water, seismic coefficients, loads,\n"
    "a tension crack, anchors and root cohesion. It comes with a desktop\n"
    "program in English and Thai and a command-line program for batches.")
string(REPLACE ";" "" CPACK_DEBIAN_PACKAGE_DESCRIPTION "${CPACK_DEBIAN_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The platform plugins (the window system) are a package of their own.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-thai-tlwg, qt6-qpa-plugins")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
include(CPack)
