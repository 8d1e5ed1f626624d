// The call from an offset stack: hand-written on 32-bit x86, where the offset is the point; a
// plain stub elsewhere, where no test calls it.

#include "tests/support/win/StackOffsetCall.h"

uintptr_t TavoStackAtCall = 0;

#if defined(__i386__)
asm(R"(
    .text
    .globl _TavoCallWithStackOffset
_TavoCallWithStackOffset:
    pushl %ebp
    movl %esp, %ebp
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi
    movl 16(%ebp), %ecx
    leal (,%ecx,4), %eax
    subl $64, %esp
    subl %eax, %esp
    andl $-16, %esp
    addl 20(%ebp), %esp
    xorl %eax, %eax
1:  cmpl %ecx, %eax
    jae 2f
    movl (%esi,%eax,4), %edi
    movl %edi, (%esp,%eax,4)
    incl %eax
    jmp 1b
2:  movl %esp, _TavoStackAtCall
    call *8(%ebp)
    leal -8(%ebp), %esp
    popl %edi
    popl %esi
    popl %ebp
    ret
)");
#else
extern "C" uintptr_t TavoCallWithStackOffset(const void*, const uintptr_t*, uintptr_t, uintptr_t) {
  return 0;
}
#endif
