#pragma once
// Calls into a plug-in as a 32-bit host may make them: straight from a stack whose pointer at the
// call instruction is offset modulo 16, with no code of the host in between to realign it.

#include <array>
#include <cstdint>

// Calls fn with the given argument words on a stack offset modulo 16 at the call, and answers what
// fn answers in the accumulator. The host's calling convention and the C one both work: the stack
// is restored from the frame pointer whoever pops the arguments.
extern "C" uintptr_t TavoCallWithStackOffset(const void* fn, const uintptr_t* words,
                                             uintptr_t count, uintptr_t offset);
// The stack pointer at the last call TavoCallWithStackOffset made.
extern "C" uintptr_t TavoStackAtCall;

namespace tavo::test {

#if defined(__i386__)
// Every offset a 4-byte aligned caller can leave.
inline constexpr std::array<uintptr_t, 4> kStackOffsets = {0, 4, 8, 12};
#else
// The x86-64 calling convention keeps the stack 16-byte aligned at every call: a host that broke
// it would break the system's own code first. There is nothing to vary.
inline constexpr std::array<uintptr_t, 0> kStackOffsets = {};
#endif

} // namespace tavo::test
