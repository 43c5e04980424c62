#include "logger/SampleTable.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "telemetry/ByteWriter.h"
#include "telemetry/TelemetrySample.h"

namespace lv {

SampleTable::SampleTable(LogFormat format, int capacity)
    : format_(format),
      capacity_(capacity),
      floatsPerRecord_(format == LogFormat::kVersion5 ? 28 : TelemetrySample::kFloats),
      floats_(static_cast<float*>(std::calloc(
          static_cast<std::size_t>(capacity) * static_cast<std::size_t>(floatsPerRecord_),
          sizeof(float)))) {
  if (!floats_) throw std::bad_alloc();
}

void SampleTable::Release::operator()(float* floats) const {
  std::free(floats);
}

void SampleTable::fill(int index, GameReader& reader) {
  if (format_ == LogFormat::kVersion5) {
    fillVersion5(record(index), reader);
  } else {
    fillVersion7(record(index), reader);
  }
}

// The order of the reads is part of the recording's timing: the wear values first, then the
// values the game updates together.
void SampleTable::fillVersion7(float* s, GameReader& reader) {
  using T = TelemetrySample;
  for (int wheel = 3; wheel >= 0; --wheel) reader.readWheelArray(4 + wheel, s + T::wear(wheel));
  s[T::kMapY] = reader.readMapY();
  s[T::kLatForce] = reader.readLatForce();
  s[T::kLongForce] = reader.readLongForce();
  for (int wheel = 3; wheel >= 0; --wheel)
    reader.readWheelArray(wheel, s + T::contactPatchTemp(wheel, 0));
  s[T::kMapX] = reader.readMapX();
  s[T::kLapDistance] = reader.readLapDistance();
  s[T::kClutch] = reader.readClutch();
  s[T::kTorque] = reader.readTorque();
  s[T::kRpm] = reader.readRpm();
  s[T::kSpeed] = reader.readSpeedKmh();
  s[T::kThrottle] = reader.readThrottle();
  s[T::kBrake] = reader.readBrake();
  s[T::kFuel] = reader.readFuel();
  s[T::kVertForce] = reader.readVertForce();
}

// Each wheel read stores three floats; the wear reads (7..4) land in 22..27 first and the
// temperature reads (0..3) then overwrite 12..23, leaving the wear values in 24..27.
void SampleTable::fillVersion5(float* s, GameReader& reader) {
  using T = TelemetrySample;
  for (int index = 7; index >= 4; --index) reader.readWheelArray(index, s + 18 + index);
  for (int wheel = 0; wheel < 4; ++wheel) reader.readWheelArray(wheel, s + 12 + 3 * wheel);
  s[T::kVertForce] = reader.readVertForce();
  s[T::kLatForce] = reader.readLatForce();
  s[T::kLongForce] = reader.readLongForce();
  s[T::kMapX] = reader.readMapX();
  s[T::kLapDistance] = reader.readLapDistance();
  s[T::kClutch] = reader.readClutch();
  s[T::kTorque] = reader.readTorque();
  s[T::kRpm] = reader.readRpm();
  s[T::kSpeed] = reader.readSpeedKmh();
  s[T::kThrottle] = reader.readThrottle();
  s[T::kBrake] = reader.readBrake();
  s[T::kMapY] = reader.readMapY();
}

std::vector<std::uint8_t> SampleTable::fileBytes(int count) const {
  count = std::clamp(count, 0, capacity_);
  ByteWriter out;
  out.data().reserve(4 + static_cast<std::size_t>(count) *
                             static_cast<std::size_t>(floatsPerRecord_) * 4);
  out.i32(static_cast<std::int32_t>(format_));
  const float* floats = floats_.get();
  std::size_t total = static_cast<std::size_t>(count) * static_cast<std::size_t>(floatsPerRecord_);
  for (std::size_t i = 0; i < total; ++i) out.f32(floats[i]);
  return std::move(out.data());
}

}  // namespace lv
