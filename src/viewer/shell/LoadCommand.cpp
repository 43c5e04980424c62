#include "viewer/shell/LoadCommand.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>

#include "telemetry/FileBytes.h"
#include "telemetry/TelFormat.h"
#include "telemetry/Utf8Path.h"
#include "viewer/load/DerivedValues.h"
#include "viewer/load/GplFolder.h"
#include "viewer/load/LapCutting.h"
#include "viewer/load/Prefault.h"
#include "viewer/load/QuickOverviewTable.h"
#include "viewer/load/ReplayReader.h"
#include "viewer/load/RowPreparation.h"
#include "viewer/load/SavedLapsFile.h"
#include "viewer/load/SavedLapsListing.h"
#include "viewer/load/TelemetryAttachment.h"
#include "viewer/load/TrackLength.h"

namespace lv {
namespace {

constexpr const char* kFileErrorTitle = "Lapvista";

bool endsWith(const std::string& path, char c) {
  return !path.empty() && path.back() == c;
}

std::string withExtension(const std::string& path, const char* extension) {
  return path.size() >= 3 ? path.substr(0, path.size() - 3) + extension : path;
}

void drawLoadingHints(Canvas& canvas) {
  drawHints(canvas, {"Any patience   ", "please!         ", "Loading        ",
                     "of the datas           ", "of all laps.       ", "                     ",
                     "To reduce           ", "loading times            ", "you should     ",
                     "save good       ", "laps as tmr file.        "});
}

void drawTelemetryHints(Canvas& canvas) {
  drawHints(canvas,
            {"Loading       ", "of special       ", "telemety      ", "datas.            ",
             "                ", "To reduce  ", "loading times           ", "you should           ",
             "save good    ", "laps as       ", "tmr files!    ", "(Button spei)    "});
}

void drawOverviewHints(Canvas& canvas) {
  drawHints(canvas, {"Data over-      ", "view for        ", "all laps        ",
                     "                         ", "+OnTrackLap   ", "-NotOnTrack",
                     "                             ", "To tyre temps                           ",
                     "overview   ", "close           ", "Messagebox,    ", "please!     "});
}

void listSavedLapsOfTrack(ShellContext& context, const GplFolder& folder) {
  std::vector<ListedSavedLap> laps;
  std::error_code error;
  std::filesystem::directory_iterator files(utf8Path(folder.replayFolder()), error);
  for (; !error && files != std::filesystem::directory_iterator(); files.increment(error)) {
    std::string name = utf8String(files->path().filename());
    // The pattern "*.tmr*" also takes names that go on after ".tmr".
    if (name.find(".tmr") == std::string::npos || !files->is_regular_file(error)) continue;
    FileBytes file;
    if (!file.open(utf8String(files->path()))) continue;
    for (SavedLapEntry& lap : peekSavedLaps(file.bytes(), context.state.stores.trackName.data())) {
      if (laps.size() >= static_cast<std::size_t>(kSavedLapEntryCapacity)) break;
      laps.push_back({std::move(lap), name});
    }
  }
  context.host.messageBox("The following tmr laps found", savedLapsListingText(laps));
}

// Opens a file the load may go without: nothing when it is missing, a message when it is
// there but cannot be read (a pipe or a folder in its place).
std::optional<FileBytes> openIfPresent(ShellContext& context, const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(utf8Path(path), error)) return std::nullopt;
  FileBytes file;
  if (Status status = file.open(path); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return std::nullopt;
  }
  return file;
}

// The telemetry file, opened already or now (a file there that cannot be read is reported).
void attachTelemetryIfPresent(ShellContext& context, const std::string& replayPath,
                              const ReplayReadResult& replay, std::optional<FileBytes>& tel) {
  if (!tel) tel = openIfPresent(context, withExtension(replayPath, "tel"));
  if (!tel) return;
  prefaultMapping(tel->bytes());
  drawTelemetryHints(context.host.canvas());
  attachTelemetry(tel->bytes(), context.state.stores, context.state.stores.sampleCount, replay.end,
                  replay.fps);
}

// The splits need only the longest lap distance; without a readable track.ini just the
// track length stays unknown.
void readTrackLengthAndSplits(ShellContext& context, const GplFolder& folder, int firstLap,
                              const SampleSweep& sweep) {
  ViewerStores& stores = context.state.stores;
  if (std::optional<FileBytes> ini =
          openIfPresent(context, folder.findTrackIni(stores.trackName.data()))) {
    auto bytes = ini->bytes();
    if (auto length = parseTrackLength(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())))
      stores.trackLength = *length;
  }
  computeQuarterSplits(stores, firstLap, &sweep);
}

