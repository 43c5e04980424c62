#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "logger/GameReader.h"
#include "logger/LogFormat.h"

namespace lv {

// The recording: a fixed number of zeroed records, allocated once so that sampling never
// allocates. The system hands out the zeroed memory page by page as sampling reaches it.
class SampleTable {
 public:
  static constexpr int kCapacity = 400000;

  explicit SampleTable(LogFormat format, int capacity = kCapacity);

  int capacity() const { return capacity_; }
  int floatsPerRecord() const { return floatsPerRecord_; }
  const float* record(int index) const { return floats_.get() + index * floatsPerRecord_; }

  // Fills record `index` from the game, in the read order of the format.
  void fill(int index, GameReader& reader);

  // The .tel image: the format version word and the first `count` records.
  std::vector<std::uint8_t> fileBytes(int count) const;

 private:
  float* record(int index) { return floats_.get() + index * floatsPerRecord_; }
  void fillVersion7(float* sample, GameReader& reader);
  void fillVersion5(float* sample, GameReader& reader);

  LogFormat format_;
  int capacity_;
  int floatsPerRecord_;
  struct Release {
    void operator()(float* floats) const;
  };
  std::unique_ptr<float[], Release> floats_;
};

}  // namespace lv
