# The hardening Debian builds its own packages with (dpkg-buildflags, hardening=+all): fortified C
# library calls, a stack protector, and relocations made read-only and bound at load time. Only for
# optimised Linux builds: _FORTIFY_SOURCE needs the optimiser, -z relro and -z now are ELF linker
# options, and the sanitizer and fuzz builds keep their own instrumentation undisturbed.
if(CMAKE_SYSTEM_NAME STREQUAL "Linux" AND NOT ORVANT_SANITIZE AND NOT ORVANT_FUZZ)
    set(orvant_optimised "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
    add_compile_options("$<${orvant_optimised}:-D_FORTIFY_SOURCE=2>" "$<${orvant_optimised}:-fstack-protector-strong>")
    add_link_options("$<${orvant_optimised}:LINKER:-z,relro,-z,now>")
endif()
