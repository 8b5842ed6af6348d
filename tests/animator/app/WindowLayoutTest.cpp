// The animator's window as a new user meets it: the pictures of the tool buttons, the state of
// the buttons at start-up, sizes that follow the desktop's font, and the tool bars at the
// default size. The real view inside the main window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <map>
#include <memory>

#include "animator/app/AnimationFrm.h"
#include "animator/app/GraphFrm.h"
#include "animator/app/MainForm.h"
#include "animator/app/MessageMemo.h"
#include "animator/app/Pictures.h"
#include "animator/app/PropertiesFrm.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/TabLine.h"
#include "tests/animator/app/AppTestSupport.h"

namespace quillon {
namespace {

// An icon as it looks on a button.
QImage Look(const QIcon& icon) { return icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32); }

int OpaquePixels(const QImage& image) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
  return count;
}

class WindowLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
  }
  void TearDown() override {
    Form.reset();
    QApplication::setFont(DefaultFont);
    shared::SetSettingsFactory(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }
  void Start() {
    View = new TAnimationFrm(Clipboard);
    Form = std::make_unique<TMainForm>(View, nullptr, Clipboard);
    Form->show();
    QApplication::processEvents();
  }
  // A 1280 x 800 window with nothing else in the settings, in the desktop's font (0) or that font
  // at the given size.
  void StartInFont(int points) {
    if (points > 0) {
      QFont large = DefaultFont;
      large.setPointSize(points);
      QApplication::setFont(large);
    }
    SettingsStore().Values["Main"] = {{"WindowState", "0"}, {"Width", "1280"}, {"Height", "800"}};
    Start();
  }
  // Closes without questions.
  void Close() {
    View->SetModified(false);
    Form.reset();
  }

  const QFont DefaultFont = QApplication::font();
  TFakeClipboard Clipboard;
  TAnimationFrm* View = nullptr;
  std::unique_ptr<TMainForm> Form;
};

