#pragma once

#include <array>

#include "viewer/graphs/ChannelId.h"
#include "viewer/graphs/ScrollBar.h"

namespace lv {

inline constexpr float kReferenceBaseline = 724.0f;
inline constexpr float kPlotWidth = 1817.0f;

// The graph canvas's state: channel toggles and the x axis.
struct CanvasState {
  CanvasState() {
    for (const ChannelInfo& info : kRedrawOrder)
      pressCounter[channelIndex(info.id)] = info.initialPressCounter;
  }

  std::array<int, kChannelCount> pressCounter{};
  int zoomFactor = 1;
  int scrollOffset = 0;
  float xSpan = 0.0f;
  int cursorX = 0;
  // 1 while scrollOffset is still in distance units and must be converted when the next
  // first lap is chosen.
  int offsetInDistanceUnits = 0;
  // Frame-field index used by the replay channels; the load command resets it to 0.
  int frameFieldIndex = 0;
  // The sample count as a float, set at the end of each load.
  float sampleCountForGraphs = 0.0f;
  ScrollBar scrollBar;
  // The sample whose values the readout shows last.
  int readoutSample = 0;
  // Model units per pixel and the pixel offsets of the track map.
  float mapScale = 0.0f;
  float mapOffsetX = 0.0f;
  float mapOffsetY = 0.0f;

  bool shown(ChannelId id) const { return pressCounter[channelIndex(id)] % 2 != 0; }
};

}  // namespace lv
