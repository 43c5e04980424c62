#include "viewer/load/QuickArcsine.h"

#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lv {

#if defined(__SSE2__)

namespace {

// The rational approximation of (asin(r) - r) / r^3 on r^2 in [0, 0.25] from the classic
// freely distributable math library, good to about 2^-58: t * P(t) / Q(t).
__m128d ratio(__m128d t) {
  const __m128d p5 = _mm_set1_pd(3.47933107596021167570e-05);
  const __m128d p4 = _mm_set1_pd(7.91534994289814532176e-04);
  const __m128d p3 = _mm_set1_pd(-4.00555345006794114027e-02);
  const __m128d p2 = _mm_set1_pd(2.01212532134862925881e-01);
  const __m128d p1 = _mm_set1_pd(-3.25565818622400915405e-01);
  const __m128d p0 = _mm_set1_pd(1.66666666666666657415e-01);
  const __m128d q4 = _mm_set1_pd(7.70381505559019352791e-02);
  const __m128d q3 = _mm_set1_pd(-6.88283971605453293030e-01);
  const __m128d q2 = _mm_set1_pd(2.02094576023350569471e+00);
  const __m128d q1 = _mm_set1_pd(-2.40339491173441421878e+00);
  const __m128d one = _mm_set1_pd(1.0);
  __m128d p = _mm_add_pd(p4, _mm_mul_pd(t, p5));
  p = _mm_add_pd(p3, _mm_mul_pd(t, p));
  p = _mm_add_pd(p2, _mm_mul_pd(t, p));
  p = _mm_add_pd(p1, _mm_mul_pd(t, p));
  p = _mm_mul_pd(t, _mm_add_pd(p0, _mm_mul_pd(t, p)));
  __m128d q = _mm_add_pd(q3, _mm_mul_pd(t, q4));
  q = _mm_add_pd(q2, _mm_mul_pd(t, q));
  q = _mm_add_pd(q1, _mm_mul_pd(t, q));
  q = _mm_add_pd(one, _mm_mul_pd(t, q));
  return _mm_div_pd(p, q);
}

// Below one half asin(x) = x + x R(x^2); from there on asin(|x|) = pi/2 - 2 asin(s) with
// s = sqrt((1 - |x|) / 2), and asin(s) = s + s R(s^2). Both are worked out and the right
// one is kept per lane.
__m128d arcsines(__m128d x) {
  const __m128d signBit = _mm_set1_pd(-0.0);
  const __m128d half = _mm_set1_pd(0.5);
  const __m128d halfPiHigh = _mm_set1_pd(1.57079632679489655800e+00);
  const __m128d halfPiLow = _mm_set1_pd(6.12323399573676603587e-17);
  __m128d sign = _mm_and_pd(x, signBit);
  __m128d magnitude = _mm_andnot_pd(signBit, x);
  __m128d small = _mm_cmplt_pd(magnitude, half);

  __m128d near = _mm_add_pd(x, _mm_mul_pd(x, ratio(_mm_mul_pd(x, x))));

  __m128d t = _mm_mul_pd(_mm_sub_pd(_mm_set1_pd(1.0), magnitude), half);
  __m128d s = _mm_sqrt_pd(t);
  __m128d twice = _mm_mul_pd(_mm_set1_pd(2.0), _mm_add_pd(s, _mm_mul_pd(s, ratio(t))));
  __m128d far = _mm_sub_pd(halfPiHigh, _mm_sub_pd(twice, halfPiLow));
  far = _mm_or_pd(far, sign);

  return _mm_or_pd(_mm_and_pd(small, near), _mm_andnot_pd(small, far));
}

}  // namespace

void quickArcsines(const double* x, double* out, std::size_t count) {
  std::size_t i = 0;
  for (; i + 2 <= count; i += 2) _mm_storeu_pd(out + i, arcsines(_mm_loadu_pd(x + i)));
  if (i < count) {
    alignas(16) double last[2] = {x[i], 0.0};
    alignas(16) double result[2];
    _mm_store_pd(result, arcsines(_mm_load_pd(last)));
    out[i] = result[0];
  }
}

#else

void quickArcsines(const double* x, double* out, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) out[i] = std::asin(x[i]);
}

#endif

}  // namespace lv
