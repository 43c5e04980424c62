#include <gtest/gtest.h>

#include "DriveFolder.h"
#include "SessionFixture.h"
#include "tools/gplsim/Gplsim.h"

namespace lv {
namespace {

using test::DriveFolder;
using test::Session;

std::string lastScrollBar(const Session& session) {
  for (auto it = session.events.rbegin(); it != session.events.rend(); ++it)
    if (it->rfind("scrollbar ", 0) == 0) return *it;
  return "";
}

// Lap choice, zoom and scroll share one scroll bar: each scroll starts from the range, page
// and position the lap choice gave the bar, not from the bar before it. A drive of three laps
// at 36 frames per second: lap 1 has 3522 samples, lap 3 3511, the longest lap 4022 m.
TEST(ScrollBar, ScrollingAfterALapChoiceStartsFromTheBarItShows) {
  DriveFolder folder;
  sim::SimOptions options;
  options.laps = 3;
  options.fps = 36;
  options.telVersion = 7;
  options.seed = 1;
  ASSERT_TRUE(sim::writeDriveFolder(options, sim::generateDrive(options), folder.iniDir()));
  // One lap at zoom 2, 1000 samples in; the second lap turns the bar into metres: 1142 m.
  const std::vector<std::string> start = {"load " + folder.replay("demo"), "dblclick 1",
                                          "press zoom+", "scroll 4 1000", "dblclick 2"};
  struct Case {
    const char* what;
    std::vector<std::string> then;
    const char* scrollBar;
    int scrollOffset;
  };
  const Case cases[] = {
      {"line right", {"scroll 1"}, "scrollbar 0 4022 2011 1147", 1147 * 2000},
      {"page right moves forward", {"scroll 3"}, "scrollbar 0 4022 2011 1167", 1167 * 2000},
      // Dropping the laps and choosing lap 3 converts 2294000 back to 1001 samples of it; the
      // end of a scroll keeps that position.
      {"end of scrolling after a new first lap",
       {"scroll 1", "press lap-", "dblclick 3", "scroll 8"},
       "scrollbar 0 3511 1755 1001",
       1001},
      {"zoom after a new first lap",
       {"scroll 1", "press lap-", "dblclick 3", "press zoom+", "scroll 1"},
       "scrollbar 0 3511 1170 1006",
       1006},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Session session(folder.iniDir());
    for (const std::string& command : start) ASSERT_TRUE(session.cli.run(command)) << command;
    ASSERT_EQ(lastScrollBar(session), "scrollbar 0 4022 2011 1142");
    for (const std::string& command : c.then) ASSERT_TRUE(session.cli.run(command)) << command;
    EXPECT_EQ(lastScrollBar(session), c.scrollBar);
    EXPECT_EQ(session.cli.dialog().state().view.scrollOffset, c.scrollOffset);
  }
}

}  // namespace
}  // namespace lv
