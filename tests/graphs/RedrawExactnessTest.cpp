// The fast channel plots against the plain per-point ones they replace (ReferenceChannels):
// every channel of the redraw order, drawn both ways over a synthetic drive, must make the
// very same drawing calls. The drive is chosen to reach every path of the fast plots: laps at
// both ends of the store (where rules read clamped rows), a lap too long for the redraw
// cycle's columns, both frame rates, zoom and scroll, contact patches on and off, and samples
// holding NaN, infinities and values beyond the int range.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "DriveLoading.h"
#include "GraphFixture.h"
#include "ReferenceChannels.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/PlotKernel.h"
#include "viewer/graphs/RedrawCache.h"
#include "viewer/overviews/OverviewChannels.h"
#include "viewer/shell/TrackMap.h"

namespace lv {
namespace {

// Every drawing call as numbers; curves and bars arrive as one lineTo per point (the
// canvas's plain polylineTo and columnStrokes), so two drawings compare call by call
// whatever blocks their batches sent.
class TraceCanvas : public Canvas {
 public:
  struct Call {
    char kind;
    int a, b, c, d;
    friend bool operator==(const Call&, const Call&) = default;
  };

  void eraseAll() override { calls.push_back({'E', 0, 0, 0, 0}); }
  void moveTo(int x, int y) override { calls.push_back({'M', x, y, 0, 0}); }
  void lineTo(int x, int y) override { calls.push_back({'L', x, y, 0, 0}); }
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override {
    calls.push_back({'R', x, y, width, height});
    calls.push_back({'r', colour.r, colour.g, colour.b, 0});
  }
  void ellipse(int left, int top, int right, int bottom, Rgb) override {
    calls.push_back({'O', left, top, right, bottom});
  }
  void text(int x, int y, std::string_view utf8) override {
    calls.push_back({'T', x, y, static_cast<int>(std::hash<std::string_view>{}(utf8)), 0});
  }

  std::vector<Call> calls;

 protected:
  void penSelected(Rgb colour) override { calls.push_back({'P', colour.r, colour.g, colour.b, 0}); }
};

using NoControls = test::FakeControls;

// Where the two drawings first part, for the failure message.
std::string firstDifference(const std::vector<TraceCanvas::Call>& fast,
                            const std::vector<TraceCanvas::Call>& plain) {
  std::size_t n = std::min(fast.size(), plain.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (fast[i] == plain[i]) continue;
    auto show = [](const TraceCanvas::Call& e) {
      return std::string(1, e.kind) + " " + std::to_string(e.a) + " " + std::to_string(e.b) + " " +
             std::to_string(e.c) + " " + std::to_string(e.d);
    };
    return "call " + std::to_string(i) + ": fast " + show(fast[i]) + ", plain " + show(plain[i]);
  }
  return "lengths " + std::to_string(fast.size()) + " and " + std::to_string(plain.size());
}

struct Drive {
  std::unique_ptr<ViewerStores> stores = std::make_unique<ViewerStores>();
  int realLaps = 0;
  int longLap = 0;      // starts at row 0, longer than a redraw cycle keeps as columns
  int lastRowsLap = 0;  // ends at the last row of the store

  Drive() {
    sim::SimOptions options;
    options.laps = 4;
    options.trackMiles = 1.2;
    options.seed = 5;
    sim::Drive drive = sim::generateDrive(options);
    ViewerStores& s = *stores;
    test::loadDrive(drive, s);
    realLaps = s.lapCount;
    // Laps 1 and 4 as if from a 36 frames per second replay.
    s.lapFps[1] = 36;
    s.lapFps[4] = 36;
    addEdgeLaps();
    addStrangeValues(3);
  }

