// The synthesis main window's project file through the real store, driven headless: under a file
// size limit the write error is shown, the old file stays whole with nothing beside it, and the
// project stays unsaved; a file changed after its save is refused with the reason.
#include <gtest/gtest.h>

#include <QAction>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "shared/ProjectInfo.h"
#include "shared/qt/Application.h"
#include "shared/qt/PathName.h"
#include "synthesis/app/MainForm.h"
#include "synthesis/app/ProjectStore.h"
#include "synthesis/engine/Drawing.h"
#include "synthesis/engine/Spline.h"
#include "tests/shared/FileSizeLimit.h"
#include "tests/shared/StoreSettings.h"
#include "tests/shared/TestFiles.h"
#include "tests/synthesis/app/AppServices.h"
#include "tests/synthesis/app/FakeDialogs.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;

class MainFormSaveTest : public shared::test::TSettingsStoreTest {
 protected:
  void SetUp() override {
    TSettingsStoreTest::SetUp();
    test::StartAppServices();
    Drawing().MakeDefault();
    Drawing().SetModified(false);
    shared::SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    auto dialogs = std::make_unique<TFakeDialogs>();
    Dialogs = dialogs.get();
    Form = std::make_unique<TMainForm>(std::move(dialogs));
    Form->ErrorBox = [this](const QString& text) { Errors.push_back(text); };
    Form->SetProjectStore(std::make_unique<TWindowProjectStore>(*Form, Info));
    Form->show();
    Form->FormShow({});
  }
  void TearDown() override {
    Form.reset();
    shared::SetExceptionHandler(nullptr);
    test::StopAppServices();
    TSettingsStoreTest::TearDown();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(shared::ToPath(Dir.path())))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  // A curve of many points, changed since the last save.
  void ChangeTheCurve(int points) {
    TSpline& curve = Form->Curve();
    curve.Clear();
    for (int i = 0; i < points; ++i) curve.Add(std::make_unique<TPrePoint>(0.01 * i, 0.001 * i * i));
    curve.Recalc();
    curve.SetModified(true);
  }

  QTemporaryDir Dir;
  shared::TProjectInfo Info;
  std::unique_ptr<TMainForm> Form;
  TFakeDialogs* Dialogs = nullptr;
  std::vector<QString> Errors;
};

TEST_F(MainFormSaveTest, AFileSizeLimitShowsTheWriteErrorAndKeepsTheOldFile) {
  const std::string path = shared::ToPath(Dir.filePath(QStringLiteral("gear.vesk")));
  ChangeTheCurve(3);
  Dialogs->PickedFile = shared::FromPath(path);
  ASSERT_TRUE(Form->FileSaveAs());
  ASSERT_TRUE(Errors.empty()) << Errors[0].toStdString();
  const std::string before = shared::test::ReadBytes(path);

  ChangeTheCurve(80);
  ASSERT_TRUE(Form->IsProjectModified());
  {
    const shared::test::TFileSizeLimit limit(before.size() + 100);
    Form->findChild<QAction*>(QStringLiteral("FileSaveItem"))->trigger();
  }
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].toStdString(), "Cannot write \"" + path + "\": the file would pass the limit on file size.");
  EXPECT_EQ(shared::test::ReadBytes(path), before);
  EXPECT_EQ(Entries(), std::vector<std::string>{"gear.vesk"});
  EXPECT_TRUE(Form->IsProjectModified());
  EXPECT_TRUE(Form->Curve().IsModified());

  // Without the limit the same save goes through.
  Errors.clear();
  EXPECT_TRUE(Form->FileSave());
  EXPECT_TRUE(Errors.empty());
  EXPECT_FALSE(Form->IsProjectModified());
  EXPECT_GT(shared::test::ReadBytes(path).size(), before.size());
  EXPECT_EQ(Entries(), std::vector<std::string>{"gear.vesk"});
}

// A file whose checksum does not match is refused saying so, and the window holds a new project.
TEST_F(MainFormSaveTest, AFileChangedAfterItsSaveIsRefusedWithTheReason) {
  const std::string path = shared::ToPath(Dir.filePath(QStringLiteral("gear.vesk")));
  ChangeTheCurve(3);
  Dialogs->PickedFile = shared::FromPath(path);
  ASSERT_TRUE(Form->FileSaveAs());
  std::string text = shared::test::ReadBytes(path);
  // One digit of the project text changed, the checksum line kept.
  const size_t digit = text.find_first_of("123456789", text.find("[SynthOptions]"));
  ASSERT_NE(digit, std::string::npos);
  text[digit] = text[digit] == '9' ? '8' : char(text[digit] + 1);
  shared::test::WriteBytes(path, text);

  Form->Curve().SetModified(false);
  ASSERT_TRUE(Form->FileOpen());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].toStdString(),
            "This is not a valid Vesk file !\nIts checksum does not match its contents: the file was changed after "
            "Vesk saved it, or damaged.");
  EXPECT_EQ(Form->Curve().Count(), 0);
  EXPECT_EQ(Form->windowTitle(), "Vesk Professional - Untitled");

  // A file gone before it is read.
  Errors.clear();
  Dialogs->PickedFile = Dir.filePath(QStringLiteral("gone.vesk"));
  ASSERT_TRUE(Form->FileOpen());
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Errors[0].toStdString(), "This is not a valid Vesk file !\nThe file does not exist.");
}

}  // namespace
}  // namespace vesk
