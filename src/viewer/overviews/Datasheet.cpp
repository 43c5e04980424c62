#include "viewer/overviews/Datasheet.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr std::size_t kTextCapacity = 29999;
constexpr const char* kCarNames[] = {"",      "Brabham", "BRM",   "Cooper",
                                     "Eagle", "Ferrari", "Lotus", "Honda"};

struct SlotRange {
  int lap = 0;
  int start = 0;
  int end = 0;
  bool found = false;
  int samples() const { return found ? end - start : 0; }
};

// The part of the lap in `slot` that the graphs show.
SlotRange visibleRange(const GraphContext& c, int slot) {
  LapRange lap = lapInSlot(c, slot);
  LapRange radio = lapInSlot(c, c.stores.radioSlot);
  bool multi = multiLapMode(c);
  auto position = [&](int k) -> std::int64_t { return multi ? distanceAt(c, k) : k - radio.first; };
  SlotRange range{lap.lap, 0, lap.end, false};
  for (int k = lap.first; k < lap.end; ++k) {
    if (position(k) > c.view.scrollOffset) {
      range.start = k;
      range.found = true;
      break;
    }
  }
  if (!range.found) return range;
  int radioSamples = radio.end - radio.first;
  for (int k = range.start; k < lap.end; ++k) {
    double p =
        multi ? (c.view.xSpan != 0.0f
                     ? (distanceAt(c, k) - static_cast<double>(c.view.scrollOffset)) / c.view.xSpan
                     : 0.0)
              : (radioSamples != 0
                     ? static_cast<double>(k - radio.first - c.view.scrollOffset) / radioSamples
                     : 0.0);
    if (truncToInt(p * 1817 * c.view.zoomFactor) > 1817) {
      range.end = k - 1;
      break;
    }
  }
  return range;
}

char at(const std::string& text, std::size_t i) {
  return i < text.size() ? text[i] : '\0';
}

bool lapIsValid(const GraphContext& c, int slot, const SlotRange& range) {
  const std::string& name = c.fields.lapNameText[static_cast<std::size_t>(slot)];
  std::size_t sectors = static_cast<std::size_t>(5 * range.lap);
  return !(at(name, 5) == ' ' || at(name, 4) == 't' ||
           c.stores.lapSectorTimes[sectors + 2] < 1000 ||
           c.stores.lapSectorTimes[sectors + 3] < 1000);
}

std::string carText(const GraphContext& c, int lap) {
  int car = c.stores.lapCar[static_cast<std::size_t>(lap)] & 0x1F;
  if (std::strncmp(c.stores.carSetName.data(), "CARS66", 7) == 0)
    return "MOD66(" + std::to_string(car) + ")";
  return car >= 1 && car <= 7 ? kCarNames[car] : "";
}

std::string lapLine(const GraphContext& c, int slot, const SlotRange& range, bool valid) {
  const std::string& name = c.fields.lapNameText[static_cast<std::size_t>(slot)];
  if (!valid) return at(name, 4) == 't' ? "Start" : "";
  std::string line = at(name, 1) == ' ' ? " " : "";
  line += name.empty() ? "" : name.substr(0, name.size() - 1);
  line += carText(c, range.lap) + "  ";
  const auto& driver = c.stores.lapDriver[static_cast<std::size_t>(range.lap)];
  line += static_cast<char>(std::toupper(static_cast<unsigned char>(driver[0])));
  line += static_cast<char>(std::toupper(static_cast<unsigned char>(driver[16])));
  return line + "  " + std::to_string(c.stores.lapFps[static_cast<std::size_t>(range.lap)]) + "fps";
}

std::string perMille(std::int64_t count, int samples) {
  std::int64_t v = count * 1000 / samples;
  std::string text;
  if (v / 10 < 100) text += "  ";
  if (v / 10 < 10) text += "  ";
  return text + std::to_string(v / 10) + "." + std::to_string(v % 10) + "  ";
}

std::string shares(const GraphContext& c, const SlotRange& range) {
  std::int64_t full = 0, on = 0, brake = 0;
  for (int k = range.start; k < range.end; ++k) {
    const TelemetryRecord& t = telemetryAt(c, k);
    if (t.f[TelemetryRecord::kThrottle] > 0.99) ++full;
    if (t.f[TelemetryRecord::kThrottle] >= 0.01) ++on;
    if (t.f[TelemetryRecord::kBrake] >= 0.01) ++brake;
  }
  std::string text = "    " + perMille(full, range.samples()) + perMille(on, range.samples()) +
                     perMille(brake, range.samples());
  text += "        ";
  const ExtraRecord& wear = c.stores.extraTable[static_cast<std::size_t>(clampRow(range.end - 1))];
  if (wear.f[0] > 0.9f) {
    for (float w : wear.f) {
      std::int32_t q = truncToInt((w - 1.0) * 1000);
      if (q < 100) text += "  ";
      if (q < 10) text += "  ";
      text += std::to_string(q) + "   ";
    }
  }
  return text;
}

