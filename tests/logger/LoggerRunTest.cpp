#include <gtest/gtest.h>

#include <sstream>

#include "ExpectedSample.h"
#include "FakeProcessApi.h"
#include "TempFolder.h"
#include "logger/CachedGameReader.h"
#include "logger/GameVersion.h"
#include "logger/LoggerRun.h"
#include "telemetry/TelFormat.h"

namespace lv {
namespace {

constexpr const char* kRecordingDialogue =
    "Tire wear will be loged in too\n"
    "Please start gpl.exe!\n"
    "GPL version of the user: GPL1.2.0.2B\n"
    "gpl.exe found. Data will be logged.\n\n"
    "Vorbereitung aufs Speichern\n"
    "Please click into console and\n"
    "write the same name like you have used for replay\n";

// A game in fake memory whose frames follow the fake clock; it ends after its last frame.
class LoggerRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder.write("MOD.ini", "gpl.exe\r\n");
    // Written the Windows way; the backslash is this system's '/'.
    folder.write("Vantor.ini", folder.path() + "gpl\\\r\n");
    folder.write("gpl/gpl.exe", fakegame::programFileImage(kVersion102B));
    std::filesystem::create_directories(folder.path() + "gpl/replay");
    options.iniDir = folder.path();
    options.startDelaySeconds = 0;
    options.sampleCapacity = 1000;
  }

  void startGame(int frames, double rateHz = 30.0) {
    drive.rateHz = rateHz;
    drive.durationSeconds = frames / drive.rateHz;
    api.processes = {{3, "init"}, {42, "C:\\GPL\\gpl.exe"}};
    api.readsFail = false;
    shownFrame = 0;
    layout = fakegame::layoutFor(table, 1);
    for (auto [first, last] : fakegame::memoryRanges(layout)) api.zeroRange(first, last - first);
    auto write = [this](std::uint32_t address, float value) { api.putFloat(address, value); };
    fakegame::writeTorqueCurve(fakegame::torqueCurve(drive), layout, write);
    fakegame::writeFrame(fakegame::frameAt(0, drive), layout, write);
    std::uint64_t start = clock.now;
    clock.afterSleep = [this, start, frames, write] {
      int n = static_cast<int>((clock.now - start) * drive.rateHz / 1e6);
      if (n >= frames) {
        api.processes = {{3, "init"}};
        api.readsFail = true;
      } else if (n != shownFrame) {
        fakegame::writeFrame(fakegame::frameAt(n, drive), layout, write);
      }
      shownFrame = n;
    };
  }

  // A game whose clock stands still; it ends after `seconds`.
  void startFrozenGame(std::vector<ProcessEntry> processes, double seconds) {
    api.processes = processes;
    layout = fakegame::layoutFor(table, 1);
    for (auto [first, last] : fakegame::memoryRanges(layout)) api.zeroRange(first, last - first);
    std::uint64_t end = clock.now + static_cast<std::uint64_t>(seconds * 1e6);
    clock.afterSleep = [this, end] {
      if (clock.now >= end) api.processes = {{3, "init"}};
    };
  }

  int run(const std::string& input, StopRequest* stop = nullptr) {
    reader = std::make_unique<CachedGameReader>(api, clock, table, options.format);
    std::istringstream in(input);
    LoggerConsole console{out, in, [this] { out << "<pause>"; }, stop};
    return runLogger(*reader, clock, console, options);
  }

  // The samples of `name` are frames 1, 2, ... of the drive, each whole.
  void expectConsecutiveWholeFrames(const std::string& name, int count) {
    std::vector<TelemetrySample> samples = writtenSamples(name, 7);
    ASSERT_EQ(static_cast<int>(samples.size()), count);
    fakegame::TorqueCurve curve = fakegame::torqueCurve(drive);
    for (int j = 0; j < count; ++j) {
      const TelemetrySample& sample = samples[static_cast<std::size_t>(j)];
      ASSERT_EQ(testing::frameOfFuel(sample[TelemetrySample::kFuel]), j + 1)
          << "sample " << j << ": a clock change missed or a block not fetched afresh";
      TelemetrySample expected = testing::expectedSample(fakegame::frameAt(j + 1, drive), curve);
      ASSERT_EQ(sample.values, expected.values) << "sample " << j << " mixes two frames";
    }
  }

  std::vector<TelemetrySample> writtenSamples(const std::string& name, int expectedVersion) {
    std::string bytes = testing::readWholeFile(folder.path() + "gpl/replay/" + name + ".tel");
    EXPECT_GE(bytes.size(), 4u);
    std::int32_t version;
    std::memcpy(&version, bytes.data(), 4);
    EXPECT_EQ(version, expectedVersion);
    TelFileShape shape = telFileShape(version);
    EXPECT_EQ((bytes.size() - 4) % static_cast<std::size_t>(shape.recordSize), 0u);
    std::vector<TelemetrySample> samples;
    for (std::size_t at = 4; at + static_cast<std::size_t>(shape.recordSize) <= bytes.size();
         at += static_cast<std::size_t>(shape.recordSize))
      samples.push_back(decodeTelRecord(
          shape.layout, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()) + at,
                                  static_cast<std::size_t>(shape.recordSize))));
    return samples;
  }

  testing::TempFolder folder;
  testing::FakeProcessApi api;
  testing::FakeClock clock;
  AddressTable table = builtInAddressTable();
  fakegame::DriveParameters drive;
  fakegame::MemoryLayout layout;
  int shownFrame = 0;
  LoggerOptions options;
  std::ostringstream out;
  std::unique_ptr<CachedGameReader> reader;
};

