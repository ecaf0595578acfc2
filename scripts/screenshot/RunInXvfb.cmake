# Runs PROGRAM under a real X server and checks that it saved OUTPUT and printed no Qt warning.
# Usage: cmake -DPROGRAM=<path> -DOUTPUT=<png> -DWORK_DIR=<folder> -P RunInXvfb.cmake
find_program(XVFB_RUN xvfb-run)
if(NOT XVFB_RUN)
    message("SKIPPED: xvfb-run is not installed (Debian package xvfb); the real-X check did not run")
    return()
endif()

file(REMOVE "${OUTPUT}")
get_filename_component(output_dir "${OUTPUT}" DIRECTORY)
file(MAKE_DIRECTORY "${output_dir}")
# Qt warns about a missing or shared runtime folder; give the program a private one.
set(runtime_dir "${WORK_DIR}/xdg-runtime")
file(MAKE_DIRECTORY "${runtime_dir}")
file(CHMOD "${runtime_dir}" DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
set(ENV{XDG_RUNTIME_DIR} "${runtime_dir}")
unset(ENV{QT_QPA_PLATFORM})
# In a sanitizer build: the X platform's D-Bus library keeps a buffer for the life of the process, which
# LeakSanitizer would report against us.
set(suppressions "${WORK_DIR}/lsan-system-libraries.supp")
file(WRITE "${suppressions}" "leak:libdbus-1.so\n")
if(DEFINED ENV{LSAN_OPTIONS} AND NOT "$ENV{LSAN_OPTIONS}" STREQUAL "")
    set(ENV{LSAN_OPTIONS} "$ENV{LSAN_OPTIONS}:suppressions=${suppressions}")
else()
    set(ENV{LSAN_OPTIONS} "suppressions=${suppressions}")
endif()

execute_process(
    COMMAND "${XVFB_RUN}" -a -s "-screen 0 1024x768x24" "${PROGRAM}" "${OUTPUT}"
    RESULT_VARIABLE result
    OUTPUT_VARIABLE out
    ERROR_VARIABLE err
    TIMEOUT 60)
message("${out}${err}")
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the window program failed under Xvfb: ${result}")
endif()
if(err MATCHES "Qt warning|QWidget|QPainter|qt\\.")
    message(FATAL_ERROR "Qt printed a warning")
endif()
if(NOT EXISTS "${OUTPUT}")
    message(FATAL_ERROR "no picture at ${OUTPUT}")
endif()
file(SIZE "${OUTPUT}" picture_size)
if(picture_size LESS 10000)
    message(FATAL_ERROR "the picture at ${OUTPUT} is too small to show the window (${picture_size} bytes)")
endif()
message("picture: ${OUTPUT} (${picture_size} bytes)")
