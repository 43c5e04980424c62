#include "platform/fltk/RasterBlit.h"

#include <FL/fl_draw.H>

#include <algorithm>

// Xlib last: its macros would clash with the viewer's names.
#include <FL/x.H>

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

// A 24-bit true-colour visual in the host's byte order takes the raster's words as they are.
bool rasterIsNative() {
  static const bool native = [] {
    const std::uint16_t probe = 1;
    bool littleEndian = *reinterpret_cast<const std::uint8_t*>(&probe) == 1;
    const Visual* visual = fl_visual->visual;
    return fl_visual->depth == 24 && fl_visual->c_class == TrueColor &&
           visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 &&
           visual->blue_mask == 0xff &&
           ImageByteOrder(fl_display) == (littleEndian ? LSBFirst : MSBFirst);
  }();
  return native;
}

void putRaster(const RasterCanvas& raster, int left, int top, int width, int height, int toX,
               int toY) {
  XImage* image =
      XCreateImage(fl_display, fl_visual->visual, 24, ZPixmap, 0,
                   reinterpret_cast<char*>(const_cast<std::uint32_t*>(raster.pixels().data)),
                   RasterCanvas::kWidth, RasterCanvas::kHeight, 32, raster.pixels().strideBytes);
  XPutImage(fl_display, fl_window, fl_gc, image, left, top, toX, toY, static_cast<unsigned>(width),
            static_cast<unsigned>(height));
  image->data = nullptr;  // the raster's, not the image's to free
  XDestroyImage(image);
}

}  // namespace

void blitRaster(const RasterCanvas& raster, BlitRect area, int originX, int originY) {
  int left = std::max(area.x, 0), top = std::max(area.y, 0);
  int right = std::min(area.x + area.width, RasterCanvas::kWidth);
  int bottom = std::min(area.y + area.height, RasterCanvas::kHeight);
  if (right <= left || bottom <= top) return;
  if (rasterIsNative()) {
    putRaster(raster, left, top, right - left, bottom - top, originX + left, originY + top);
    return;
  }
  RasterCanvas::Pixels pixels = raster.pixels();
  Source source{pixels.data, pixels.strideBytes / 4, left, top};
  fl_draw_image(convertLine, &source, originX + left, originY + top, right - left, bottom - top, 3);
}

}  // namespace lv
