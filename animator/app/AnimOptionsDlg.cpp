// The view-options dialog and its colour box.
#include "animator/app/AnimOptionsDlg.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSlider>
#include <QStatusBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "animator/app/FieldRange.h"
#include "animator/app/LanguageFile.h"
#include "shared/Convert.h"
#include "shared/ProgramInfo.h"
#include "shared/qt/DialogStatus.h"
#include "shared/qt/PathName.h"
#include "shared/qt/QtText.h"

namespace quillon {

using shared::FromPath;
using shared::ToPath;
using shared::TQtUserDialogs;

namespace {

constexpr const char* kTextSection = "AnimOptions";

// The standard colours, $00BBGGRR.
struct TNamedColour {
  const char* Name;
  uint32_t Colour;
};
constexpr TNamedColour kColours[TColorBox::kNamedColours] = {
    {"Black", 0x000000},  {"Maroon", 0x000080},  {"Green", 0x008000}, {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080},  {"Teal", 0x808000},  {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},     {"Lime", 0x00FF00},  {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF}};

QColor ColourOf(uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

QIcon Swatch(uint32_t colour) {
  QPixmap pixmap(16, 12);
  pixmap.fill(ColourOf(colour));
  return QIcon(pixmap);
}

}  // namespace

TColorBox::TColorBox(QWidget* parent) : QComboBox(parent) {
  for (const TNamedColour& named : kColours)
    addItem(Swatch(named.Colour), QString::fromLatin1(named.Name), QVariant::fromValue(named.Colour));
}

void TColorBox::SetColour(uint32_t colour) {
  for (int i = 0; i < kNamedColours; ++i) {
    if (kColours[i].Colour == colour) {
      setCurrentIndex(i);
      return;
    }
  }
  if (count() == kNamedColours) addItem(QString());
  setItemText(kNamedColours, QStringLiteral("Custom"));
  setItemIcon(kNamedColours, Swatch(colour));
  setItemData(kNamedColours, QVariant::fromValue(colour));
  setCurrentIndex(kNamedColours);
}

uint32_t TColorBox::Colour() const { return currentData().value<uint32_t>(); }

TAnimOptionsDlg::TAnimOptionsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AnimOptionsDlg"));
  setWindowTitle(QStringLiteral("View Options"));
  PickOpenFile = [this](TFileRequest& request) { return TQtUserDialogs(this).PickOpenFile(request); };

