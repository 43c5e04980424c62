#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <string>
#include <vector>

#include "FileMappingProbes.h"
#include "telemetry/FileBytes.h"
#include "viewer/load/FixedTable.h"

namespace lv {
namespace {

constexpr std::size_t kTableBytes = std::size_t{13} << 18;  // a little over 3 MiB

std::vector<std::uint8_t> patternBytes(std::size_t count, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(count);
  std::uint32_t x = seed;
  for (auto& b : bytes) {
    x = x * 1664525u + 1013904223u;
    b = static_cast<std::uint8_t>(x >> 24);
  }
  return bytes;
}

struct TableOfFile {
  std::string path;
  std::vector<std::uint8_t> content;
  FileBytes file;

  TableOfFile(const std::string& name, std::size_t size) : path(::testing::TempDir() + name) {
    content = patternBytes(size, static_cast<std::uint32_t>(size));
    EXPECT_TRUE(writeFileAtomically(path, content));
    EXPECT_TRUE(file.open(path));
  }
};

#define SKIP_WITHOUT_LEASES() \
  if (!leasesGranted()) GTEST_SKIP() << "this system grants no file leases here"

std::uintptr_t addressOf(FixedTable<std::uint8_t>& table) {
  return reinterpret_cast<std::uintptr_t>(table.data());
}

// Every byte of the table: the file's bytes where they were put, zeros elsewhere.
void expectTableHolds(FixedTable<std::uint8_t>& table, std::size_t firstByte,
                      const std::vector<std::uint8_t>& content, std::size_t offset,
                      std::size_t bytes) {
  std::size_t wrong = 0;
  for (std::size_t i = 0; i < table.capacity(); ++i) {
    bool put = i >= firstByte && i < firstByte + bytes;
    std::uint8_t expected = put ? content[offset + (i - firstByte)] : 0;
    if (table[i] != expected && ++wrong < 4) ADD_FAILURE() << "byte " << i;
  }
  EXPECT_EQ(wrong, 0u);
}

// Rows put from a file hold its bytes, with zeros around them, wherever the file's bytes and
// the table's lie within their pages; where they cannot line up, nothing is put and the
// caller reads them. Clearing gives zeros back, not the file's pages.
TEST(FileRows, HoldTheFilesBytesWhereverTheyLie) {
  SKIP_WITHOUT_LEASES();
  TableOfFile source("file-rows.bin", std::size_t{3} << 20);
  struct Case {
    std::size_t firstByte, offset, bytes;
    bool mapped;
  };
  const Case cases[] = {
      {0, 0, std::size_t{2} << 20, true},              // pages line up as they are
      {0, 1, 3 * 4096 + 5, true},                      // the table moves by a byte
      {0, 4095, (std::size_t{3} << 20) - 4095, true},  // to the file's very end
      {0, 4096 + 17, 2 * 4096, true},                  // one whole page among them
      {0, 100, 4096, false},                           // no whole page among them
      {kTableBytes - 3 * 4096, 0, 5 * 4096, true},     // clipped at the table's end
      {kTableBytes, 0, 4096 * 4, false},               // beyond the table
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "from byte " << c.firstByte << ", file offset " << c.offset
                                    << ", " << c.bytes << " bytes");
    FixedTable<std::uint8_t> table(kTableBytes);
    std::size_t first = c.firstByte;
    std::size_t offset = c.offset;
    if (first != 0) offset += (addressOf(table) + first) % 4096;  // they line up there
    ASSERT_EQ(table.mapFileRows(first, source.file, offset, c.bytes), c.mapped);
    std::size_t put = c.mapped ? std::min(c.bytes, kTableBytes - first) : 0;
    expectTableHolds(table, first, source.content, offset, put);
    EXPECT_EQ(fileMappedWithin(source.path, addressOf(table), addressOf(table) + kTableBytes),
              c.mapped);
    table.clear();
    expectTableHolds(table, 0, source.content, 0, 0);
    EXPECT_FALSE(fileMappedWithin(source.path, addressOf(table), addressOf(table) + kTableBytes));
  }
}

// Rows after the first load cannot move: where their bytes do not lie within a page as the
// file's do, they are read, and the rows already there are kept.
TEST(FileRows, LaterRowsOutOfLineAreLeftToBeRead) {
  SKIP_WITHOUT_LEASES();
  TableOfFile source("file-rows-later.bin", std::size_t{1} << 20);
  FixedTable<std::uint8_t> table(kTableBytes);
  ASSERT_TRUE(table.mapFileRows(0, source.file, 8, 500000));
  std::size_t first = 500000;
  std::size_t offset = (addressOf(table) + first + 1) % 4096;
  EXPECT_FALSE(table.mapFileRows(first, source.file, offset, 300000));
  expectTableHolds(table, 0, source.content, 8, 500000);
}

// A file open for writing elsewhere is not leased, so its pages are not mapped.
TEST(FileRows, AFileOpenForWritingIsRead) {
  TableOfFile source("file-rows-written.bin", std::size_t{1} << 20);
  int writer = ::open(source.path.c_str(), O_WRONLY | O_CLOEXEC);
  ASSERT_GE(writer, 0);
  FixedTable<std::uint8_t> table(kTableBytes);
  EXPECT_FALSE(table.mapFileRows(0, source.file, 0, 500000));
  ::close(writer);
  expectTableHolds(table, 0, source.content, 0, 0);
}

// Another program rewrites or cuts the file while its pages are the table's rows: it waits
// until the rows are the viewer's own, and they keep the bytes the file had.
TEST(FileRows, KeepTheirBytesWhenAnotherProgramRewritesOrCutsTheFile) {
  SKIP_WITHOUT_LEASES();
  for (bool cut : {true, false}) {
    SCOPED_TRACE(cut ? "cut to nothing" : "rewritten in place");
    TableOfFile source("file-rows-changed.bin", std::size_t{2} << 20);
    FixedTable<std::uint8_t> table(kTableBytes);
    ASSERT_TRUE(table.mapFileRows(0, source.file, 0, source.content.size()));
    source.file = FileBytes();  // as after a load: only the rows keep the file

    std::vector<std::uint8_t> other(cut ? 100 : source.content.size(), 0xAB);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int fd = ::open(source.path.c_str(), O_WRONLY | (cut ? O_TRUNC : 0));
      bool written =
          fd >= 0 && ::write(fd, other.data(), other.size()) == static_cast<ssize_t>(other.size());
      _exit(written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    expectTableHolds(table, 0, source.content, 0, source.content.size());
    EXPECT_FALSE(fileMappedWithin(source.path, addressOf(table), addressOf(table) + kTableBytes));
  }
}

}  // namespace
}  // namespace lv
