// Every command of the view that changes the mechanism leaves exactly one undo entry, and Undo
// brings back the document as it stood before that command; commands that change nothing leave
// none, so Undo never seems to do nothing.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "animator/app/AnimOptionsDlg.h"
#include "animator/app/AnimationFrm.h"
#include "animator/app/AreaEditFrm.h"
#include "animator/app/DXFImportDlg.h"
#include "animator/app/DXFViewFrm.h"
#include "animator/app/InputFunctionDlg.h"
#include "animator/app/MainForm.h"
#include "animator/app/MessageMemo.h"
#include "animator/app/MorphDlg.h"
#include "animator/app/PropertiesFrm.h"
#include "animator/app/SplineEditFrm.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "shared/Canvas2D.h"
#include "shared/TabLine.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/animator/app/DialogTestSupport.h"
#include "tests/shared/TestFiles.h"
#include "tests/shared/dxf/DXFFixtures.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Document(const TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Lines;
}

class CommandUndoTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    shared::SetSettingsFactory(OpenStoreSettings);
    SettingsStore().Values.clear();
    Dir = fs::temp_directory_path() /
          ("command-undo-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Dir);
    fs::create_directories(Dir);
    shared::test::WriteBytes(Dir / "part.dxf",
                             dxftest::EntitiesOnly(dxftest::Pairs(
                                 {{0, "LINE"}, {8, "0"}, {10, "0"}, {20, "0"}, {11, "50"}, {21, "20"}})));
    WriteDocument();
    Input = std::make_unique<TInputFunctionDlg>();
    Options = std::make_unique<TAnimOptionsDlg>();
    Morph = std::make_unique<TMorphDlg>();
    Import = std::make_unique<TDXFImportDlg>();
    AppDialogs().InputFunctionDlg = Input.get();
    AppDialogs().AnimOptionsDlg = Options.get();
    AppDialogs().MorphDlg = Morph.get();
    AppDialogs().DXFImportDlg = Import.get();
    View = new TAnimationFrm(Clipboard);
    Form = std::make_unique<TMainForm>(View, nullptr, Clipboard);
    Form->resize(1000, 700);
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }

  void TearDown() override {
    View->StopButtonClick();
    View->SetModified(false);
    Form.reset();
    AppDialogs() = {};
    Input.reset();
    Options.reset();
    Morph.reset();
    Import.reset();
    shared::SetSettingsFactory(nullptr);
    fs::remove_all(Dir);
    TDialogTest::TearDown();
  }

  // The four-bar with a target curve through its tracer's path (the coupler point then moved
  // 14 mm off it, so that a fit has something to do) and one area around everything.
  void WriteDocument() {
    TAniMechanism m;
    m.Calculate();
    const TAniJoint& tracer = *m.Tracer;
    for (int32_t k = 0; k <= 60; k += 6)
      m.Curve.Point(m.Curve.NewPoint()).SetXY(tracer.Positions[k].X, tracer.Positions[k].Y);
    m.Curve.Rebuild();
    m.Joint(m.FindJoint('E')).Positions[0].X += 0.01;
    m.Joint(m.FindJoint('E')).Positions[0].Y -= 0.01;
    m.Areas.AddArea(shared::TComplex(-2, -2), shared::TComplex(2, 2));
    shared::TTabLines lines;
    lines.SetFileName((Dir / "doc.mech").string());
    m.SaveToTabLines(lines);
    lines.SaveToFile();
  }

  void Open() {
    View->LoadFromFile((Dir / "doc.mech").string());
    ASSERT_FALSE(View->IsModified());
    // The editors show the last curve point and the area.
    M().Curve.DeselectAll();
    M().Curve.Point(M().Curve.PointCount() - 1).Selected = true;
    M().Areas.Item(0).Selected = true;
    Form->SplineEditFrm1->Refresh();
    Form->AreaEditFrm1->Refresh();
    // A modal dialog of the row before may have taken the activation with it.
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
  }

  TAniMechanism& M() { return View->Mechanism(); }

  void Select(const std::string& link) {
    M().DeselectAll();
    M().Link(M().FindLink(link)).Selected = 1;
  }
  void SelectJoint(char letter) {
    M().DeselectAll();
    M().Joint(M().FindJoint(letter)).Selected = 1;
  }
  shared::TPoint ScreenOf(char letter) {
    const TPositionRecord& p = M().Joint(M().FindJoint(letter)).Positions[0];
    return View->Canvas().WorldToScreen(p.X, p.Y);
  }

  // Types text over a cell of the properties table and closes its editor with Return.
  void TypeIntoTable(const std::string& rowCaption, int col, const QString& text) {
    QTableWidget* grid = Form->PropertiesFrm1->Grid1;
    int row = -1;
    for (int r = 0; r < grid->rowCount() && row < 0; ++r)
      if (grid->item(r, 0) && grid->item(r, 0)->text().toStdString() == rowCaption) row = r;
    ASSERT_GE(row, 0) << rowCaption;
    grid->setFocus();
    grid->setCurrentCell(row, col);
    QTest::keyClick(grid, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
  }

  struct TCommand {
    const char* Name;
    std::function<void()> Run;
  };

  fs::path Dir;
  TFakeClipboard Clipboard;
  std::unique_ptr<TMainForm> Form;
  TAnimationFrm* View = nullptr;
  std::unique_ptr<TInputFunctionDlg> Input;
  std::unique_ptr<TAnimOptionsDlg> Options;
  std::unique_ptr<TMorphDlg> Morph;
  std::unique_ptr<TDXFImportDlg> Import;
};

