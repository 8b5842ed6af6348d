// The main window's clipboard take-over with the real view and the program's dialogs: a mechanism
// of the synthesis program that reaches the clipboard while a dialog or a loop is open changes
// nothing until it has closed, and becomes the document then.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "animator/app/AnimOptionsDlg.h"
#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/DXFImportDlg.h"
#include "animator/app/ExcelExportDlg.h"
#include "animator/app/InputFunctionDlg.h"
#include "animator/app/MainForm.h"
#include "animator/app/MorphDlg.h"
#include "animator/engine/AniMechanism.h"
#include "shared/Settings.h"
#include "shared/TabLine.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/HTMLPrintDialog.h"
#include "shared/qt/ModalScope.h"
#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/UserDialogs.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/animator/app/DialogTestSupport.h"

namespace quillon {
namespace {

std::vector<std::string> DocumentLines(const TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Lines;
}

// "Save ?" is answered No; the file dialogs are Qt's own unless a test picks the name itself.
class TQuestions : public TUserDialogs {
 public:
  explicit TQuestions(QWidget* parent) : Real(parent) {}
  TAnswer Ask(const QString&) override { return TAnswer::No; }
  bool PickOpenFile(TFileRequest& request) override { return Real.PickOpenFile(request); }
  bool PickSaveFile(TFileRequest& request) override {
    return SaveName.isEmpty() ? Real.PickSaveFile(request) : (request.FileName = SaveName, true);
  }
  QString SaveName;

 private:
  TQtUserDialogs Real;
};

class ClipboardTakeOverTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    shared::SetSettingsFactory(OpenStoreSettings);
    SettingsStore().Values.clear();
    // The dialogs come before the view, whose pop-up items follow them.
    Convert = std::make_unique<shared::TConvertDlg>(shared::Convert());
    ProjectInfo = std::make_unique<shared::TProjectInfoDialog>();
    Report = std::make_unique<shared::THTMLPrintDialog>();
    Excel = std::make_unique<TExcelExportDlg>();
    Input = std::make_unique<TInputFunctionDlg>();
    Options = std::make_unique<TAnimOptionsDlg>();
    Morph = std::make_unique<TMorphDlg>();
    DXF = std::make_unique<TDXFImportDlg>();
    AppDialogs() = {Convert.get(), ProjectInfo.get(), Report.get()};
    AppDialogs().ExcelExportDlg = Excel.get();
    AppDialogs().InputFunctionDlg = Input.get();
    AppDialogs().AnimOptionsDlg = Options.get();
    AppDialogs().MorphDlg = Morph.get();
    AppDialogs().DXFImportDlg = DXF.get();
    View = new TAnimationFrm(Clipboard);
    auto questions = std::make_unique<TQuestions>(nullptr);
    Questions = questions.get();
    Form = std::make_unique<TMainForm>(View, std::move(questions), Clipboard);
    Form->show();
    QCoreApplication::processEvents();

    TAniMechanism vesk;
    vesk.NewMechanism(1);
    shared::TTabLines lines;
    vesk.SaveToTabLines(lines);
    Pasted = lines.Lines;
    lines.Lines[1] = "0\tVesk";
    VeskText = lines.Text();
  }
  void TearDown() override {
    Form.reset();
    AppDialogs() = {};
    Convert.reset();
    ProjectInfo.reset();
    Report.reset();
    Excel.reset();
    Input.reset();
    Options.reset();
    Morph.reset();
    DXF.reset();
    shared::SetSettingsFactory(nullptr);
    TDialogTest::TearDown();
  }

  TAniMechanism& M() { return View->Mechanism(); }
  void SelectInputJoint() {
    M().DeselectAll();
    for (int j = 0; j < M().JointCount(); ++j)
      if (M().Joint(j).InputIndex >= 0) M().Joint(j).Selected = 1;
  }

  TFakeClipboard Clipboard;
  std::unique_ptr<shared::TConvertDlg> Convert;
  std::unique_ptr<shared::TProjectInfoDialog> ProjectInfo;
  std::unique_ptr<shared::THTMLPrintDialog> Report;
  std::unique_ptr<TExcelExportDlg> Excel;
  std::unique_ptr<TInputFunctionDlg> Input;
  std::unique_ptr<TAnimOptionsDlg> Options;
  std::unique_ptr<TMorphDlg> Morph;
  std::unique_ptr<TDXFImportDlg> DXF;
  std::unique_ptr<TMainForm> Form;
  TAnimationFrm* View = nullptr;
  TQuestions* Questions = nullptr;
  std::string VeskText;
  std::vector<std::string> Pasted;
};

// The modal dialog on top answers; its OK where it has one that writes to the document.
void CloseDialog(bool ok) {
  QWidget* modal = QApplication::activeModalWidget();
  ASSERT_NE(modal, nullptr) << "no dialog is open";
  if (ok) {
    for (const char* name : {"OKBtn", "OKButton"}) {
      if (auto* button = modal->findChild<QPushButton*>(QString::fromLatin1(name))) {
        button->click();
        return;
      }
    }
  }
  static_cast<QDialog*>(modal)->reject();
}

