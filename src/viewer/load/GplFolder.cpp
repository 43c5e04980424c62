#include "viewer/load/GplFolder.h"

#include <algorithm>

#include "telemetry/FileBytes.h"
#include "viewer/load/PathIgnoringCase.h"

namespace lv {

std::string nativePath(std::string_view path) {
  std::string native(path);
#ifndef _WIN32
  // Windows takes the folder as written; here a backslash would be part of a name.
  std::replace(native.begin(), native.end(), '\\', '/');
#endif
  return native;
}

GplFolder GplFolder::fromIniContent(std::string_view content) {
  // Editors leave a line end behind the path; it is no part of the folder name.
  while (!content.empty() && (content.back() == '\n' || content.back() == '\r'))
    content.remove_suffix(1);
  GplFolder folder;
  folder.path_ = nativePath(content);
  if (!folder.path_.empty() && folder.path_.back() != '/' && folder.path_.back() != '\\')
    folder.path_ += '/';
  return folder;
}

Status GplFolder::load(const std::string& iniDir, GplFolder& out) {
  std::string path = (iniDir.empty() ? std::string(".") : iniDir) + "/Vantor.ini";
  FileBytes file;
  if (Status status = file.open(path); !status) return status;
  auto bytes = file.bytes();
  out = fromIniContent(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return Status::ok();
}

std::string GplFolder::trackIni(std::string_view trackName) const {
  return path_ + "tracks/" + std::string(trackName) + "/track.ini";
}

std::string GplFolder::findTrackIni(std::string_view trackName) const {
  return findPathIgnoringCase(path_, "tracks/" + std::string(trackName) + "/track.ini");
}

}  // namespace lv
