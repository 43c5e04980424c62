// Channels drawn by the standard plot with their own value, baseline, scale and colours.
#include <cstdint>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/PlotKernel.h"

namespace lv {
namespace {

using Lap = LapRange;

// v(k) of the channels that plot one store field as it is.
template <int kField>
constexpr auto kTelemetryField = [](const auto& rows, int k, const Lap&) {
  return static_cast<double>(rows.telemetry(k, kField));
};
template <int kField>
constexpr auto kFrameField =
    [](const auto& rows, int k, const Lap&) { return static_cast<double>(rows.frame(k, kField)); };

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

void plotSpeed(GraphContext& c) {
  // Repeated telemetry over several frames is drawn as one straight segment.
  plotCurves(
      c, {824, 2.22, ColourSet::kSecondary}, kTelemetryField<7>,
      [](const auto& rows, int k) { return !(rows.telemetry(k, 7) == rows.telemetry(k - 1, 7)); });
}

void plotThrottle(GraphContext& c) {
  plotCurves(c, {632, 120}, kTelemetryField<4>);
}

void plotBrake(GraphContext& c) {
  plotCurves(c, {754, 120}, kTelemetryField<5>);
}

void plotSteering(GraphContext& c) {
  drawZeroLine(c, 0, 74, 1817, 74);
  plotCurves(c, {74, 1}, kFrameField<3>);
}

void plotGear(GraphContext& c) {
  plotCurves(c, {507, 5}, kFrameField<2>);
}

void plotClutch(GraphContext& c) {
  plotCurves(c, {313, -0.00006}, kFrameField<20>);
}

void plotReplayRpm(GraphContext& c) {
  const double maxRpm = c.stores.maxRpm;
  plotCurves(c, {514, 1, ColourSet::kPrimary, noRpmScale},
             [maxRpm](const auto& rows, int k, const Lap&) {
               std::int64_t raw = rows.frame(k, FrameRecord::kReplayRpm);
               return static_cast<double>(raw * raw) * 0.012 * 364.0 / maxRpm;
             });
}

void plotReplaySpeed(GraphContext& c) {
  plotCurves(c, {824, 1}, [&c](const auto& rows, int k, const Lap& lap) {
    double step = rows.distance(k) - static_cast<double>(rows.distance(k - 1));
    return step * c.stores.lapFps[static_cast<std::size_t>(lap.lap)] * 3.6 * 0.00111;
  });
}

void plotTorque(GraphContext& c) {
  plotCurves(c, {119, 0.25, ColourSet::kSecondary}, kTelemetryField<8>);
}

void plotPower(GraphContext& c) {
  plotCurves(c, {119, 0.27, ColourSet::kPrimary, firstLapStandsStill},
             [](const auto& rows, int k, const Lap&) {
               return static_cast<double>(rows.telemetry(k, 8)) *
                      static_cast<double>(rows.telemetry(k, 6)) / 9551.0;
             });
}

void plotVertForce(GraphContext& c) {
  plotCurves(c, {424, 300}, kTelemetryField<9>);
}

void plotLongForce(GraphContext& c) {
  plotCurves(c, {500, -3000}, kTelemetryField<11>);
}

void plotLatForce(GraphContext& c) {
  drawZeroLine(c, 0, 424, 1817, 419);
  plotCurves(c, {424, 60}, kTelemetryField<10>);
}

void plotTotalAcceleration(GraphContext& c) {
  plotCurves(
      c, {614, 0.05, ColourSet::kPrimary, lapInactive}, [](const auto& rows, int k, const Lap&) {
        std::int64_t lateral = truncToIntBranchless(1000.0 * rows.telemetry(k, 10));
        std::int64_t longitudinal = truncToIntBranchless(50000.0 * (rows.telemetry(k, 11) - 0.064));
        return static_cast<double>((lateral < 0 ? -lateral : lateral) +
                                   (longitudinal < 0 ? -longitudinal : longitudinal));
      });
}

void plotLine(GraphContext& c) {
  {
    // A dashed zero line: 18 dashes of 50 pixels.
    PenScope pen(c.canvas, kZeroLineColour);
    for (int j = 0; j < 18; ++j) {
      c.canvas.moveTo(100 * j, 864);
      c.canvas.lineTo(100 * j + 50, 864);
    }
  }
  plotCurves(c, {864, 0.075}, kFrameField<4>);
}

void plotSqueal(GraphContext& c) {
  plotCurves(c, {874, 2, ColourSet::kPrimary, lapInactive}, kFrameField<10>);
}

void plotRoll(GraphContext& c) {
  drawZeroLine(c, 0, 210, 1817, 210);
  plotCurves(c, {930, -1.5}, kFrameField<9>);
}

void plotPitch(GraphContext& c) {
  drawZeroLine(c, 0, 360, 1817, 360);
  plotCurves(c, {360, -1}, kFrameField<8>);
}

void plotHeight(GraphContext& c) {
  drawZeroLine(c, 0, 624, 1817, 624);
  plotCurves(c, {879, 0.7}, kFrameField<5>);
}

// (a + b) - (c + d) of four suspension values: in 64 bits, as a file may hold any value there.
double pairDifference(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  return static_cast<double>((a + b) - (c + d));
}

void plotSuspensionRearFront(GraphContext& c) {
  plotCurves(c, {589, 1, ColourSet::kPrimary, noSuspension},
             [](const auto& rows, int k, const Lap&) {
               return pairDifference(rows.frame(k, 14), rows.frame(k, 15), rows.frame(k, 12),
                                     rows.frame(k, 13));
             });
}

void plotSuspensionLeftRight(GraphContext& c) {
  plotCurves(c, {704, 1, ColourSet::kPrimary, noSuspension},
             [](const auto& rows, int k, const Lap&) {
               return pairDifference(rows.frame(k, 13), rows.frame(k, 15), rows.frame(k, 12),
                                     rows.frame(k, 14));
             });
}

// Four curves per lap, one per wheel: the outer loop runs over the wheels.
void plotSuspension(GraphContext& c) {
  plotCurves(c, {874, 2, ColourSet::kPrimary, noSuspension}, kFrameField<12>);
  plotCurves(c, {874, 2, ColourSet::kPrimary, noSuspension}, kFrameField<13>);
  plotCurves(c, {994, 2, ColourSet::kPrimary, noSuspension}, kFrameField<14>);
  plotCurves(c, {994, 2, ColourSet::kPrimary, noSuspension}, kFrameField<15>);
}

}  // namespace

void registerStandardChannels(ChannelCommands& commands) {
  commands.set(ChannelId::kSpeed, &plotSpeed);
  commands.set(ChannelId::kThrottle, &plotThrottle);
  commands.set(ChannelId::kBrake, &plotBrake);
  commands.set(ChannelId::kSteering, &plotSteering);
  commands.set(ChannelId::kGear, &plotGear);
  commands.set(ChannelId::kClutch, &plotClutch);
  commands.set(ChannelId::kReplayRpm, &plotReplayRpm);
  commands.set(ChannelId::kReplaySpeed, &plotReplaySpeed);
  commands.set(ChannelId::kTorque, &plotTorque);
  commands.set(ChannelId::kPower, &plotPower);
  commands.set(ChannelId::kVertForce, &plotVertForce);
  commands.set(ChannelId::kLongForce, &plotLongForce);
  commands.set(ChannelId::kLatForce, &plotLatForce);
  commands.set(ChannelId::kTotalAcceleration, &plotTotalAcceleration);
  commands.set(ChannelId::kLine, &plotLine);
  commands.set(ChannelId::kSqueal, &plotSqueal);
  commands.set(ChannelId::kRoll, &plotRoll);
  commands.set(ChannelId::kPitch, &plotPitch);
  commands.set(ChannelId::kHeight, &plotHeight);
  commands.set(ChannelId::kSuspensionRearFront, &plotSuspensionRearFront);
  commands.set(ChannelId::kSuspensionLeftRight, &plotSuspensionLeftRight);
  commands.set(ChannelId::kSuspension, &plotSuspension);
}

void registerGraphChannels(ChannelCommands& commands) {
  registerStandardChannels(commands);
  registerEngineChannels(commands);
  registerDynamicsChannels(commands);
  registerTimeDifference(commands);
}

}  // namespace lv
