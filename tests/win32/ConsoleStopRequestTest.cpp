// The console's stop events as vantor.exe sees them. Windows calls the handler on a thread
// of its own; the handler's decisions are checked here directly.
#include <gtest/gtest.h>

#include "platform/win32/ConsoleStopRequest.h"

namespace lv {
namespace {

TEST(ConsoleStopRequest, TakesCtrlCBreakAndCloseAsStop) {
  for (DWORD event : {CTRL_C_EVENT, CTRL_BREAK_EVENT, CTRL_CLOSE_EVENT}) {
    ConsoleStopRequest stop;
    stop.listen();
    EXPECT_FALSE(stop.requested()) << event;
    EXPECT_TRUE(ConsoleStopRequest::onConsoleEvent(event, 0)) << event;
    EXPECT_TRUE(stop.requested()) << event;
  }
}

TEST(ConsoleStopRequest, LeavesLogOffShutDownAndEventsBeforeListeningToWindows) {
  {
    ConsoleStopRequest stop;
    stop.listen();
    EXPECT_FALSE(ConsoleStopRequest::onConsoleEvent(CTRL_LOGOFF_EVENT, 0));
    EXPECT_FALSE(ConsoleStopRequest::onConsoleEvent(CTRL_SHUTDOWN_EVENT, 0));
    EXPECT_FALSE(stop.requested());
  }
  ConsoleStopRequest notYetListening;
  EXPECT_FALSE(ConsoleStopRequest::onConsoleEvent(CTRL_C_EVENT, 0));
  EXPECT_FALSE(notYetListening.requested());
}

}  // namespace
}  // namespace lv
