#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace lv {

// The save dialogue: asks for the replay name until the file is written; at the end of input
// the recording goes into the current folder under a name that no file has yet.
// Returns true when the recording was written somewhere.
bool saveRecording(std::ostream& out, std::istream& in, const std::string& replayFolder,
                   const std::vector<std::uint8_t>& fileImage);

// "Vantor-recording.tel", or the first of "Vantor-recording-2.tel", ... that nothing (no
// file, folder or link) is named yet.
std::string unusedFallbackName();

}  // namespace lv