TEST_F(CommandUndoTest, EachChangeLeavesOneEntryAndUndoRestoresTheDocumentBeforeIt) {
  const TCommand commands[] = {
      {"Delete a link of the dyad",
       [&] {
         Select("CD");
         View->DeleteButton->click();
       }},
      {"Delete a curve point",
       [&] {
         M().DeselectAll();
         M().Curve.Point(2).Selected = true;
         View->DeleteButtonClick();
       }},
      {"Add-input tool, two clicks",
       [&] {
         View->AddInputButton->click();
         QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(100, 100));
         QTest::mouseMove(View->PaintBox1, QPoint(140, 100));
         QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(140, 100));
       }},
      {"Curve tool, one click",
       [&] {
         View->AddCurveButton->click();
         QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(60, 60));
       }},
      {"Area tool, one stroke",
       [&] {
         View->AddAreaButton->click();
         QTest::mousePress(View->PaintBox1, Qt::LeftButton, {}, QPoint(60, 60));
         QTest::mouseMove(View->PaintBox1, QPoint(90, 80));
         QTest::mouseRelease(View->PaintBox1, Qt::LeftButton, {}, QPoint(90, 80));
       }},
      {"Drag a joint",
       [&] {
         const shared::TPoint at = ScreenOf('C');
         QTest::mousePress(View->PaintBox1, Qt::LeftButton, {}, QPoint(at.X, at.Y));
         QTest::mouseMove(View->PaintBox1, QPoint(at.X + 20, at.Y + 5));
         QTest::mouseRelease(View->PaintBox1, Qt::LeftButton, {}, QPoint(at.X + 20, at.Y + 5));
       }},
      {"Store the position of step 20",
       [&] {
         View->PositionTrackBar->setValue(20);
         View->RecordButton->click();
       }},
      {"Properties table: x of joint B", [&] { TypeIntoTable("Joint B", 1, QStringLiteral("-400")); }},
      {"Path switched off on joint C",
       [&] {
         SelectJoint('C');
         View->PopTogglePathClick();
       }},
      {"Lock switched on joint B",
       [&] {
         SelectJoint('B');
         View->PopToggleLockClick();
       }},
      {"Link sent to the back",
       [&] {
         Select("CD");
         View->PopSendToBackClick();
       }},
      {"Input function, OK",
       [&] {
         SelectJoint('A');
         WhenModal([](QDialog& dialog) {
           auto& input = static_cast<TInputFunctionDlg&>(dialog);
           input.ClearButton->click();
           input.FunTypeBox->setCurrentIndex(0);
           input.TimeEdit->setText(QStringLiteral("1"));
           input.DispEdit->setText(QStringLiteral("180"));
           input.AddButton->click();
           input.OKBtn->click();
         });
         View->InputButtonClick();
       }},
      {"Move/rotate/resize, OK",
       [&] {
         SelectJoint('A');
         WhenModal([](QDialog& dialog) {
           auto& morph = static_cast<TMorphDlg&>(dialog);
           morph.ResizeEdit->setText(QStringLiteral("2"));
           morph.RotateEdit->setText(QStringLiteral("30"));
           morph.OKBtn->click();
         });
         View->PopMoveRotateResizeClick();
       }},
      {"View options: a DXF background",
       [&] {
         const QString path = QString::fromStdString((Dir / "part.dxf").string());
         WhenModal([path](QDialog& dialog) {
           auto& options = static_cast<TAnimOptionsDlg&>(dialog);
           options.DXFButton->click();
           options.DXFEdit->setText(path);
           options.OKBtn->click();
         });
         View->EditOptions();
       }},
      {"DXF import to the coupler, OK",
       [&] {
         Select("BCE");
         const std::string path = (Dir / "part.dxf").string();
         Import->DXFViewFrm1->OpenDialog1 = [path] { return path; };
         WhenModal([this](QDialog&) {
           Import->DXFViewFrm1->OpenButton->click();
           Import->OKButton->click();
         });
         View->PopDXFDrawingClick();
       }},
      {"Curve editor, Apply",
       [&] {
         Form->SplineEditFrm1->yEdit->setText(QStringLiteral("75"));
         Form->SplineEditFrm1->ApplyButton->click();
       }},
      {"Area editor, Apply",
       [&] {
         Form->AreaEditFrm1->x1Edit->setText(QStringLiteral("-1500"));
         Form->AreaEditFrm1->ApplyButton->click();
       }},
      {"Optimiser run", [&] { View->OptimizeButton->click(); }},
  };
  shared::TTabLines& store = shared::TabLines();
  for (const TCommand& c : commands) {
    SCOPED_TRACE(c.Name);
    Open();
    ASSERT_TRUE(store.History[0].empty());
    const std::vector<std::string> before = Document(M());
    c.Run();
    QCoreApplication::processEvents();
    ASSERT_NE(Document(M()), before) << "the command changed nothing";
    EXPECT_TRUE(View->IsModified());
    EXPECT_FALSE(store.History[0].empty());
    EXPECT_TRUE(store.History[1].empty()) << "more than one entry";
    Form->EditUndoItem->trigger();
    EXPECT_EQ(Document(M()), before);
  }
}

