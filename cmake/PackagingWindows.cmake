# The Windows package: a zip of tarnctl.exe and Varset.exe, each one file with its runtime linked in, and
# a short text on their use (CR LF, for Notepad). `cpack` in the mingw build folder makes it;
# scripts/check-package.sh checks its contents.
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/README.txt ${CMAKE_CURRENT_BINARY_DIR}/README.txt
    @ONLY NEWLINE_STYLE CRLF)
install(TARGETS tarnctl Varset RUNTIME DESTINATION .)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION .)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME orvant-setup)
set(CPACK_PACKAGE_VENDOR "ORVANT")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME windows-x64)
set(CPACK_STRIP_FILES ON)
include(CPack)
