#include <cstdint>
#include <span>

#include "FuzzStores.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/ReplayReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lv::ViewerStores& stores = lv::fuzzStores(data, size);
  lv::ReplayReadResult result = lv::readReplay(std::span(data, size), stores);
  if (result.outcome != lv::ReplayOutcome::kRead) return 0;
  lv::deriveSampleValues(stores, stores.sampleCount, result.end);
  lv::LapList list;
  lv::LapSource source;
  source.fps = result.fps;
  source.records = &result.records;
  source.raceStartFrame = result.raceStartFrame;
  lv::cutLaps(stores, list, source, stores.sampleCount, result.end);
  return 0;
}
