// The report options form: its controls in their tab order, Browse and Help.
#include "shared/qt/HTMLPrintDialog.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTime>
#include <QVBoxLayout>

#include "shared/qt/ProjectInfoDialog.h"
#include "shared/qt/QtText.h"

namespace shared {

namespace {

QCheckBox* NewCheckBox(const QString& caption, const char* name, bool checked, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(name);
  box->setChecked(checked);
  return box;
}

QPushButton* NewButton(const QString& caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

THTMLPrintDialog::THTMLPrintDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("HTMLPrintDialog");
  setWindowTitle("HTML Report Options");
  setModal(true);

  GroupBox = new QGroupBox("HTML Report Options", this);
  GroupBox->setObjectName("GroupBox");
  InfoCheckBox = NewCheckBox("Include Project Info", "InfoCheckBox", true, GroupBox);
  DrawingCheckBox = NewCheckBox("Include Mechanism Drawing", "DrawingCheckBox", true, GroupBox);
  PropCheckBox = NewCheckBox("Include Mechanism Properties", "PropCheckBox", true, GroupBox);
  PathCheckBox = NewCheckBox("Include Path Data", "PathCheckBox", false, GroupBox);
  FileNameEdit = new QLineEdit(GroupBox);
  FileNameEdit->setObjectName("FileNameEdit");
  FileNameEdit->setMinimumWidth(320);
  auto* fileLabel = new QLabel("HTML Report &Filename", GroupBox);
  fileLabel->setBuddy(FileNameEdit);
  BrowseButton = NewButton("&Browse", "BrowseButton", GroupBox);
  AutoPrintCheckBox = NewCheckBox("Automatically Print", "AutoPrintCheckBox", true, GroupBox);
  CurveCheckBox = NewCheckBox("Include Curve Definition", "CurveCheckBox", false, GroupBox);
  AreasCheckBox = NewCheckBox("Include Areas", "AreasCheckBox", false, GroupBox);

  // Laid out in the tab order, so the keyboard walks the form from top to bottom.
  auto* grid = new QGridLayout(GroupBox);
  grid->addWidget(InfoCheckBox, 0, 0, 1, 2);
  grid->addWidget(DrawingCheckBox, 1, 0, 1, 2);
  grid->addWidget(PropCheckBox, 2, 0, 1, 2);
  grid->addWidget(PathCheckBox, 3, 0, 1, 2);
  grid->addWidget(fileLabel, 4, 0, 1, 2);
  grid->addWidget(FileNameEdit, 5, 0);
  grid->addWidget(BrowseButton, 5, 1);
  grid->addWidget(AutoPrintCheckBox, 6, 0, 1, 2);
  grid->addWidget(CurveCheckBox, 7, 0, 1, 2);
  grid->addWidget(AreasCheckBox, 8, 0, 1, 2);
  grid->setColumnStretch(0, 1);

  OKButton = NewButton("OK", "OKButton", this);
  OKButton->setDefault(true);
  CancelButton = NewButton("Cancel", "CancelButton", this);
  HelpButton = NewButton("&Help", "HelpButton", this);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
  connect(HelpButton, &QPushButton::clicked, this, &THTMLPrintDialog::HelpButtonClick);
  connect(BrowseButton, &QPushButton::clicked, this, &THTMLPrintDialog::BrowseButtonClick);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  buttons->addWidget(HelpButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(GroupBox);
  layout->addLayout(buttons);

  QWidget* order[] = {InfoCheckBox,  DrawingCheckBox, PropCheckBox,      PathCheckBox,
                      FileNameEdit,  BrowseButton,    AutoPrintCheckBox, CurveCheckBox,
                      AreasCheckBox, OKButton,        CancelButton,      HelpButton};
  for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);
}

void THTMLPrintDialog::BrowseButtonClick() {
  QFileDialog dialog(this, "HTML Report Filename");
  dialog.setObjectName("SaveDialog");
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("html");
  dialog.setNameFilter("HTML files (*.html *.htm)");
  const QString current = FileNameEdit->text();
  if (!current.isEmpty()) {
    const QFileInfo info(current);
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
  }
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
    FileNameEdit->setText(dialog.selectedFiles().constFirst());
}

THtmlReportOptions THTMLPrintDialog::Options() const {
  THtmlReportOptions options;
  options.ProjectInfo = InfoCheckBox->isChecked();
  options.Drawing = DrawingCheckBox->isChecked();
  options.Properties = PropCheckBox->isChecked();
  options.PathData = PathCheckBox->isChecked();
  options.AutoPrint = AutoPrintCheckBox->isChecked();
  options.Curve = CurveCheckBox->isChecked();
  options.Areas = AreasCheckBox->isChecked();
  return options;
}

void THTMLPrintDialog::HelpButtonClick() {
  if (HelpHandler) HelpHandler(HelpTopic);
}

void ReportDateTime(std::string& date, std::string& time) {
  date = TProjectInfoDialog::Today();
  time = FromQString(QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat));
}

}  // namespace shared
