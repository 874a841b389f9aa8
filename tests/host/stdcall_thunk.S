/*
 * int32_t callWithSlots(void* fn, const uint32_t* slots, uint32_t count, uint32_t* removed)
 *
 * Pushes `count` 32-bit slots (slot 1 at the lowest address), calls `fn`, and
 * stores how many bytes the callee removed from the stack. The caller's stack
 * is restored whatever the callee did, so a wrong contract is measured, not fatal.
 */
    .text
    .globl _callWithSlots
    .def _callWithSlots; .scl 2; .type 32; .endef
_callWithSlots:
    pushl %ebp
    movl %esp, %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 12(%ebp), %esi      /* slots */
    movl 16(%ebp), %ecx      /* count */
    movl %esp, %edi          /* stack before the arguments */
1:  testl %ecx, %ecx
    jz 2f
    decl %ecx
    pushl (%esi,%ecx,4)
    jmp 1b
2:  movl %esp, %ebx          /* stack with the arguments in place */
    call *8(%ebp)
    movl %esp, %ecx
    subl %ebx, %ecx          /* bytes the callee popped */
    movl %edi, %esp
    movl 20(%ebp), %edx
    movl %ecx, (%edx)
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
