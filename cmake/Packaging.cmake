# What an installation holds besides the two programs (installed by src/app and src/batch),
# and the Debian package made from it by `cpack -G DEB` in the build folder. The programs find
# the samples and the help relative to their own folder (src/platform/install_paths.h).

set(TESVID_APP_ID org.vezozo.Tesvid)
set(TESVID_PACKAGING_DIR ${CMAKE_SOURCE_DIR}/packaging)

file(GLOB TESVID_INSTALLED_SAMPLES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/samples/*.tvd)
install(FILES ${TESVID_INSTALLED_SAMPLES} DESTINATION ${TESVID_INSTALL_SAMPLESDIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/help/ DESTINATION ${TESVID_INSTALL_HELPDIR})
install(FILES ${TESVID_PACKAGING_DIR}/${TESVID_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TESVID_PACKAGING_DIR}/${TESVID_APP_ID}.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${TESVID_PACKAGING_DIR}/${TESVID_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# Manual pages, with the version filled in and compressed as Debian installs them.
find_program(TESVID_GZIP gzip REQUIRED)
set(TESVID_MAN_PAGES)
foreach(page tesvid.1 tesvid-batch.1)
    configure_file(${TESVID_PACKAGING_DIR}/${page} ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.in @ONLY)
    add_custom_command(OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz
        COMMAND ${CMAKE_COMMAND} -E copy ${page}.in ${page}
        COMMAND ${TESVID_GZIP} -9nf ${page}
        DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.in
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/man VERBATIM)
    list(APPEND TESVID_MAN_PAGES ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
endforeach()
add_custom_target(tesvid_man_pages ALL DEPENDS ${TESVID_MAN_PAGES})
install(FILES ${TESVID_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_PACKAGE_NAME tesvid)
set(CPACK_PACKAGE_VENDOR Vezozo)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(TESVID_PACKAGE_MAINTAINER "Tesvid developers <tesvid@vezozo.org>"
    CACHE STRING "The Debian package's maintainer")
set(CPACK_PACKAGE_CONTACT ${TESVID_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "static magnetic field of axially symmetric coils, magnets and iron")
# The long description, in lines as the package's control file shows them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Tesvid calculates the static magnetic field of axially symmetric arrangements"
    "of coils, permanent magnets and soft iron. The half cross-section is painted"
    "on a square grid, the coil currents are set, and the field is shown as a"
    "colour map with force lines, a probe read-out and graphs along R and Z."
    "Projects are saved in .tvd files; results are exported as text tables and"
    "printed as a one-page report. tesvid-batch calculates projects from the"
    "command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The Qt 6 and C++ runtime libraries the programs link to, found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
