# v212_program(<name> SOURCES ... LIBS ...): a Unicode GUI program (wWinMain) carrying the
# common application manifest.
function(v212_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} WIN32 ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/winlayer/app.rc)
    v212_manifest_depends()
    target_link_options(${name} PRIVATE -municode)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()

# windres reports none of the files that a resource script names: each folder that compiles
# app.rc names the manifest as its dependency, so that a changed manifest reaches the programs.
function(v212_manifest_depends)
    set_source_files_properties(${PROJECT_SOURCE_DIR}/winlayer/app.rc PROPERTIES OBJECT_DEPENDS
                                ${PROJECT_SOURCE_DIR}/winlayer/app.manifest)
endfunction()
