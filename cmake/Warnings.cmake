# Warnings for the project's own targets; third-party headers come in as system includes.
function(orvant_set_warnings target)
    if(MSVC)
        target_compile_options(${target} PRIVATE /W4)
    else()
        target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror=return-type)
    endif()
endfunction()
