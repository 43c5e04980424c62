#include "viewer/load/SavedLapsFile.h"

#include <algorithm>
#include <cstring>

#include "telemetry/ByteReader.h"
#include "telemetry/ByteWriter.h"

namespace lv {
namespace {

struct SampleRange {
  int first;
  int count;
};

std::vector<int> lapsToSave(const ViewerStores& stores) {
  std::vector<int> laps;
  if (stores.selectedCount == 0) {
    for (int k = 0; k < stores.lapCount; ++k) laps.push_back(k);
  } else {
    for (int i = 0; i < stores.selectedCount; ++i)
      laps.push_back(stores.selectedLaps[static_cast<std::size_t>(i)]);
  }
  return laps;
}

std::vector<SampleRange> rangesToSave(const ViewerStores& stores, const std::vector<int>& laps) {
  if (stores.selectedCount == 0) return {{0, stores.sampleCount}};
  std::vector<SampleRange> ranges;
  for (int k : laps) {
    int count = std::max(0, stores.lapSampleCount(k) - 1);
    ranges.push_back({stores.lapStart[static_cast<std::size_t>(k)], count});
  }
  return ranges;
}

template <typename Record>
void writeBlock(ByteWriter& out, const FixedTable<Record>& table,
                const std::vector<SampleRange>& ranges) {
  for (const SampleRange& range : ranges) {
    if (range.count > 0)
      out.bytes(&table[static_cast<std::size_t>(range.first)],
                sizeof(Record) * static_cast<std::size_t>(range.count));
  }
}

}  // namespace

std::vector<std::uint8_t> encodeSavedLaps(const ViewerStores& stores) {
  std::vector<int> laps = lapsToSave(stores);
  std::vector<SampleRange> ranges = rangesToSave(stores, laps);
  bool withContactPatch = stores.contactPatchMode % 2 != 0;

  ByteWriter out;
  out.bytes(stores.carSetName.data(), 6);
  out.bytes(stores.trackName.data(), 8);
  out.u16(static_cast<std::uint32_t>(laps.size()));
  for (int k : laps) {
    out.u24(static_cast<std::uint32_t>(stores.lapTime[static_cast<std::size_t>(k)]));
    out.u8(static_cast<std::uint32_t>(stores.lapCar[static_cast<std::size_t>(k)]));
  }
  for (int k : laps) {
    out.bytes(stores.lapDriver[static_cast<std::size_t>(k)].data(), 31);
    out.u8(static_cast<std::uint32_t>(stores.lapFps[static_cast<std::size_t>(k)]));
  }
  std::uint32_t samples = 0;
  for (const SampleRange& range : ranges) samples += static_cast<std::uint32_t>(range.count);
  std::uint32_t version = withContactPatch ? 3 : 2;
  out.u32((samples & 0xFFFFFF) | (version << 24));
  writeBlock(out, stores.telemetryTable, ranges);
  if (withContactPatch) writeBlock(out, stores.contactPatchTable, ranges);
  writeBlock(out, stores.extraTable, ranges);
  writeBlock(out, stores.frameTable, ranges);
  return std::move(out.data());
}

SavedLapsRows::SavedLapsRows(std::span<const std::uint8_t> image, const FileBytes* file,
                             ViewerStores& stores)
    : image_(image), file_(file), stores_(stores) {
  ByteReader in(image);
  in.readBytes(stores.carSetName.data(), 6);
  in.readBytes(stores.trackName.data(), 8);
  int laps = in.u16();
  int l0 = stores.lapCount;
  // Laps beyond the lap tables are passed over in one step each.
  int kept = std::clamp(kLapCapacity - l0, 0, laps);
  for (int j = 0; j < kept; ++j) {
    stores.lapTime[static_cast<std::size_t>(l0 + j)] = static_cast<std::int32_t>(in.u24());
    stores.lapCar[static_cast<std::size_t>(l0 + j)] = in.u8();
  }
  in.skip(4 * static_cast<std::int64_t>(laps - kept));
  for (int j = 0; j < kept; ++j) {
    auto& name = stores.lapDriver[static_cast<std::size_t>(l0 + j)];
    name.fill(0);
    in.readBytes(name.data(), 31);
    stores.lapFps[static_cast<std::size_t>(l0 + j)] = in.u8() == '<' ? 60 : 36;
  }
  in.skip(32 * static_cast<std::int64_t>(laps - kept));
  std::uint32_t word = in.u32();
  version_ = static_cast<int>(word >> 24);
  auto total = static_cast<std::size_t>(word & 0xFFFFFF);
  first_ = stores.sampleCount;
  end_ = first_ + static_cast<int>(std::min<std::size_t>(total, kSampleCapacity - first_));
  // The blocks follow one another, each of `total` records.
  telemetryAt_ = in.position();
  patchesAt_ = telemetryAt_ + sizeof(TelemetryRecord) * total;
  extraAt_ = patchesAt_ + (version_ == 3 ? sizeof(ContactPatchRecord) * total : 0);
  framesAt_ = extraAt_ + (version_ >= 2 ? sizeof(ExtraRecord) * total : 0);
  if (file_ == nullptr) return;
  telemetryMapped_ = mapBlock(stores.telemetryTable, telemetryAt_);
  patchesMapped_ = version_ == 3 && mapBlock(stores.contactPatchTable, patchesAt_);
  extraMapped_ = version_ >= 2 && mapBlock(stores.extraTable, extraAt_);
  // Version 0 rows get two fields of their frames written as they are brought.
  framesMapped_ = version_ != 0 && mapBlock(stores.frameTable, framesAt_);
}

// A block is mapped as far as the file reaches; rows beyond stay zeros, as when read.
template <typename Record>
bool SavedLapsRows::mapBlock(FixedTable<Record>& table, std::size_t at) const {
  // Below this, reading the rows costs less than mapping and leasing the file.
  constexpr std::size_t kWorthMapping = std::size_t{1} << 20;
  std::size_t size = file_->bytes().size();
  if (at >= size) return false;
  std::size_t bytes = std::min(sizeof(Record) * static_cast<std::size_t>(end_ - first_), size - at);
  return bytes >= kWorthMapping &&
         table.mapFileRows(sizeof(Record) * static_cast<std::size_t>(first_), *file_, at, bytes);
}

// Rows a short file does not reach keep what they held (zeros in rows never used).
template <typename Record>
void SavedLapsRows::bringBlock(FixedTable<Record>& table, std::size_t at, int from, int to) const {
  std::size_t position = at + sizeof(Record) * static_cast<std::size_t>(from - first_);
  std::size_t bytes = sizeof(Record) * static_cast<std::size_t>(to - from);
  void* out = &table[static_cast<std::size_t>(from)];
  if (file_ != nullptr) {
    file_->copyOut(position, out, bytes);
  } else {
    ByteReader in(image_);
    in.seek(position);
    in.readExistingBytes(out, bytes);
  }
}

void SavedLapsRows::bring(int from, int to) {
  from = std::max(from, first_);
  to = std::min(to, end_);
  if (from >= to) return;
  if (!telemetryMapped_) bringBlock(stores_.telemetryTable, telemetryAt_, from, to);
  if (version_ == 3 && !patchesMapped_) bringBlock(stores_.contactPatchTable, patchesAt_, from, to);
  if (version_ >= 2 && !extraMapped_) bringBlock(stores_.extraTable, extraAt_, from, to);
  if (!framesMapped_) bringBlock(stores_.frameTable, framesAt_, from, to);
  if (version_ == 0) {
    for (int s = from; s < to; ++s) {
      stores_.frameTable[static_cast<std::size_t>(s)].f[FrameRecord::kStatusWord] = 0;
      stores_.frameTable[static_cast<std::size_t>(s)].f[FrameRecord::kOilPressure] = 200;
    }
  }
}

int readSavedLaps(std::span<const std::uint8_t> file, ViewerStores& stores) {
  SavedLapsRows rows(file, nullptr, stores);
  rows.bring(rows.first(), rows.end());
  return rows.end();
}

std::vector<SavedLapEntry> peekSavedLaps(std::span<const std::uint8_t> file,
                                         const char* trackName) {
  ByteReader in(file);
  char carSet[7] = {};
  char track[9] = {};
  in.readBytes(carSet, 6);
  in.readBytes(track, 8);
  if (std::strcmp(track, trackName) != 0) return {};
  // A lap count beyond the file's end finds no more laps: only the lap times the file holds
  // become entries.
  std::size_t declared = in.u16();
  std::vector<SavedLapEntry> entries(std::min(declared, in.remaining() / 4));
  for (SavedLapEntry& entry : entries) {
    entry.time = static_cast<std::int32_t>(in.u24());
    entry.car = in.u8();
    entry.carSetName = carSet;
  }
  in.skip(4 * static_cast<std::int64_t>(declared - entries.size()));
  for (SavedLapEntry& entry : entries) {
    std::size_t driver = in.position();
    entry.initials[0] = static_cast<char>(in.u8());
    in.seek(driver + 16);
    entry.initials[1] = static_cast<char>(in.u8());
    in.seek(driver + 32);
  }
  return entries;
}

}  // namespace lv
