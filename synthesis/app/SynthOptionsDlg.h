// TSynthOptionsDlg: the modal "Synthesis Options" form over the process-wide synthesis options,
// the curve's prescribed total input rotation and the search level.
#pragma once

#include <QDialog>
#include <array>
#include <functional>
#include <string>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStatusBar;
class QTabWidget;
class QTimer;

namespace vesk {

class TSynthOptions;

class TSynthOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  // The options edited; the curve is the options' Spline at the time the form is shown.
  explicit TSynthOptionsDlg(TSynthOptions& options, QWidget* parent = nullptr);

  // Help shows HelpTopic through the handler; the program connects its help display.
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { FHelpHandler = std::move(handler); }
  std::string HelpTopic = "IDH_SynthOptions";

  QTabWidget* PageControl;
  QWidget* GeneralSheet;
  QWidget* SearchSheet;
  QCheckBox* LinkLengthPenaltyBox;
  QCheckBox* MaxLinkLengthBox;
  QLineEdit* MaxLinkLengthEdit;
  QLabel* LengthUnitLabel;
  QLabel* MinTransAngleLabel;
  QLineEdit* MinTransAngleEdit;
  QLabel* MinTransAngleUnitLabel;
  QLabel* OutsideAreaLabel;
  QSpinBox* OutsideAreaSpin;
  QLabel* PercentLabel;
  QCheckBox* TotalInBox;
  QLineEdit* TotalInEdit;
  QLabel* TotalInUnitLabel;
  QCheckBox* FullInRotationBox;
  QGroupBox* SearchGroup;
  QButtonGroup* SearchButtons;
  std::array<QRadioButton*, 3> SearchRadios;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpBtn;
  QStatusBar* StatusBar;
  // One-shot, 1000 ms: takes the warning colour off the status bar.
  QTimer* StatusTimer;

  // The timer's handler: the status bar gets the button-face colour again.
  void StatusTimerTimer();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowOptions();
  void OKBtnClick();
  void HelpBtnClick();
  // The message in the yellow status bar with a beep; the General page and the edit get the focus.
  void ShowError(const std::string& message, QLineEdit* edit);
  void SetStatusColor(const QColor& color);
  // OK reads the field: the transmission angle always, the link length limit and the total input
  // rotation while their boxes are checked (a limit that is off keeps what it was).
  bool IsRead(const QLineEdit* edit) const;
  // The value that edit holds, as OK converts it; raises the conversion error.
  double FieldValue(const QLineEdit* edit) const;
  // The message goes once the field it is about holds a value OK takes.
  void RecheckFailedField();
  QLineEdit* FFailedEdit = nullptr;

  TSynthOptions& FOptions;
  THelpHandler FHelpHandler;
};

}  // namespace vesk
