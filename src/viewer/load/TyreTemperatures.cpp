#include "viewer/load/TyreTemperatures.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "viewer/load/WheelLanes.h"

namespace lv {
namespace {

float meanCelsius(float a, float b, float c) {
  float sum = a + b + c;
  return static_cast<float>(sum / 3.0f - 273.15);
}

void widenColumn(ColumnExtremes& e, int column, float value) {
  auto c = static_cast<std::size_t>(column);
  e.minimum[c] = std::min(e.minimum[c], value);
  e.maximum[c] = std::max(e.maximum[c], value);
}

void widenByTemperaturesOf(const TelemetryRecord& t, ColumnExtremes& e) {
  for (int column = 0; column < 3; ++column) {
    for (int w = 0; w < 4; ++w) {
      float value = t.f[12 + 3 * w + column];
      if (column == 0 && value == 0.0f) continue;
      widenColumn(e, column, value);
    }
  }
}

}  // namespace

void deriveTyreTemperaturesPlain(ViewerStores& stores, int from, int to, ColumnExtremes& e) {
  for (int s = from; s < to; ++s) {
    std::size_t row = static_cast<std::size_t>(s);
    const TelemetryRecord& t = stores.telemetryTable[row];
    const ContactPatchRecord& patch = stores.contactPatchTable[row];
    for (int w = 0; w < 4; ++w)
      stores.tyreTempAvg[row].w[w] = meanCelsius(t.f[12 + 3 * w], t.f[13 + 3 * w], t.f[14 + 3 * w]);
    if (patch.f[0] >= 200.0f) {
      for (int w = 0; w < 4; ++w)
        stores.contactPatchAvg[row].w[w] =
            meanCelsius(patch.f[3 * w], patch.f[3 * w + 1], patch.f[3 * w + 2]);
    }
    widenByTemperaturesOf(t, e);
  }
}

#if defined(__SSE2__)

namespace {

// The extremes of one column in the four wheel lanes, with the rules of std::min and std::max
// (the new value first: a NaN keeps what was there). Whether a -0.0 came by is noted: equal
// values other than zeros of both signs are the same bits, so only then can the order in
// which the lanes are taken together matter.
struct ColumnLanes {
  __m128 low = _mm_set1_ps(std::numeric_limits<float>::infinity());
  __m128 high = _mm_set1_ps(-std::numeric_limits<float>::infinity());
  __m128 zeros = _mm_setzero_ps();

  void add(__m128 v) {
    low = _mm_min_ps(v, low);
    high = _mm_max_ps(v, high);
    zeros = _mm_or_ps(zeros, _mm_and_ps(_mm_cmpeq_ps(v, _mm_setzero_ps()), v));
  }
  // Values equal to 0 are left out (the inner column).
  void addLeavingOutZeros(__m128 v) {
    __m128 zero = _mm_cmpeq_ps(v, _mm_setzero_ps());
    const __m128 inf = _mm_set1_ps(std::numeric_limits<float>::infinity());
    low = _mm_min_ps(_mm_or_ps(_mm_and_ps(zero, inf), _mm_andnot_ps(zero, v)), low);
    high = _mm_max_ps(
        _mm_or_ps(_mm_and_ps(zero, _mm_sub_ps(_mm_setzero_ps(), inf)), _mm_andnot_ps(zero, v)),
        high);
  }
  // Takes the lanes into the extremes, wheel by wheel; false when a zero of either sign
  // might have been kept where the order of the samples keeps the other.
  bool takeInto(ColumnExtremes& e, int column) const {
    alignas(16) float lows[4], highs[4], seen[4];
    _mm_store_ps(lows, low);
    _mm_store_ps(highs, high);
    _mm_store_ps(seen, zeros);
    bool negativeZero = false;
    auto c = static_cast<std::size_t>(column);
    for (int w = 0; w < 4; ++w) {
      e.minimum[c] = std::min(e.minimum[c], lows[w]);
      e.maximum[c] = std::max(e.maximum[c], highs[w]);
      std::uint32_t bits;
      std::memcpy(&bits, &seen[w], sizeof bits);
      negativeZero |= bits != 0;
    }
    return !(negativeZero && (e.minimum[c] == 0.0f || e.maximum[c] == 0.0f));
  }
};

void storeMeans(float* to, const float* twelve) {
  _mm_storeu_ps(to, wheelMeansCelsius(wheelLanes(twelve)));
}

}  // namespace

void deriveTyreTemperatures(ViewerStores& stores, int from, int to, ColumnExtremes& e) {
  ColumnExtremes before = e;
  ColumnLanes columns[3];
  for (int s = from; s < to; ++s) {
    std::size_t row = static_cast<std::size_t>(s);
    const float* temps = stores.telemetryTable[row].f + 12;
    const ContactPatchRecord& patch = stores.contactPatchTable[row];
    WheelLanes t = wheelLanes(temps);
    _mm_storeu_ps(stores.tyreTempAvg[row].w, wheelMeansCelsius(t));
    if (patch.f[0] >= 200.0f) storeMeans(stores.contactPatchAvg[row].w, patch.f);
    columns[0].addLeavingOutZeros(t.first);
    columns[1].add(t.middle);
    columns[2].add(t.last);
  }
  bool exact = true;
  for (int column = 0; column < 3; ++column) exact &= columns[column].takeInto(e, column);
  if (exact) return;
  // A -0.0 met a +0.0 at an extreme: the samples are taken again, one value at a time.
  e = before;
  for (int s = from; s < to; ++s)
    widenByTemperaturesOf(stores.telemetryTable[static_cast<std::size_t>(s)], e);
}

#else

void deriveTyreTemperatures(ViewerStores& stores, int from, int to, ColumnExtremes& e) {
  deriveTyreTemperaturesPlain(stores, from, to, e);
}

#endif

}  // namespace lv
