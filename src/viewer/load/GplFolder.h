#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "telemetry/Status.h"

namespace lv {

// The GPL folder named by "Vantor.ini", and the paths the viewer builds from it. The file's
// whole content is the folder, however long; on this platform a backslash separates folders
// like a slash, and a missing separator at the end is supplied.
class GplFolder {
 public:
  static GplFolder fromIniContent(std::string_view content);
  // Reads "Vantor.ini" in `iniDir`.
  static Status load(const std::string& iniDir, GplFolder& out);

  const std::string& path() const { return path_; }
  std::string replayFolder() const { return path_ + "replay"; }
  std::string trackIni(std::string_view trackName) const;
  // The track.ini of `trackName` as it lies on disk, its folders' names matched without
  // regard to case where the exact name is missing.
  std::string findTrackIni(std::string_view trackName) const;

 private:
  std::string path_;
};

// A path with backslashes read as folder separators.
std::string nativePath(std::string_view path);

}  // namespace lv
