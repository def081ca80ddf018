# The install (cmake --install, honouring CMAKE_INSTALL_PREFIX and DESTDIR) and the Debian
# package made from it (cpack -G DEB):
#   bin/quarvel, bin/quarvel-cli
#   share/quarvel/chip/ (the default chip set), share/quarvel/map/ (demo.map, dummy.map, map.ini)
#   share/applications, share/metainfo, share/mime/packages: the desktop entry, the AppStream
#     data and the map file type, each named after the application id
#   share/icons/hicolor/<N>x<N>/apps/quarvel.png, share/man/man1/quarvel.1, quarvel-cli.1
# The programs find share/quarvel relative to bin/, so the tree can move as a whole.
set(QUARVEL_APP_ID io.github.quarvel.Quarvel)
set(_dist ${CMAKE_SOURCE_DIR}/dist)

install(TARGETS quarvel-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET quarvel)
    install(TARGETS quarvel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(DIRECTORY ${QUARVEL_PROGRAM_DIR}/chip DESTINATION ${CMAKE_INSTALL_DATADIR}/quarvel)
install(FILES ${QUARVEL_PROGRAM_DIR}/map/demo.map ${QUARVEL_PROGRAM_DIR}/map/dummy.map
              ${QUARVEL_PROGRAM_DIR}/map/map.ini
        DESTINATION ${CMAKE_INSTALL_DATADIR}/quarvel/map)

install(FILES ${_dist}/${QUARVEL_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_dist}/${QUARVEL_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_dist}/${QUARVEL_APP_ID}.mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
        RENAME ${QUARVEL_APP_ID}.xml)
foreach(size ${QUARVEL_ICON_SIZES})
    install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/quarvel-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
            RENAME quarvel.png)
endforeach()
install(FILES ${_dist}/man/quarvel.1 ${_dist}/man/quarvel-cli.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The Debian package: the tree above under /usr, its dependencies found from the shared
# libraries the programs link.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quarvel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editor for the three-dimensional chip maps of the game")
set(CPACK_PACKAGE_DESCRIPTION "Quarvel edits chip maps of 48 levels of 32 x 32 cells in an \
isometric edit view and a whole-map view, and packs them into the game's archive. quarvel-cli \
does the same from scripts.")
set(CPACK_PACKAGE_CONTACT "The Quarvel developers <quarvel@users.noreply.github.com>")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://github.com/quarvel/quarvel)
set(CPACK_DEBIAN_COMPRESSION_TYPE gzip)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
