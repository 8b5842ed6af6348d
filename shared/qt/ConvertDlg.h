// The "System of Units" dialog: unit system, number format and the unit of each quantity of a
// TConvert, saved on OK and reloaded on any other close.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "shared/Convert.h"

class QButtonGroup;
class QComboBox;
class QLabel;
class QSpinBox;

namespace shared {

class TConvertDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TConvertDlg(TConvert& convert, QWidget* parent = nullptr);

  // Help shows this topic through the handler; the program connects its help display.
  using THelpHandler = std::function<void(const std::string& topic)>;
  void SetHelpHandler(THelpHandler handler) { fHelpHandler = std::move(handler); }
  std::string HelpTopic = "units.html";

  // Cancel and the close box: the stored settings come back, undoing unit choices.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SpinEditChange();
  void CategoryComboChange(int index);
  void UnitComboActivated(int index);
  void UnitsRadioGroupClick(int system);
  void OkButtonClick();
  void HelpButtonClick();
  void RefreshUnitList();
  void RefreshConversion();

  TConvert& fConvert;
  // The state at the last show (at creation before any), restored on cancel when there is no
  // key to reload from.
  TConvert fShown;
  THelpHandler fHelpHandler;
  QButtonGroup* fUnitsRadioGroup;
  QLabel* fExampleLabel;
  QSpinBox* fPrecisionEdit;
  QSpinBox* fDigitsEdit;
  QComboBox* fCategoryCombo;
  QComboBox* fUnitCombo;
  QLabel* fConversionLabel;
};

// Takes the decimal separator of the user's locale for display and typed numbers.
void ApplyLocaleDecimalSeparator(TConvert& convert);

}  // namespace shared
