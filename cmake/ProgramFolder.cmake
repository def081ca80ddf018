# The program folder ${QUARVEL_PROGRAM_DIR}: chip/, map/ (demo.map, dummy.map, map.ini), dat/
# and dat/unpacked/ beside the programs, made by quarvel-cli again whenever it changes.
#
# Run as a script (cmake -DMAP_INI=FILE -P ProgramFolder.cmake) it writes the archive list.
if(CMAKE_SCRIPT_MODE_FILE)
    # The archive tool reads the list with Windows line ends.
    file(WRITE "${MAP_INI}" "demo.map\r\n")
    return()
endif()

set(_chip_dir ${QUARVEL_PROGRAM_DIR}/chip)
set(_map_dir ${QUARVEL_PROGRAM_DIR}/map)
set(_dat_dir ${QUARVEL_PROGRAM_DIR}/dat)

set(_chip_files)
foreach(_stem B_000 B_010 B_020 B_030)
    foreach(_suffix .2c s.2c .pal s.pal)
        list(APPEND _chip_files ${_chip_dir}/${_stem}${_suffix})
    endforeach()
endforeach()

add_custom_command(
    OUTPUT ${_chip_files}
    COMMAND $<TARGET_FILE:quarvel-cli> chips ${_chip_dir}
    DEPENDS quarvel-cli
    COMMENT "Drawing the default chip set into ${_chip_dir}"
    VERBATIM)

add_custom_command(
    OUTPUT ${_map_dir}/demo.map ${_map_dir}/dummy.map ${_map_dir}/map.ini
    COMMAND ${CMAKE_COMMAND} -E make_directory ${_map_dir} ${_dat_dir}/unpacked
    COMMAND $<TARGET_FILE:quarvel-cli> demo ${_map_dir}/demo.map
    COMMAND $<TARGET_FILE:quarvel-cli> new ${_map_dir}/dummy.map
    COMMAND ${CMAKE_COMMAND} -DMAP_INI=${_map_dir}/map.ini -P ${CMAKE_CURRENT_LIST_FILE}
    DEPENDS quarvel-cli ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Writing the demonstration map and the archive list into ${_map_dir}"
    VERBATIM)

add_custom_target(quarvel-program-folder ALL
    DEPENDS ${_chip_files} ${_map_dir}/demo.map ${_map_dir}/dummy.map ${_map_dir}/map.ini)
