// Tests of the properties frame in the main window with the real animation view: typing joint
// coordinates and link lengths (solved again, undoable), bad input, the selectable cells, the
// step tables against the solution, the coordinate and unit switches, and Space in the table.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "animator/app/AnimationFrm.h"
#include "animator/app/AppDialogs.h"
#include "animator/app/MainForm.h"
#include "animator/app/MessageMemo.h"
#include "animator/app/PropertiesFrm.h"
#include "animator/app/TrackBar.h"
#include "animator/engine/AniMechanism.h"
#include "animator/engine/PropertyGrid.h"
#include "animator/engine/StdOut.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/Settings.h"
#include "shared/TabLine.h"
#include "shared/qt/Application.h"
#include "shared/qt/ConvertDlg.h"
#include "tests/animator/app/AppTestSupport.h"

namespace quillon {
namespace {

using shared::SetExceptionHandler;

const std::string kFixtures = SUITE_FIXTURES;
constexpr double kDegree = std::numbers::pi / 180;

// The fixture's four-bar: joints A to E in rows 1-5, the "Links" row 6, the pairs of AD, AB,
// BCE and CD in rows 7-12, then a blank row and the input function.
constexpr int kJointRows = 5;
constexpr int kLinksRow = 6;
constexpr int kLastLinkRow = 12;

struct TPoint {
  double X;
  double Y;
};

std::vector<std::string> Document(TAniMechanism& mechanism) {
  shared::TTabLines lines;
  mechanism.SaveToTabLines(lines);
  return lines.Lines;
}

TPoint Design(TAniMechanism& m, char letter) {
  const TPositionRecord& p = m.Joint(m.FindJoint(letter)).Positions[0];
  return {p.X, p.Y};
}

double Distance(const TPositionRecord& a, const TPositionRecord& b) {
  return std::hypot(b.X - a.X, b.Y - a.Y);
}

// A cell of a table in display units (mm, degrees) within what its three decimals can hold.
void ExpectShown(const std::string& cell, double expected, const std::string& where) {
  bool number = false;
  const double shown = QString::fromStdString(cell).toDouble(&number);
  ASSERT_TRUE(number) << where << ": " << cell;
  EXPECT_NEAR(shown, expected, std::max(0.0006, std::abs(expected) * 2e-6)) << where;
}

// Counts the paint events a widget receives.
class TPaintCounter : public QObject {
 public:
  int Paints = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++Paints;
    return false;
  }
};

class PropertiesFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    shared::CreateProgramInfo();
    shared::CreateTabLines();
    shared::CreateConvert();
    CreateStdOut();
    SettingsStore().Values.clear();
    shared::SetSettingsFactory(OpenStoreSettings);
    SetExceptionHandler([this](const QString& text) { Errors.push_back(text); });
    View = new TAnimationFrm(Clipboard);
    Form = std::make_unique<TMainForm>(View, nullptr, Clipboard);
    Form->SetCommandLine(QString::fromStdString(kFixtures + "/fourbar.mech"));
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Frame = Form->PropertiesFrm1;
    Grid = Frame->Grid1;
  }

  void TearDown() override {
    View->StopButtonClick();
    View->SetModified(false);
    Form.reset();
    EXPECT_TRUE(Errors.empty());
    SetExceptionHandler(nullptr);
    shared::SetSettingsFactory(nullptr);
    FreeStdOut();
    shared::FreeConvert();
    shared::FreeTabLines();
    shared::FreeProgramInfo();
  }

  TAniMechanism& Mechanism() { return View->Mechanism(); }

  void Reload() {
    View->LoadFromFile(kFixtures + "/fourbar.mech");
    ASSERT_FALSE(View->IsModified());
  }

  std::string Cell(int col, int row) const {
    const QTableWidgetItem* item = Grid->item(row, col);
    return item ? item->text().toStdString() : std::string();
  }

  // The row of a joint ("Joint B") or of a pair of link joints ("BE").
  int RowOf(const std::string& name) const {
    const int col = name.size() == 2 ? 1 : 0;
    for (int row = 0; row < Grid->rowCount(); ++row)
      if (Cell(col, row) == name) return row;
    ADD_FAILURE() << "no row " << name;
    return -1;
  }

  // Opens the cell editor as a user would with the keyboard (F2 on the cell), so that it holds
  // the focus; nullptr when the cell takes no editor.
  QLineEdit* OpenEditor(int col, int row) {
    Grid->setFocus();
    Grid->setCurrentCell(row, col);
    QTest::keyClick(Grid, Qt::Key_F2);
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
  }

  // Types text over the cell and closes the editor with the key; the commit of Return is queued.
  void Type(int col, int row, const QString& text, Qt::Key close = Qt::Key_Return) {
    QLineEdit* editor = OpenEditor(col, row);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, close);
    QCoreApplication::processEvents();
  }

  std::string LastLogLine() const {
    return Form->Memo1->toPlainText().split(QLatin1Char('\n')).constLast().toStdString();
  }

  TFakeClipboard Clipboard;
  std::unique_ptr<TMainForm> Form;
  TAnimationFrm* View = nullptr;
  TPropertiesFrm* Frame = nullptr;
  QTableWidget* Grid = nullptr;
  std::vector<QString> Errors;
};

