#include <gtest/gtest.h>

#include "FakeDrive.h"
#include "FakeProcessApi.h"
#include "TempFolder.h"
#include "logger/GameVersion.h"
#include "logger/IniFile.h"
#include "logger/ProcessFinder.h"
#include "platform/posix/UserLanguage.h"

namespace lv {
namespace {

TEST(FindProcess, CaseInsensitiveSubstringAndTheLastMatchWins) {
  testing::FakeProcessApi api;
  api.processes = {{10, "bash"}, {11, "C:\\GPL\\GPL.EXE"}, {12, "/usr/bin/mygpl.exe"}, {13, "top"}};
  struct Case {
    std::string name;
    FoundProcess expected;
  };
  const Case cases[] = {
      {"gpl.exe", {true, 12}}, {"GPL.exe", {true, 12}}, {"\\gpl.exe", {true, 11}},
      {"", {true, 13}},        {"wine", {false, 0}},
  };
  for (const Case& c : cases) {
    FoundProcess found = findProcess(api, c.name);
    EXPECT_EQ(found.found, c.expected.found) << c.name;
    if (c.expected.found) {
      EXPECT_EQ(found.id, c.expected.id) << c.name;
    }
  }
}

std::string withWord(std::string image, std::size_t offset, std::uint32_t word) {
  if (image.size() < offset + 4) image.resize(offset + 4, '\0');
  for (int i = 0; i < 4; ++i)
    image[offset + static_cast<std::size_t>(i)] = static_cast<char>(word >> (8 * i));
  return image;
}

TEST(DetectVersion, MarkerAndBuildWord) {
  testing::TempFolder folder;
  const std::string blank(700000, '\0');
  struct Case {
    std::string name;
    std::string image;
    std::string expected;
  };
  std::string first = withWord(blank, kMarkerOffset12010, kVersionMarker);
  std::string second = withWord(blank, kMarkerOffset12020, kVersionMarker);
  const Case cases[] = {
      {"a", fakegame::programFileImage(kVersion101A), "GPL1.2.0.1A"},
      {"b", fakegame::programFileImage(kVersion101B), "GPL1.2.0.1B"},
      {"c", fakegame::programFileImage(kVersion102A), "GPL1.2.0.2A"},
      {"d", fakegame::programFileImage(kVersion102B), "GPL1.2.0.2B"},
      {"e", blank, "not recognized"},
      {"f", std::string(658245, '\0'), "not recognized"},
      // The marker cut by the end of the file: the missing byte counts as 0xFF.
      {"g", withWord(blank, kMarkerOffset12010, kVersionMarker).substr(0, kMarkerOffset12010 + 3),
       "not recognized"},
      // First marker with a foreign build word: the second position is not tried.
      {"h",
       withWord(withWord(second, kMarkerOffset12010, kVersionMarker), kBuildWordOffset12020,
                0x0079B930),
       "not recognized"},
      {"i", withWord(first, kBuildWordOffset12010, 0x0079BFF8), "GPL1.2.0.1B"},
      {"j", withWord(second, kBuildWordOffset12020, 0x0079B931), "not recognized"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(detectVersion(folder.write(c.name, c.image)), c.expected) << c.name;
  EXPECT_EQ(detectVersion(""), "not a valid filename");
  EXPECT_EQ(detectVersion(folder.path() + "missing.exe"), "file not found");
  EXPECT_EQ(detectVersion(folder.path()), "file not found");
}

TEST(IniFile, FirstLineIsTakenWhole) {
  auto line = [](const std::string& text) {
    return firstLineOf(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
  };
  EXPECT_EQ(line("gpl.exe\r\nsecond"), "gpl.exe");
  EXPECT_EQ(line("C:\\Sierra\\GPL\\\nrest"), "C:\\Sierra\\GPL\\");
  EXPECT_EQ(line("no line end"), "no line end");
  EXPECT_EQ(line(""), "");
  EXPECT_EQ(line(std::string(300, 'x') + "\n"), std::string(300, 'x'));
  EXPECT_FALSE(readFirstLine("/nonexistent/MOD.ini").has_value());
}

TEST(UserLanguage, GermanByThePosixPrecedence) {
  EXPECT_TRUE(isGermanLanguage(nullptr, nullptr, "de_DE.UTF-8"));
  EXPECT_TRUE(isGermanLanguage("de", "en_US", "en_US"));
  EXPECT_TRUE(isGermanLanguage("", "de_AT", "en_US"));
  EXPECT_FALSE(isGermanLanguage("en_US.UTF-8", nullptr, "de_DE"));
  EXPECT_FALSE(isGermanLanguage(nullptr, nullptr, "des"));
  EXPECT_FALSE(isGermanLanguage(nullptr, nullptr, nullptr));
}

}  // namespace
}  // namespace lv
