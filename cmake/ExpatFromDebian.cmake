# expat for the Windows build, from Debian's source package (see DebianSource.cmake), built as a static
# library with its own CMake files and nothing else of them (no tools, tests or installation).
include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
orvant_debian_source(expat libexpat1-dev orvant_expat_dir)

enable_language(C)
foreach(option EXPAT_BUILD_TOOLS EXPAT_BUILD_EXAMPLES EXPAT_BUILD_TESTS EXPAT_BUILD_DOCS EXPAT_BUILD_PKGCONFIG
               EXPAT_ENABLE_INSTALL EXPAT_SHARED_LIBS EXPAT_DTD)
    set(${option} OFF CACHE BOOL "" FORCE)
endforeach()
add_subdirectory("${orvant_expat_dir}/expat" "${CMAKE_BINARY_DIR}/expat" EXCLUDE_FROM_ALL SYSTEM)
# Debian's security patches test "XML_DTD == 1", as its own build (autotools) defines it; expat's CMake
# files define it empty. Defined here as Debian does, for the library and its users alike.
target_compile_definitions(expat PUBLIC XML_DTD=1)
target_include_directories(expat SYSTEM INTERFACE "${orvant_expat_dir}/expat/lib")
add_library(EXPAT::EXPAT ALIAS expat)