// Every tool button of the window, the view and the graph has a picture of its own that the
// program carries, and keeps its hint. Store must not look like Save.
TEST_F(WindowLayoutTest, EveryToolButtonHasItsOwnPicture) {
  Start();
  std::map<QString, QImage> looks;
  const auto take = [&](const QString& name, const QIcon& icon, const QString& hint) {
    SCOPED_TRACE(name.toStdString());
    EXPECT_FALSE(hint.isEmpty());
    const QImage look = Look(icon);
    EXPECT_GT(OpaquePixels(look), 20);
    for (const auto& [other, image] : looks) EXPECT_NE(look, image) << "looks like " << other.toStdString();
    looks[name] = look;
  };
  for (QAction* action : Form->ToolBar1->actions()) {
    if (!action->isSeparator()) take(action->objectName(), action->icon(), action->toolTip());
  }
  for (QToolBar* bar : {View->ToolBar1, View->ToolBar2, View->GraphFrm1->ToolBar2}) {
    for (QToolButton* button : bar->findChildren<QToolButton*>()) {
      if (button->objectName().startsWith(QStringLiteral("qt_"))) continue;
      take(bar->objectName() + QLatin1Char('.') + button->objectName(), button->icon(), button->toolTip());
    }
  }
  EXPECT_EQ(looks.size(), 13u + 11u + 14u + 4u + 10u);
  EXPECT_NE(Look(View->RecordButton->icon()), Look(Form->SaveToolButton->icon()));
  // The buttons show their pictures, not captions.
  EXPECT_EQ(Form->ToolBar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
  EXPECT_EQ(View->ToolBar1->toolButtonStyle(), Qt::ToolButtonIconOnly);
  // Each speed has its picture.
  QImage speeds[3];
  for (int speed = 0; speed < 3; ++speed) {
    View->SetSpeed(speed);
    speeds[speed] = Look(View->SpeedButton->icon());
  }
  EXPECT_NE(speeds[0], speeds[1]);
  EXPECT_NE(speeds[1], speeds[2]);
  EXPECT_NE(speeds[0], speeds[2]);
  Close();
}

// At start-up the buttons show what the first action would leave: Select down, Start with its
// picture; starting shows the pause picture, stopping the start picture again.
TEST_F(WindowLayoutTest, StartUpShowsSelectDownAndTheStartPicture) {
  Start();
  EXPECT_TRUE(View->SelectButton->isChecked());
  for (QToolButton* button : {View->MoveButton, View->ZoomInButton, View->AddDyadButton, View->AddCurveButton})
    EXPECT_FALSE(button->isChecked()) << button->objectName().toStdString();
  const QImage start = Look(ToolPicture(QStringLiteral("start")));
  const QImage pause = Look(ToolPicture(QStringLiteral("pause")));
  ASSERT_NE(start, pause);
  EXPECT_EQ(Look(View->StartButton->icon()), start);
  EXPECT_FALSE(View->StartButton->isChecked());
  View->StartButtonClick(Form.get());
  EXPECT_EQ(Look(View->StartButton->icon()), pause);
  View->StopButtonClick();
  EXPECT_EQ(Look(View->StartButton->icon()), start);
  Close();
}

// The read-outs, the left panel and the memo take their sizes from the font: the widest read-out
// fits also in a large font, the memo shows several lines, and its long lines wrap.
TEST_F(WindowLayoutTest, PanelsFollowTheFont) {
  for (int points : {0, 16}) {
    SCOPED_TRACE(points);
    StartInFont(points);
    const QFontMetrics metrics(View->StatusPanels[1]->font());
    for (int panel : {0, 1}) {
      EXPECT_GE(View->StatusPanels[panel]->contentsRect().width(),
                metrics.horizontalAdvance(QStringLiteral("Angle: -29091.23 mrad")));
    }
    EXPECT_GE(View->StatusPanels[2]->contentsRect().width(), metrics.horizontalAdvance(QStringLiteral("Pos: 9999")));
    // The read-out as the canvas writes it, in polar form.
    View->SetPolar(true);
    const QString angle = View->StatusPanels[1]->text();
    EXPECT_TRUE(angle.startsWith(QStringLiteral("Angle:"))) << angle.toStdString();
    EXPECT_LE(metrics.horizontalAdvance(angle), View->StatusPanels[1]->contentsRect().width());

    const QFontMetrics memoMetrics(Form->Memo1->font());
    EXPECT_GE(Form->Memo1->viewport()->height(), 5 * memoMetrics.lineSpacing());
    EXPECT_GE(Form->PanelLeft->minimumWidth(), 26 * memoMetrics.averageCharWidth());
    Form->Memo1->AppendLine(std::string(40, 'W') + " is a message longer than the panel is wide", TMessageKind::Message);
    QApplication::processEvents();
    EXPECT_EQ(Form->Memo1->horizontalScrollBar()->maximum(), 0);
    Close();
  }
}

// At the first start the left panel is as wide as the default linkage's properties need, in the
// desktop's font and in a large one: every column of the table shows whole, with no scrolling.
TEST_F(WindowLayoutTest, TheFirstStartShowsTheWholePropertiesTable) {
  for (int points : {0, 12}) {
    SCOPED_TRACE(points);
    StartInFont(points);
    const QTableWidget* grid = Form->PropertiesFrm1->Grid1;
    const QFontMetrics metrics(grid->font());
    int columns = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
      columns += grid->columnWidth(c);
      for (int row = 0; row < grid->rowCount(); ++row) {
        if (const QTableWidgetItem* item = grid->item(row, c)) {
          EXPECT_LT(metrics.horizontalAdvance(item->text()), grid->columnWidth(c)) << item->text().toStdString();
        }
      }
    }
    EXPECT_LE(columns, grid->viewport()->width());
    EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0);
    Close();
  }
}

