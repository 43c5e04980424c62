#include <cstdint>
#include <span>

#include "FuzzStores.h"
#include "viewer/load/LapImport.h"
#include "viewer/load/MultiplayerListing.h"
#include "viewer/load/ReplayTreeModel.h"

// "ld M" and the tree's double-click on any replay: the listing, then one import of a lap
// chosen by the input's second byte, with a delay from its third.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lv::ViewerStores& stores = lv::fuzzStores(data, size);
  std::span<const std::uint8_t> file(data, size);
  lv::MultiplayerListing listing = lv::readMultiplayerListing(file, stores, {});
  lv::ReplayTreeModel tree;
  tree.assign(listing.drivers);
  std::uint8_t choice = size > 1 ? data[1] : 0;
  lv::LapImportRequest request;
  request.driverId = listing.drivers.empty()
                         ? choice % 24
                         : listing.drivers[choice % listing.drivers.size()].recordId;
  request.kind = (choice >> 5) & 1;
  request.lapNumber = choice >> 6;
  request.pingFrames = size > 2 ? data[2] % 64 : 0;
  request.startClock = listing.startClock.clock;
  lv::importLap(file, stores, request);
  return 0;
}
