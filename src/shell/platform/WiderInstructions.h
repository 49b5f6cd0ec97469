#pragma once

// Marks a function of the inner loops to be built twice on x86-64 with GCC, for processors with
// AVX2 and for the rest, the better one chosen as the program starts. Elsewhere, as in the browser
// build, it is built once as usual.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
#define QUIBBIX_WIDER_WHERE_AVAILABLE __attribute__((target_clones("avx2", "default")))
#else
#define QUIBBIX_WIDER_WHERE_AVAILABLE
#endif
