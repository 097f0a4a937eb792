# Warnings are errors on both toolchains.
add_compile_options(-Wall -Wextra -Werror)
if(WIN32)
    # C99 printf and scanf on Windows too: "%f" and "%g" read and write as they do natively.
    add_compile_definitions(__USE_MINGW_ANSI_STDIO=1 WIN32_LEAN_AND_MEAN NOMINMAX)
endif()
