# The libraries Debian builds for Linux only are built for Windows from Debian's own source packages,
# fetched with `apt-get source` (scripts/install-deps.sh adds the source entries it needs). The unpacked
# sources are kept in a cache folder outside the build folder, so neither a rebuild nor a fresh build
# folder downloads them again; nothing of them enters the repository.

if(DEFINED ENV{XDG_CACHE_HOME} AND NOT "$ENV{XDG_CACHE_HOME}" STREQUAL "")
    set(orvant_default_cache "$ENV{XDG_CACHE_HOME}/orvant-setup")
else()
    set(orvant_default_cache "$ENV{HOME}/.cache/orvant-setup")
endif()
set(ORVANT_DEPENDENCY_CACHE "${orvant_default_cache}" CACHE PATH
    "Folder that keeps the dependencies built from source for Windows (Debian source packages)")

# orvant_debian_source(<source package> <Linux -dev package> <result variable>)
# Sets the variable to the folder of the unpacked source package: the version the Linux build links
# (the -dev package installed), or, where the archive no longer offers that one's source (a security
# update replaced it), the newest version it does offer.
function(orvant_debian_source package dev_package result)
    execute_process(COMMAND dpkg-query -W -f=\${source:Version} ${dev_package}
        OUTPUT_VARIABLE installed RESULT_VARIABLE query_result ERROR_QUIET)
    if(NOT query_result EQUAL 0 OR installed STREQUAL "")
        message(FATAL_ERROR "${package}: ${dev_package} is not installed, so the version to build for Windows "
            "is unknown; run scripts/install-deps.sh")
    endif()
    file(GLOB cached LIST_DIRECTORIES true "${ORVANT_DEPENDENCY_CACHE}/${package}_*")
    if(EXISTS "${ORVANT_DEPENDENCY_CACHE}/${package}_${installed}")
        set(${result} "${ORVANT_DEPENDENCY_CACHE}/${package}_${installed}" PARENT_SCOPE)
        return()
    endif()
    # The versions the archive has sources of, newest first, after the installed one.
    execute_process(COMMAND apt-cache showsrc ${package} OUTPUT_VARIABLE showsrc ERROR_QUIET)
    string(REGEX MATCHALL "\nVersion: [^\n]+" offered "\n${showsrc}")
    list(TRANSFORM offered REPLACE "\nVersion: " "")
    list(SORT offered COMPARE NATURAL ORDER DESCENDING)
    set(versions ${installed} ${offered})
    list(REMOVE_DUPLICATES versions)
    set(download "${ORVANT_DEPENDENCY_CACHE}/download-${package}")
    set(output "")
    foreach(version ${versions})
        if(EXISTS "${ORVANT_DEPENDENCY_CACHE}/${package}_${version}")
            set(${result} "${ORVANT_DEPENDENCY_CACHE}/${package}_${version}" PARENT_SCOPE)
            return()
        endif()
        message(STATUS "${package}: fetching Debian's source package ${version}")
        # Unpacked beside the cache entry and renamed into place, so an interrupted fetch leaves no half entry.
        file(REMOVE_RECURSE "${download}")
        file(MAKE_DIRECTORY "${download}")
        execute_process(COMMAND apt-get source -q ${package}=${version} WORKING_DIRECTORY "${download}"
            RESULT_VARIABLE fetch_result OUTPUT_VARIABLE fetch_output ERROR_VARIABLE fetch_output)
        file(GLOB unpacked LIST_DIRECTORIES true "${download}/${package}-*")
        list(FILTER unpacked EXCLUDE REGEX "\\.(tar\\..*|dsc)$")
        list(LENGTH unpacked unpacked_count)
        if(fetch_result EQUAL 0 AND unpacked_count EQUAL 1)
            file(RENAME "${unpacked}" "${ORVANT_DEPENDENCY_CACHE}/${package}_${version}")
            file(REMOVE_RECURSE "${download}")
            set(${result} "${ORVANT_DEPENDENCY_CACHE}/${package}_${version}" PARENT_SCOPE)
            return()
        endif()
        string(APPEND output "${fetch_output}")
    endforeach()
    file(REMOVE_RECURSE "${download}")
    message(FATAL_ERROR "${package}: `apt-get source ${package}` failed for every version (the apt sources need "
        "deb-src entries: run scripts/install-deps.sh as root):\n${output}")
endfunction()
