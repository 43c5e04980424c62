#include "platform/fltk/ScrollCodeBar.h"

#include <FL/Fl.H>

#include <algorithm>
#include <cmath>

namespace lv {
namespace {

constexpr double kFirstRepeat = 0.4, kNextRepeat = 0.05;  // seconds, as the platform's bar

}  // namespace

ScrollCodeBar::ScrollCodeBar(int x, int y, int width, int height)
    : Fl_Scrollbar(x, y, width, height) {
  type(FL_HORIZONTAL);
  showPosition(0);
}

void ScrollCodeBar::set(int minimum, int maximum, int page, int position) {
  minimum_ = minimum;
  maximum_ = std::max(maximum, minimum);
  page_ = std::max(page, 0);
  position_ = std::clamp(position, minimum_, lastPosition());
  if (held_ != Part::kThumb) showPosition(position_);
}

// With a page, the thumb covers it, so the last position leaves one page at the end.
int ScrollCodeBar::lastPosition() const {
  return page_ > 0 ? std::max(minimum_, maximum_ - page_ + 1) : maximum_;
}

void ScrollCodeBar::showPosition(int position) {
  int total = maximum_ - minimum_ + 1;
  // FLTK's bar shows `page` of `total` with the thumb at `position`.
  value(position, std::max(page_, 1), minimum_, std::max(total, 1));
  if (page_ == 0) slider_size(0.0);
  redraw();
}

ScrollCodeBar::Track ScrollCodeBar::track() const {
  // The same geometry FLTK's own bar draws: arrows as wide as the bar is high.
  int left = x(), width = w();
  if (width >= 3 * h()) {
    left += h();
    width -= 2 * h();
  }
  int thumbWidth = std::max(static_cast<int>(slider_size() * width + 0.5), h() / 2 + 1);
  double range = maximum() - minimum();
  double fraction = range != 0 ? (value() - minimum()) / range : 0.5;
  int thumbLeft = fraction >= 1.0   ? width - thumbWidth
                  : fraction <= 0.0 ? 0
                                    : static_cast<int>(fraction * (width - thumbWidth) + 0.5);
  return {left, width, thumbLeft, thumbWidth};
}

ScrollCodeBar::Part ScrollCodeBar::partAt(int mouseX) const {
  Track t = track();
  int relative = mouseX - t.left;
  if (relative < 0) return Part::kLeftArrow;
  if (relative >= t.width) return Part::kRightArrow;
  if (relative < t.thumbLeft) return Part::kLeftTrough;
  if (relative >= t.thumbLeft + t.thumbWidth) return Part::kRightTrough;
  return Part::kThumb;
}

int ScrollCodeBar::positionAt(int thumbLeft) const {
  Track t = track();
  int travel = t.width - t.thumbWidth;
  if (travel <= 0) return minimum_;
  double fraction = std::clamp(static_cast<double>(thumbLeft) / travel, 0.0, 1.0);
  return minimum_ + static_cast<int>(std::lround(fraction * (lastPosition() - minimum_)));
}

void ScrollCodeBar::report(int code, int position) {
  if (handler_) handler_(code, position);
}

void ScrollCodeBar::repeatPart() {
  switch (held_) {
    case Part::kLeftArrow:
      report(scroll::kLineLeft, position_);
      break;
    case Part::kRightArrow:
      report(scroll::kLineRight, position_);
      break;
    case Part::kLeftTrough:
      report(scroll::kPageLeft, position_);
      break;
    case Part::kRightTrough:
      report(scroll::kPageRight, position_);
      break;
    default:
      break;
  }
}

void ScrollCodeBar::repeat(void* data) {
  auto* bar = static_cast<ScrollCodeBar*>(data);
  // The trough stops repeating once the thumb has reached the mouse.
  if (bar->held_ == Part::kNone || bar->partAt(Fl::event_x()) != bar->held_) return;
  bar->repeatPart();
  Fl::repeat_timeout(kNextRepeat, repeat, data);
}

int ScrollCodeBar::handle(int event) {
  switch (event) {
    case FL_PUSH: {
      if (Fl::event_button() != FL_LEFT_MOUSE) return 1;
      held_ = partAt(Fl::event_x());
      if (held_ == Part::kThumb) {
        grabOffset_ = Fl::event_x() - track().left - track().thumbLeft;
        trackedPosition_ = position_;
        return 1;
      }
      repeatPart();
      Fl::add_timeout(kFirstRepeat, repeat, this);
      return 1;
    }
    case FL_DRAG:
      if (held_ != Part::kThumb) return 1;
      trackedPosition_ = positionAt(Fl::event_x() - track().left - grabOffset_);
      showPosition(trackedPosition_);
      report(scroll::kThumbTrack, trackedPosition_);
      return 1;
    case FL_RELEASE: {
      Part released = held_;
      held_ = Part::kNone;
      Fl::remove_timeout(repeat, this);
      if (released == Part::kThumb) report(scroll::kThumbPosition, trackedPosition_);
      showPosition(position_);
      if (released != Part::kNone) report(scroll::kEnd, position_);
      return 1;
    }
    case FL_KEYBOARD: {
      static constexpr struct {
        int key, code;
      } kKeys[] = {{FL_Left, scroll::kLineLeft},    {FL_Right, scroll::kLineRight},
                   {FL_Page_Up, scroll::kPageLeft}, {FL_Page_Down, scroll::kPageRight},
                   {FL_Home, scroll::kLeft},        {FL_End, scroll::kRight}};
      for (const auto& key : kKeys) {
        if (Fl::event_key() != key.key) continue;
        report(key.code, position_);
        report(scroll::kEnd, position_);
        return 1;
      }
      return 0;
    }
    case FL_FOCUS:
    case FL_UNFOCUS:
      return Fl::visible_focus() ? 1 : 0;
    default:
      return Fl_Widget::handle(event);
  }
}

}  // namespace lv