void showQuickOverview(ShellContext& context, const SampleSweep& sweep) {
  drawOverviewHints(context.host.canvas());
  // Each row is built from its lap line as the list box gives it back when selected.
  for (int line = 0; line < context.state.lapList.size(); ++line) {
    context.state.lapList.select(line);
    context.host.lapListSelect(line);
    context.state.fields.lapListText = context.state.lapList.selectedText();
  }
  context.host.messageBox("Quick overview with datas of all laps",
                          quickOverviewText(context.state.stores, context.state.lapList, &sweep));
}

struct ReadOutcome {
  bool loaded = false;
  int end = 0;
  LapSource source;
  ReplayReadResult replay;
  // A saved-laps file's samples, brought into the stores by the pass that derives them.
  std::optional<SavedLapsRows> savedRows;
};

ReadOutcome readChosenFile(ShellContext& context, const std::string& path, const FileBytes& file,
                           std::optional<FileBytes>& tel) {
  ReadOutcome outcome;
  ViewerStores& stores = context.state.stores;
  if (endsWith(path, 'r')) {
    outcome.savedRows.emplace(file.bytes(), &file, stores);
    outcome.end = outcome.savedRows->end();
    outcome.source.savedLaps = true;
    outcome.loaded = true;
    return outcome;
  }
  outcome.replay = readReplay(file.bytes(), stores);
  if (outcome.replay.outcome == ReplayOutcome::kRefusedServer) {
    context.host.messageBox("Achtung",
                            " Für Serverreplays bitte die nebenstehende Ladefunktion benutzen  ");
    return outcome;
  }
  if (outcome.replay.outcome == ReplayOutcome::kRefusedNoDrivers) return outcome;
  attachTelemetryIfPresent(context, path, outcome.replay, tel);
  outcome.end = outcome.replay.end;
  outcome.source.fps = outcome.replay.fps;
  outcome.source.playerName = outcome.replay.playerName;
  outcome.source.carIndex = outcome.replay.carIndex;
  outcome.source.records = &outcome.replay.records;
  outcome.source.raceStartFrame = outcome.replay.raceStartFrame;
  outcome.loaded = true;
  return outcome;
}

// The telemetry file of a replay when it is there and can be read; nothing is reported yet.
std::optional<FileBytes> telemetryOf(const std::string& replayPath) {
  std::string path = withExtension(replayPath, "tel");
  std::error_code error;
  if (!std::filesystem::is_regular_file(utf8Path(path), error)) return std::nullopt;
  FileBytes tel;
  if (!tel.open(path)) return std::nullopt;
  return tel;
}

// The rows a replay's load will write, judged from its telemetry file (about one sample per
// record), prepared while the replay is read: the frames from a third of the way on (the
// replay reader reaches the first third itself before the preparation gets there), then the
// telemetry tables and the derived ones. Short loads prepare nothing.
void prepareRowsOfReplay(RowPreparation& preparation, ViewerStores& stores, const FileBytes& tel) {
  constexpr std::size_t kWorthPreparing = 20000;
  if (tel.bytes().size() < 4) return;
  std::int32_t versionWord;
  std::memcpy(&versionWord, tel.bytes().data(), sizeof versionWord);
  TelFileShape shape = telFileShape(versionWord);
  std::size_t records =
      (tel.bytes().size() - shape.dataOffset) / static_cast<std::size_t>(shape.recordSize);
  auto first = static_cast<std::size_t>(stores.sampleCount);
  std::size_t rows = std::min(records, static_cast<std::size_t>(kSampleCapacity) - first);
  if (rows < kWorthPreparing) return;
  bool patches = shape.layout == TelLayout::kVersion7 || shape.layout == TelLayout::kVersion6 ||
                 (shape.layout == TelLayout::kTimeStepped && stores.contactPatchMode != 0);
  bool wear = shape.layout == TelLayout::kVersion7 || shape.layout == TelLayout::kVersion6 ||
              shape.layout == TelLayout::kVersion5;
  preparation.add(stores.frameTable, first + rows / 3, rows - rows / 3);
  preparation.add(stores.telemetryTable, first, rows);
  if (patches) preparation.add(stores.contactPatchTable, first, rows);
  if (wear) preparation.add(stores.extraTable, first, rows);
  preparation.add(stores.trackDistanceStep, first, rows);
  preparation.add(stores.headingTable, first, rows);
  preparation.add(stores.tyreTempAvg, first, rows);
  if (patches) preparation.add(stores.contactPatchAvg, first, rows);
}

