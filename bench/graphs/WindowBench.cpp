// The desktop window under an X server (run it with DISPLAY set, e.g. under xvfb-run): the
// dialog's handlers timed from their start to the end of the blit, the X server having painted.
//   fullRedrawIntoWindow: every channel shown for four laps of about 7200 samples (60 fps,
//     two-minute laps); a thumb-tracking scroll message erases and redraws them all.
//   blitOnly: the whole client area shown again from the raster, nothing drawn.
//   pressChannelToShown: two laps chosen, "speed" pressed and shown (then hidden, untimed).
#include <FL/Fl.H>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>

#include "platform/fltk/FltkSession.h"
#include "tools/gplsim/Gplsim.h"
#include "viewer/graphs/ChannelId.h"
#include "viewer/shell/ControlCatalogue.h"

namespace lv {
namespace {

// The quick overview box of the first load waits for OK; here it closes by itself.
void closeBoxes(void*) {
  if (Fl::modal() != nullptr) Fl::modal()->hide();
  Fl::repeat_timeout(0.05, closeBoxes);
}

class WindowDrive {
 public:
  WindowDrive() : folder_(std::filesystem::temp_directory_path() / "lapvista-window-bench") {
    sim::SimOptions options;
    options.laps = 5;
    options.trackMiles = 3.05;  // two-minute laps
    std::filesystem::create_directories(folder_);
    if (!sim::writeDriveFolder(options, sim::generateDrive(options), folder_.string()))
      std::abort();
    Fl::visual(FL_RGB);
    Fl::add_timeout(0.05, closeBoxes);
    session_ = std::make_unique<FltkSession>(folder_.string());
    session_->host().showWindow();
    run("load " + (folder_ / "gpl" / "replay" / "demo.rpy").string());
  }
  ~WindowDrive() { std::filesystem::remove_all(folder_); }

  void run(const std::string& command) {
    if (!session_->host().runCommand(command)) std::abort();
  }
  FltkHost& host() { return session_->host(); }
  ViewerState& state() { return session_->dialog().state(); }

 private:
  std::filesystem::path folder_;
  std::unique_ptr<FltkSession> session_;
};

// One window for every benchmark.
WindowDrive& windowDrive() {
  static WindowDrive* drive = new WindowDrive();
  return *drive;
}

bool haveDisplay(benchmark::State& state) {
  if (std::getenv("DISPLAY") != nullptr) return true;
  state.SkipWithError("no X display (run under xvfb-run)");
  return false;
}

void chooseLaps(WindowDrive& d, int laps) {
  d.run("press lap-");
  for (int line = 1; line <= laps; ++line) d.run("dblclick " + std::to_string(line));
}

void fullRedrawIntoWindow(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  WindowDrive& d = windowDrive();
  chooseLaps(d, 4);
  for (int& counter : d.state().view.pressCounter) counter = 1;
  for (auto _ : state) d.run("scroll 5");
  state.counters["lap samples"] = d.state().stores.lapSampleCount(1);
  for (int& counter : d.state().view.pressCounter) counter = 0;
}

void blitOnly(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  WindowDrive& d = windowDrive();
  for (auto _ : state) {
    d.host().window().client().redraw();
    d.run("");  // an empty command: nothing drawn, the window shown
  }
}

void pressChannelToShown(benchmark::State& state) {
  if (!haveDisplay(state)) return;
  WindowDrive& d = windowDrive();
  chooseLaps(d, 2);
  for (auto _ : state) {
    d.run("press speed");
    state.PauseTiming();
    d.run("press speed");
    state.ResumeTiming();
  }
}

BENCHMARK(fullRedrawIntoWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(blitOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(pressChannelToShown)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lv

BENCHMARK_MAIN();