// A command that changes nothing leaves no entry: Undo after it reverses the change before it.
TEST_F(CommandUndoTest, CommandsThatChangeNothingLeaveNoEntry) {
  const TCommand commands[] = {
      {"Delete with nothing selected",
       [&] {
         M().DeselectAll();
         M().Curve.DeselectAll();
         M().Areas.DeselectAll();
         View->DeleteButtonClick();
       }},
      {"Input function, Cancel",
       [&] {
         SelectJoint('A');
         WhenModal([](QDialog& dialog) {
           auto& input = static_cast<TInputFunctionDlg&>(dialog);
           input.ClearButton->click();
           input.CancelBtn->click();
         });
         View->InputButtonClick();
       }},
      {"Move/rotate/resize, Cancel",
       [&] {
         WhenModal([](QDialog& dialog) { static_cast<TMorphDlg&>(dialog).CancelBtn->click(); });
         View->PopMoveRotateResizeClick();
       }},
      {"View options, a colour only",
       [&] {
         WhenModal([](QDialog& dialog) {
           auto& options = static_cast<TAnimOptionsDlg&>(dialog);
           options.PathCheckBox->click();
           options.OKBtn->click();
         });
         View->EditOptions();
       }},
      {"DXF import, Cancel",
       [&] {
         Select("BCE");
         WhenModal([this](QDialog&) { Import->CancelButton->click(); });
         View->PopDXFDrawingClick();
       }},
      {"Add-dyad tool taken up and put down",
       [&] {
         View->AddDyadButton->click();
         View->SelectButton->click();
       }},
      {"Plain click in the drawing", [&] { QTest::mouseClick(View->PaintBox1, Qt::LeftButton, {}, QPoint(5, 5)); }},
  };
  shared::TTabLines& store = shared::TabLines();
  for (const TCommand& c : commands) {
    SCOPED_TRACE(c.Name);
    Open();
    // One change first: the path of joint C switched off.
    const std::vector<std::string> original = Document(M());
    SelectJoint('C');
    View->PopTogglePathClick();
    const std::vector<std::string> edited = Document(M());
    ASSERT_NE(edited, original);
    c.Run();
    QCoreApplication::processEvents();
    ASSERT_EQ(Document(M()), edited);
    EXPECT_TRUE(store.History[1].empty()) << "an entry without a change";
    Form->EditUndoItem->trigger();
    EXPECT_EQ(Document(M()), original);
  }
}

