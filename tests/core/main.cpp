// Every case starts from the state of a fresh process: the program's state is
// module-level, so a case must never see what the one before it left behind.
#include <gtest/gtest.h>

#include "app/handlers.h"

namespace {
class ResetState : public testing::EmptyTestEventListener {
  void OnTestStart(const testing::TestInfo&) override { veltrano::reset_all(); }
};
}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  testing::UnitTest::GetInstance()->listeners().Append(new ResetState);
  return RUN_ALL_TESTS();
}
