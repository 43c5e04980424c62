#pragma once

namespace lv {

// Lets the console show and take the programs' UTF-8 texts ("für") while the program runs,
// and gives the console its own code pages back at the end: they belong to the window the
// program was started in.
class Utf8Console {
 public:
  Utf8Console();
  ~Utf8Console();
  Utf8Console(const Utf8Console&) = delete;
  Utf8Console& operator=(const Utf8Console&) = delete;

 private:
  unsigned savedOutput_ = 0;
  unsigned savedInput_ = 0;
};

// The command interpreter's own "PAUSE" ("Press any key to continue . . . "), after
// everything written so far has reached the console.
void pauseConsole();

}  // namespace lv
