#include <gtest/gtest.h>

#include <cstring>

#include "telemetry/TelFormat.h"
#include "viewer/load/TelemetryAttachment.h"

namespace lv {
namespace {

constexpr int kFrames = 400;
constexpr int kLead = 40;  // records before the replay's first frame

// Frames whose distance rises by 125 units (1/16 m, exact as a float) per frame, and a
// recording that starts kLead records earlier with one record per frame after that.
struct AlignedDrive {
  ViewerStores stores;
  std::vector<TelemetrySample> samples;

  AlignedDrive() {
    for (int s = 0; s < kFrames; ++s) {
      FrameRecord& frame = stores.frameTable[static_cast<std::size_t>(s)];
      frame.f[0] = distanceAt(s + kLead);
      frame.f[1] = 500 + s;
    }
    for (int r = 0; r < kFrames + kLead; ++r) {
      TelemetrySample sample;
      sample[TelemetrySample::kLapDistance] = static_cast<float>(distanceAt(r)) / 2000.0f;
      sample[TelemetrySample::kClutch] = 0.5f;
      sample[TelemetrySample::kSpeed] = static_cast<float>(r);
      sample[TelemetrySample::tyreTemp(1, 2)] = 350.0f + static_cast<float>(r);
      sample[TelemetrySample::contactPatchTemp(3, 0)] = 360.0f + static_cast<float>(r);
      sample[TelemetrySample::wear(2)] = 2.0f * static_cast<float>(r);
      samples.push_back(sample);
    }
  }

