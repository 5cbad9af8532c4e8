# The layering test: an engine source may include engine headers and never a
# pipeline header. Builds two probes compiled with the engine's settings:
#   layering_probe_engine     includes engine headers: must compile
#   layering_probe_pipeline   includes a pipeline header: must fail, and for
#                             that reason (the header is not found)
# Run with -DBUILD_DIR=<build tree>.
function(build_probe target result_var output_var)
    execute_process(COMMAND ${CMAKE_COMMAND} --build ${BUILD_DIR} --target ${target}
                    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
    set(${result_var} ${result} PARENT_SCOPE)
    set(${output_var} "${output}" PARENT_SCOPE)
endfunction()

build_probe(layering_probe_engine result output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "An engine source that includes engine headers does not compile:\n${output}")
endif()

build_probe(layering_probe_pipeline result output)
if(result EQUAL 0)
    message(FATAL_ERROR "An engine source that includes a pipeline header compiled: the engine can see the pipeline")
endif()
if(NOT output MATCHES "pipeline/output_writer\\.h[^\n]*(No such file|not found)")
    message(FATAL_ERROR "The pipeline probe failed, but not because the pipeline header was out of reach:\n${output}")
endif()
message(STATUS "The engine cannot include pipeline headers")
