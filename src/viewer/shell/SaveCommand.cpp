#include "viewer/shell/SaveCommand.h"

#include "telemetry/FileBytes.h"
#include "viewer/load/GplFolder.h"
#include "viewer/load/SavedLapsFile.h"

namespace lv {

std::string savedLapsPath(const std::string& chosen) {
  if (chosen.size() >= 4 && chosen[chosen.size() - 4] == '.') return chosen;
  return chosen + ".tmr";
}

void runSaveCommand(ShellContext& context) {
  GplFolder folder;
  if (Status status = GplFolder::load(context.iniDir, folder); !status) {
    context.host.messageBox("Lapvista", status.message());
    return;
  }
  std::optional<std::string> chosen =
      context.host.chooseFileToSave({"", folder.replayFolder(), false});
  if (!chosen) return;
  std::string path = savedLapsPath(*chosen);
  std::vector<std::uint8_t> bytes = encodeSavedLaps(context.state.stores);
  if (Status status = writeFileAtomically(path, bytes); !status) {
    context.host.messageBox("Lapvista", status.message());
    return;
  }
  context.host.canvas().eraseAll();
}

}  // namespace lv
