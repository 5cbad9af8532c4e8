# Runs the setup data tests' version check under Wine with Wine told to be
# another Windows for the program (HKCU\Software\Wine\AppDefaults\<program>,
# value Version), and expects the version code of that Windows. The program
# runs as a copy of its own name, so that no other run of the tests sees the
# setting, which is removed afterwards.
#
#   cmake -DEMULATOR=... -DPROGRAM=... -DVERSION=win98 -DCODE=4 -DWORK=... -P windows_version_under_wine.cmake
file(MAKE_DIRECTORY ${WORK})
set(name setup_version_${VERSION}.exe)
file(COPY_FILE ${PROGRAM} ${WORK}/${name})
set(key "HKCU\\Software\\Wine\\AppDefaults\\${name}")
execute_process(COMMAND ${EMULATOR} reg add ${key} /v Version /t REG_SZ /d ${VERSION} /f
                RESULT_VARIABLE added OUTPUT_QUIET ERROR_QUIET)
if(NOT added EQUAL 0)
    message(FATAL_ERROR "could not set the Windows version of ${name}")
endif()
set(ENV{ZEBL_EXPECT_WINDOWS_CODE} ${CODE})
execute_process(COMMAND ${EMULATOR} ${WORK}/${name} --gtest_filter=GetOSVersionOfThisSystem.*
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
execute_process(COMMAND ${EMULATOR} reg delete ${key} /f OUTPUT_QUIET ERROR_QUIET)
file(REMOVE ${WORK}/${name})
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Windows ${VERSION} did not give code ${CODE}:\n${output}")
endif()
