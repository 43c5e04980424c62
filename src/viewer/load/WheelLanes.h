#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lv {

#if defined(__SSE2__)

// Twelve floats that hold three values per wheel, wheel after wheel (the tyre or the
// contact-patch temperatures of a record), taken apart into one vector per value with the
// four wheels in its lanes: value 0 (`first`), 1 (`middle`) and 2 (`last`) of each wheel.
struct WheelLanes {
  __m128 first, middle, last;
};

inline WheelLanes wheelLanes(const float* twelve) {
  __m128 a = _mm_loadu_ps(twelve), b = _mm_loadu_ps(twelve + 4), c = _mm_loadu_ps(twelve + 8);
  __m128 bc = _mm_shuffle_ps(b, c, _MM_SHUFFLE(1, 1, 2, 2));
  return {_mm_shuffle_ps(a, bc, _MM_SHUFFLE(2, 0, 3, 0)),
          _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(0, 0, 1, 1)),
                         _mm_shuffle_ps(b, c, _MM_SHUFFLE(2, 2, 3, 3)), _MM_SHUFFLE(2, 0, 2, 0)),
          _mm_shuffle_ps(_mm_shuffle_ps(a, b, _MM_SHUFFLE(1, 1, 2, 2)),
                         _mm_shuffle_ps(c, c, _MM_SHUFFLE(3, 3, 0, 0)), _MM_SHUFFLE(2, 0, 2, 0))};
}

// The mean of a wheel's three values in degrees Celsius, as (v0 + v1 + v2) / 3 in single
// precision, less 273.15 in double, back to single: for the four wheels at once.
inline __m128 wheelMeansCelsius(const WheelLanes& v) {
  __m128 mean = _mm_div_ps(_mm_add_ps(_mm_add_ps(v.first, v.middle), v.last), _mm_set1_ps(3.0f));
  __m128d kelvin = _mm_set1_pd(273.15);
  __m128 front = _mm_cvtpd_ps(_mm_sub_pd(_mm_cvtps_pd(mean), kelvin));
  __m128 rear = _mm_cvtpd_ps(_mm_sub_pd(_mm_cvtps_pd(_mm_movehl_ps(mean, mean)), kelvin));
  return _mm_movelh_ps(front, rear);
}

#endif

}  // namespace lv
