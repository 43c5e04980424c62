// Writes the seed corpus of every fuzz target into FOLDER/<area>/seeds/<target>/:
// replays of both frame rates and of each kind, multiplayer recordings, .tel files of every
// version, saved-laps files of every version, track.ini and Ping.ini texts, ini lines and address
// files. Drives run on a track of a few dozen metres, so that a few kilobytes hold a crossing of
// the line.
//
//   build/fuzz/bin/make-fuzz-seeds fuzz     (from the repository's top folder)

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/gplsim/Gplsim.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/SavedLapsFile.h"
#include "viewer/load/TelemetryAttachment.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr double kShortTrackMiles = 0.03;  // 48 m: a lap in about a second

fs::path gRoot;

void write(const std::string& area, const std::string& target, const std::string& name,
           const Bytes& bytes) {
  fs::path folder = gRoot / area / "seeds" / target;
  fs::create_directories(folder);
  std::ofstream(folder / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

void writeText(const std::string& area, const std::string& target, const std::string& name,
               const std::string& text) {
  write(area, target, name, Bytes(text.begin(), text.end()));
}

lv::sim::SimOptions shortDrive(int fps, int frames) {
  lv::sim::SimOptions options;
  options.fps = fps;
  options.frames = frames;
  options.trackMiles = kShortTrackMiles;
  return options;
}

void replaySeeds() {
  struct Kind {
    const char* name;
    int fps;
    int drivers;
    bool server;
    int raceFromLap;
  };
  const Kind kinds[] = {{"practice-36fps", 36, 1, false, -1},
                        {"practice-60fps", 60, 1, false, -1},
                        {"three-drivers", 36, 3, false, -1},
                        {"race-60fps", 60, 2, false, 1},
                        {"server", 36, 2, true, -1}};
  for (const Kind& kind : kinds) {
    lv::sim::SimOptions options = shortDrive(kind.fps, kind.fps == 36 ? 60 : 90);
    options.drivers = kind.drivers;
    options.server = kind.server;
    options.raceFromLap = kind.raceFromLap;
    options.writeTelemetry = false;
    options.telVersion.reset();
    write("load", "fuzz_replay", std::string(kind.name) + ".rpy",
          lv::sim::generateDrive(options).replay);
  }
}

// The multiplayer target's choice byte (driver index modulo the listed drivers, kind in bit 5,
// lap number in bits 6 and 7) for the first driver with lap `lap` of the kind in its records;
// lap 0 of the race starts from the grid and lap 1 of practice began before the recording,
// so lap 1 and lap 2 are the first whose frames lie between two crossings.
std::uint8_t importChoice(const lv::sim::Drive& drive, int kind) {
  const int lap = kind == 1 ? 1 : 2;
  const int drivers = static_cast<int>(drive.others.size());
  for (int i = 0; i < drivers; ++i) {
    const auto& other = drive.others[static_cast<std::size_t>(i)];
    if (static_cast<int>((kind == 1 ? other.race : other.practice).size()) <= lap) continue;
    for (int low = 0; low < 32; ++low) {
      int choice = lap << 6 | kind << 5 | low;
      if (choice % drivers == i) return static_cast<std::uint8_t>(choice);
    }
  }
  std::fprintf(stderr, "make-fuzz-seeds: no driver completes lap %d of kind %d\n", lap, kind);
  std::exit(1);
}

// Recordings of three and four drivers from a client and from a server, in practice and in
// the race, on a track of 40 m: every driver's record rides in every frame, so short laps keep
// the files small and the target fast (the import's end of lap is a fall of more than 30 m).
// The target chooses its lap from the input's bytes 1 and 2, header text the listing does not
// read; each seed sets them to a lap that lies in its frames and to a delay for a client.
void multiplayerSeeds() {
  struct Kind {
    const char* name;
    int fps;
    int frames;
    int drivers;
    bool server;
    int raceFromLap;
    bool raceRecording;
  };
  const Kind kinds[] = {{"client-practice", 60, 66, 3, false, -1, false},
                        {"server-practice", 36, 44, 4, true, -1, false},
                        {"client-race", 36, 80, 4, false, 1, false},
                        {"server-race", 36, 46, 3, true, -1, true}};
  for (const Kind& kind : kinds) {
    lv::sim::SimOptions options = shortDrive(kind.fps, kind.frames);
    options.trackMiles = 0.025;
    options.drivers = kind.drivers;
    options.server = kind.server;
    options.raceFromLap = kind.raceFromLap;
    options.raceRecording = kind.raceRecording;
    options.writeTelemetry = false;
    options.telVersion.reset();
    lv::sim::Drive drive = lv::sim::generateDrive(options);
    bool race = kind.raceFromLap >= 0 || kind.raceRecording;
    drive.replay[1] = importChoice(drive, race ? 1 : 0);
    drive.replay[2] = kind.server ? 0 : 3;
    write("load", "fuzz_multiplayer", std::string(kind.name) + ".rpy", drive.replay);
  }
}

// "Ping.ini" as written by hand: a bare number, a line end, a blank before a sign, text
// behind the digits, nothing.
void pingSeeds() {
  writeText("load", "fuzz_ping_ini", "zero.ini", "0");
  writeText("load", "fuzz_ping_ini", "crlf.ini", "3\r\n");
  writeText("load", "fuzz_ping_ini", "negative.ini", " -2");
  writeText("load", "fuzz_ping_ini", "trailing-text.ini", "12abc");
  writeText("load", "fuzz_ping_ini", "empty.ini", "");
}

// Enough records for the attachment to pass its lead-in of 100 records and align.
void telemetrySeeds() {
  for (int version : {7, 6, 5, 1, 2, 3, 0}) {
    lv::sim::SimOptions options = shortDrive(36, version == 2 || version == 3 ? 60 : 45);
    if (version == 0) {
      options.telVersion.reset();  // a file without version word
    } else {
      options.telVersion = version;
    }
    std::string name = version == 0 ? "unversioned.tel" : "v" + std::to_string(version) + ".tel";
    write("load", "fuzz_telemetry", name, lv::sim::generateDrive(options).telemetry);
  }
}

// A short drive loaded as the viewer loads it, saved in each file version.
void savedLapsSeeds() {
  lv::sim::SimOptions options = shortDrive(36, 20);
  options.telVersion = 6;
  lv::sim::Drive drive = lv::sim::generateDrive(options);
  auto stores = std::make_unique<lv::ViewerStores>();
  lv::ReplayReadResult replay = lv::readReplay(drive.replay, *stores);
  lv::attachTelemetry(drive.telemetry, *stores, 0, replay.end, replay.fps);
  lv::deriveSampleValues(*stores, 0, replay.end);
  lv::LapList list;
  lv::LapSource source;
  source.fps = replay.fps;
  source.records = &replay.records;
  source.raceStartFrame = replay.raceStartFrame;
  lv::cutLaps(*stores, list, source, 0, replay.end);
  stores->sampleCount = replay.end;

  Bytes v2 = lv::encodeSavedLaps(*stores);
  stores->contactPatchMode = 1;
  write("load", "fuzz_saved_laps", "v3.tmr", lv::encodeSavedLaps(*stores));
  write("load", "fuzz_saved_laps", "v2.tmr", v2);
  // Versions 0 and 1 hold the telemetry and frame blocks only.
  std::size_t word = 16 + 36 * static_cast<std::size_t>(stores->lapCount);
  std::size_t samples = static_cast<std::size_t>(replay.end);
  for (std::uint8_t version : {0, 1}) {
    Bytes old(v2.begin(), v2.begin() + static_cast<std::ptrdiff_t>(word + 4 + 96 * samples));
    old[word + 3] = version;
    old.insert(old.end(), v2.end() - static_cast<std::ptrdiff_t>(104 * samples), v2.end());
    write("load", "fuzz_saved_laps", "v" + std::to_string(version) + ".tmr", old);
  }
}

void textSeeds() {
  // track.ini as gplsim writes it, and the shapes the section search allows.
  fs::path scratch = fs::temp_directory_path() / "lapvista-fuzz-seeds";
  lv::sim::SimOptions options = shortDrive(36, 1);
  options.writeTelemetry = false;
  options.telVersion.reset();
  lv::sim::writeDriveFolder(options, lv::sim::generateDrive(options), scratch.string());
  std::ifstream ini(scratch / "gpl" / "tracks" / options.trackName / "track.ini");
  std::string gplsimIni((std::istreambuf_iterator<char>(ini)), std::istreambuf_iterator<char>());
  fs::remove_all(scratch);
  writeText("load", "fuzz_track_ini", "gplsim.ini", gplsimIni);
  writeText("load", "fuzz_track_ini", "blank-after-bracket.ini",
            "[ track]\r\nname = Monaco\r\ntrack_length = 1.954 miles\r\n");
  writeText("load", "fuzz_track_ini", "other-sections.ini",
            "[pits]\ntrack_length = 9 miles\n[track]\nlaps = 80\ntrack_length = 3.6m\n");
  writeText("load", "fuzz_track_ini", "vantor-ini.txt", "C:\\Sierra\\GPL\\");

  writeText("logger", "fuzz_ini_line", "mod.ini", "gpl.exe\r\n");
  writeText("logger", "fuzz_ini_line", "vantor.ini", "C:\\Sierra\\GPL\\\nsecond line\n");
  writeText("logger", "fuzz_ini_line", "lone-cr.ini", "/home/me/gpl/\rrest");

  writeText("logger", "fuzz_address_overrides", "by-name.txt",
            "# blocks: 0 engine, 1 pedals, 2 lap distance, 3 clock\n"
            "GPL1.2.0.1A 0x007A2000 0x007A2100 - 0x007A2300\n");
  writeText("logger", "fuzz_address_overrides", "by-number.txt",
            "\n3 8003584 - - - 0x10 0x20 0x30 0x40 0x50 0x60 0x70\r\n15 -\n");
  writeText("logger", "fuzz_address_overrides", "faulty.txt",
            "GPL9 0x1\n2 0xZZ\n16 1\nGPL1.2.0.2B 99999999999 -\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FUZZ-FOLDER\n", argv[0]);
    return 2;
  }
  gRoot = argv[1];
  replaySeeds();
  multiplayerSeeds();
  pingSeeds();
  telemetrySeeds();
  savedLapsSeeds();
  textSeeds();
  return 0;
}
