#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <string>

#include "app/calculate.h"
#include "app/errors.h"
#include "app/handlers.h"
#include "app/numbers.h"
#include "fixtures.h"
#include "model/controls.h"
#include "model/tables.h"

using namespace veltrano;
using veltrano::test::error_of;

namespace {

std::string temp_file(const std::string& name, const std::string& bytes) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << bytes;
  return path;
}

}  // namespace

TEST(Handlers, InchConversionWritesGeneralFormatInPlace) {
  form1.inputdata.assign({"0", "0.1", "1", "-2E-6"});
  convert_inch_buttonClick();
  EXPECT_EQ(form1.inputdata.lines(), (std::vector<std::string>{"0", "2.54", "25.4", "-5.08E-5"}));
  // No memory of units: again multiplies again.
  convert_inch_buttonClick();
  EXPECT_EQ(form1.inputdata[2], "645.16");

  system_decimal_separator = ',';
  form1.inputdata.assign({"0,1"});
  convert_inch_buttonClick();
  EXPECT_EQ(form1.inputdata[0], "2,54");
}

TEST(Handlers, InchConversionLeavesTheMemoAloneOnABadLine) {
  form1.inputdata.assign({"1", "2", "x"});
  EXPECT_EQ(error_of(convert_inch_buttonClick), "'x' is not a valid floating point value");
  EXPECT_EQ(form1.inputdata.lines(), (std::vector<std::string>{"1", "2", "x"}));
  form1.inputdata.clear();
  EXPECT_EQ(error_of(convert_inch_buttonClick), "");
  EXPECT_EQ(form1.inputdata.count(), 0);
}

TEST(Handlers, SmallHandlers) {
  form1.deg10step = false;
  deg10stepClick();
  form1.rotate.step(1);
  EXPECT_EQ(form1.rotate.text, "181");
  form1.deg10step = true;
  deg10stepClick();
  form1.rotate.step(1);
  EXPECT_EQ(form1.rotate.text, "191");

  const int expected_x[] = {375, 375, 200, 200, 375};
  for (int item = 0; item < 5; ++item) {
    form1.X_move.text = "123";
    form1.type_select = item;
    type_selectClick();
    EXPECT_EQ(form1.X_move.value(), expected_x[item]);
  }
  EXPECT_EQ(zoom, 0);  // nothing was calculated

  FormCreate();
  EXPECT_EQ(format_output(12.3456, 4), "12,3456");
  form1.dividersign = 1;
  dividersignClick();
  EXPECT_EQ(format_output(12.3456, 4), "12.3456");
  form1.dividersign = 0;
  dividersignClick();
  EXPECT_EQ(format_output(12.3456, 4), "12,3456");

  form1.inputdata.assign({"1"});
  cleardataClick();
  EXPECT_EQ(form1.inputdata.count(), 0);
}

TEST(Handlers, RotateChangeCalculatesOnlyWithAutoUpdate) {
  test::set_lift({0, 3, 0});
  form1.autoupdate = false;
  rotateChange();
  EXPECT_EQ(form1.liftedit, "");
  form1.autoupdate = true;
  rotateChange();
  EXPECT_EQ(form1.liftedit, "3.0000");
}

TEST(Handlers, GeneratePassClearsListsFirstAndFlagsAfterAnError) {
  form1.XYcoordinates.assign({"a"});
  form1.XYequalcoordinates.assign({"b"});
  form1.calclines = "1";
  form1.adddegreenumbers = form1.addZcoord = form1.radiuscalc = true;
  form1.inputdata.assign({"0", "bad"});
  EXPECT_EQ(error_of(genXYcoordClick), "'bad' is not a valid floating point value");
  EXPECT_EQ(form1.XYcoordinates.count(), 0);
  EXPECT_EQ(form1.XYequalcoordinates.count(), 0);
  EXPECT_EQ(form1.calclines, "");
  EXPECT_EQ(generate_mode + add_degree_numbers + add_z + radius_values, 0);
}

TEST(LoadLiftFile, LineEndsAndEightBitText) {
  const std::string path = temp_file("lift.txt", "0\r\n1.5\n2\r3\r\n");
  load_lift_file(path);
  EXPECT_EQ(form1.inputdata.lines(), (std::vector<std::string>{"0", "1.5", "2", "3"}));
  load_lift_file(temp_file("latin1.txt", "1\xb5m"));
  EXPECT_EQ(form1.inputdata[0], "1\xc2\xb5m");  // the micro sign, as UTF-8
  EXPECT_EQ(utf8_to_latin1(form1.inputdata[0]), "1\xb5m");
  EXPECT_EQ(utf8_to_latin1("\xe2\x82\xac"), "?");  // no euro sign in 8 bits
}

TEST(LoadLiftFile, MissingFileKeepsTheMemo) {
  form1.inputdata.assign({"7"});
  const std::string path = testing::TempDir() + "no/such/file.txt";
  EXPECT_EQ(error_of([&] { load_lift_file(path); }), "Cannot open file " + path);
  EXPECT_EQ(form1.inputdata.lines(), std::vector<std::string>{"7"});
}

TEST(LoadLiftFile, BinaryAndHugeFilesLoadAndAreRefusedCleanly) {
  std::mt19937 random(12345);
  std::string bytes(1 << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  load_lift_file(temp_file("random.bin", bytes));
  EXPECT_GT(form1.inputdata.count(), 1000);
  EXPECT_FALSE(error_of(calculate_lobeClick).empty());

  std::string many;
  for (int i = 0; i < 100000; ++i) many += "0.5\n";
  load_lift_file(temp_file("many.txt", many));
  EXPECT_EQ(form1.inputdata.count(), 100000);
  EXPECT_EQ(error_of(calculate_lobeClick),
            "The lift data has 100000 lines; at most 5000 lift values can be used");
}
