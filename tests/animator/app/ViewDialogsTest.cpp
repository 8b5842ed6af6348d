// Tests of the view-options and move/rotate/resize dialogs, and of the commands of the view and
// the main window that show them, the input-function dialog and the editor frames.
#include <gtest/gtest.h>

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>

#include "animator/app/AnimOptionsDlg.h"
#include "animator/app/AnimationFrm.h"
#include "animator/app/AreaEditFrm.h"
#include "animator/app/InputFunctionDlg.h"
#include "animator/app/LanguageFile.h"
#include "animator/app/MainForm.h"
#include "animator/app/MorphDlg.h"
#include "animator/app/SplineEditFrm.h"
#include "animator/engine/AniMechanism.h"
#include "shared/Canvas2D.h"
#include "shared/Settings.h"
#include "shared/ShellOpen.h"
#include "shared/qt/ConvertDlg.h"
#include "shared/qt/DialogStatus.h"
#include "tests/animator/app/AppTestSupport.h"
#include "tests/animator/app/DialogTestSupport.h"

namespace quillon {
namespace {

constexpr double kPi = std::numbers::pi;

class AnimOptionsDlgTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    Dialog = std::make_unique<TAnimOptionsDlg>();
  }
  void TearDown() override {
    Dialog.reset();
    TDialogTest::TearDown();
  }
  std::unique_ptr<TAnimOptionsDlg> Dialog;
};

TEST_F(AnimOptionsDlgTest, ShowsItsValuesAndTakesThemBackOnOK) {
  EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("View Options"));
  EXPECT_EQ(Dialog->GridSize, 0.1);
  EXPECT_EQ(Dialog->LinkColour, 0xFF0000u);
  EXPECT_EQ(Dialog->Background, shared::TGridStyle::Lines);
  QStringList pages;
  for (int i = 0; i < Dialog->PageControl1->count(); ++i) pages << Dialog->PageControl1->tabText(i);
  EXPECT_EQ(pages.join(QLatin1Char(' ')), QStringLiteral("General Background View Other"));
  EXPECT_EQ(Dialog->LinkColorBox->count(), TColorBox::kNamedColours);

  Dialog->PathColour = 0x0000FF;
  Dialog->ShowVel = true;
  Dialog->show();
  EXPECT_EQ(Dialog->GridSizeEdit->text(), QStringLiteral("100.000"));
  EXPECT_EQ(Dialog->GridUnitLabel->text(), QStringLiteral("mm"));
  EXPECT_EQ(Dialog->LinkColorBox->currentText(), QStringLiteral("Blue"));
  EXPECT_EQ(Dialog->PathColorBox->currentText(), QStringLiteral("Red"));
  EXPECT_TRUE(Dialog->VelCheckBox->isChecked());
  EXPECT_TRUE(Dialog->GridButton->isChecked());

  Dialog->GridSizeEdit->setText(QStringLiteral("25"));
  Dialog->EdgeColorBox->setCurrentIndex(Dialog->EdgeColorBox->findText(QStringLiteral("Teal")));
  Dialog->ICCheckBox->setChecked(true);
  Dialog->OKBtn->click();
  EXPECT_EQ(Dialog->result(), QDialog::Accepted);
  EXPECT_NEAR(Dialog->GridSize, 0.025, 1e-15);
  EXPECT_EQ(Dialog->EdgeColour, 0x808000u);
  EXPECT_TRUE(Dialog->ShowIC);
  EXPECT_TRUE(Dialog->ShowVel);
}

TEST_F(AnimOptionsDlgTest, ABadGridSizeKeepsTheDialogOpen) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "Grid Size > 0"},
      {"-1", "Grid Size > 0"},
      {"abc", "'abc' is not a valid floating point value"},
      {"", "'' is not a valid floating point value"},
      {"nan", "'nan' is not a valid floating point value"},
      {"1E300", "Value should be between -1E9 and 1E9 mm"},
  };
  Dialog->open();
  for (const auto& [text, message] : cases) {
    SCOPED_TRACE(text);
    const int beeps = Sound.Beeps;
    Dialog->PageControl1->setCurrentIndex(0);
    Dialog->GridSizeEdit->setText(QString::fromUtf8(text));
    Dialog->OKBtn->click();
    EXPECT_TRUE(Dialog->isVisible());
    EXPECT_EQ(Dialog->GridSize, 0.1);
    EXPECT_EQ(Dialog->Status->Text(), QString::fromUtf8(message));
    EXPECT_TRUE(Dialog->Status->IsHighlighted());
    EXPECT_EQ(Sound.Beeps, beeps + 1);
    EXPECT_EQ(Dialog->focusWidget(), Dialog->GridSizeEdit);
    EXPECT_EQ(Dialog->PageControl1->currentIndex(), 1);
    Dialog->Timer1Timer();
    EXPECT_FALSE(Dialog->Status->IsHighlighted());
  }
  Dialog->CancelBtn->click();
  EXPECT_EQ(Dialog->GridSize, 0.1);
}

