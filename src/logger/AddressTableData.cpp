#include "logger/AddressTable.h"

namespace lv {
namespace {

// Block addresses per version, columns 0..10 (engine, pedals, lap, clock, fuel, torque curve,
// wheels 0..3, forces). Each version's blocks lie apart from the others' so that no two rows
// share memory.
constexpr std::uint32_t kRowAddresses[][11] = {
    // row 1: GPL1.2.0.2B
    {0x0079C000, 0x0079C100, 0x0079C200, 0x0079C300, 0x0079C400, 0x0079C500, 0x0079C600, 0x0079C700,
     0x0079C800, 0x0079C900, 0x0079CA00},
    // row 3: GPL1.2.0.1B
    {0x007A0000, 0x007A0100, 0x007A0200, 0x007A0300, 0x007A0400, 0x007A0500, 0x007A0600, 0x007A0700,
     0x007A0800, 0x007A0900, 0x007A0A00},
    // row 4: GPL1.2.0.1A
    {0x007A2000, 0x007A2100, 0x007A2200, 0x007A2300, 0x007A2400, 0x007A2500, 0x007A2600, 0x007A2700,
     0x007A2800, 0x007A2900, 0x007A2A00},
    // row 6: GPL1.2.0.2A
    {0x007A4000, 0x007A4100, 0x007A4200, 0x007A4300, 0x007A4400, 0x007A4500, 0x007A4600, 0x007A4700,
     0x007A4800, 0x007A4900, 0x007A4A00},
};
constexpr int kRowsInUse[] = {1, 3, 4, 6};

constexpr std::array<std::uint32_t, kAddressRows * kBlocks> scrambledTable() {
  std::array<std::uint32_t, kAddressRows * kBlocks> words{};
  for (int i = 0; i < 4; ++i)
    for (int column = 0; column < 11; ++column)
      words[static_cast<std::size_t>(kRowsInUse[i] * kBlocks + column)] = kRowAddresses[i][column];
  scrambleWords(words);
  return words;
}

// Only the scrambled words end up in the program image.
constexpr std::array<std::uint32_t, kAddressRows* kBlocks> kScrambledTable = scrambledTable();

}  // namespace

AddressTable builtInAddressTable() {
  std::array<std::uint32_t, kAddressRows* kBlocks> words = kScrambledTable;
  unscrambleWords(words);
  AddressTable table{};
  for (int row = 0; row < kAddressRows; ++row)
    for (int column = 0; column < kBlocks; ++column)
      table[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] =
          words[static_cast<std::size_t>(row * kBlocks + column)];
  return table;
}

}  // namespace lv
