// The raster draws lines in runs and spans; these tests draw the same pictures through a
// plain one-pixel-at-a-time rasteriser with the rules the raster must keep (Bresenham from
// the start, end point left out, segments cut to the surface first and a cut end set) and
// compare every pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <vector>

#include "DriveLoading.h"
#include "GraphFixture.h"
#include "platform/cairo/RasterCanvas.h"
#include "platform/pixels/LineClipping.h"
#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/GraphChannels.h"
#include "viewer/graphs/SampleCurve.h"
#include "viewer/overviews/OverviewChannels.h"
#include "viewer/overviews/TyreColumnSummaries.h"
#include "viewer/overviews/TyreOverview.h"
#include "viewer/shell/TrackMap.h"

namespace lv {
namespace {

constexpr int kWidth = RasterCanvas::kWidth;
constexpr int kHeight = RasterCanvas::kHeight;

// Lines and rectangles one pixel at a time, every pixel checked against the surface.
class ReferenceRaster : public Canvas {
 public:
  ReferenceRaster() : pixels_(static_cast<std::size_t>(kWidth) * kHeight) { eraseAll(); }

  void eraseAll() override { fill(0, 0, kWidth, kHeight, kDialogBackground); }
  void moveTo(int x, int y) override {
    x_ = x;
    y_ = y;
  }
  void lineTo(int x, int y) override {
    double x0 = x_, y0 = y_, x1 = x, y1 = y;
    x_ = x;
    y_ = y;
    if (!clipSegment(x0, y0, x1, y1, kWidth, kHeight)) return;
    int ax = static_cast<int>(std::lround(x0)), ay = static_cast<int>(std::lround(y0));
    int bx = static_cast<int>(std::lround(x1)), by = static_cast<int>(std::lround(y1));
    int dx = std::abs(bx - ax), sx = ax < bx ? 1 : -1;
    int dy = -std::abs(by - ay), sy = ay < by ? 1 : -1;
    int error = dx + dy;
    bool endWasCut = bx != x || by != y;
    while (ax != bx || ay != by) {
      set(ax, ay, pen());
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
    if (endWasCut) set(bx, by, pen());
  }
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override {
    fill(x, y, width - 1, 1, colour);
    fill(x, y, 1, height - 1, colour);
    fill(x + width - 1, y, 1, height, colour);
    fill(x, y + height - 1, width, 1, colour);
  }
  void ellipse(int, int, int, int, Rgb) override {}
  void text(int, int, std::string_view) override {}

  Rgb pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * kWidth + x]; }

 protected:
  void penSelected(Rgb) override {}

 private:
  void set(int x, int y, Rgb colour) {
    if (x >= 0 && y >= 0 && x < kWidth && y < kHeight)
      pixels_[static_cast<std::size_t>(y) * kWidth + x] = colour;
  }
  void fill(int x, int y, int width, int height, Rgb colour) {
    for (int row = y; row < y + height; ++row)
      for (int column = x; column < x + width; ++column) set(column, row, colour);
  }

  std::vector<Rgb> pixels_;
  int x_ = 0, y_ = 0;
};

// Every call to both; curves and strokes reach the raster in blocks, whole curves and rows of
// bars with their column summaries, and the reference one point at a time. Text and ellipses
// are Cairo's own on the raster and left out of both.
class BothRasters : public Canvas {
 public:
  void eraseAll() override {
    raster.eraseAll();
    reference.eraseAll();
  }
  void moveTo(int x, int y) override {
    raster.moveTo(x, y);
    reference.moveTo(x, y);
  }
  void lineTo(int x, int y) override {
    raster.lineTo(x, y);
    reference.lineTo(x, y);
  }
  void polylineTo(std::span<const CanvasPoint> points) override {
    raster.polylineTo(points);
    for (const CanvasPoint& p : points) reference.lineTo(p.x, p.y);
  }
  void columnStrokes(std::span<const ColumnStroke> strokes) override {
    raster.columnStrokes(strokes);
    for (const ColumnStroke& s : strokes) {
      reference.moveTo(s.x, s.from);
      reference.lineTo(s.x, s.to);
    }
  }
  void curveTo(const SampleCurve& curve) override {
    raster.curveTo(curve);
    drawCurvePoints(reference, curve);
  }
  void barRows(const BarRows& bars) override {
    raster.barRows(bars);
    drawBarStrokes(reference, bars);
  }
  void rectangleOutline(int x, int y, int width, int height, Rgb colour) override {
    raster.rectangleOutline(x, y, width, height, colour);
    reference.rectangleOutline(x, y, width, height, colour);
  }
  void ellipse(int, int, int, int, Rgb) override {}
  void text(int, int, std::string_view) override {}

