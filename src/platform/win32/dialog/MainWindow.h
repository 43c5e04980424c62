#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/dialog/Win32Host.h"
#include "viewer/shell/DialogCommands.h"
#include "viewer/shell/MainDialog.h"
#include "viewer/shell/ScriptedFileAnswers.h"

namespace lv {

// What the command line asks for once the window shows: a file loaded as if chosen in the
// first file dialog, then scripted commands.
struct StartUp {
  std::string file;
  std::vector<std::string> commands;
};

// The main dialog as a Windows modal dialog built from the control catalogue. Every window
// message becomes one handler call of MainDialog; what the handler drew is then shown.
class MainWindow {
 public:
  explicit MainWindow(std::string iniDir);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Runs the dialog until it is closed; 1 when a start-up command failed, 0 otherwise.
  int run(StartUp startUp);

 private:
  static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam);
  void initialize(HWND window);
  void runStartUp();
  bool command(WORD id, WORD code);
  void scroll(WORD code);
  bool notify(const NMHDR& header);
  void paint();
  void announceReady();

  ScriptedFileAnswers answers_;
  Win32Host host_;
  MainDialog dialog_;
  DialogCommands commands_;
  HWND window_ = nullptr;
  HWND tooltips_ = nullptr;
  HICON largeIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HBRUSH dialogBrush_ = nullptr;
  HFONT fittedFont_ = nullptr;
  StartUp startUp_;
  int status_ = 0;
};

}  // namespace lv
