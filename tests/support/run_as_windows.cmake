# Runs a test program under Wine with Wine told to be another Windows for it
# (HKCU\Software\Wine\AppDefaults\<program>, value Version). The program runs
# as a copy beside itself under a name of its own, so that it finds what it
# finds beside itself and no other run of the tests sees the setting, which
# is removed afterwards. Any further -D variable named in PASS_ENV is handed
# to the program in its environment.
#
#   cmake -DEMULATOR=... -DPROGRAM=... -DVERSION=win98 -DFILTER=<gtest filter>
#         [-DPASS_ENV=NAME;...] [-DNAME=value ...] -P run_as_windows.cmake
get_filename_component(folder ${PROGRAM} DIRECTORY)
get_filename_component(stem ${PROGRAM} NAME_WE)
set(name ${stem}_as_${VERSION}.exe)
file(COPY_FILE ${PROGRAM} ${folder}/${name})
set(key "HKCU\\Software\\Wine\\AppDefaults\\${name}")
execute_process(COMMAND ${EMULATOR} reg add ${key} /v Version /t REG_SZ /d ${VERSION} /f
                RESULT_VARIABLE added OUTPUT_QUIET ERROR_QUIET)
if(NOT added EQUAL 0)
    file(REMOVE ${folder}/${name})
    message(FATAL_ERROR "could not set the Windows version of ${name}")
endif()
foreach(variable IN LISTS PASS_ENV)
    set(ENV{${variable}} "${${variable}}")
endforeach()
execute_process(COMMAND ${EMULATOR} ${folder}/${name} --gtest_filter=${FILTER}
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
execute_process(COMMAND ${EMULATOR} reg delete ${key} /f OUTPUT_QUIET ERROR_QUIET)
file(REMOVE ${folder}/${name})
message("${output}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${name} failed as Windows ${VERSION}")
endif()
if(NOT output MATCHES "\\[  PASSED  \\] [1-9]")
    message(FATAL_ERROR "${name} ran no test as Windows ${VERSION} (filter ${FILTER})")
endif()
