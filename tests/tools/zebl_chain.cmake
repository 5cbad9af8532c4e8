# The zebl tool from scene to pictures: compose a scene, print it through
# Tzqr4um.dll, decode the stream with pictures, and check what each step says.
#   cmake -DEMULATOR=<wine runner or empty> -DZEBL=<exe> -DSCENE=<file>
#         -DWORK=<folder> -DPAGES=<n> -P zebl_chain.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})

function(run_step name expect)
    execute_process(COMMAND ${EMULATOR} ${ZEBL} ${ARGN}
                    RESULT_VARIABLE code OUTPUT_VARIABLE out ERROR_VARIABLE err)
    message("${name}: ${out}${err}")
    if(NOT code EQUAL 0)
        message(FATAL_ERROR "${name} exited with ${code}")
    endif()
    if(NOT "${out}${err}" MATCHES "${expect}")
        message(FATAL_ERROR "${name}: output does not match ${expect}")
    endif()
endfunction()

run_step(compose "${PAGES} pages" compose ${SCENE} -o ${WORK}/job.spl)
run_step(print "${PAGES} pages ended, [0-9]+ bytes accepted, 0 failed" print ${WORK}/job.spl -o ${WORK}/job.prn)
run_step(decode "Job: ${PAGES} pages, language ZEBL" decode ${WORK}/job.prn --png ${WORK}/page --scale 8)
file(GLOB pictures ${WORK}/page-*)
list(LENGTH pictures count)
if(NOT count EQUAL PAGES)
    message(FATAL_ERROR "${count} pictures for ${PAGES} pages: ${pictures}")
endif()
