// TPropertiesFrm: the frame on the main window's left that shows the mechanism as a three-column
// table: joint positions and link lengths to type over, or per step the tracer's path, velocity
// and acceleration or the shown instant centre.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "animator/engine/PropertyGrid.h"

class QTableWidget;
class QToolBar;
class QToolButton;

namespace quillon {

class TAniMechanism;
class TPropertyTable;

// The tables the tool bar picks; the numbers are the buttons' tags.
enum TPropertyKind : int32_t {
  pkProperties = 0,
  pkPath = 1,
  pkInstantCentres = 2,
  pkVelocity = 3,
  pkAcceleration = 4,
};

// One of the read-only tables (path, velocity, acceleration, instant centres) of the last
// solution: a header row, then a row per solved step 0..Len with the step number and the vector
// as (R, angle) when polar, else (x, y), in display units. A path record marked invalid and a
// centre at infinity show "Infinity" in both value cells.
void FillStepGrid(const TAniMechanism& mechanism, TPropertyGrid& grid, int32_t kind, bool polar);

class TPropertiesFrm : public QWidget {
  Q_OBJECT

 public:
  explicit TPropertiesFrm(QWidget* parent = nullptr);
  ~TPropertiesFrm() override;

  // The view's mechanism, not owned; nullptr for none. The table follows on the next Refresh.
  TAniMechanism* Mechanism = nullptr;
  // Called after an edit changed the mechanism (the view solves it again and redraws).
  std::function<void()> OnChange;
  // Asked before a typed value reaches the mechanism; false refuses it (the view is busy, and
  // says so) and the cell shows the value as it is.
  std::function<bool()> MayEdit;
  // Called whenever the columns were fitted to the cells (the main window widens its panel).
  std::function<void()> OnColumnsFitted;

  int32_t Kind = pkProperties;
  // The cell being edited and its text when editing began; -1 while no edit is pending.
  int32_t EditRow = -1;
  int32_t EditCol = -1;
  std::string EditText;
  // The table or its cell editor holds the keyboard focus: the main window leaves Space to it.
  bool GridFocused = false;

  // Closes the cell editor without taking its text, forgets a pending edit, and fills the table of
  // Kind from the mechanism (cells editable in the properties table only). Nothing without one.
  void Refresh();
  // Shared by the five tool buttons: the button's tag becomes Kind.
  void PropButtonClick(QToolButton* button);
  void UpdateButtons();
  // Whether the cell can be selected: joint coordinates and link lengths of the properties table.
  // A selectable cell ends a pending edit elsewhere, whose cell gets its old text back.
  bool Grid1SelectCell(int32_t col, int32_t row);
  bool CanSelectCell(int32_t col, int32_t row) const;
  // The cell editor opened on the cell.
  void Grid1GetEditText(int32_t col, int32_t row, const std::string& text);
  // The cell editor closed on the cell with its text taken into the cell: the value goes to the
  // mechanism (undo entry first, OnChange after); a text that is no number, or a value the
  // mechanism refuses, leaves everything as it was, with a warning in the log. The table is
  // filled again in every case.
  void Grid1SetEditText(int32_t col, int32_t row);
  void Grid1Enter();
  void Grid1Exit();

  // The cells as shown.
  const TPropertyGrid& Cells() const { return FCells; }

  QToolBar* PropertyToolBar;
  QToolButton* PropButton;
  QToolButton* PathButton;
  QToolButton* VelocityButton;
  QToolButton* AccelerationButton;
  QToolButton* InstCenterButton;
  QTableWidget* Grid1;
  // How many pixels the table's columns need beyond the width the grid shows them in.
  int MissingWidth() const { return FMissingWidth; }
  // The width the columns need, each as wide as its widest text.
  int NeededWidth() const { return FNeededWidth; }

 private:
  friend class TPropertyTable;
  QToolButton* NewButton(const char* name, int32_t tag, const char* caption, const char* hint);
  // Applies the edited cell to the mechanism; false when nothing was changed.
  bool ApplyEdit(int32_t col, int32_t row);
  void FillProperties();
  // The cells into the table widget, with their flags and the column widths.
  void ShowCells();
  void FitColumns();
  void SetCellText(int32_t col, int32_t row, const std::string& text);

  TPropertyTable* Table;
  TPropertyGrid FCells{3, 30};
  bool EditingOn = false;
  int FMissingWidth = 0;
  int FNeededWidth = 0;
};

}  // namespace quillon
