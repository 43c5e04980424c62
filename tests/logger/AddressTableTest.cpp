#include <gtest/gtest.h>

#include "logger/AddressOverrides.h"
#include "logger/AddressTable.h"

namespace lv {
namespace {

TEST(AddressTableScrambling, KeyStreamOfTheMinimalStandardGenerator) {
  // Stored zeros unscramble to the bare key stream; the second case mixes earlier stored
  // words into the seed.
  std::array<std::uint32_t, 3> zeros{};
  unscrambleWords(zeros);
  EXPECT_EQ(zeros, (std::array<std::uint32_t, 3>{0x18571766, 0x06e287df, 0x365168bb}));

  std::array<std::uint32_t, 3> stored{0x12345678, 0x9abcdef0, 0xdeadbeef};
  unscrambleWords(stored);
  EXPECT_EQ(stored, (std::array<std::uint32_t, 3>{0x0a63411e, 0x8ad2eb73, 0x9b3aad07}));
}

TEST(AddressTableScrambling, RoundTripRestoresEveryWord) {
  std::array<std::uint32_t, kAddressRows * kBlocks> words{};
  for (std::size_t i = 0; i < words.size(); ++i)
    words[i] = static_cast<std::uint32_t>(i * 2654435761u);
  auto plain = words;
  scrambleWords(words);
  EXPECT_NE(words, plain);
  unscrambleWords(words);
  EXPECT_EQ(words, plain);
}

TEST(AddressTable, BuiltInRowsCoverTheFourVersions) {
  AddressTable table = builtInAddressTable();
  for (int row = 0; row < kAddressRows; ++row) {
    bool used = row == 1 || row == 3 || row == 4 || row == 6;
    for (int column = 0; column < kBlocks; ++column) {
      std::uint32_t address =
          table[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
      EXPECT_EQ(address != 0, used && column <= block::kForces) << row << "," << column;
    }
  }
}

std::vector<std::string> applyText(const std::string& text, AddressTable& table) {
  return applyAddressOverrides(
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), table);
}

TEST(AddressOverrides, LinesReplaceColumnsOfARow) {
  AddressTable table = builtInAddressTable();
  AddressTable original = table;
  auto problems = applyText(
      "# comment\n\n"
      "GPL1.2.0.1A 0x00500000 - 5242880\r\n"
      "  7\t0x10 0x20\n",
      table);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(table[4][0], 0x00500000u);
  EXPECT_EQ(table[4][1], original[4][1]);
  EXPECT_EQ(table[4][2], 5242880u);
  EXPECT_EQ(table[4][3], original[4][3]);
  EXPECT_EQ(table[7][0], 0x10u);
  EXPECT_EQ(table[7][1], 0x20u);
  EXPECT_TRUE(table[1] == original[1]);
}

std::string manyAddresses(int count) {
  std::string line = "1";
  for (int i = 0; i < count; ++i) line += " 1";
  return line;
}

TEST(AddressOverrides, BadLinesAreReportedAndChangeNothing) {
  struct Case {
    std::string line;
    std::string problem;
  };
  const Case cases[] = {
      {"GPL2.0 0x1", "line 1: unknown version or row \"GPL2.0\""},
      {"16 0x1", "line 1: unknown version or row \"16\""},
      {"1 0x100 zz", "line 1: not an address: \"zz\""},
      {"1 0x1FFFFFFFF", "line 1: not an address: \"0x1FFFFFFFF\""},
      {manyAddresses(65), "line 1: more than 64 addresses"},
  };
  for (const Case& c : cases) {
    AddressTable table = builtInAddressTable();
    AddressTable original = table;
    auto problems = applyText(c.line, table);
    ASSERT_EQ(problems.size(), 1u) << c.line;
    EXPECT_EQ(problems[0], c.problem);
    EXPECT_TRUE(table == original) << c.line;
  }
}

}  // namespace
}  // namespace lv
