/* Arithmetic, compares and conversions of double and float, on values the
   compiler cannot fold. Its output on an FPU-less PowerPC core must match
   this machine's. */
#include <stdio.h>

volatile double a = 1.5, b = -2.25, three = 3;
volatile float f = 0.1f;
volatile int i = -7;
volatile unsigned u = 4000000000u;
volatile long long ll = -123456789012345LL;

int main(void) {
  double third = 1 / three;
  return printf("%g %g %g %.17g %d %d %d %d\n%.9g %.17g %d %u %lld %.17g %g\n", a + b, a - b, a * b,
                third, a < b, a == 1.5, b >= a, (int)(b * 10), (double)(f * 3),
                (double)(float)third, (int)(a * i), (unsigned)(u / three), (long long)(ll / 1e3),
                (double)ll, (double)u) < 0;
}
