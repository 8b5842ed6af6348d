// The synthesis options dialog: its two pages, the values shown in the user's units, and OK,
// which converts every edit before it changes anything.
#include "synthesis/app/SynthOptionsDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/QtText.h"
#include "synthesis/engine/AppOptions.h"
#include "synthesis/engine/Spline.h"
#include "synthesis/engine/SynthOptions.h"

namespace vesk {

using shared::Convert;
using shared::ToQString;

namespace {

// A prescribed total input rotation smaller than this counts as none.
constexpr double kMinTotalIn = 1e-5;

}  // namespace

TSynthOptionsDlg::TSynthOptionsDlg(TSynthOptions& options, QWidget* parent)
    : QDialog(parent), FOptions(options) {
  setObjectName("SynthOptions");
  setWindowTitle("Synthesis Options");
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  PageControl = new QTabWidget(this);
  GeneralSheet = new QWidget;
  SearchSheet = new QWidget;
  PageControl->addTab(GeneralSheet, "General");
  PageControl->addTab(SearchSheet, "Search");

  LinkLengthPenaltyBox = new QCheckBox("Apply link length penalty", GeneralSheet);
  MaxLinkLengthBox = new QCheckBox("Restrict link length to", GeneralSheet);
  MaxLinkLengthEdit = new QLineEdit(GeneralSheet);
  LengthUnitLabel = new QLabel(GeneralSheet);
  MinTransAngleLabel = new QLabel("Minimum Transmission Angle", GeneralSheet);
  MinTransAngleEdit = new QLineEdit(GeneralSheet);
  MinTransAngleUnitLabel = new QLabel(GeneralSheet);
  OutsideAreaLabel = new QLabel("Allow solutions outside area", GeneralSheet);
  OutsideAreaSpin = new QSpinBox(GeneralSheet);
  OutsideAreaSpin->setRange(0, 100);
  PercentLabel = new QLabel("%", GeneralSheet);
  TotalInBox = new QCheckBox("Specified total input rotation", GeneralSheet);
  TotalInEdit = new QLineEdit(GeneralSheet);
  TotalInUnitLabel = new QLabel(GeneralSheet);
  FullInRotationBox = new QCheckBox("Full Input Link Rotation Required", GeneralSheet);
  MinTransAngleLabel->setBuddy(MinTransAngleEdit);
  OutsideAreaLabel->setBuddy(OutsideAreaSpin);

  // Edits wide enough for a length in micrometres with its decimals.
  const int editWidth = fontMetrics().horizontalAdvance("-0000000.000000") + 12;
  for (QWidget* edit : {static_cast<QWidget*>(MaxLinkLengthEdit), static_cast<QWidget*>(MinTransAngleEdit),
                        static_cast<QWidget*>(OutsideAreaSpin), static_cast<QWidget*>(TotalInEdit)})
    edit->setMinimumWidth(editWidth);

  auto* general = new QGridLayout(GeneralSheet);
  general->addWidget(LinkLengthPenaltyBox, 0, 0, 1, 3);
  general->addWidget(MaxLinkLengthBox, 1, 0);
  general->addWidget(MaxLinkLengthEdit, 1, 1);
  general->addWidget(LengthUnitLabel, 1, 2);
  general->addWidget(MinTransAngleLabel, 2, 0);
  general->addWidget(MinTransAngleEdit, 2, 1);
  general->addWidget(MinTransAngleUnitLabel, 2, 2);
  general->addWidget(OutsideAreaLabel, 3, 0);
  general->addWidget(OutsideAreaSpin, 3, 1);
  general->addWidget(PercentLabel, 3, 2);
  general->addWidget(TotalInBox, 4, 0);
  general->addWidget(TotalInEdit, 4, 1);
  general->addWidget(TotalInUnitLabel, 4, 2);
  general->addWidget(FullInRotationBox, 5, 0, 1, 3);
  general->setColumnMinimumWidth(2, fontMetrics().horizontalAdvance("mrad/s") + 4);
  general->setRowStretch(6, 1);

  SearchGroup = new QGroupBox("Search", SearchSheet);
  SearchButtons = new QButtonGroup(this);
  auto* searchLayout = new QVBoxLayout(SearchGroup);
  const char* searchTexts[3] = {"Quick Search (approx. 2 minutes)", "Standard Search (approx. 10 minutes)",
                                "Thorough Search (approx. 30 minutes)"};
  for (int i = 0; i < 3; ++i) {
    SearchRadios[size_t(i)] = new QRadioButton(searchTexts[i], SearchGroup);
    SearchButtons->addButton(SearchRadios[size_t(i)], i);
    searchLayout->addWidget(SearchRadios[size_t(i)]);
  }
  auto* searchPage = new QVBoxLayout(SearchSheet);
  searchPage->addWidget(SearchGroup);
  searchPage->addStretch(1);

  OKBtn = new QPushButton("OK", this);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton("Cancel", this);
  HelpBtn = new QPushButton("Help", this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKBtn);
  buttons->addWidget(CancelBtn);
  buttons->addWidget(HelpBtn);

  StatusBar = new QStatusBar(this);
  StatusBar->setSizeGripEnabled(false);
  StatusBar->setAutoFillBackground(true);
  StatusTimer = new QTimer(this);
  StatusTimer->setSingleShot(true);
  StatusTimer->setInterval(1000);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl);
  layout->addLayout(buttons);
  layout->addWidget(StatusBar);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  // The component names, for finding the controls by name.
  PageControl->setObjectName("PageControl");
  GeneralSheet->setObjectName("GeneralSheet");
  SearchSheet->setObjectName("SearchSheet");
  LinkLengthPenaltyBox->setObjectName("LinkLengthPenaltyBox");
  MaxLinkLengthBox->setObjectName("MaxLinkLengthBox");
  MaxLinkLengthEdit->setObjectName("MaxLinkLengthEdit");
  LengthUnitLabel->setObjectName("LengthUnitLabel");
  MinTransAngleLabel->setObjectName("MinTransAngleLabel");
  MinTransAngleEdit->setObjectName("MinTransAngleEdit");
  MinTransAngleUnitLabel->setObjectName("MinTransAngleUnitLabel");
  OutsideAreaLabel->setObjectName("OutsideAreaLabel");
  OutsideAreaSpin->setObjectName("OutsideAreaSpin");
  PercentLabel->setObjectName("PercentLabel");
  TotalInBox->setObjectName("TotalInBox");
  TotalInEdit->setObjectName("TotalInEdit");
  TotalInUnitLabel->setObjectName("TotalInUnitLabel");
  FullInRotationBox->setObjectName("FullInRotationBox");
  SearchGroup->setObjectName("SearchGroup");
  OKBtn->setObjectName("OKBtn");
  CancelBtn->setObjectName("CancelBtn");
  HelpBtn->setObjectName("HelpBtn");
  StatusBar->setObjectName("StatusBar");
  StatusTimer->setObjectName("StatusTimer");
  for (int i = 0; i < 3; ++i) SearchRadios[size_t(i)]->setObjectName(QString("SearchRadio%1").arg(i));

