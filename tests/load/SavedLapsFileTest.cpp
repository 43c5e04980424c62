#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "FileMappingProbes.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/SavedLapsFile.h"
#include "viewer/load/SavedLapsListing.h"

namespace lv {
namespace {

// Three laps of 10, 12 and 8 samples with distinct values in every table.
void fillThreeLaps(ViewerStores& stores) {
  const int sizes[] = {10, 12, 8};
  int s = 0;
  for (int lap = 0; lap < 3; ++lap) {
    stores.lapStart[static_cast<std::size_t>(lap)] = s;
    for (int i = 0; i < sizes[lap]; ++i, ++s) {
      std::size_t row = static_cast<std::size_t>(s);
      stores.frameTable[row].f[0] = 50000 + 10000 * i;
      stores.frameTable[row].f[6] = s;
      stores.telemetryTable[row].f[7] = static_cast<float>(s);
      stores.contactPatchTable[row].f[11] = static_cast<float>(1000 + s);
      stores.extraTable[row].f[3] = static_cast<float>(2000 + s);
    }
  }
  stores.lapStart[3] = s;
  stores.sampleCount = s;
  stores.lapCount = 3;
  stores.lapTime = {83456, kLapNotValid, kStartLap};
  stores.lapCar = {5, 5 + 32, 5 + 32 + 128};
  std::strcpy(stores.lapDriver[0].data(), "Jim             Clark");
  stores.lapFps = {60, 36, 60};
  std::memcpy(stores.carSetName.data(), "CARS67", 6);
  std::strcpy(stores.trackName.data(), "monza");
}

TEST(SavedLapsFile, AllLapsRoundTripThroughTheStores) {
  ViewerStores source;
  fillThreeLaps(source);
  std::vector<std::uint8_t> file = encodeSavedLaps(source);
  ASSERT_EQ(file.size(), 20u + 36u * 3 + (96u + 16u + 104u) * 30);
  EXPECT_EQ(file[16 + 36 * 3 + 3], 2);  // version byte

  ViewerStores target;
  int end = readSavedLaps(file, target);
  ASSERT_EQ(end, 30);
  EXPECT_STREQ(target.trackName.data(), "monza");
  EXPECT_EQ(target.lapTime[0], 83456);
  EXPECT_EQ(target.lapTime[1], kLapNotValid & 0xFFFFFF);
  EXPECT_EQ(target.lapCar[2], 5 + 32 + 128);
  EXPECT_EQ(target.lapFps[1], 36);
  EXPECT_STREQ(target.lapDriver[0].data(), "Jim             Clark");
  EXPECT_EQ(target.frameTable[29].f[6], 29);
  EXPECT_EQ(target.extraTable[12].f[3], 2012.0f);
  EXPECT_EQ(target.contactPatchTable[12].f[11], 0.0f);

  LapList list;
  LapSource saved;
  saved.savedLaps = true;
  cutLaps(target, list, saved, 0, end);
  ASSERT_EQ(target.lapCount, 3);
  EXPECT_EQ(list.lines()[0], "0  1:23.456     -");
  EXPECT_EQ(list.lines()[1], "1  ---------     -");
  EXPECT_EQ(list.lines()[2], "2  Start              -");
}

TEST(SavedLapsFile, ChosenLapsLeaveOutTheirLastSampleAndCarryContactPatches) {
  ViewerStores source;
  fillThreeLaps(source);
  source.selectedCount = 2;
  source.selectedLaps = {2, 0, 0, 0};
  source.contactPatchMode = 1;
  std::vector<std::uint8_t> file = encodeSavedLaps(source);
  const std::size_t samples = 7 + 9;
  ASSERT_EQ(file.size(), 20u + 36u * 2 + (96u + 48u + 16u + 104u) * samples);

  ViewerStores target;
  target.sampleCount = 5;
  target.lapCount = 1;
  int end = readSavedLaps(file, target);
  EXPECT_EQ(end, 5 + 16);
  EXPECT_EQ(target.lapTime[1], kStartLap & 0xFFFFFF);
  EXPECT_EQ(target.lapTime[2], 83456);
  EXPECT_EQ(target.frameTable[5].f[6], 22);     // lap 2 starts at sample 22
  EXPECT_EQ(target.frameTable[5 + 7].f[6], 0);  // then lap 0 without its sample 9
  EXPECT_EQ(target.frameTable[5 + 15].f[6], 8);
  EXPECT_EQ(target.contactPatchTable[5].f[11], 1022.0f);
}

TEST(SavedLapsFile, TruncatesAtCapacityAndMarksVersionZero) {
  ViewerStores source;
  fillThreeLaps(source);
  std::vector<std::uint8_t> file = encodeSavedLaps(source);
  ViewerStores target;
  target.sampleCount = kSampleCapacity - 4;
  EXPECT_EQ(readSavedLaps(file, target), kSampleCapacity);
  EXPECT_EQ(target.frameTable[kSampleCapacity - 1].f[6], 3);

  // Version 0: telemetry and frames only, status word cleared and oil pressure 200.
  std::vector<std::uint8_t> old(file.begin(), file.begin() + 20 + 36 * 3);
  std::uint32_t word = 2;
  std::memcpy(&old[16 + 36 * 3], &word, 4);
  old.resize(old.size() + (96 + 104) * 2, 0);
  ViewerStores fresh;
  fresh.frameTable[1].f[23] = 77;
  EXPECT_EQ(readSavedLaps(old, fresh), 2);
  EXPECT_EQ(fresh.frameTable[1].f[23], 0);
  EXPECT_EQ(fresh.frameTable[1].f[25], 200);
}

template <typename Row>
void expectSameRows(const FixedTable<Row>& a, const FixedTable<Row>& b, const char* what,
                    std::size_t rows) {
  int wrong = 0;
  for (std::size_t row = 0; row < rows; ++row)
    if (std::memcmp(&a[row], &b[row], sizeof(Row)) != 0 && ++wrong < 4)
      ADD_FAILURE() << what << " row " << row;
}

void expectSameSamples(const ViewerStores& a, const ViewerStores& b, std::size_t rows = 40) {
  expectSameRows(a.frameTable, b.frameTable, "frames", rows);
  expectSameRows(a.telemetryTable, b.telemetryTable, "telemetry", rows);
  expectSameRows(a.contactPatchTable, b.contactPatchTable, "contact patches", rows);
  expectSameRows(a.extraTable, b.extraTable, "wear", rows);
}

// One lap of `count` samples whose every byte differs from its neighbours.
void fillPatternedLap(ViewerStores& stores, int count) {
  std::uint32_t x = 12345;
  auto fill = [&x](auto& row) {
    auto* bytes = reinterpret_cast<std::uint8_t*>(&row);
    for (std::size_t i = 0; i < sizeof row; ++i) {
      x = x * 1664525u + 1013904223u;
      bytes[i] = static_cast<std::uint8_t>(x >> 24);
    }
  };
  for (std::size_t row = 0; row < static_cast<std::size_t>(count); ++row) {
    fill(stores.frameTable[row]);
    fill(stores.telemetryTable[row]);
    fill(stores.contactPatchTable[row]);
    fill(stores.extraTable[row]);
  }
  stores.lapStart[1] = count;
  stores.sampleCount = count;
  stores.lapCount = 1;
  stores.lapTime[0] = 91234;
  std::strcpy(stores.trackName.data(), "monza");
}

// A saved-laps file read from disk, its tables straight into the stores, gives the stores
// its image gives, also when the file ends inside a table, and so do its rows brought a few
// at a time in any order, with requests beyond its samples.
TEST(SavedLapsFile, FromDiskAsFromItsImage) {
  ViewerStores source;
  fillThreeLaps(source);
  source.contactPatchMode = 1;
  std::vector<std::uint8_t> image = encodeSavedLaps(source);
  std::string path = ::testing::TempDir() + "saved-laps-from-disk.tmr";
  for (std::size_t size : {image.size(), image.size() - 300, std::size_t{200}}) {
    SCOPED_TRACE(testing::Message() << "file of " << size << " bytes");
    std::vector<std::uint8_t> cut(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size));
    ASSERT_TRUE(writeFileAtomically(path, cut));
    FileBytes file;
    ASSERT_TRUE(file.open(path));
    ViewerStores fromDisk, fromImage, inStretches;
    SavedLapsRows whole(file.bytes(), &file, fromDisk);
    whole.bring(whole.first(), whole.end());
    int end = whole.end();
    EXPECT_EQ(end, readSavedLaps(cut, fromImage));
    expectSameSamples(fromDisk, fromImage);

    SavedLapsRows rows(file.bytes(), &file, inStretches);
    ASSERT_EQ(rows.end(), end);
    rows.bring(-5, 0);
    rows.bring(end, end + 9);
    for (int to = end; to > 0; to -= 7) rows.bring(std::max(0, to - 7), to);
    expectSameSamples(fromDisk, inStretches);
  }
}

// The large tables of a saved-laps file are the file's own pages in the stores, where the
// system allows, and hold what reading the file gives: as a first load, after another load
// and for a file that ends inside its frames.
TEST(SavedLapsFile, LargeTablesMappedHoldWhatReadingGives) {
  constexpr int kSamples = 12000;  // telemetry and frames of over a megabyte each
  ViewerStores source;
  fillPatternedLap(source, kSamples);
  source.contactPatchMode = 1;
  std::vector<std::uint8_t> image = encodeSavedLaps(source);
  ViewerStores small;
  fillThreeLaps(small);
  std::vector<std::uint8_t> earlier = encodeSavedLaps(small);
  std::string path = ::testing::TempDir() + "saved-laps-mapped.tmr";
  struct Case {
    const char* what;
    bool afterAnother;
    std::size_t size;
  };
  const Case cases[] = {{"a first load", false, image.size()},
                        {"after another load", true, image.size()},
                        {"a file ending inside its frames", false, image.size() - 600000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> cut(image.begin(),
                                  image.begin() + static_cast<std::ptrdiff_t>(c.size));
    ASSERT_TRUE(writeFileAtomically(path, cut));
    FileBytes file;
    ASSERT_TRUE(file.open(path));
    ViewerStores fromDisk, fromImage;
    if (c.afterAnother) {
      fromDisk.sampleCount = readSavedLaps(earlier, fromDisk);
      fromImage.sampleCount = readSavedLaps(earlier, fromImage);
    }
    SavedLapsRows rows(file.bytes(), &file, fromDisk);
    rows.bring(rows.first(), rows.end());
    EXPECT_EQ(rows.end(), readSavedLaps(cut, fromImage));
    file = FileBytes();
    expectSameSamples(fromDisk, fromImage, static_cast<std::size_t>(rows.end()) + 100);
    if (!c.afterAnother && leasesGranted()) {
      auto at = reinterpret_cast<std::uintptr_t>(fromDisk.telemetryTable.data());
      EXPECT_TRUE(fileMappedWithin(path, at, at + sizeof(TelemetryRecord) * kSamples));
    }
  }
}

// Version 0 files get their status word cleared and an oil pressure of 200 in every row,
// however their rows are brought.
TEST(SavedLapsFile, VersionZeroRowsAreCompletedAsTheyAreBrought) {
  ViewerStores source;
  fillThreeLaps(source);
  std::vector<std::uint8_t> file = encodeSavedLaps(source);
  std::vector<std::uint8_t> old(file.begin(), file.begin() + 20 + 36 * 3);
  std::uint32_t word = 5;
  std::memcpy(&old[16 + 36 * 3], &word, 4);
  old.resize(old.size() + (96 + 104) * 5, 0x11);
  ViewerStores stores;
  SavedLapsRows rows(old, nullptr, stores);
  rows.bring(3, 5);
  rows.bring(0, 3);
  for (std::size_t row = 0; row < 5; ++row) {
    EXPECT_EQ(stores.frameTable[row].f[23], 0) << row;
    EXPECT_EQ(stores.frameTable[row].f[25], 200) << row;
    EXPECT_EQ(stores.frameTable[row].f[24], 0x11111111) << row;
  }
}

TEST(SavedLapsFile, ForeignOrShortFilesStayInsideTheStores) {
  ViewerStores stores;
  std::vector<std::uint8_t> junk(1000, 0xFF);
  EXPECT_LE(readSavedLaps(junk, stores), kSampleCapacity);
  EXPECT_EQ(readSavedLaps({}, stores), 0);
}

TEST(SavedLapsListing, FastestFirstWithCarOrCarSet) {
  auto lap = [](std::int32_t time, std::uint8_t car, const char* set) {
    return SavedLapEntry{time, car, {'J', 'C'}, set};
  };
  std::vector<ListedSavedLap> laps = {
      {lap(95123, 5, "cars67"), "b.tmr"}, {lap(10000, 1, "cars67"), "c.tmr"},
      {lap(10001, 6, "CARS67"), "c.tmr"}, {lap(83007, 2, "cars65"), "a.tmr"},
      {lap(90000, 9, "cars67"), "a.tmr"},
  };
  EXPECT_EQ(savedLapsListingText(laps),
            "0:10.001  JC  Lotus - c.tmr\n"
            "1:23.007  JC  cars65 - a.tmr\n"
            "1:30.000  JC - a.tmr\n"
            "1:35.123  JC  Ferrari - b.tmr\n");
}

TEST(SavedLapsFile, PeekListsLapsOfTheSameTrackOnly) {
  ViewerStores source;
  fillThreeLaps(source);
  std::vector<std::uint8_t> file = encodeSavedLaps(source);
  auto laps = peekSavedLaps(file, "monza");
  ASSERT_EQ(laps.size(), 3u);
  EXPECT_EQ(laps[0].time, 83456);
  EXPECT_EQ(laps[0].initials[0], 'J');
  EXPECT_EQ(laps[0].initials[1], 'C');
  EXPECT_EQ(laps[0].carSetName, "CARS67");
  EXPECT_TRUE(peekSavedLaps(file, "monz").empty());

  // A lap count beyond the file's end: only the laps whose times the file holds are found.
  file.resize(16 + 4 * 2);
  file[14] = 0xFF;
  file[15] = 0xFF;
  EXPECT_EQ(peekSavedLaps(file, "monza").size(), 2u);
}

// Laps beyond the lap tables are passed over, and the samples behind them still land.
TEST(SavedLapsFile, LapsBeyondTheLapTablesAreSkipped) {
  ViewerStores source;
  fillThreeLaps(source);
  std::vector<std::uint8_t> file = encodeSavedLaps(source);
  ViewerStores stores;
  stores.lapCount = kLapCapacity - 1;
  EXPECT_EQ(readSavedLaps(file, stores), 30);
  EXPECT_EQ(stores.lapTime[kLapCapacity - 1], 83456);
  EXPECT_EQ(stores.lapFps[kLapCapacity - 1], 60);
  EXPECT_EQ(stores.frameTable[29].f[6], 29);
  EXPECT_EQ(stores.telemetryTable[29].f[7], 29.0f);
}

}  // namespace
}  // namespace lv
