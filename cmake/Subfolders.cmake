# v212_add_subfolders(): adds every sub-folder of the current source folder that has a
# CMakeLists.txt, so a new area or test program needs no edit of its parent.
function(v212_add_subfolders)
    file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(dir ${dirs})
        if(EXISTS ${dir}/CMakeLists.txt)
            add_subdirectory(${dir})
        endif()
    endforeach()
endfunction()
