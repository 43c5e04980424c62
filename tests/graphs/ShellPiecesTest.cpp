#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "GraphFixture.h"
#include "platform/cairo/RasterCanvas.h"
#include "viewer/shell/CommandScript.h"
#include "viewer/shell/DialogUnits.h"
#include "viewer/shell/FieldTexts.h"
#include "viewer/shell/IniFolder.h"
#include "viewer/shell/TrackMap.h"

namespace lv {
namespace {

using test::GraphFixture;

TEST(DialogUnits, ControlsLandOnTheirPixelsAndTheColumnRightOfThePlot) {
  struct Case {
    int id;
    PixelRect pixels;
  };
  // Halves round away from zero, each value on its own.
  for (const Case& c : {Case{1000, {1820, 15, 29, 16}}, Case{1050, {0, 1022, 1908, 18}},
                        Case{1109, {1646, 29, 177, 700}}, Case{1002, {1817, 288, 15, 20}}}) {
    SCOPED_TRACE(c.id);
    EXPECT_EQ(toPixels(findControl(c.id)->rect), c.pixels);
  }
  for (const ControlEntry& entry : kControlCatalogue) {
    SCOPED_TRACE(entry.id);
    PixelRect r = toPixels(entry.rect);
    // Some controls end a little past the right edge ("suspension" by a whole unit), but
    // every control starts inside the client area.
    EXPECT_LT(r.x + r.width / 2, kClientWidth);
    EXPECT_LT(r.y + r.height / 2, kClientHeight);
    // Only the tree and the scroll bar reach into the plot area.
    if (entry.id != control::kTree && entry.id != control::kScrollBar) {
      EXPECT_GE(r.x, 1817);
    }
  }
}

TEST(FieldTexts, EveryFieldGoesToItsOwnEditBoxAsDataExchangeWritesIt) {
  DialogFields fields;
  fields.speedValue = 123.456789f;
  fields.tyreTempBox[5] = -0.5f;
  fields.wearValue[3] = 42;
  fields.lapNameText[2] = "3  1:41.840";
  fields.distanceValue = 1234567.0f;
  fields.gearValue = -1;
  std::map<int, std::string> texts;
  for (const ControlText& t : fieldTexts(fields)) {
    SCOPED_TRACE(t.controlId);
    const ControlEntry* entry = findControl(t.controlId);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->kind, ControlKind::kEdit);
    EXPECT_TRUE(texts.emplace(t.controlId, t.text).second) << "bound twice";
  }
  EXPECT_EQ(texts[1001], "123.457");
  EXPECT_EQ(texts[1015], "-0.5");
  EXPECT_EQ(texts[1031], "42");
  EXPECT_EQ(texts[1028], "3  1:41.840");
  EXPECT_EQ(texts[1038], "1.23457e+06");
  EXPECT_EQ(texts[1002], "-1");
  EXPECT_EQ(texts[1007], "0");
  // The unit boxes keep their labels: no field writes them.
  for (auto [id, unit] : kUnitLabels) {
    EXPECT_EQ(texts.count(id), 0u) << id;
    EXPECT_EQ(findControl(id)->kind, ControlKind::kEdit) << id;
  }
}

TEST(IniFolder, TheProgramsFolderWithoutItsClosingSeparatorButRootsStayRoots) {
  const std::pair<std::string, std::string> cases[] = {
      {"", "."},
      {"/", "/"},
      {"/usr/bin/", "/usr/bin"},
      {"C:\\", "C:\\"},
      {"C:\\Lapvista\\", "C:\\Lapvista"},
  };
  for (const auto& [folder, iniDir] : cases) EXPECT_EQ(iniDirOf(folder), iniDir) << folder;
}

TEST(CommandScript, EveryLineIsACommandAddedAfterThoseGiven) {
  std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("shell-script-" + std::to_string(getpid()));
  std::ofstream(path) << "load a.rpy\n\n# note\nselect 2";
  std::vector<std::string> commands{"mousemove"};
  EXPECT_TRUE(readCommandScript(path, commands));
  std::filesystem::remove(path);
  EXPECT_EQ(commands,
            (std::vector<std::string>{"mousemove", "load a.rpy", "", "# note", "select 2"}));
  EXPECT_FALSE(readCommandScript(path, commands));
  EXPECT_EQ(commands.size(), 5u);
}

TEST(TrackMap, FrameKeepsTheAspectRatioForBothVariants) {
  GraphFixture g;
  g.stores->mapBounds = {0.0f, 0.0f, 3634.0f, 724.0f};  // twice as wide as the plot is
  GraphContext c = g.context();
  fitTrackMap(c, MapFrameVariant::kLoad);
  EXPECT_FLOAT_EQ(c.view.mapScale, 3634.0f / 1970.0f);
  EXPECT_FLOAT_EQ(c.view.mapOffsetX, 0.0f);
  EXPECT_FLOAT_EQ(c.view.mapOffsetY, (724.0f * 0.5f + 724.0f) / 2.0f);
  g.stores->mapBounds = {0.0f, 0.0f, 100.0f, 1448.0f};  // taller than wide
  fitTrackMap(c, MapFrameVariant::kTreeImport);
  EXPECT_FLOAT_EQ(c.view.mapScale, 2.0f);
  EXPECT_FLOAT_EQ(c.view.mapOffsetY, 724.0f);
  EXPECT_NEAR(c.view.mapOffsetX, 1817.0 - (1817.0 * (100.0 / 1817.0) / 2.0 + 1817.0) / 2.0, 1e-3);
  // No extent at all: every sample lands on one point.
  g.stores->mapBounds = {5.0f, 5.0f, 5.0f, 5.0f};
  fitTrackMap(c, MapFrameVariant::kLoad);
  g.tel(0).f[2] = 5.0f;
  g.tel(0).f[3] = 5.0f;
  MapPoint p = mapPoint(c, 0);
  EXPECT_EQ(p.x, 0);
  EXPECT_EQ(p.y, 918);
}

TEST(RasterCanvas, LinesLeaveOutTheirEndAndFarPointsAreClipped) {
  RasterCanvas canvas;
  canvas.selectPen({240, 0, 40});
  canvas.moveTo(10, 10);
  canvas.lineTo(20, 10);
  EXPECT_EQ(canvas.pixel(10, 10), (Rgb{240, 0, 40}));
  EXPECT_EQ(canvas.pixel(19, 10), (Rgb{240, 0, 40}));
  EXPECT_EQ(canvas.pixel(20, 10), kDialogBackground);
  canvas.moveTo(100, -2000000000);
  canvas.lineTo(100, 2000000000);  // clipped, not walked pixel by pixel
  EXPECT_EQ(canvas.pixel(100, 500), (Rgb{240, 0, 40}));
  canvas.rectangleOutline(1845, 904, 51, 1, {40, 0, 240});
  EXPECT_EQ(canvas.pixel(1845, 904), (Rgb{40, 0, 240}));
  EXPECT_EQ(canvas.pixel(1895, 904), (Rgb{40, 0, 240}));
  EXPECT_EQ(canvas.pixel(1896, 904), kDialogBackground);
  canvas.eraseAll();
  EXPECT_EQ(canvas.pixel(100, 500), kDialogBackground);
}

}  // namespace
}  // namespace lv