// An add tool taken up and not yet used: Undo reverses the change before it and ends the tool.
// The left panel's editors are entry points too: while a fit runs a value typed into the
// properties table, the curve and area editors' Apply and their Visible boxes change nothing.
TEST_F(CommandUndoTest, TheLeftPanelEditsNothingWhileAFitRuns) {
  Open();
  ASSERT_TRUE(M().CanFitCurve());
  const int last = M().Curve.PointCount() - 1;
  const shared::TComplex point = M().Curve.Point(last);
  const shared::TComplex corner = M().Areas.Item(0).MinCorner;
  bool typed = false;
  QTimer::singleShot(0, View, [&] {
    TypeIntoTable("Joint B", 1, QStringLiteral("-400"));
    typed = true;
    Form->SplineEditFrm1->xEdit->setText(QStringLiteral("123"));
    Form->SplineEditFrm1->ApplyButton->click();
    Form->SplineEditFrm1->VisibleCheckBox->click();
    Form->AreaEditFrm1->x1Edit->setText(QStringLiteral("-1500"));
    Form->AreaEditFrm1->ApplyButton->click();
    Form->AreaEditFrm1->VisibleCheckBox->click();
    View->StopButton->click();
  });
  View->OptimizeButton->click();
  EXPECT_TRUE(typed);
  EXPECT_NE(M().Joint(M().FindJoint('B')).Positions[0].X, -0.4);
  EXPECT_EQ(M().Curve.Point(last).X, point.X);
  EXPECT_EQ(M().Curve.Point(last).Y, point.Y);
  EXPECT_TRUE(M().Curve.Visible);
  EXPECT_TRUE(Form->SplineEditFrm1->VisibleCheckBox->isChecked());
  EXPECT_EQ(M().Areas.Item(0).MinCorner.X, corner.X);
  EXPECT_TRUE(M().Areas.Visible);
  const QString log = Form->Memo1->toPlainText();
  EXPECT_EQ(log.count(QString::fromStdString(View->BusyText)), 5) << log.toStdString();
  // Once the fit is over the editors work again.
  Form->SplineEditFrm1->xEdit->setText(QStringLiteral("123"));
  Form->SplineEditFrm1->ApplyButton->click();
  EXPECT_NEAR(M().Curve.Point(last).X, 0.123, 1e-15);
}

TEST_F(CommandUndoTest, UndoWithAnUnusedAddToolUndoesTheChangeBeforeIt) {
  Open();
  const std::vector<std::string> original = Document(M());
  Select("CD");
  View->DeleteButtonClick();
  ASSERT_NE(Document(M()), original);
  View->AddSliderButton->click();
  Form->EditUndoItem->trigger();
  EXPECT_EQ(Document(M()), original);
  EXPECT_EQ(View->Tool(), TTool::Select);
  EXPECT_TRUE(shared::TabLines().History[0].empty());
}

}  // namespace
}  // namespace quillon
