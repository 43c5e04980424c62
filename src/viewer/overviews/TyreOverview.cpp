#include "viewer/overviews/TyreOverview.h"

#include <algorithm>

#include "viewer/graphs/CanvasBatch.h"
#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/load/FixedTable.h"
#include "viewer/load/Truncate.h"

namespace lv {
namespace {

constexpr Rgb kReferencePen{40, 40, 40};

struct Rows {
  double a, b;
  int rowA, rowB;
};

Rows rowsFor(const GraphContext& c) {
  if (c.stores.contactPatchMode != 0) return {8.0, 10.0, 724 - 400, 724};
  return {23.0, 20.0, 724 - 140, 724 + 130};
}

// The samples drawn: every one but the last of the drive. The drive never holds more than
// the stores do, so every sample drawn is a row of them.
int sampleCount(const GraphContext& c) {
  int samples = 0;
  while (samples + 1 < c.view.xSpan && samples < kSampleCapacity) ++samples;
  return samples;
}

// Values of every sample that several traces share, worked out once: the x pixel, the
// status word (the frame records are large and five traces need only this field of them),
// and the two rows of the traces of one wheel. A long drive needs megabytes of them at once,
// so they live in one table in memory that asks for huge pages rather than in thousands of
// fresh small pages.
struct SampleValue {
  int x;
  std::int32_t status;
  int across;
  int centre;
};

struct SampleValues {
  explicit SampleValues(std::size_t samples)
      : size(samples), rows(std::max<std::size_t>(samples, 1)) {}

  std::size_t size;
  FixedTable<SampleValue> rows;
};

void fillShared(const GraphContext& c, SampleValues& v) {
  for (std::size_t i = 0; i < v.size; ++i) {
    v.rows[i].x = truncToInt(static_cast<float>(i) / c.view.xSpan * kPlotWidth);
    v.rows[i].status = frameAt(c, static_cast<int>(i)).f[FrameRecord::kStatusWord];
  }
}

void drawCurve(Canvas& canvas, const SampleValues& v, int SampleValue::*row, int firstRow) {
  canvas.moveTo(0, firstRow);
  PolylineBatch curve(canvas);
  const SampleValue* values = v.rows.data();
  for (std::size_t i = 0; i < v.size; ++i) curve.add({values[i].x, values[i].*row});
}

void drawWheelGroup(GraphContext& c, SampleValues& v, int wheel, const Rows& rows, int s0) {
  PenScope pen(c.canvas, kWheelColours[static_cast<std::size_t>(wheel)]);
  SampleValue* values = v.rows.data();
  {
    StrokeBatch bars(c.canvas);
    const int top0 = kStatusRows[wheel][0], top1 = kStatusRows[wheel][1];
    const int bit0 = kStatusBits[wheel][0], bit1 = kStatusBits[wheel][1];
    for (std::size_t i = 0; i < v.size; ++i) {
      bars.add({values[i].x, top0, top0 + 2 * statusField(values[i].status, bit0)});
      bars.add({values[i].x, top1, top1 + 2 * statusField(values[i].status, bit1)});
    }
  }
  const int g = 12 + 3 * wheel;
  auto across = [&](const TelemetryRecord& t) {
    return truncToInt(rows.rowA - (t.f[g + 2] - t.f[g]) * rows.a);
  };
  auto centre = [&](const TelemetryRecord& t) {
    return truncToInt(rows.rowB - (t.f[g + 1] - (t.f[g] + t.f[g + 2]) / 2.0) * rows.b);
  };
  // Both traces from one pass over the telemetry records.
  const TelemetryRecord* records = c.stores.telemetryTable.data();
  for (std::size_t i = 0; i < v.size; ++i) {
    values[i].across = across(records[i]);
    values[i].centre = centre(records[i]);
  }
  drawCurve(c.canvas, v, &SampleValue::across, across(telemetryAt(c, s0)));
  drawCurve(c.canvas, v, &SampleValue::centre, centre(telemetryAt(c, s0)));
}

void drawMeanTemperature(GraphContext& c, const SampleValues& v, int wheel) {
  struct Box {
    int x, y, width, height;
  };
  static constexpr Box kBoxes[4][2] = {{{1828, 486, 33, 62}, {1829, 440, 30, 22}},
                                       {{1862, 486, 35, 63}, {1863, 441, 30, 21}},
                                       {{1828, 564, 33, 62}, {1829, 462, 30, 20}},
                                       {{1862, 564, 35, 62}, {1863, 462, 30, 20}}};
  Rgb colour = kWheelColours[static_cast<std::size_t>(wheel)];
  PenScope pen(c.canvas, colour);
  for (const Box& box : kBoxes[wheel])
    c.canvas.rectangleOutline(box.x, box.y, box.width, box.height, colour);
  double factor = c.stores.contactPatchMode % 2 != 0 ? 2.8 : 4.0;
  const WheelTemps* means = c.stores.tyreTempAvg.data();
  auto row = [&](std::size_t i) { return truncToInt(747 - factor * means[i].w[wheel]); };
  c.canvas.moveTo(0, row(0));
  PolylineBatch curve(c.canvas);
  const SampleValue* values = v.rows.data();
  for (std::size_t i = 0; i < v.size; ++i) curve.add({values[i].x, row(i)});
}

void drawDamageBars(GraphContext& c, const SampleValues& v) {
  StrokeBatch bars(c.canvas);
  const SampleValue* values = v.rows.data();
  for (std::size_t i = 0; i < v.size; ++i) {
    bars.add({values[i].x, 57, 57 + damageField(values[i].status)});
  }
}

}  // namespace

void drawTyreOverview(GraphContext& c, int samples) {
  c.canvas.eraseAll();
  Rows rows = rowsFor(c);
  {
    PenScope reference(c.canvas, kReferencePen);
    c.canvas.text(5, 100, "OVERALL VIEW ABOUT DEVELOPMENT OF TYRE TEMPS");
    c.canvas.text(5, 116, "To display values please right-click on the window!");
    c.canvas.moveTo(0, rows.rowA);
    c.canvas.lineTo(1817, rows.rowA);
    c.canvas.moveTo(0, rows.rowB);
    c.canvas.lineTo(1817, rows.rowB);
  }
  c.view.xSpan = static_cast<float>(samples);
  int s0 = lapInSlot(c, 0).first;
  SampleValues values(static_cast<std::size_t>(sampleCount(c)));
  fillShared(c, values);
  for (int wheel = 0; wheel < 4; ++wheel) drawWheelGroup(c, values, wheel, rows, s0);
  for (int wheel = 0; wheel < 4; ++wheel) drawMeanTemperature(c, values, wheel);
  drawDamageBars(c, values);
}

}  // namespace lv
