#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "viewer/graphs/Canvas.h"
#include "viewer/graphs/SampleCurve.h"

namespace lv {

// A rectangle of pixels, right and bottom edges excluded; empty when right <= left.
struct PixelArea {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool empty() const { return right <= left || bottom <= top; }
};

// 32-bit pixels (0x00RRGGBB, as Cairo's RGB24 image surfaces and 32-bit DIB sections hold
// them) with `stride` pixels from one row to the next.
struct PixelBuffer {
  std::uint32_t* data = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// Draws 1-px lines and filled rectangles straight into a pixel buffer, with the pixels of
// the original line primitive: Bresenham from the start point, the end point left out, lines
// that leave the buffer cut first (a cut end is set).
//
// A long drive puts hundreds of samples into one pixel column, so most lines are short
// vertical runs there. They are collected as spans of one column and one colour and written
// together: pixels of one colour are the same whatever order they are set in, and every
// other kind of write first puts the collected spans down, so the picture is the one the
// lines would give drawn one by one.
class PixelWriter {
 public:
  explicit PixelWriter(PixelBuffer buffer) : buffer_(buffer) {}

  void line(int fromX, int fromY, int toX, int toY, std::uint32_t colour);
  // Lines from `from` through every point; the runs that stay in one column become spans.
  void polyline(CanvasPoint from, std::span<const CanvasPoint> points, std::uint32_t colour);
  void columnStrokes(std::span<const ColumnStroke> strokes, std::uint32_t colour);
  // A summarised curve or rows of bars take one span per column where the whole column lies
  // on the buffer; the points or bars of any other column are drawn one by one.
  void curve(const SampleCurve& curve, std::uint32_t colour);
  void barRows(const BarRows& bars, std::uint32_t colour);
  void fill(int x, int y, int width, int height, std::uint32_t colour);
  // Puts down the collected spans; call before anything else reads or writes the buffer.
  void flush();

  // The area written since the last call (spans still collected included).
  PixelArea takeChanged();

 private:
  struct Span {
    int top, bottom;  // both set
  };
  static constexpr int kSpanCapacity = 8;

  void addSpan(int x, int top, int bottom, std::uint32_t colour);
  void curvePoints(const SampleCurve& curve, std::size_t first, std::size_t count, CanvasPoint from,
                   std::uint32_t colour);
  void barStrokes(const BarRows& bars, std::size_t first, std::size_t count, std::uint32_t colour);
  bool barsFit(const BarRows& bars, const BarColumn& column) const;
  void clippedLine(int fromX, int fromY, int toX, int toY, std::uint32_t colour);
  void bresenham(int ax, int ay, int bx, int by, std::uint32_t colour);
  bool inside(int x, int y) const {
    // Unsigned compares test both bounds at once.
    return static_cast<unsigned>(x) < static_cast<unsigned>(buffer_.width) &&
           static_cast<unsigned>(y) < static_cast<unsigned>(buffer_.height);
  }
  void touch(int left, int top, int right, int bottom);
  std::uint32_t* row(int y) {
    return buffer_.data + static_cast<std::ptrdiff_t>(y) * buffer_.stride;
  }

  PixelBuffer buffer_;
  // The collected spans: all in column spanX_, colour spanColour_.
  std::array<Span, kSpanCapacity> spans_{};
  int spanCount_ = 0;
  int spanX_ = 0;
  std::uint32_t spanColour_ = 0;
  PixelArea changed_{};
};

}  // namespace lv
