// One first load of a file, cold, in its stages, as the load command runs them with the
// picture drawn into the raster: map, decode, attach (a replay's telemetry), derive (for a
// saved-laps file: its laps, then the read of its samples together with the derive),
// cut and splits, the overview table, the first text (the font is loaded), picture, and the release
// of everything at the end. Run it in a fresh process per measurement (bench/load/load_bench.sh
// does):
//   load_split [--no-huge-pages] INI_DIR FILE
// prints per stage its wall and processor milliseconds and its page faults. --no-huge-pages
// asks the kernel for small pages in the stores, to see what huge pages save.
#include <sys/mman.h>
#include <sys/resource.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>

#include "platform/cairo/RasterCanvas.h"
#include "telemetry/FileBytes.h"
#include "viewer/graphs/DialogControls.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/GplFolder.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/Prefault.h"
#include "viewer/load/QuickOverviewTable.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/SavedLapsFile.h"
#include "viewer/load/TelemetryAttachment.h"
#include "viewer/load/TrackLength.h"
#include "viewer/overviews/TyreColumnSummaries.h"
#include "viewer/overviews/TyreOverview.h"

namespace {

class NoControls : public lv::DialogControls {
 public:
  void showControl(int, bool) override {}
  void setCaption(int, std::string_view) override {}
  void setScrollBar(int, int, int, int) override {}
  void fieldsToControls(const lv::DialogFields&) override {}
};

double processCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

long pageFaults() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_minflt + usage.ru_majflt;
}

// Wall time and processor time of each stage: on a shared machine the processor time shows
// the stage's own cost when the wall time also holds waits for the other jobs.
class Stopwatch {
 public:
  void lap(const char* stage) {
    auto now = std::chrono::steady_clock::now();
    double cpu = processCpuMs();
    long faults = pageFaults();
    std::printf("%-12s wall %7.2f ms  cpu %7.2f ms  faults %6ld\n", stage,
                std::chrono::duration<double, std::milli>(now - wall_).count(), cpu - cpu_,
                faults - faults_);
    wall_ = now;
    cpu_ = cpu;
    faults_ = faults;
  }

 private:
  std::chrono::steady_clock::time_point wall_ = std::chrono::steady_clock::now();
  double cpu_ = processCpuMs();
  long faults_ = pageFaults();
};

template <typename Row>
void smallPages(lv::FixedTable<Row>& table) {
  madvise(table.data(), table.capacity() * sizeof(Row), MADV_NOHUGEPAGE);
}

void smallPages(lv::ViewerStores& s) {
  smallPages(s.frameTable);
  smallPages(s.telemetryTable);
  smallPages(s.contactPatchTable);
  smallPages(s.extraTable);
  smallPages(s.trackDistanceStep);
  smallPages(s.headingTable);
  smallPages(s.tyreTempAvg);
  smallPages(s.contactPatchAvg);
}

bool endsWith(const std::string& text, char c) {
  return !text.empty() && text.back() == c;
}

// What the load holds now, at its largest: its own memory, and the pages of files it has
// mapped, which the system's cache holds anyway.
void printMemory() {
  std::ifstream status("/proc/self/status");
  std::string line;
  long anonymous = 0, file = 0;
  while (std::getline(status, line)) {
    std::istringstream fields(line);
    std::string name;
    long kilobytes = 0;
    fields >> name >> kilobytes;
    if (name == "RssAnon:") anonymous = kilobytes;
    if (name == "RssFile:") file = kilobytes;
  }
  std::printf("memory own %ld MB  file pages %ld MB\n", anonymous / 1024, file / 1024);
}

}  // namespace

int main(int argc, char** argv) {
  bool hugePages = argc == 3;
  if (argc != 3 && !(argc == 4 && std::string(argv[1]) == "--no-huge-pages")) {
    std::fprintf(stderr, "usage: load_split [--no-huge-pages] INI_DIR FILE\n");
    return 2;
  }
  const char* iniDir = argv[argc - 2];
  std::string path = argv[argc - 1];
  Stopwatch watch;
  auto picture = std::make_unique<lv::RasterCanvas>();
  watch.lap("raster");
  auto stores = std::make_unique<lv::ViewerStores>();
  if (!hugePages) smallPages(*stores);
  stores->resetForFirstLoad();
  stores->tyreTempMin.fill(1000000.0f);
  stores->tyreTempMax.fill(-1000000.0f);
  lv::GplFolder folder;
  if (!lv::GplFolder::load(iniDir, folder)) return 1;
  lv::FileBytes file, tel;
  if (!file.open(path)) return 1;
  bool savedLaps = endsWith(path, 'r');
  std::string telPath = path.substr(0, path.size() - 3) + "tel";
  bool withTel = !savedLaps && lv::fileExists(telPath) && tel.open(telPath);
  // As the load command: a replay and its telemetry are read ahead whole, a saved-laps file's
  // tables are read straight into the stores.
  if (!savedLaps) lv::prefaultMapping(file.bytes());
  lv::prefaultMapping(tel.bytes());
  // The load's hints: the first text sets the font loading.
  picture->text(948, 73, "Any patience   ");
  watch.lap("map");

  lv::LapSource source;
  lv::ReplayReadResult replay;
  std::optional<lv::SavedLapsRows> savedRows;
  int end = 0;
  if (savedLaps) {
    // The laps only: the samples are read by the pass that derives them.
    savedRows.emplace(file.bytes(), &file, *stores);
    end = savedRows->end();
    source.savedLaps = true;
    watch.lap("laps");
  } else {
    replay = lv::readReplay(file.bytes(), *stores);
    end = replay.end;
    watch.lap("decode");
    if (withTel) lv::attachTelemetry(tel.bytes(), *stores, 0, end, replay.fps);
    watch.lap("attach");
    source.fps = replay.fps;
    source.playerName = replay.playerName;
    source.carIndex = replay.carIndex;
    source.records = &replay.records;
    source.raceStartFrame = replay.raceStartFrame;
  }

  lv::LapList list;
  // As the load command: the picture's column summaries are gathered while the samples are
  // derived.
  auto summaries = lv::tyreOverviewSummaries(*stores, end);
  lv::SampleSweep sweep =
      lv::deriveSampleValues(*stores, 0, end, summaries.get(), savedRows ? &*savedRows : nullptr);
  watch.lap(savedLaps ? "read+derive" : "derive");
  lv::cutLaps(*stores, list, source, 0, end, &sweep);
  lv::FileBytes ini;
  if (ini.open(folder.trackIni(stores->trackName.data()))) {
    auto bytes = ini.bytes();
    if (auto length = lv::parseTrackLength(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
      stores->trackLength = *length;
    }
  }
  lv::computeQuarterSplits(*stores, 0, &sweep);
  watch.lap("cut+splits");
  std::string table = lv::quickOverviewText(*stores, list, &sweep);
  watch.lap("table");

  lv::CanvasState view;
  lv::DialogFields fields;
  NoControls controls;
  lv::GraphContext graphs{*stores, view, fields, controls, *picture};
  lv::drawTyreOverview(graphs, end, summaries.get());
  picture->pixels();  // everything put down, as before a window copies it
  watch.lap("picture");
  printMemory();

  picture.reset();
  stores.reset();
  file = lv::FileBytes();
  tel = lv::FileBytes();
  watch.lap("release");
  std::printf("samples %d laps %d table %zu\n", end, static_cast<int>(list.size()), table.size());
  return 0;
}
