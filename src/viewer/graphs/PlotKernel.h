#pragma once

// The loops every channel plot runs per point, written so that a redraw of every channel
// costs little: the x of every sample of a lap worked out once per redraw cycle (LapAxis,
// RedrawCache), the rows of a block of samples in one loop with the channel's rule inlined
// (no call per point) and read from the cycle's columns of the lap, and the clamping of rows
// to the store only for blocks near its ends, where a rule can look outside. Every point
// comes out exactly as the plain per-point computation gives it: the same float and double
// operations in the same order, the same conversions.

#include <cstddef>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/RedrawCache.h"

namespace lv {

// truncToInt without branches: the same result for every double (toward zero, saturating at
// the int32 range, NaN 0). NaN is made 0, the value held inside the range with the
// processor's max and min (exact there: max(w, lo) is w > lo ? w : lo) and truncated.
inline std::int32_t truncToIntBranchless(double value) {
#if defined(__SSE2__)
  __m128d v = _mm_set_sd(value);
  __m128d w = _mm_and_pd(v, _mm_cmpord_sd(v, v));
  w = _mm_min_sd(_mm_max_sd(w, _mm_set_sd(-2147483648.0)), _mm_set_sd(2147483647.0));
  return _mm_cvttsd_si32(w);
#else
  return truncToInt(value);
#endif
}

// truncToIntBranchless of n values, two at a time where the processor allows.
inline void truncToInts(const double* values, int n, int* out) {
  int i = 0;
#if defined(__SSE2__)
  const __m128d low = _mm_set1_pd(-2147483648.0);
  const __m128d high = _mm_set1_pd(2147483647.0);
  for (; i + 2 <= n; i += 2) {
    __m128d v = _mm_loadu_pd(values + i);
    __m128d w = _mm_and_pd(v, _mm_cmpord_pd(v, v));
    w = _mm_min_pd(_mm_max_pd(w, low), high);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_cvttpd_epi32(w));
  }
#endif
  for (; i < n; ++i) out[i] = truncToIntBranchless(values[i]);
}

// truncToInt of a float widened to double (the x of a point), without branches.
inline std::int32_t truncFloatToInt(float value) {
  float w = value == value ? value : 0.0f;
  w = w > -2147483648.0f ? w : -2147483648.0f;
  w = w < 2147483520.0f ? w : 2147483520.0f;  // the largest float below 2^31
  std::int32_t t = static_cast<std::int32_t>(w);
  return value >= 2147483648.0f ? std::numeric_limits<std::int32_t>::max() : t;
}

// rowOf, without branches.
inline int rowOfBranchless(double baseline, double scale, double value) {
  return truncToIntBranchless(baseline - scale * value);
}
// The row before its truncation: rowOf(baseline, scale, value) is truncToInt of this.
inline double unroundedRow(double baseline, double scale, double value) {
  return baseline - scale * value;
}

// How far from the sample being drawn any channel rule reads (G a: 13 samples either side).
inline constexpr int kRuleReach = 16;

// The per-sample stores as a channel rule reads them, by sample and field: through clampRow
// (kClamp) or straight.
template <bool kClamp>
class StoreRows {
 public:
  explicit StoreRows(const ViewerStores& s)
      : frames_(s.frameTable.data()),
        telemetry_(s.telemetryTable.data()),
        contactPatch_(s.contactPatchTable.data()),
        extra_(s.extraTable.data()),
        chord_(s.trackDistanceStep.data()),
        heading_(s.headingTable.data()),
        tyreTempAvg_(s.tyreTempAvg.data()),
        contactPatchAvg_(s.contactPatchAvg.data()) {}

  static std::size_t row(int k) { return static_cast<std::size_t>(kClamp ? clampRow(k) : k); }

  std::int32_t frame(int k, int field) const { return frames_[row(k)].f[field]; }
  float telemetry(int k, int field) const { return telemetry_[row(k)].f[field]; }
  std::int32_t distance(int k) const { return frame(k, FrameRecord::kDistance); }
  float contactPatch(int k, int i) const { return contactPatch_[row(k)].f[i]; }
  float wear(int k, int wheel) const { return extra_[row(k)].f[wheel]; }
  float chord(int k) const { return chord_[row(k)]; }
  float heading(int k) const { return heading_[row(k)]; }
  float tyreTempAvg(int k, int wheel) const { return tyreTempAvg_[row(k)].w[wheel]; }
  float contactPatchAvg(int k, int wheel) const { return contactPatchAvg_[row(k)].w[wheel]; }

