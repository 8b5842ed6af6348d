// TPrePointDialog: the curve-point form, one control point of the target curve in the user's
// units with its prescribed output and input rotations.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace shared {
class TDialogStatus;
}

namespace vesk {

class TPrePoint;
class TSpline;

// |In| below this is no rotation.
inline constexpr double kMinInRotation = 1e-5;

class TPrePointDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TPrePointDialog(QWidget* parent = nullptr);
  ~TPrePointDialog() override;

  // The curve whose selected control point is edited; not owned.
  void SetCurve(TSpline* curve) { FCurve = curve; }
  TSpline* Curve() const { return FCurve; }
  TPrePoint* Target() const { return FTarget; }

  void EnableEdits(bool on);
  // Read-only edits: OK closes without converting or writing anything.
  void SetReadOnly(bool on);
  bool IsReadOnly() const;
  // The main window allows input rotations only where the mechanism type can follow them.
  void SetInRotationAllowed(bool on);
  bool InRotationAllowed() const { return FInRotationAllowed; }

  // Help shows HelpTopic through the handler; the program connects its help display.
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { FHelpHandler = std::move(handler); }
  std::string HelpTopic = "IDH_CurvePoint";

  // The curve's Out and In while the dialog is open; the curve takes them on OK.
  bool OutFlag = false;
  bool InFlag = false;

  QGroupBox* GroupBox1;
  QLabel* XLabel;
  QLabel* YLabel;
  QLabel* XUnitLabel;
  QLabel* YUnitLabel;
  QLineEdit* XEdit;
  QLineEdit* YEdit;
  QCheckBox* OutBox;
  QLineEdit* OutEdit;
  QLabel* OutUnitLabel;
  QCheckBox* InBox;
  QLineEdit* InEdit;
  QLabel* InUnitLabel;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void LoadTarget();
  // A rotation edit is open only for a point after the first: the first point is where the
  // rotations are measured from.
  void UpdateRotationEdits();
  void OKBtnClick();

  TSpline* FCurve = nullptr;
  TPrePoint* FTarget = nullptr;
  std::unique_ptr<TPrePoint> FWork;
  bool FInRotationAllowed = true;
  THelpHandler FHelpHandler;
};

}  // namespace vesk