TEST_F(AnimOptionsDlgTest, BackgroundButtonsEnableTheirEdits) {
  Dialog->show();
  const struct {
    QRadioButton* Button;
    shared::TGridStyle Background;
    bool Grid;
    bool DXF;
  } cases[] = {{Dialog->AxisButton, shared::TGridStyle::Axes, false, false},
               {Dialog->DXFButton, shared::TGridStyle::Background, false, true},
               {Dialog->NoneButton, shared::TGridStyle::None, false, false},
               {Dialog->GridButton, shared::TGridStyle::Lines, true, false}};
  for (const auto& c : cases) {
    c.Button->click();
    EXPECT_EQ(Dialog->Background, c.Background);
    EXPECT_EQ(Dialog->GridSizeEdit->isEnabled(), c.Grid);
    EXPECT_EQ(Dialog->DXFEdit->isEnabled(), c.DXF);
  }
}

TEST_F(AnimOptionsDlgTest, StepsAreTensOfTheTrackBar) {
  Dialog->SetSteps(125);
  EXPECT_EQ(Dialog->StepsTrackBar->value(), 12);
  EXPECT_EQ(Dialog->GetSteps(), 120);
  EXPECT_EQ(Dialog->StepsGroupBox->title(), QStringLiteral("120 calculation steps"));
  Dialog->StepsTrackBar->setValue(36);
  EXPECT_EQ(Dialog->StepsGroupBox->title(), QStringLiteral("360 calculation steps"));
  Dialog->SetSteps(20);
  EXPECT_EQ(Dialog->GetSteps(), 50);
  Dialog->SetStick(true);
  EXPECT_TRUE(Dialog->GetStick());
}

TEST_F(AnimOptionsDlgTest, AColourWithoutANameSurvivesOK) {
  Dialog->LinkColour = 0x123456;
  Dialog->GridColour = 0xC0C0C0;
  Dialog->show();
  EXPECT_EQ(Dialog->LinkColorBox->currentText(), QStringLiteral("Custom"));
  EXPECT_EQ(Dialog->GridColorBox->currentText(), QStringLiteral("Silver"));
  Dialog->OKBtn->click();
  EXPECT_EQ(Dialog->LinkColour, 0x123456u);
  EXPECT_EQ(Dialog->GridColour, 0xC0C0C0u);
  // A named colour afterwards drops nothing else: the list keeps one custom entry.
  Dialog->LinkColour = 0xFFFF00;
  Dialog->show();
  EXPECT_EQ(Dialog->LinkColorBox->currentText(), QStringLiteral("Aqua"));
  Dialog->LinkColour = 0x654321;
  Dialog->ShowValues();
  EXPECT_EQ(Dialog->LinkColorBox->count(), TColorBox::kNamedColours + 1);
  EXPECT_EQ(Dialog->LinkColorBox->Colour(), 0x654321u);
}

TEST_F(AnimOptionsDlgTest, BrowsePicksADXFFile) {
  TFileRequest asked;
  bool pick = true;
  Dialog->PickOpenFile = [&](TFileRequest& request) {
    asked = request;
    request.FileName = QStringLiteral("/drawings/frame plate.dxf");
    return pick;
  };
  Dialog->DXFFile = "/old/back.dxf";
  Dialog->show();
  Dialog->BrowseButton->click();
  EXPECT_EQ(asked.Title, QStringLiteral("Open DXF file"));
  EXPECT_EQ(asked.Filter, QStringLiteral("DXF Files|*.dxf|All Files|*.*"));
  EXPECT_EQ(asked.FilterIndex, 1);
  EXPECT_EQ(asked.DefaultExt, QStringLiteral("dxf"));
  EXPECT_EQ(asked.InitialDir, QStringLiteral("/old"));
  EXPECT_EQ(Dialog->DXFEdit->text(), QStringLiteral("frame plate.dxf"));
  EXPECT_EQ(Dialog->DXFFile, "/drawings/frame plate.dxf");
  pick = false;
  Dialog->BrowseButton->click();
  EXPECT_EQ(Dialog->DXFFile, "/drawings/frame plate.dxf");
}

