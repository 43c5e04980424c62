#include "viewer/overviews/TyrePicture.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "viewer/graphs/GraphCanvas.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/load/SideBySide.h"
#include "viewer/load/Truncate.h"
#include "viewer/overviews/TyreColumnKeys.h"
#include "viewer/overviews/TyreColumnSummaries.h"

namespace lv {

TreadScale treadScaleFor(const GraphContext& c) {
  if (c.stores.contactPatchMode != 0) return {8.0, 10.0, 724 - 400, 724};
  return {23.0, 20.0, 724 - 140, 724 + 130};
}

TyrePictureSamples::TyrePictureSamples(const GraphContext& c, TreadScale scale)
    : xSpan_(c.view.xSpan),
      scale_(scale),
      meanFactor_(c.stores.contactPatchMode % 2 != 0 ? 2.8 : 4.0),
      telemetry_(c.stores.telemetryTable.data()),
      frames_(c.stores.frameTable.data()),
      means_(c.stores.tyreTempAvg.data()) {}

int TyrePictureSamples::x(std::size_t i) const {
  return pictureX(xSpan_, i);
}

int TyrePictureSamples::acrossRow(float difference) const {
  return truncToInt(scale_.acrossRow - difference * scale_.across);
}

int TyrePictureSamples::centreRow(double centre) const {
  return truncToInt(scale_.centreRow - centre * scale_.centre);
}

int TyrePictureSamples::meanRow(float mean) const {
  return truncToInt(747 - meanFactor_ * mean);
}

int TyrePictureSamples::across(std::size_t i, int wheel) const {
  return acrossRow(treadDifference(telemetry_[i], wheel));
}

int TyrePictureSamples::centre(std::size_t i, int wheel) const {
  return centreRow(centreAgainstEdges(telemetry_[i], wheel));
}

int TyrePictureSamples::mean(std::size_t i, int wheel) const {
  return meanRow(means_[i].w[wheel]);
}

std::int32_t TyrePictureSamples::status(std::size_t i) const {
  return frames_[i].f[FrameRecord::kStatusWord];
}

int TyrePictureSamples::acrossAt(int sample, int wheel) const {
  return across(static_cast<std::size_t>(clampRow(sample)), wheel);
}

int TyrePictureSamples::centreAt(int sample, int wheel) const {
  return centre(static_cast<std::size_t>(clampRow(sample)), wheel);
}

namespace {

enum class Trace { kAcross, kCentre, kMean };

class PictureCurve : public SampleCurve {
 public:
  PictureCurve(const TyrePictureSamples& samples, Trace trace, int wheel, CanvasPoint start,
               std::size_t size)
      : samples_(samples), trace_(trace), wheel_(wheel), start_(start), size_(size) {}

  CanvasPoint start() const override { return start_; }
  std::size_t size() const override { return size_; }
  void points(std::size_t first, std::span<CanvasPoint> out) const override {
    for (std::size_t k = 0; k < out.size(); ++k) out[k] = {samples_.x(first + k), y(first + k)};
  }
  std::span<const CurveRun> runs() const override { return runs_; }

  int y(std::size_t i) const {
    switch (trace_) {
      case Trace::kAcross:
        return samples_.across(i, wheel_);
      case Trace::kCentre:
        return samples_.centre(i, wheel_);
      case Trace::kMean:
        break;
    }
    return samples_.mean(i, wheel_);
  }
  Trace trace() const { return trace_; }
  int wheel() const { return wheel_; }
  std::vector<CurveRun>& runRows() { return runs_; }

 private:
  const TyrePictureSamples& samples_;
  Trace trace_;
  int wheel_;
  CanvasPoint start_;
  std::size_t size_;
  std::vector<CurveRun> runs_;
};

// Bars of the status word: the two 2-bit fields of a wheel, or the engine damage.
class PictureBars : public BarRows {
 public:
  PictureBars(const TyrePictureSamples& samples, int wheel, std::size_t size)
      : samples_(samples), wheel_(wheel), size_(size) {}

  bool damage() const { return wheel_ < 0; }
  int rowCount() const override { return damage() ? 1 : 2; }
  int base(int row) const override { return damage() ? 57 : kStatusRows[wheel_][row]; }
  std::size_t size() const override { return size_; }
  void strokes(std::size_t first, std::span<ColumnStroke> out) const override {
    std::size_t rows = static_cast<std::size_t>(rowCount());
    for (std::size_t k = 0; k + rows <= out.size(); k += rows) {
      std::size_t i = first + k / rows;
      int x = samples_.x(i);
      std::int32_t word = samples_.status(i);
      for (std::size_t row = 0; row < rows; ++row) {
        int top = base(static_cast<int>(row));
        out[k + row] = {x, top, top + height(word, static_cast<int>(row))};
      }
    }
  }
  std::span<const BarColumn> columns() const override { return columns_; }

  int height(std::int32_t word, int row) const { return pictureBarHeight(word, set(), row); }
  int set() const { return damage() ? kBarSets - 1 : wheel_; }
  std::vector<BarColumn>& columnRows() { return columns_; }