  // A lap over the first rows, too long for the columns, and a copy of lap 2 at the end of
  // the store, so that its rules read past the last row.
  void addEdgeLaps() {
    ViewerStores& s = *stores;
    const int copied = s.lapSampleCount(2);
    const int copyStart = kSampleCapacity - copied;
    for (int i = 0; i < copied; ++i) {
      auto from = static_cast<std::size_t>(s.lapStart[2] + i);
      auto to = static_cast<std::size_t>(copyStart + i);
      s.frameTable[to] = s.frameTable[from];
      s.telemetryTable[to] = s.telemetryTable[from];
      s.contactPatchTable[to] = s.contactPatchTable[from];
      s.extraTable[to] = s.extraTable[from];
      s.trackDistanceStep[to] = s.trackDistanceStep[from];
      s.headingTable[to] = s.headingTable[from];
      s.tyreTempAvg[to] = s.tyreTempAvg[from];
      s.contactPatchAvg[to] = s.contactPatchAvg[from];
    }
    longLap = realLaps;
    lastRowsLap = realLaps + 2;
    s.lapStart[static_cast<std::size_t>(longLap)] = 0;
    s.lapStart[static_cast<std::size_t>(longLap + 1)] = RedrawCache::kWindowRows + 1000;
    s.lapStart[static_cast<std::size_t>(lastRowsLap)] = copyStart;
    s.lapStart[static_cast<std::size_t>(lastRowsLap + 1)] = kSampleCapacity;
    for (int lap : {longLap, longLap + 1, lastRowsLap})
      s.lapFps[static_cast<std::size_t>(lap)] = 60;
    s.lapCount = lastRowsLap + 1;
  }

  // Values no sane drive holds, in a few samples of a lap: every conversion must treat them
  // as the plain plots do.
  void addStrangeValues(int lap) {
    ViewerStores& s = *stores;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const std::int32_t low = std::numeric_limits<std::int32_t>::min();
    const std::int32_t high = std::numeric_limits<std::int32_t>::max();
    std::mt19937 random(3);
    const int first = s.lapStart[static_cast<std::size_t>(lap)];
    const int count = s.lapSampleCount(lap);
    const float floats[] = {nan, inf, -inf, 3e38f, -3e38f, 1e10f, -1e10f, 0.0f};
    // Headings are truncated to ints and then compared with 180 added: within the int range.
    const float headings[] = {nan, 1e8f, -1e8f, 359.75f, -0.0f, 1e-30f};
    const std::int32_t ints[] = {low, high, low + 1, high - 1, -5, 0};
    // The suspension and wheel-turn fields (12 to 19) are added and subtracted as ints by the
    // rules, where values near the int range would overflow: large ones only.
    const std::int32_t summed[] = {1 << 28, -(1 << 28), -5, 0};
    for (int n = 0; n < 60; ++n) {
      auto k = static_cast<std::size_t>(first + static_cast<int>(random() % count));
      TelemetryRecord& t = s.telemetryTable[k];
      FrameRecord& f = s.frameTable[k];
      t.f[random() % 24] = floats[random() % std::size(floats)];
      t.f[random() % 24] = floats[random() % std::size(floats)];
      const std::size_t field = 2 + random() % 24;
      f.f[field] = field >= 12 && field <= 19 ? summed[random() % std::size(summed)]
                                              : ints[random() % std::size(ints)];
      s.headingTable[k] = headings[random() % std::size(headings)];
      s.trackDistanceStep[k] = floats[random() % std::size(floats)];
      s.extraTable[k].f[random() % 4] = floats[random() % std::size(floats)];
      s.tyreTempAvg[k].w[random() % 4] = floats[random() % std::size(floats)];
      s.contactPatchAvg[k].w[random() % 4] = floats[random() % std::size(floats)];
      s.contactPatchTable[k].f[random() % 12] = floats[random() % std::size(floats)];
    }
  }
};

Drive& drive() {
  static Drive* instance = new Drive();
  return *instance;
}

struct View {
  std::vector<int> laps;
  int zoom = 1;
  int offset = 0;
  int radioSlot = 0;
  int contactPatchMode = 0;
  std::string name;
};

class BothWays {
 public:
  BothWays() {
    registerGraphChannels(fast_);
    registerTyreChannels(fast_);
    registerTrackMap(fast_);
    reference::registerReferenceChannels(plain_);
  }

  void set(const View& v) {
    ViewerStores& s = *drive().stores;
    s.selectedCount = static_cast<int>(v.laps.size());
    for (std::size_t i = 0; i < v.laps.size(); ++i) s.selectedLaps[i] = v.laps[i];
    s.radioSlot = v.radioSlot;
    s.contactPatchMode = v.contactPatchMode;
    s.maxRpm = 9000.0f;
    view_.zoomFactor = v.zoom;
    view_.scrollOffset = v.offset;
    view_.cursorX = 300;
  }