TEST_F(LoggerRunTest, RecordsEveryClockChangeAndWritesAllButTheLastTwo) {
  struct Case {
    int frames;
    int capacity;
    int written;  // samples in the file; they are frames 1, 2, ...
  };
  const Case cases[] = {
      {20, 1000, 17},                // 19 changes seen after frame 0
      {20, 5, 4},                    // the table fills: one less than its size
      {3, 1000, 0},                  // two changes: nothing but the version word
      {2, 1000, 0},   {1, 1000, 0},  // the game ends before its clock moves
  };
  for (const Case& c : cases) {
    SetUp();
    options.sampleCapacity = c.capacity;
    startGame(c.frames);
    out.str("");
    EXPECT_EQ(run("  drive1 second word\n"), 0);
    EXPECT_EQ(out.str(), kRecordingDialogue);
    std::vector<TelemetrySample> samples = writtenSamples("drive1", 7);
    ASSERT_EQ(static_cast<int>(samples.size()), c.written) << c.frames;
    fakegame::TorqueCurve curve = fakegame::torqueCurve(drive);
    for (int j = 0; j < c.written; ++j) {
      TelemetrySample expected = testing::expectedSample(fakegame::frameAt(j + 1, drive), curve);
      EXPECT_EQ(samples[static_cast<std::size_t>(j)].values, expected.values) << "sample " << j;
    }
  }
}

TEST_F(LoggerRunTest, Format5KeepsTyreTemperaturesAndWear) {
  options.format = LogFormat::kVersion5;
  startGame(8);
  EXPECT_EQ(run("five\n"), 0);
  std::vector<TelemetrySample> samples = writtenSamples("five", 5);
  ASSERT_EQ(samples.size(), 5u);
  fakegame::TorqueCurve curve = fakegame::torqueCurve(drive);
  for (std::size_t j = 0; j < samples.size(); ++j) {
    TelemetrySample expected =
        testing::expectedSample(fakegame::frameAt(static_cast<int>(j) + 1, drive), curve);
    // Format 5 carries neither contact-patch temperatures nor fuel.
    for (int w = 0; w < 4; ++w)
      for (int k = 0; k < 3; ++k) expected[TelemetrySample::contactPatchTemp(w, k)] = 0.0f;
    expected[TelemetrySample::kFuel] = 0.0f;
    EXPECT_EQ(samples[j].values, expected.values) << "sample " << j;
  }
}

TEST_F(LoggerRunTest, MissingIniFileEndsWithStatus1) {
  for (const char* name : {"MOD.ini", "Vantor.ini"}) {
    SetUp();
    std::filesystem::remove(folder.path() + name);
    out.str("");
    EXPECT_EQ(run(""), 1) << name;
    EXPECT_EQ(out.str(), "Tire wear will be loged in too\nDatei falsch!!!") << name;
  }
}

TEST_F(LoggerRunTest, GermanUsersSeeTheStartHintFirst) {
  std::filesystem::remove(folder.path() + "MOD.ini");
  options.germanHint = true;
  EXPECT_EQ(run(""), 1);
  EXPECT_EQ(out.str(),
            "Pacetrace f\xC3\xBCr GPL       \n"
            "At first set the path in Vantor and the file in MOD.ini! Online you have to activate "
            "VantorOnline.xml via GEM+! This version read and save contact patch temps, tire wear "
            "and fuel too.  \n"
            "Tire wear will be loged in too\nDatei falsch!!!");
}

TEST_F(LoggerRunTest, GameNotFoundOrNotRecognisedTakesTheFailurePath) {
  const std::string advice =
      "\nData reading don't work!\n"
      "Please check if the path toyour gpl folder in Vantor.ini is correct!\n"
      "Please check if the text in MOD.ini is the exe you have started!\n"
      "\nTo finish click any button!<pause>";
  options.attachTimeoutSeconds = 0.1f;
  EXPECT_EQ(run(""), 0);
  EXPECT_EQ(out.str(),
            "Tire wear will be loged in too\nPlease start gpl.exe!\n"
            "GPL version of the user: no version detected\n" +
                advice);

  startGame(5);
  std::filesystem::remove(folder.path() + "gpl/gpl.exe");
  out.str("");
  EXPECT_EQ(run(""), 0);
  EXPECT_EQ(out.str(),
            "Tire wear will be loged in too\nPlease start gpl.exe!\n"
            "GPL version of the user: file not found\n" +
                advice);
}

TEST_F(LoggerRunTest, WaitsTheStartDelayBeforeSampling) {
  options.startDelaySeconds = 30;
  startGame(5);
  EXPECT_EQ(run("late\n"), 0);
  EXPECT_GE(clock.slept, 30000000u);
  EXPECT_TRUE(writtenSamples("late", 7).empty());  // the drive was over before the wait ended
}