 private:
  const FrameRecord* frames_;
  const TelemetryRecord* telemetry_;
  const ContactPatchRecord* contactPatch_;
  const ExtraRecord* extra_;
  const float* chord_;
  const float* heading_;
  const WheelTemps* tyreTempAvg_;
  const WheelTemps* contactPatchAvg_;
};

using ClampedRows = StoreRows<true>;
using DirectRows = StoreRows<false>;

// The same reads from the columns of a redraw cycle's lap window (RedrawCache) for the frame
// and telemetry fields, straight from the stores for the rest (the window lies inside them).
class ColumnRows {
 public:
  ColumnRows(const ViewerStores& s, const RedrawCache::Window& w)
      : store_(s),
        frame_(w.frame),
        telemetry_(w.telemetry),
        start_(w.start),
        rows_(static_cast<std::size_t>(w.end - w.start)) {}

  std::int32_t frame(int k, int field) const { return frame_[at(k, field)]; }
  float telemetry(int k, int field) const { return telemetry_[at(k, field)]; }
  std::int32_t distance(int k) const { return frame(k, FrameRecord::kDistance); }
  float contactPatch(int k, int i) const { return store_.contactPatch(k, i); }
  float wear(int k, int wheel) const { return store_.wear(k, wheel); }
  float chord(int k) const { return store_.chord(k); }
  float heading(int k) const { return store_.heading(k); }
  float tyreTempAvg(int k, int wheel) const { return store_.tyreTempAvg(k, wheel); }
  float contactPatchAvg(int k, int wheel) const { return store_.contactPatchAvg(k, wheel); }

 private:
  std::size_t at(int k, int field) const {
    return static_cast<std::size_t>(field) * rows_ + static_cast<std::size_t>(k - start_);
  }

  DirectRows store_;
  const std::int32_t* frame_;
  const float* telemetry_;
  int start_;
  std::size_t rows_;
};

// Runs body(rows) for the samples from .. to - 1 with rows that read a redraw cycle's columns
// or the stores straight when every row a rule can reach from these samples is a row of the
// columns or of the stores, and through clampRow otherwise.
template <typename Body>
void withRows(const ViewerStores& s, int from, int to, Body&& body) {
  std::int64_t low = std::int64_t{from} - kRuleReach;
  std::int64_t high = std::int64_t{to} + kRuleReach;
  if (low < 0 || high > kSampleCapacity) {
    body(ClampedRows(s));
    return;
  }
  if (RedrawCache* cache = RedrawCache::active(s)) {
    if (const RedrawCache::Window* w =
            cache->windowHolding(static_cast<int>(low), static_cast<int>(high))) {
      body(ColumnRows(s, *w));
      return;
    }
  }
  body(DirectRows(s));
}

// Every point is drawn.
struct DrawEveryPoint {
  template <typename Rows>
  bool operator()(const Rows&, int) const {
    return true;
  }
};

// The lines of a curve to the samples from `from` on, before `end`, as every plot draws
// them: the curve ends at the first x beyond the plot's right edge; row(rows, k) is the row of
// sample k before its truncation toward zero (the double that rowOf truncates); a point
// keep(rows, k) refuses is left out and the pen stays. Rows are worked out in sample order up
// to the edge (a rule that carries a value from point to point sees the points in order),
// also for points that are then left out.
template <typename Row, typename Keep = DrawEveryPoint>
void addCurvePoints(PolylineBatch& curve, const GraphContext& c, const LapAxis& axis, int from,
                    int end, Row&& row, Keep&& keep = {}) {
  int buffer[kPointBlock];
  double unrounded[kPointBlock];
  int ys[kPointBlock];
  for (int k = from; k < end;) {
    int n = std::int64_t{end} - k < kPointBlock ? end - k : kPointBlock;
    int m;
    const int* xs = axis.block(k, n, buffer, m);
    withRows(c.stores, k, k + m, [&](const auto& rows) {
      for (int i = 0; i < m; ++i) unrounded[i] = row(rows, k + i);
      truncToInts(unrounded, m, ys);
      for (int i = 0; i < m; ++i)
        if (keep(rows, k + i)) curve.add({xs[i], ys[i]});
    });
    if (m < n) return;
    k += n;
  }
}