// Reads the chosen file; for a replay with telemetry the rows it will write are prepared on
// the second core meanwhile.
ReadOutcome readWithPreparedRows(ShellContext& context, const std::string& path,
                                 const FileBytes& file) {
  std::optional<FileBytes> tel;
  RowPreparation preparation;
  if (!endsWith(path, 'r')) {
    tel = telemetryOf(path);
    if (tel) prepareRowsOfReplay(preparation, context.state.stores, *tel);
  }
  preparation.start();
  return readChosenFile(context, path, file, tel);
}

void appendLapLines(ShellContext& context, int firstNewLine) {
  const auto& lines = context.state.lapList.lines();
  for (std::size_t i = static_cast<std::size_t>(firstNewLine); i < lines.size(); ++i)
    context.host.lapListAppend(lines[i]);
}

}  // namespace

void runLoadCommand(ShellContext& context, const LoadFollowUps& followUps) {
  ViewerStores& stores = context.state.stores;
  Canvas& canvas = context.host.canvas();
  if (stores.sampleCount == 0) stores.resetForFirstLoad();

  GplFolder folder;
  if (Status status = GplFolder::load(context.iniDir, folder); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return;
  }
  if (stores.sampleCount < 1) {
    stores.tyreTempMin.fill(1000000.0f);
    stores.tyreTempMax.fill(-1000000.0f);
  } else {
    listSavedLapsOfTrack(context, folder);
  }

  FileDialogRequest request{".tmr,  .rpy,  .tel| *.tmr;*.rpy;*.tel||", folder.replayFolder(), true};
  std::optional<std::string> chosen = context.host.chooseFileToOpen(request);
  if (!chosen) return;
  std::string path = endsWith(*chosen, 'l') ? withExtension(*chosen, "rpy") : *chosen;
  FileBytes file;
  if (Status status = file.open(path); !status) {
    context.host.messageBox(kFileErrorTitle, status.message());
    return;
  }

  // A replay is parsed in place and read ahead whole; a saved-laps file's tables are read
  // from the file straight into the stores, as the pass over the samples needs them.
  if (!endsWith(path, 'r')) prefaultMapping(file.bytes());
  drawLoadingHints(canvas);
  ReadOutcome outcome = readWithPreparedRows(context, path, file);
  if (!outcome.loaded) return;

  int s0 = stores.sampleCount;
  int firstLap = stores.lapCount;
  int firstLine = context.state.lapList.size();
  std::unique_ptr<FirstLoadPicture> picture;
  if (s0 == 0 && followUps.firstLoadPicture)
    picture = followUps.firstLoadPicture(context, outcome.end);
  SampleSweep sweep = deriveSampleValues(stores, s0, outcome.end, picture.get(),
                                         outcome.savedRows ? &*outcome.savedRows : nullptr);
  cutLaps(stores, context.state.lapList, outcome.source, s0, outcome.end, &sweep);
  appendLapLines(context, firstLine);
  readTrackLengthAndSplits(context, folder, firstLap, sweep);

  if (s0 == 0) {
    showQuickOverview(context, sweep);
    if (picture) picture->draw(context);
  } else {
    if (followUps.redrawShownChannels) followUps.redrawShownChannels(context);
    canvas.text(600, 11, "Loading is ready!");
  }

  context.state.view.frameFieldIndex = 0;
  stores.sampleCount = outcome.end;
  stores.loadFirstLap = stores.lapCount;
  context.state.view.sampleCountForGraphs = static_cast<float>(outcome.end);
  if (followUps.fitTrackMap) followUps.fitTrackMap(context);
}

}  // namespace lv
