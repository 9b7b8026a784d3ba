// The control-flow guard's dispatch on x86-64 until the loader replaces it (src/runtime/hardening.cpp):
// instrumented code calls it with the target of an indirect call in rax, and it goes straight on to
// the target, with every argument register as the caller left it.
    .text
    .globl  DispatchWithoutCheck
    .p2align 4
DispatchWithoutCheck:
    jmp     *%rax
