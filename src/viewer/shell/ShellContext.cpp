#include "viewer/shell/ShellContext.h"

namespace lv {

void drawHints(Canvas& canvas, std::initializer_list<const char*> lines) {
  int y = 73;
  for (const char* line : lines) {
    canvas.text(948, y, line);
    y += 15;
  }
}

}  // namespace lv