// A joint coordinate or a link length typed into the table moves the design position, the view
// solves the cycle again from it and repaints, the document is modified, and Undo brings the old
// value back into the mechanism and the table.
TEST_F(PropertiesFrmTest, TypedValuesReachTheMechanism) {
  struct TCase {
    bool Polar;
    const char* Row;
    int Col;
    const char* Text;
    char Moved;
    TPoint Expected;
  };
  // The fixture's design: A (-320, -250), B (-430, -160), C (-250, -50), D (200, -400) mm.
  const double ab = std::hypot(-0.11, 0.09);
  const double cd = std::hypot(0.45, -0.35);
  const TCase cases[] = {
      {false, "Joint B", 1, "-400", 'B', {-0.4, -0.16}},
      {false, "Joint C", 2, "25.5", 'C', {-0.25, 0.0255}},
      // R of D to 500 mm along its old direction, whose length is sqrt(0.2) m.
      {true, "Joint D", 1, "500", 'D', {0.2 * 0.5 / std::sqrt(0.2), -0.4 * 0.5 / std::sqrt(0.2)}},
      // C turned to 90 degrees at its distance from the origin.
      {true, "Joint C", 2, "90", 'C', {0, std::hypot(0.25, 0.05)}},
      // B moves along A->B to 150 mm from A; D along C->D to 300 mm from C.
      {false, "AB", 2, "150", 'B', {-0.32 - 0.11 * 0.15 / ab, -0.25 + 0.09 * 0.15 / ab}},
      {true, "CD", 2, "300", 'D', {-0.25 + 0.45 * 0.3 / cd, -0.05 - 0.35 * 0.3 / cd}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Row) + " " + c.Text);
    Reload();
    (c.Polar ? Form->PolarButton : Form->XYButton)->trigger();
    ASSERT_EQ(Cell(1, 0), c.Polar ? "R [mm]" : "x [mm]");
    const std::vector<std::string> before = Document(Mechanism());
    const TPoint old = Design(Mechanism(), c.Moved);
    const int row = RowOf(c.Row);
    TPaintCounter painted;
    QCoreApplication::processEvents();
    View->PaintBox1->installEventFilter(&painted);

    Type(c.Col, row, QString::fromLatin1(c.Text));

    QCoreApplication::processEvents();
    View->PaintBox1->removeEventFilter(&painted);
    EXPECT_GT(painted.Paints, 0);
    const TPoint now = Design(Mechanism(), c.Moved);
    EXPECT_NEAR(now.X, c.Expected.X, 1e-12);
    EXPECT_NEAR(now.Y, c.Expected.Y, 1e-12);
    EXPECT_TRUE(View->IsModified());
    const std::string text = c.Text;
    EXPECT_EQ(Cell(c.Col, row), text + (text.find('.') != std::string::npos ? "00" : ".000"));
    // Solved from the new design: every link keeps its design lengths at the last solved step.
    TAniMechanism& m = Mechanism();
    ASSERT_GT(m.Len, 10);
    for (const auto& link : m.Links) {
      for (size_t i = 0; i < link->Name.size(); ++i) {
        for (size_t j = i + 1; j < link->Name.size(); ++j) {
          const TAniJoint& a = m.Joint(m.FindJoint(link->Name[i]));
          const TAniJoint& b = m.Joint(m.FindJoint(link->Name[j]));
          EXPECT_NEAR(Distance(a.Positions[m.Len], b.Positions[m.Len]),
                      Distance(a.Positions[0], b.Positions[0]), 1e-9)
              << link->Name;
        }
      }
    }

    Form->EditUndoItem->trigger();
    EXPECT_EQ(Document(Mechanism()), before);
    EXPECT_NEAR(Design(Mechanism(), c.Moved).X, old.X, 1e-15);
    if (std::string(c.Row).rfind("Joint", 0) == 0) {
      const double shown = !c.Polar     ? (c.Col == 1 ? old.X : old.Y) * 1000
                           : c.Col == 1 ? std::hypot(old.X, old.Y) * 1000
                                        : std::atan2(old.Y, old.X) / kDegree;
      ExpectShown(Cell(c.Col, row), shown, "after undo");
    }
  }
  Form->XYButton->trigger();
}

