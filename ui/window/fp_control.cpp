// Floating-point control: every exception kind masked, on x87 and SSE alike.
#include "ui/window/fp_control.h"

#include <cfenv>

#if defined(__x86_64__) || defined(__i386__)
#include <xmmintrin.h>
#endif

void mask_fp_exceptions() {
#if defined(__x86_64__) || defined(__i386__)
    // The six mask bits: 0x3f in the x87 control word, 0x1f80 in MXCSR (the denormal-operand
    // kind has no name in <cfenv>).
    unsigned short control;
    __asm__ volatile("fnstcw %0" : "=m"(control));
    control |= 0x3f;
    __asm__ volatile("fldcw %0" : : "m"(control));
    _mm_setcsr(_mm_getcsr() | 0x1f80);
#else
    std::fenv_t env;
    std::feholdexcept(&env);
#endif
}
