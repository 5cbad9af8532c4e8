# Checks the resources of the built Setup.exe, as the resource compiler reads
# them back from the program: the icon group 128 and cursor group 131 that its
# window class loads, and its version information.
#   cmake -DWINDRES=<windres> -DPROGRAM=<Setup.exe> -P setup_resources.cmake
execute_process(COMMAND ${WINDRES} -i ${PROGRAM} -O rc
                RESULT_VARIABLE code OUTPUT_VARIABLE resources ERROR_VARIABLE errors)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "${WINDRES} cannot read the resources of ${PROGRAM}: ${errors}")
endif()
foreach(expected
        "\n128 14 /\\* RT_GROUP_ICON \\*/"
        "\n131 12 /\\* RT_GROUP_CURSOR \\*/"
        "\n[0-9]+ 3 /\\* RT_ICON \\*/"
        "\n[0-9]+ 1 /\\* RT_CURSOR \\*/"
        "\n1 VERSIONINFO"
        "VALUE \"OriginalFilename\", \"Setup.exe\"")
    if(NOT resources MATCHES "${expected}")
        message(FATAL_ERROR "${PROGRAM} lacks ${expected}; its resources:\n${resources}")
    endif()
endforeach()
