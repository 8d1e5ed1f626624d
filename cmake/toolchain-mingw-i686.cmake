# Cross-compiling for Windows (i686), the specified 32-bit module.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAVO_MINGW_TRIPLET i686-w64-mingw32)

# Arithmetic in SSE2 registers, as on x86-64: the x87 unit's 80-bit intermediates would make the
# 32-bit module's sound differ from the 64-bit one's. The host calls in with a stack aligned to 4
# bytes only, so functions realign it before SSE spills need 16.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")

include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