TEST_F(AnimOptionsDlgTest, LanguageTextsWithTheirDefaults) {
  TLanguageFile texts;
  std::istringstream file("[AnimOptions]\nOK=Okay\n");
  texts.LoadFromStream(file);
  Dialog->SetLanguage(texts);
  EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Animation Options"));
  EXPECT_EQ(Dialog->OKBtn->text(), QStringLiteral("Okay"));
  EXPECT_EQ(Dialog->CancelBtn->text(), QStringLiteral("Cancel"));
  EXPECT_EQ(Dialog->HelpButton->text(), QStringLiteral("Help"));
}

class MorphDlgTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    Dialog = std::make_unique<TMorphDlg>();
  }
  void TearDown() override {
    Dialog.reset();
    TDialogTest::TearDown();
  }
  std::unique_ptr<TMorphDlg> Dialog;
};

TEST_F(MorphDlgTest, OpensWithTheDefaultsEveryTime) {
  EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("Resize, Move and Rotate"));
  for (int round = 0; round < 2; ++round) {
    Dialog->show();
    EXPECT_EQ(Dialog->ResizeEdit->text(), QStringLiteral("1"));
    EXPECT_EQ(Dialog->MoveXEdit->text(), QStringLiteral("0.000"));
    EXPECT_EQ(Dialog->MoveYEdit->text(), QStringLiteral("0.000"));
    EXPECT_EQ(Dialog->RotateEdit->text(), QStringLiteral("0.000"));
    EXPECT_EQ(Dialog->MoveXUnitLabel->text(), QStringLiteral("mm"));
    EXPECT_EQ(Dialog->RotateUnitLabel->text(), QStringLiteral("°"));
    Dialog->ResizeEdit->setText(QStringLiteral("-2"));
    Dialog->MoveXEdit->setText(QStringLiteral("10"));
    Dialog->MoveYEdit->setText(QStringLiteral("-5"));
    Dialog->RotateEdit->setText(QStringLiteral("90"));
    Dialog->OKBtn->click();
    EXPECT_EQ(Dialog->result(), QDialog::Accepted);
    // A negative factor mirrors the mechanism and is taken.
    EXPECT_EQ(Dialog->Resize, -2);
    EXPECT_NEAR(Dialog->MoveX, 0.01, 1e-15);
    EXPECT_NEAR(Dialog->MoveY, -0.005, 1e-15);
    EXPECT_NEAR(Dialog->Rotate, kPi / 2, 1e-15);
  }
}

