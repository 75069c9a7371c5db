#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/numbers.h"
#include "batch.h"
#include "model/controls.h"
#include "model/follower_params.h"
#include "model/tables.h"

using namespace veltrano;
namespace fs = std::filesystem;

namespace {

const std::string kLift = std::string(VELTRANO_SOURCE_DIR) + "/examples/cycloidal-8mm.txt";

struct Outcome {
  int status;
  std::string out, err;
};

Outcome batch(std::vector<std::string> args) {
  std::ostringstream out, err;
  const int status = run_batch(args, out, err);
  return {status, out.str(), err.str()};
}

std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string fresh_dir(const std::string& name) {
  const std::string dir = testing::TempDir() + "veltrano-batch-" + name;
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

}  // namespace

TEST(BatchOptions, EveryOptionReachesItsControl) {
  struct Case {
    std::vector<std::string> args;
    std::function<bool()> reached;
  };
  const Case cases[] = {
      {{"--follower", "roller"}, [] { return form1.type_select == 1; }},
      {{"--follower=finger-b"}, [] { return form1.type_select == 3 && form1.X_move.value() == 200; }},
      {{"--follower", "knife"}, [] { return form1.type_select == 4 && form1.X_move.value() == 375; }},
      {{"--base", "30.5"}, [] { return basecircle == 30.5; }},
      {{"--face", "35"}, [] { return flatfollower == 35; }},
      {{"--roller", "18"}, [] { return rollerdiameter == 18; }},
      {{"--rocker", "1.5"}, [] { return rockerratio == 1.5; }},
      {{"--offset", "-2.125"}, [] { return form5.follower_offset.value() == -2.125; }},
      {{"--ff-base", "26"}, [] { return ff_basecircle == 26; }},
      {{"--ff-roller", "40"}, [] { return ff_rollerdiameter == 40; }},
      {{"--ff-cam-hinge", "33"}, [] { return ff_camcenter_hinge == 33; }},
      {{"--ff-roller-hinge", "21"}, [] { return ff_rollercenter_hinge == 21; }},
      {{"--ff-valve-hinge", "23"}, [] { return ff_valvepoint_hinge == 23; }},
      {{"--clockwise"}, [] { return form1.clockwiserotation; }},
      {{"--step", "0.5"}, [] { return form1.XYspacing == 1; }},
      {{"--step", "raw"}, [] { return form1.XYspacing == 3; }},
      {{"--smoothing", "12.5"}, [] { return form1.smoothres.value() == 12.5; }},
      {{"--xy"}, [] { return !form1.radiuscalc; }},
      {{"--keep-base-circle"}, [] { return !form1.subtractbasecircle; }},
      {{"--degrees"}, [] { return form1.adddegreenumbers; }},
      {{"--z"}, [] { return form1.addZcoord; }},
      {{"--divider", "dot"}, [] { return form1.dividersign == 1 && output_decimal_separator == '.'; }},
      {{"--decimal-point", ","}, [] { return system_decimal_separator == ','; }},
      {{"--rotate", "150"}, [] { return form1.rotate.value() == 150; }},
      {{"--zoom", "20"}, [] { return form1.zoomfactor.value() == 20; }},
      {{"--x-move", "300"}, [] { return form1.X_move.value() == 300; }},
      {{"--y-move", "350"}, [] { return form1.Y_move.value() == 350; }},
      {{"--encirclement"}, [] { return form1.drawencirclement; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    std::vector<std::string> args = c.args;
    // With "," as separator the lift file (written with points) cannot be
    // read; the controls are set before that.
    args.push_back(kLift);
    batch(args);
    EXPECT_TRUE(c.reached());
  }
  // Defaults are the window's.
  const Outcome run = batch({kLift});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(form1.type_select, 0);
  EXPECT_EQ(output_decimal_separator, ',');
  EXPECT_EQ(form1.smoothres.value(), 25);
  EXPECT_TRUE(form1.radiuscalc && form1.subtractbasecircle);
  EXPECT_EQ(basecircle, 28);
}

TEST(BatchOptions, UsageErrorsExitWithTwoAndAHint) {
  const std::vector<std::string> bad[] = {
      {},
      {"--bogus", kLift},
      {"--base", "abc", kLift},
      {"--base"},
      {"--follower", "cam", kLift},
      {"--step", "2", kLift},
      {"--rotate", "1.5", kLift},
      {"--decimal-point", ";", kLift},
      {"--xy=1", kLift},
      {kLift, kLift},
  };
  for (const auto& args : bad) {
    const Outcome run = batch(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err.rfind("veltrano-batch: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find("(see --help)\n"), std::string::npos);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1);
  }
  EXPECT_EQ(batch({"--help"}).status, 0);
  EXPECT_NE(batch({"--help"}).out.find("--follower flat|roller|finger-a|finger-b|knife"),
            std::string::npos);
  EXPECT_EQ(batch({"--version"}).out, "veltrano-batch 2.0.1\n");
}

TEST(BatchRuns, ErrorsExitWithOneAndTheWindowsMessage) {
  const std::string dir = fresh_dir("errors");
  std::ofstream(dir + "/bad.txt") << "0\nabc\n0\n";
  Outcome run = batch({"--corrected", dir + "/out.txt", dir + "/bad.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "'abc' is not a valid floating point value.\n");
  EXPECT_FALSE(fs::exists(dir + "/out.txt"));

  run = batch({dir + "/missing.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "Cannot open file " + dir + "/missing.txt.\n");

  // One output cannot be written: none is.
  run = batch({"--corrected", dir + "/ok.txt", "--dxf", dir + "/no/such/dir/x.dxf", kLift});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Cannot create file " + dir + "/no/such/dir/x.dxf"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir + "/ok.txt"));
  for (const auto& entry : fs::directory_iterator(dir))
    EXPECT_EQ(entry.path().string().find("veltrano-part"), std::string::npos);

  run = batch({"--corrected", "/dev/full", kLift});
  EXPECT_EQ(run.status, 1);
}

TEST(BatchRuns, FilesReportAndPicture) {
  const std::string dir = fresh_dir("files");
  const Outcome run = batch({"--report", "--step", "0.5", "--degrees", "--divider", "dot", "--raw",
                         dir + "/raw.txt", "--corrected", dir + "/cor.txt", "--dxf",
                         dir + "/cor.dxf", "--picture", dir + "/cam.png", "--rotate", "150", kLift});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string cor = read_bytes(dir + "/cor.txt");
  EXPECT_EQ(std::count(cor.begin(), cor.end(), '\n'), 720);
  EXPECT_EQ(cor.substr(0, 10), "0.000   0.");
  EXPECT_EQ(read_bytes(dir + "/raw.txt").substr(0, 6), "0.000 ");
  EXPECT_EQ(read_bytes(dir + "/cor.dxf").substr(0, 14), "  0\r\nSECTION\r\n");
  EXPECT_EQ(read_bytes(dir + "/cam.png").substr(1, 3), "PNG");
  // The report belongs to the picture's calculation at 150 degrees.
  EXPECT_NE(run.out.find("Lift: " + format_fixed(lift_table[1500], 4, '.') + "\n"),
            std::string::npos);
  EXPECT_NE(run.out.find("Lines calculated: 3600\n"), std::string::npos);
}

TEST(BatchExecutable, ExitCodesOfTheRealProgram) {
  const std::string exe = VELTRANO_BATCH_EXE;
  EXPECT_EQ(std::system((exe + " --version > /dev/null").c_str()), 0);
  EXPECT_EQ(WEXITSTATUS(std::system((exe + " --nope 2> /dev/null").c_str())), 2);
  EXPECT_EQ(WEXITSTATUS(std::system((exe + " /no/such/file 2> /dev/null").c_str())), 1);
  EXPECT_EQ(std::system((exe + " --corrected /dev/null " + kLift).c_str()), 0);
}
