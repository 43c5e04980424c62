// One redraw cycle with every channel of the redraw order shown and four laps of about 7200
// samples (60 fps, two-minute laps) chosen: into a canvas that discards everything (the
// points alone), into the recording canvas of lapvista-cli, and into the raster a window
// shows (the goal: 16 ms). And "t Differenz" alone for two such laps.
#include <benchmark/benchmark.h>

#include "platform/cairo/RasterCanvas.h"
#include "platform/headless/RecordingCanvas.h"
#include "tools/gplsim/Gplsim.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/TelemetryAttachment.h"
#include "viewer/overviews/OverviewChannels.h"
#include "viewer/shell/TrackMap.h"

namespace lv {
namespace {

class NullCanvas : public Canvas {
 public:
  void eraseAll() override {}
  void moveTo(int x, int y) override { benchmark::DoNotOptimize(x + y); }
  void lineTo(int x, int y) override { benchmark::DoNotOptimize(x + y); }
  void polylineTo(std::span<const CanvasPoint> points) override {
    benchmark::DoNotOptimize(points.data());
  }
  void columnStrokes(std::span<const ColumnStroke> strokes) override {
    benchmark::DoNotOptimize(strokes.data());
  }
  void rectangleOutline(int, int, int, int, Rgb) override {}
  void ellipse(int, int, int, int, Rgb) override {}
  void text(int, int, std::string_view) override {}

 protected:
  void penSelected(Rgb) override {}
};

class NullControls : public DialogControls {
 public:
  void showControl(int, bool) override {}
  void setCaption(int, std::string_view) override {}
  void setScrollBar(int, int, int, int) override {}
  void fieldsToControls(const DialogFields&) override {}
};

struct Drive {
  ViewerStores stores;
  CanvasState view;
  DialogFields fields;
  NullControls controls;
  ChannelCommands commands;

  Drive() {
    sim::SimOptions options;
    options.laps = 5;
    options.trackMiles = 3.05;  // two-minute laps
    sim::Drive drive = sim::generateDrive(options);
    ReplayReadResult replay = readReplay(drive.replay, stores);
    attachTelemetry(drive.telemetry, stores, 0, replay.end, replay.fps);
    deriveSampleValues(stores, 0, replay.end);
    LapList list;
    LapSource source{false,           replay.fps,      replay.playerName,
                     replay.carIndex, &replay.records, replay.raceStartFrame};
    cutLaps(stores, list, source, 0, replay.end);
    stores.sampleCount = replay.end;
    registerGraphChannels(commands);
    registerTyreChannels(commands);
    registerTrackMap(commands);
    for (int& counter : view.pressCounter) counter = 1;
  }

  void choose(int laps) {
    stores.selectedCount = laps;
    for (int i = 0; i < laps; ++i) stores.selectedLaps[static_cast<std::size_t>(i)] = 1 + i;
  }
};

Drive& drive() {
  static Drive* instance = new Drive();
  return *instance;
}

void redrawInto(benchmark::State& state, Canvas& canvas) {
  Drive& d = drive();
  d.choose(4);
  GraphContext c{d.stores, d.view, d.fields, d.controls, canvas};
  for (auto _ : state) redrawShown(c, d.commands);
  state.counters["lap samples"] = d.stores.lapSampleCount(1);
}

void redrawPointsOnly(benchmark::State& state) {
  NullCanvas canvas;
  redrawInto(state, canvas);
}

void redrawRecording(benchmark::State& state) {
  std::size_t bytes = 0;
  std::size_t events = 0;
  RecordingCanvas canvas([&](std::string_view event) {
    bytes += event.size();
    ++events;
  });
  redrawInto(state, canvas);
  state.counters["events per cycle"] =
      static_cast<double>(events) / static_cast<double>(state.iterations());
}

void redrawRaster(benchmark::State& state) {
  RasterCanvas canvas;
  redrawInto(state, canvas);
}

void timeDifferenceOnly(benchmark::State& state) {
  Drive& d = drive();
  d.choose(2);
  NullCanvas canvas;
  GraphContext c{d.stores, d.view, d.fields, d.controls, canvas};
  ChannelPlot plot = d.commands.get(ChannelId::kTimeDifference).plot;
  for (auto _ : state) plot(c);
}

BENCHMARK(redrawPointsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(redrawRecording)->Unit(benchmark::kMillisecond);
BENCHMARK(redrawRaster)->Unit(benchmark::kMillisecond);
BENCHMARK(timeDifferenceOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lv

BENCHMARK_MAIN();
