#include "platform/fltk/RasterBlit.h"

#include <FL/fl_draw.H>

#include <algorithm>

namespace lv {
namespace {

struct Source {
  const std::uint32_t* pixels;
  int stride;
  int left, top;
};

// FLTK asks for the image line by line, so no converted copy of the whole area is kept.
void convertLine(void* data, int x, int y, int width, uchar* out) {
  const Source& source = *static_cast<const Source*>(data);
  const std::uint32_t* in = source.pixels +
                            static_cast<std::size_t>(source.top + y) * source.stride +
                            static_cast<std::size_t>(source.left + x);
  for (int i = 0; i < width; ++i) {
    std::uint32_t word = in[i];
    out[0] = static_cast<uchar>(word >> 16);
    out[1] = static_cast<uchar>(word >> 8);
    out[2] = static_cast<uchar>(word);
    out += 3;
  }
}

}  // namespace

void blitRaster(const RasterCanvas& raster, BlitRect area, int originX, int originY) {
  int left = std::max(area.x, 0), top = std::max(area.y, 0);
  int right = std::min(area.x + area.width, RasterCanvas::kWidth);
  int bottom = std::min(area.y + area.height, RasterCanvas::kHeight);
  if (right <= left || bottom <= top) return;
  Source source{raster.pixels(), raster.stride(), left, top};
  fl_draw_image(convertLine, &source, originX + left, originY + top, right - left, bottom - top, 3);
}

}  // namespace lv
