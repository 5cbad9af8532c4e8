# The discs of the start-up tests, from the sample disc: every library Setup
# loads is the test dialog library, and each disc leaves out what its name
# says; "sample" is the sample disc unchanged.
#   cmake -DDISC=<sample disc> -DLIBRARY=<test library> -DOUT=<folder> -P make_startup_discs.cmake
cmake_minimum_required(VERSION 3.20)
set(libraries VLRes.Dll VLEtc.Dll VLFcs.Dll VLTtp.Dll VLAuto.Dll DATA/VLUtil.Dll)

function(make_disc name)
    set(disc ${OUT}/${name})
    file(REMOVE_RECURSE ${disc})
    file(COPY ${DISC}/ DESTINATION ${disc})
    foreach(library IN LISTS libraries)
        if(NOT library IN_LIST ARGN)
            file(COPY_FILE ${LIBRARY} ${disc}/${library})
        else()
            file(REMOVE ${disc}/${library})
        endif()
    endforeach()
endfunction()

make_disc(complete)
# The sample disc as built, with the real autorun library and stand-ins.
file(REMOVE_RECURSE ${OUT}/sample)
file(COPY ${DISC}/ DESTINATION ${OUT}/sample)
make_disc(no_autorun VLAuto.Dll)
make_disc(no_etc VLEtc.Dll)
make_disc(no_res_no_util VLRes.Dll DATA/VLUtil.Dll)
file(TOUCH ${OUT}/stamp)
