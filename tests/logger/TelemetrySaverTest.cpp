#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <sstream>
#include <vector>

#include "TempFolder.h"
#include "logger/TelemetrySaver.h"

namespace lv {
namespace {

constexpr const char* kPrompt =
    "Please click into console and\n"
    "write the same name like you have used for replay\n";

// Runs the save dialogue inside `folder` (the current folder gets the fallback file).
std::string save(const testing::TempFolder& folder, const std::string& input, bool& saved) {
  char previous[4096];
  EXPECT_NE(getcwd(previous, sizeof previous), nullptr);
  EXPECT_EQ(chdir(folder.path().c_str()), 0);
  std::ostringstream out;
  std::istringstream in(input);
  saved = saveRecording(out, in, folder.path() + "replay/", {7, 0, 0, 0, 1, 2, 3, 4});
  EXPECT_EQ(chdir(previous), 0);
  return out.str();
}

TEST(SaveRecording, AsksAgainUntilTheFileCanBeWritten) {
  testing::TempFolder folder;
  std::filesystem::create_directories(folder.path() + "replay");
  bool saved = false;
  std::string output = save(folder, "\n  missing/run\ngood one\n", saved);
  EXPECT_TRUE(saved);
  std::string failed = folder.path() + "replay/missing/run.tel";
  EXPECT_EQ(output, std::string("Vorbereitung aufs Speichern\n") + kPrompt +
                        "Could not save the telemetry: " + failed +
                        ": No such file or directory\n" + kPrompt);
  EXPECT_EQ(testing::readWholeFile(folder.path() + "replay/good.tel"),
            std::string("\x07\0\0\0\x01\x02\x03\x04", 8));
}

TEST(SaveRecording, EndOfInputSavesUnderAFreeFallbackName) {
  testing::TempFolder folder;
  folder.write("Vantor-recording.tel", "earlier");
  bool saved = false;
  std::string output = save(folder, "nofolder\n", saved);
  EXPECT_TRUE(saved);
  EXPECT_NE(output.find("Telemetry saved as Vantor-recording-2.tel\n"), std::string::npos)
      << output;
  EXPECT_EQ(testing::readWholeFile(folder.path() + "Vantor-recording.tel"), "earlier");
  EXPECT_EQ(testing::readWholeFile(folder.path() + "Vantor-recording-2.tel").size(), 8u);
}

// False where the system has no links to plant (MinGW's library under Wine).
bool plantLink(const std::string& target, const std::string& link) {
  std::error_code error;
  std::filesystem::create_symlink(target, link, error);
  return !error;
}

TEST(SaveRecording, FallbackNamesTakenByAnythingAreSkipped) {
  testing::TempFolder folder;
  std::filesystem::create_directories(folder.path() + "Vantor-recording.tel");
  if (!plantLink(folder.path() + "nowhere", folder.path() + "Vantor-recording-2.tel"))
    GTEST_SKIP() << "no symbolic links in this file system";
  bool saved = false;
  std::string output = save(folder, "", saved);
  EXPECT_TRUE(saved);
  EXPECT_NE(output.find("Telemetry saved as Vantor-recording-3.tel\n"), std::string::npos)
      << output;
  EXPECT_EQ(testing::readWholeFile(folder.path() + "Vantor-recording-3.tel").size(), 8u);
  EXPECT_FALSE(std::filesystem::exists(folder.path() + "nowhere"));
}

TEST(SaveRecording, ALinkPlantedWhereTheTemporaryFileUsedToBeIsNotFollowed) {
  testing::TempFolder folder;
  std::filesystem::create_directories(folder.path() + "replay");
  std::string victim = folder.write("victim.txt", "keep me");
  if (!plantLink(victim, folder.path() + "replay/drive.tel.part"))
    GTEST_SKIP() << "no symbolic links in this file system";
  bool saved = false;
  save(folder, "drive\n", saved);
  EXPECT_TRUE(saved);
  EXPECT_EQ(testing::readWholeFile(victim), "keep me");
  EXPECT_EQ(testing::readWholeFile(folder.path() + "replay/drive.tel"),
            std::string("\x07\0\0\0\x01\x02\x03\x04", 8));
  // Nothing is left behind but the planted link itself.
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path() + "replay"))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"drive.tel", "drive.tel.part"}));
}

}  // namespace
}  // namespace lv