TEST_F(ClipboardTakeOverTest, AHandOverWhileADialogOrALoopIsOpenWaitsForItsEnd) {
  QTemporaryDir folder;
  struct TCase {
    const char* Name;
    std::function<void()> Run;
    // Ends what the command opened, once the hand-over has arrived.
    std::function<void()> Close;
  };
  const auto ok = [] { CloseDialog(true); };
  const auto cancel = [] { CloseDialog(false); };
  const TCase cases[] = {
      {"pop-up Edit Input function", [this] { View->PopEditInput->trigger(); }, ok},
      {"menu Edit Input Function", [this] { Form->AnimationInputFunctionItem->trigger(); }, ok},
      {"pop-up Move, Rotate, Resize", [this] { View->PopMoveRotateResize->trigger(); }, ok},
      {"menu Move, Rotate, Resize", [this] { Form->EditMoveRotateResize->trigger(); }, ok},
      {"pop-up Options", [this] { View->PopOptions->trigger(); }, ok},
      {"menu Options", [this] { Form->ViewOptions->trigger(); }, ok},
      {"pop-up DXF drawing", [this] { View->PopDXFDrawing->trigger(); }, ok},
      {"menu Import DXF Drawing", [this] { Form->FileImportDXFBackground->trigger(); }, cancel},
      {"System of Units", [this] { Form->ViewUnits->trigger(); }, cancel},
      {"Project Info", [this] { Form->FileProjectInfo->trigger(); }, ok},
      {"HTML Report", [this] { Form->FileHTMLReport->trigger(); }, cancel},
      {"Export to Excel", [this] { Form->FileExporttoExcel->trigger(); }, cancel},
      {"About", [this] { Form->HelpAbout->trigger(); }, cancel},
      {"Open", [this] { Form->FileOpen->trigger(); }, cancel},
      {"Save As", [this] { Form->FileSaveas->trigger(); }, cancel},
      {"Export Picture", [this] { Form->FileExportPicture->trigger(); }, cancel},
      {"film name", [this] { Form->FileCreateAVIVideo->trigger(); }, cancel},
      {"curve fit",
       [this] {
         // A curve from the coupler's own path, so that the fit can start.
         for (int step = 0; step <= 45; step += 5)
           M().Curve.AddPoint(shared::TComplex(M().Tracer->Positions[step].X, M().Tracer->Positions[step].Y));
         View->MechanismChanged();
         View->SetModified(false);
         ASSERT_TRUE(M().CanFitCurve());
         View->OptimizeButton->click();
       },
       [this] { View->OptimizeButton->setChecked(false); }},
      // A menu open is a question open: the take-over waits for it to close.
      {"the drawing's pop-up menu",
       [this] { View->PopupMenu1->popup(View->PaintBox1->mapToGlobal(QPoint(20, 20))); },
       [this] {
         ASSERT_TRUE(View->PopupMenu1->isVisible());
         View->PopupMenu1->hide();
         QCoreApplication::processEvents();
       }},
      {"the File menu", [this] { Form->FileMenu->popup(Form->mapToGlobal(QPoint(20, 20))); },
       [this] {
         ASSERT_TRUE(Form->FileMenu->isVisible());
         Form->FileMenu->hide();
         QCoreApplication::processEvents();
       }},
      {"film",
       [&] {
         Questions->SaveName = folder.filePath(QStringLiteral("film.avi"));
         Form->FileCreateAVIVideo->trigger();
         Questions->SaveName.clear();
       },
       [] {}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    View->NewMechanism(0);
    SelectInputJoint();
    const std::vector<std::string> before = DocumentLines(M());
    ASSERT_NE(before, Pasted);
    bool handedOver = false;
    bool pastedMeanwhile = false;
    QTimer::singleShot(0, Form.get(), [&] {
      handedOver = true;
      EXPECT_FALSE(shared::BackgroundMayRun());
      Clipboard.Text = VeskText;
      Form->ClipboardChanged();
      QCoreApplication::processEvents();
      pastedMeanwhile = DocumentLines(M()) == Pasted;
      c.Close();
    });
    c.Run();
    QCoreApplication::processEvents();
    EXPECT_TRUE(handedOver);
    EXPECT_FALSE(pastedMeanwhile);
    EXPECT_EQ(DocumentLines(M()), Pasted);
    EXPECT_EQ(shared::TModalScope::Depth(), 0);
  }
}

// Without a dialog or a loop the hand-over is taken at once, as before.
TEST_F(ClipboardTakeOverTest, AHandOverWithNothingOpenIsTakenAtOnce) {
  Clipboard.Text = VeskText;
  Form->ClipboardChanged();
  EXPECT_EQ(DocumentLines(M()), Pasted);
}

}  // namespace
}  // namespace quillon