 private:
  const TyrePictureSamples& samples_;
  int wheel_;  // -1: engine damage
  std::size_t size_;
  std::vector<BarColumn> columns_;
};

// The rows of a column's extremes: every row falls as its value rises, and a NaN value gives
// the row 0.
template <typename T, typename Row>
std::pair<int, int> rowExtremes(const KeyRange<T>& range, Row row) {
  int lowest = row(range.high), highest = row(range.low);
  if (range.nan) {
    lowest = std::min(lowest, 0);
    highest = std::max(highest, 0);
  }
  return {lowest, highest};
}

CurveRun curveRun(const TyrePictureSamples& s, const PictureCurve& curve,
                  const PictureColumn& column, const TyreColumnKeys& keys) {
  auto wheel = static_cast<std::size_t>(curve.wheel());
  std::pair<int, int> extremes;
  switch (curve.trace()) {
    case Trace::kAcross:
      extremes = rowExtremes(keys.across[wheel], [&](float d) { return s.acrossRow(d); });
      break;
    case Trace::kCentre:
      extremes = rowExtremes(keys.centre[wheel], [&](double e) { return s.centreRow(e); });
      break;
    case Trace::kMean:
      extremes = rowExtremes(keys.mean[wheel], [&](float m) { return s.meanRow(m); });
      break;
  }
  return {column.x,
          column.first,
          column.count,
          curve.y(column.first),
          curve.y(column.first + column.count - 1),
          extremes.first,
          extremes.second};
}

BarColumn barColumn(const PictureBars& bars, const PictureColumn& column,
                    const ColumnSummary& summary) {
  auto set = static_cast<std::size_t>(bars.set());
  return {column.x, column.first, column.count, summary.barLow[set], summary.barHigh[set]};
}

}  // namespace

struct TyrePicture::Parts {
  TyrePictureSamples samples;
  std::vector<std::unique_ptr<PictureCurve>> curves;  // across, centre, mean; wheel by wheel
  std::vector<std::unique_ptr<PictureBars>> bars;     // status per wheel, then damage

  Parts(const GraphContext& c) : samples(c, treadScaleFor(c)) {}

  void take(const std::vector<PictureColumn>& columns, std::size_t k,
            const ColumnSummary& summary) {
    for (auto& curve : curves)
      curve->runRows()[k] = curveRun(samples, *curve, columns[k], summary.keys);
    for (auto& row : bars) row->columnRows()[k] = barColumn(*row, columns[k], summary);
  }
};

// Both halves at once on a long drive, one after the other on a short one.
template <typename Later, typename Earlier>
void inTwo(std::size_t samples, Later&& later, Earlier&& earlier) {
  constexpr std::size_t kWorthASecondThread = 20000;
  if (samples < kWorthASecondThread) {
    earlier();
    later();
    return;
  }
  runSideBySide(later, earlier);
}

TyrePicture::TyrePicture(const GraphContext& c, std::size_t samples, int startSample,
                         const TyreColumnSummaries* gathered)
    : parts_(std::make_unique<Parts>(c)) {
  const TyrePictureSamples& s = parts_->samples;
  for (int wheel = 0; wheel < 4; ++wheel) {
    parts_->curves.push_back(std::make_unique<PictureCurve>(
        s, Trace::kAcross, wheel, CanvasPoint{0, s.acrossAt(startSample, wheel)}, samples));
    parts_->curves.push_back(std::make_unique<PictureCurve>(
        s, Trace::kCentre, wheel, CanvasPoint{0, s.centreAt(startSample, wheel)}, samples));
  }
  for (int wheel = 0; wheel < 4; ++wheel) {
    parts_->curves.push_back(std::make_unique<PictureCurve>(
        s, Trace::kMean, wheel, CanvasPoint{0, s.mean(0, wheel)}, samples));
  }
  for (int wheel = 0; wheel < 4; ++wheel)
    parts_->bars.push_back(std::make_unique<PictureBars>(s, wheel, samples));
  parts_->bars.push_back(std::make_unique<PictureBars>(s, -1, samples));

  // Without summaries of the load, the samples are summarised here as the load would, half
  // of them on each core.
  std::optional<TyreColumnSummaries> own;
  if (gathered == nullptr || !gathered->cover(s.xSpan(), samples)) {
    own.emplace(c.stores, s.xSpan(), samples);
    auto half = static_cast<int>(samples / 2), all = static_cast<int>(samples);
    inTwo(
        samples, [&] { own->derived(1, half, all); }, [&] { own->derived(0, 0, half); });
    gathered = &*own;
  }
  const std::vector<PictureColumn>& columns = gathered->columns();
  resize(columns.size());
  auto take = [&](std::size_t from, std::size_t to) {
    for (std::size_t k = from; k < to; ++k) parts_->take(columns, k, gathered->summary(k));
  };
  std::size_t middle = columns.size() / 2;
  inTwo(
      samples, [&] { take(middle, columns.size()); }, [&] { take(0, middle); });
}

void TyrePicture::resize(std::size_t columns) {
  for (auto& curve : parts_->curves) curve->runRows().resize(columns);
  for (auto& row : parts_->bars) row->columnRows().resize(columns);
}

TyrePicture::~TyrePicture() = default;

const SampleCurve& TyrePicture::across(int wheel) const {
  return *parts_->curves[static_cast<std::size_t>(2 * wheel)];
}

const SampleCurve& TyrePicture::centre(int wheel) const {
  return *parts_->curves[static_cast<std::size_t>(2 * wheel + 1)];
}

const SampleCurve& TyrePicture::mean(int wheel) const {
  return *parts_->curves[static_cast<std::size_t>(8 + wheel)];
}

const BarRows& TyrePicture::statusBars(int wheel) const {
  return *parts_->bars[static_cast<std::size_t>(wheel)];
}

const BarRows& TyrePicture::damageBars() const {
  return *parts_->bars[4];
}

}  // namespace lv
