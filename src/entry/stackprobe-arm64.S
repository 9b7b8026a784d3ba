// The stack probe for ARM64 Windows, which the compiler calls before it lowers the stack pointer
// by more than a page: x15 holds the size in units of 16 bytes. Each page below the stack
// pointer is touched in order, so that the guard page below the committed stack is met and the
// system commits the next one; a jump past it would fault. Only x16 and x17 change.
    .text
    .globl  __chkstk
    .p2align 2
__chkstk:
    lsl     x16, x15, #4
    mov     x17, sp
1:
    sub     x17, x17, #4096
    subs    x16, x16, #4096
    ldr     xzr, [x17]
    b.gt    1b
    ret
