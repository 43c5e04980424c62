#include "telemetry/TelFormat.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "telemetry/ByteReader.h"

namespace lv {
namespace {

// Float indices of the full sample, in the order each layout stores them.
std::vector<int> buildFloatOrder(TelLayout layout) {
  std::vector<int> order;
  auto addRange = [&order](int first, int last) {
    for (int i = first; i <= last; ++i) order.push_back(i);
  };
  switch (layout) {
    case TelLayout::kVersion7:
      addRange(0, 40);
      break;
    case TelLayout::kVersion6:
      addRange(0, 39);
      break;
    case TelLayout::kVersion5:
    case TelLayout::kVersion1:
    case TelLayout::kUnversioned:
    case TelLayout::kTimeStepped:
      addRange(0, 11);
      for (int wheel = 0; wheel < 4; ++wheel)
        for (int value = 0; value < 3; ++value)
          order.push_back(TelemetrySample::tyreTemp(wheel, value));
      if (layout == TelLayout::kVersion5)
        for (int wheel = 0; wheel < 4; ++wheel) order.push_back(TelemetrySample::wear(wheel));
      break;
  }
  return order;
}

const std::vector<int>& layoutFloatOrder(TelLayout layout) {
  static const std::vector<int> orders[] = {
      buildFloatOrder(TelLayout::kVersion7),    buildFloatOrder(TelLayout::kVersion6),
      buildFloatOrder(TelLayout::kVersion5),    buildFloatOrder(TelLayout::kVersion1),
      buildFloatOrder(TelLayout::kTimeStepped), buildFloatOrder(TelLayout::kUnversioned)};
  return orders[static_cast<int>(layout)];
}

}  // namespace

TelFileShape telFileShape(std::int32_t versionWord) {
  TelLayout layout;
  if (versionWord == 7) {
    layout = TelLayout::kVersion7;
  } else if (versionWord == 6) {
    layout = TelLayout::kVersion6;
  } else if (versionWord == 5) {
    layout = TelLayout::kVersion5;
  } else if (versionWord == 1) {
    layout = TelLayout::kVersion1;
  } else if (versionWord == 2 || versionWord == 3) {
    layout = TelLayout::kTimeStepped;
  } else {
    return {TelLayout::kUnversioned, 96, 0};
  }
  return {layout, telRecordSize(layout), 4};
}

void appendTelRecord(ByteWriter& out, TelLayout layout, const TelemetrySample& sample,
                     float timeSeconds) {
  bool first = true;
  for (int index : layoutFloatOrder(layout)) {
    out.f32(first && layout == TelLayout::kTimeStepped ? timeSeconds : sample[index]);
    first = false;
  }
}

TelemetrySample decodeTelRecord(TelLayout layout, std::span<const std::uint8_t> record) {
  TelemetrySample sample;
  const std::vector<int>& order = layoutFloatOrder(layout);
  if (std::endian::native == std::endian::little &&
      (layout == TelLayout::kVersion7 || layout == TelLayout::kVersion6)) {
    // These layouts hold the sample's own floats in its own order, little-endian: on such a
    // machine their bytes are the sample's bytes, and a long drive holds hundreds of
    // thousands of records. Bytes missing at the end stay zero, as read one by one.
    std::size_t bytes = std::min(record.size(), order.size() * sizeof(float));
    std::memcpy(sample.values.data(), record.data(), bytes);
    return sample;
  }
  ByteReader in(record);
  for (int index : order) sample[index] = in.f32();
  return sample;
}

std::vector<std::uint8_t> encodeTelFile(std::int32_t versionWord, TelLayout layout,
                                        std::span<const TelemetrySample> samples,
                                        std::span<const float> timesSeconds) {
  ByteWriter out;
  if (layout != TelLayout::kUnversioned) out.i32(versionWord);
  for (std::size_t i = 0; i < samples.size(); ++i) {
    float time = i < timesSeconds.size() ? timesSeconds[i] : 0.0f;
    appendTelRecord(out, layout, samples[i], time);
  }
  return std::move(out.data());
}

}  // namespace lv
