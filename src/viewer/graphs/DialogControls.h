#pragma once

#include <string_view>

#include "viewer/load/DialogFields.h"

namespace lv {

// The dialog's controls as far as the graphs and overviews touch them.
class DialogControls {
 public:
  virtual ~DialogControls() = default;
  virtual void showControl(int controlId, bool shown) = 0;
  virtual void setCaption(int controlId, std::string_view caption) = 0;
  // Range, page size and position of the horizontal scroll bar (redrawn at once).
  virtual void setScrollBar(int minimum, int maximum, int page, int position) = 0;
  // Data exchange to the controls: every value field is shown in its control.
  virtual void fieldsToControls(const DialogFields& fields) = 0;
};

}  // namespace lv
