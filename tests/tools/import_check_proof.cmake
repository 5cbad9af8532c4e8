# Runs the Windows import check where it must fail and checks that it names
# the right function: exit code 1 and EXPECT in its output.
#   cmake -DCHECK=<check-imports.sh> -DOBJDUMP=<objdump> -DTABLE=<table>
#         -DOLDEST=<Windows> -DBINARY=<dll or exe> [-DDROP=<function>]
#         [-DREQUIRES=<dll>] -DEXPECT=<regex> -DWORK=<folder> -P import_check_proof.cmake
# With DROP, the check gets a copy of the table without that function's line;
# with REQUIRES, the binary is declared to require that DLL.
set(table ${TABLE})
if(DROP)
    file(READ ${TABLE} content)
    string(REGEX REPLACE "\n[^ #\n]+ +${DROP} [^\n]*" "" kept "${content}")
    if(kept STREQUAL content)
        message(FATAL_ERROR "${TABLE} has no line for ${DROP}")
    endif()
    file(MAKE_DIRECTORY ${WORK})
    set(table ${WORK}/imports-without-${DROP}.txt)
    file(WRITE ${table} "${kept}")
endif()
set(requires)
if(REQUIRES)
    set(requires --requires-dll ${REQUIRES})
endif()
execute_process(COMMAND ${CHECK} ${requires} ${OBJDUMP} ${table} ${OLDEST} ${BINARY}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
message("${all}")
if(NOT code EQUAL 1)
    message(FATAL_ERROR "exit code ${code}, expected 1")
endif()
if(NOT all MATCHES "${EXPECT}")
    message(FATAL_ERROR "output does not match: ${EXPECT}")
endif()
