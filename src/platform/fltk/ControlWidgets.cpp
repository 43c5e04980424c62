#include "platform/fltk/ControlWidgets.h"

#include <FL/Fl.H>
#include <FL/Fl_Box.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Round_Button.H>
#include <FL/Fl_Tree.H>

#include <string>

#include "platform/fltk/EditBox.h"
#include "platform/fltk/Fonts.h"
#include "viewer/graphs/Canvas.h"
#include "viewer/shell/ControlCatalogue.h"
#include "viewer/shell/DialogUnits.h"
#include "viewer/shell/FieldTexts.h"

namespace lv {
namespace {

WindowEvents& eventsOf(void* data) {
  return *static_cast<WindowEvents*>(data);
}

// Selection changes come on the press, a double-click on the second release.
void lapListChanged(Fl_Widget* widget, void* data) {
  int line = static_cast<Fl_Browser*>(widget)->value() - 1;
  if (Fl::event() == FL_RELEASE && Fl::event_clicks() > 0) {
    if (line >= 0) eventsOf(data).lapListDoubleClicked(line);
  } else if (Fl::event() != FL_KEYBOARD || Fl::event_key() != FL_Enter) {
    eventsOf(data).lapListSelected(line);
  }
}

bool has(std::string_view styles, std::string_view flag) {
  return styles.find(flag) != std::string_view::npos;
}

int siblingIndex(Fl_Tree_Item* item) {
  Fl_Tree_Item* parent = item->parent();
  return parent == nullptr ? 0 : parent->find_child(item);
}

class DialogTree : public Fl_Tree {
 public:
  DialogTree(int x, int y, int width, int height, std::function<void(Fl_Tree_Item*)> doubleClick)
      : Fl_Tree(x, y, width, height), doubleClick_(std::move(doubleClick)) {}
  int handle(int event) override {
    int taken = Fl_Tree::handle(event);
    if (event == FL_PUSH && Fl::event_button() == FL_LEFT_MOUSE && Fl::event_clicks() > 0) {
      if (Fl_Tree_Item* item = find_clicked(); item != nullptr) doubleClick_(item);
    }
    return taken;
  }

