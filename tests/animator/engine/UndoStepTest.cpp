// Undo entries taken before an edit and recorded only for a change.
#include <gtest/gtest.h>

#include "animator/engine/AniMechanism.h"
#include "animator/engine/UndoStep.h"
#include "shared/TabLine.h"

namespace {

using quillon::TAniMechanism;
using quillon::TUndoStep;

class UndoStepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateTabLines();
    Mechanism.NewMechanism(0);
  }
  void TearDown() override { shared::FreeTabLines(); }
  static shared::TTabLines& Store() { return shared::TabLines(); }
  // The document as an undo entry holds it, taken with the mechanism's own writer.
  std::vector<std::string> Entry() const {
    shared::TTabLines lines;
    Mechanism.PrepareUndoState(lines);
    return lines.Lines;
  }

  TAniMechanism Mechanism;
};

TEST_F(UndoStepTest, AChangeIsRecordedAsTheMechanismBeforeIt) {
  const std::vector<std::string> before = Entry();
  TUndoStep step(Mechanism);
  Mechanism.ResizeMoveRotate(2, 0.1, 0, 0);
  ASSERT_NE(Entry(), before);
  EXPECT_TRUE(step.Commit());
  EXPECT_FALSE(Store().History[0].empty());
  EXPECT_TRUE(Store().History[1].empty());
  // Used up: a second commit records nothing more.
  EXPECT_FALSE(step.Commit());
  EXPECT_TRUE(Store().History[1].empty());
  ASSERT_TRUE(Store().Undo());
  Mechanism.LoadFromTabLines(Store());
  EXPECT_EQ(Entry(), before);
}

// An edit that ends where it began (a value typed as it was, a drag back to its start) leaves
// the history as it was, so that Undo always reverses a change.
TEST_F(UndoStepTest, NoChangeRecordsNothing) {
  TUndoStep step(Mechanism);
  Mechanism.ResizeMoveRotate(1, 0, 0, 0);
  EXPECT_FALSE(step.Commit());
  EXPECT_TRUE(Store().History[0].empty());
}

// Between the step's start and its commit the store serves others (the clipboard watcher loads
// every clipboard change into it): the entry is still the mechanism at the start.
TEST_F(UndoStepTest, TheStoreMayServeOthersMeanwhile) {
  const std::vector<std::string> before = Entry();
  TUndoStep step(Mechanism);
  EXPECT_TRUE(Store().Lines.empty());
  Store().Lines = {"Text copied by another program"};
  Mechanism.ResizeMoveRotate(1, 0.25, -0.5, 0);
  EXPECT_TRUE(step.Commit());
  ASSERT_TRUE(Store().Undo());
  Mechanism.LoadFromTabLines(Store());
  EXPECT_EQ(Entry(), before);
}

}  // namespace
