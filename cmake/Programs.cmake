# v212_program(<name> SOURCES ... LIBS ...): a Unicode GUI program (wWinMain) carrying the
# common application manifest.
function(v212_program name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} WIN32 ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/winlayer/app.rc)
    target_link_options(${name} PRIVATE -municode)
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
endfunction()