// Text that is no number, an empty cell or a length the mechanism refuses: the warning, the old
// value shown again, and nothing else changed (mechanism, undo history, modified flag).
TEST_F(PropertiesFrmTest, BadInputLeavesEverythingAsItWas) {
  struct TCase {
    const char* Row;
    int Col;
    const char* Text;
    const char* Warning;
  };
  const TCase cases[] = {
      {"Joint B", 1, "abc",
       "[Warning] Could not change value, 'abc' is not a valid floating point value. Original value reset!"},
      {"Joint E", 2, "",
       "[Warning] Could not change value, '' is not a valid floating point value. Original value reset!"},
      {"Joint A", 1, "1,5",
       "[Warning] Could not change value, '1,5' is not a valid floating point value. Original value reset!"},
      {"BE", 2, "0", "[Warning] Length must be > 0 Operation cancelled!"},
      {"CD", 2, "-20", "[Warning] Length must be > 0 Operation cancelled!"},
      // Beyond 1000 km, where the drawing and the files would lose the numbers.
      {"Joint B", 1, "1E308",
       "[Warning] Could not change value, Value should be between -1E9 and 1E9 mm. Original value reset!"},
      {"Joint C", 2, "-1000000001",
       "[Warning] Could not change value, Value should be between -1E9 and 1E9 mm. Original value reset!"},
      {"AB", 2, "2E9",
       "[Warning] Could not change value, Value should be between -1E9 and 1E9 mm. Original value reset!"},
  };
  Reload();
  // An earlier edit in the history, which a refused one must not push out or duplicate.
  Type(1, RowOf("Joint D"), "210");
  View->SetModified(false);
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Row) + " '" + c.Text + "'");
    const std::vector<std::string> before = Document(Mechanism());
    const auto history = shared::TabLines().History;
    const int row = RowOf(c.Row);
    const std::string old = Cell(c.Col, row);

    Type(c.Col, row, QString::fromLatin1(c.Text));

    EXPECT_EQ(LastLogLine(), c.Warning);
    EXPECT_EQ(Cell(c.Col, row), old);
    EXPECT_EQ(Document(Mechanism()), before);
    EXPECT_EQ(shared::TabLines().History, history);
    EXPECT_FALSE(View->IsModified());
  }
}

