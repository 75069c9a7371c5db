// The hostile inputs of the window, through the batch tool: a clear message
// and exit status 1, or a sound result and 0.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "batch.h"

using namespace veltrano;

namespace {

const std::string kLift = std::string(VELTRANO_SOURCE_DIR) + "/examples/cycloidal-8mm.txt";

std::string lift_file(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + "hostile-" + name + ".txt";
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

}  // namespace

TEST(HostileBatch, MessagesAndSoundResults) {
  const std::string out = testing::TempDir() + "hostile-out.txt";
  std::string lines5001;
  for (int i = 0; i < 5001; ++i) lines5001 += "0\n";
  struct Case {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* message;  // a part of standard error
  };
  const Case cases[] = {
      {"nan", {lift_file("nan", "0\nnan\n0\n")}, 1, "'nan' is not a valid floating point value."},
      {"inf", {lift_file("inf", "0\ninf\n")}, 1, "'inf' is not"},
      {"1e400", {lift_file("big", "1e400\n")}, 1, "'1e400' is not"},
      {"0x10", {lift_file("hex", "0x10\n")}, 1, "'0x10' is not"},
      {"comma on a point system", {"--decimal-point", ".", lift_file("comma", "0\n1,5\n")}, 1, "'1,5' is not"},
      {"point on a comma system", {"--decimal-point", ",", lift_file("point", "0\n1.5\n")}, 1, "'1.5' is not"},
      {"tab", {lift_file("tab", "0\n1\t\n")}, 1, "is not a valid"},
      {"thousands", {lift_file("thousands", "1,000.5\n")}, 1, "is not a valid"},
      {"unit", {lift_file("unit", "2 mm\n")}, 1, "'2 mm' is not"},
      {"empty line", {lift_file("empty", "0\n\n1\n")}, 1, "'' is not"},
      {"5001 lines", {lift_file("5001", lines5001)}, 1, "5001 lines; at most 5000"},
      {"huge lift", {lift_file("huge", "0\n1e300\n0\n")}, 1, "Floating point overflow."},
      {"rocker ratio 0", {"--rocker", "0", kLift}, 1, "Floating point division by zero."},
      {"rocker ratio -1", {"--rocker", "-1", kLift}, 0, ""},
      {"roller offset", {"--follower", "roller", "--offset", "24", kLift}, 1, "too large"},
      {"finger geometry", {"--follower", "finger-a", "--ff-cam-hinge", "200", kLift}, 1, "cannot touch"},
      {"finger lift", {"--follower", "finger-b", "--ff-valve-hinge", "3", kLift}, 1, "more than twice"},
      {"rotate 1e9", {"--picture", "/dev/null", "--rotate", "1000000000", kLift}, 0, ""},
      {"rotate -1e9", {"--follower", "finger-a", "--picture", "/dev/null", "--rotate", "-1000000000", kLift}, 0, ""},
      {"zoom and offsets", {"--picture", "/dev/null", "--zoom", "100000", "--x-move", "1000000000", "--y-move", "-1000000000", kLift}, 0, ""},
      {"smoothing -25", {"--smoothing", "-25", "--corrected", "/dev/null", kLift}, 0, ""},
      {"smoothing 1e12", {"--smoothing", "1e12", "--corrected", "/dev/null", kLift}, 0, ""},
      {"missing folder", {"--corrected", "/no/such/folder/cam.txt", kLift}, 1, "Cannot create file /no/such/folder/cam.txt"},
      {"unwritable place", {"--corrected", "/proc/veltrano-cam.txt", kLift}, 1, "Cannot create file /proc/veltrano-cam.txt"},
      {"full device", {"--dxf", "/dev/full", kLift}, 1, "Cannot create file /dev/full"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::ostringstream o, e;
    EXPECT_EQ(run_batch(c.args, o, e), c.status) << e.str();
    EXPECT_NE(e.str().find(c.message), std::string::npos) << e.str();
  }
}
