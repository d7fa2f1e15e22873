// Masking the processor's floating-point exceptions before a frame is drawn.
#pragma once

// Masks invalid operation, denormal operand, division by zero, overflow, underflow and
// inexact result, so no floating-point trap can fire while GL draws.
void mask_fp_exceptions();
