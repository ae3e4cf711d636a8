/* 32-bit big-endian PowerPC without an FPU: round to nearest, no exception
   flags; a NaN made from no NaN operand is positive, every fraction bit set. */
#define _FP_W_TYPE_SIZE 32
#define _FP_W_TYPE unsigned long
#define _FP_WS_TYPE signed long
#define _FP_I_TYPE long

#define _FP_MUL_MEAT_S(R, X, Y) _FP_MUL_MEAT_1_wide(_FP_WFRACBITS_S, R, X, Y, umul_ppmm)
#define _FP_MUL_MEAT_D(R, X, Y) _FP_MUL_MEAT_2_wide(_FP_WFRACBITS_D, R, X, Y, umul_ppmm)
#define _FP_MUL_MEAT_Q(R, X, Y) _FP_MUL_MEAT_4_wide(_FP_WFRACBITS_Q, R, X, Y, umul_ppmm)
#define _FP_DIV_MEAT_S(R, X, Y) _FP_DIV_MEAT_1_loop(S, R, X, Y)
#define _FP_DIV_MEAT_D(R, X, Y) _FP_DIV_MEAT_2_udiv(D, R, X, Y)
#define _FP_DIV_MEAT_Q(R, X, Y) _FP_DIV_MEAT_4_udiv(Q, R, X, Y)

#define _FP_NANFRAC_S ((_FP_QNANBIT_S << 1) - 1)
#define _FP_NANFRAC_D ((_FP_QNANBIT_D << 1) - 1), -1
#define _FP_NANFRAC_Q ((_FP_QNANBIT_Q << 1) - 1), -1, -1, -1
#define _FP_NANSIGN_S 0
#define _FP_NANSIGN_D 0
#define _FP_NANSIGN_Q 0
#define _FP_KEEPNANFRACP 1
#define _FP_QNANNEGATEDP 0
#define _FP_TININESS_AFTER_ROUNDING 0

/* A quiet NaN operand wins over a signalling one; otherwise the first. */
#define _FP_CHOOSENAN(fs, wc, R, X, Y, OP)                 \
  do {                                                     \
    if ((_FP_FRAC_HIGH_RAW_##fs(X) & _FP_QNANBIT_##fs) &&  \
        !(_FP_FRAC_HIGH_RAW_##fs(Y) & _FP_QNANBIT_##fs)) { \
      R##_s = Y##_s;                                       \
      _FP_FRAC_COPY_##wc(R, Y);                            \
    } else {                                               \
      R##_s = X##_s;                                       \
      _FP_FRAC_COPY_##wc(R, X);                            \
    }                                                      \
    R##_c = FP_CLS_NAN;                                    \
  } while (0)

#include <endian.h>
#define strong_alias(name, aliasname) extern __typeof(name) aliasname __attribute__((alias(#name)));