TEST_F(MorphDlgTest, BadValuesNameTheirField) {
  const struct {
    const char* Edit;
    const char* Text;
    const char* Message;
  } cases[] = {
      {"ResizeEdit", "0", "Resize factor should not be equal to 0!"},
      {"ResizeEdit", "", "'' is not a valid floating point value"},
      {"MoveXEdit", "x", "'x' is not a valid floating point value"},
      {"MoveYEdit", "inf", "'inf' is not a valid floating point value"},
      {"RotateEdit", "nan", "'nan' is not a valid floating point value"},
      // Beyond what a real linkage is resized, moved or turned by.
      {"ResizeEdit", "1E308", "Value should be between -1000000 and 1000000"},
      {"ResizeEdit", "-1E-7", "Value should be between 1E-6 and 1000000, or between -1000000 and -1E-6"},
      {"MoveXEdit", "-1E10", "Value should be between -1E9 and 1E9 mm"},
      {"MoveYEdit", "1E300", "Value should be between -1E9 and 1E9 mm"},
      {"RotateEdit", "361", "Value should be between -360 and 360 \u00b0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Text);
    Dialog->open();
    auto* edit = Dialog->findChild<QLineEdit*>(QString::fromLatin1(c.Edit));
    edit->setText(QString::fromUtf8(c.Text));
    const int beeps = Sound.Beeps;
    Dialog->OKBtn->click();
    EXPECT_TRUE(Dialog->isVisible());
    EXPECT_EQ(Dialog->Status->Text(), QString::fromUtf8(c.Message));
    EXPECT_TRUE(Dialog->Status->IsHighlighted());
    EXPECT_EQ(Sound.Beeps, beeps + 1);
    EXPECT_EQ(Dialog->focusWidget(), edit);
    EXPECT_EQ(Dialog->Resize, 1.0);
    Dialog->CancelBtn->click();
  }
}

// The view's commands with the program's dialogs.
class ViewDialogsTest : public TDialogTest {
 protected:
  void SetUp() override {
    TDialogTest::SetUp();
    shared::SetSettingsFactory(OpenStoreSettings);
    SettingsStore().Values.clear();
    View = std::make_unique<TAnimationFrm>(Clipboard);
    Input = std::make_unique<TInputFunctionDlg>();
    Options = std::make_unique<TAnimOptionsDlg>();
    Morph = std::make_unique<TMorphDlg>();
    AppDialogs().InputFunctionDlg = Input.get();
    AppDialogs().AnimOptionsDlg = Options.get();
    AppDialogs().MorphDlg = Morph.get();
    View->NewMechanism(0);
  }
  void TearDown() override {
    View.reset();
    Input.reset();
    Options.reset();
    Morph.reset();
    shared::SetSettingsFactory(nullptr);
    TDialogTest::TearDown();
  }

  TAniMechanism& M() { return View->Mechanism(); }
  int InputJoint() {
    for (int j = 0; j < M().JointCount(); ++j)
      if (M().Joint(j).InputIndex >= 0) return j;
    return -1;
  }
  std::vector<shared::TComplex> At(int step) {
    std::vector<shared::TComplex> points;
    for (int j = 0; j < M().JointCount(); ++j)
      points.emplace_back(M().Joint(j).Positions[step].X, M().Joint(j).Positions[step].Y);
    return points;
  }

  TFakeClipboard Clipboard;
  std::unique_ptr<TAnimationFrm> View;
  std::unique_ptr<TInputFunctionDlg> Input;
  std::unique_ptr<TAnimOptionsDlg> Options;
  std::unique_ptr<TMorphDlg> Morph;
};

TEST_F(ViewDialogsTest, PopUpItemsFollowTheDialogs) {
  // The input item shows with an input joint only.
  M().DeselectAll();
  M().Joint(InputJoint()).Selected = true;
  View->PopupMenu1Popup();
  EXPECT_TRUE(View->PopOptions->isEnabled());
  EXPECT_TRUE(View->PopMoveRotateResize->isEnabled());
  EXPECT_TRUE(View->PopEditInput->isEnabled());
  AppDialogs().MorphDlg = nullptr;
  View->PopupMenu1Popup();
  EXPECT_FALSE(View->PopMoveRotateResize->isEnabled());
}

// The crank's law edited to half a turn in the cycle: the solved end is the old law's middle.
TEST_F(ViewDialogsTest, AnEditedInputLawReachesTheMechanismAndIsSolved) {
  const int n = M().N;
  ASSERT_EQ(n % 2, 0);
  ASSERT_EQ(M().Len, n);
  const std::vector<shared::TComplex> halfTurn = At(n / 2);
  const int j = InputJoint();
  ASSERT_GE(j, 0);
  M().DeselectAll();
  M().Joint(j).Selected = true;
  View->SetModified(false);
  WhenModal([](QDialog& dialog) {
    auto& input = static_cast<TInputFunctionDlg&>(dialog);
    EXPECT_TRUE(input.windowTitle().startsWith(QStringLiteral("Input Function ")));
    input.ClearButton->click();
    input.FunTypeBox->setCurrentIndex(0);
    input.TimeEdit->setText(QStringLiteral("1"));
    input.DispEdit->setText(QStringLiteral("180"));
    input.AddButton->click();
    input.OKBtn->click();
  });
  View->InputButtonClick();
  EXPECT_EQ(Input->GetTarget(), nullptr);
  const TInputFunction& law = M().Input(M().Joint(j).InputIndex);
  ASSERT_EQ(law.Count(), 1);
  EXPECT_NEAR(law.Section(0)->Displacement(), kPi, 1e-12);
  EXPECT_TRUE(View->IsModified());
  ASSERT_EQ(M().Len, n);
  const std::vector<shared::TComplex> end = At(n);
  for (size_t i = 0; i < end.size(); ++i) {
    EXPECT_NEAR(end[i].X, halfTurn[i].X, 1e-9) << i;
    EXPECT_NEAR(end[i].Y, halfTurn[i].Y, 1e-9) << i;
  }
  // The edit can be undone.
  View->Undo();
  EXPECT_NEAR(M().Input(M().Joint(j).InputIndex).Section(0)->Displacement(), 2 * kPi, 1e-12);
}

TEST_F(ViewDialogsTest, CancelOrNoInputJointChangesNoLaw) {
  const int j = InputJoint();
  M().DeselectAll();
  M().Joint(j).Selected = true;
  WhenModal([](QDialog& dialog) {
    auto& input = static_cast<TInputFunctionDlg&>(dialog);
    input.ClearButton->click();
    input.CancelBtn->click();
  });
  View->InputButtonClick();
  EXPECT_EQ(M().Input(M().Joint(j).InputIndex).Count(), 1);

  M().DeselectAll();
  Log.Lines.clear();
  View->InputButtonClick();
  ASSERT_EQ(Log.Lines.size(), 1u);
  EXPECT_NE(Log.Lines[0].first.find("Select an input joint!"), std::string::npos);
}

// Scaled about the selected joint, moved, then turned about it where it now stands.
TEST_F(ViewDialogsTest, MoveRotateResizeAboutTheSelectedJoint) {
  const std::vector<shared::TComplex> before = At(0);
  const int c = 1;
  M().DeselectAll();
  M().Joint(c).Selected = true;
  WhenModal([](QDialog& dialog) {
    auto& morph = static_cast<TMorphDlg&>(dialog);
    morph.ResizeEdit->setText(QStringLiteral("2"));
    morph.MoveXEdit->setText(QStringLiteral("10"));
    morph.MoveYEdit->setText(QStringLiteral("-20"));
    morph.RotateEdit->setText(QStringLiteral("90"));
    morph.OKBtn->click();
  });
  View->PopMoveRotateResizeClick();
  const std::vector<shared::TComplex> after = At(0);
  const double cx = before[c].X + 0.01, cy = before[c].Y - 0.02;
  for (size_t i = 0; i < before.size(); ++i) {
    // Offset doubled, then a quarter turn: (x, y) -> (-y, x).
    const double ox = 2 * (before[i].X - before[c].X), oy = 2 * (before[i].Y - before[c].Y);
    EXPECT_NEAR(after[i].X, cx - oy, 1e-12) << i;
    EXPECT_NEAR(after[i].Y, cy + ox, 1e-12) << i;
  }
  EXPECT_TRUE(View->IsModified());
  View->Undo();
  EXPECT_NEAR(At(0)[0].X, before[0].X, 1e-15);

  // Cancel moves nothing.
  WhenModal([](QDialog& dialog) { static_cast<TMorphDlg&>(dialog).CancelBtn->click(); });
  View->PopMoveRotateResizeClick();
  EXPECT_NEAR(At(0)[0].X, before[0].X, 1e-15);
}

// A factor or a move that would take a joint beyond 1000 km is refused in the dialog, though each
// value is in its own range, and nothing is applied. The four-bar's joints lie within 0.7 m of B.
TEST_F(ViewDialogsTest, MoveRotateResizeKeepsEveryJointInRange) {
  struct TCase {
    const char* What;
    const char* Resize;
    const char* MoveX;
    const char* MoveY;
    bool Taken;
    QLineEdit* TMorphDlg::*Field;
  };
  const TCase cases[] = {
      {"a million times about B", "1000000", "0", "0", true, nullptr},
      {"ten times that", "10", "0", "0", false, &TMorphDlg::ResizeEdit},
      {"a move over the edge", "1", "999999000", "0", false, &TMorphDlg::MoveXEdit},
      {"a move down over the edge", "1", "0", "-999999000", false, &TMorphDlg::MoveYEdit},
      {"a move back to the origin", "1", "-600000000", "0", true, nullptr},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    M().DeselectAll();
    M().Joint(1).Selected = true;
    const std::vector<shared::TComplex> before = At(0);
    QString message;
    bool focusedOnField = false;
    WhenModal([&](QDialog& dialog) {
      auto& morph = static_cast<TMorphDlg&>(dialog);
      morph.ResizeEdit->setText(QString::fromLatin1(c.Resize));
      morph.MoveXEdit->setText(QString::fromLatin1(c.MoveX));
      morph.MoveYEdit->setText(QString::fromLatin1(c.MoveY));
      morph.OKBtn->click();
      message = morph.Status->Text();
      focusedOnField = c.Field && morph.focusWidget() == morph.*c.Field;
    });
    View->PopMoveRotateResizeClick();
    const std::vector<shared::TComplex> after = At(0);
    if (c.Taken) {
      EXPECT_EQ(message, QString());
      EXPECT_NE(after[0].X, before[0].X);
    } else {
      EXPECT_EQ(message, QStringLiteral("Joints should stay between -1E9 and 1E9 mm"));
      EXPECT_TRUE(focusedOnField);
      for (size_t j = 0; j < after.size(); ++j) {
        EXPECT_EQ(after[j].X, before[j].X) << j;
        EXPECT_EQ(after[j].Y, before[j].Y) << j;
      }
    }
    for (const shared::TComplex& p : after) {
      EXPECT_LE(std::fabs(p.X), shared::kMaxLength);
      EXPECT_LE(std::fabs(p.Y), shared::kMaxLength);
    }
  }
  // The dialog keeps no check of a view that may be gone.
  EXPECT_FALSE(Morph->ResultFits);
}

TEST_F(ViewDialogsTest, OptionsRoundTrip) {
  M().LinkColour = 0x123456;
  ASSERT_EQ(M().N, 90);
  WhenModal([](QDialog& dialog) {
    auto& options = static_cast<TAnimOptionsDlg&>(dialog);
    EXPECT_EQ(options.GetSteps(), 90);
    EXPECT_EQ(options.LinkColorBox->currentText(), QStringLiteral("Custom"));
    options.StepsTrackBar->setValue(12);
    options.GridSizeEdit->setText(QStringLiteral("50"));
    options.AxisButton->click();
    options.StickCheckBox->setChecked(true);
    options.ICCheckBox->setChecked(true);
    options.OKBtn->click();
  });
  View->EditOptions();
  EXPECT_EQ(M().N, 120);
  EXPECT_EQ(M().Len, 120);
  EXPECT_EQ(M().LinkColour, 0x123456u);
  EXPECT_NEAR(View->Canvas().GridStep, 0.05, 1e-15);
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Axes);
  EXPECT_EQ(M().Stick, 1);
  EXPECT_EQ(M().ShowCentres, 1);
  EXPECT_TRUE(View->IsModified());

  // A DXF background: the frame reads the chosen file and the view shows it behind the linkage.
  QTemporaryDir drawings;
  const std::string base = drawings.filePath(QStringLiteral("base.dxf")).toStdString();
  std::ofstream(base) << "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n0\n10\n0\n20\n0\n11\n100\n21\n0\n"
                         "0\nENDSEC\n0\nEOF\n";
  Options->PickOpenFile = [&](TFileRequest& request) {
    request.FileName = QString::fromStdString(base);
    return true;
  };
  WhenModal([](QDialog& dialog) {
    auto& options = static_cast<TAnimOptionsDlg&>(dialog);
    options.DXFButton->click();
    options.BrowseButton->click();
    options.OKBtn->click();
  });
  View->EditOptions();
  EXPECT_EQ(View->Canvas().GridStyle, shared::TGridStyle::Background);
  EXPECT_EQ(M().Link(0).Drawing->FileName, base);
  EXPECT_TRUE(M().HasFrameDrawing());

  // A file that cannot be read leaves the background as it was.
  Options->PickOpenFile = [&](TFileRequest& request) {
    request.FileName = QString::fromStdString(base + ".missing");
    return true;
  };
  WhenModal([](QDialog& dialog) {
    auto& options = static_cast<TAnimOptionsDlg&>(dialog);
    options.BrowseButton->click();
    options.OKBtn->click();
  });
  View->EditOptions();
  EXPECT_EQ(M().Link(0).Drawing->FileName, base);
  EXPECT_TRUE(M().HasFrameDrawing());

  // Cancel takes nothing back.
  WhenModal([](QDialog& dialog) {
    auto& options = static_cast<TAnimOptionsDlg&>(dialog);
    options.StepsTrackBar->setValue(30);
    options.CancelBtn->click();
  });
  View->EditOptions();
  EXPECT_EQ(M().N, 120);
}

