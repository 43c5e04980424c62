#include "viewer/overviews/TyreColumnKeys.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "viewer/load/WheelLanes.h"

namespace lv {
namespace {

template <typename T>
KeyRange<T> emptyRange() {
  return {std::numeric_limits<T>::infinity(), -std::numeric_limits<T>::infinity(), false};
}

TyreColumnKeys emptyKeys() {
  TyreColumnKeys keys;
  keys.across.fill(emptyRange<float>());
  keys.centre.fill(emptyRange<double>());
  keys.mean.fill(emptyRange<float>());
  return keys;
}

// A NaN leaves both extremes as they are, and so does a zero of the other sign.
template <typename T>
void widen(KeyRange<T>& range, T value) {
  range.low = std::min(range.low, value);
  range.high = std::max(range.high, value);
  range.nan |= value != value;
}

#if defined(__SSE2__)

// Four wheels' values in the lanes of a vector, with the same rules as widen(): the new value
// is the first operand of min and max, which then keep the second when either is NaN.
struct Lanes4 {
  __m128 low = _mm_set1_ps(std::numeric_limits<float>::infinity());
  __m128 high = _mm_set1_ps(-std::numeric_limits<float>::infinity());
  __m128 nan = _mm_setzero_ps();

  void add(__m128 v) {
    low = _mm_min_ps(v, low);
    high = _mm_max_ps(v, high);
    nan = _mm_or_ps(nan, _mm_cmpunord_ps(v, v));
  }
  void store(std::array<KeyRange<float>, 4>& ranges) const {
    alignas(16) float lows[4], highs[4], nans[4];
    _mm_store_ps(lows, low);
    _mm_store_ps(highs, high);
    _mm_store_ps(nans, nan);
    for (int w = 0; w < 4; ++w) {
      std::uint32_t bits;
      std::memcpy(&bits, &nans[w], sizeof bits);
      ranges[static_cast<std::size_t>(w)] = {lows[w], highs[w], bits != 0};
    }
  }
};

struct Lanes2 {
  __m128d low = _mm_set1_pd(std::numeric_limits<double>::infinity());
  __m128d high = _mm_set1_pd(-std::numeric_limits<double>::infinity());
  __m128d nan = _mm_setzero_pd();

  void add(__m128d v) {
    low = _mm_min_pd(v, low);
    high = _mm_max_pd(v, high);
    nan = _mm_or_pd(nan, _mm_cmpunord_pd(v, v));
  }
  void store(KeyRange<double>* ranges) const {
    alignas(16) double lows[2], highs[2], nans[2];
    _mm_store_pd(lows, low);
    _mm_store_pd(highs, high);
    _mm_store_pd(nans, nan);
    for (int w = 0; w < 2; ++w) {
      std::uint64_t bits;
      std::memcpy(&bits, &nans[w], sizeof bits);
      ranges[w] = {lows[w], highs[w], bits != 0};
    }
  }
};

#endif

}  // namespace

TyreColumnKeys tyreColumnKeysPlain(const TelemetryRecord* telemetry, const WheelTemps* means,
                                   std::size_t count) {
  TyreColumnKeys keys = emptyKeys();
  for (std::size_t i = 0; i < count; ++i) {
    const TelemetryRecord& t = telemetry[i];
    for (int w = 0; w < 4; ++w) {
      auto wheel = static_cast<std::size_t>(w);
      widen(keys.across[wheel], treadDifference(t, w));
      widen(keys.centre[wheel], centreAgainstEdges(t, w));
      widen(keys.mean[wheel], means[i].w[w]);
    }
  }
  return keys;
}

#if defined(__SSE2__)

TyreColumnKeys tyreColumnKeys(const TelemetryRecord* telemetry, const WheelTemps* means,
                              std::size_t count) {
  Lanes4 across, mean;
  Lanes2 centreFront, centreRear;
  const __m128d half = _mm_set1_pd(0.5);  // halving is exact, as the division by 2.0 is
  for (std::size_t i = 0; i < count; ++i) {
    WheelLanes lanes = wheelLanes(telemetry[i].f + 12);
    __m128 first = lanes.first, middle = lanes.middle, last = lanes.last;
    across.add(_mm_sub_ps(last, first));
    __m128 edges = _mm_add_ps(first, last);
    centreFront.add(_mm_sub_pd(_mm_cvtps_pd(middle), _mm_mul_pd(_mm_cvtps_pd(edges), half)));
    centreRear.add(_mm_sub_pd(_mm_cvtps_pd(_mm_movehl_ps(middle, middle)),
                              _mm_mul_pd(_mm_cvtps_pd(_mm_movehl_ps(edges, edges)), half)));
    mean.add(_mm_loadu_ps(means[i].w));
  }
  TyreColumnKeys keys;
  across.store(keys.across);
  mean.store(keys.mean);
  centreFront.store(&keys.centre[0]);
  centreRear.store(&keys.centre[2]);
  return keys;
}

#else

TyreColumnKeys tyreColumnKeys(const TelemetryRecord* telemetry, const WheelTemps* means,
                              std::size_t count) {
  return tyreColumnKeysPlain(telemetry, means, count);
}

#endif

}  // namespace lv
