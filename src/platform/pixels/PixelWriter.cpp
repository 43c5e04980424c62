#include "platform/pixels/PixelWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/pixels/LineClipping.h"
#include "viewer/load/SideBySide.h"

namespace lv {

void PixelWriter::line(int fromX, int fromY, int toX, int toY, std::uint32_t colour) {
  if (!inside(fromX, fromY) || !inside(toX, toY)) {
    clippedLine(fromX, fromY, toX, toY, colour);
    return;
  }
  if (fromX == toX) {
    if (fromY < toY) {
      addSpan(fromX, fromY, toY - 1, colour);
    } else if (fromY > toY) {
      addSpan(fromX, toY + 1, fromY, colour);
    }
    return;
  }
  flush();
  if (fromY == toY) {
    std::uint32_t* pixels = row(fromY);
    int left = fromX < toX ? fromX : toX + 1;
    int right = fromX < toX ? toX : fromX + 1;
    std::fill(pixels + left, pixels + right, colour);
    touch(left, fromY, right, fromY + 1);
    return;
  }
  bresenham(fromX, fromY, toX, toY, colour);
  touch(std::min(fromX, toX), std::min(fromY, toY), std::max(fromX, toX) + 1,
        std::max(fromY, toY) + 1);
}

void PixelWriter::polyline(CanvasPoint from, std::span<const CanvasPoint> points,
                           std::uint32_t colour) {
  int x = from.x, y = from.y;
  std::size_t i = 0;
  const std::size_t n = points.size();
  while (i < n) {
    if (points[i].x != x || !inside(x, y) || !inside(x, points[i].y)) {
      line(x, y, points[i].x, points[i].y, colour);
      x = points[i].x;
      y = points[i].y;
      ++i;
      continue;
    }
    // A chain of lines in one column sets one unbroken run of pixels: each line starts
    // where the one before left out its end.
    int top = buffer_.height, bottom = -1;
    for (; i < n && points[i].x == x && inside(x, points[i].y); ++i) {
      int next = points[i].y;
      if (next > y) {
        top = std::min(top, y);
        bottom = std::max(bottom, next - 1);
      } else if (next < y) {
        top = std::min(top, next + 1);
        bottom = std::max(bottom, y);
      }
      y = next;
    }
    if (top <= bottom) addSpan(x, top, bottom, colour);
  }
}

void PixelWriter::columnStrokes(std::span<const ColumnStroke> strokes, std::uint32_t colour) {
  // Rows of bars put several strokes into each column, most of them over one another: they
  // are merged here, per column, before they become spans.
  std::array<Span, kSpanCapacity> merged;
  int count = 0;
  int column = 0;
  auto putDown = [&] {
    for (int i = 0; i < count; ++i) {
      const Span& span = merged[static_cast<std::size_t>(i)];
      addSpan(column, span.top, span.bottom, colour);
    }
    count = 0;
  };
  for (const ColumnStroke& s : strokes) {
    if (!inside(s.x, s.from) || !inside(s.x, s.to)) {
      putDown();
      line(s.x, s.from, s.x, s.to, colour);
      continue;
    }
    if (s.from == s.to) continue;
    int top = s.from < s.to ? s.from : s.to + 1;
    int bottom = s.from < s.to ? s.to - 1 : s.from;
    if (s.x != column) {
      putDown();
      column = s.x;
    }
    int i = 0;
    while (i < count && (top > merged[static_cast<std::size_t>(i)].bottom + 1 ||
                         bottom + 1 < merged[static_cast<std::size_t>(i)].top))
      ++i;
    if (i < count) {
      Span& span = merged[static_cast<std::size_t>(i)];
      span.top = std::min(span.top, top);
      span.bottom = std::max(span.bottom, bottom);
    } else {
      if (count == kSpanCapacity) putDown();
      merged[static_cast<std::size_t>(count++)] = {top, bottom};
    }
  }
  putDown();
}

void PixelWriter::addSpan(int x, int top, int bottom, std::uint32_t colour) {
  if (spanCount_ > 0 && (x != spanX_ || colour != spanColour_)) flush();
  spanX_ = x;
  spanColour_ = colour;
  for (int i = 0; i < spanCount_; ++i) {
    Span& span = spans_[static_cast<std::size_t>(i)];
    if (top <= span.bottom + 1 && bottom + 1 >= span.top) {
      // Touching or overlapping: the union is one span. Spans that come to overlap one
      // another only set some pixels twice in the same colour.
      span.top = std::min(span.top, top);
      span.bottom = std::max(span.bottom, bottom);
      return;
    }
  }
  if (spanCount_ == kSpanCapacity) {
    flush();
    spanX_ = x;
    spanColour_ = colour;
  }
  spans_[static_cast<std::size_t>(spanCount_++)] = {top, bottom};
}

void PixelWriter::flush() {
  for (int i = 0; i < spanCount_; ++i) {
    const Span& span = spans_[static_cast<std::size_t>(i)];
    std::uint32_t* pixel = row(span.top) + spanX_;
    for (int y = span.top; y <= span.bottom; ++y, pixel += buffer_.stride) *pixel = spanColour_;
    touch(spanX_, span.top, spanX_ + 1, span.bottom + 1);
  }
  spanCount_ = 0;
}

void PixelWriter::bresenham(int ax, int ay, int bx, int by, std::uint32_t colour) {
  int dx = std::abs(bx - ax), sx = ax < bx ? 1 : -1;
  int dy = -std::abs(by - ay), sy = ay < by ? 1 : -1;
  int error = dx + dy;
  while (ax != bx || ay != by) {
    row(ay)[ax] = colour;
    int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      ax += sx;
    }
    if (twice <= dx) {
      error += dx;
      ay += sy;
    }
  }
}

