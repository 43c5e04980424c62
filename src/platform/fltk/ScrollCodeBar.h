#pragma once

#include <FL/Fl_Scrollbar.H>

#include <functional>

namespace lv {

// Scroll codes as the dialog's handler takes them.
namespace scroll {
inline constexpr int kLineLeft = 0, kLineRight = 1, kPageLeft = 2, kPageRight = 3;
inline constexpr int kThumbPosition = 4, kThumbTrack = 5, kLeft = 6, kRight = 7, kEnd = 8;
}  // namespace scroll

// A horizontal scroll bar that, like the platform's, does not move by itself: it reports what
// the user does as a scroll code with the thumb position, and shows the range, page and
// position its owner sets. Arrows and the trough repeat while held; dragging the thumb reports
// tracking, its release the position and the end of scrolling.
class ScrollCodeBar : public Fl_Scrollbar {
 public:
  using Handler = std::function<void(int code, int position)>;

  ScrollCodeBar(int x, int y, int width, int height);

  void onScroll(Handler handler) { handler_ = std::move(handler); }
  void set(int minimum, int maximum, int page, int position);

  int handle(int event) override;

 private:
  enum class Part { kNone, kLeftArrow, kRightArrow, kLeftTrough, kRightTrough, kThumb };
  struct Track {
    int left, width, thumbLeft, thumbWidth;  // pixels of the trough and the thumb
  };

  Track track() const;
  Part partAt(int x) const;
  int lastPosition() const;
  int positionAt(int thumbLeft) const;
  void showPosition(int position);
  void report(int code, int position);
  void repeatPart();
  static void repeat(void* bar);

  Handler handler_;
  int minimum_ = 0, maximum_ = 0, page_ = 0, position_ = 0;
  Part held_ = Part::kNone;
  int grabOffset_ = 0;
  int trackedPosition_ = 0;
};

}  // namespace lv
