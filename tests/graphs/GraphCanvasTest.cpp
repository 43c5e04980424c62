#include <gtest/gtest.h>

#include "GraphFixture.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/PlotKernel.h"
#include "viewer/graphs/ZoomAndScroll.h"

namespace lv {
namespace {

using test::GraphFixture;

TEST(GraphCanvas, FirstPressOfAShownChannelHidesItAndRedrawsTheOthers) {
  GraphFixture g;
  g.addLap(100);
  g.choose({0});
  GraphContext c = g.context();
  pressChannel(c, g.commands, ChannelId::kSpeed);
  EXPECT_EQ(c.view.pressCounter[channelIndex(ChannelId::kSpeed)], 2);
  const auto& events = g.canvas.events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), "erase");
  // The last drawing is the cursor line along the left edge (then the pen is put back).
  EXPECT_EQ(events[events.size() - 4], "pen 0 0 0");
  EXPECT_EQ(events[events.size() - 3], "move 0 0");
  EXPECT_EQ(events[events.size() - 2], "line 0 1070");
  // Every other initially shown channel kept its odd counter through the redraw.
  for (ChannelId id : {ChannelId::kThrottle, ChannelId::kBrake, ChannelId::kRpm, ChannelId::kMap,
                       ChannelId::kWear, ChannelId::kSteering, ChannelId::kGear})
    EXPECT_EQ(c.view.pressCounter[channelIndex(id)] % 2, 1);
  g.canvas.clearEvents();
  pressChannel(c, g.commands, ChannelId::kSpeed);
  EXPECT_EQ(g.canvas.events().front(), "pen 160 0 40");  // drawn on top, nothing erased
}

TEST(GraphCanvas, SingleLapSpansThePlotWidth) {
  GraphFixture g;
  g.addLap(100);
  g.choose({0});
  GraphContext c = g.context();
  for (int s = 0; s < 100; ++s) g.tel(s).f[4] = 0.5f;
  plotCurves(c, {632, 120, ColourSet::kPrimary}, [](const auto& rows, int k, const LapRange&) {
    return static_cast<double>(rows.telemetry(k, 4));
  });
  auto points = g.curve("240 0 40");
  ASSERT_EQ(points.size(), 100u);
  EXPECT_EQ(points.front(), (std::pair{0, 572}));
  EXPECT_EQ(points.back().first, 1798);  // 99 / 100 of 1817
}

TEST(GraphCanvas, MultiLapStartsPastTheOffsetAndStopsPastTheEdge) {
  GraphFixture g;
  g.addLap(10, 1000, 0);
  g.addLap(10, 1000, 0);
  g.choose({0, 1});
  g.stores->maxFrameDistance = 9000;
  g.view.scrollOffset = 3000;
  g.view.zoomFactor = 3;
  GraphContext c = g.context();
  std::vector<int> xs;
  for (int k = 0; k < 10; ++k) xs.push_back((c.view.xSpan = 9000.0f, xOf(c, k, 0)));
  // x = (d - 3000) / 9000 * 1817 * 3: 6000 -> 3634 is past the edge.
  EXPECT_EQ(xs[4], 605);
  EXPECT_EQ(xs[6], 1817);
  plotCurves(c, {0, 0, ColourSet::kPrimary}, [](const auto&, int, const LapRange&) { return 0.0; });
  auto points = g.curve("240 0 40");
  // Distance 3000 equals the offset: the first point is sample 4; x = 1817 is drawn, 2422 ends.
  ASSERT_EQ(points.size(), 4u);
  EXPECT_EQ(points[0].first, 605);
  EXPECT_EQ(points[1].first, 605);
  EXPECT_EQ(points[3].first, 1817);
}

TEST(GraphCanvas, ZoomScrollAndLapStepping) {
  GraphFixture g;
  g.addLap(3000);
  g.choose({0});
  g.view.zoomFactor = 3;
  g.view.scrollOffset = 2500;
  GraphContext c = g.context();
  zoomOut(c, g.commands);
  EXPECT_EQ(c.view.zoomFactor, 2);
  EXPECT_EQ(c.view.scrollOffset, 1500);
  EXPECT_EQ(g.controls.events.back(), "scrollbar 0 3000 1500 0");

  g.addLap(3000);
  g.choose({0, 1});
  c.view.xSpan = 3000000.0f;
  c.view.scrollBar.set(c.controls, 1500, 100, 100);
  scrollGraphs(c, g.commands, kPageRight, 0);
  EXPECT_EQ(c.view.scrollBar.position(), 125);
  EXPECT_EQ(c.view.scrollOffset, 125 * 2000);
  int offset = c.view.scrollOffset;
  scrollGraphs(c, g.commands, kLineLeft, 0);
  EXPECT_EQ(c.view.scrollOffset, 120 * 2000);
  c.view.scrollBar.set(c.controls, 1500, 100, 2);
  scrollGraphs(c, g.commands, kLineLeft, 0);  // below 0: nothing at all
  EXPECT_EQ(c.view.scrollBar.position(), 2);
  (void)offset;

  eraseGraphs(c);
  EXPECT_EQ(c.view.pressCounter[channelIndex(ChannelId::kSpeed)], 0);
  EXPECT_EQ(c.view.pressCounter[channelIndex(ChannelId::kMap)] % 2, 1);
  dropLaps(c);
  EXPECT_EQ(c.stores.selectedCount, 0);
  EXPECT_EQ(c.view.offsetInDistanceUnits, 1);
  EXPECT_EQ(c.fields.lapNameText[3], "No lap");
}

TEST(GraphCanvas, LapColourMarksVariants) {
  GraphFixture g;
  g.stores->selectedCount = 2;
  GraphContext c = g.context();
  drawLapColourMarks(c, 3);
  std::vector<std::string> expected = {
      "rect 1828 488 33 60 240 0 40",  "rect 1828 554 33 60 40 0 240",
      "rect 1865 488 33 60 250 250 0", "rect 1865 554 33 60 40 140 40",
      "rect 1845 634 51 1 240 0 40",   "rect 1845 654 51 1 40 0 240"};
  EXPECT_EQ(g.canvas.events(), expected);
}

}  // namespace
}  // namespace lv
