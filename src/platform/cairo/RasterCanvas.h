#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "platform/pixels/PixelWriter.h"
#include "telemetry/Status.h"
#include "viewer/graphs/Canvas.h"
#include "viewer/load/FixedTable.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

namespace lv {

// The client area as pixels on a Cairo image surface, allocated once: 1-px lines set the
// pixels a GDI line sets (Bresenham, the end point left out), without antialiasing. Lines
// and rectangles are written straight into the surface's pixels; Cairo draws text and
// ellipses and writes the files.
class RasterCanvas : public Canvas {
 public:
  static constexpr int kWidth = 1908;   // 1272 dialog units at 1.5 px
  static constexpr int kHeight = 1042;  // 641 dialog units at 1.625 px

  RasterCanvas();
  ~RasterCanvas() override;
  RasterCanvas(const RasterCanvas&) = delete;
  RasterCanvas& operator=(const RasterCanvas&) = delete;

  void eraseAll() override;
  void moveTo(int x, int y) override;
  void lineTo(int x, int y) override;
  void polylineTo(std::span<const CanvasPoint> points) override;
  void columnStrokes(std::span<const ColumnStroke> strokes) override;
  void curveTo(const SampleCurve& curve) override;
  void barRows(const BarRows& bars) override;
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override;
  void ellipse(int left, int top, int right, int bottom, Rgb fill) override;
  void text(int x, int y, std::string_view utf8) override;

  // Every pixel as 32 bits 0x00RRGGBB (Cairo's RGB24: laid out as ARGB32 with an unused
  // alpha), row after row `strideBytes` apart, for a window to copy; valid until the next
  // drawing call.
  struct Pixels {
    const std::uint32_t* data;
    int width;
    int height;
    int strideBytes;
  };

  Rgb pixel(int x, int y) const;
  Pixels pixels() const;
  // The area drawn since the last call, for a window that copies only what changed.
  PixelArea takeChangedArea();
  Status writePng(const std::string& path) const;
  Status writeSvg(const std::string& path) const;

 protected:
  void penSelected(Rgb) override {}

 private:
  // Who wrote the pixels last decides what must happen before the other writes or reads.
  enum class Writer { kNone, kDirect, kCairo };
  void beginDirect();
  void beginCairo();
  void switchToCairo() const;
  void settle() const;
  void touchCairo(double left, double top, double right, double bottom) const;

  // Texts wait, in order, until the pixels are next drawn on or read, and an erase of
  // everything drops those it covers unseen: a load's hints are erased by its picture before
  // anyone but a window showing its progress looks. The font takes some milliseconds to be
  // found and loaded the first time; the first text sets a thread to it, which works while the
  // load reads its files.
  struct PendingText {
    int x, y;
    std::string text;
  };
  void startLoadingFont();
  // Puts down the erase and the texts that wait, in order.
  void catchUp() const;
  void drawPendingTexts() const;
  void drawText(int x, int y, const std::string& text) const;

  // The surface's pixels, in memory that asks for huge pages: a fresh picture is written
  // whole at once, and thousands of small page faults would cost more than drawing it.
  FixedTable<std::uint32_t> memory_;
  cairo_surface_t* surface_;
  cairo_t* cairo_;
  PixelBuffer buffer_;
  mutable PixelWriter writer_;
  mutable Writer lastWriter_ = Writer::kNone;
  mutable PixelArea cairoChanged_{};
  mutable std::thread fontLoader_;
  std::atomic<bool> fontLoaded_{false};
  mutable std::vector<PendingText> pendingTexts_;
  mutable bool eraseDue_ = false;
  int currentX_ = 0;
  int currentY_ = 0;
};

}  // namespace lv