  connect(MaxLinkLengthBox, &QCheckBox::toggled, MaxLinkLengthEdit, &QWidget::setEnabled);
  connect(TotalInBox, &QCheckBox::toggled, TotalInEdit, &QWidget::setEnabled);
  connect(OKBtn, &QPushButton::clicked, this, &TSynthOptionsDlg::OKBtnClick);
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpBtn, &QPushButton::clicked, this, &TSynthOptionsDlg::HelpBtnClick);
  connect(StatusTimer, &QTimer::timeout, this, &TSynthOptionsDlg::StatusTimerTimer);
  for (QLineEdit* edit : {MaxLinkLengthEdit, MinTransAngleEdit, TotalInEdit})
    connect(edit, &QLineEdit::textChanged, this, &TSynthOptionsDlg::RecheckFailedField);
  connect(TotalInBox, &QCheckBox::toggled, this, &TSynthOptionsDlg::RecheckFailedField);
  connect(MaxLinkLengthBox, &QCheckBox::toggled, this, &TSynthOptionsDlg::RecheckFailedField);
  StatusTimerTimer();
}

void TSynthOptionsDlg::showEvent(QShowEvent* event) {
  ShowOptions();
  QDialog::showEvent(event);
}

void TSynthOptionsDlg::ShowOptions() {
  const shared::TConvert& convert = Convert();
  LinkLengthPenaltyBox->setChecked(FOptions.LinkLengthPenaltyOn);
  MaxLinkLengthBox->setChecked(FOptions.MaxLinkLengthOn);
  MaxLinkLengthEdit->setEnabled(FOptions.MaxLinkLengthOn);
  MaxLinkLengthEdit->setText(ToQString(convert.FormatSI(shared::cuLength, FOptions.MaxLinkLength)));
  LengthUnitLabel->setText(ToQString(convert.UnitSymbol(shared::cuLength)));
  MinTransAngleEdit->setText(ToQString(convert.FormatSI(shared::cuAngle, FOptions.MinTransAngle)));
  MinTransAngleUnitLabel->setText(ToQString(convert.UnitSymbol(shared::cuAngle)));
  // A record may hold any expansion; the spin edit shows what it can.
  const double percent = std::clamp((FOptions.MaxDistToArea - 1) * 100, 0.0, 100.0);
  OutsideAreaSpin->setValue(int(std::nearbyint(percent)));
  const TSpline* curve = FOptions.Spline;
  TotalInBox->setEnabled(curve != nullptr);
  TotalInBox->setChecked(curve && curve->InTotal);
  TotalInEdit->setEnabled(curve && curve->InTotal);
  TotalInEdit->setText(curve ? ToQString(convert.FormatSI(shared::cuAngle, curve->TotalIn)) : QString());
  TotalInUnitLabel->setText(ToQString(convert.UnitSymbol(shared::cuAngle)));
  FullInRotationBox->setChecked(FOptions.FullInRotation);
  // A damaged setting shows as the middle level, which is what the search then uses.
  const int search = AppOptions.Search >= 0 && AppOptions.Search <= 2 ? AppOptions.Search : 1;
  SearchRadios[size_t(search)]->setChecked(true);
  StatusBar->clearMessage();
  FFailedEdit = nullptr;
}

