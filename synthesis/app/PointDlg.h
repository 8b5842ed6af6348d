// TComplexPointDialog, the "Point" form that edits one point in the user's units, and the
// position edits it shares with the area, curve-point and line dialogs.
#pragma once

#include <QDialog>
#include <memory>

#include "shared/Complex.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shared {
class TDialogStatus;
}

namespace vesk {

class TComplexPoint;
class TComplexPointList;

// A position as two edits: x and y (Length), or, when polar, the radius (Length) and the angle
// (Angle).
void ShowPosition(const shared::TComplex& p, bool polar, QLineEdit* first, QLineEdit* second);
// Converts the first edit, then the second; failing names the edit being converted, so that the
// caller knows which one to focus when shared::EConvertError comes out.
shared::TComplex ReadPosition(bool polar, QLineEdit* first, QLineEdit* second, QLineEdit*& failing);
// "X" + suffix and "Y" + suffix with the length unit on both, or "R" + suffix and "Angle" +
// suffix with the length and angle units.
void ShowPositionLabels(bool polar, const QString& suffix, QLabel* first, QLabel* firstUnit, QLabel* second,
                        QLabel* secondUnit);

// One position field of a dialog: its caption, edit and unit label, made by MakeTwoPositionGrid.
struct TPositionField {
  QLabel** Label;
  QLineEdit** Edit;
  QLabel** Unit;
};
// The grid of the dialogs that edit two positions (area corners, line ends) in box: the first
// position on the left, the second on the right, x above y, so that the tab order x1, y1, x2, y2
// runs down and across; each edit is wide enough for any value. Fields in that order.
QGridLayout* MakeTwoPositionGrid(QGroupBox* box, const TPositionField (&fields)[4]);
// The frame the dialogs share: body above a row of OK (the default), Cancel (which rejects) and,
// when help is asked for, Help, and the status bar below; the dialog keeps the size it needs.
void MakeDialogFrame(QDialog* dialog, QGroupBox* body, QPushButton*& ok, QPushButton*& cancel,
                     shared::TDialogStatus*& status, QPushButton** help = nullptr);

class TComplexPointDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TComplexPointDialog(QWidget* parent = nullptr);
  ~TComplexPointDialog() override;

  // The list's current point is edited; both targets are forgotten when the dialog closes.
  void SetTarget(TComplexPointList* list);
  void SetTarget(TComplexPoint* point);
  TComplexPoint* Target() const { return FTarget; }

  // Joints and the drawing's origin are edited as x and y whatever AppOptions.IsPolar says.
  bool Cartesian = false;
  bool IsPolar() const;

  void EnableEdits(bool on);
  // Read-only edits: OK closes without converting or writing anything.
  void SetReadOnly(bool on);
  bool IsReadOnly() const;

  QGroupBox* GroupBox1;
  QLabel* XLabel;
  QLabel* YLabel;
  QLabel* XUnitLabel;
  QLabel* YUnitLabel;
  QLineEdit* XEdit;
  QLineEdit* YEdit;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;

 private:
  void LoadTarget();
  void OKBtnClick();

  TComplexPointList* FList = nullptr;
  TComplexPoint* FTarget = nullptr;
  // The target's copy that OK fills; the target takes it only when every edit converted.
  std::unique_ptr<TComplexPoint> FWork;
};

}  // namespace vesk
