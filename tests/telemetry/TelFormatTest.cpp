#include <gtest/gtest.h>

#include <cstring>

#include "telemetry/ByteReader.h"
#include "telemetry/TelFormat.h"

namespace lv {
namespace {

TelemetrySample numberedSample() {
  TelemetrySample sample;
  for (int i = 0; i < TelemetrySample::kFloats; ++i) sample[i] = 100.0f + static_cast<float>(i);
  return sample;
}

float floatAt(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
  float value;
  std::memcpy(&value, bytes.data() + offset, 4);
  return value;
}

TEST(TelFileShape, VersionWordSelectsLayout) {
  struct Case {
    std::int32_t word;
    TelLayout layout;
    int recordSize;
    std::size_t dataOffset;
  };
  const Case cases[] = {
      {7, TelLayout::kVersion7, 164, 4},    {6, TelLayout::kVersion6, 160, 4},
      {5, TelLayout::kVersion5, 112, 4},    {1, TelLayout::kVersion1, 96, 4},
      {2, TelLayout::kTimeStepped, 96, 4},  {3, TelLayout::kTimeStepped, 96, 4},
      {4, TelLayout::kUnversioned, 96, 0},  {0, TelLayout::kUnversioned, 96, 0},
      {-9, TelLayout::kUnversioned, 96, 0}, {1092616192, TelLayout::kUnversioned, 96, 0},
  };
  for (const Case& c : cases) {
    TelFileShape shape = telFileShape(c.word);
    EXPECT_EQ(shape.layout, c.layout) << c.word;
    EXPECT_EQ(shape.recordSize, c.recordSize) << c.word;
    EXPECT_EQ(shape.dataOffset, c.dataOffset) << c.word;
  }
}

// Byte offsets of named fields in each layout, checked against the encoded file.
TEST(TelFormat, FieldsLandAtTheirByteOffsets) {
  TelemetrySample sample = numberedSample();
  struct Case {
    TelLayout layout;
    int field;
    std::size_t offset;  // within the record
  };
  const Case cases[] = {
      {TelLayout::kVersion7, TelemetrySample::kSpeed, 28},
      {TelLayout::kVersion7, TelemetrySample::contactPatchTemp(1, 2), 80},
      {TelLayout::kVersion7, TelemetrySample::tyreTemp(3, 0), 132},
      {TelLayout::kVersion7, TelemetrySample::wear(2), 152},
      {TelLayout::kVersion7, TelemetrySample::kFuel, 160},
      {TelLayout::kVersion6, TelemetrySample::wear(3), 156},
      {TelLayout::kVersion5, TelemetrySample::tyreTemp(0, 0), 48},
      {TelLayout::kVersion5, TelemetrySample::tyreTemp(2, 1), 76},
      {TelLayout::kVersion5, TelemetrySample::wear(0), 96},
      {TelLayout::kVersion1, TelemetrySample::tyreTemp(3, 2), 92},
  };
  for (const Case& c : cases) {
    std::vector<TelemetrySample> samples{TelemetrySample{}, sample};
    auto bytes = encodeTelFile(9, c.layout, samples);
    int size = telRecordSize(c.layout);
    ASSERT_EQ(bytes.size(), 4u + 2u * static_cast<std::size_t>(size));
    EXPECT_EQ(floatAt(bytes, 4 + size + c.offset), sample[c.field]) << c.field;
  }
}

TEST(TelFormat, RecordsRoundTripThroughEveryLayout) {
  TelemetrySample sample = numberedSample();
  for (TelLayout layout : {TelLayout::kVersion7, TelLayout::kVersion6, TelLayout::kVersion5,
                           TelLayout::kVersion1, TelLayout::kUnversioned}) {
    ByteWriter out;
    appendTelRecord(out, layout, sample);
    ASSERT_EQ(out.size(), static_cast<std::size_t>(telRecordSize(layout)));
    TelemetrySample back = decodeTelRecord(layout, out.data());
    EXPECT_EQ(back[TelemetrySample::kLongForce], sample[TelemetrySample::kLongForce]);
    EXPECT_EQ(back[TelemetrySample::tyreTemp(3, 2)], sample[TelemetrySample::tyreTemp(3, 2)]);
    bool hasWear = layout != TelLayout::kVersion1 && layout != TelLayout::kUnversioned;
    EXPECT_EQ(back[TelemetrySample::wear(1)], hasWear ? sample[TelemetrySample::wear(1)] : 0.0f);
    bool hasFuel = layout == TelLayout::kVersion7;
    EXPECT_EQ(back[TelemetrySample::kFuel], hasFuel ? sample[TelemetrySample::kFuel] : 0.0f);
  }
}

TEST(TelFormat, RecordCutShortReadsAsZerosInPlaceOfTheMissingBytes) {
  TelemetrySample sample = numberedSample();
  for (TelLayout layout :
       {TelLayout::kVersion7, TelLayout::kVersion6, TelLayout::kVersion5, TelLayout::kVersion1}) {
    ByteWriter out;
    appendTelRecord(out, layout, sample);
    const std::vector<std::uint8_t>& full = out.data();
    for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{6}, full.size() - 3}) {
      std::vector<std::uint8_t> padded(full.begin(), full.begin() + static_cast<long>(cut));
      padded.resize(full.size(), 0);
      TelemetrySample expected = decodeTelRecord(layout, padded);
      TelemetrySample back = decodeTelRecord(layout, std::span(full.data(), cut));
      for (int i = 0; i < TelemetrySample::kFloats; ++i) {
        EXPECT_EQ(std::memcmp(&back.values[static_cast<std::size_t>(i)],
                              &expected.values[static_cast<std::size_t>(i)], 4),
                  0)
            << "layout " << static_cast<int>(layout) << " cut " << cut << " float " << i;
      }
    }
  }
}

TEST(TelFormat, TimeSteppedRecordCarriesTimeFirstAndNoVersionWordFileStartsAtZero) {
  std::vector<TelemetrySample> samples{numberedSample()};
  std::vector<float> times{12.5f};
  auto timed = encodeTelFile(3, TelLayout::kTimeStepped, samples, times);
  ASSERT_EQ(timed.size(), 100u);
  EXPECT_EQ(floatAt(timed, 4), 12.5f);
  EXPECT_EQ(floatAt(timed, 8), samples[0][TelemetrySample::kClutch]);

  auto bare = encodeTelFile(0, TelLayout::kUnversioned, samples);
  ASSERT_EQ(bare.size(), 96u);
  EXPECT_EQ(floatAt(bare, 0), samples[0][TelemetrySample::kLapDistance]);
}

TEST(ByteReader, ShortReadsFillOnlyTheBytesThatExist) {
  const std::uint8_t bytes[] = {0x01, 0x02, 0x03};
  ByteReader in(bytes);
  in.seek(1);
  EXPECT_EQ(in.u32(), 0x0302u);
  EXPECT_EQ(in.u16(), 0u);
  in.skip(-100);
  EXPECT_EQ(in.position(), 0u);
  EXPECT_EQ(in.u24(), 0x030201u);
}

}  // namespace
}  // namespace lv
