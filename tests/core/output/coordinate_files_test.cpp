#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/tables.h"
#include "output/coordinate_files.h"
#include "output/corrected_tools.h"
#include "view/surface.h"

using namespace veltrano;
using veltrano::test::error_of;
using veltrano::test::read_bytes;
namespace fs = std::filesystem;

namespace {

std::string fresh_dir(const std::string& name) {
  const std::string dir = testing::TempDir() + "veltrano-" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}


void generate(int follower, int spacing) {
  form1.type_select = follower;
  form1.XYspacing = spacing;
  genXYcoordClick();
}

}  // namespace

TEST(DxfFile, TwoPointsByteForByte) {
  corrected_x[0] = 14;
  corrected_y[0] = -0.5;
  corrected_x[1] = 12.3456789;
  corrected_y[1] = 0.00001;
  const std::string entity_head =
      "  0\r\nLINE\r\n  5\r\n%H\r\n100\r\nAcDbEntity\r\n  8\r\n0\r\n 62\r\n     0\r\n100\r\n"
      "AcDbLine\r\n";
  auto entity = [&](const std::string& handle, const std::string& body) {
    std::string head = entity_head;
    head.replace(head.find("%H"), 2, handle);
    return head + body;
  };
  const std::string expected =
      "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n" +
      entity("48", "10\r\n14\r\n20\r\n-0.5\r\n30\r\n0.0\r\n11\r\n14\r\n21\r\n-0.5\r\n31\r\n0.0\r\n") +
      entity("49",
             "10\r\n14\r\n20\r\n-0.5\r\n30\r\n0.0\r\n11\r\n12.345679\r\n21\r\n1E-5\r\n31\r\n0.0\r\n") +
      "  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
  EXPECT_EQ(dxf_file_bytes(2), expected);
  EXPECT_EQ(dxf_file_bytes(0), "  0\r\nSECTION\r\n  2\r\nENTITIES\r\n  0\r\nENDSEC\r\n  0\r\nEOF\r\n");
}

TEST(DxfFile, NumbersAlwaysWithADot) {
  system_decimal_separator = ',';
  output_decimal_separator = ',';
  const std::pair<double, const char*> cases[] = {
      {14, "14"},           {-0.5, "-0.5"},          {12.3456789, "12.345679"},
      {0.00012345, "0.00012345"}, {0.00001, "1E-5"}, {123456789, "1.2345679E8"},
      {-0.000012, "-1.2E-5"}, {14.0, "14"}};
  for (auto [value, text] : cases) EXPECT_EQ(dxf_number(value), text);
}

TEST(DxfFile, ThreeHundredSixtyPointsOfAGeneratePass) {
  FormCreate();  // comma in the lists
  test::set_lift(test::cycloidal_lift(8, 240));
  generate(0, 0);
  ASSERT_EQ(corrected_point_count(), 360);
  const std::string dxf = dxf_file_bytes(corrected_point_count());
  EXPECT_EQ(dxf.find(','), std::string::npos);
  EXPECT_NE(dxf.find("\r\n  5\r\n48\r\n"), std::string::npos);
  EXPECT_NE(dxf.find("\r\n  5\r\n407\r\n"), std::string::npos);
  EXPECT_EQ(dxf.find("\r\n  5\r\n408\r\n"), std::string::npos);
  // The last LINE ends at point 359; nothing closes back to point 0.
  const std::string tail = "11\r\n" + dxf_number(corrected_x[359]) + "\r\n21\r\n" +
                           dxf_number(corrected_y[359]) + "\r\n31\r\n0.0\r\n  0\r\nENDSEC";
  EXPECT_NE(dxf.find(tail), std::string::npos);
  // Radius lines in the list, the contour in the DXF.
  EXPECT_EQ(form1.XYequalcoordinates[0].find("   "), std::string::npos);
}

TEST(DxfFile, CorrectedPointsSurviveALaterCalculation) {
  test::set_lift(test::cycloidal_lift(8, 240));
  generate(0, 0);
  const std::string before = dxf_file_bytes(corrected_point_count());
  form1.rotate.set_value(150);
  calculate_lobeClick();
  ASSERT_EQ(raw_x[10], 0);
  EXPECT_EQ(dxf_file_bytes(corrected_point_count()), before);
  // A list extended by hand has no points behind its extra lines.
  form1.XYequalcoordinates.append("typed");
  EXPECT_EQ(corrected_point_count(), 360);
  XYclearClick();
  EXPECT_EQ(corrected_point_count(), 0);
}