  const auto colourBox = [](QWidget* parent, const char* name) {
    auto* box = new TColorBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };
  const auto checkBox = [](QWidget* parent, const char* name, const char* caption) {
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
  };

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));

  // General: what is shown, each with its colour.
  auto* general = new QWidget;
  auto* showGroup = new QGroupBox(QStringLiteral("Show"), general);
  auto* showLayout = new QGridLayout(showGroup);
  PathCheckBox = checkBox(showGroup, "PathCheckBox", "Path");
  VelCheckBox = checkBox(showGroup, "VelCheckBox", "Velocity Vector");
  AccCheckBox = checkBox(showGroup, "AccCheckBox", "Acceleration Vector");
  ICCheckBox = checkBox(showGroup, "ICCheckBox", "Instant Centers");
  LabelCheckBox = checkBox(showGroup, "LabelCheckBox", "Joint Labels");
  PathColorBox = colourBox(showGroup, "PathColorBox");
  VelColorBox = colourBox(showGroup, "VelColorBox");
  AccColorBox = colourBox(showGroup, "AccColorBox");
  ICColorBox = colourBox(showGroup, "ICColorBox");
  LabelColorBox = colourBox(showGroup, "LabelColorBox");
  const std::pair<QCheckBox*, TColorBox*> shows[5] = {{PathCheckBox, PathColorBox},
                                                      {VelCheckBox, VelColorBox},
                                                      {AccCheckBox, AccColorBox},
                                                      {ICCheckBox, ICColorBox},
                                                      {LabelCheckBox, LabelColorBox}};
  for (int i = 0; i < 5; ++i) {
    showLayout->addWidget(shows[i].first, i, 0);
    showLayout->addWidget(shows[i].second, i, 1);
  }
  auto* generalLayout = new QVBoxLayout(general);
  generalLayout->addWidget(showGroup);
  generalLayout->addStretch();
  PageControl1->addTab(general, QStringLiteral("General"));

  // Background: none, axes, grid with its size and colour, or a DXF drawing.
  auto* background = new QWidget;
  auto* backgroundLayout = new QGridLayout(background);
  const auto radio = [&](const char* name, const char* caption, shared::TGridStyle style) {
    auto* button = new QRadioButton(QString::fromLatin1(caption), background);
    button->setObjectName(QString::fromLatin1(name));
    connect(button, &QRadioButton::clicked, this, [this, style] { NoneButtonClick(style); });
    return button;
  };
  NoneButton = radio("NoneButton", "None", shared::TGridStyle::None);
  AxisButton = radio("AxisButton", "Axis", shared::TGridStyle::Axes);
  GridButton = radio("GridButton", "Grid", shared::TGridStyle::Lines);
  DXFButton = radio("DXFButton", "DXF Background", shared::TGridStyle::Background);
  GridSizeEdit = new QLineEdit(background);
  GridSizeEdit->setObjectName(QStringLiteral("GridSizeEdit"));
  GridUnitLabel = new QLabel(background);
  GridUnitLabel->setObjectName(QStringLiteral("GridUnitLabel"));
  GridColorBox = colourBox(background, "GridColorBox");
  DXFEdit = new QLineEdit(background);
  DXFEdit->setObjectName(QStringLiteral("DXFEdit"));
  DXFEdit->setReadOnly(true);
  BrowseButton = new QPushButton(QStringLiteral("..."), background);
  BrowseButton->setObjectName(QStringLiteral("BrowseButton"));
  BrowseButton->setAutoDefault(false);
  BrowseButton->setFixedWidth(BrowseButton->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 16);
  backgroundLayout->addWidget(NoneButton, 0, 0);
  backgroundLayout->addWidget(AxisButton, 1, 0);
  backgroundLayout->addWidget(GridButton, 2, 0);
  backgroundLayout->addWidget(GridSizeEdit, 2, 1);
  backgroundLayout->addWidget(GridUnitLabel, 2, 2);
  backgroundLayout->addWidget(new QLabel(QStringLiteral("Grid Color"), background), 3, 0, Qt::AlignRight);
  backgroundLayout->addWidget(GridColorBox, 3, 1, 1, 2);
  backgroundLayout->addWidget(DXFButton, 4, 0);
  backgroundLayout->addWidget(DXFEdit, 4, 1);
  backgroundLayout->addWidget(BrowseButton, 4, 2);
  backgroundLayout->setRowStretch(5, 1);
  backgroundLayout->setColumnStretch(1, 1);
  PageControl1->addTab(background, QStringLiteral("Background"));

  // View: the links' colours and the stick figures.
  auto* view = new QWidget;
  auto* linkGroup = new QGroupBox(QStringLiteral("Link Options"), view);
  auto* linkLayout = new QFormLayout(linkGroup);
  LinkColorBox = colourBox(linkGroup, "LinkColorBox");
  EdgeColorBox = colourBox(linkGroup, "EdgeColorBox");
  JointColorBox = colourBox(linkGroup, "JointColorBox");
  StickCheckBox = checkBox(linkGroup, "StickCheckBox", "Stick Figure");
  linkLayout->addRow(QStringLiteral("Link Area Color"), LinkColorBox);
  linkLayout->addRow(QStringLiteral("Edge Line Color"), EdgeColorBox);
  linkLayout->addRow(QStringLiteral("Joint Area Color"), JointColorBox);
  linkLayout->addRow(StickCheckBox);
  auto* viewLayout = new QVBoxLayout(view);
  viewLayout->addWidget(linkGroup);
  viewLayout->addStretch();
  PageControl1->addTab(view, QStringLiteral("View"));

  // Other: the positions per cycle, in tens.
  auto* other = new QWidget;
  StepsGroupBox = new QGroupBox(QStringLiteral("Calculation steps"), other);
  StepsGroupBox->setObjectName(QStringLiteral("StepsGroupBox"));
  StepsTrackBar = new QSlider(Qt::Horizontal, StepsGroupBox);
  StepsTrackBar->setObjectName(QStringLiteral("StepsTrackBar"));
  StepsTrackBar->setRange(5, 36);
  StepsTrackBar->setPageStep(1);
  StepsTrackBar->setTickPosition(QSlider::TicksBelow);
  auto* stepsLayout = new QVBoxLayout(StepsGroupBox);
  stepsLayout->addWidget(StepsTrackBar);
  auto* otherLayout = new QVBoxLayout(other);
  otherLayout->addWidget(StepsGroupBox);
  otherLayout->addStretch();
  PageControl1->addTab(other, QStringLiteral("Other"));

  OKBtn = new QPushButton(QStringLiteral("OK"), this);
  OKBtn->setObjectName(QStringLiteral("OKBtn"));
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setAutoDefault(false);
  HelpButton = new QPushButton(QStringLiteral("Help"), this);
  HelpButton->setObjectName(QStringLiteral("HelpButton"));
  HelpButton->setAutoDefault(false);
  Status = new shared::TDialogStatus(this);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  for (QPushButton* button : {OKBtn, CancelBtn, HelpButton}) buttons->addWidget(button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PageControl1, 1);
  layout->addLayout(buttons);
  layout->addWidget(Status->StatusBar1);

  connect(BrowseButton, &QPushButton::clicked, this, [this] { BrowseButtonClick(); });
  connect(StepsTrackBar, &QSlider::valueChanged, this, [this] { StepsTrackBarChange(); });
  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    if (FormCloseQuery()) accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
  StepsTrackBarChange();
}

void TAnimOptionsDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TAnimOptionsDlg::FormShow() {
  Status->Clear();
  ShowValues();
  OKBtn->setFocus();
}

