#pragma once

// Stores filled by hand with small laps, a recording canvas and controls that remember what
// was set, for the tests of the graphs, overviews and shell.

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/RecordingCanvas.h"
#include "viewer/graphs/ChannelCommands.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/GraphContext.h"
#include "viewer/overviews/OverviewChannels.h"
#include "viewer/shell/TrackMap.h"

namespace lv::test {

class FakeControls : public DialogControls {
 public:
  void showControl(int id, bool shown) override {
    events.push_back((shown ? "show " : "hide ") + std::to_string(id));
  }
  void setCaption(int id, std::string_view caption) override {
    events.push_back("caption " + std::to_string(id) + " " + std::string(caption));
  }
  void setScrollBar(int minimum, int maximum, int page, int position) override {
    events.push_back("scrollbar " + std::to_string(minimum) + " " + std::to_string(maximum) + " " +
                     std::to_string(page) + " " + std::to_string(position));
  }
  void fieldsToControls(const DialogFields&) override { events.push_back("fields"); }
  std::vector<std::string> events;
};

struct GraphFixture {
  std::unique_ptr<ViewerStores> stores = std::make_unique<ViewerStores>();
  CanvasState view;
  DialogFields fields;
  FakeControls controls;
  RecordingCanvas canvas;
  ChannelCommands commands;

  GraphFixture() {
    registerGraphChannels(commands);
    registerTyreChannels(commands);
    registerTrackMap(commands);
  }

  GraphContext context() { return GraphContext{*stores, view, fields, controls, canvas}; }

  // Appends a lap of `samples` samples whose distance rises by `step` from `start`.
  int addLap(int samples, std::int32_t step = 1000, std::int32_t start = 500, int fps = 60) {
    int lap = stores->lapCount;
    int first = stores->lapStart[static_cast<std::size_t>(lap)];
    for (int i = 0; i < samples; ++i) {
      FrameRecord& f = stores->frameTable[static_cast<std::size_t>(first + i)];
      f.f[0] = start + step * i;
      f.f[11] = 1;
    }
    stores->lapStart[static_cast<std::size_t>(lap + 1)] = first + samples;
    stores->lapFps[static_cast<std::size_t>(lap)] = fps;
    stores->lapCount = lap + 1;
    stores->sampleCount = first + samples;
    stores->maxFrameDistance = std::max(stores->maxFrameDistance, start + step * (samples - 1));
    return lap;
  }

  void choose(std::initializer_list<int> laps) {
    stores->selectedCount = 0;
    for (int lap : laps)
      stores->selectedLaps[static_cast<std::size_t>(stores->selectedCount++)] = lap;
  }

  TelemetryRecord& tel(int s) { return stores->telemetryTable[static_cast<std::size_t>(s)]; }
  FrameRecord& frame(int s) { return stores->frameTable[static_cast<std::size_t>(s)]; }

  // The points of the curve drawn in `colour`: its move and the lines after it.
  std::vector<std::pair<int, int>> curve(const std::string& pen) const {
    std::vector<std::pair<int, int>> points;
    bool inPen = false;
    for (const std::string& e : canvas.events()) {
      if (e.rfind("pen ", 0) == 0) {
        inPen = e == "pen " + pen;
        continue;
      }
      if (!inPen) continue;
      int x = 0, y = 0;
      if (std::sscanf(e.c_str(), "move %d %d", &x, &y) == 2 ||
          std::sscanf(e.c_str(), "line %d %d", &x, &y) == 2)
        points.push_back({x, y});
    }
    return points;
  }
  int count(const std::string& event) const {
    int n = 0;
    for (const std::string& e : canvas.events()) n += e == event;
    return n;
  }
};

}  // namespace lv::test
