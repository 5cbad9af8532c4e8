# Runs a program and checks both its exit code and its output, which CTest's
# own properties cannot do together.
#   cmake -DEMULATOR=<wine runner or empty> -DPROGRAM=<exe> -DARGS=<a;b>
#         -DEXIT_CODE=<n> -DEXPECT=<regex> -P expect_run.cmake
execute_process(COMMAND ${EMULATOR} ${PROGRAM} ${ARGS}
                RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
set(all "${out}${err}")
message("${all}")
if(NOT code EQUAL EXIT_CODE)
    message(FATAL_ERROR "exit code ${code}, expected ${EXIT_CODE}")
endif()
if(NOT all MATCHES "${EXPECT}")
    message(FATAL_ERROR "output does not match: ${EXPECT}")
endif()
