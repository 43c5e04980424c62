#include "platform/fltk/FileDialogs.h"

#include <FL/Fl_Native_File_Chooser.H>

#include <filesystem>

#include "platform/fltk/FileFilter.h"
#include "platform/fltk/MessageBox.h"

namespace lv {
namespace {

std::optional<std::string> runChooser(Fl_Native_File_Chooser::Type type, const char* title,
                                      const FileDialogRequest& request) {
  Fl_Native_File_Chooser chooser;
  chooser.type(type);
  chooser.title(title);
  std::string filter = fltkFilter(request.filter);
  if (!filter.empty()) chooser.filter(filter.c_str());
  if (!request.initialFolder.empty()) chooser.directory(request.initialFolder.c_str());
  if (chooser.show() != 0 || chooser.filename() == nullptr || *chooser.filename() == '\0')
    return std::nullopt;
  return std::string(chooser.filename());
}

bool exists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(path, error);
}

}  // namespace

std::optional<std::string> chooseOpenPath(const FileDialogRequest& request) {
  for (;;) {
    std::optional<std::string> path =
        runChooser(Fl_Native_File_Chooser::BROWSE_FILE, "Open", request);
    if (!path || !request.mustExist || exists(*path)) return path;
    showMessageBox("Open", *path + "\nFile not found.\nCheck the file name and try again.",
                   BoxIcon::kExclamation);
  }
}

std::optional<std::string> chooseSavePath(const FileDialogRequest& request,
                                          std::string (*written)(const std::string&)) {
  for (;;) {
    std::optional<std::string> path =
        runChooser(Fl_Native_File_Chooser::BROWSE_SAVE_FILE, "Save As", request);
    if (!path) return path;
    std::string target = written(*path);
    if (!exists(target) ||
        askYesNo("Confirm Save As", target + " already exists.\nDo you want to replace it?"))
      return path;
  }
}

}  // namespace lv
