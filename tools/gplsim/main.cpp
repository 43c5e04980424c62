// gplsim: writes a synthetic GPL drive (replay, telemetry, track.ini, "Vantor.ini").
#include <CLI/CLI.hpp>
#include <iostream>

#include "telemetry/FileBytes.h"
#include "tools/gplsim/Gplsim.h"

int main(int argc, char** argv) {
  CLI::App app{"gplsim: synthetic GPL drives for tests, benchmarks and the demo"};
  lv::sim::SimOptions options;
  std::string out = "demo";
  std::string telVersion = "7";
  std::string fromTel;
  bool noTel = false;
  app.add_option("--out", out, "folder to write into (Vantor.ini, gpl/replay, gpl/tracks)");
  app.add_option("--laps", options.laps, "full laps between the out-lap and the in-lap")
      ->check(CLI::Range(0, 290));
  app.add_option("--fps", options.fps, "replay frame rate")->check(CLI::IsMember({36, 60}));
  app.add_option("--tel-version", telVersion, "telemetry format version, or none")
      ->check(CLI::IsMember({"7", "6", "5", "3", "2", "1", "none"}));
  app.add_option("--drivers", options.drivers, "entries of the driver table")
      ->check(CLI::Range(1, 20));
  app.add_flag("--server", options.server,
               "a server's replay: the recording name is driver entry 0");
  app.add_option("--seed", options.seed, "seed of the drive's variations");
  app.add_option("--frames", options.frames, "total frames (overrides --laps)")
      ->check(CLI::Range(0, 2000000));
  app.add_option("--race-from-lap", options.raceFromLap, "the race starts at this line crossing");
  app.add_flag("--race-recording", options.raceRecording,
               "the recording starts at the race start (other drivers' practice is earlier)");
  app.add_option("--ping", options.pingFrames,
                 "network delay in frames, written to Ping.ini; a client receives other "
                 "drivers' inputs twice as late")
      ->check(CLI::Range(0, 1000));
  app.add_option("--name", options.name, "replay name");
  app.add_option("--track", options.trackName, "track folder name (at most 8 characters)");
  app.add_flag("--no-tel", noTel, "write no telemetry");
  app.add_option("--from-tel", fromTel,
                 "build the replay to follow the distances of this .tel file");
  CLI11_PARSE(app, argc, argv);

  options.writeTelemetry = !noTel;
  options.telVersion =
      telVersion == "none" ? std::nullopt : std::optional<int>(std::stoi(telVersion));
  lv::sim::Drive drive;
  if (fromTel.empty()) {
    drive = lv::sim::generateDrive(options);
  } else {
    lv::FileBytes tel;
    lv::Status status = tel.open(fromTel);
    if (status)
      status =
          lv::sim::driveFromTelemetry(options, {tel.bytes().begin(), tel.bytes().end()}, drive);
    if (!status) {
      std::cerr << "gplsim: " << status.message() << "\n";
      return 1;
    }
  }
  if (lv::Status status = lv::sim::writeDriveFolder(options, drive, out); !status) {
    std::cerr << "gplsim: " << status.message() << "\n";
    return 1;
  }
  std::cout << "gplsim: " << drive.frames.size() << " frames, " << drive.lapTimes.size()
            << " timed laps -> " << out << "/gpl/replay/" << options.name << ".rpy\n";
  return 0;
}
