// Whole-file reading and the atomic write, against what a user's folder may hold instead of
// a plain file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "telemetry/FileBytes.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lv {
namespace {

namespace fs = std::filesystem;

class Folder {
 public:
  Folder() {
    static int counter = 0;
    path_ = fs::temp_directory_path() /
            ("filebytes-test-" + std::to_string(++counter) + "-" +
             std::to_string(fs::file_time_type::clock::now().time_since_epoch().count()));
    fs::create_directories(path_);
  }
  ~Folder() { fs::remove_all(path_); }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(path_))
      found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
  }

 private:
  fs::path path_;
};

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::span<const std::uint8_t> asBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

#ifdef _WIN32
const char* const kDevice = "NUL";
#else
const char* const kDevice = "/dev/null";
#endif

// Blocks copied out of an open file: only the bytes the file holds, the rest of the target
// left as it was, at any offset, also once the file has been cut short since it was opened.
TEST(FileBytes, CopiesOutOnlyTheBytesTheFileHeld) {
  Folder folder;
  std::string path = folder.file("blocks.bin");
  std::string content(100000, '\0');
  for (std::size_t i = 0; i < content.size(); ++i) content[i] = static_cast<char>(i * 7);
  std::ofstream(path, std::ios::binary) << content;
  FileBytes file;
  ASSERT_TRUE(file.open(path));
  struct Case {
    std::size_t offset, count, copied;
  };
  const Case cases[] = {{0, 100000, 100000}, {4096, 10, 10}, {99990, 40, 10},
                        {100000, 8, 0},      {250000, 8, 0}, {17, 0, 0}};
  for (const Case& c : cases) {
    std::string out(c.count + 4, 'x');
    EXPECT_EQ(file.copyOut(c.offset, out.data(), c.count), c.copied) << c.offset;
    EXPECT_EQ(out.substr(0, c.copied),
              content.substr(std::min(c.offset, content.size()), c.copied));
    EXPECT_EQ(out.substr(c.copied), std::string(c.count + 4 - c.copied, 'x')) << c.offset;
  }
#ifndef _WIN32
  fs::resize_file(path, 5000);  // a mapped file cut short cannot be read past its new end
  std::string out(100, 'x');
  EXPECT_EQ(file.copyOut(4950, out.data(), 100), 50u);
  EXPECT_EQ(out.substr(50), std::string(50, 'x'));
#endif
}

TEST(FileBytes, RefusesWhatIsNotARegularFileBeforeReading) {
  Folder folder;
  fs::create_directories(folder.file("laps"));
  struct Case {
    std::string path;
    std::string message;
  } cases[] = {
      {folder.file("laps"), folder.file("laps") + ": is a folder"},
      {kDevice, std::string(kDevice) + ": not a regular file"},
  };
  for (const Case& c : cases) {
    FileBytes file;
    Status status = file.open(c.path);
    EXPECT_FALSE(status.isOk()) << c.path;
    EXPECT_EQ(status.message(), c.message);
    EXPECT_TRUE(file.bytes().empty());
  }
}

#ifdef _WIN32
// A pipe nobody writes to would keep a reader waiting for ever.
TEST(FileBytes, RefusesANamedPipeWithoutWaitingForIt) {
  std::string name = "\\\\.\\pipe\\filebytes-test-" + std::to_string(GetCurrentProcessId());
  HANDLE server =
      CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  FileBytes file;
  Status status = file.open(name);
  CloseHandle(server);
  EXPECT_FALSE(status.isOk());
  EXPECT_EQ(status.message(), name + ": not a regular file");
}
#endif

TEST(WriteFileAtomically, LeavesAFilePlantedUnderTheOldTemporaryNameAlone) {
  Folder folder;
  std::string target = folder.file("drive.tel");
  std::ofstream(target, std::ios::binary) << "old";
  std::ofstream(target + ".part", std::ios::binary) << "planted";
  ASSERT_TRUE(writeFileAtomically(target, asBytes("new content")).isOk());
  EXPECT_EQ(contentOf(target), "new content");
  EXPECT_EQ(contentOf(target + ".part"), "planted");
  EXPECT_EQ(folder.names(), (std::vector<std::string>{"drive.tel", "drive.tel.part"}));
}

TEST(WriteFileAtomically, ReportsAFolderItCannotWriteInAndLeavesNothing) {
  Folder folder;
  std::string target = folder.file("missing") + "/drive.tel";
  Status status = writeFileAtomically(target, asBytes("x"));
  EXPECT_FALSE(status.isOk());
  EXPECT_EQ(status.message().rfind(target + ": ", 0), 0u) << status.message();
  EXPECT_TRUE(folder.names().empty());
}

}  // namespace
}  // namespace lv
