# Cross-compiling for Windows (x86_64), the module the Wine suite runs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAVO_MINGW_TRIPLET x86_64-w64-mingw32)

# The 64-bit Windows ABI keeps the stack 16-byte aligned, yet GCC spills 256-bit values (the AVX2
# build of the stereo loop) with 32-byte aligned moves. The assembler turns every aligned vector
# move into an unaligned one, which is as fast on data that is aligned after all.
set(CMAKE_C_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")
set(CMAKE_CXX_FLAGS_INIT "-Wa,-muse-unaligned-vector-move")

include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
