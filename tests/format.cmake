# Fails when a C++ source of the tree is not formatted as .clang-format says
# (clang-format -i FILE formats it).
# Run as: cmake -DSOURCE_DIR=<source folder> -P format.cmake
cmake_minimum_required(VERSION 3.20)
find_program(CLANG_FORMAT clang-format)
if(NOT CLANG_FORMAT)
    message(FATAL_ERROR "clang-format not found: scripts/deps.sh installs it")
endif()
set(files "")
foreach(folder map graphics archive content editor views app tools tests fuzz bench)
    file(GLOB_RECURSE found ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND files ${found})
endforeach()
list(LENGTH files count)
if(count EQUAL 0)
    message(FATAL_ERROR "no sources found in ${SOURCE_DIR}")
endif()
execute_process(COMMAND ${CLANG_FORMAT} --dry-run -Werror ${files}
                WORKING_DIRECTORY ${SOURCE_DIR} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "Sources above are not formatted: clang-format -i FILE")
endif()
message(STATUS "${count} sources formatted")
