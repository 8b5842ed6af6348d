// The stand-in view writes a document back byte for byte, through the tab-line store.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "animator/app/MessageMemo.h"
#include "animator/app/PlaceholderView.h"
#include "animator/engine/StdOut.h"
#include "shared/ProgramInfo.h"
#include "shared/TabLine.h"

namespace quillon {
namespace {

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class PlaceholderViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    ASSERT_TRUE(Folder.isValid());
  }
  void TearDown() override {
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }
  std::string PathOf(const std::string& name) const { return Folder.path().toStdString() + "/" + name; }
  QTemporaryDir Folder;
};

TEST_F(PlaceholderViewTest, SavesWhatItLoaded) {
  const std::string original = PathOf("crank.mech");
  shared::TTabLines& store = shared::TabLines();
  store.Clear();
  store.SetFileName(original);
  store.BeginSection("Quillon");
  store.ClearFields();
  store.AddInt(0);
  store.WriteLine();
  store.EndSection();
  store.SaveToFile();

  TPlaceholderView view;
  view.LoadFromFile(original);
  EXPECT_EQ(view.FileName(), original);
  EXPECT_EQ(view.Document(), (std::vector<std::string>{"[Quillon>", "0", "<Quillon]"}));
  const std::string copy = PathOf("copy.mech");
  view.SaveToFile(copy);
  EXPECT_EQ(view.FileName(), copy);
  EXPECT_FALSE(view.IsModified());
  EXPECT_EQ(Bytes(copy), Bytes(original));
  EXPECT_FALSE(std::filesystem::exists(copy + shared::TTabLines::kSavingSuffix));
}

TEST_F(PlaceholderViewTest, MissingFileIsLoggedAndTheNameIsUntitled) {
  TMessageMemo memo;
  StdOut().SetSink(&memo);
  TPlaceholderView view;
  view.LoadFromFile(PathOf("gone.mech"));
  StdOut().SetSink(nullptr);
  EXPECT_EQ(view.FileName(), "Untitled");
  EXPECT_EQ(memo.toPlainText().toStdString(), "[Error] " + PathOf("gone.mech") + " does not exist!");
}

}  // namespace
}  // namespace quillon
