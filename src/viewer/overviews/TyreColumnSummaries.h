#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "viewer/load/SampleSweep.h"
#include "viewer/load/ViewerStores.h"
#include "viewer/overviews/TyreColumnKeys.h"

namespace lv {

// The x pixel of sample i of the tyre picture, the drive spread over the plot width.
int pictureX(float xSpan, std::size_t i);

// The samples of one pixel column of the tyre picture.
struct PictureColumn {
  int x;
  std::size_t first, count;
};

// The bars of the status word: set 0..3 the two 2-bit fields of a wheel (rows 0 and 1), set 4
// the engine damage (row 0).
inline constexpr int kBarSets = 5;
int pictureBarHeight(std::int32_t statusWord, int set, int row);

// What the tyre picture needs of a column's samples: the extremes of the values its rows
// fall with, and of the heights of its bars.
struct ColumnSummary {
  TyreColumnKeys keys;
  std::array<std::array<int, 2>, kBarSets> barLow;
  std::array<std::array<int, 2>, kBarSets> barHigh;

  static ColumnSummary empty();
  // Both summaries as one: the rows of equal values are the same whichever is kept.
  void take(const ColumnSummary& other);
};

// The column summaries of a first load's tyre picture, gathered while the load derives its
// samples: each block of samples is summarised on the thread that derived it, while it is at
// hand, into the columns it falls in; a column whose samples both halves of the load derived
// is put together from both.
class TyreColumnSummaries : public SampleObserver {
 public:
  TyreColumnSummaries(const ViewerStores& stores, float xSpan, std::size_t samples);

  void derived(int part, int from, int to) override;

  // Whether these are the summaries of a picture of `samples` samples over `xSpan`, every one
  // of them seen.
  bool cover(float xSpan, std::size_t samples) const;
  // The columns of the samples; none for an axis that is not a positive length (its curves
  // are then drawn point by point).
  const std::vector<PictureColumn>& columns() const { return columns_; }
  // Column k's summary, both halves taken together.
  ColumnSummary summary(std::size_t k) const;

 private:
  const ViewerStores& stores_;
  float xSpan_;
  std::size_t samples_;
  std::vector<PictureColumn> columns_;
  std::array<std::vector<ColumnSummary>, 2> parts_;
  std::array<std::size_t, 2> seen_{0, 0};
};

}  // namespace lv