enum class Figure { kMinimumSpeed, kMaximumSpeed, kMinimumRpm, kSqueal, kLine };

std::string figureText(std::int64_t a, Figure figure) {
  std::string text;
  if (figure == Figure::kMinimumRpm) {
    if (a / 10 < 1000) text += "  ";
    if (a / 10 < 10000) text += "  ";
  }
  if (a / 10 < 100) text += "  ";
  if (a / 10 < 10) text += "  ";
  text += std::to_string(a / 10);
  if (figure == Figure::kMaximumSpeed || figure == Figure::kSqueal) {
    text += '.';
    text += std::to_string(a % 10);
  }
  switch (figure) {
    case Figure::kMinimumSpeed:
    case Figure::kMaximumSpeed:
      text += "km";
      break;
    case Figure::kMinimumRpm:
      text += "U/min";
      break;
    case Figure::kSqueal:
      text += "    ";
      break;
    case Figure::kLine:
      text += "     ";
      break;
  }
  return text + "  ";
}

std::string figures(const GraphContext& c, const SlotRange& range) {
  std::int64_t minSpeed = 100000000, maxSpeed = 0, minRpm = 100000000, squeal = 0, line = 0;
  for (int k = range.start; k < range.end; ++k) {
    const TelemetryRecord& t = telemetryAt(c, k);
    std::int64_t speed = truncToInt(t.f[TelemetryRecord::kSpeed] * 10.0);
    std::int64_t rpm = truncToInt(t.f[TelemetryRecord::kRpm] * 10.0);
    minSpeed = std::min(minSpeed, speed);
    maxSpeed = std::max(maxSpeed, speed);
    minRpm = std::min(minRpm, rpm);
    squeal += frameAt(c, k).f[FrameRecord::kSqueal];
    line += std::llabs(frameAt(c, k).f[FrameRecord::kLaneOffset]);
  }
  int n = range.samples();
  std::string text =
      "    " + figureText(minSpeed, Figure::kMinimumSpeed) +
      figureText(maxSpeed, Figure::kMaximumSpeed) + figureText(minRpm, Figure::kMinimumRpm) +
      figureText(squeal * 100 / n, Figure::kSqueal) + figureText(line / n, Figure::kLine);
  return text + " " +
         ((c.stores.lapCar[static_cast<std::size_t>(range.lap)] & 64) != 0 ? "-" : "+");
}

// " 1" .. " 4".
std::string slotNumber(int slot) {
  return {' ', static_cast<char>('1' + slot)};
}

}  // namespace

Datasheet buildDatasheet(const GraphContext& c) {
  int slots = std::min(c.stores.selectedCount, 4);
  std::vector<SlotRange> ranges;
  std::vector<bool> valid;
  for (int slot = 0; slot < slots; ++slot) {
    ranges.push_back(visibleRange(c, slot));
    // A lap with nothing visible shows only its slot number.
    valid.push_back(ranges.back().samples() > 0 && lapIsValid(c, slot, ranges.back()));
  }
  Datasheet sheet;
  std::string& text = sheet.text;
  text = "laptime  driver  car  fps\n";
  for (int slot = 0; slot < slots; ++slot) {
    text += slotNumber(slot) + "       ";
    text += lapLine(c, slot, ranges[static_cast<std::size_t>(slot)],
                    valid[static_cast<std::size_t>(slot)]) +
            "\n";
  }
  text += "\n\n     hMAX    th>0    br>0            wear(fl_fr_rl_rr)\n";
  for (int slot = 0; slot < slots; ++slot) {
    text += slotNumber(slot);
    if (valid[static_cast<std::size_t>(slot)])
      text += shares(c, ranges[static_cast<std::size_t>(slot)]);
    text += "\n";
  }
  text += "\n\n         vMIN  vMAX           nMIN        squeel   line   OnTrack\n";
  for (int slot = 0; slot < slots; ++slot) {
    sheet.selectedLines.push_back(ranges[static_cast<std::size_t>(slot)].lap);
    text += slotNumber(slot);
    if (valid[static_cast<std::size_t>(slot)])
      text += figures(c, ranges[static_cast<std::size_t>(slot)]);
    text += "\n";
  }
  for (int j = c.stores.lapCount; j <= 4; ++j) text += "\n";
  if (text.size() > kTextCapacity) text.resize(kTextCapacity);
  return sheet;
}

}  // namespace lv
