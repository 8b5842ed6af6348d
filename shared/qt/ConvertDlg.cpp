// The "System of Units" dialog over a TConvert.
#include "shared/qt/ConvertDlg.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

#include "shared/qt/QtText.h"

namespace shared {

namespace {

constexpr const char* kExampleDigits = "12345678901234567890";

}  // namespace

TConvertDlg::TConvertDlg(TConvert& convert, QWidget* parent)
    : QDialog(parent), fConvert(convert), fShown(convert) {
  setObjectName("ConvertDlg");
  setWindowTitle("System of Units");

  auto* unitsBox = new QGroupBox("Units", this);
  unitsBox->setObjectName("UnitsRadioGroup");
  auto* unitsLayout = new QVBoxLayout(unitsBox);
  fUnitsRadioGroup = new QButtonGroup(unitsBox);
  for (int system = 0; system < TConvert::kSystemCount; ++system) {
    auto* radio = new QRadioButton(ToQString(TConvert::SystemCaption(system)), unitsBox);
    radio->setObjectName(QString("UnitsRadioButton%1").arg(system));
    fUnitsRadioGroup->addButton(radio, system);
    unitsLayout->addWidget(radio);
  }

  auto* precisionBox = new QGroupBox("Numerical Precision", this);
  precisionBox->setObjectName("PrecisionGroupBox");
  auto* precisionLayout = new QGridLayout(precisionBox);
  fExampleLabel = new QLabel("123456.789", precisionBox);
  fExampleLabel->setObjectName("ExampleLabel");
  fPrecisionEdit = new QSpinBox(precisionBox);
  fPrecisionEdit->setObjectName("PrecisionEdit");
  fPrecisionEdit->setRange(TConvert::kMinPrecision, TConvert::kMaxPrecision);
  fDigitsEdit = new QSpinBox(precisionBox);
  fDigitsEdit->setObjectName("DigitsEdit");
  fDigitsEdit->setRange(TConvert::kMinDigits, TConvert::kMaxDigits);
  precisionLayout->addWidget(fExampleLabel, 0, 0, 1, 2);
  precisionLayout->addWidget(new QLabel("Precision", precisionBox), 1, 0);
  precisionLayout->addWidget(fPrecisionEdit, 1, 1);
  precisionLayout->addWidget(new QLabel("Digits", precisionBox), 2, 0);
  precisionLayout->addWidget(fDigitsEdit, 2, 1);

  auto* customBox = new QGroupBox("Custom Units", this);
  customBox->setObjectName("CustomUnitsGroupBox");
  auto* customLayout = new QVBoxLayout(customBox);
  fCategoryCombo = new QComboBox(customBox);
  fCategoryCombo->setObjectName("CategoryCombo");
  fUnitCombo = new QComboBox(customBox);
  fUnitCombo->setObjectName("UnitCombo");
  fConversionLabel = new QLabel(customBox);
  fConversionLabel->setObjectName("ConversionLabel");
  customLayout->addWidget(fCategoryCombo);
  customLayout->addWidget(fUnitCombo);
  customLayout->addWidget(fConversionLabel);

  auto* okButton = new QPushButton("OK", this);
  okButton->setObjectName("OkButton");
  okButton->setDefault(true);
  auto* cancelButton = new QPushButton("Cancel", this);
  cancelButton->setObjectName("CancelButton");
  auto* helpButton = new QPushButton("Help", this);
  helpButton->setObjectName("HelpButton");

  auto* groups = new QHBoxLayout;
  groups->addWidget(precisionBox);
  groups->addWidget(customBox);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(okButton);
  buttons->addWidget(cancelButton);
  buttons->addWidget(helpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(unitsBox);
  layout->addLayout(groups);
  layout->addLayout(buttons);

  for (int c = 0; c < TConvert::kCategoryCount; ++c)
    fCategoryCombo->addItem(ToQString(fConvert.Category(c).Name));

  connect(fPrecisionEdit, &QSpinBox::valueChanged, this, &TConvertDlg::SpinEditChange);
  connect(fDigitsEdit, &QSpinBox::valueChanged, this, &TConvertDlg::SpinEditChange);
  connect(fCategoryCombo, &QComboBox::currentIndexChanged, this, &TConvertDlg::CategoryComboChange);
  connect(fUnitCombo, &QComboBox::activated, this, &TConvertDlg::UnitComboActivated);
  connect(fUnitsRadioGroup, &QButtonGroup::idClicked, this, &TConvertDlg::UnitsRadioGroupClick);
  connect(okButton, &QPushButton::clicked, this, &TConvertDlg::OkButtonClick);
  connect(cancelButton, &QPushButton::clicked, this, &TConvertDlg::reject);
  connect(helpButton, &QPushButton::clicked, this, &TConvertDlg::HelpButtonClick);

  fCategoryCombo->setCurrentIndex(cuLength);
}

void TConvertDlg::showEvent(QShowEvent* event) {
  // Restoring a minimised window is no new showing: keep what the user is editing.
  if (event->spontaneous()) return QDialog::showEvent(event);
  fShown = fConvert;
  if (auto* radio = fUnitsRadioGroup->button(fConvert.UnitSystem())) radio->setChecked(true);
  fPrecisionEdit->setValue(fConvert.Precision());
  fDigitsEdit->setValue(fConvert.Digits());
  SpinEditChange();
  RefreshUnitList();
  QDialog::showEvent(event);
}

void TConvertDlg::SpinEditChange() {
  const int precision = fPrecisionEdit->value();
  const int digits = fDigitsEdit->value();
  if (precision - digits < 2) {
    fExampleLabel->setText("????????????");
    return;
  }
  const std::string example = std::string(kExampleDigits, precision - digits) + fConvert.DecimalSeparator +
                              std::string(kExampleDigits, digits);
  fExampleLabel->setText(ToQString(example));
}

void TConvertDlg::CategoryComboChange(int) { RefreshUnitList(); }

void TConvertDlg::RefreshUnitList() {
  const auto& category = fConvert.Category(fCategoryCombo->currentIndex());
  fUnitCombo->clear();
  for (int i = 0; i < category.UnitCount; ++i) fUnitCombo->addItem(ToQString(category.Units[i].Name));
  fUnitCombo->setCurrentIndex(category.CurrentUnit);
  RefreshConversion();
}

void TConvertDlg::UnitComboActivated(int index) {
  fConvert.SetCurrentUnit(fCategoryCombo->currentIndex(), index);
  fUnitsRadioGroup->button(usCustom)->setChecked(true);
  fConvert.SetSystem(usCustom);
  RefreshConversion();
}

void TConvertDlg::UnitsRadioGroupClick(int system) {
  fConvert.SetSystem(system);
  fUnitCombo->setCurrentIndex(fConvert.Category(fCategoryCombo->currentIndex()).CurrentUnit);
  RefreshConversion();
}

void TConvertDlg::RefreshConversion() {
  fConversionLabel->setText(ToQString(fConvert.ConversionText(fCategoryCombo->currentIndex())));
}

void TConvertDlg::OkButtonClick() {
  fConvert.SetSystem(fUnitsRadioGroup->checkedId());
  // A format that leaves fewer than two integer digits is dropped without a word.
  fConvert.SetPrecisionDigits(fPrecisionEdit->value(), fDigitsEdit->value());
  fConvert.SaveSettings();
  accept();
}

void TConvertDlg::reject() {
  if (fConvert.RegistryKey().empty())
    fConvert = fShown;
  else
    fConvert.LoadSettings();
  QDialog::reject();
}

void TConvertDlg::HelpButtonClick() {
  if (fHelpHandler) fHelpHandler(HelpTopic);
}

void ApplyLocaleDecimalSeparator(TConvert& convert) {
  const std::string separator = FromQString(QLocale().decimalPoint());
  if (separator.size() == 1 && separator[0] != '?') convert.DecimalSeparator = separator[0];
}

}  // namespace shared
