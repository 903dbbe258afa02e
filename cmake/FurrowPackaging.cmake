# Debian packages made by CPack from the normal build: `furrow` (the planner and what the desktop
# needs) and `furrow-sync-server` (the server and its systemd unit). scripts/package.sh runs it.
set(furrow_packaging ${PROJECT_SOURCE_DIR}/packaging)
set(furrow_fonts ${FURROW_ASSET_DIR}/@expo-google-fonts)

# Every package carries the copyright file and the changelog; the planner also the licences
# of what it embeds.
configure_file(${furrow_packaging}/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog @ONLY)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/packaging/changelog.gz
    COMMAND gzip -9nkf ${CMAKE_BINARY_DIR}/packaging/changelog
    DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog
    VERBATIM)
add_custom_target(furrow_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
set(furrow_docdir ${CMAKE_INSTALL_DATAROOTDIR}/doc)
set(furrow_packages furrow furrow-sync-server)
set(furrow_components planner sync-server)
foreach(package component IN ZIP_LISTS furrow_packages furrow_components)
    install(FILES ${furrow_packaging}/copyright ${CMAKE_BINARY_DIR}/packaging/changelog.gz
            DESTINATION ${furrow_docdir}/${package} COMPONENT ${component})
endforeach()
install(FILES ${furrow_fonts}/zilla-slab/LICENSE_FONT DESTINATION ${furrow_docdir}/furrow
        RENAME ZillaSlab.OFL.txt COMPONENT planner)
install(FILES ${furrow_fonts}/instrument-sans/LICENSE_FONT DESTINATION ${furrow_docdir}/furrow
        RENAME InstrumentSans.OFL.txt COMPONENT planner)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME furrow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Furrow authors <maintainers@furrow.org>")
set(CPACK_PACKAGE_HOMEPAGE_URL ${FURROW_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR}/packages)
set(CPACK_STRIP_FILES ON)
set(CPACK_COMPONENTS_ALL planner sync-server)
set(CPACK_DEB_COMPONENT_INSTALL ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_PLANNER_PACKAGE_NAME furrow)
set(CPACK_DEBIAN_PLANNER_PACKAGE_SECTION utils)
# Without it Qt runs through XWayland on a Wayland desktop.
set(CPACK_DEBIAN_PLANNER_PACKAGE_RECOMMENDS qt6-wayland)
set(CPACK_COMPONENT_PLANNER_DESCRIPTION "calm, keyboard-first day planner
Furrow keeps tasks on pages divided into named sections; a task may carry
one project label, a Markdown note and a due day. Closing tasks counts
towards today, finished and dropped tasks go to an archive, and a goals
page holds three goals for the quarter. A global shortcut opens a capture
panel over any application, and the planner can be kept in sync through
a server you run yourself.")

set(CPACK_DEBIAN_SYNC-SERVER_PACKAGE_NAME furrow-sync-server)
set(CPACK_DEBIAN_SYNC-SERVER_PACKAGE_SECTION net)
set(CPACK_DEBIAN_SYNC-SERVER_PACKAGE_CONTROL_EXTRA
    ${furrow_packaging}/postinst ${furrow_packaging}/postrm)
set(CPACK_COMPONENT_SYNC-SERVER_DESCRIPTION "sync server for the Furrow day planner
Stores the sealed records of Furrow planners in SQLite and hands each
computer the changes of the others over HTTP or HTTPS. It never sees what
the planners hold. The package installs a hardened systemd unit but
neither enables nor starts it.")

include(CPack)
