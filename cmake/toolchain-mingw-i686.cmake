# Cross-compiling for Windows (i686), the specified 32-bit module.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TAVO_MINGW_TRIPLET i686-w64-mingw32)

# Arithmetic in SSE2 registers, as on x86-64: the x87 unit's 80-bit intermediates would make the
# 32-bit module's sound differ from the 64-bit one's.
#
# Where 16-byte SSE2 values live, and what keeps each place aligned (docs/ARCHITECTURE.md, "The
# Windows build"):
# - On the stack: a 32-bit host calls in with the stack aligned to 4 bytes only. -mstackrealign
#   (this compiler's default for the target, named so that it stays) makes every function whose
#   frame holds a 16-byte aligned value realign its own frame on entry, whatever it was called
#   with; functions without such values do not, and need not.
# - On the heap: the C runtime's malloc aligns to 8 bytes on 32-bit Windows, yet the compiler
#   takes 16 for granted (__STDCPP_DEFAULT_NEW_ALIGNMENT__) and hands objects of 16-byte aligned
#   types to plain operator new, which returns what malloc gives. -faligned-new=8 tells it what
#   malloc really promises: every new of a type aligned above 8 bytes (the signal chain's stereo
#   lanes, whatever holds them, containers of them) goes through the aligned operator new.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse -mstackrealign -faligned-new=8")

include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
