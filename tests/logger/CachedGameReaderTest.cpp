#include <gtest/gtest.h>

#include "FakeDrive.h"
#include "FakeProcessApi.h"
#include "TempFolder.h"
#include "logger/AddressOverrides.h"
#include "logger/CachedGameReader.h"
#include "logger/GameVersion.h"

namespace lv {
namespace {

class ReaderTest : public ::testing::Test {
 protected:
  void SetUp() override { api.processes = {{7, "init"}, {42, "C:\\GPL\\gpl.exe"}}; }

  CachedGameReader& attached(const char* version = "GPL1.2.0.2B",
                             LogFormat format = LogFormat::kVersion7) {
    reader = std::make_unique<CachedGameReader>(api, clock, table, format);
    EXPECT_EQ(reader->attach("gpl.exe", "/nowhere/gpl.exe", 1.0f, version), 1);
    return *reader;
  }
  std::uint32_t address(int row, int column) const {
    return table[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
  }

  testing::FakeProcessApi api;
  testing::FakeClock clock;
  AddressTable table = builtInAddressTable();
  std::unique_ptr<CachedGameReader> reader;
};

TEST_F(ReaderTest, BlockIsFetchedAtMostOncePer27Milliseconds) {
  CachedGameReader& r = attached();
  std::uint32_t clockAddress = address(1, block::kClock);
  api.zeroRange(clockAddress, kBlockBytes);
  api.putFloat(clockAddress, 1.0f);
  EXPECT_EQ(r.readClock(), 1.0f);
  api.putFloat(clockAddress, 2.0f);
  clock.advanceMilliseconds(20);
  EXPECT_EQ(r.readClock(), 1.0f);
  EXPECT_GT(r.microsecondsUntilSampleRefresh(), 6000u);
  clock.advanceMilliseconds(7);  // exactly 27 ms: not yet
  EXPECT_EQ(r.readClock(), 1.0f);
  EXPECT_EQ(r.microsecondsUntilSampleRefresh(), 1u);
  clock.advanceMilliseconds(0.001);
  EXPECT_EQ(r.microsecondsUntilSampleRefresh(), 0u);
  EXPECT_EQ(r.readClock(), 2.0f);
  EXPECT_EQ(api.readsAt(clockAddress), 2);

  // A failed read keeps the bytes of the last good one.
  api.putFloat(clockAddress, 3.0f);
  api.readsFail = true;
  clock.advanceMilliseconds(30);
  EXPECT_EQ(r.readClock(), 2.0f);
  api.readsFail = false;
  clock.advanceMilliseconds(10);  // the failed read counted as a fetch
  EXPECT_EQ(r.readClock(), 2.0f);
  clock.advanceMilliseconds(20);
  EXPECT_EQ(r.readClock(), 3.0f);
}

TEST_F(ReaderTest, ChannelsAtTheirBlockOffsets) {
  CachedGameReader& r = attached();
  for (int column : {block::kEngine, block::kPedals, block::kLap, block::kForces})
    api.zeroRange(address(1, column), kBlockBytes);
  api.zeroRange(kFuelAddress, kBlockBytes);
  api.putFloat(address(1, 0) + 0, 5000.0f);
  api.putFloat(address(1, 0) + 12, 11.0f);
  api.putFloat(address(1, 0) + 16, 3.0f);
  api.putFloat(address(1, 0) + 20, 13.0f);
  api.putFloat(address(1, 0) + 24, 4.0f);
  api.putFloat(address(1, 1) + 0, 0.25f);
  api.putFloat(address(1, 1) + 4, 0.5f);
  api.putFloat(address(1, 1) + 8, 0.75f);
  api.putFloat(address(1, 2) + 0, 1234.5f);
  api.putFloat(address(1, 10) + 0, -1.0f);
  api.putFloat(address(1, 10) + 4, -2.0f);
  api.putFloat(address(1, 10) + 8, -3.0f);
  api.putFloat(kFuelAddress, 88.0f);
  EXPECT_EQ(r.readRpm(), 5000.0f);
  EXPECT_EQ(r.readMapX(), 11.0f);
  EXPECT_EQ(r.readMapY(), 13.0f);
  EXPECT_EQ(r.readSpeed(), 5.0f);
  EXPECT_EQ(r.readSpeedKmh(), 5.0f * 3.6f);
  EXPECT_EQ(r.readSpeedScaled(), 11.25f);
  EXPECT_EQ(r.readThrottle(), 0.25f);
  EXPECT_EQ(r.readBrake(), 0.5f);
  EXPECT_EQ(r.readClutch(), 0.75f);
  EXPECT_EQ(r.readLapDistance(), 1234.5f);
  EXPECT_EQ(r.readLatForce(), -1.0f);
  EXPECT_EQ(r.readLongForce(), -2.0f);
  EXPECT_EQ(r.readVertForce(), -3.0f);
  EXPECT_EQ(r.readFuel(), 88.0f);
  EXPECT_EQ(r.readUnsupportedFloat(1, 2), -1.0f);
  EXPECT_EQ(r.readUnsupportedInt(), -1);
}

TEST_F(ReaderTest, TorqueFollowsTheCurveAlsoBelow200Rpm) {
  CachedGameReader& r = attached();
  std::uint32_t curve = address(1, block::kTorqueCurve);
  api.zeroRange(curve, 4 * 40);
  for (int i = 0; i < 33; ++i)
    api.putFloat(curve + 4u * static_cast<std::uint32_t>(i), 100.0f + 10.0f * i);
  api.putFloat(curve + 4 * 20, 500.0f);  // the peak, also at 25
  api.putFloat(curve + 4 * 25, 500.0f);
  api.zeroRange(address(1, 0), kBlockBytes);
  api.zeroRange(address(1, 1), kBlockBytes);
  api.putFloat(address(1, 1), 0.5f);
  struct Case {
    float rpm;
    float torque;
    std::uint32_t pointRead;  // index of the first of the two points read
  };
  const Case cases[] = {
      {1000.0f, 0.5f * 140.0f, 4},
      {1100.0f, 0.5f * 145.0f, 4},
      {100.0f, 0.5f * (100.0f * 1.5f - 110.0f * 0.5f), 0},  // extrapolated, i truncated to 0
      {1.0f, 0.5f * (100.0f * 1.995f - 110.0f * 0.995f), 0},
  };
  for (const Case& c : cases) {
    api.putFloat(address(1, 0), c.rpm);
    clock.advanceMilliseconds(30);
    api.reads.clear();
    EXPECT_FLOAT_EQ(r.readTorque(), c.torque) << c.rpm;
    EXPECT_EQ(api.readsAt(curve + 4 * c.pointRead), 1) << c.rpm;
    EXPECT_EQ(r.readTorque(), r.readTorque());  // the curve is read on every call
    EXPECT_EQ(api.readsAt(curve + 4 * c.pointRead), 3) << c.rpm;
  }
  EXPECT_EQ(r.readMaxTorque(), 500.0f);
  EXPECT_EQ(api.reads.back(), std::make_pair(curve, std::size_t{132}));
}

// Four wheels: temperatures at the row-1 address, the wear 20 bytes before it.
void putWheels(testing::FakeProcessApi& api, const AddressTable& table) {
  for (int w = 0; w < 4; ++w) {
    std::uint32_t temps = table[kWheelRow][static_cast<std::size_t>(block::kWheel0 + w)];
    api.zeroRange(temps - 40, 64);
    for (std::uint32_t k = 0; k < 6; ++k) api.putFloat(temps + 4 * k, 300.0f + 10.0f * w + k);
    api.putFloat(temps - 20, 0.5f + 0.125f * static_cast<float>(w));
  }
}

TEST_F(ReaderTest, WheelArraysOfFormat7ComeFromRow1) {
  CachedGameReader& r = attached("GPL1.2.0.1A");  // row 4: the wheels still come from row 1
  putWheels(api, table);
  float out[6] = {-1, -1, -1, -1, -1, -1};
  EXPECT_TRUE(r.readWheelArray(1, out));
  EXPECT_EQ(std::vector<float>(out, out + 6), (std::vector<float>{310, 311, 312, 313, 314, 315}));
  float wear[2] = {-1, -1};
  EXPECT_TRUE(r.readWheelArray(5, wear));
  EXPECT_EQ(wear[0], 0.625f);
  EXPECT_EQ(wear[1], -1.0f);
  EXPECT_EQ(api.reads.back(), std::make_pair(address(1, 7) - 20, std::size_t{24}));
  r.readWheelArray(5, wear);  // never throttled
  EXPECT_EQ(api.readsAt(address(1, 7) - 20), 2);
}

TEST_F(ReaderTest, WheelArraysAndFuelOfFormat5) {
  CachedGameReader& r = attached("GPL1.2.0.2A", LogFormat::kVersion5);
  putWheels(api, table);
  float out[4] = {-1, -1, -1, -1};
  r.readWheelArray(2, out);
  EXPECT_EQ(std::vector<float>(out, out + 4), (std::vector<float>{323, 324, 325, -1}));
  r.readWheelArray(6, out);
  EXPECT_EQ(out[2], 0.75f);
  EXPECT_EQ(api.reads.back(), std::make_pair(address(1, 8) - 40, std::size_t{24}));
  api.zeroRange(address(6, block::kFuel), kBlockBytes);
  api.putFloat(address(6, block::kFuel), 55.0f);
  EXPECT_EQ(r.readFuel(), 55.0f);
}

TEST_F(ReaderTest, VersionRowsFromTheProgramFileOrTheOverride) {
  testing::TempFolder folder;
  struct Case {
    std::string_view version;
    int row;
  };
  const Case cases[] = {{kVersion101A, 4}, {kVersion101B, 3}, {kVersion102A, 6}, {kVersion102B, 1}};
  for (const Case& c : cases) {
    std::string program = folder.write("gpl.exe", fakegame::programFileImage(c.version));
    CachedGameReader r(api, clock, table, LogFormat::kVersion7);
    EXPECT_EQ(r.attach("gpl.exe", program, 1.0f, ""), 1);
    EXPECT_EQ(r.versionText(), c.version);
    EXPECT_EQ(r.versionRow(), c.row);
    EXPECT_TRUE(r.isRunning());
    EXPECT_FALSE(r.detach());
    EXPECT_EQ(r.versionRow(), -1);
    EXPECT_FALSE(r.isRunning());
  }

  CachedGameReader unknown(api, clock, table, LogFormat::kVersion7);
  EXPECT_EQ(unknown.attach("gpl.exe", folder.path() + "gpl.exe", 1.0f, "GPL1.3"), 1);
  EXPECT_EQ(unknown.versionText(), "GPL1.3");
  EXPECT_EQ(unknown.versionRow(), -1);
  EXPECT_FALSE(unknown.isRunning());

  CachedGameReader missing(api, clock, table, LogFormat::kVersion7);
  EXPECT_EQ(missing.attach("gpl.exe", folder.path() + "nothere.exe", 1.0f, ""), 2);
  EXPECT_EQ(missing.versionText(), "file not found");
  EXPECT_FALSE(missing.isRunning());
}

TEST_F(ReaderTest, OverriddenRowIsWhereTheReaderLooks) {
  std::string text = "GPL1.2.0.1B - - - 0x00300000\n";
  EXPECT_TRUE(applyAddressOverrides(
                  std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), table)
                  .empty());
  CachedGameReader& r = attached("GPL1.2.0.1B");
  api.zeroRange(0x00300000, kBlockBytes);
  api.putFloat(0x00300000, 77.0f);
  EXPECT_EQ(r.readClock(), 77.0f);
}

TEST_F(ReaderTest, AttachGivesUpAfterTheTimeout) {
  api.processes = {{7, "init"}};
  CachedGameReader r(api, clock, table, LogFormat::kVersion7);
  EXPECT_EQ(r.attach("gpl.exe", "/nowhere/gpl.exe", 60.0f, ""), 0);
  // A search every quarter second: 240 in the minute, not one every 30 ms.
  EXPECT_EQ(api.listCalls, 240);
  EXPECT_EQ(clock.slept, 240u * 250000u);
  EXPECT_EQ(r.versionText(), "no version detected");
  EXPECT_FALSE(r.isRunning());
  EXPECT_EQ(r.attach("gpl.exe", "/nowhere/gpl.exe", 0.0f, ""), 0);
  EXPECT_EQ(api.listCalls, 240);
}

TEST_F(ReaderTest, IsRunningUntilNoMatchingProcessIsLeft) {
  CachedGameReader& r = attached();
  EXPECT_TRUE(r.isRunning());
  api.processes = {{7, "init"}, {99, "Z:\\games\\GPL.exe"}};  // another matching process
  EXPECT_TRUE(r.isRunning());
  api.processes = {{7, "init"}};
  EXPECT_FALSE(r.isRunning());
}

}  // namespace
}  // namespace lv