  // The number of pixels that differ; the first few are reported.
  int differences() const {
    int count = 0;
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) {
        Rgb a = raster.pixel(x, y), b = reference.pixel(x, y);
        if (a == b) continue;
        if (++count <= 5)
          ADD_FAILURE() << "pixel (" << x << ", " << y << "): raster " << int{a.r} << ","
                        << int{a.g} << "," << int{a.b} << " reference " << int{b.r} << ","
                        << int{b.g} << "," << int{b.b};
      }
    }
    return count;
  }

  RasterCanvas raster;
  ReferenceRaster reference;

 protected:
  void penSelected(Rgb colour) override {
    raster.selectPen(colour);
    reference.selectPen(colour);
  }
};

using NoControls = test::FakeControls;

TEST(RasterSameness, LargeDriveOverviewAndEveryChannelMatchPixelForPixel) {
  // About 65 samples per pixel column in the overview, laps of some 1 800 samples.
  sim::SimOptions options;
  options.frames = 120000;
  options.seed = 11;
  sim::Drive drive = sim::generateDrive(options);
  auto stores = std::make_unique<ViewerStores>();
  // The picture's column summaries gathered while the samples are derived, as a first load
  // does, on both cores.
  std::unique_ptr<TyreColumnSummaries> gathered;
  int end = test::loadDrive(drive, *stores, &gathered);
  ASSERT_GT(stores->lapCount, 10);

  CanvasState view;
  DialogFields fields;
  NoControls controls;
  BothRasters both;
  GraphContext c{*stores, view, fields, controls, both};
  drawTyreOverview(c, end, gathered.get());
  EXPECT_EQ(both.differences(), 0) << "tyre overview, summaries gathered by the load";
  drawTyreOverview(c, end);
  EXPECT_EQ(both.differences(), 0) << "tyre overview";
  stores->contactPatchMode = 1;
  drawTyreOverview(c, end);
  EXPECT_EQ(both.differences(), 0) << "tyre overview, contact patches shown";

  ChannelCommands commands;
  registerGraphChannels(commands);
  registerTyreChannels(commands);
  registerTrackMap(commands);
  for (int& counter : view.pressCounter) counter = 1;
  stores->selectedCount = 4;
  for (int i = 0; i < 4; ++i) stores->selectedLaps[static_cast<std::size_t>(i)] = 2 + 3 * i;
  redrawShown(c, commands);
  EXPECT_EQ(both.differences(), 0) << "every channel, four laps";
  // Zoomed in and scrolled: curves run off the right edge and end there.
  view.zoomFactor = 3;
  view.scrollOffset = 40000;
  redrawShown(c, commands);
  EXPECT_EQ(both.differences(), 0) << "every channel, zoomed";
  stores->selectedCount = 1;
  view.zoomFactor = 1;
  view.scrollOffset = 0;
  redrawShown(c, commands);
  EXPECT_EQ(both.differences(), 0) << "every channel, one lap";
}

// A curve of points at hand, with its column runs worked out from them.
class PointCurve : public SampleCurve {
 public:
  PointCurve(CanvasPoint start, std::vector<CanvasPoint> points)
      : start_(start), points_(std::move(points)), runs_(curveRunsOf(points_)) {}

  CanvasPoint start() const override { return start_; }
  std::size_t size() const override { return points_.size(); }
  void points(std::size_t first, std::span<CanvasPoint> out) const override {
    std::copy_n(points_.begin() + static_cast<std::ptrdiff_t>(first), out.size(), out.begin());
  }
  std::span<const CurveRun> runs() const override { return runs_; }

 private:
  CanvasPoint start_;
  std::vector<CanvasPoint> points_;
  std::vector<CurveRun> runs_;
};

// Two rows of bars with their heights at hand and their column extremes worked out plainly.
class HeightBars : public BarRows {
 public:
  struct Bar {
    int x;
    std::array<int, 2> heights;
  };
  HeightBars(std::array<int, 2> bases, std::vector<Bar> bars)
      : bases_(bases), bars_(std::move(bars)) {
    for (std::size_t i = 0; i < bars_.size(); ++i) {
      if (columns_.empty() || columns_.back().x != bars_[i].x)
        columns_.push_back({bars_[i].x, i, 0, bars_[i].heights, bars_[i].heights});
      BarColumn& column = columns_.back();
      ++column.count;
      for (std::size_t row = 0; row < 2; ++row) {
        column.lowest[row] = std::min(column.lowest[row], bars_[i].heights[row]);
        column.highest[row] = std::max(column.highest[row], bars_[i].heights[row]);
      }
    }
  }

