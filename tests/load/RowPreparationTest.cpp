// Rows whose pages were handed out ahead of the load still read as zeros and take the load's
// writes, whatever part of the table (or beyond it) was asked for, while the load writes.
#include <gtest/gtest.h>

#include "viewer/load/RowPreparation.h"
#include "viewer/load/ViewerStores.h"

namespace lv {
namespace {

TEST(RowPreparation, PreparedRowsReadAsZerosAndTakeWritesMadeMeanwhile) {
  FixedTable<FrameRecord> frames(100000);
  FixedTable<float> values(100000);
  {
    RowPreparation preparation;
    preparation.add(frames, 30000, 70000);
    preparation.add(values, 0, 100000);
    preparation.add(values, 99990, 1000);  // runs past the table's end
    preparation.start();
    for (std::size_t row = 0; row < 100000; row += 7) frames[row].f[3] = static_cast<int>(row);
  }
  frames.prepare(0, 200000 * sizeof(FrameRecord));
  for (std::size_t row = 0; row < 100000; ++row) {
    ASSERT_EQ(frames[row].f[3], row % 7 == 0 ? static_cast<int>(row) : 0) << row;
    ASSERT_EQ(frames[row].f[0], 0) << row;
    ASSERT_EQ(values[row], 0.0f) << row;
  }
}

}  // namespace
}  // namespace lv
