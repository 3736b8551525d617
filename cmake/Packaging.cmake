# Installation under the prefix and the Debian package built from it (`cpack -G DEB` in the build
# directory, or scripts/package.sh).
include(GNUInstallDirs)

set(ORVIK_PACKAGING_DIR "${CMAKE_CURRENT_LIST_DIR}/../packaging")

if(TARGET orvik)
    install(TARGETS orvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()

install(FILES "${ORVIK_PACKAGING_DIR}/orvik-generator.desktop"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES "${ORVIK_PACKAGING_DIR}/orvik-generator.svg"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES "${ORVIK_PACKAGING_DIR}/io.orvik.Generator.metainfo.xml"
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
if(NOT WIN32)
    install(FILES "${ORVIK_PACKAGING_DIR}/copyright" DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/orvik-generator)
endif()

# The window program may be defined anywhere in the tree, before or after this file is included:
# look for it once the top directory has been read completely.
function(orvik_install_window_program)
    if(TARGET orvik-generator)
        install(TARGETS orvik-generator RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endfunction()
cmake_language(DEFER DIRECTORY "${CMAKE_SOURCE_DIR}" CALL orvik_install_window_program)

set(CPACK_PACKAGE_NAME "orvik-generator")
set(CPACK_PACKAGE_VENDOR "Orvik Generator maintainers")
set(CPACK_PACKAGE_CONTACT "Orvik Generator maintainers <maintainers@orvik.io>")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Describe a USB Power Delivery port for compliance testing")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Describe a USB Power Delivery port for compliance testing
 Orvik Generator describes one port of a USB Power Delivery or USB Type-C
 product, a cable or a re-timer for a compliance test system. A tabbed sheet
 asks typed questions, checks every answer, edits the lists of PDOs, SVIDs and
 modes, and saves the plain-text file the test system reads.
 .
 The package also holds orvik, a command-line tool that checks, prints and
 writes the same files in scripts.")
# Dependencies come from the libraries the installed programs link against.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_GENERATOR "DEB")
include(CPack)
