#pragma once

namespace lv {

// Returns once the X server has carried out every request sent so far, painting included.
// (Kept apart because Xlib's macros clash with the viewer's names.)
void waitForServer();

}  // namespace lv
