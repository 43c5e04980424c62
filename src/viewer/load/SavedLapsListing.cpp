#include "viewer/load/SavedLapsListing.h"

#include <algorithm>
#include <numeric>

#include "viewer/load/LapTimeText.h"

namespace lv {
namespace {

constexpr std::size_t kTextCapacity = 9999;
constexpr const char* kCarNames[] = {"",      "Brabham", "BRM",   "Cooper",
                                     "Eagle", "Ferrari", "Lotus", "Honda"};

std::string carText(const SavedLapEntry& lap) {
  if (lap.carSetName == "cars67" || lap.carSetName == "CARS67") {
    int car = lap.car & 0x1F;
    return car >= 1 && car <= 7 ? std::string("  ") + kCarNames[car] : std::string();
  }
  return "  " + lap.carSetName;
}

std::string listingLine(const ListedSavedLap& entry) {
  std::string line = lapTimeText(entry.lap.time, 20) + "  ";
  // An empty name part has no initial to show.
  for (char initial : entry.lap.initials)
    if (initial != '\0') line += initial;
  return line + carText(entry.lap) + " - " + entry.fileName + "\n";
}

}  // namespace

std::string savedLapsListingText(const std::vector<ListedSavedLap>& laps) {
  std::vector<std::size_t> order(laps.size());
  std::iota(order.begin(), order.end(), 0);
  // Fastest first; equal times keep the order in which they were found.
  std::stable_sort(order.begin(), order.end(), [&laps](std::size_t a, std::size_t b) {
    return laps[a].lap.time < laps[b].lap.time;
  });
  std::string text;
  for (std::size_t index : order) {
    const ListedSavedLap& entry = laps[index];
    if (entry.lap.time <= 10000 || entry.lap.time >= 100000000) continue;
    std::string line = listingLine(entry);
    // A line that no longer fits the box ends the listing.
    if (text.size() + line.size() > kTextCapacity) break;
    text += line;
  }
  return text;
}

}  // namespace lv