// The strokes of a row of bars over the samples from `from` on, before `end`, up to the
// first x beyond the plot's right edge: strokes(rows, k, x, bars) adds those of sample k.
template <typename Strokes>
void addBarStrokes(StrokeBatch& bars, const GraphContext& c, const LapAxis& axis, int from, int end,
                   Strokes&& strokes) {
  int buffer[kPointBlock];
  for (int k = from; k < end;) {
    int n = std::int64_t{end} - k < kPointBlock ? end - k : kPointBlock;
    int m;
    const int* xs = axis.block(k, n, buffer, m);
    withRows(c.stores, k, k + m, [&](const auto& rows) {
      for (int i = 0; i < m; ++i) strokes(rows, k + i, xs[i], bars);
    });
    if (m < n) return;
    k += n;
  }
}

// For rules that walk a lap point by point with state of their own: step(rows, k, x) for
// k = from, from + 1, ... before `end`, with x = axis.x(k); step returns how many samples to
// move on (a sample stepped over has no x worked out for it, as in a plain loop), 0 to stop.
template <typename Step>
void walkAxis(const GraphContext& c, const LapAxis& axis, int from, int end, Step&& step) {
  int buffer[kPointBlock];
  for (int k = from; k < end;) {
    const int blockStart = k;
    const int n = std::int64_t{end} - k < kPointBlock ? end - k : kPointBlock;
    const int blockEnd = blockStart + n;
    int visible;  // not used: a walk tests every x itself
    const int* xs = axis.block(blockStart, n, buffer, visible);
    bool stopped = false;
    withRows(c.stores, blockStart, blockEnd, [&](const auto& rows) {
      while (k < blockEnd) {
        int advance = step(rows, k, xs[k - blockStart]);
        if (advance == 0) {
          stopped = true;
          return;
        }
        k += advance;
      }
    });
    if (stopped) return;
  }
}

// The standard channel plot with the channel's value inlined:
// value(rows, k, lap) is v(k); keep(rows, k) says whether point k is drawn.
struct CurveStyle {
  double baseline;
  double scale;
  ColourSet colours = ColourSet::kPrimary;
  // A lap this refuses draws nothing.
  bool (*skipLap)(const GraphContext&, const LapRange& lap) = nullptr;
};

template <typename Value, typename Keep = DrawEveryPoint>
void plotCurveLap(GraphContext& c, const CurveStyle& style, int slot, Value&& value,
                  Keep&& keep = {}) {
  LapRange lap = lapInSlot(c, slot);
  if (style.skipLap != nullptr && style.skipLap(c, lap)) return;
  PenScope pen(c.canvas, lapColour(style.colours, slot));
  int k0 = firstPoint(c, lap.first, lap.end);
  if (k0 < 0) return;
  const LapAxis axis(c, slot);
  c.canvas.moveTo(axis.x(k0),
                  rowOf(style.baseline, style.scale, value(ClampedRows(c.stores), k0, lap)));
  PolylineBatch curve(c.canvas);
  addCurvePoints(
      curve, c, axis, multiLapMode(c) ? k0 : k0 + 1, lap.end,
      [&](const auto& rows, int k) {
        return unroundedRow(style.baseline, style.scale, value(rows, k, lap));
      },
      keep);
}

// Every chosen lap, in slot order.
template <typename Value, typename Keep = DrawEveryPoint>
void plotCurves(GraphContext& c, const CurveStyle& style, Value&& value, Keep&& keep = {}) {
  if (c.stores.selectedCount > 0) takeAxisSpan(c);
  for (int slot = 0; slot < c.stores.selectedCount; ++slot)
    plotCurveLap(c, style, slot, value, keep);
}

}  // namespace lv
