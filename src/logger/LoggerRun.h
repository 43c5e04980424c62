#pragma once

#include <functional>
#include <iosfwd>
#include <string>

#include "logger/Clock.h"
#include "logger/GameReader.h"
#include "logger/LogFormat.h"
#include "logger/StopRequest.h"

namespace lv {

struct LoggerOptions {
  std::string iniDir;  // folder of "MOD.ini" and "Vantor.ini"; empty = current folder
  double startDelaySeconds = 30.0;
  float attachTimeoutSeconds = 60.0f;
  LogFormat format = LogFormat::kVersion7;
  bool germanHint = false;
  int sampleCapacity = 400000;
};

struct LoggerConsole {
  std::ostream& out;
  std::istream& in;
  // Prints "Press any key to continue . . . " and waits for a key (or the end of input).
  std::function<void()> pause;
  // Ctrl-C and its kin; without one they end the program the system's way.
  StopRequest* stop = nullptr;
};

// One recording run: reads the ini files, waits for the game, samples it until it ends and
// saves the .tel file under the replay name typed on the console. Returns the exit status.
int runLogger(GameReader& reader, Clock& clock, LoggerConsole& console,
              const LoggerOptions& options);

}  // namespace lv