// Opening a cell and leaving it untouched keeps the exact value: the cell's text is only its
// rounded display, and taking it back would move the joint.
TEST_F(PropertiesFrmTest, UntouchedCellKeepsTheExactValue) {
  Reload();
  TAniMechanism& m = Mechanism();
  m.Joint(m.FindJoint('B')).Positions[0].X = -0.43012345;
  View->MechanismChanged();
  View->SetModified(false);
  const auto history = shared::TabLines().History;
  const int row = RowOf("Joint B");
  ASSERT_EQ(Cell(1, row), "-430.123");
  for (Qt::Key close : {Qt::Key_Return, Qt::Key_Tab}) {
    QLineEdit* editor = OpenEditor(1, row);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, close);
    QCoreApplication::processEvents();
    EXPECT_EQ(Design(m, 'B').X, -0.43012345);
    EXPECT_EQ(shared::TabLines().History, history);
    EXPECT_FALSE(View->IsModified());
  }
}

// Only joint coordinates and link lengths of the properties table take an editor; the step
// tables take none, and coming back to the properties table edits again and changes nothing.
TEST_F(PropertiesFrmTest, EditableCells) {
  const auto editable = [&](int col, int row) {
    return (Grid->item(row, col)->flags() & Qt::ItemIsEditable) != 0;
  };
  ASSERT_EQ(Cell(0, kLinksRow), "Links");
  ASSERT_EQ(Cell(0, kLastLinkRow), "Link CD");
  ASSERT_EQ(Mechanism().LastPropertyRow, kLastLinkRow);
  for (int row = 0; row < Grid->rowCount(); ++row) {
    for (int col = 0; col < 3; ++col) {
      const bool joint = row >= 1 && row <= kJointRows && col >= 1;
      const bool length = row > kLinksRow && row <= kLastLinkRow && col == 2;
      EXPECT_EQ(editable(col, row), joint || length) << col << ", " << row;
    }
  }
  QLineEdit* editor = OpenEditor(1, kLinksRow);
  EXPECT_EQ(editor, nullptr);

  const std::vector<std::string> before = Document(Mechanism());
  Frame->VelocityButton->click();
  EXPECT_TRUE(Frame->VelocityButton->isChecked());
  EXPECT_FALSE(Frame->PropButton->isChecked());
  EXPECT_EQ(Cell(0, 0), "Velocity");
  for (int row = 0; row < Grid->rowCount(); ++row)
    for (int col = 0; col < 3; ++col) EXPECT_FALSE(editable(col, row)) << col << ", " << row;
  Frame->PropButton->click();
  EXPECT_TRUE(Frame->PropButton->isChecked());
  EXPECT_FALSE(Frame->VelocityButton->isChecked());
  EXPECT_EQ(Document(Mechanism()), before);
  EXPECT_TRUE(editable(2, kLastLinkRow));
  Type(2, kLastLinkRow, "320");
  EXPECT_NEAR(Distance(Mechanism().Joint(2).Positions[0], Mechanism().Joint(3).Positions[0]), 0.32, 1e-12);
}

// A table switch or a coordinate switch while a cell is being typed into drops the typed text:
// the value would be read in the wrong table or mode.
TEST_F(PropertiesFrmTest, SwitchesDropTheTextBeingTyped) {
  const std::vector<std::string> before = Document(Mechanism());
  const int row = RowOf("Joint B");
  const std::function<void()> switches[] = {[&] { Form->PolarButton->trigger(); },
                                            [&] { Form->XYButton->trigger(); },
                                            [&] { Frame->PathButton->click(); }};
  for (const auto& flip : switches) {
    Frame->PropButton->click();
    const QPointer<QLineEdit> editor = OpenEditor(1, row);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "77");
    flip();
    QCoreApplication::processEvents();
    EXPECT_EQ(Document(Mechanism()), before);
    EXPECT_FALSE(View->IsModified());
    EXPECT_EQ(Frame->EditRow, -1);
    EXPECT_TRUE(!editor || !editor->isVisible());
    EXPECT_EQ(Form->Memo1->toPlainText(), "");
  }
}

