#include "viewer/graphs/RedrawCache.h"

#include <cstddef>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/PlotKernel.h"

namespace lv {
namespace {

RedrawCache* activeCache = nullptr;

RedrawCache& theCache() {
  static RedrawCache cache;
  return cache;
}

}  // namespace

static_assert(RedrawCache::kFrameFields == std::size(FrameRecord{}.f));
static_assert(RedrawCache::kTelemetryFields == std::size(TelemetryRecord{}.f));

RedrawCache::RedrawCache()
    : frameColumns_(static_cast<std::size_t>(kWindows) * kFrameFields * kWindowRows),
      telemetryColumns_(static_cast<std::size_t>(kWindows) * kTelemetryFields * kWindowRows),
      axisColumns_(static_cast<std::size_t>(2 * kWindows) * kWindowRows) {}

void RedrawCache::begin(const GraphContext& c) {
  stores_ = &c.stores;
  windowCount_ = 0;
  axisCount_ = 0;
  axisUsed_ = 0;
  std::size_t rowsUsed = 0;
  int slots[kWindows];
  int slotCount = 0;
  for (int slot = 0; slot < c.stores.selectedCount && slot < kChosenCapacity; ++slot)
    slots[slotCount++] = slot;
  if (c.stores.radioSlot >= 0 && c.stores.radioSlot < kChosenCapacity)
    slots[slotCount++] = c.stores.radioSlot;
  for (int i = 0; i < slotCount; ++i) {
    LapRange lap = lapInSlot(c, slots[i]);
    if (lap.end <= lap.first) continue;
    std::int64_t start = std::int64_t{lap.first} - kRuleReach;
    std::int64_t end = std::int64_t{lap.end} + kRuleReach;
    if (start < 0) start = 0;
    if (end > kSampleCapacity) end = kSampleCapacity;
    if (end <= start || end - start > kWindowRows) continue;
    bool known = false;
    for (int w = 0; w < windowCount_; ++w)
      known = known || (windows_[w].start == start && windows_[w].end == end);
    if (known) continue;
    Window& w = windows_[windowCount_++];
    w.start = static_cast<int>(start);
    w.end = static_cast<int>(end);
    w.built = false;
    w.frame = frameColumns_.data() + rowsUsed * kFrameFields;
    w.telemetry = telemetryColumns_.data() + rowsUsed * kTelemetryFields;
    rowsUsed += static_cast<std::size_t>(end - start);
  }
}

const RedrawCache::Window* RedrawCache::windowHolding(int from, int to) {
  for (int i = 0; i < windowCount_; ++i) {
    Window& w = windows_[i];
    if (from >= w.start && to <= w.end) {
      if (!w.built) build(w);
      return &w;
    }
  }
  return nullptr;
}

namespace {

// Rows of 32-bit fields as columns of `count` values each. Where the processor allows, four
// rows by four fields at a time, moved as bits (floats included) and written a vector per
// column; the last group of fields overlaps the one before when the count is not a multiple
// of four.
template <int kFields, typename Record, typename Field>
void transpose(const Record* rows, int count, Field* columns) {
  static_assert(sizeof(Field) == 4 && sizeof(Record) == kFields * sizeof(Field) && kFields >= 4);
  Field* column[kFields];
  for (int field = 0; field < kFields; ++field)
    column[field] = columns + static_cast<std::size_t>(field) * static_cast<std::size_t>(count);
  int i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= count; i += 4) {
    for (int group = 0; group < kFields; group += 4) {
      const int f = group + 4 <= kFields ? group : kFields - 4;
      auto load = [&](int r) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(&rows[i + r].f[f]));
      };
      __m128i r0 = load(0), r1 = load(1), r2 = load(2), r3 = load(3);
      __m128i low01 = _mm_unpacklo_epi32(r0, r1), low23 = _mm_unpacklo_epi32(r2, r3);
      __m128i high01 = _mm_unpackhi_epi32(r0, r1), high23 = _mm_unpackhi_epi32(r2, r3);
      auto store = [&](int field, __m128i values) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(column[field] + i), values);
      };
      store(f, _mm_unpacklo_epi64(low01, low23));
      store(f + 1, _mm_unpackhi_epi64(low01, low23));
      store(f + 2, _mm_unpacklo_epi64(high01, high23));
      store(f + 3, _mm_unpackhi_epi64(high01, high23));
    }
  }
#endif
  for (; i < count; ++i)
    for (int field = 0; field < kFields; ++field) column[field][i] = rows[i].f[field];
}

}  // namespace

void RedrawCache::build(Window& w) {
  const int rows = w.end - w.start;
  transpose<kFrameFields>(stores_->frameTable.data() + w.start, rows, w.frame);
  transpose<kTelemetryFields>(stores_->telemetryTable.data() + w.start, rows, w.telemetry);
  w.built = true;
}

RedrawCache* RedrawCache::active(const ViewerStores& s) {
  return activeCache != nullptr && activeCache->activeFor(s) ? activeCache : nullptr;
}

RedrawCacheScope::RedrawCacheScope(const GraphContext& c) {
  if (activeCache != nullptr) return;
  RedrawCache& cache = theCache();
  cache.begin(c);
  activeCache = &cache;
  started_ = true;
}

RedrawCacheScope::~RedrawCacheScope() {
  if (!started_) return;
  activeCache->end();
  activeCache = nullptr;
}

}  // namespace lv