void PixelWriter::clippedLine(int fromX, int fromY, int toX, int toY, std::uint32_t colour) {
  // Both ends beyond one edge: nothing of the line lies on the buffer (curves that run off it
  // for a while bring many of these).
  if ((fromX < 0 && toX < 0) || (fromY < 0 && toY < 0) ||
      (fromX >= buffer_.width && toX >= buffer_.width) ||
      (fromY >= buffer_.height && toY >= buffer_.height))
    return;
  double x0 = fromX, y0 = fromY, x1 = toX, y1 = toY;
  if (!clipSegment(x0, y0, x1, y1, buffer_.width, buffer_.height)) return;
  flush();
  int ax = static_cast<int>(std::lround(x0)), ay = static_cast<int>(std::lround(y0));
  int bx = static_cast<int>(std::lround(x1)), by = static_cast<int>(std::lround(y1));
  // The cut ends lie on the buffer's edge; should rounding ever put one outside, the line
  // is dropped rather than written past the buffer.
  if (!inside(ax, ay) || !inside(bx, by)) return;
  bresenham(ax, ay, bx, by, colour);
  // The end point is left out only where the line really ends; a cut end is set.
  if (bx != toX || by != toY) row(by)[bx] = colour;
  touch(std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1);
}

void PixelWriter::fill(int x, int y, int width, int height, std::uint32_t colour) {
  int left = std::max(x, 0), right = std::min(x + width, buffer_.width);
  int top = std::max(y, 0), bottom = std::min(y + height, buffer_.height);
  if (left >= right || top >= bottom) return;
  flush();
  auto fillRows = [&](int from, int to) {
    for (int r = from; r < to; ++r) std::fill(row(r) + left, row(r) + right, colour);
  };
  // A whole raster is megabytes, first touched by its first erase: both cores share it.
  constexpr std::int64_t kWorthASecondThread = 1 << 20;
  if (static_cast<std::int64_t>(right - left) * (bottom - top) >= kWorthASecondThread) {
    int middle = top + (bottom - top) / 2;
    runSideBySide([&] { fillRows(middle, bottom); }, [&] { fillRows(top, middle); });
  } else {
    fillRows(top, bottom);
  }
  touch(left, top, right, bottom);
}

void PixelWriter::touch(int left, int top, int right, int bottom) {
  if (changed_.empty()) {
    changed_ = {left, top, right, bottom};
    return;
  }
  changed_.left = std::min(changed_.left, left);
  changed_.top = std::min(changed_.top, top);
  changed_.right = std::max(changed_.right, right);
  changed_.bottom = std::max(changed_.bottom, bottom);
}

PixelArea PixelWriter::takeChanged() {
  flush();
  PixelArea changed = changed_;
  changed_ = {};
  return changed;
}

}  // namespace lv