// The path, velocity and acceleration tables show the tracer's records of every solved step in
// display units, as x, y or as R and angle.
TEST_F(PropertiesFrmTest, TracerTablesShowTheSolution) {
  struct TCase {
    QToolButton* Button;
    const char* Head;
    const char* Unit;
    const std::vector<TPositionRecord>* Records;
  };
  TAniMechanism& m = Mechanism();
  ASSERT_NE(m.Tracer, nullptr);
  ASSERT_GT(m.Len, 2);
  const TCase cases[] = {
      {Frame->PathButton, "Path", "[mm]", &m.Tracer->Positions},
      {Frame->VelocityButton, "Velocity", "[mm/s]", &m.Tracer->Velocity},
      {Frame->AccelerationButton, "Acceleration", "[mm/s\u00b2]", &m.Tracer->Acceleration},
  };
  for (bool polar : {false, true}) {
    (polar ? Form->PolarButton : Form->XYButton)->trigger();
    for (const TCase& c : cases) {
      SCOPED_TRACE(std::string(c.Head) + (polar ? " polar" : " x, y"));
      c.Button->click();
      ASSERT_EQ(Grid->rowCount(), m.Len + 2);
      EXPECT_EQ(Cell(0, 0), c.Head);
      EXPECT_EQ(Cell(1, 0), (polar ? "R " : "x ") + std::string(c.Unit));
      EXPECT_EQ(Cell(2, 0), polar ? std::string("Angle [\u00b0]") : "y " + std::string(c.Unit));
      for (int step : {0, m.Len / 3, m.Len}) {
        const TPositionRecord& r = (*c.Records)[step];
        const std::string where = "step " + std::to_string(step);
        EXPECT_EQ(Cell(0, step + 1), std::to_string(step));
        ExpectShown(Cell(1, step + 1), polar ? std::hypot(r.X, r.Y) * 1000 : r.X * 1000, where);
        ExpectShown(Cell(2, step + 1), polar ? std::atan2(r.Y, r.X) / kDegree : r.Y * 1000, where);
      }
    }
  }
  Form->XYButton->trigger();
}

// The fixture shows the coupler's instant centre relative to the frame: where the crank line AB
// meets the rocker line DC.
TEST_F(PropertiesFrmTest, InstantCentreTableMeetsCrankAndRocker) {
  TAniMechanism& m = Mechanism();
  Frame->InstCenterButton->click();
  EXPECT_EQ(Cell(0, 0), "Inst. Centers");
  ASSERT_EQ(Grid->rowCount(), m.Len + 2);
  const auto at = [&](char letter, int step) { return m.Joint(m.FindJoint(letter)).Positions[step]; };
  for (int step : {0, m.Len / 4, m.Len / 2}) {
    const TPositionRecord a = at('A', step), b = at('B', step), c = at('C', step), d = at('D', step);
    // a + s (b - a) = d + t (c - d), by Cramer's rule.
    const double ux = b.X - a.X, uy = b.Y - a.Y, vx = c.X - d.X, vy = c.Y - d.Y;
    const double det = -ux * vy + uy * vx;
    ASSERT_GT(std::abs(det), 1e-9);
    const double s = (-(d.X - a.X) * vy + (d.Y - a.Y) * vx) / det;
    const std::string where = "step " + std::to_string(step);
    ExpectShown(Cell(1, step + 1), (a.X + s * ux) * 1000, where);
    ExpectShown(Cell(2, step + 1), (a.Y + s * uy) * 1000, where);
  }
}

