#include "logger/TelemetrySaver.h"

#include <filesystem>
#include <istream>
#include <optional>
#include <ostream>

#include "telemetry/FileBytes.h"
#include "telemetry/Utf8Path.h"

namespace lv {
namespace {

void printPrompt(std::ostream& out) {
  out << "Please click into console and\n"
      << "write the same name like you have used for replay\n"
      << std::flush;
}

// The first word of the next line that has one; nothing at the end of input.
std::optional<std::string> nextWord(std::istream& in) {
  std::string line;
  while (std::getline(in, line)) {
    const char* blanks = " \t\r\v\f";
    std::size_t start = line.find_first_not_of(blanks);
    if (start == std::string::npos) continue;
    std::size_t end = line.find_first_of(blanks, start);
    return line.substr(start, end == std::string::npos ? std::string::npos : end - start);
  }
  return std::nullopt;
}

// A name is taken by anything that is there: a file, a folder, a link (even a dangling one).
bool nameTaken(const std::string& name) {
  std::error_code error;
  return std::filesystem::symlink_status(utf8Path(name), error).type() !=
         std::filesystem::file_type::not_found;
}

}  // namespace

std::string unusedFallbackName() {
  std::string name = "Vantor-recording.tel";
  for (int n = 2; nameTaken(name); ++n) name = "Vantor-recording-" + std::to_string(n) + ".tel";
  return name;
}

bool saveRecording(std::ostream& out, std::istream& in, const std::string& replayFolder,
                   const std::vector<std::uint8_t>& fileImage) {
  out << "Vorbereitung aufs Speichern\n";
  printPrompt(out);
  while (std::optional<std::string> name = nextWord(in)) {
    Status written = writeFileAtomically(replayFolder + *name + ".tel", fileImage);
    if (written) return true;
    out << "Could not save the telemetry: " << written.message() << '\n';
    printPrompt(out);
  }
  std::string fallback = unusedFallbackName();
  Status written = writeFileAtomically(fallback, fileImage);
  if (!written) {
    out << "Could not save the telemetry: " << written.message() << '\n' << std::flush;
    return false;
  }
  out << "Telemetry saved as " << fallback << '\n' << std::flush;
  return true;
}

}  // namespace lv