// A value that grows to many digits after the start (here read from a document) widens the left
// panel, whose width the user chose in an earlier run, until the table shows whole again; a width
// the user then chooses stays while the table needs no more.
TEST_F(WindowLayoutTest, TheTableStaysWholeWhenItsValuesGrow) {
  SettingsStore().Values["Main"] = {
      {"WindowState", "0"}, {"Width", "1280"}, {"Height", "800"}, {"PanelLeft", "200"}};
  Start();
  const QTableWidget* grid = Form->PropertiesFrm1->Grid1;
  const auto whole = [grid] {
    const QFontMetrics metrics(grid->font());
    int columns = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
      columns += grid->columnWidth(c);
      for (int row = 0; row < grid->rowCount(); ++row) {
        const QTableWidgetItem* item = grid->item(row, c);
        if (item && metrics.horizontalAdvance(item->text()) >= grid->columnWidth(c)) return false;
      }
    }
    return columns <= grid->viewport()->width() && grid->horizontalScrollBar()->maximum() == 0;
  };
  const int stored = Form->PanelLeft->width();
  TAniMechanism& m = View->Mechanism();
  m.SetJointPosition('A', false, -1.734809e300, -0.25);
  View->MechanismChanged();
  QApplication::processEvents();
  EXPECT_NE(grid->item(1, 1)->text().indexOf(QStringLiteral("E303")), -1)
      << grid->item(1, 1)->text().toStdString();
  EXPECT_GT(Form->PanelLeft->width(), stored);
  EXPECT_TRUE(whole());
  EXPECT_LE(Form->PanelLeft->width(), Form->width() / 2);

  // The user narrows the panel again: the same values leave it so.
  const int narrow = Form->Splitter1->sizes().at(0) - 60;
  Form->Splitter1->setSizes({narrow, Form->Splitter1->width() - narrow});
  emit Form->Splitter1->splitterMoved(narrow, 1);
  View->MechanismChanged();
  QApplication::processEvents();
  EXPECT_EQ(Form->PanelLeft->width(), narrow);
  Close();
}

// At 1280 x 800 no tool bar hides buttons behind its extension menu, and the drawing is the
// largest part of the window.
TEST_F(WindowLayoutTest, ToolBarsFitAndTheDrawingIsTheLargestArea) {
  SettingsStore().Values["Main"] = {{"WindowState", "0"}, {"Width", "1280"}, {"Height", "800"}};
  Start();
  ASSERT_EQ(Form->size(), QSize(1280, 800));
  for (QToolBar* bar : Form->findChildren<QToolBar*>()) {
    auto* more = bar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
    ASSERT_NE(more, nullptr);
    EXPECT_FALSE(more->isVisible()) << bar->objectName().toStdString();
  }
  const auto area = [](const QWidget* widget) { return widget->width() * widget->height(); };
  const int drawing = area(View->PaintBox1);
  for (const QWidget* other : {static_cast<QWidget*>(View->GraphFrm1), Form->PanelLeft, static_cast<QWidget*>(Form->Memo1)})
    EXPECT_GT(drawing, area(other)) << other->objectName().toStdString();
  Close();
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

// The pointer on a button shows its hint in the main window's status bar.
std::string HintShownFor(TMainForm& form, QWidget* button) {
  form.ShowHint(QString());
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), button->mapToGlobal(QPointF(1, 1)));
  QApplication::sendEvent(button, &enter);
  return form.StatusPanel1->text().toStdString();
}

// The graph's tool buttons and the speed button tell their hint in the status bar like every
// other button, and the speed's hint follows the speed as it is clicked.
TEST_F(WindowLayoutTest, HintsOfTheViewsButtonsReachTheStatusBar) {
  Start();
  const TGraphFrm& graph = *View->GraphFrm1;
  for (QToolButton* button : {View->SelectButton, View->SpeedButton, graph.TimeButton, graph.Out0Button,
                              graph.Out2Button, graph.Path1Button, graph.Trans0Button}) {
    SCOPED_TRACE(button->objectName().toStdString());
    const std::string hint = button->toolTip().toStdString();
    EXPECT_FALSE(hint.empty());
    EXPECT_EQ(HintShownFor(*Form, button), hint);
  }
  for (int click = 0; click < 3; ++click) {
    HintShownFor(*Form, View->SpeedButton);
    View->SpeedButton->click();
    const std::string hint = View->SpeedHints[View->Speed()];
    EXPECT_EQ(View->SpeedButton->toolTip().toStdString(), hint);
    EXPECT_EQ(Form->StatusPanel1->text().toStdString(), hint) << "speed " << View->Speed();
  }
  Close();
}

}  // namespace
}  // namespace quillon
