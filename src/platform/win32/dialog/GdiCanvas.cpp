#include "platform/win32/dialog/GdiCanvas.h"

#include <algorithm>
#include <stdexcept>

#include "platform/win32/WideText.h"
#include "platform/win32/dialog/PixelLine.h"

namespace lv {
namespace {

// A 32-bit DIB pixel: blue in the low byte, then green and red.
std::uint32_t packed(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | c.b;
}

COLORREF colorRef(Rgb c) {
  return RGB(c.r, c.g, c.b);
}

}  // namespace

GdiCanvas::GdiCanvas(int width, int height) : width_(width), height_(height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows, as the client area's coordinates run
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_ = CreateCompatibleDC(nullptr);
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dc_ == nullptr || bitmap_ == nullptr) throw std::runtime_error("no memory for the picture");
  pixels_ = static_cast<std::uint32_t*>(bits);
  previousBitmap_ = SelectObject(dc_, bitmap_);
  fill(0, 0, width_, height_, kDialogBackground);
  takeChanged();  // the window paints its first picture whole anyway
}

GdiCanvas::~GdiCanvas() {
  SelectObject(dc_, previousBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(dc_);
}

HDC GdiCanvas::dc() {
  readyForPixels();
  return dc_;
}

void GdiCanvas::readyForPixels() {
  if (!gdiPending_) return;
  GdiFlush();
  gdiPending_ = false;
}

void GdiCanvas::touch(int left, int top, int right, int bottom) {
  left = std::max(left, 0);
  top = std::max(top, 0);
  right = std::min(right, width_);
  bottom = std::min(bottom, height_);
  if (right <= left || bottom <= top) return;
  if (changed_.right <= changed_.left) {
    changed_ = {left, top, right, bottom};
    return;
  }
  changed_ = {std::min<LONG>(changed_.left, left), std::min<LONG>(changed_.top, top),
              std::max<LONG>(changed_.right, right), std::max<LONG>(changed_.bottom, bottom)};
}

RECT GdiCanvas::takeChanged() {
  RECT changed = changed_;
  changed_ = {0, 0, 0, 0};
  return changed;
}

Rgb GdiCanvas::pixel(int x, int y) {
  readyForPixels();
  std::uint32_t value = pixels_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                                static_cast<std::size_t>(x)];
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

void GdiCanvas::fill(int x, int y, int width, int height, Rgb colour) {
  readyForPixels();
  int left = std::max(x, 0), right = std::min(x + width, width_);
  int top = std::max(y, 0), bottom = std::min(y + height, height_);
  if (right <= left || bottom <= top) return;
  std::uint32_t value = packed(colour);
  for (int row = top; row < bottom; ++row) {
    std::uint32_t* line =
        pixels_ + static_cast<std::size_t>(row) * static_cast<std::size_t>(width_);
    std::fill(line + left, line + right, value);
  }
  touch(left, top, right, bottom);
}

void GdiCanvas::eraseAll() {
  fill(0, 0, width_, height_, kDialogBackground);
  if (eraseListener_) eraseListener_();
}

void GdiCanvas::moveTo(int x, int y) {
  currentX_ = x;
  currentY_ = y;
}

void GdiCanvas::lineTo(int x, int y) {
  readyForPixels();
  std::uint32_t value = packed(pen());
  int left = width_, top = height_, right = -1, bottom = -1;
  forEachLinePixel(currentX_, currentY_, x, y, width_, height_, [&](int px, int py) {
    pixels_[static_cast<std::size_t>(py) * static_cast<std::size_t>(width_) +
            static_cast<std::size_t>(px)] = value;
    left = std::min(left, px);
    right = std::max(right, px);
    top = std::min(top, py);
    bottom = std::max(bottom, py);
  });
  if (right >= 0) touch(left, top, right + 1, bottom + 1);
  currentX_ = x;
  currentY_ = y;
}

void GdiCanvas::rectangleOutline(int x, int y, int width, int height, Rgb colour) {
  fill(x, y, width - 1, 1, colour);
  fill(x, y, 1, height - 1, colour);
  fill(x + width - 1, y, 1, height, colour);
  fill(x, y + height - 1, width, 1, colour);
}

void GdiCanvas::ellipse(int left, int top, int right, int bottom, Rgb fillColour) {
  HPEN pen = CreatePen(PS_SOLID, 1, colorRef(this->pen()));
  HBRUSH brush = CreateSolidBrush(colorRef(fillColour));
  HGDIOBJ oldPen = SelectObject(dc_, pen);
  HGDIOBJ oldBrush = SelectObject(dc_, brush);
  Ellipse(dc_, left, top, right, bottom);
  SelectObject(dc_, oldBrush);
  SelectObject(dc_, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
  gdiPending_ = true;
  touch(std::min(left, right), std::min(top, bottom), std::max(left, right) + 1,
        std::max(top, bottom) + 1);
}

void GdiCanvas::text(int x, int y, std::string_view utf8) {
  std::wstring wide = widen(utf8);
  // The drawing context's default text attributes: black on opaque white, system font.
  SetBkMode(dc_, OPAQUE);
  SetBkColor(dc_, RGB(255, 255, 255));
  SetTextColor(dc_, RGB(0, 0, 0));
  TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
  SIZE size{};
  GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
  gdiPending_ = true;
  touch(x, y, x + size.cx, y + size.cy);
}

}  // namespace lv