  int rowCount() const override { return 2; }
  int base(int row) const override { return bases_[static_cast<std::size_t>(row)]; }
  std::size_t size() const override { return bars_.size(); }
  void strokes(std::size_t first, std::span<ColumnStroke> out) const override {
    for (std::size_t k = 0; k < out.size(); ++k) {
      const Bar& bar = bars_[first + k / 2];
      int top = bases_[k % 2];
      out[k] = {bar.x, top, top + bar.heights[k % 2]};
    }
  }
  std::span<const BarColumn> columns() const override { return columns_; }

 private:
  std::array<int, 2> bases_;
  std::vector<Bar> bars_;
  std::vector<BarColumn> columns_;
};

TEST(RasterSameness, RandomCurvesStrokesAndRectanglesMatchPixelForPixel) {
  std::mt19937 random(7);
  auto near = [&](int centre, int spread) {
    return centre + std::uniform_int_distribution<int>(-spread, spread)(random);
  };
  auto chance = [&](int in) { return std::uniform_int_distribution<int>(0, in - 1)(random) == 0; };
  auto coordinate = [&](int size) {
    // Mostly on the surface, some just beyond its edges, a few far away.
    int kind = std::uniform_int_distribution<int>(0, 19)(random);
    if (kind == 0) return near(0, 2000000000);
    if (kind <= 3) return near(kind == 1 ? 0 : size, 40);
    return std::uniform_int_distribution<int>(0, size - 1)(random);
  };
  // A curve that lingers in columns, as a long drive does, now and then steps a column back
  // or jumps, and sometimes leaves the surface.
  auto lingeringCurve = [&](int x, int y) {
    std::vector<CanvasPoint> points(
        static_cast<std::size_t>(std::uniform_int_distribution<int>(1, 1500)(random)));
    for (CanvasPoint& p : points) {
      if (chance(40)) x = chance(10) ? coordinate(kWidth) : near(x, 1);
      y = chance(30) ? coordinate(kHeight) : near(y, 3);
      p = {x, y};
    }
    return points;
  };
  // Two rows of bars close enough that their spans in one column may touch or not.
  auto twoRowsOfBars = [&](int x) {
    std::vector<HeightBars::Bar> bars(2000);
    for (std::size_t i = 0; i < bars.size(); ++i)
      bars[i] = {x + static_cast<int>(i) / 50, {near(0, 6), near(0, 3)}};
    return bars;
  };
  const Rgb colours[] = {{240, 0, 40}, {40, 0, 240}, {250, 250, 0}, {40, 140, 40}};
  BothRasters both;
  for (int round = 0; round < 360; ++round) {
    both.selectPen(colours[round % 4]);
    int x = coordinate(kWidth), y = coordinate(kHeight);
    both.moveTo(x, y);
    int kind = round % 6;
    if (kind == 0) {
      PolylineBatch curve(both);
      for (const CanvasPoint& p : lingeringCurve(x, y)) curve.add(p);
    } else if (kind == 1) {
      int top = coordinate(kHeight);
      std::array<int, 2> bases{top, top + std::uniform_int_distribution<int>(2, 9)(random)};
      StrokeBatch strokes(both);
      for (const HeightBars::Bar& bar : twoRowsOfBars(x)) {
        strokes.add({bar.x, bases[0], bases[0] + bar.heights[0]});
        strokes.add({bar.x, bases[1], bases[1] + bar.heights[1]});
      }
    } else if (kind == 2) {
      for (int i = 0; i < 50; ++i) both.lineTo(coordinate(kWidth), coordinate(kHeight));
    } else if (kind == 3) {
      both.rectangleOutline(x, y, near(0, 80), near(0, 80), colours[(round + 1) % 4]);
    } else if (kind == 4) {
      both.curveTo(PointCurve({x, y}, lingeringCurve(x, y)));
    } else {
      int top = coordinate(kHeight);
      std::array<int, 2> bases{top, top + std::uniform_int_distribution<int>(2, 9)(random)};
      both.barRows(HeightBars(bases, twoRowsOfBars(x)));
    }
    // Compared often, before later drawing can cover a wrong pixel.
    if (round % 12 == 11) {
      ASSERT_EQ(both.differences(), 0) << "after round " << round;
    }
  }
}

