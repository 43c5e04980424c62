#include "viewer/load/SavedLapsFile.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "telemetry/ByteReader.h"
#include "telemetry/ByteWriter.h"
#include "viewer/load/SideBySide.h"

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

// One block of sample records, where it lies in the file.
template <typename Record>
struct Block {
  FixedTable<Record>& table;
  std::size_t position = 0;
  bool present = false;
};

template <typename Record>
std::size_t placeBlock(Block<Record>& block, bool present, std::size_t position, int total) {
  block.present = present;
  block.position = position;
  return present ? position + sizeof(Record) * static_cast<std::size_t>(total) : position;
}

// Copies the bytes at a position of the file that exist into place and leaves the rest.
using BlockCopy = std::function<void(std::size_t position, void* out, std::size_t bytes)>;

// Rows a short file does not reach keep what they held (zeros in rows never used).
template <typename Record>
void readBlock(const BlockCopy& copy, const Block<Record>& block, int first, int stored) {
  if (!block.present || stored <= 0) return;
  copy(block.position, &block.table[static_cast<std::size_t>(first)],
       sizeof(Record) * static_cast<std::size_t>(stored));
}

constexpr int kWorthASecondThread = 20000;

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

namespace {

int readSavedLapsWith(std::span<const std::uint8_t> file, ViewerStores& stores,
                      const BlockCopy& copy) {
  ByteReader in(file);
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
  int version = static_cast<int>(word >> 24);
  int total = static_cast<int>(word & 0xFFFFFF);
  int s0 = stores.sampleCount;
  int stored = std::min(total, kSampleCapacity - s0);
  Block<TelemetryRecord> telemetry{stores.telemetryTable};
  Block<ContactPatchRecord> patches{stores.contactPatchTable};
  Block<ExtraRecord> extra{stores.extraTable};
  Block<FrameRecord> frames{stores.frameTable};
  std::size_t position = placeBlock(telemetry, true, in.position(), total);
  position = placeBlock(patches, version == 3, position, total);
  position = placeBlock(extra, version >= 2, position, total);
  placeBlock(frames, true, position, total);
  // The blocks are most of the file and go to tables of their own: two at a time.
  auto firstHalf = [&] {
    readBlock(copy, telemetry, s0, stored);
    readBlock(copy, extra, s0, stored);
  };
  auto secondHalf = [&] {
    readBlock(copy, frames, s0, stored);
    readBlock(copy, patches, s0, stored);
  };
  if (stored >= kWorthASecondThread) {
    runSideBySide(firstHalf, secondHalf);
  } else {
    firstHalf();
    secondHalf();
  }
  if (version == 0) {
    for (int s = s0; s < s0 + stored; ++s) {
      stores.frameTable[static_cast<std::size_t>(s)].f[FrameRecord::kStatusWord] = 0;
      stores.frameTable[static_cast<std::size_t>(s)].f[FrameRecord::kOilPressure] = 200;
    }
  }
  return s0 + stored;
}

}  // namespace

int readSavedLaps(std::span<const std::uint8_t> file, ViewerStores& stores) {
  return readSavedLapsWith(file, stores,
                           [file](std::size_t position, void* out, std::size_t bytes) {
                             ByteReader in(file);
                             in.seek(position);
                             in.readExistingBytes(out, bytes);
                           });
}

int readSavedLapsFile(const FileBytes& file, ViewerStores& stores) {
  return readSavedLapsWith(file.bytes(), stores,
                           [&file](std::size_t position, void* out, std::size_t bytes) {
                             file.copyOut(position, out, bytes);
                           });
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