void TAnimOptionsDlg::ShowValues() {
  const shared::TConvert& convert = shared::Convert();
  GridSizeEdit->setText(shared::ToQString(convert.FormatSI(shared::cuLength, GridSize)));
  GridUnitLabel->setText(shared::ToQString(convert.UnitSymbol(shared::cuLength)));
  LinkColorBox->SetColour(LinkColour);
  EdgeColorBox->SetColour(EdgeColour);
  JointColorBox->SetColour(JointColour);
  GridColorBox->SetColour(GridColour);
  PathColorBox->SetColour(PathColour);
  VelColorBox->SetColour(VelColour);
  AccColorBox->SetColour(AccColour);
  ICColorBox->SetColour(ICColour);
  LabelColorBox->SetColour(LabelColour);
  PathCheckBox->setChecked(ShowPath);
  VelCheckBox->setChecked(ShowVel);
  AccCheckBox->setChecked(ShowAcc);
  ICCheckBox->setChecked(ShowIC);
  LabelCheckBox->setChecked(ShowLabels);
  if (QRadioButton* button = BackgroundButton(Background)) button->setChecked(true);
  DXFEdit->setText(FromPath(DXFFile));
  EnableBackgroundEdits();
}

QRadioButton* TAnimOptionsDlg::BackgroundButton(shared::TGridStyle style) const {
  switch (style) {
    case shared::TGridStyle::None:
      return NoneButton;
    case shared::TGridStyle::Axes:
      return AxisButton;
    case shared::TGridStyle::Lines:
      return GridButton;
    case shared::TGridStyle::Background:
      return DXFButton;
  }
  return nullptr;
}

void TAnimOptionsDlg::EnableBackgroundEdits() {
  GridSizeEdit->setEnabled(Background == shared::TGridStyle::Lines);
  DXFEdit->setEnabled(Background == shared::TGridStyle::Background);
}

void TAnimOptionsDlg::NoneButtonClick(shared::TGridStyle style) {
  Background = style;
  EnableBackgroundEdits();
}

void TAnimOptionsDlg::BrowseButtonClick() {
  TFileRequest request;
  request.Title = QStringLiteral("Open DXF file");
  request.Filter = QStringLiteral("DXF Files|*.dxf|All Files|*.*");
  request.FilterIndex = 1;
  request.DefaultExt = QStringLiteral("dxf");
  request.FileName = FromPath(DXFFile);
  if (!DXFFile.empty()) request.InitialDir = QFileInfo(FromPath(DXFFile)).absolutePath();
  if (!PickOpenFile || !PickOpenFile(request)) return;
  DXFEdit->setText(QFileInfo(request.FileName).fileName());
  DXFFile = ToPath(request.FileName);
}

void TAnimOptionsDlg::StepsTrackBarChange() {
  StepsGroupBox->setTitle(QStringLiteral("%1 calculation steps").arg(GetSteps()));
}

bool TAnimOptionsDlg::FormCloseQuery() { return ReadValues(); }

bool TAnimOptionsDlg::ReadValues() {
  try {
    if (!(shared::EditToSI(shared::cuLength, GridSizeEdit->text()) > 0))
      throw shared::EConvertError("Grid Size > 0");
    GridSize = EditToSIWithin(kLengthRange, GridSizeEdit->text());
  } catch (const shared::EConvertError& error) {
    Status->Fail(shared::ToQString(error.what()));
    // The edit may sit on a page that is not shown.
    PageControl1->setCurrentWidget(GridSizeEdit->parentWidget());
    GridSizeEdit->setFocus();
    return false;
  }
  LinkColour = LinkColorBox->Colour();
  EdgeColour = EdgeColorBox->Colour();
  JointColour = JointColorBox->Colour();
  GridColour = GridColorBox->Colour();
  PathColour = PathColorBox->Colour();
  VelColour = VelColorBox->Colour();
  AccColour = AccColorBox->Colour();
  ICColour = ICColorBox->Colour();
  LabelColour = LabelColorBox->Colour();
  ShowPath = PathCheckBox->isChecked();
  ShowVel = VelCheckBox->isChecked();
  ShowAcc = AccCheckBox->isChecked();
  ShowIC = ICCheckBox->isChecked();
  ShowLabels = LabelCheckBox->isChecked();
  return true;
}

int TAnimOptionsDlg::GetSteps() const { return 10 * StepsTrackBar->value(); }

void TAnimOptionsDlg::SetSteps(int n) { StepsTrackBar->setValue(n / 10); }

bool TAnimOptionsDlg::GetStick() const { return StickCheckBox->isChecked(); }

void TAnimOptionsDlg::SetStick(bool on) { StickCheckBox->setChecked(on); }

void TAnimOptionsDlg::Timer1Timer() { Status->Timer1Timer(); }

void TAnimOptionsDlg::HelpButtonClick() { shared::ProgramInfo().ShowHelpTopic("viewoptions.html"); }

void TAnimOptionsDlg::SetLanguage(const TLanguageFile& texts) {
  const auto read = [&](const char* key, const char* fallback) {
    return shared::ToQString(texts.ReadString(kTextSection, key, fallback));
  };
  setWindowTitle(read("Caption", "Animation Options"));
  OKBtn->setText(read("OK", "OK"));
  CancelBtn->setText(read("Cancel", "Cancel"));
  HelpButton->setText(read("Help", "Help"));
}

}  // namespace quillon
