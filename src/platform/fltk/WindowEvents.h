#pragma once

namespace lv {

// What the window's controls and client area report, in the dialog's terms.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  virtual void buttonClicked(int controlId) = 0;
  virtual void lapListSelected(int line) = 0;
  virtual void lapListDoubleClicked(int line) = 0;
  virtual void scrolled(int code, int position) = 0;
  // A lap line of the tree: the driver item and the lap line by their places from 0, the kind
  // as 0 practice or 1 race, as the command "tree D K N" takes them.
  virtual void treeLapDoubleClicked(int driver, int kind, int lap) = 0;
  virtual void mouseMoved() = 0;
  // The right button released over the client area but not over a control; x in client pixels.
  virtual void rightButtonReleased(int x) = 0;
  virtual void aboutRequested() = 0;
};

}  // namespace lv
