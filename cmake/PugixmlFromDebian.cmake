# pugixml for the Windows build, from Debian's source package of the version the Linux build links
# (libpugixml-dev), with Debian's patches (see DebianSource.cmake).
include(${CMAKE_CURRENT_LIST_DIR}/DebianSource.cmake)
orvant_debian_source(pugixml libpugixml-dev orvant_pugixml_dir)

# One source file; the Linux build's pugixml is built with pugiconfig.hpp as it comes, and so is this.
add_library(pugixml STATIC "${orvant_pugixml_dir}/src/pugixml.cpp")
target_include_directories(pugixml SYSTEM PUBLIC "${orvant_pugixml_dir}/src")
add_library(pugixml::pugixml ALIAS pugixml)