// Every Help button opens the program's help file.
TEST_F(ViewDialogsTest, HelpButtonsOpenTheHelpFile) {
  QTemporaryDir folder;
  const std::string help = folder.filePath(QStringLiteral("quillon.chm")).toStdString();
  std::ofstream(help) << "help";
  shared::ProgramInfo().HelpPath = help;
  std::vector<std::string> opened;
  shared::SetShellOpen([&opened](const std::string& target) {
    opened.push_back(target);
    return true;
  });
  TSplineEditFrm curve;
  TAreaEditFrm areas;
  for (QPushButton* button :
       {Input->HelpButton, Options->HelpButton, Morph->HelpButton, curve.HelpButton, areas.HelpButton})
    button->click();
  shared::SetShellOpen(nullptr);
  EXPECT_EQ(opened, std::vector<std::string>(5, help));
}

// A running curve fit or film walks the steps: no dialog may change them meanwhile.
TEST_F(ViewDialogsTest, NoDialogWhileALoopRuns) {
  M().DeselectAll();
  M().Joint(InputJoint()).Selected = true;
  ASSERT_TRUE(View->BeginLoop());
  bool opened = false;
  for (void (TAnimationFrm::*command)() : {&TAnimationFrm::EditOptions, &TAnimationFrm::InputButtonClick,
                                           &TAnimationFrm::PopMoveRotateResizeClick}) {
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&opened] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        opened = true;
        static_cast<QDialog*>(modal)->reject();
      }
    });
    guard.start(0);
    (View.get()->*command)();
    QCoreApplication::processEvents();
  }
  View->EndLoop();
  EXPECT_FALSE(opened);
  EXPECT_EQ(M().N, 90);
}

