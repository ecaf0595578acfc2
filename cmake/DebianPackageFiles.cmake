# What Debian's tools expect in the package beside the programs: the copyright file, the changelog and
# the manual pages, compressed with gzip -9n (no name, no time stamp: every build gives the same bytes),
# and programs without the compiler's notes. tarnctl's page is made by help2man from the built program's
# own --help and --version, so the two cannot drift apart; TarnConfig's and Varset's are written by hand,
# and TarnConfig's shares its environment and files sections with tarnctl's.
if(NOT CMAKE_SYSTEM_NAME STREQUAL "Linux")
    return()
endif()

set(orvant_package_docs ${CMAKE_CURRENT_BINARY_DIR}/package-docs)
set(orvant_man_sources ${CMAKE_CURRENT_SOURCE_DIR}/packaging/man)
set(orvant_changelog ${CMAKE_CURRENT_SOURCE_DIR}/packaging/changelog)

# The pages carry the date of the newest changelog entry, the release's, not the day of the build.
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${orvant_changelog})
find_program(DPKG_PARSECHANGELOG_EXE dpkg-parsechangelog)
set(orvant_release_time "")
if(DPKG_PARSECHANGELOG_EXE)
    execute_process(COMMAND ${DPKG_PARSECHANGELOG_EXE} -l ${orvant_changelog} -S Timestamp
        OUTPUT_VARIABLE orvant_release_time OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE parsed)
    if(NOT parsed EQUAL 0)
        message(FATAL_ERROR "dpkg-parsechangelog cannot read ${orvant_changelog}")
    endif()
endif()
set(saved_epoch "$ENV{SOURCE_DATE_EPOCH}")
set(ENV{SOURCE_DATE_EPOCH} "${orvant_release_time}")
string(TIMESTAMP ORVANT_MANUAL_DATE "%B %Y" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${saved_epoch}")

file(READ ${orvant_man_sources}/environment.man ORVANT_MAN_ENVIRONMENT)
file(READ ${orvant_man_sources}/files.man ORVANT_MAN_FILES)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${orvant_man_sources}/environment.man ${orvant_man_sources}/files.man)
foreach(page TarnConfig.1 Varset.1 tarnctl.h2m)
    configure_file(${orvant_man_sources}/${page}.in ${orvant_package_docs}/${page} @ONLY)
endforeach()

# Compresses SOURCE to gz/NAME.gz in the package's files; the output's path goes to OUTPUT_VARIABLE.
function(orvant_gzip_copy source name output_variable)
    set(output ${orvant_package_docs}/gz/${name}.gz)
    add_custom_command(OUTPUT ${output}
        COMMAND ${CMAKE_COMMAND} -E copy ${source} ${orvant_package_docs}/gz/${name}
        COMMAND gzip -9nf ${orvant_package_docs}/gz/${name}
        DEPENDS ${source}
        VERBATIM)
    set(${output_variable} ${output} PARENT_SCOPE)
endfunction()

orvant_gzip_copy(${orvant_changelog} changelog changelog_gz)
set(pages)
foreach(program TarnConfig Varset)
    orvant_gzip_copy(${orvant_package_docs}/${program}.1 ${program}.1 page)
    list(APPEND pages ${page})
endforeach()

find_program(HELP2MAN_EXE help2man)
if(HELP2MAN_EXE AND TARGET tarnctl)
    set(release_epoch)
    if(orvant_release_time)
        set(release_epoch SOURCE_DATE_EPOCH=${orvant_release_time})
    endif()
    add_custom_command(OUTPUT ${orvant_package_docs}/tarnctl.1
        COMMAND ${CMAKE_COMMAND} -E env ${release_epoch}
            ${HELP2MAN_EXE} --no-info --section=1 "--manual=ORVANT set-up"
            "--source=orvant-setup ${PROJECT_VERSION}" --include=${orvant_package_docs}/tarnctl.h2m
            --output=${orvant_package_docs}/tarnctl.1 $<TARGET_FILE:tarnctl>
        DEPENDS tarnctl ${orvant_package_docs}/tarnctl.h2m
        VERBATIM)
    orvant_gzip_copy(${orvant_package_docs}/tarnctl.1 tarnctl.1 page)
    list(APPEND pages ${page})
else()
    message(WARNING "help2man not found: the package will lack tarnctl's manual page (scripts/install-deps.sh installs it)")
endif()
add_custom_target(package_docs ALL DEPENDS ${changelog_gz} ${pages})

install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright ${changelog_gz}
    DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
install(FILES ${pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# A stripping install (cpack's) also drops the compiler's .comment and .note sections, as Debian's own
# dh_strip does; strip alone keeps them.
if(CMAKE_OBJCOPY)
    install(CODE "
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(program TarnConfig Varset tarnctl)
                set(file \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/\${program}\")
                if(EXISTS \"\${file}\")
                    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment --remove-section=.note
                        \"\${file}\" COMMAND_ERROR_IS_FATAL ANY)
                endif()
            endforeach()
        endif()")
endif()