 private:
  std::function<void(Fl_Tree_Item*)> doubleClick_;
};

}  // namespace

ControlWidgets::ControlWidgets(int originX, int originY, WindowEvents& events) : events_(events) {
  for (const ControlEntry& entry : kControlCatalogue) add(entry, originX, originY);
  for (auto [id, unit] : kUnitLabels) {
    setText(id, unit);
    auto* box = static_cast<EditBox*>(widget(id));
    box->textsize(fittingFontSize(std::string(unit).c_str(), box->w(), box->h()));
  }
}

void ControlWidgets::add(const ControlEntry& entry, int originX, int originY) {
  PixelRect r = toPixels(entry.rect);
  r.x += originX;
  r.y += originY;
  std::string caption(entry.caption);
  Fl_Widget* widget = nullptr;
  switch (entry.kind) {
    case ControlKind::kButton: {
      auto* button = new Fl_Button(r.x, r.y, r.width, r.height);
      button->when(FL_WHEN_RELEASE_ALWAYS);
      button->callback(buttonClicked, this);
      widget = button;
      break;
    }
    case ControlKind::kRadioButton: {
      auto* radio = new Fl_Round_Button(r.x, r.y, r.width, r.height);
      radio->type(FL_RADIO_BUTTON);
      radio->when(FL_WHEN_RELEASE_ALWAYS);
      radio->callback(buttonClicked, this);
      radio->labelsize(r.height - 3);  // the round mark's size
      if (entry.id == control::kFirstRadio) radio->setonly();
      widget = radio;
      break;
    }
    case ControlKind::kEdit:
      widget = new EditBox(r.x, r.y, r.width, r.height, has(entry.styles, "read-only"),
                           has(entry.styles, "centred"));
      break;
    case ControlKind::kListBox: {
      lapList_ = new Fl_Hold_Browser(r.x, r.y, r.width, r.height);
      lapList_->format_char(0);  // lap lines are shown as they are
      lapList_->textfont(FL_HELVETICA);
      lapList_->textsize(kDialogFontSize);
      lapList_->has_scrollbar(Fl_Browser_::VERTICAL_ALWAYS);
      lapList_->scrollbar_size(14);
      lapList_->when(FL_WHEN_CHANGED | FL_WHEN_ENTER_KEY);
      lapList_->callback(lapListChanged, &events_);
      widget = lapList_;
      break;
    }
    case ControlKind::kScrollBar:
      scrollBar_ = new ScrollCodeBar(r.x, r.y, r.width, r.height);
      scrollBar_->onScroll([this](int code, int position) { events_.scrolled(code, position); });
      widget = scrollBar_;
      break;
    case ControlKind::kGroupBox: {
      auto* frame = new Fl_Box(FL_ENGRAVED_FRAME, r.x, r.y, r.width, r.height, nullptr);
      widget = frame;
      break;
    }
    case ControlKind::kStaticText: {
      auto* text = new Fl_Box(FL_FLAT_BOX, r.x, r.y, r.width, r.height, nullptr);
      text->color(fl_rgb_color(kDialogBackground.r, kDialogBackground.g, kDialogBackground.b));
      text->align(FL_ALIGN_LEFT | FL_ALIGN_TOP | FL_ALIGN_INSIDE | FL_ALIGN_CLIP);
      widget = text;
      break;
    }
    case ControlKind::kTree: {
      auto* tree = new DialogTree(r.x, r.y, r.width, r.height,
                                  [this](Fl_Tree_Item* item) { treeDoubleClicked(item); });
      tree->showroot(0);
      tree->item_labelfont(FL_HELVETICA);
      tree->item_labelsize(kDialogFontSize);
      tree->selectmode(FL_TREE_SELECT_SINGLE);
      tree_ = tree;
      widget = tree;
      break;
    }
  }
  if (!entry.tooltip.empty()) widget->copy_tooltip(std::string(entry.tooltip).c_str());
  if (entry.start != StartState::kShown) widget->hide();
  if (entry.start == StartState::kHiddenDisabled) widget->deactivate();
  widgets_[entry.id] = widget;
  if (!caption.empty()) setCaption(entry.id, caption);
}

// FLTK keeps one word of data per widget, taken by this object, so the id is looked up.
void ControlWidgets::buttonClicked(Fl_Widget* widget, void* data) {
  auto& controls = *static_cast<ControlWidgets*>(data);
  for (const auto& [id, control] : controls.widgets_) {
    if (control == widget) {
      controls.events_.buttonClicked(id);
      return;
    }
  }
}

Fl_Widget* ControlWidgets::widget(int controlId) const {
  auto found = widgets_.find(controlId);
  return found == widgets_.end() ? nullptr : found->second;
}

void ControlWidgets::setCaption(int controlId, std::string_view caption) {
  Fl_Widget* control = widget(controlId);
  if (control == nullptr) return;
  std::string text(caption);
  control->copy_label(text.c_str());
  control->labelfont(FL_HELVETICA);
  control->labelsize(fittingFontSize(text.c_str(), control->w(), control->h()));
  control->redraw();
}

void ControlWidgets::setText(int controlId, std::string_view text) {
  auto* box = dynamic_cast<EditBox*>(widget(controlId));
  if (box == nullptr) return;
  box->value(text.data(), static_cast<int>(text.size()));
  box->position(0);  // a text wider than the box shows its start, as the platform's box does
}

void ControlWidgets::treeClear() {
  // Fl_Tree::clear() would delete the root item too, and later items need it.
  tree_->clear_children(tree_->root());
  treePath_.clear();
  tree_->redraw();
}

// Each item goes under the last item of a lower level, so the tree's levels may start at 0 or 1.
void ControlWidgets::treeAppend(int level, std::string_view text) {
  while (!treePath_.empty() && treePath_.back().first >= level) treePath_.pop_back();
  Fl_Tree_Item* parent = treePath_.empty() ? tree_->root() : treePath_.back().second;
  Fl_Tree_Item* item = tree_->add(parent, std::string(text).c_str());
  treePath_.emplace_back(level, item);
  tree_->redraw();
}

void ControlWidgets::treeDoubleClicked(Fl_Tree_Item* item) {
  // Drivers and lap kinds only open and close; a lap line is three levels down.
  if (item->has_children() || item->depth() != 3) return;
  Fl_Tree_Item* kind = item->parent();
  Fl_Tree_Item* driver = kind->parent();
  // The kind by its item: "Training" (practice) 0, "Rennen" (race) 1.
  std::string_view kindLabel = kind->label() != nullptr ? kind->label() : "";
  int kindCode = kindLabel.rfind("Rennen", 0) == 0     ? 1
                 : kindLabel.rfind("Training", 0) == 0 ? 0
                                                       : siblingIndex(kind);
  events_.treeLapDoubleClicked(siblingIndex(driver), kindCode, siblingIndex(item));
}

}  // namespace lv
