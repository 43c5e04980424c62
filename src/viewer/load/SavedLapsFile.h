#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "telemetry/FileBytes.h"
#include "viewer/load/RowSupply.h"
#include "viewer/load/ViewerStores.h"

namespace lv {

// The byte image of a saved-laps (.tmr) file: with no lap chosen every lap and every sample,
// otherwise the chosen laps in choice order, each without its last sample. The contact-patch
// block is written (version 3) when the contact-patch display is on, else version 2.
std::vector<std::uint8_t> encodeSavedLaps(const ViewerStores& stores);

// Appends the laps and samples of a saved-laps file image to the stores (from lapCount and
// sampleCount on, without changing either) and returns the new end of samples. Samples
// beyond the store's capacity are dropped, and so are laps beyond the lap tables.
int readSavedLaps(std::span<const std::uint8_t> file, ViewerStores& stores);
// A saved-laps file in two steps: its laps are appended to the stores at once, its samples
// (stores rows first() .. end() - 1) when they are brought, a stretch at a time, from the
// file when there is one, else from its image. Large blocks of samples of a file are instead
// mapped into their tables at once, where the system allows: bringing them costs nothing.
class SavedLapsRows final : public RowSupply {
 public:
  SavedLapsRows(std::span<const std::uint8_t> image, const FileBytes* file, ViewerStores& stores);
  int first() const { return first_; }
  int end() const { return end_; }
  void bring(int from, int to) override;

 private:
  template <typename Record>
  bool mapBlock(FixedTable<Record>& table, std::size_t at) const;
  template <typename Record>
  void bringBlock(FixedTable<Record>& table, std::size_t at, int from, int to) const;

  std::span<const std::uint8_t> image_;
  const FileBytes* file_;
  ViewerStores& stores_;
  int first_ = 0, end_ = 0, version_ = 0;
  // Where each block of sample records starts in the file; a block is there for some
  // versions only.
  std::size_t telemetryAt_ = 0, patchesAt_ = 0, extraAt_ = 0, framesAt_ = 0;
  bool telemetryMapped_ = false, patchesMapped_ = false, extraMapped_ = false,
       framesMapped_ = false;
};

// One lap of a saved-laps file as the listing of saved laps shows it.
struct SavedLapEntry {
  std::int32_t time;
  std::uint8_t car;
  char initials[2];
  std::string carSetName;
};

// The laps of a saved-laps file when its track is `trackName`; none otherwise.
std::vector<SavedLapEntry> peekSavedLaps(std::span<const std::uint8_t> file, const char* trackName);

}  // namespace lv
