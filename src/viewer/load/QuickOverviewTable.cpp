#include "viewer/load/QuickOverviewTable.h"

#include <algorithm>
#include <string>
#include <vector>

#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr std::size_t kTextCapacity = 29999;

enum class Column { kPercent, kMinimumSpeed, kMaximumSpeed };

std::string statisticText(std::int32_t v, Column column) {
  std::string text = column == Column::kMaximumSpeed ? " " : "";
  if (v / 10 < 10) text += "  ";
  if (column != Column::kPercent && v / 10 < 100) text += "  ";
  text += std::to_string(v / 10) + "." + std::to_string(v % 10);
  text += column == Column::kPercent ? "%" : "km";
  return text + " ";
}

bool hasWearAt(const ViewerStores& stores, int sample) {
  return sample >= 0 && stores.extraTable[static_cast<std::size_t>(clampRow(sample))].f[0] > 0.9f;
}

StretchCounts lapCounts(const ViewerStores& stores, const SampleSweep* sweep, int first, int end) {
  if (sweep != nullptr) {
    if (const StretchCounts* counted = sweep->countsOf(first, end)) return *counted;
  }
  StretchCounts counts;
  if (first >= 0 && end <= kSampleCapacity) {
    const TelemetryRecord* rows = stores.telemetryTable.data();
    for (int s = first; s < end; ++s) counts.add(rows[s]);
  } else {
    for (int s = first; s < end; ++s)
      counts.add(stores.telemetryTable[static_cast<std::size_t>(clampRow(s))]);
  }
  return counts;
}

std::string lapStatistics(const ViewerStores& stores, const SampleSweep* sweep, int lap) {
  int first = stores.lapStart[static_cast<std::size_t>(lap)];
  int end = stores.lapStart[static_cast<std::size_t>(lap + 1)];
  std::int64_t n = std::max(1, end - first);
  auto [fullThrottle, onThrottle, onBrake, minimumSpeed, maximumSpeed] =
      lapCounts(stores, sweep, first, end);
  return statisticText(static_cast<std::int32_t>(fullThrottle * 1000 / n), Column::kPercent) +
         statisticText(static_cast<std::int32_t>(onThrottle * 1000 / n), Column::kPercent) +
         statisticText(static_cast<std::int32_t>(onBrake * 1000 / n), Column::kPercent) +
         statisticText(minimumSpeed, Column::kMinimumSpeed) +
         statisticText(maximumSpeed, Column::kMaximumSpeed);
}

std::string wearText(const ViewerStores& stores, int lastSample) {
  if (!hasWearAt(stores, lastSample)) return "";
  const ExtraRecord& extra = stores.extraTable[static_cast<std::size_t>(clampRow(lastSample))];
  std::string text;
  for (float wear : extra.f) {
    std::int32_t x = truncToInt((wear - 1.0) * 1000);
    if (x < 100) text += "  ";
    if (x < 10) text += "  ";
    text += std::to_string(x) + " ";
  }
  return text;
}

bool isShortRow(const ViewerStores& stores, const std::string& line, int lap) {
  auto at = [&line](std::size_t i) { return i < line.size() ? line[i] : '\0'; };
  std::size_t sectors = static_cast<std::size_t>(5 * lap);
  return at(5) == ' ' || at(4) == 't' || stores.lapSectorTimes[sectors + 2] < 1000 ||
         stores.lapSectorTimes[sectors + 3] < 1000;
}

std::string lapRow(const ViewerStores& stores, const SampleSweep* sweep, const std::string& line,
                   int lap) {
  if (isShortRow(stores, line, lap)) {
    if (line.size() > 4 && line[4] == 't') return "Start\n";
    return line.substr(0, line.empty() ? 0 : line.size() - 1) + "\n";
  }
  std::string row = line.size() > 1 && line[1] == ' ' ? " " : "";
  row += line.substr(0, 11) + " " + lapStatistics(stores, sweep, lap);
  row += wearText(stores, stores.lapStart[static_cast<std::size_t>(lap + 1)] - 1);
  row += "     ";
  row += (stores.lapCar[static_cast<std::size_t>(lap)] & 0x40) != 0 ? "-" : "+";
  return row + "\n";
}

std::vector<std::string> lapRows(const ViewerStores& stores, const SampleSweep* sweep,
                                 const LapList& lapList) {
  int laps = std::min(stores.lapCount, lapList.size());
  std::vector<std::string> rows;
  for (int lap = 0; lap < laps; ++lap)
    rows.push_back(lapRow(stores, sweep, lapList.lines()[static_cast<std::size_t>(lap)], lap));
  return rows;
}

}  // namespace

std::string quickOverviewText(const ViewerStores& stores, const LapList& lapList,
                              const SampleSweep* sweep) {
  std::string text = "laptime    thMAX   th>0    br>0    vMIN    vMAX  ";
  int lastSample = stores.lapStart[static_cast<std::size_t>(stores.lapCount)] - 1;
  text += hasWearAt(stores, lastSample) ? "   wear(fl_fr_rl_rr)    OT\n\n" : "    OnTrack\n\n";
  for (const std::string& row : lapRows(stores, sweep, lapList)) {
    if (text.size() + row.size() > kTextCapacity) break;
    text += row;
  }
  for (int lap = stores.lapCount; lap < 40; ++lap) text += "\n";
  return text;
}

}  // namespace lv
