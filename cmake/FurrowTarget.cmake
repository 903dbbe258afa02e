# Compiler settings shared by every Furrow target.
function(furrow_target_defaults target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow)
    if(FURROW_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
    target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS
                                                 QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)
    # In what ships, text crosses between bytes and strings only where the code names the
    # encoding; tests and benchmarks (FURROW_LOOSE_STRINGS) may write plain literals.
    if(NOT FURROW_LOOSE_STRINGS)
        target_compile_definitions(${target} PRIVATE QT_NO_CAST_FROM_ASCII QT_NO_CAST_TO_ASCII
                                                     QT_NO_CAST_FROM_BYTEARRAY
                                                     QT_NO_URL_CAST_FROM_STRING)
    endif()
    set_target_properties(${target} PROPERTIES AUTOMOC ON)
endfunction()
