# Installs the sync server into a scratch prefix and checks that the executable and its systemd
# unit arrive, the unit names the installed executable and allows enough open files for its
# connections, and systemd-analyze (where there is one) accepts the unit. Expects BUILD_DIR and
# STAGE_DIR.
file(REMOVE_RECURSE "${STAGE_DIR}")
execute_process(
    COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${STAGE_DIR}"
            --component sync-server
    RESULT_VARIABLE installed)
if(NOT installed EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${installed}")
endif()

set(server "${STAGE_DIR}/bin/furrow-sync-server")
set(unit "${STAGE_DIR}/lib/systemd/system/furrow-sync-server.service")
if(NOT EXISTS "${server}" OR IS_DIRECTORY "${server}")
    message(FATAL_ERROR "not installed: ${server}")
endif()
execute_process(COMMAND "${server}" --help RESULT_VARIABLE helped OUTPUT_QUIET ERROR_QUIET)
if(NOT helped EQUAL 0)
    message(FATAL_ERROR "the installed server does not run: ${helped}")
endif()
if(NOT EXISTS "${unit}")
    message(FATAL_ERROR "not installed: ${unit}")
endif()
file(READ "${unit}" text)
if(NOT text MATCHES "\nExecStart=${server} ")
    message(FATAL_ERROR "the unit does not start ${server}:\n${text}")
endif()
if(NOT text MATCHES "\nLimitNOFILE=([0-9]+)\n" OR CMAKE_MATCH_1 LESS 4200)
    message(FATAL_ERROR "the unit leaves no room for the server's 4096 connections:\n${text}")
endif()

find_program(SYSTEMD_ANALYZE systemd-analyze)
if(NOT SYSTEMD_ANALYZE)
    message(STATUS "systemd-analyze not found: the unit is not verified")
    return()
endif()
execute_process(
    COMMAND "${SYSTEMD_ANALYZE}" verify "${unit}"
    RESULT_VARIABLE verified OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT verified EQUAL 0 OR err MATCHES "furrow-sync-server")
    message(FATAL_ERROR "systemd-analyze verify refuses the unit (${verified}):\n${out}${err}")
endif()
