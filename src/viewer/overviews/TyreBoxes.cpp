#include "viewer/overviews/TyreBoxes.h"

namespace lv {
namespace {

// Telemetry field of each box, in box order: per wheel outside, centre, inside on the front
// and inside, centre, outside on the rear.
constexpr int kTreadField[12] = {14, 13, 12, 17, 16, 15, 18, 19, 20, 21, 22, 23};

}  // namespace

void fillTyreBoxes(const ViewerStores& stores, int s, TyreBoxSource source, DialogFields& fields) {
  std::size_t row = static_cast<std::size_t>(clampRow(s));
  if (source == TyreBoxSource::kTread) {
    for (int box = 0; box < 12; ++box)
      fields.tyreTempBox[static_cast<std::size_t>(box)] =
          static_cast<float>(stores.telemetryTable[row].f[kTreadField[box]] - 273.15);
    return;
  }
  const ContactPatchRecord& patch = stores.contactPatchTable[row];
  bool kelvin = patch.f[0] > 200.0f;
  for (int box = 0; box < 12; ++box)
    fields.tyreTempBox[static_cast<std::size_t>(box)] =
        kelvin ? static_cast<float>(patch.f[box] - 273.15) : patch.f[box];
}

}  // namespace lv
