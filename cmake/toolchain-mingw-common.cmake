# What both Windows toolchains share; each sets CMAKE_SYSTEM_PROCESSOR, TAVO_MINGW_TRIPLET and its
# compiler flags, then includes this. MinGW-w64's posix thread model compilers (std::thread and
# std::mutex need it). Everything is linked static, the compiler's runtime included, so the
# binaries need no MinGW runtime DLLs beside them.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TAVO_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TAVO_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TAVO_MINGW_TRIPLET}-windres)

# Headers and libraries of the target come from the MinGW sysroot only; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${TAVO_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