// The main window with the real view: the editor frames report to it and follow it.
class MainFormEditorsTest : public ViewDialogsTest {
 protected:
  void SetUp() override {
    ViewDialogsTest::SetUp();
    IsPolar = false;
    auto* view = new TAnimationFrm(Clipboard);
    Form = std::make_unique<TMainForm>(view, nullptr, Clipboard);
    FormView = view;
    Convert = std::make_unique<shared::TConvertDlg>(shared::Convert());
    AppDialogs().ConvertDlg = Convert.get();
    Form->show();
  }
  void TearDown() override {
    Form.reset();
    Convert.reset();
    IsPolar = false;
    ViewDialogsTest::TearDown();
  }

  // Three curve points and one area, the last point and the area selected.
  void AddCurveAndArea() {
    TAniMechanism& m = FormView->Mechanism();
    for (auto [x, y] : {std::pair{0.0, 0.05}, {0.02, 0.06}, {0.04, 0.05}})
      m.Curve.AddPoint(shared::TComplex(x, y));
    m.Areas.AddArea(shared::TComplex(-0.01, -0.01), shared::TComplex(0.01, 0.01));
    FormView->OnCurveChange();
    FormView->OnAreaChange();
  }

  std::unique_ptr<TMainForm> Form;
  std::unique_ptr<shared::TConvertDlg> Convert;
  TAnimationFrm* FormView = nullptr;
};

