#pragma once

#include <FL/Fl_Hold_Browser.H>

#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/fltk/ScrollCodeBar.h"
#include "platform/fltk/WindowEvents.h"
#include "viewer/shell/ControlCatalogue.h"

// Fl_Tree's header brings Xlib's macros along (one of them is "Status"), so it stays out here.
class Fl_Tree;
class Fl_Tree_Item;

namespace lv {

// Every control of the dialog's catalogue as an FLTK widget, made in template order inside the
// current group: placed at its pixels from (originX, originY), with its caption, tooltip and
// start state; clicks, list and tree double-clicks and scrolling go to `events`. The widgets
// belong to the group; this keeps them by control id.
class ControlWidgets {
 public:
  ControlWidgets(int originX, int originY, WindowEvents& events);

  // nullptr for an id the catalogue does not hold.
  Fl_Widget* widget(int controlId) const;
  void setCaption(int controlId, std::string_view caption);
  void setText(int controlId, std::string_view text);

  ScrollCodeBar& scrollBar() { return *scrollBar_; }
  Fl_Hold_Browser& lapList() { return *lapList_; }
  void treeClear();
  void treeAppend(int level, std::string_view text);

 private:
  void add(const ControlEntry& entry, int originX, int originY);
  void treeDoubleClicked(Fl_Tree_Item* item);
  static void buttonClicked(Fl_Widget* widget, void* data);

  WindowEvents& events_;
  std::unordered_map<int, Fl_Widget*> widgets_;
  ScrollCodeBar* scrollBar_ = nullptr;
  Fl_Hold_Browser* lapList_ = nullptr;
  Fl_Tree* tree_ = nullptr;
  std::vector<std::pair<int, Fl_Tree_Item*>> treePath_;  // the last item of each open level
};

}  // namespace lv
