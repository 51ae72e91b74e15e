# Strict warnings, as errors, for our own targets only (never for third-party headers).
function(zelvan_set_warnings target)
    target_compile_options(${target} PRIVATE
        -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion
        -Wnon-virtual-dtor -Wold-style-cast -Woverloaded-virtual
        -Werror)
    if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
        # GCC 12 reports false overlaps inside std::string at -O3 (GCC bug 105651).
        target_compile_options(${target} PRIVATE -Wno-restrict)
    endif()
endfunction()