TEST_F(MainFormEditorsTest, EditorsAreTabsThatReportToTheView) {
  // The properties come first, then the curve and the areas.
  EXPECT_EQ(Form->PageControl1->count(), 3);
  EXPECT_EQ(Form->PageControl1->widget(1)->isAncestorOf(Form->SplineEditFrm1), true);
  EXPECT_EQ(Form->PageControl1->widget(2)->isAncestorOf(Form->AreaEditFrm1), true);
  EXPECT_TRUE(Form->AnimationInputFunctionItem->isEnabled());
  EXPECT_TRUE(Form->EditMoveRotateResize->isEnabled());
  EXPECT_TRUE(Form->ViewOptions->isEnabled());
  // The language file (or its defaults) names the options dialog.
  EXPECT_EQ(Options->windowTitle(), QStringLiteral("Animation Options"));

  AddCurveAndArea();
  ASSERT_TRUE(Form->SplineEditFrm1->Enabled());
  EXPECT_EQ(Form->SplineEditFrm1->Current(), 2);
  ASSERT_TRUE(Form->AreaEditFrm1->Enabled());
  FormView->SetModified(false);
  const double before = FormView->Mechanism().Curve.Length;
  Form->SplineEditFrm1->yEdit->setText(QStringLiteral("80"));
  Form->SplineEditFrm1->ApplyButton->click();
  EXPECT_NEAR(FormView->Mechanism().Curve.Point(2).Y, 0.08, 1e-15);
  EXPECT_GT(FormView->Mechanism().Curve.Length, before);
  EXPECT_TRUE(FormView->IsModified());

  // A polar read-out relabels both editors.
  Form->PolarButton->trigger();
  EXPECT_TRUE(IsPolar);
  EXPECT_EQ(Form->SplineEditFrm1->xLabel->text(), QStringLiteral("R [mm]"));
  EXPECT_EQ(Form->AreaEditFrm1->y1Label->text(), QStringLiteral("Arg [°]"));
}

