# hidapi comes from Debian's source package (scripts/setup fetches it into third_party/,
# never committed) and is built here with the Windows backend as a static library.
set(HIDAPI_SOURCE_DIR ${CMAKE_CURRENT_SOURCE_DIR}/third_party/hidapi CACHE PATH "hidapi source")
if(EXISTS ${HIDAPI_SOURCE_DIR}/windows/hid.c)
    add_library(hidapi STATIC ${HIDAPI_SOURCE_DIR}/windows/hid.c)
    target_include_directories(hidapi PUBLIC ${HIDAPI_SOURCE_DIR}/hidapi
                                             ${HIDAPI_SOURCE_DIR}/windows)
    target_compile_options(hidapi PRIVATE -w)
else()
    message(FATAL_ERROR "hidapi source missing in ${HIDAPI_SOURCE_DIR}: run scripts/setup")
endif()
