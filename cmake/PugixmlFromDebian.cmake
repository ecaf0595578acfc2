# pugixml for the Windows build. Debian builds pugixml for Linux only, so the mingw-w64 build compiles
# Debian's own source package of the version the Linux build links (libpugixml-dev), with Debian's
# patches, fetched with `apt-get source` (scripts/install-deps.sh adds the source entries it needs).
# The unpacked sources are kept in a cache folder outside the build folder, so neither a rebuild nor a
# fresh build folder downloads them again; nothing of them enters the repository.

if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(orvant_default_cache "$ENV{XDG_CACHE_HOME}/orvant-setup")
else()
    set(orvant_default_cache "$ENV{HOME}/.cache/orvant-setup")
endif()
set(ORVANT_DEPENDENCY_CACHE "${orvant_default_cache}" CACHE PATH
    "Folder that keeps the dependencies built from source for Windows (Debian source packages)")

# The same Debian version as the Linux build's pugixml.
execute_process(COMMAND dpkg-query -W -f=\${source:Version} libpugixml-dev
    OUTPUT_VARIABLE orvant_pugixml_version RESULT_VARIABLE orvant_query_result ERROR_QUIET)
if(NOT orvant_query_result EQUAL 0 OR orvant_pugixml_version STREQUAL "")
    message(FATAL_ERROR "pugixml: libpugixml-dev is not installed, so the version to build for Windows is "
        "unknown; run scripts/install-deps.sh")
endif()

set(orvant_pugixml_dir "${ORVANT_DEPENDENCY_CACHE}/pugixml_${orvant_pugixml_version}")
if(NOT EXISTS "${orvant_pugixml_dir}/src/pugixml.cpp")
    message(STATUS "pugixml: fetching Debian's source package ${orvant_pugixml_version} into ${orvant_pugixml_dir}")
    # Unpacked beside the cache entry and renamed into place, so an interrupted fetch leaves no half entry.
    set(orvant_download "${ORVANT_DEPENDENCY_CACHE}/download-pugixml")
    file(REMOVE_RECURSE "${orvant_download}")
    file(MAKE_DIRECTORY "${orvant_download}")
    execute_process(COMMAND apt-get source -q pugixml=${orvant_pugixml_version}
        WORKING_DIRECTORY "${orvant_download}"
        RESULT_VARIABLE orvant_fetch_result OUTPUT_VARIABLE orvant_fetch_output ERROR_VARIABLE orvant_fetch_output)
    file(GLOB orvant_unpacked LIST_DIRECTORIES true "${orvant_download}/pugixml-*")
    list(FILTER orvant_unpacked EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
    list(LENGTH orvant_unpacked orvant_unpacked_count)
    if(NOT orvant_fetch_result EQUAL 0 OR NOT orvant_unpacked_count EQUAL 1)
        message(FATAL_ERROR "pugixml: `apt-get source pugixml=${orvant_pugixml_version}` failed (the apt "
            "sources need deb-src entries: run scripts/install-deps.sh as root):\n${orvant_fetch_output}")
    endif()
    file(RENAME "${orvant_unpacked}" "${orvant_pugixml_dir}")
    file(REMOVE_RECURSE "${orvant_download}")
endif()

# One source file; the Linux build's pugixml is built with pugiconfig.hpp as it comes, and so is this.
add_library(pugixml STATIC "${orvant_pugixml_dir}/src/pugixml.cpp")
target_include_directories(pugixml SYSTEM PUBLIC "${orvant_pugixml_dir}/src")
add_library(pugixml::pugixml ALIAS pugixml)