TEST(TextFiles, LinesEndInCrLfAsEightBitText) {
  form1.XYcoordinates.assign({"1,5   2,5", "x\xc2\xb5"});
  EXPECT_EQ(list_file_bytes(form1.XYcoordinates), "1,5   2,5\r\nx\xb5\r\n");
  form1.XYcoordinates.clear();
  EXPECT_EQ(list_file_bytes(form1.XYcoordinates), "");
}

TEST(TextFiles, TypedTxtIsNotDoubled) {
  const struct {
    const char *chosen, *text, *dxf;
  } cases[] = {{"cam", "cam.txt", "cam.dxf"},
               {"/a/cam.txt", "/a/cam.txt", "/a/cam.dxf"},
               {"CAM.TXT", "CAM.TXT", "CAM.dxf"},
               {"cam.dat", "cam.dat.txt", "cam.dat.dxf"},
               {"cam.txt.bak", "cam.txt.bak.txt", "cam.txt.bak.dxf"}};
  for (const auto& c : cases) {
    EXPECT_EQ(file_name_for(c.chosen, ".txt"), c.text);
    EXPECT_EQ(file_name_for(c.chosen, ".dxf"), c.dxf);
  }
}

TEST(TextFiles, SavesAreWholeOrNothing) {
  const std::string dir = fresh_dir("save");
  form1.XYequalcoordinates.assign({"1", "2"});
  form1.XYcoordinates.assign({"r"});
  form1.savedxf = true;
  EXPECT_TRUE(savecorClick(dir + "/cam"));
  EXPECT_EQ(read_bytes(dir + "/cam.txt"), "1\r\n2\r\n");
  EXPECT_EQ(read_bytes(dir + "/cam.dxf").substr(0, 8), "  0\r\nSEC");
  saverawClick(dir + "/raw.txt");
  EXPECT_EQ(read_bytes(dir + "/raw.txt"), "r\r\n");

  // A missing folder names the file; nothing is left behind.
  EXPECT_EQ(error_of([&] { saverawClick(dir + "/missing/raw"); }).rfind("Cannot create file " + dir + "/missing/raw.txt", 0), 0u);
  // A write that fails keeps the earlier file: here the temporary file cannot
  // be created because a folder stands in its way.
  fs::create_directory(dir + "/cam.txt.veltrano-part");
  form1.XYequalcoordinates.assign({"new"});
  EXPECT_NE(error_of([&] { savecorClick(dir + "/cam"); }), "");
  EXPECT_EQ(read_bytes(dir + "/cam.txt"), "1\r\n2\r\n");
  fs::remove(dir + "/cam.txt.veltrano-part");

  // A full device reports the write error.
  EXPECT_NE(error_of([] { save_file("/dev/full", "x"); }).find("/dev/full"), std::string::npos);
  // A place where not even root may create files.
  EXPECT_NE(error_of([] { save_file("/proc/veltrano-test.txt", "x"); }), "");

  // The DXF alone fails: the text file is written, the handler reports false.
  fs::create_directory(dir + "/only.dxf");
  EXPECT_FALSE(savecorClick(dir + "/only"));
  EXPECT_EQ(read_bytes(dir + "/only.txt"), "new\r\n");
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find("veltrano-part"), std::string::npos);
}

TEST(CorrectedDrawing, DarkGreenOnTheContourEvenAfterARecalculation) {
  test::set_lift(test::cycloidal_lift(8, 240));
  generate(0, 0);
  auto count_green = [] {
    int n = 0;
    for (Colour c : surface_pixels) n += c == colour::dark_green;
    return n;
  };
  drawcorrectedcoordsClick();
  const int green = count_green();
  EXPECT_GT(green, 300);
  calculate_lobeClick();
  drawcorrectedcoordsClick();
  EXPECT_EQ(count_green(), green);
  EXPECT_NE(get_pixel(375, 400), colour::dark_green);
}

