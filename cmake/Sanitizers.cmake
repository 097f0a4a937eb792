# TSW_SANITIZE: every target (the plug-in's shared object, the emulated host, tsw-sim and the
# tests) built with AddressSanitizer and UndefinedBehaviorSanitizer, any finding fatal. The
# linux-asan preset sets it; that build runs the native tests only.
option(TSW_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
if(TSW_SANITIZE)
    if(WIN32)
        message(FATAL_ERROR "TSW_SANITIZE is for the native build")
    endif()
    set(TSW_SANITIZER_FLAGS
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_compile_options(${TSW_SANITIZER_FLAGS})
    add_link_options(${TSW_SANITIZER_FLAGS})
endif()
