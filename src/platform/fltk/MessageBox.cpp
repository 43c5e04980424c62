#include "platform/fltk/MessageBox.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Double_Window.H>
#include <FL/Fl_Return_Button.H>
#include <FL/Fl_Scroll.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/fltk/Fonts.h"

namespace lv {
namespace {

constexpr int kMargin = 14;
constexpr int kWrapWidth = 640;
constexpr int kButtonWidth = 80, kButtonHeight = 26;
constexpr Fl_Align kTextAlign = FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_WRAP;

// Box texts are shown as they are: '@' is no symbol and '&' no shortcut.
class PlainText : public Fl_Box {
 public:
  PlainText(int x, int y, int width, int height, std::string text)
      : Fl_Box(x, y, width, height), text_(std::move(text)) {}
  void draw() override {
    fl_font(FL_HELVETICA, kDialogFontSize + 1);
    fl_color(FL_FOREGROUND_COLOR);
    fl_draw(text_.c_str(), x(), y(), w(), h(), kTextAlign, nullptr, 0);
  }

 private:
  std::string text_;
};

class ExclamationMark : public Fl_Box {
 public:
  ExclamationMark(int x, int y) : Fl_Box(x, y, 32, 32) {}
  void draw() override {
    fl_color(fl_rgb_color(250, 200, 30));
    fl_polygon(x() + 16, y() + 1, x() + 31, y() + 30, x() + 1, y() + 30);
    fl_color(FL_BLACK);
    fl_font(FL_HELVETICA_BOLD, 20);
    fl_draw("!", x(), y() + 6, w(), h() - 6, FL_ALIGN_CENTER, nullptr, 0);
  }
};

int runBox(std::string_view title, std::string_view text, BoxIcon icon,
           std::initializer_list<const char*> buttons) {
  // Blank lines at the end of a text would only make the box taller.
  std::string body(text);
  while (!body.empty() && (body.back() == '\n' || body.back() == ' ' || body.back() == '\r'))
    body.pop_back();
  // Lines wrap at kWrapWidth; a word longer than that widens the box.
  fl_font(FL_HELVETICA, kDialogFontSize + 1);
  int textWidth = kWrapWidth, textHeight = 0;
  fl_measure(body.c_str(), textWidth, textHeight, 0);
  textWidth = std::max(textWidth, 1);
  int iconWidth = icon == BoxIcon::kExclamation ? 32 + kMargin : 0;
  int screenX, screenY, screenW, screenH;
  Fl::screen_work_area(screenX, screenY, screenW, screenH);
  int shownTextHeight = std::min(textHeight, screenH - 120);
  int scrollWidth = shownTextHeight < textHeight ? Fl::scrollbar_size() : 0;
  int buttonsWidth = static_cast<int>(buttons.size()) * (kButtonWidth + kMargin) - kMargin;
  int width = std::max(
      {kMargin * 2 + iconWidth + textWidth + scrollWidth, kMargin * 2 + buttonsWidth, 220});
  int height = kMargin * 3 + std::max(shownTextHeight, 32) + kButtonHeight;

  Fl_Double_Window window(width, height);
  window.copy_label(std::string(title).c_str());
  if (icon == BoxIcon::kExclamation) new ExclamationMark(kMargin, kMargin);
  auto* scroll =
      new Fl_Scroll(kMargin + iconWidth, kMargin, textWidth + scrollWidth, shownTextHeight);
  scroll->type(Fl_Scroll::VERTICAL);
  scroll->box(FL_NO_BOX);
  new PlainText(kMargin + iconWidth, kMargin, textWidth, textHeight, body);
  scroll->end();
  // The close box and Escape count as the last button.
  struct Outcome {
    std::vector<Fl_Widget*> buttons;
    int pressed = -1;
  } outcome;
  int x = (width - buttonsWidth) / 2;
  for (const char* caption : buttons) {
    int y = height - kMargin - kButtonHeight;
    Fl_Button* button = outcome.buttons.empty()
                            ? new Fl_Return_Button(x, y, kButtonWidth, kButtonHeight, caption)
                            : new Fl_Button(x, y, kButtonWidth, kButtonHeight, caption);
    button->labelsize(kDialogFontSize + 1);
    button->callback(
        [](Fl_Widget* widget, void* data) {
          auto& outcome = *static_cast<Outcome*>(data);
          auto found = std::find(outcome.buttons.begin(), outcome.buttons.end(), widget);
          outcome.pressed = static_cast<int>(found - outcome.buttons.begin());
          widget->window()->hide();
        },
        &outcome);
    outcome.buttons.push_back(button);
    x += kButtonWidth + kMargin;
  }
  window.end();
  window.set_modal();
  window.position(screenX + (screenW - width) / 2, screenY + (screenH - height) / 2);
  window.show();
  while (window.shown()) Fl::wait();
  return outcome.pressed < 0 ? static_cast<int>(buttons.size()) - 1 : outcome.pressed;
}

}  // namespace

void showMessageBox(std::string_view title, std::string_view text, BoxIcon icon) {
  runBox(title, text, icon, {"OK"});
}

bool askYesNo(std::string_view title, std::string_view text) {
  return runBox(title, text, BoxIcon::kExclamation, {"Yes", "No"}) == 0;
}

}  // namespace lv
