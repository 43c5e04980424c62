#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "viewer/graphs/GraphContext.h"
#include "viewer/graphs/SampleCurve.h"

namespace lv {

// Rows and scales of the tread traces: with contact patches shown they are drawn larger and
// higher up.
struct TreadScale {
  double across, centre;
  int acrossRow, centreRow;
};
TreadScale treadScaleFor(const GraphContext& c);

// The values the tyre picture draws for sample i of the drive, as the picture's rules work
// them out. Every curve's points and every column summary come from these functions alone.
class TyrePictureSamples {
 public:
  TyrePictureSamples(const GraphContext& c, TreadScale scale);

  int x(std::size_t i) const;
  int across(std::size_t i, int wheel) const;
  int centre(std::size_t i, int wheel) const;
  int mean(std::size_t i, int wheel) const;
  std::int32_t status(std::size_t i) const;
  // The rows of the values they are worked out from (see TyreColumnKeys): each row falls as
  // its value rises.
  int acrossRow(float treadDifference) const;
  int centreRow(double centreAgainstEdges) const;
  int meanRow(float mean) const;

  // The tread rows of the sample the traces start from (any row; clamped into the store).
  int acrossAt(int sample, int wheel) const;
  int centreAt(int sample, int wheel) const;

  float xSpan() const { return xSpan_; }

 private:
  float xSpan_;
  TreadScale scale_;
  double meanFactor_;
  const TelemetryRecord* telemetry_;
  const FrameRecord* frames_;
  const WheelTemps* means_;
};

class TyreColumnSummaries;

// Every curve and row of bars of the tyre picture over the first `samples` samples, each
// with the summary of its pixel columns: those the load gathered when they cover the
// picture, else gathered here the same way, on both cores. The tread traces start from the
// sample `startSample` (the lap in the first slot), the mean temperatures from sample 0.
class TyrePicture {
 public:
  TyrePicture(const GraphContext& c, std::size_t samples, int startSample,
              const TyreColumnSummaries* gathered = nullptr);
  ~TyrePicture();
  TyrePicture(const TyrePicture&) = delete;
  TyrePicture& operator=(const TyrePicture&) = delete;

  const SampleCurve& across(int wheel) const;
  const SampleCurve& centre(int wheel) const;
  const SampleCurve& mean(int wheel) const;
  const BarRows& statusBars(int wheel) const;
  const BarRows& damageBars() const;

 private:
  struct Parts;
  void resize(std::size_t columns);
  std::unique_ptr<Parts> parts_;
};

}  // namespace lv
