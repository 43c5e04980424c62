#include "viewer/shell/ValueReadout.h"

#include <cstdlib>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/ReadoutSample.h"
#include "viewer/load/Truncate.h"
#include "viewer/overviews/TyreBoxes.h"
#include "viewer/shell/TrackMap.h"

namespace lv {
namespace {

constexpr Rgb kMapDotColour{110, 110, 120};

void wipeCursorAndShowHint(GraphContext& c) {
  {
    PenScope pen(c.canvas, kDialogBackground);
    c.canvas.moveTo(c.view.cursorX, 0);
    c.canvas.lineTo(c.view.cursorX, 1070);
  }
  static constexpr struct {
    int x, y;
    const char* text;
  } kHint[] = {
      {1830, 100, "To round     "}, {1830, 114, "related     "}, {1830, 128, "telemetry   "},
      {1830, 142, "choose a    "},  {1830, 156, "lap at list "}, {1830, 170, "box via     "},
      {1825, 184, "double-click"},  {1830, 198, "at left     "}, {1821, 212, "mouse button"}};
  for (const auto& line : kHint) c.canvas.text(line.x, line.y, line.text);
}

// With no lap chosen the whole run is spread over the plot, and the lap list follows.
int pickSampleOfRun(ShellContext& context) {
  ViewerState& state = context.state;
  int s = truncToInt(state.view.cursorX * static_cast<double>(state.stores.sampleCount) / 1817.0);
  int k = 0;
  while (k < kLapCapacity && !(s < state.stores.lapStart[static_cast<std::size_t>(k)])) ++k;
  state.lapList.select(k - 1);
  context.host.lapListSelect(state.lapList.selected());
  state.fields.lapListText = state.lapList.selectedText();
  return s;
}

float headingRate(const GraphContext& c, int s, int fps) {
  double a = frameAt(c, s + 8).f[FrameRecord::kYaw];
  double b = frameAt(c, s - 8).f[FrameRecord::kYaw];
  if (a + 2048 < b) a = frameAt(c, s + 8).f[FrameRecord::kYaw] + 4096;
  if (b + 2048 < a) b = frameAt(c, s - 8).f[FrameRecord::kYaw] + 4096;
  std::int64_t rate = std::llabs(static_cast<std::int64_t>(truncToInt((a - b) * fps / 36.0)));
  return static_cast<float>(rate * 360.0 / 4096.0 * 36.0 / 16.0);
}

// Oil and water from the oldest of the last 32 samples whose oil part is a real reading.
void engineTemperatures(const GraphContext& c, int s, DialogFields& fields) {
  for (int j = 0; j < 32; ++j) {
    std::int32_t word = frameAt(c, s - j).f[FrameRecord::kEngineTemps];
    int oil = word % 128;
    if (oil <= 15) continue;
    fields.oilTempValue = truncToInt(oil * 1.2);
    fields.waterTempValue = truncToInt((word / 128 % 256) * 1.2);
  }
}

float accelerationInG(const GraphContext& c, int s, int fps) {
  auto speed = [&c](int k) { return telemetryAt(c, k).f[TelemetryRecord::kSpeed]; };
  double factor = 36.0;
  int shift = 0;
  if (fps == 60) {
    if (speed(s) == speed(s - 1)) {
      factor = 30.0;
      shift = 1;
    } else {
      factor = speed(s - 1) == speed(s - 2) ? 30.0 : 60.0;
    }
  }
  return static_cast<float>((speed(s + shift) - speed(s + shift - 1)) / 3.6 * factor * 0.101979);
}

}  // namespace

void fillReadoutFields(GraphContext& c, int s) {
  const TelemetryRecord& t = telemetryAt(c, s);
  const FrameRecord& f = frameAt(c, s);
  const ExtraRecord& e = c.stores.extraTable[static_cast<std::size_t>(clampRow(s))];
  DialogFields& fields = c.fields;
  int fps = c.stores.lapFps[static_cast<std::size_t>(lapInSlot(c, c.stores.radioSlot).lap)];
  fields.speedValue = t.f[TelemetryRecord::kSpeed];
  fields.gearValue = f.f[FrameRecord::kGear];
  fields.rpmValue = truncToInt(t.f[TelemetryRecord::kRpm]);
  fields.torqueValue = truncToInt(t.f[TelemetryRecord::kTorque]);
  fields.throttleValue = truncToInt(t.f[TelemetryRecord::kThrottle] * 100.0);
  fields.brakeValue = truncToInt(t.f[TelemetryRecord::kBrake] * 100.0);
  bool patch = c.stores.selectedCount != 0 && c.stores.contactPatchMode % 2 != 0;
  fillTyreBoxes(c.stores, s, patch ? TyreBoxSource::kContactPatch : TyreBoxSource::kTread, fields);
  for (int w = 0; w < 4; ++w)
    fields.wearValue[static_cast<std::size_t>(w)] =
        e.f[w] > 0.9f ? truncToInt((e.f[w] - 1.0) * 1000.0) : 0;
  fields.headingRateValue = headingRate(c, s, fps);
  fields.powerValue =
      static_cast<float>(t.f[TelemetryRecord::kTorque] * t.f[TelemetryRecord::kRpm] / 9551.0);
  fields.distanceValue = static_cast<float>(f.f[FrameRecord::kDistance] / 2000.0);
  engineTemperatures(c, s, fields);
  fields.accelerationValue = accelerationInG(c, s, fps);
}

void valueReadout(ShellContext& context, int mouseX) {
  GraphContext c = context.graphs();
  bool lapsChosen = c.stores.selectedCount != 0;
  if (lapsChosen) {
    c.canvas.eraseAll();
  } else {
    wipeCursorAndShowHint(c);
  }
  c.view.cursorX = mouseX;
  c.view.readoutSample = lapsChosen ? readoutSampleAtCursor(c) : pickSampleOfRun(context);
  fillReadoutFields(c, c.view.readoutSample);
  c.controls.fieldsToControls(c.fields);
  drawCursorLine(c, 1070);
  if (lapsChosen) redrawShownChannels(c, context.channels);
  drawLapColourMarks(c, 1);
  if (lapsChosen && c.view.pressCounter[channelIndex(ChannelId::kMap)] != 0) {
    double x, y;
    mapPosition(c, c.view.readoutSample, x, y);
    c.canvas.ellipse(truncToInt(x - 2), truncToInt(y + 2), truncToInt(x + 2), truncToInt(y - 2),
                     kMapDotColour);
  }
}

}  // namespace lv