  static std::int32_t distanceAt(int r) { return 2000 + 125 * r; }
};

TEST(TelemetryAttachment, EveryDistanceLayoutAlignsRecordToFrame) {
  struct Case {
    std::int32_t word;
    TelLayout layout;
    bool wear;
    bool contactPatch;
  };
  const Case cases[] = {{7, TelLayout::kVersion7, true, true},
                        {6, TelLayout::kVersion6, true, true},
                        {5, TelLayout::kVersion5, true, false},
                        {1, TelLayout::kVersion1, false, false}};
  for (const Case& c : cases) {
    AlignedDrive d;
    auto tel = encodeTelFile(c.word, c.layout, d.samples);
    attachTelemetry(tel, d.stores, 0, kFrames, 60);
    // The first record used is the 102nd (after 100 skipped and the first that moved).
    int first = 101 - kLead + 1;
    EXPECT_EQ(d.stores.telemetryTable[static_cast<std::size_t>(first - 1)].f[7], 0.0f) << c.word;
    int s = 200;
    int r = s + kLead;
    // Each value is averaged with the stored value of the frame before, so a steady ramp
    // settles one step behind.
    EXPECT_FLOAT_EQ(d.stores.telemetryTable[static_cast<std::size_t>(s)].f[7],
                    static_cast<float>(r) - 1.0f)
        << c.word;
    EXPECT_FLOAT_EQ(
        d.stores.telemetryTable[static_cast<std::size_t>(s)].f[TelemetryRecord::tyreTemp(1, 2)],
        350.0f + static_cast<float>(r))
        << c.word;
    EXPECT_EQ(d.stores.frameTable[static_cast<std::size_t>(s)].f[20], 4999) << c.word;
    EXPECT_FLOAT_EQ(d.stores.extraTable[static_cast<std::size_t>(s)].f[2],
                    c.wear ? 2.0f * static_cast<float>(r) - 2.0f : 0.0f)
        << c.word;
    EXPECT_FLOAT_EQ(d.stores.contactPatchTable[static_cast<std::size_t>(s)].f[9],
                    c.contactPatch ? 360.0f + static_cast<float>(r) : 0.0f)
        << c.word;
    // Reading stops once fewer than 120 bytes follow the current record.
    bool lastRead = telRecordSize(c.layout) > 120;
    EXPECT_EQ(d.stores.telemetryTable[static_cast<std::size_t>(kFrames - 1)].f[7] != 0.0f, lastRead)
        << c.word;
  }
}

TEST(TelemetryAttachment, EveryValueOfARecordLandsInItsField) {
  const TelLayout layouts[] = {TelLayout::kVersion7, TelLayout::kVersion6, TelLayout::kVersion5,
                               TelLayout::kVersion1};
  const std::int32_t words[] = {7, 6, 5, 1};
  for (int l = 0; l < 4; ++l) {
    TelLayout layout = layouts[l];
    TelRecordMap map = telRecordMap(layout);
    AlignedDrive d;
    for (std::size_t r = 0; r < d.samples.size(); ++r)
      for (int i = TelemetrySample::kMapX; i < TelemetrySample::kFloats; ++i)
        d.samples[r][i] = static_cast<float>(1000 * i) + static_cast<float>(r);
    attachTelemetry(encodeTelFile(words[l], layout, d.samples), d.stores, 0, kFrames, 60);

    const int s = 250;
    const TelemetrySample& sample = d.samples[static_cast<std::size_t>(s + kLead)];
    const TelemetryRecord& row = d.stores.telemetryTable[s];
    const TelemetryRecord& before = d.stores.telemetryTable[s - 1];
    for (int i = TelemetryRecord::kMapX; i <= TelemetryRecord::kLongForce; ++i)
      EXPECT_EQ(row.f[i], (sample[i] + before.f[i]) / 2.0f) << words[l] << " field " << i;
    for (int wheel = 0; wheel < 4; ++wheel) {
      for (int v = 0; v < 3; ++v) {
        EXPECT_EQ(row.f[TelemetryRecord::tyreTemp(wheel, v)],
                  sample[TelemetrySample::tyreTemp(wheel, v)])
            << words[l] << " wheel " << wheel << " value " << v;
        EXPECT_EQ(
            d.stores.contactPatchTable[s].f[3 * wheel + v],
            map.contactPatch >= 0 ? sample[TelemetrySample::contactPatchTemp(wheel, v)] : 0.0f)
            << words[l] << " wheel " << wheel << " value " << v;
      }
      EXPECT_EQ(
          d.stores.extraTable[s].f[wheel],
          map.wear >= 0
              ? (sample[TelemetrySample::wear(wheel)] + d.stores.extraTable[s - 1].f[wheel]) / 2.0f
              : 0.0f)
          << words[l] << " wheel " << wheel;
    }
    EXPECT_EQ(row.f[0], 0.0f) << words[l];
    EXPECT_EQ(row.f[1], 0.0f) << words[l];
  }
}

TEST(TelemetryAttachment, FileWithoutVersionWordIsCopiedWhole) {
  AlignedDrive d;
  auto tel = encodeTelFile(0, TelLayout::kUnversioned, d.samples);
  attachTelemetry(tel, d.stores, 0, kFrames, 36);
  const TelemetryRecord& row = d.stores.telemetryTable[200];
  EXPECT_FLOAT_EQ(row.f[0], static_cast<float>(AlignedDrive::distanceAt(200 + kLead)) / 2000.0f);
  EXPECT_FLOAT_EQ(row.f[7], static_cast<float>(200 + kLead));
}

TEST(TelemetryAttachment, TelemetryBehindSkipsAndAheadRepeats) {
  AlignedDrive d;
  // One frame further on than its record: the record behind is skipped.
  d.stores.frameTable[250].f[0] += 125;
  // The record ahead of a standing frame is read again for the next one.
  d.stores.frameTable[300].f[0] -= 125;
  auto tel = encodeTelFile(6, TelLayout::kVersion6, d.samples);
  attachTelemetry(tel, d.stores, 0, kFrames, 60);
  EXPECT_FLOAT_EQ(d.stores.telemetryTable[250].f[TelemetryRecord::tyreTemp(1, 2)],
                  350.0f + 250 + kLead + 1);
  EXPECT_FLOAT_EQ(d.stores.telemetryTable[251].f[TelemetryRecord::tyreTemp(1, 2)],
                  350.0f + 251 + kLead + 1);
}

TEST(TelemetryAttachment, NoMatchingStartAttachesNothingAndGarbageIsSafe) {
  AlignedDrive d;
  for (int s = 0; s < kFrames; ++s) d.stores.frameTable[static_cast<std::size_t>(s)].f[0] += 1;
  auto tel = encodeTelFile(7, TelLayout::kVersion7, d.samples);
  attachTelemetry(tel, d.stores, 0, kFrames, 60);
  EXPECT_EQ(d.stores.telemetryTable[200].f[7], 0.0f);

  for (std::int32_t word : {2, 3, 9, -1}) {
    std::vector<std::uint8_t> junk(50000);
    for (std::size_t i = 0; i < junk.size(); ++i)
      junk[i] = static_cast<std::uint8_t>(i * 2654435761u >> 24);
    std::memcpy(junk.data(), &word, 4);
    attachTelemetry(junk, d.stores, 0, kFrames, 36);
    attachTelemetry(std::span<const std::uint8_t>(junk.data(), 3), d.stores, 0, kFrames, 60);
  }
}

TEST(TelemetryAttachment, TimeSteppedRecordsLandByTime) {
  ViewerStores stores;
  stores.segmentCount = 1;
  stores.segmentStarts[0] = 0;
  std::vector<TelemetrySample> samples(600);
  std::vector<float> times(600);
  for (int r = 0; r < 600; ++r) {
    samples[static_cast<std::size_t>(r)][TelemetrySample::kClutch] = 0.25f;
    samples[static_cast<std::size_t>(r)][TelemetrySample::kSpeed] = static_cast<float>(r);
    times[static_cast<std::size_t>(r)] = static_cast<float>(r) * 0.016f;
  }
  for (int s = 0; s < 600; ++s) stores.frameTable[static_cast<std::size_t>(s)].f[1] = s;
  auto tel = encodeTelFile(3, TelLayout::kTimeStepped, samples, times);
  attachTelemetry(tel, stores, 0, 600, 60);
  // Record 40 (t = 0.64 s) belongs to frame int(0.64 * 60.01) = 38.
  EXPECT_FLOAT_EQ(stores.telemetryTable[38].f[7], 40.0f);
  EXPECT_FLOAT_EQ(stores.telemetryTable[38].f[0], 1000.0f);
  EXPECT_EQ(stores.frameTable[38].f[20], 2500);
  EXPECT_GT(stores.telemetryTable[300].f[7], 290.0f);
}

TEST(TelemetryAttachment, TimeSteppedRecordsFillTheContactPatchesWhileTheyAreShown) {
  ViewerStores stores;
  stores.segmentCount = 1;
  stores.contactPatchMode = 1;
  std::vector<TelemetrySample> samples(600);
  std::vector<float> times(600);
  for (int r = 0; r < 600; ++r) {
    for (int i = TelemetrySample::kClutch; i < TelemetrySample::kFloats; ++i)
      samples[static_cast<std::size_t>(r)][i] = static_cast<float>(1000 * i + r);
    times[static_cast<std::size_t>(r)] = static_cast<float>(r) * 0.016f;
  }
  for (int s = 0; s < 600; ++s) stores.frameTable[static_cast<std::size_t>(s)].f[1] = s;
  attachTelemetry(encodeTelFile(2, TelLayout::kTimeStepped, samples, times), stores, 0, 600, 60);
  // Record 40 belongs to frame 38; version 2 carries no clutch.
  const TelemetrySample& sample = samples[40];
  const TelemetryRecord& row = stores.telemetryTable[38];
  for (int i = TelemetryRecord::kMapX; i <= TelemetryRecord::kLongForce; ++i)
    EXPECT_EQ(row.f[i], sample[i]) << i;
  for (int wheel = 0; wheel < 4; ++wheel) {
    for (int v = 0; v < 3; ++v) {
      EXPECT_EQ(stores.contactPatchTable[38].f[3 * wheel + v],
                sample[TelemetrySample::tyreTemp(wheel, v)]);
      EXPECT_EQ(row.f[TelemetryRecord::tyreTemp(wheel, v)], 0.0f);
    }
  }
  EXPECT_EQ(row.f[0], 0.0f);
  EXPECT_EQ(stores.frameTable[38].f[FrameRecord::kClutch], 0);
}

}  // namespace
}  // namespace lv
