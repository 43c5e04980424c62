#include "viewer/overviews/TyreOverview.h"

#include <cmath>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/LapColours.h"
#include "viewer/overviews/TyreColumnSummaries.h"
#include "viewer/overviews/TyrePicture.h"

namespace lv {
namespace {

constexpr Rgb kReferencePen{40, 40, 40};

// The samples drawn: every one but the last of the drive. The drive never holds more than
// the stores do, so every sample drawn is a row of them.
std::size_t pictureSamples(float span) {
  if (!(span > 1.0f)) return 0;
  if (span >= static_cast<float>(kSampleCapacity) + 1.0f) return kSampleCapacity;
  // Sample k is drawn while k + 1 < span.
  return static_cast<std::size_t>(std::ceil(span)) - 1;
}

void drawReferenceLines(GraphContext& c, const TreadScale& scale) {
  PenScope reference(c.canvas, kReferencePen);
  c.canvas.text(5, 100, "OVERALL VIEW ABOUT DEVELOPMENT OF TYRE TEMPS");
  c.canvas.text(5, 116, "To display values please right-click on the window!");
  c.canvas.moveTo(0, scale.acrossRow);
  c.canvas.lineTo(1817, scale.acrossRow);
  c.canvas.moveTo(0, scale.centreRow);
  c.canvas.lineTo(1817, scale.centreRow);
}

void drawWheelFrames(GraphContext& c, int wheel, Rgb colour) {
  struct Box {
    int x, y, width, height;
  };
  static constexpr Box kBoxes[4][2] = {{{1828, 486, 33, 62}, {1829, 440, 30, 22}},
                                       {{1862, 486, 35, 63}, {1863, 441, 30, 21}},
                                       {{1828, 564, 33, 62}, {1829, 462, 30, 20}},
                                       {{1862, 564, 35, 62}, {1863, 462, 30, 20}}};
  for (const Box& box : kBoxes[wheel])
    c.canvas.rectangleOutline(box.x, box.y, box.width, box.height, colour);
}

}  // namespace

std::unique_ptr<TyreColumnSummaries> tyreOverviewSummaries(const ViewerStores& stores,
                                                           int samples) {
  auto span = static_cast<float>(samples);
  return std::make_unique<TyreColumnSummaries>(stores, span, pictureSamples(span));
}

void drawTyreOverview(GraphContext& c, int samples, const TyreColumnSummaries* gathered) {
  c.canvas.eraseAll();
  drawReferenceLines(c, treadScaleFor(c));
  c.view.xSpan = static_cast<float>(samples);
  TyrePicture picture(c, pictureSamples(c.view.xSpan), lapInSlot(c, 0).first, gathered);
  for (int wheel = 0; wheel < 4; ++wheel) {
    PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
    c.canvas.barRows(picture.statusBars(wheel));
    c.canvas.curveTo(picture.across(wheel));
    c.canvas.curveTo(picture.centre(wheel));
  }
  for (int wheel = 0; wheel < 4; ++wheel) {
    Rgb colour = kWheelColours[static_cast<std::size_t>(wheel)];
    PenScope pen(c.canvas, colour);
    drawWheelFrames(c, wheel, colour);
    c.canvas.curveTo(picture.mean(wheel));
  }
  c.canvas.barRows(picture.damageBars());
}

}  // namespace lv
