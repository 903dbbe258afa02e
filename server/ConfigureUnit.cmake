# Run by `cmake --install`: writes the systemd unit with the installed server's absolute path.
# Expects FURROW_BINDIR, FURROW_UNIT_TEMPLATE and FURROW_UNIT_FILE; CMAKE_INSTALL_PREFIX is the
# prefix of this installation (--prefix included), without DESTDIR.
if(IS_ABSOLUTE "${FURROW_BINDIR}")
    set(FURROW_SERVER_EXECUTABLE "${FURROW_BINDIR}/furrow-sync-server")
else()
    set(FURROW_SERVER_EXECUTABLE "${CMAKE_INSTALL_PREFIX}/${FURROW_BINDIR}/furrow-sync-server")
endif()
configure_file("${FURROW_UNIT_TEMPLATE}" "${FURROW_UNIT_FILE}" @ONLY)
