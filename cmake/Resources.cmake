# Resources carried by the programs: every resources/*.bmp becomes a byte array in a generated
# source file (QUARVEL_RESOURCE_SOURCES), named by its file name without extension in upper
# case ("cur_s.bmp" -> "CUR_S"). Also builds quarvel-overlaygen, which draws the overlay images.
file(GLOB QUARVEL_RESOURCE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.bmp)
list(SORT QUARVEL_RESOURCE_FILES)
string(REPLACE ";" "|" QUARVEL_RESOURCE_FILE_ARG "${QUARVEL_RESOURCE_FILES}")
set(QUARVEL_RESOURCE_CPP ${CMAKE_BINARY_DIR}/generated/quarvel_resources.cpp)
add_custom_command(
    OUTPUT ${QUARVEL_RESOURCE_CPP}
    COMMAND ${CMAKE_COMMAND} "-DOUTPUT=${QUARVEL_RESOURCE_CPP}"
            "-DFILES=${QUARVEL_RESOURCE_FILE_ARG}"
            -P ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    DEPENDS ${QUARVEL_RESOURCE_FILES} ${CMAKE_SOURCE_DIR}/cmake/EmbedResources.cmake
    COMMENT "Embedding resources"
    VERBATIM)
set(QUARVEL_RESOURCE_SOURCES ${QUARVEL_RESOURCE_CPP})

add_executable(quarvel-overlaygen ${CMAKE_SOURCE_DIR}/tools/overlaygen.cpp)
