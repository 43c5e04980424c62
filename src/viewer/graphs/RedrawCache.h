#pragma once

#include <cstdint>
#include <memory>

#include "viewer/load/FixedTable.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

struct GraphContext;

// What every channel of one redraw cycle reads again and again, taken from the stores once
// per cycle: the frame and telemetry rows of the chosen laps as columns (one field of
// consecutive samples side by side, where the stores keep whole records of 104 and 96 bytes),
// and the x of every sample of each lap's axis. It holds copies only, made when first asked
// for: a rule reads through it exactly the values the stores hold, which no channel changes
// during a cycle. Outside a cycle nothing is cached.
class RedrawCache {
 public:
  static constexpr int kFrameFields = 26;
  static constexpr int kTelemetryFields = 24;
  // Four chosen laps and the radio slot's lap.
  static constexpr int kWindows = 5;
  // Rows of one lap window: a lap of up to 11 minutes at 60 frames per second with the rows
  // a rule reaches either side. Longer laps are read from the stores.
  static constexpr int kWindowRows = 40000;

  // Rows start .. end - 1 of the stores as columns: field f of row r is
  // frame[f * (end - start) + (r - start)]. The windows of a cycle lie one after the other,
  // so that only as much memory is touched as they hold.
  struct Window {
    int start = 0;
    int end = 0;
    bool built = false;
    std::int32_t* frame = nullptr;
    float* telemetry = nullptr;
  };

  RedrawCache();

  // Starts a cycle over the laps of the chosen slots and the radio slot.
  void begin(const GraphContext& c);
  void end() { stores_ = nullptr; }
  bool activeFor(const ViewerStores& s) const { return stores_ == &s; }

  // The window that holds rows from .. to - 1 (built now if it was not yet), or null.
  const Window* windowHolding(int from, int to);

  // The x of samples first .. first + count - 1 of an axis (LapAxis), worked out with `fill`
  // when first asked for, and for each sample how many from it on come before the first x
  // beyond the plot's right edge (where a curve from there ends); null when the axis is not
  // one of the cycle's.
  struct AxisKey {
    bool byDistance;
    int first;
    int count;
    int offset;
    float zoom;
    float span;
    friend bool operator==(const AxisKey&, const AxisKey&) = default;
  };
  struct Axis {
    AxisKey key{};
    int* xs = nullptr;
    int* visibleRun = nullptr;
  };
  template <typename Fill>
  const Axis* axis(const AxisKey& key, int rightEdge, Fill&& fill) {
    if (key.count <= 0 || key.count > kWindowRows) return nullptr;
    for (int i = 0; i < axisCount_; ++i)
      if (axes_[i].key == key) return &axes_[i];
    if (axisCount_ == kWindows) return nullptr;
    Axis& axis = axes_[axisCount_++];
    axis.key = key;
    axis.xs = axisColumns_.data() + axisUsed_;
    axis.visibleRun = axis.xs + key.count;
    axisUsed_ += 2 * static_cast<std::size_t>(key.count);
    fill(key.first, key.count, axis.xs);
    int run = 0;
    for (int i = key.count - 1; i >= 0; --i) {
      run = axis.xs[i] > rightEdge ? 0 : run + 1;
      axis.visibleRun[i] = run;
    }
    return &axis;
  }

  // The cache of the cycle running over these stores, or null.
  static RedrawCache* active(const ViewerStores& s);

 private:
  void build(Window& w);

  const ViewerStores* stores_ = nullptr;
  FixedTable<std::int32_t> frameColumns_;
  FixedTable<float> telemetryColumns_;
  FixedTable<int> axisColumns_;
  Window windows_[kWindows];
  int windowCount_ = 0;
  Axis axes_[kWindows];
  int axisCount_ = 0;
  std::size_t axisUsed_ = 0;
};

// The cache of one redraw cycle: active from construction to destruction, unless a cycle is
// running already (then that one's cache goes on).
class RedrawCacheScope {
 public:
  explicit RedrawCacheScope(const GraphContext& c);
  ~RedrawCacheScope();
  RedrawCacheScope(const RedrawCacheScope&) = delete;
  RedrawCacheScope& operator=(const RedrawCacheScope&) = delete;

 private:
  bool started_ = false;
};

}  // namespace lv