// An edit in either editor shows in the drawing at once: what the view shows is what a full
// repaint of the edited document draws.
TEST_F(MainFormEditorsTest, EditsOfTheEditorsRepaintTheDrawing) {
  AddCurveAndArea();
  FormView->Mechanism().Areas.AddArea(shared::TComplex(0.02, 0.02), shared::TComplex(0.03, 0.04));
  FormView->OnAreaChange();
  TSplineEditFrm& curve = *Form->SplineEditFrm1;
  TAreaEditFrm& areas = *Form->AreaEditFrm1;
  const auto choose = [](QComboBox* box, int index) {
    box->setCurrentIndex(index);
    emit box->activated(index);
  };
  const std::pair<const char*, std::function<void()>> edits[] = {
      {"curve Apply",
       [&] {
         curve.yEdit->setText(QStringLiteral("80"));
         curve.ApplyButton->click();
       }},
      {"curve Nr:", [&] { choose(curve.NrComboBox, 0); }},
      {"curve hidden", [&] { curve.VisibleCheckBox->click(); }},
      {"curve shown", [&] { curve.VisibleCheckBox->click(); }},
      {"area Apply",
       [&] {
         areas.x1Edit->setText(QStringLiteral("-30"));
         areas.ApplyButton->click();
       }},
      {"area Nr:", [&] { choose(areas.NrComboBox, 0); }},
      {"areas hidden", [&] { areas.VisibleCheckBox->click(); }},
      {"areas shown", [&] { areas.VisibleCheckBox->click(); }},
  };
  QWidget* drawing = FormView->PaintBox1;
  QCoreApplication::processEvents();
  for (const auto& [name, edit] : edits) {
    SCOPED_TRACE(name);
    const QImage before = drawing->grab().toImage();
    edit();
    QCoreApplication::processEvents();
    const QImage shown = drawing->grab().toImage();
    FormView->PaintBox1Paint();
    const QImage repainted = drawing->grab().toImage();
    EXPECT_TRUE(repainted != before) << "the edit changes nothing in the drawing";
    EXPECT_TRUE(shown == repainted) << "the drawing keeps what stood before the edit";
  }
}

// Other units shown: the editors show and read in them, so an unchanged Apply moves nothing.
TEST_F(MainFormEditorsTest, NewUnitsRefreshTheEditors) {
  AddCurveAndArea();
  EXPECT_EQ(Form->SplineEditFrm1->xEdit->text(), QStringLiteral("40.000"));
  WhenModal([](QDialog& dialog) {
    dialog.findChild<QRadioButton*>(QStringLiteral("UnitsRadioButton0"))->click();
    dialog.findChild<QPushButton*>(QStringLiteral("OkButton"))->click();
  });
  Form->ViewUnitsClick();
  EXPECT_EQ(Form->SplineEditFrm1->xLabel->text(), QStringLiteral("x [m]"));
  EXPECT_EQ(Form->SplineEditFrm1->xEdit->text(), QStringLiteral("0.040"));
  EXPECT_EQ(Form->AreaEditFrm1->x2Edit->text(), QStringLiteral("0.010"));
  Form->SplineEditFrm1->yEdit->setText(QStringLiteral("0.07"));
  Form->SplineEditFrm1->ApplyButton->click();
  EXPECT_NEAR(FormView->Mechanism().Curve.Point(2).X, 0.04, 1e-15);
  EXPECT_NEAR(FormView->Mechanism().Curve.Point(2).Y, 0.07, 1e-15);
}

// Undo does not refresh the editors: what they show is gone, and Apply writes nothing.
TEST_F(MainFormEditorsTest, ApplyAfterAnUndoThatRemovedTheItemWritesNothing) {
  TAniMechanism& m = FormView->Mechanism();
  for (auto [x, y] : {std::pair{0.0, 0.05}, {0.02, 0.06}}) m.Curve.AddPoint(shared::TComplex(x, y));
  m.SaveUndoState();
  m.Curve.AddPoint(shared::TComplex(0.04, 0.05));
  m.Areas.AddArea(shared::TComplex(-0.01, -0.01), shared::TComplex(0.01, 0.01));
  FormView->OnCurveChange();
  FormView->OnAreaChange();
  ASSERT_EQ(Form->SplineEditFrm1->Current(), 2);
  ASSERT_EQ(Form->AreaEditFrm1->Current(), 0);
  FormView->Undo();
  ASSERT_EQ(m.Curve.PointCount(), 2);
  ASSERT_EQ(m.Areas.Count(), 0);
  std::vector<std::string> document;
  {
    shared::TTabLines lines;
    m.SaveToTabLines(lines);
    document = lines.Lines;
  }
  Form->SplineEditFrm1->xEdit->setText(QStringLiteral("5"));
  Form->SplineEditFrm1->ApplyButton->click();
  Form->AreaEditFrm1->x1Edit->setText(QStringLiteral("5"));
  Form->AreaEditFrm1->ApplyButton->click();
  shared::TTabLines lines;
  m.SaveToTabLines(lines);
  EXPECT_EQ(lines.Lines, document);
  EXPECT_FALSE(Form->SplineEditFrm1->Enabled());
  EXPECT_FALSE(Form->AreaEditFrm1->Enabled());
}

}  // namespace
}  // namespace quillon