void TSynthOptionsDlg::OKBtnClick() {
  // Everything is converted first, so a bad field leaves the options and the curve as they were.
  double maxLinkLength = 0, minTransAngle = 0, totalIn = 0;
  QLineEdit* edit = MaxLinkLengthEdit;
  try {
    // A limit that is off keeps what it was, whatever a project stored.
    maxLinkLength = IsRead(MaxLinkLengthEdit) ? FieldValue(MaxLinkLengthEdit) : FOptions.MaxLinkLength;
    edit = MinTransAngleEdit;
    minTransAngle = FieldValue(MinTransAngleEdit);
    edit = TotalInEdit;
    if (IsRead(TotalInEdit)) totalIn = FieldValue(TotalInEdit);
  } catch (const shared::EConvertError& e) {
    ShowError(e.what(), edit);
    return;
  }

  FOptions.MaxLinkLength = maxLinkLength;
  FOptions.MinTransAngle = minTransAngle;
  if (TSpline* curve = FOptions.Spline) {
    curve->InTotal = TotalInBox->isChecked();
    // A total and rotations at every point exclude each other.
    if (curve->InTotal) {
      curve->In = false;
      curve->TotalIn = totalIn;
    }
  }
  FOptions.LinkLengthPenaltyOn = LinkLengthPenaltyBox->isChecked();
  FOptions.FullInRotation = FullInRotationBox->isChecked();
  FOptions.MaxLinkLengthOn = MaxLinkLengthBox->isChecked();
  FOptions.MaxDistToArea = OutsideAreaSpin->value() / 100.0 + 1;
  if (SearchButtons->checkedId() >= 0) AppOptions.Search = SearchButtons->checkedId();
  if (FOptions.Spline) FOptions.Spline->SetModified(true);
  accept();
}

bool TSynthOptionsDlg::IsRead(const QLineEdit* edit) const {
  if (edit == MaxLinkLengthEdit) return MaxLinkLengthBox->isChecked();
  if (edit == TotalInEdit) return TotalInBox->isChecked();
  return true;
}

double TSynthOptionsDlg::FieldValue(const QLineEdit* edit) const {
  const QString text = edit->text();
  if (edit == MaxLinkLengthEdit) {
    const double length = shared::EditToSIWithin(shared::cuLength, text, 0, shared::kMaxLength);
    // A limit of 0 would reject every linkage.
    if (!(length > 0)) throw shared::EConvertError("Value should be greater than 0");
    return length;
  }
  // The transmission angle lies between 0 and 90 degrees.
  if (edit == MinTransAngleEdit)
    return shared::EditToSIWithin(shared::cuAngle, text, 0, std::numbers::pi / 2);
  const double angle =
      shared::EditToSIWithin(shared::cuAngle, text, -shared::kMaxRotation, shared::kMaxRotation);
  if (!(std::fabs(angle) >= kMinTotalIn)) throw shared::EConvertError("Value should not be equal to 0");
  return angle;
}

void TSynthOptionsDlg::RecheckFailedField() {
  if (!FFailedEdit) return;
  // A field switched off is not read at all.
  if (IsRead(FFailedEdit)) {
    try {
      FieldValue(FFailedEdit);
    } catch (const shared::EConvertError&) {
      return;
    }
  }
  FFailedEdit = nullptr;
  StatusBar->clearMessage();
  StatusTimerTimer();
}

void TSynthOptionsDlg::ShowError(const std::string& message, QLineEdit* edit) {
  FFailedEdit = edit;
  StatusBar->showMessage(ToQString(message));
  shared::Beep();
  SetStatusColor(Qt::yellow);
  StatusTimer->start();
  PageControl->setCurrentWidget(GeneralSheet);
  edit->setFocus();
}

void TSynthOptionsDlg::StatusTimerTimer() {
  StatusTimer->stop();
  SetStatusColor(palette().color(QPalette::Button));
}

void TSynthOptionsDlg::SetStatusColor(const QColor& color) {
  QPalette p = StatusBar->palette();
  p.setColor(QPalette::Window, color);
  StatusBar->setPalette(p);
}

void TSynthOptionsDlg::HelpBtnClick() {
  if (FHelpHandler) FHelpHandler(HelpTopic);
}

}  // namespace vesk