TEST_F(LoggerRunTest, BusyMachineLosesNoClockChangeAndTearsNoSample) {
  // The game runs at 36 Hz, 0.78 ms slower than the reader's cache may refresh.
  struct Case {
    const char* load;
    int lateEvery;                   // every n-th sleep ends late ...
    std::uint64_t lateMicroseconds;  // ... by this much
    int slowReadEvery;               // every n-th memory read takes ...
    std::uint64_t readMicroseconds;  // ... this long
  };
  const Case cases[] = {
      {"wake-ups now and then held up by a third of a frame", 40, 9000, 0, 0},
      {"wake-ups often held up a little", 5, 1500, 0, 0},
      {"a memory read now and then held up", 0, 0, 23, 1000},
      {"both", 7, 2500, 31, 700},
  };
  for (const Case& c : cases) {
    SetUp();
    clock = testing::FakeClock{};
    clock.lateEvery = c.lateEvery;
    clock.lateMicroseconds = c.lateMicroseconds;
    startGame(400, 36.0);
    int reads = 0;
    api.onRead = [this, &c, &reads] {
      if (c.slowReadEvery > 0 && ++reads % c.slowReadEvery == 0) clock.now += c.readMicroseconds;
    };
    EXPECT_EQ(run("busy\n"), 0) << c.load;
    SCOPED_TRACE(c.load);
    expectConsecutiveWholeFrames("busy", 400 - 1 - 2);
  }
}

// Stops when the game's time has passed `seconds`, once the logger listens.
class StopAfter final : public StopRequest {
 public:
  StopAfter(testing::FakeClock& clock, double seconds)
      : clock_(clock), at_(clock.now + static_cast<std::uint64_t>(seconds * 1e6)) {}
  void listen() override { listening_ = true; }
  bool requested() const override { return listening_ && clock_.now >= at_; }

 private:
  testing::FakeClock& clock_;
  std::uint64_t at_;
  bool listening_ = false;
};

TEST_F(LoggerRunTest, StopRequestEndsTheRecordingAndItIsSaved) {
  startGame(3000);  // 100 s of game
  StopAfter stop(clock, 2.0);
  EXPECT_EQ(run("stopped\n", &stop), 0);
  EXPECT_EQ(out.str(), kRecordingDialogue);
  // Two seconds at 30 Hz: about 60 changes seen, all but the last two written.
  std::vector<TelemetrySample> samples = writtenSamples("stopped", 7);
  EXPECT_GE(samples.size(), 55u);
  EXPECT_LE(samples.size(), 60u);
  expectConsecutiveWholeFrames("stopped", static_cast<int>(samples.size()));
}

TEST_F(LoggerRunTest, SeveralMatchingProcessesAreNamedAndAStillClockIsWarnedOf) {
  startFrozenGame({{3, "init"}, {42, "C:\\GPL\\gpl.exe"}, {57, "notepad-gpl.exe"}}, 1.5);
  EXPECT_EQ(run("still\n"), 0);
  EXPECT_EQ(out.str(),
            "Tire wear will be loged in too\n"
            "Please start gpl.exe!\n"
            "GPL version of the user: GPL1.2.0.2B\n"
            "More than one process matches gpl.exe; recording process 57 (notepad-gpl.exe).\n"
            "Not recorded: process 42 (C:\\GPL\\gpl.exe)\n"
            "gpl.exe found. Data will be logged.\n\n"
            "Warning: the game's clock has not moved in the first second of recording.\n"
            "If you are driving already, nothing is being recorded. Either vantor may not read\n"
            "the game's memory (on Linux see kernel.yama.ptrace_scope in the README), or the\n"
            "process it took is not the game but another program whose name contains gpl.exe.\n"
            "Vorbereitung aufs Speichern\n"
            "Please click into console and\n"
            "write the same name like you have used for replay\n");
}

// Shows only what has been flushed, the way a console behind a pipe does.
class FlushedText final : public std::stringbuf {
 public:
  std::string shown;

 protected:
  int sync() override {
    shown = str();
    return 0;
  }
};

TEST_F(LoggerRunTest, EveryLineIsOnTheConsoleBeforeTheLoggerWaits) {
  FlushedText console;
  std::ostream flushedOut(&console);
  std::vector<std::string> unflushed;
  auto check = [&] {
    std::string all = console.str();
    if (all != console.shown) unflushed.push_back(all.substr(console.shown.size()));
  };
  api.onQuery = check;
  clock.afterSleep = check;
  startGame(5);
  std::function<void()> gameStep = clock.afterSleep;
  clock.afterSleep = [&] {
    check();
    gameStep();
  };
  reader = std::make_unique<CachedGameReader>(api, clock, table, options.format);
  std::istringstream in("flushed\n");
  LoggerConsole lineConsole{flushedOut, in, [] {}};
  EXPECT_EQ(runLogger(*reader, clock, lineConsole, options), 0);
  EXPECT_EQ(unflushed, std::vector<std::string>{});
}

}  // namespace
}  // namespace lv
