# Installing Relvano and building its Debian package.
#
#   cmake --install build [--prefix DIR]   the two executables, the desktop entry,
#                                          the icon, the AppStream metadata, the
#                                          manual pages and the HTML help
#   scripts/package.sh                     the Debian package (cpack -G DEB in a
#                                          build folder configured for /usr)
#
# The HTML help is also copied beside the executables in the build tree
# (bin/help), where "Help Topics" finds it as it finds the installed copy.
include(GNUInstallDirs)

set(RELVANO_APP_ID org.relvano.Relvano)
set(RELVANO_DATA_DIR ${PROJECT_SOURCE_DIR}/data)
# core/HelpFiles.h looks for the installed help at ../share/doc/relvano/html
# from the executable's folder.
set(RELVANO_DOC_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/relvano)
if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATAROOTDIR STREQUAL "share")
  message(WARNING "With CMAKE_INSTALL_BINDIR=${CMAKE_INSTALL_BINDIR} and CMAKE_INSTALL_DATAROOTDIR="
                  "${CMAKE_INSTALL_DATAROOTDIR} the installed program does not find its help")
endif()

install(TARGETS relvano relvano-reg relvano-sync relvano-uninstall
        RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${RELVANO_DATA_DIR}/${RELVANO_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${RELVANO_DATA_DIR}/${RELVANO_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${RELVANO_DATA_DIR}/copyright DESTINATION ${RELVANO_DOC_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/Icons.cmake)

# Manual pages, compressed as Debian installs them (gzip -n: no name or time
# stamp, so that the package is the same from build to build).
find_program(GZIP gzip REQUIRED)
set(man_files)
foreach(page relvano.1 relvano-reg.1 relvano-sync.1 relvano-uninstall.1)
  set(source ${RELVANO_DATA_DIR}/man/${page})
  set(compressed ${CMAKE_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
    COMMAND ${GZIP} -9 -n -c ${source} > ${compressed}
    DEPENDS ${source}
    COMMENT "Compressing the manual page ${page}")
  list(APPEND man_files ${compressed})
endforeach()
add_custom_target(relvano_man ALL DEPENDS ${man_files})
install(FILES ${man_files} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The package's changelog, compressed likewise. Its newest entry names the
# project's version; a new version needs a new entry.
file(STRINGS ${RELVANO_DATA_DIR}/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^relvano \\(${PROJECT_VERSION}\\)")
  message(WARNING "data/changelog has no entry for version ${PROJECT_VERSION}: ${changelog_head}")
endif()
set(changelog ${CMAKE_BINARY_DIR}/doc/changelog.gz)
add_custom_command(OUTPUT ${changelog}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/doc
  COMMAND ${GZIP} -9 -n -c ${RELVANO_DATA_DIR}/changelog > ${changelog}
  DEPENDS ${RELVANO_DATA_DIR}/changelog
  COMMENT "Compressing the changelog")
add_custom_target(relvano_changelog ALL DEPENDS ${changelog})
install(FILES ${changelog} DESTINATION ${RELVANO_DOC_DIR})

# The HTML help: one page per window, copied beside the executables.
file(GLOB help_sources CONFIGURE_DEPENDS ${RELVANO_DATA_DIR}/help/*.html
     ${RELVANO_DATA_DIR}/help/*.css)
set(help_copies)
foreach(source IN LISTS help_sources)
  get_filename_component(name ${source} NAME)
  set(copy ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/help/${name})
  add_custom_command(OUTPUT ${copy}
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${source} ${copy}
    DEPENDS ${source}
    VERBATIM)
  list(APPEND help_copies ${copy})
endforeach()
add_custom_target(relvano_help ALL DEPENDS ${help_copies})
add_dependencies(relvano relvano_help)
install(FILES ${help_sources} DESTINATION ${RELVANO_DOC_DIR}/html)
# Registers the help with the system's documentation index (doc-base).
set(RELVANO_FULL_DOC_DIR ${CMAKE_INSTALL_PREFIX}/${RELVANO_DOC_DIR})
configure_file(${RELVANO_DATA_DIR}/doc-base.in ${CMAKE_BINARY_DIR}/doc/relvano @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/doc/relvano DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc-base)

# Checks the installed files (desktop entry, metadata, icons, manual pages,
# help); skipped when the checking tools are not installed.
if(RELVANO_BUILD_TESTS)
  add_test(NAME InstallCheck
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/check-install.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(InstallCheck PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300)
endif()

# The Debian package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME relvano)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Relvano developers")
set(CPACK_PACKAGE_CONTACT "Relvano developers <dev@relvano.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "manager of the list of installed programs")
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# xdg-open opens folders, pages and the help; the SVG plug-in shows SVG icons;
# PackageKit removes Debian packages with a preview of what goes with them.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, libqt6svg6, packagekit")
# The summary above is the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
  "Relvano shows the installed programs in one list, each with its icon, its
name and its uninstall command. It runs a program's own uninstaller and
removes an entry the uninstaller left behind, runs installers through a small
wizard, keeps a history of installs and uninstalls, edits, backs up and
restores entries, and writes reports and lists of the programs.
.
The package also holds relvano-reg, the command-line tool with which
installers, uninstallers and scripts read and change the list.")
# The package's files belong to root, whoever builds it.
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
