// The DXF import dialog: the preview frame, OK, Cancel and Help, and its layout in the settings.
#include "animator/app/DXFImportDlg.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "animator/app/DXFViewFrm.h"
#include "animator/engine/AniLink.h"
#include "animator/engine/StdOut.h"
#include "shared/Settings.h"
#include "shared/dxf/DXFDrawing.h"
#include "shared/qt/QtText.h"

namespace quillon {

namespace {

constexpr const char* kLayoutSection = "DXFImport";

}  // namespace

TDXFImportDlg::TDXFImportDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DXFImportDlg"));
  setWindowTitle(QStringLiteral("DXF Import"));
  DXFViewFrm1 = new TDXFViewFrm(this);
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));
  HelpButton = new QPushButton(QStringLiteral("Help"), this);
  HelpButton->setObjectName(QStringLiteral("HelpButton"));
  // Enter in the offset edits applies them; only a click or Space presses OK.
  for (QPushButton* button : {OKButton, CancelButton, HelpButton}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  buttons->addWidget(HelpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DXFViewFrm1, 1);
  layout->addLayout(buttons);

  connect(OKButton, &QPushButton::clicked, this, &TDXFImportDlg::accept);
  connect(CancelButton, &QPushButton::clicked, this, &TDXFImportDlg::reject);
  connect(HelpButton, &QPushButton::clicked, this, [this] { HelpButtonClick(); });

  // The design size, grown where the font needs more room.
  resize(QSize(575, 504).expandedTo(sizeHint()));
}

TDXFImportDlg::~TDXFImportDlg() {
  // A layout that cannot be written at the end of the run is lost; nothing else can be done.
  try {
    SaveLayout();
  } catch (...) {
  }
}

void TDXFImportDlg::SetCaptions() {
  TitleFormat = "Import DXF to Link %s";
  OKButton->setText(QStringLiteral("OK"));
  CancelButton->setText(QStringLiteral("Cancel"));
  HelpButton->setText(QStringLiteral("Help"));
  DXFViewFrm1->SetCaptions();
}

void TDXFImportDlg::SetRegistryKey(const std::string& key) {
  FRegistryKey = key;
  RestoreLayout();
}

void TDXFImportDlg::RestoreLayout() {
  if (FRegistryKey.empty()) return;
  setWindowState(Qt::WindowNoState);
  const auto settings = shared::OpenSettings(FRegistryKey);
  const int w = settings->ReadInteger(kLayoutSection, "Width", width());
  const int h = settings->ReadInteger(kLayoutSection, "Height", height());
  // Never smaller than its contents need.
  resize(QSize(w, h).expandedTo(minimumSizeHint()));
  // The first use, with no place stored yet, opens centred on the screen.
  if (!settings->ValueExists(kLayoutSection, "Left") || !settings->ValueExists(kLayoutSection, "Top")) {
    CentreOnScreen();
    return;
  }
  move(settings->ReadInteger(kLayoutSection, "Left", x()), settings->ReadInteger(kLayoutSection, "Top", y()));
}

void TDXFImportDlg::CentreOnScreen() {
  const QScreen* display = parentWidget() ? parentWidget()->screen() : screen();
  if (!display) display = QGuiApplication::primaryScreen();
  if (!display) return;
  QRect bounds(QPoint(), size());
  bounds.moveCenter(display->availableGeometry().center());
  move(bounds.topLeft());
}

void TDXFImportDlg::SaveLayout() {
  if (FRegistryKey.empty() || windowState() != Qt::WindowNoState) return;
  const auto settings = shared::OpenSettings(FRegistryKey);
  settings->WriteInteger(kLayoutSection, "Left", x());
  settings->WriteInteger(kLayoutSection, "Top", y());
  settings->WriteInteger(kLayoutSection, "Width", width());
  settings->WriteInteger(kLayoutSection, "Height", height());
}

void TDXFImportDlg::LoadFromLink(const shared::TDXFDrawing& drawing) {
  shared::TDXFDrawing& preview = *DXFViewFrm1->Drawing;
  if (drawing.FileName.empty()) {
    preview.Clear();
  } else {
    const std::string problem = LoadDrawingFile(preview, drawing.FileName);
    if (!problem.empty()) StdOut().Warning(problem);
  }
  preview.Transform.Assign(&drawing.Transform);
}

void TDXFImportDlg::Prepare(const std::string& letters, int jointIndex) {
  std::string caption = TitleFormat;
  const size_t at = caption.find("%s");
  if (at != std::string::npos) caption.replace(at, 2, letters);
  setWindowTitle(shared::ToQString(caption));
  DXFViewFrm1->SetJoints(letters, jointIndex);
}

void TDXFImportDlg::ApplyToLink(std::unique_ptr<shared::TDXFDrawing>& drawing) {
  std::swap(drawing, DXFViewFrm1->Drawing);
  DXFViewFrm1->Drawing->Clear();
}

int TDXFImportDlg::SelectedJoint() const { return DXFViewFrm1->JointBox->currentIndex(); }

void TDXFImportDlg::accept() {
  // A typed value counts though the focus never left its edit.
  if (!DXFViewFrm1->ApplyOffsets()) return;
  QDialog::accept();
}

void TDXFImportDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  DXFViewFrm1->ShowOffsets();
  OKButton->setFocus();
}

void TDXFImportDlg::HelpButtonClick() {
  if (HelpHandler) HelpHandler(HelpTopic);
}

}  // namespace quillon