// Records the table cannot show as numbers: a path record marked invalid and a centre at
// infinity read "Infinity"; a velocity keeps its numbers; a tracer without analysis shows zeros.
TEST(PropertiesStepGrid, MarkedRecordsAndAnUnanalysedTracer) {
  shared::CreateConvert();
  {
    TAniMechanism m;
    ASSERT_NE(m.Tracer, nullptr);
    ASSERT_GT(m.Len, 3);
    TPropertyGrid grid;
    m.Tracer->Positions[2].Invalid = 1;
    m.Tracer->Velocity[2].Invalid = 1;
    m.CentreAt[3] = TCentreRecord{1, 2, 1};
    FillStepGrid(m, grid, pkPath, false);
    EXPECT_EQ(grid.RowCount(), m.Len + 2);
    EXPECT_EQ(grid.Cell(1, 3), "Infinity");
    EXPECT_EQ(grid.Cell(2, 3), "Infinity");
    EXPECT_NE(grid.Cell(1, 2), "Infinity");
    FillStepGrid(m, grid, pkVelocity, true);
    EXPECT_NE(grid.Cell(1, 3), "Infinity");
    FillStepGrid(m, grid, pkInstantCentres, true);
    EXPECT_EQ(grid.Cell(1, 4), "Infinity");
    EXPECT_EQ(grid.Cell(2, 4), "Infinity");

    m.Tracer->Analyse = 0;
    FillStepGrid(m, grid, pkPath, false);
    for (int row = 1; row < grid.RowCount(); ++row) {
      EXPECT_EQ(grid.Cell(1, row), "0.000") << row;
      EXPECT_EQ(grid.Cell(2, row), "0.000") << row;
    }
  }
  shared::FreeConvert();
}

// Recording a step makes its positions the design, which the table shows at once.
// Back from a long step table the properties show from their first row, however far that table
// was scrolled, and no text of theirs is cut, the input's motion law included.
TEST_F(PropertiesFrmTest, BackFromAStepTableThePropertiesShowWholeFromTheTop) {
  // A panel lower than the properties, so the table scrolls.
  Form->Splitter2->setSizes({140, 600});
  QCoreApplication::processEvents();
  QScrollBar* scroll = Grid->verticalScrollBar();
  for (QToolButton* table : {Frame->PathButton, Frame->VelocityButton, Frame->InstCenterButton}) {
    SCOPED_TRACE(table->objectName().toStdString());
    table->click();
    scroll->setValue(scroll->maximum());
    ASSERT_GT(scroll->value(), 0);
    Frame->PropButton->click();
    QCoreApplication::processEvents();
    EXPECT_EQ(scroll->value(), 0);
    EXPECT_EQ(Grid->rowAt(0), 0);
    EXPECT_EQ(Grid->horizontalScrollBar()->value(), 0);
  }
  const QFontMetrics metrics(Grid->font());
  int laws = 0;
  for (int row = 0; row < Grid->rowCount(); ++row) {
    for (int col = 0; col < Grid->columnCount(); ++col) {
      const QString text = QString::fromStdString(Cell(col, row));
      laws += text == QStringLiteral("Constant Velocity");
      EXPECT_LT(metrics.horizontalAdvance(text), Grid->columnWidth(col)) << text.toStdString();
    }
  }
  EXPECT_EQ(laws, 1);
}

TEST_F(PropertiesFrmTest, RecordedStepShowsInTheTable) {
  TAniMechanism& m = Mechanism();
  const int step = m.Len / 3;
  const TPositionRecord b = m.Joint(m.FindJoint('B')).Positions[step];
  View->PositionTrackBar->setValue(step);
  View->RecordButtonClick();
  const int row = RowOf("Joint B");
  ExpectShown(Cell(1, row), b.X * 1000, "x of B");
  ExpectShown(Cell(2, row), b.Y * 1000, "y of B");
}

