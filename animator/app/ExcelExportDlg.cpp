// The workbook export's option form: boxes, texts, settings and help.
#include "animator/app/ExcelExportDlg.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "animator/app/LanguageFile.h"
#include "shared/Settings.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

constexpr const char* kSettingsSection = "ExcelExportDlg";
constexpr const char* kTextSection = "ToExcel";

// A box's component name, its form caption, and its language key, which is also its settings
// value, with the language file's default.
struct TBoxText {
  const char* Name;
  const char* Caption;
  const char* Key;
  const char* Text;
};

constexpr TBoxText kBoxes[9] = {
    {"PropCheck", "Mechanism properties", "Properties", "Mechanism properties"},
    {"VectorsCheck", "Vectors of output joint", "Vectors", "Vectors of joint positions"},
    {"PathCheck", "Path Length", "Path", "Path length"},
    {"VelCheck", "Path Velocity", "Vel", "Path velocity"},
    {"AccCheck", "Path Acceleration", "Acc", "Path acceleration"},
    {"RotCheck", "Link Rotation", "Rot", "Link rotation"},
    {"AngVelCheck", "Link Angular Velocity", "AngVel", "Link angular velocity"},
    {"AngAccCheck", "Link Angular Acceleration", "AngAcc", "Link angular acceleration"},
    {"TransCheck", "Transmission Angle", "Trans", "Transmission angles"},
};

QPushButton* NewButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TExcelExportDlg::TExcelExportDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ExcelExportDlg"));
  setWindowTitle(QStringLiteral("Export to Excel"));
  setModal(true);

  OKButton = NewButton("OK", "OKButton", this);
  OKButton->setDefault(true);
  CancelButton = NewButton("Cancel", "CancelButton", this);
  HelpButton = NewButton("Help", "HelpButton", this);
  GroupBox1 = new QGroupBox(QStringLiteral("Include in Excel Workbook:"), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  auto* boxLayout = new QVBoxLayout(GroupBox1);
  QCheckBox** boxes[9] = {&PropCheck, &VectorsCheck, &PathCheck,   &VelCheck,  &AccCheck,
                          &RotCheck,  &AngVelCheck,  &AngAccCheck, &TransCheck};
  for (int i = 0; i < 9; ++i) {
    auto* box = new QCheckBox(QString::fromLatin1(kBoxes[i].Caption), GroupBox1);
    box->setObjectName(QString::fromLatin1(kBoxes[i].Name));
    box->setChecked(true);
    boxLayout->addWidget(box);
    *boxes[i] = box;
  }

  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });

  // The buttons on the right of the group, as the form has them; the layouts size the form
  // from the font, so longer texts of the language file do not clip.
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  buttons->addWidget(HelpButton);
  buttons->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(GroupBox1, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  QWidget* order[] = {OKButton, CancelButton, HelpButton, PropCheck,   VectorsCheck, PathCheck,
                      VelCheck, AccCheck,     RotCheck,   AngVelCheck, AngAccCheck,  TransCheck};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

TExcelExportDlg::~TExcelExportDlg() {
  // Settings that cannot be written at the end of the run are lost; nothing else can be done.
  try {
    SaveSettings();
  } catch (...) {
  }
}

void TExcelExportDlg::ReadTexts(const TLanguageFile& texts) {
  const auto read = [&](const char* key, const char* fallback) {
    return shared::ToQString(texts.ReadString(kTextSection, key, fallback));
  };
  setWindowTitle(read("Caption", "Export to Excel"));
  GroupBox1->setTitle(read("Caption2", "Include in Excel Workbook:"));
  const auto boxes = Boxes();
  for (int i = 0; i < 9; ++i) boxes[i]->setText(read(kBoxes[i].Key, kBoxes[i].Text));
  OKButton->setText(read("OK", "OK"));
  CancelButton->setText(read("Cancel", "Cancel"));
  HelpButton->setText(read("Help", "Help"));
}

void TExcelExportDlg::SetRegistryKey(const std::string& key) {
  RegistryKey = key;
  LoadSettings();
}

void TExcelExportDlg::LoadSettings() {
  if (RegistryKey.empty()) return;
  const auto settings = shared::OpenSettings(RegistryKey);
  const auto boxes = Boxes();
  for (int i = 0; i < 9; ++i) boxes[i]->setChecked(settings->ReadBool(kSettingsSection, kBoxes[i].Key, true));
}

void TExcelExportDlg::SaveSettings() {
  if (RegistryKey.empty()) return;
  const auto settings = shared::OpenSettings(RegistryKey);
  const auto boxes = Boxes();
  for (int i = 0; i < 9; ++i) settings->WriteBool(kSettingsSection, kBoxes[i].Key, boxes[i]->isChecked());
}

std::array<QCheckBox*, 9> TExcelExportDlg::Boxes() const {
  return {PropCheck, VectorsCheck, PathCheck,   VelCheck,  AccCheck,
          RotCheck,  AngVelCheck,  AngAccCheck, TransCheck};
}

bool TExcelExportDlg::PropChecked() const { return PropCheck->isChecked(); }
bool TExcelExportDlg::VectorsChecked() const { return VectorsCheck->isChecked(); }
bool TExcelExportDlg::PathChecked() const { return PathCheck->isChecked(); }
bool TExcelExportDlg::VelChecked() const { return VelCheck->isChecked(); }
bool TExcelExportDlg::AccChecked() const { return AccCheck->isChecked(); }
bool TExcelExportDlg::RotChecked() const { return RotCheck->isChecked(); }
bool TExcelExportDlg::AngVelChecked() const { return AngVelCheck->isChecked(); }
bool TExcelExportDlg::AngAccChecked() const { return AngAccCheck->isChecked(); }
bool TExcelExportDlg::TransChecked() const { return TransCheck->isChecked(); }

TExcelExportOptions TExcelExportDlg::Options() const {
  TExcelExportOptions options;
  options.Properties = PropChecked();
  options.Vectors = VectorsChecked();
  options.Path = PathChecked();
  options.Vel = VelChecked();
  options.Acc = AccChecked();
  options.Rot = RotChecked();
  options.AngVel = AngVelChecked();
  options.AngAcc = AngAccChecked();
  options.Trans = TransChecked();
  return options;
}

void TExcelExportDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  OKButton->setFocus();
}

void TExcelExportDlg::HelpButtonClick() {
  if (HelpHandler) HelpHandler(HelpTopic);
}

}  // namespace quillon
