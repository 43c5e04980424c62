#pragma once

#include <array>
#include <string>

#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/DialogHost.h"

namespace lv {

// The dialog's controls as they stand now: visibility and captions start as the catalogue
// says, and every change goes through here to the host.
class ControlStates : public DialogControls {
 public:
  explicit ControlStates(DialogHost& host);

  void showControl(int controlId, bool shown) override;
  void setCaption(int controlId, std::string_view caption) override;
  void setScrollBar(int minimum, int maximum, int page, int position) override;
  void fieldsToControls(const DialogFields& fields) override;

  bool isShown(int controlId) const;
  std::string caption(int controlId) const;

 private:
  int indexOf(int controlId) const;

  DialogHost& host_;
  std::array<bool, kControlCount> shown_{};
  std::array<std::string, kControlCount> captions_;
};

}  // namespace lv
