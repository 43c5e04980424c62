#include <gtest/gtest.h>

#include "GraphFixture.h"
#include "platform/cairo/RasterCanvas.h"
#include "viewer/shell/TrackMap.h"

namespace lv {
namespace {

using test::GraphFixture;

TEST(TrackMap, FrameKeepsTheAspectRatioForBothVariants) {
  GraphFixture g;
  g.stores->mapBounds = {0.0f, 0.0f, 3634.0f, 724.0f};  // twice as wide as the plot is
  GraphContext c = g.context();
  fitTrackMap(c, MapFrameVariant::kLoad);
  EXPECT_FLOAT_EQ(c.view.mapScale, 3634.0f / 1970.0f);
  EXPECT_FLOAT_EQ(c.view.mapOffsetX, 0.0f);
  EXPECT_FLOAT_EQ(c.view.mapOffsetY, (724.0f * 0.5f + 724.0f) / 2.0f);
  g.stores->mapBounds = {0.0f, 0.0f, 100.0f, 1448.0f};  // taller than wide
  fitTrackMap(c, MapFrameVariant::kTreeImport);
  EXPECT_FLOAT_EQ(c.view.mapScale, 2.0f);
  EXPECT_FLOAT_EQ(c.view.mapOffsetY, 724.0f);
  EXPECT_NEAR(c.view.mapOffsetX, 1817.0 - (1817.0 * (100.0 / 1817.0) / 2.0 + 1817.0) / 2.0, 1e-3);
  // No extent at all: every sample lands on one point.
  g.stores->mapBounds = {5.0f, 5.0f, 5.0f, 5.0f};
  fitTrackMap(c, MapFrameVariant::kLoad);
  g.tel(0).f[2] = 5.0f;
  g.tel(0).f[3] = 5.0f;
  MapPoint p = mapPoint(c, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 918);
}

TEST(RasterCanvas, LinesLeaveOutTheirEndAndFarPointsAreClipped) {
  RasterCanvas canvas;
  canvas.selectPen({240, 0, 40});
  canvas.moveTo(10, 10);
  canvas.lineTo(20, 10);
  EXPECT_EQ(canvas.pixel(10, 10), (Rgb{240, 0, 40}));
  EXPECT_EQ(canvas.pixel(19, 10), (Rgb{240, 0, 40}));
  EXPECT_EQ(canvas.pixel(20, 10), kDialogBackground);
  canvas.moveTo(100, -2000000000);
  canvas.lineTo(100, 2000000000);  // clipped, not walked pixel by pixel
  EXPECT_EQ(canvas.pixel(100, 500), (Rgb{240, 0, 40}));
  canvas.rectangleOutline(1845, 904, 51, 1, {40, 0, 240});
  EXPECT_EQ(canvas.pixel(1845, 904), (Rgb{40, 0, 240}));
  EXPECT_EQ(canvas.pixel(1895, 904), (Rgb{40, 0, 240}));
  EXPECT_EQ(canvas.pixel(1896, 904), kDialogBackground);
  canvas.eraseAll();
  EXPECT_EQ(canvas.pixel(100, 500), kDialogBackground);
}

}  // namespace
}  // namespace lv
