# The program's icon: quarvel-icongen draws it from the default chip art into
# resources/icons/quarvel-<N>.png (N = 16 .. 256); the files are committed, and the test
# icons checks that the generator still makes them byte for byte.
set(QUARVEL_ICON_SIZES 16 22 24 32 48 64 128 256)
add_executable(quarvel-icongen ${CMAKE_SOURCE_DIR}/tools/icongen.cpp)
target_link_libraries(quarvel-icongen PRIVATE quarvel_content PNG::PNG)
