# The resources of VLAuto.Dll (Windows build): VLAuto.rc, compiled by the
# resource compiler, with the artwork that package/artwork/make_artwork.py
# draws into ${CMAKE_BINARY_DIR}/artwork. Included by the directories whose
# targets carry the resources (the library, and test programs that show the
# dialogs or the buttons without it).
set(VLAUTO_RESOURCE_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/VLAuto.rc)
set(VLAUTO_ARTWORK_DIR ${CMAKE_BINARY_DIR}/artwork)
set(VLAUTO_ARTWORK_SCRIPT ${PROJECT_SOURCE_DIR}/package/artwork/make_artwork.py)
set(VLAUTO_ARTWORK welcome.bmp button_off.bmp button_on.bmp button_clicked.bmp hand.cur)
list(TRANSFORM VLAUTO_ARTWORK PREPEND ${VLAUTO_ARTWORK_DIR}/)

if(NOT TARGET vlauto_artwork)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    add_custom_command(OUTPUT ${VLAUTO_ARTWORK}
        COMMAND ${Python3_EXECUTABLE} -B ${VLAUTO_ARTWORK_SCRIPT} ${VLAUTO_ARTWORK_DIR}
        DEPENDS ${VLAUTO_ARTWORK_SCRIPT} ${PROJECT_SOURCE_DIR}/package/artwork/windows_images.py
        COMMENT "Drawing the autorun menu's artwork"
        VERBATIM)
    add_custom_target(vlauto_artwork DEPENDS ${VLAUTO_ARTWORK})
endif()

# vlauto_add_resources(target): compiles the dialogs, pictures, cursor and
# version into `target`.
function(vlauto_add_resources target)
    target_sources(${target} PRIVATE ${VLAUTO_RESOURCE_SCRIPT})
    # windres looks for the pictures along the include path.
    target_include_directories(${target} PRIVATE ${VLAUTO_ARTWORK_DIR})
    set_property(SOURCE ${VLAUTO_RESOURCE_SCRIPT} TARGET_DIRECTORY ${target}
                 APPEND PROPERTY OBJECT_DEPENDS ${VLAUTO_ARTWORK})
    add_dependencies(${target} vlauto_artwork)
endfunction()