// The tyre picture of values no drive should hold: NaN and infinite temperatures, values far
// beyond the surface, any status word; and of a drive shorter than the plot is wide.
TEST(RasterSameness, TyrePictureOfWildValuesAndOfShortDrivesMatchesPixelForPixel) {
  std::mt19937 random(3);
  auto wild = [&](float usual) {
    switch (std::uniform_int_distribution<int>(0, 40)(random)) {
      case 0:
        return std::numeric_limits<float>::quiet_NaN();
      case 1:
        return std::numeric_limits<float>::infinity();
      case 2:
        return -std::numeric_limits<float>::infinity();
      case 3:
        return 3e9f;
      case 4:
        return -0.0f;
      default:
        return usual + std::uniform_real_distribution<float>(-30.0f, 30.0f)(random);
    }
  };
  for (int samples : {60000, 700, 3}) {
    auto stores = std::make_unique<ViewerStores>();
    for (int s = 0; s < samples; ++s) {
      auto row = static_cast<std::size_t>(s);
      for (int field = 12; field < 24; ++field) stores->telemetryTable[row].f[field] = wild(360.0f);
      for (int w = 0; w < 4; ++w) stores->tyreTempAvg[row].w[w] = wild(90.0f);
      stores->frameTable[row].f[FrameRecord::kStatusWord] =
          std::uniform_int_distribution<int>(0, 9)(random) == 0
              ? static_cast<std::int32_t>(random())
              : (s / 500) * 0x01050301;
    }
    stores->sampleCount = samples;
    CanvasState view;
    DialogFields fields;
    NoControls controls;
    BothRasters both;
    GraphContext c{*stores, view, fields, controls, both};
    for (int mode : {0, 1}) {
      stores->contactPatchMode = mode;
      drawTyreOverview(c, samples);
      EXPECT_EQ(both.differences(), 0) << samples << " samples, contact patches " << mode;
    }
  }
}

TEST(RasterCanvas, ChangedAreaCoversWhatWasDrawnAndIsEmptyAfterwards) {
  RasterCanvas canvas;
  canvas.takeChangedArea();
  EXPECT_TRUE(canvas.takeChangedArea().empty());
  canvas.moveTo(100, 200);
  canvas.lineTo(100, 260);
  canvas.lineTo(140, 230);
  PixelArea area = canvas.takeChangedArea();
  EXPECT_LE(area.left, 100);
  EXPECT_LE(area.top, 200);
  EXPECT_GE(area.right, 140);
  EXPECT_GE(area.bottom, 260);
  EXPECT_TRUE(canvas.takeChangedArea().empty());
  RasterCanvas::Pixels pixels = canvas.pixels();
  EXPECT_EQ(pixels.width, kWidth);
  EXPECT_EQ(pixels.height, kHeight);
  EXPECT_GE(pixels.strideBytes, 4 * kWidth);
  EXPECT_EQ(pixels.data[200 * pixels.strideBytes / 4 + 100] & 0xFFFFFFu, 0u);  // black pen
}

}  // namespace
}  // namespace lv

namespace lv {
namespace {

// Texts drawn while the font still loads wait for the next use of the pixels; they must end
// up under what is drawn after them, as if drawn at once.
TEST(RasterCanvas, TextsDrawnBeforeTheFontIsLoadedLandInOrder) {
  auto drawScene = [](RasterCanvas& canvas) {
    canvas.text(100, 100, "Any patience   ");
    canvas.moveTo(90, 105);
    canvas.lineTo(200, 108);
    canvas.text(100, 140, "please!");
    canvas.rectangleOutline(95, 138, 40, 6, {240, 0, 40});
  };
  RasterCanvas early;
  drawScene(early);
  RasterCanvas late;
  late.text(0, 0, "x");
  late.pixel(0, 0);  // the font is loaded now
  late.eraseAll();
  drawScene(late);
  int differing = 0;
  for (int y = 80; y < 170; ++y)
    for (int x = 80; x < 260; ++x) differing += early.pixel(x, y) == late.pixel(x, y) ? 0 : 1;
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(early.pixel(90, 105), kBlack);  // the line lies on the first text's background
  // Text that an erase covers never shows.
  RasterCanvas erased;
  erased.text(100, 100, "gone");
  erased.eraseAll();
  EXPECT_EQ(erased.pixel(102, 104), kDialogBackground);
}

}  // namespace
}  // namespace lv
