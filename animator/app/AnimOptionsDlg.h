// TAnimOptionsDlg: the "View Options" dialog of the animation view: colours, what is shown, the
// background (none, axes, grid or a DXF drawing), grid size, stick figures and calculation steps.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "shared/AniCanvas2D.h"
#include "shared/qt/UserDialogs.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTabWidget;

namespace shared {
class TDialogStatus;
}

namespace quillon {

using shared::TFileRequest;

class TLanguageFile;

// A drop-down list of the 16 standard colours by name. A colour that is none of them is kept as
// one more entry, "Custom", so that it survives the dialog unchanged.
class TColorBox : public QComboBox {
  Q_OBJECT

 public:
  static constexpr int kNamedColours = 16;
  explicit TColorBox(QWidget* parent = nullptr);
  void SetColour(uint32_t colour);
  uint32_t Colour() const;
};

class TAnimOptionsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TAnimOptionsDlg(QWidget* parent = nullptr);

  double GridSize = 0.1;
  uint32_t LinkColour = 0xFF0000;
  uint32_t EdgeColour = 0;
  uint32_t JointColour = 0;
  uint32_t GridColour = 0;
  uint32_t PathColour = 0;
  uint32_t VelColour = 0;
  uint32_t AccColour = 0;
  uint32_t ICColour = 0;
  uint32_t LabelColour = 0;
  bool ShowPath = false;
  bool ShowVel = false;
  bool ShowAcc = false;
  bool ShowIC = false;
  bool ShowLabels = false;
  // The grid style; the DXF drawing for Background.
  shared::TGridStyle Background = shared::TGridStyle::Lines;
  std::string DXFFile;

  void FormShow();
  void ShowValues();
  void NoneButtonClick(shared::TGridStyle style);
  void BrowseButtonClick();
  void StepsTrackBarChange();
  // OK only: closing is allowed when the values read.
  bool FormCloseQuery();
  bool ReadValues();
  int GetSteps() const;
  void SetSteps(int n);
  bool GetStick() const;
  void SetStick(bool on);
  void Timer1Timer();
  void HelpButtonClick();
  // The "AnimOptions" texts: caption and the three buttons.
  void SetLanguage(const TLanguageFile& texts);

  // The file dialog of Browse; tests answer it.
  std::function<bool(TFileRequest&)> PickOpenFile;

  QTabWidget* PageControl1;
  TColorBox* LinkColorBox;
  TColorBox* EdgeColorBox;
  TColorBox* JointColorBox;
  TColorBox* GridColorBox;
  TColorBox* PathColorBox;
  TColorBox* VelColorBox;
  TColorBox* AccColorBox;
  TColorBox* ICColorBox;
  TColorBox* LabelColorBox;
  QCheckBox* PathCheckBox;
  QCheckBox* VelCheckBox;
  QCheckBox* AccCheckBox;
  QCheckBox* ICCheckBox;
  QCheckBox* LabelCheckBox;
  QCheckBox* StickCheckBox;
  QRadioButton* NoneButton;
  QRadioButton* AxisButton;
  QRadioButton* GridButton;
  QRadioButton* DXFButton;
  QLineEdit* GridSizeEdit;
  QLabel* GridUnitLabel;
  QLineEdit* DXFEdit;
  QPushButton* BrowseButton;
  QGroupBox* StepsGroupBox;
  QSlider* StepsTrackBar;
  QPushButton* OKBtn;
  QPushButton* CancelBtn;
  QPushButton* HelpButton;
  shared::TDialogStatus* Status;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void EnableBackgroundEdits();
  QRadioButton* BackgroundButton(shared::TGridStyle style) const;
};

}  // namespace quillon
