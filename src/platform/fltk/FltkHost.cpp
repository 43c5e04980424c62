#include "platform/fltk/FltkHost.h"

#include <FL/Fl.H>

#include <iostream>

#include "platform/fltk/AboutBox.h"
#include "platform/fltk/FileDialogs.h"
#include "platform/fltk/MessageBox.h"
#include "platform/fltk/ServerSync.h"
#include "viewer/shell/FieldTexts.h"
#include "viewer/shell/SaveCommand.h"

namespace lv {
namespace {

// A long handler shows its drawing this often, so a load shows its progress hints.
constexpr auto kProgressInterval = std::chrono::milliseconds(100);

}  // namespace

FltkHost::FltkHost(ScriptedFileAnswers& answers)
    : answers_(answers), canvas_(raster_, [this] { showProgress(); }) {
  window_ = std::make_unique<MainWindow>(raster_, static_cast<WindowEvents&>(*this));
}

FltkHost::~FltkHost() = default;

void FltkHost::attach(MainDialog& dialog, DialogCommands& commands) {
  dialog_ = &dialog;
  commands_ = &commands;
}

void FltkHost::showWindow() {
  window_->show();
  window_->wait_for_expose();
  showPicture();
}

bool FltkHost::windowShown() const {
  return window_->shown();
}

void FltkHost::showPicture() {
  // Only the part of the raster that changed is shown again (controls over it included).
  if (BlitRect changed = canvas_.takeChanged(); changed.width > 0) {
    ClientArea& client = window_->client();
    window_->damage(FL_DAMAGE_USER1, client.x() + changed.x, client.y() + changed.y, changed.width,
                    changed.height);
  }
  Fl::flush();
  waitForServer();
  lastShown_ = std::chrono::steady_clock::now();
}

void FltkHost::showProgress() {
  if (std::chrono::steady_clock::now() - lastShown_ < kProgressInterval) return;
  showPicture();
}

void FltkHost::handle(const std::function<void()>& handler) {
  if (takingInput_) run(handler);
}

void FltkHost::run(const std::function<void()>& handler) {
  if (busy_ || dialog_ == nullptr) return;
  busy_ = true;
  lastShown_ = std::chrono::steady_clock::now();
  handler();
  busy_ = false;
  showPicture();
}

void FltkHost::loadAtStart(const std::string& path) {
  run([&] {
    answers_.push(path);
    dialog_->onMouseMove();
    answers_.clear();
  });
}

Status FltkHost::runCommand(const std::string& command) {
  Status status = Status::ok();
  run([&] { status = commands_->run(command); });
  return status;
}

void FltkHost::messageBox(std::string_view title, std::string_view text) {
  showPicture();  // what the handler drew so far stays visible behind the box
  showMessageBox(title, text);
}

std::optional<std::string> FltkHost::chooseFileToOpen(const FileDialogRequest& request) {
  if (answers_.pending()) return answers_.take();
  showPicture();
  return chooseOpenPath(request);
}

std::optional<std::string> FltkHost::chooseFileToSave(const FileDialogRequest& request) {
  if (answers_.pending()) return answers_.take();
  showPicture();
  return chooseSavePath(request, savedLapsPath);
}

void FltkHost::lapListAppend(std::string_view line) {
  window_->controls().lapList().add(std::string(line).c_str());
}

void FltkHost::lapListSelect(int line) {
  Fl_Hold_Browser& list = window_->controls().lapList();
  if (line < 0 || line >= list.size()) {
    list.deselect();
    return;
  }
  list.value(line + 1);
  if (!list.displayed(line + 1)) list.middleline(line + 1);
}

void FltkHost::treeClear() {
  window_->controls().treeClear();
}

void FltkHost::treeAppend(int level, std::string_view text) {
  window_->controls().treeAppend(level, text);
}

void FltkHost::showControl(int controlId, bool shown) {
  Fl_Widget* widget = window_->controls().widget(controlId);
  if (widget == nullptr) return;
  if (shown) {
    widget->show();
  } else {
    widget->hide();
  }
}

void FltkHost::setCaption(int controlId, std::string_view caption) {
  window_->controls().setCaption(controlId, caption);
}

void FltkHost::setScrollBar(int minimum, int maximum, int page, int position) {
  window_->controls().scrollBar().set(minimum, maximum, page, position);
}

void FltkHost::fieldsToControls(const DialogFields& fields) {
  for (const ControlText& text : fieldTexts(fields))
    window_->controls().setText(text.controlId, text.text);
}

void FltkHost::buttonClicked(int controlId) {
  handle([&] { dialog_->onButton(controlId); });
}

void FltkHost::lapListSelected(int line) {
  handle([&] { dialog_->onLapListSelect(line); });
}

void FltkHost::lapListDoubleClicked(int line) {
  handle([&] { dialog_->onLapListDoubleClick(line); });
}

void FltkHost::scrolled(int code, int position) {
  handle([&] { dialog_->onScroll(code, position); });
}

void FltkHost::treeLapDoubleClicked(int driver, int kind, int lap) {
  std::string command =
      "tree " + std::to_string(driver) + " " + std::to_string(kind) + " " + std::to_string(lap);
  Status status = Status::ok();
  handle([&] { status = commands_->run(command); });
  if (!status) std::cerr << "lapvista: " << status.message() << "\n";
}

void FltkHost::mouseMoved() {
  if (dialog_ != nullptr && !dialog_->state().autoLoadDone) handle([&] { dialog_->onMouseMove(); });
}

void FltkHost::rightButtonReleased(int x) {
  handle([&] { dialog_->onRightButtonUp(x); });
}

void FltkHost::aboutRequested() {
  handle([] { showAboutBox(); });
}

}  // namespace lv