TEST(RadiusFinder, EccentricDiscHasOneRadiusAndWrapsAround) {
  // A flat face on an eccentric disc: the cam is the disc, radius R + e.
  const double e = 4;
  test::set_lift(test::samples(3600, [&](int i) { return e * (1 - std::cos(i * 0.1 * pi / 180)); }));
  form1.smoothres.set_value(0);
  generate(0, 0);
  for (int a : {180, 90, 359, 0}) {
    SCOPED_TRACE(a);
    form1.findcirclespin.set_value(a);
    form1.findcirclespin.text = std::to_string(a);  // 0 as typed, before the field corrects it
    findcircleClick();
    EXPECT_NEAR(std::stod(form1.circleradius), 18, 2e-3);
    EXPECT_EQ(form1.rotate.value(), a);
  }
}

TEST(RadiusFinder, RefusalsChangeNothing) {
  form1.circleradius = "old";
  EXPECT_EQ(error_of(findcircleClick), "Floating point division by zero");  // no points yet
  EXPECT_EQ(form1.circleradius, "old");
  EXPECT_EQ(form1.rotate.text, "180");

  test::set_lift(test::cycloidal_lift(8, 240));
  generate(0, 0);
  form1.findcirclespin.text = "400";
  EXPECT_EQ(error_of(findcircleClick),
            "There is no corrected point 400: the corrected list has points 0 to 359");
  EXPECT_EQ(form1.circleradius, "old");
  EXPECT_EQ(form1.rotate.text, "180");

  EXPECT_EQ(error_of([] { three_point_circle_radius(0, 0, 1, 1, 2, 2); }),
            "Floating point division by zero");
  three_point_circle_radius(1, 0, 0, 1, -1, 0);
  EXPECT_EQ(form1.circleradius, "1");
}

// The unit circle through (1, 0), (0, 1), (-1, 0) blown up and shrunk: the
// squares of the coordinates leave the range of a double, the radius does not.
TEST(RadiusFinder, CircleOfAnySizeHasItsRadius) {
  for (double size : {1e200, 3e-200, 1.5e154, 28.0}) {
    SCOPED_TRACE(size);
    three_point_circle_radius(size, 0, 0, size, -size, 0);
    const std::optional<double> r = parse_float(form1.circleradius, system_decimal_separator);
    ASSERT_TRUE(r.has_value()) << form1.circleradius;
    EXPECT_NEAR(*r / size, 1, 1e-14);
  }
  // Nearly on a line: a radius of about 5e315, beyond the range of a double.
  EXPECT_EQ(error_of([] { three_point_circle_radius(-1e308, 0, 0, 1e300, 1e308, 0); }),
            "Floating point overflow");
}

TEST(RadiusFinder, SetsRotateAndRecalculates) {
  test::set_lift(test::cycloidal_lift(8, 240));
  generate(0, 0);
  form1.findcirclespin.set_value(150);
  findcircleClick();
  EXPECT_EQ(form1.rotate.text, "150");
  EXPECT_EQ(rotation_deg, 30);
  EXPECT_EQ(form1.liftedit, format_output(lift_table[1500], 4));
}

TEST(TextFiles, LinksAreWrittenThrough) {
  const std::string dir = fresh_dir("links");
  form1.XYcoordinates.assign({"new"});
  { std::ofstream(dir + "/target.txt") << "old"; }
  fs::create_symlink(dir + "/target.txt", dir + "/link.txt");
  saverawClick(dir + "/link.txt");
  EXPECT_TRUE(fs::is_symlink(dir + "/link.txt"));
  EXPECT_EQ(read_bytes(dir + "/target.txt"), "new\r\n");
}

TEST(TextFiles, ReadOnlyFilesAreKept) {
  const std::string dir = fresh_dir("read-only");
  form1.XYcoordinates.assign({"new"});
  { std::ofstream(dir + "/locked.txt") << "old"; }
  fs::permissions(dir + "/locked.txt", fs::perms::owner_read | fs::perms::group_read);
  if (geteuid() == 0) GTEST_SKIP() << "root may write any file; the refusal needs another user";
  EXPECT_NE(error_of([&] { saverawClick(dir + "/locked.txt"); }).find("Permission denied"),
            std::string::npos);
  EXPECT_EQ(read_bytes(dir + "/locked.txt"), "old");
}