  // The drawing calls of `draw` with the fast and with the plain channels, and the press
  // counters after each.
  template <typename Draw>
  void compare(const std::string& what, Draw&& draw) {
    std::vector<int> counters = {view_.pressCounter.begin(), view_.pressCounter.end()};
    TraceCanvas fastCanvas, plainCanvas;
    run(fastCanvas, fast_, draw);
    std::vector<int> fastCounters = {view_.pressCounter.begin(), view_.pressCounter.end()};
    std::copy(counters.begin(), counters.end(), view_.pressCounter.begin());
    run(plainCanvas, plain_, draw);
    std::vector<int> plainCounters = {view_.pressCounter.begin(), view_.pressCounter.end()};
    EXPECT_TRUE(fastCanvas.calls == plainCanvas.calls)
        << what << ": " << firstDifference(fastCanvas.calls, plainCanvas.calls);
    EXPECT_EQ(fastCounters, plainCounters) << what;
  }

  CanvasState& view() { return view_; }

 private:
  template <typename Draw>
  void run(TraceCanvas& canvas, const ChannelCommands& commands, Draw& draw) {
    GraphContext c{*drive().stores, view_, fields_, controls_, canvas};
    view_.mapScale = 20.0f;
    view_.mapOffsetX = 100.0f;
    view_.mapOffsetY = 600.0f;
    draw(c, commands);
  }

  CanvasState view_;
  DialogFields fields_;
  NoControls controls_;
  ChannelCommands fast_;
  ChannelCommands plain_;
};

std::vector<View> views() {
  const Drive& d = drive();
  return {
      {{1}, 1, 0, 0, 1, "one lap"},
      {{0}, 1, 0, 0, 0, "the first lap, from the store's first row"},
      {{2}, 3, 1500, 0, 1, "one lap zoomed and scrolled"},
      {{3}, 1, 5000, 2, 0, "one lap scrolled past its end, radio slot not chosen"},
      {{1, 2}, 1, 0, 1, 0, "two laps"},
      {{0, 3, 4, d.realLaps - 1}, 2, 200000, 3, 1, "four laps zoomed and scrolled"},
      {{d.lastRowsLap, 1}, 1, 0, 0, 0, "a lap ending at the store's last row"},
      {{d.lastRowsLap}, 2, 300, 0, 1, "one lap ending at the store's last row"},
      {{d.longLap, 2}, 4, 0, 0, 0, "a lap longer than the cycle's columns"},
      {{3, 3, 2, 1}, 1, 0, 0, 1, "one lap chosen twice"},
  };
}

TEST(RedrawExactness, EveryChannelDrawsAsThePlainPlotInTheRedrawCycle) {
  BothWays both;
  for (const View& v : views()) {
    both.set(v);
    both.view().pressCounter.fill(1);
    std::size_t calls = 0;
    both.compare("redraw, " + v.name, [&calls](GraphContext& c, const ChannelCommands& commands) {
      redrawShown(c, commands);
      calls = dynamic_cast<TraceCanvas&>(c.canvas).calls.size();
    });
    EXPECT_GT(calls, 10000u) << v.name;
  }
}

TEST(RedrawExactness, EachChannelShownAloneDrawsAsThePlainPlot) {
  BothWays both;
  for (const View& v : {views()[0], views()[5], views()[6]}) {
    both.set(v);
    for (const ChannelInfo& info : kRedrawOrder) {
      both.view().pressCounter.fill(0);
      both.compare("show " + std::string(info.caption) + ", " + v.name,
                   [&info](GraphContext& c, const ChannelCommands& commands) {
                     pressChannel(c, commands, info.id);
                   });
    }
  }
}

TEST(RedrawExactness, BranchlessConversionsTruncateAsTruncToInt) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values = {0.0,           -0.0,         0.5,           -0.5,
                                1.9999,        -1.9999,      2147483646.5,  2147483647.0,
                                2147483647.5,  2147483648.0, -2147483648.0, -2147483648.5,
                                -2147483649.0, 1e300,        -1e300,        inf,
                                -inf,          nan,          -nan,          4.9e-324};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> around(-3e9, 3e9);
  for (int i = 0; i < 20000; ++i) values.push_back(around(random));
  std::vector<int> bulk(values.size());
  truncToInts(values.data(), static_cast<int>(values.size()), bulk.data());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double v = values[i];
    EXPECT_EQ(truncToIntBranchless(v), truncToInt(v)) << v;
    EXPECT_EQ(bulk[i], truncToInt(v)) << v;
    const float f = static_cast<float>(v);
    EXPECT_EQ(truncFloatToInt(f), truncToInt(static_cast<double>(f))) << f;
  }
}

}  // namespace
}  // namespace lv
