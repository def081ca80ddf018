# Fails unless quarvel-overlaygen draws every resources/*.bmp byte for byte as it is kept,
# and draws no other image.
# Run as: cmake -DGENERATOR=<quarvel-overlaygen> -DSOURCE_DIR=<source folder>
#               -DWORK_DIR=<empty folder> -P overlaygen.cmake
cmake_minimum_required(VERSION 3.20)
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${GENERATOR} ${WORK_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "quarvel-overlaygen failed: ${status}")
endif()
file(GLOB kept RELATIVE ${SOURCE_DIR}/resources ${SOURCE_DIR}/resources/*.bmp)
file(GLOB drawn RELATIVE ${WORK_DIR} ${WORK_DIR}/*)
list(SORT kept)
list(SORT drawn)
if(NOT kept STREQUAL drawn)
    message(FATAL_ERROR "images drawn: ${drawn}; images kept: ${kept}")
endif()
foreach(name IN LISTS kept)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SOURCE_DIR}/resources/${name}
                            ${WORK_DIR}/${name} RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "resources/${name} differs from what quarvel-overlaygen draws")
    endif()
endforeach()