// The table follows the coordinate switch and the units dialog, and so does the drawing's
// coordinate read-out, without waiting for the mouse to move.
TEST_F(PropertiesFrmTest, CoordinatesAndUnitsRefreshTheTable) {
  View->Canvas().Units = shared::ConvertReadoutUnits();
  const auto* readoutX = View->findChild<QLabel*>(QStringLiteral("StatusBar1Panel0"));
  const auto* readoutY = View->findChild<QLabel*>(QStringLiteral("StatusBar1Panel1"));
  ASSERT_NE(readoutX, nullptr);
  const int row = RowOf("Joint D");
  Form->PolarButton->trigger();
  EXPECT_EQ(Cell(2, 0), "Angle [\u00b0]");
  ExpectShown(Cell(1, row), std::sqrt(0.2) * 1000, "R of D");
  ExpectShown(Cell(2, row), std::atan2(-0.4, 0.2) / kDegree, "angle of D");
  Form->XYButton->trigger();
  EXPECT_EQ(Cell(2, 0), "y [mm]");
  EXPECT_EQ(Cell(1, row), "200.000");

  shared::TConvertDlg units(shared::Convert(), Form.get());
  AppDialogs().ConvertDlg = &units;
  Form->UpdateButtons();
  QTimer::singleShot(0, &units, [&] {
    units.findChild<QRadioButton*>("UnitsRadioButton0")->click();
    units.findChild<QPushButton*>("OkButton")->click();
  });
  EXPECT_EQ(readoutX->text().simplified(), QStringLiteral("X: 0.00 mm"));
  Form->ViewUnits->setEnabled(true);
  Form->ViewUnits->trigger();
  EXPECT_EQ(Cell(1, 0), "x [m]");
  EXPECT_EQ(Cell(1, row), "0.200");
  EXPECT_EQ(readoutX->text().simplified(), QStringLiteral("X: 0.00 m"));
  EXPECT_EQ(readoutY->text().simplified(), QStringLiteral("Y: 0.00 m"));
  AppDialogs() = {};
}

// The stored coordinate mode reaches the table even when the start-up document fails to read, so
// a typed x is never taken as R.
TEST_F(PropertiesFrmTest, StoredPolarModeFillsTheTableAtStartUp) {
  View->SetModified(false);
  Form.reset();
  const std::string broken = ::testing::TempDir() + "properties-broken.mech";
  std::ofstream(broken) << "no mechanism here\r\n";
  SettingsStore().Values["Options"]["IsPolar"] = "1";
  View = new TAnimationFrm(Clipboard);
  Form = std::make_unique<TMainForm>(View, nullptr, Clipboard);
  Form->SetCommandLine(QString::fromStdString(broken));
  Form->show();
  Frame = Form->PropertiesFrm1;
  Grid = Frame->Grid1;
  EXPECT_EQ(Errors.size(), 1u);
  Errors.clear();
  EXPECT_TRUE(IsPolar);
  EXPECT_EQ(Cell(1, 0), "R [mm]");
  EXPECT_EQ(Cell(2, 0), "Angle [\u00b0]");
  Form->XYButton->trigger();
  std::remove(broken.c_str());
}

// Space typed into the table or its cell editor stays there; elsewhere it starts the animation.
TEST_F(PropertiesFrmTest, SpaceInTheTableLeavesTheAnimationStopped) {
  const int row = RowOf("Joint C");
  QTest::mouseClick(Grid->viewport(), Qt::LeftButton, {}, Grid->visualItemRect(Grid->item(row, 1)).center());
  ASSERT_TRUE(Frame->GridFocused);
  QTest::keyClick(Grid, Qt::Key_Space);
  EXPECT_FALSE(View->StartButton->isChecked());
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(Frame->GridFocused);
  QTest::keyClicks(editor, "1 2");
  EXPECT_EQ(editor->text(), " 1 2");
  EXPECT_FALSE(View->StartButton->isChecked());
  EXPECT_FALSE(View->AnimationTimer->isActive());

  Form->Memo1->setFocus();
  EXPECT_FALSE(Frame->GridFocused);
  QTest::keyClick(Form->Memo1, Qt::Key_Space);
  EXPECT_TRUE(View->StartButton->isChecked());
  View->StopButtonClick();
  // The editor's text " 1 2" was no number; leaving the cell logged it and kept C.
  EXPECT_EQ(LastLogLine().rfind("[Warning] Could not change value, ' 1 2'", 0), 0u) << LastLogLine();
}

}  // namespace
}  // namespace quillon
