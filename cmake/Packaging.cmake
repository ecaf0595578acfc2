# The Debian package of the set-up tools: TarnConfig with its desktop entry and icon, Varset and tarnctl.
# The programs go to /usr/bin, where the desktop entry and scripts find them without a PATH change.
# `cpack -G DEB` in a build folder with the GUI builds the package; scripts/check-package.sh checks it.
include(GNUInstallDirs)

foreach(program TarnConfig Varset tarnctl)
    # A build without the GUI (or before a program exists) packages what it has.
    if(TARGET ${program})
        install(TARGETS ${program} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    endif()
endforeach()
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/tarnconfig.desktop
    DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/tarnconfig.png
    DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/64x64/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvant-setup)
set(CPACK_PACKAGE_VENDOR "ORVANT")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "ORVANT set-up tools: TarnConfig, Varset and tarnctl")
# Debian wants the long description in lines of at most 80 columns.
set(CPACK_PACKAGE_DESCRIPTION "\
TarnConfig configures the terminal instances of the ORVANT card-payment engine
in a window: after the administrator's login it edits every instance and writes
the XML configuration, the registry and the engine's properties files. tarnctl
runs the same checks and saves from scripts. Varset sets the machine-wide
environment variables the engine needs and starts it.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "ORVANT set-up maintainers <setup@orvant.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
# Library dependencies come from dpkg-shlibdeps; Qt loads its platform plugins (xcb, offscreen) at
# run time, which no linker dependency names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
include(cmake/DebianPackageFiles.cmake)
include(CPack)
