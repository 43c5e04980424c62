#include <cstdint>
#include <span>

#include "FuzzStores.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/SavedLapsFile.h"
#include "viewer/load/TrackLength.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lv::ViewerStores& stores = lv::fuzzStores(data, size);
  int s0 = stores.sampleCount;
  lv::peekSavedLaps(std::span(data, size), "monza");
  int end = lv::readSavedLaps(std::span(data, size), stores);
  lv::deriveSampleValues(stores, s0, end);
  lv::LapList list;
  lv::LapSource source;
  source.savedLaps = true;
  lv::cutLaps(stores, list, source, s0, end);
  lv::computeQuarterSplits(stores, 0);
  return 0;
}
