#include "viewer/overviews/TyreColumnSummaries.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "viewer/graphs/CanvasState.h"
#include "viewer/graphs/StatusWord.h"
#include "viewer/load/Truncate.h"

namespace lv {

int pictureX(float xSpan, std::size_t i) {
  return truncToInt(static_cast<float>(i) / xSpan * kPlotWidth);
}

int pictureBarHeight(std::int32_t statusWord, int set, int row) {
  if (set == kBarSets - 1) return damageField(statusWord);
  return 2 * statusField(statusWord, kStatusBits[set][row]);
}

ColumnSummary ColumnSummary::empty() {
  ColumnSummary summary{tyreColumnKeys(nullptr, nullptr, 0), {}, {}};
  for (auto& rows : summary.barLow) rows.fill(std::numeric_limits<int>::max());
  for (auto& rows : summary.barHigh) rows.fill(std::numeric_limits<int>::min());
  return summary;
}

namespace {

template <typename T>
void takeRanges(std::array<KeyRange<T>, 4>& ranges, const std::array<KeyRange<T>, 4>& other) {
  for (std::size_t w = 0; w < 4; ++w) {
    ranges[w].low = std::min(ranges[w].low, other[w].low);
    ranges[w].high = std::max(ranges[w].high, other[w].high);
    ranges[w].nan |= other[w].nan;
  }
}

}  // namespace

void ColumnSummary::take(const ColumnSummary& other) {
  takeRanges(keys.across, other.keys.across);
  takeRanges(keys.centre, other.keys.centre);
  takeRanges(keys.mean, other.keys.mean);
  for (std::size_t set = 0; set < barLow.size(); ++set) {
    for (std::size_t row = 0; row < 2; ++row) {
      barLow[set][row] = std::min(barLow[set][row], other.barLow[set][row]);
      barHigh[set][row] = std::max(barHigh[set][row], other.barHigh[set][row]);
    }
  }
}

namespace {

// The x pixel grows with the sample, so each column's first sample is found by bisection.
std::vector<PictureColumn> pictureColumns(float xSpan, std::size_t samples) {
  std::vector<PictureColumn> columns;
  if (samples == 0 || !(xSpan > 0.0f) || !std::isfinite(xSpan)) return columns;
  std::size_t first = 0;
  while (first < samples) {
    int x = pictureX(xSpan, first);
    std::size_t low = first + 1, high = samples;
    while (low < high) {
      std::size_t middle = low + (high - low) / 2;
      if (pictureX(xSpan, middle) > x) {
        high = middle;
      } else {
        low = middle + 1;
      }
    }
    columns.push_back({x, first, low - first});
    first = low;
  }
  return columns;
}

// The status word seldom changes from one sample to the next, so only the samples where it
// does are taken apart.
ColumnSummary summariseSamples(const ViewerStores& stores, std::size_t first, std::size_t count) {
  ColumnSummary summary = ColumnSummary::empty();
  summary.keys = tyreColumnKeys(&stores.telemetryTable[first], &stores.tyreTempAvg[first], count);
  const FrameRecord* frames = stores.frameTable.data();
  for (std::size_t i = first; i < first + count; ++i) {
    std::int32_t word = frames[i].f[FrameRecord::kStatusWord];
    if (i > first && word == frames[i - 1].f[FrameRecord::kStatusWord]) continue;
    for (int set = 0; set < kBarSets; ++set) {
      for (int row = 0; row < (set == kBarSets - 1 ? 1 : 2); ++row) {
        int h = pictureBarHeight(word, set, row);
        auto s = static_cast<std::size_t>(set), r = static_cast<std::size_t>(row);
        summary.barLow[s][r] = std::min(summary.barLow[s][r], h);
        summary.barHigh[s][r] = std::max(summary.barHigh[s][r], h);
      }
    }
  }
  return summary;
}

}  // namespace

TyreColumnSummaries::TyreColumnSummaries(const ViewerStores& stores, float xSpan,
                                         std::size_t samples)
    : stores_(stores), xSpan_(xSpan), samples_(samples), columns_(pictureColumns(xSpan, samples)) {}

void TyreColumnSummaries::derived(int part, int from, int to) {
  auto first = static_cast<std::size_t>(std::max(from, 0));
  std::size_t end = std::min(static_cast<std::size_t>(std::max(to, 0)), samples_);
  if (first >= end || columns_.empty()) return;
  auto p = static_cast<std::size_t>(part != 0 ? 1 : 0);
  // Each part's summaries are made on the thread that derives its samples, when it starts.
  if (parts_[p].empty()) parts_[p].assign(columns_.size(), ColumnSummary::empty());
  auto column = std::upper_bound(columns_.begin(), columns_.end(), first,
                                 [](std::size_t s, const PictureColumn& c) { return s < c.first; });
  std::size_t k = static_cast<std::size_t>(column - columns_.begin()) - 1;
  for (; k < columns_.size() && columns_[k].first < end; ++k) {
    std::size_t a = std::max(first, columns_[k].first);
    std::size_t b = std::min(end, columns_[k].first + columns_[k].count);
    parts_[p][k].take(summariseSamples(stores_, a, b - a));
    seen_[p] += b - a;
  }
}

bool TyreColumnSummaries::cover(float xSpan, std::size_t samples) const {
  return xSpan == xSpan_ && samples == samples_ && seen_[0] + seen_[1] == samples_;
}

ColumnSummary TyreColumnSummaries::summary(std::size_t k) const {
  ColumnSummary both = ColumnSummary::empty();
  for (const auto& part : parts_) {
    if (k < part.size()) both.take(part[k]);
  }
  return both;
}

}  // namespace lv
