// Channels drawn by the standard plot with their own value, baseline, scale and colours.
#include <optional>
#include <utility>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

struct ZeroLine {
  int x0, y0, x1, y1;
};

struct TableChannel {
  ChannelId id;
  PlotStyle style;
  std::optional<ZeroLine> zeroLine = std::nullopt;
  bool dashedZeroLine = false;
};

using Lap = LapRange;

double tel(const GraphContext& c, int k, int field) {
  return telemetryAt(c, k).f[field];
}
double frame(const GraphContext& c, int k, int field) {
  return frameAt(c, k).f[field];
}

bool lapInactive(const GraphContext& c, const Lap& lap) {
  return frameAt(c, lap.first).f[FrameRecord::kLapActive] == 0;
}
bool noSuspension(const GraphContext& c, const Lap& lap) {
  const FrameRecord& f = frameAt(c, lap.first);
  return f.f[12] == 0 && f.f[15] == 0;
}
bool noRpmScale(const GraphContext& c, const Lap&) {
  return c.stores.maxRpm == 0.0f;
}
// Power is drawn for every chosen lap or for none: not when the first chosen lap starts
// standing still.
bool firstLapStandsStill(const GraphContext& c, const Lap&) {
  int firstLap = c.stores.selectedLaps[0];
  if (firstLap < 0 || firstLap >= kLapCapacity) firstLap = 0;
  return telemetryAt(c, c.stores.lapStart[static_cast<std::size_t>(firstLap)])
             .f[TelemetryRecord::kSpeed] == 0.0f;
}

constexpr TableChannel kTable[] = {
    {ChannelId::kSpeed,
     {824, 2.22, ColourSet::kSecondary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 7); },
      // Repeated telemetry over several frames is drawn as one straight segment.
      [](const GraphContext& c, int k) {
        return telemetryAt(c, k).f[7] == telemetryAt(c, k - 1).f[7];
      }}},
    {ChannelId::kThrottle,
     {632, 120, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 4); }}},
    {ChannelId::kBrake,
     {754, 120, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 5); }}},
    {ChannelId::kSteering,
     {74, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 3); }},
     ZeroLine{0, 74, 1817, 74}},
    {ChannelId::kGear,
     {507, 5, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 2); }}},
    {ChannelId::kClutch,
     {313, -0.00006, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 20); }}},
    {ChannelId::kReplayRpm,
     {514, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        std::int64_t raw = frameAt(c, k).f[FrameRecord::kReplayRpm];
        return static_cast<double>(raw * raw) * 0.012 * 364.0 / c.stores.maxRpm;
      },
      nullptr, noRpmScale}},
    {ChannelId::kReplaySpeed,
     {824, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap& lap) {
        double step = distanceAt(c, k) - static_cast<double>(distanceAt(c, k - 1));
        return step * c.stores.lapFps[static_cast<std::size_t>(lap.lap)] * 3.6 * 0.00111;
      }}},
    {ChannelId::kTorque,
     {119, 0.25, ColourSet::kSecondary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 8); }}},
    {ChannelId::kPower,
     {119, 0.27, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 8) * tel(c, k, 6) / 9551.0; },
      nullptr, firstLapStandsStill}},
    {ChannelId::kVertForce,
     {424, 300, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 9); }}},
    {ChannelId::kLongForce,
     {500, -3000, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 11); }}},
    {ChannelId::kLatForce,
     {424, 60, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return tel(c, k, 10); }},
     ZeroLine{0, 424, 1817, 419}},
    {ChannelId::kTotalAcceleration,
     {614, 0.05, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        const TelemetryRecord& t = telemetryAt(c, k);
        std::int64_t lateral = truncToInt(1000.0 * t.f[10]);
        std::int64_t longitudinal = truncToInt(50000.0 * (t.f[11] - 0.064));
        return static_cast<double>((lateral < 0 ? -lateral : lateral) +
                                   (longitudinal < 0 ? -longitudinal : longitudinal));
      },
      nullptr, lapInactive}},
    {ChannelId::kLine,
     {864, 0.075, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 4); }},
     std::nullopt,
     true},
    {ChannelId::kSqueal,
     {874, 2, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 10); }, nullptr,
      lapInactive}},
    {ChannelId::kRoll,
     {930, -1.5, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 9); }},
     ZeroLine{0, 210, 1817, 210}},
    {ChannelId::kPitch,
     {360, -1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 8); }},
     ZeroLine{0, 360, 1817, 360}},
    {ChannelId::kHeight,
     {879, 0.7, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 5); }},
     ZeroLine{0, 624, 1817, 624}},
    {ChannelId::kSuspensionRearFront,
     {589, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        const FrameRecord& f = frameAt(c, k);
        return static_cast<double>((f.f[14] + f.f[15]) - (f.f[12] + f.f[13]));
      },
      nullptr, noSuspension}},
    {ChannelId::kSuspensionLeftRight,
     {704, 1, ColourSet::kPrimary, false,
      [](const GraphContext& c, int k, const Lap&) {
        const FrameRecord& f = frameAt(c, k);
        return static_cast<double>((f.f[13] + f.f[15]) - (f.f[12] + f.f[14]));
      },
      nullptr, noSuspension}},
};

void drawTableChannel(GraphContext& c, const TableChannel& channel) {
  if (channel.zeroLine) {
    const ZeroLine& z = *channel.zeroLine;
    drawZeroLine(c, z.x0, z.y0, z.x1, z.y1);
  }
  if (channel.dashedZeroLine) {
    PenScope pen(c.canvas, kZeroLineColour);
    for (int j = 0; j < 18; ++j) {
      c.canvas.moveTo(100 * j, static_cast<int>(channel.style.baseline));
      c.canvas.lineTo(100 * j + 50, static_cast<int>(channel.style.baseline));
    }
  }
  plotChannel(c, channel.style);
}

template <std::size_t I>
void plotTableChannel(GraphContext& c) {
  drawTableChannel(c, kTable[I]);
}

template <std::size_t... I>
void registerTable(ChannelCommands& commands, std::index_sequence<I...>) {
  (commands.set(kTable[I].id, &plotTableChannel<I>), ...);
}

// Four curves per lap, one per wheel: the outer loop runs over the wheels.
void plotSuspension(GraphContext& c) {
  static constexpr PlotStyle kWheels[] = {
      {874, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 12); }, nullptr,
       noSuspension},
      {874, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 13); }, nullptr,
       noSuspension},
      {994, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 14); }, nullptr,
       noSuspension},
      {994, 2, ColourSet::kPrimary, false,
       [](const GraphContext& c, int k, const Lap&) { return frame(c, k, 15); }, nullptr,
       noSuspension},
  };
  for (const PlotStyle& wheel : kWheels) plotChannel(c, wheel);
}

}  // namespace

void registerStandardChannels(ChannelCommands& commands) {
  registerTable(commands, std::make_index_sequence<std::size(kTable)>());
  commands.set(ChannelId::kSuspension, &plotSuspension);
}

void registerGraphChannels(ChannelCommands& commands) {
  registerStandardChannels(commands);
  registerEngineChannels(commands);
  registerDynamicsChannels(commands);
  registerTimeDifference(commands);
}

}  // namespace lv
