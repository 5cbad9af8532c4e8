# The sample job's photograph is generated: the checked-in picture must be
# exactly what its script draws, so that the script stays its source.
#   cmake -DPYTHON=<python3> -DSCRIPT=<make_photo.py> -DPICTURE=<checked-in ppm>
#         -DWORK=<folder> -P sample_photo.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PYTHON} ${SCRIPT} ${WORK}/drawn.ppm RESULT_VARIABLE code ERROR_VARIABLE err)
if(NOT code EQUAL 0)
    message(FATAL_ERROR "${SCRIPT} exited with ${code}: ${err}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${WORK}/drawn.ppm ${PICTURE} RESULT_VARIABLE differ)
if(NOT differ EQUAL 0)
    message(FATAL_ERROR "${PICTURE} is not what ${SCRIPT} draws: run the script and check in its picture")
endif()
