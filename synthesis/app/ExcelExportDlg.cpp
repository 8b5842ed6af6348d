// The Excel export options: three boxes, all checked at first, and OK and Cancel.
#include "synthesis/app/ExcelExportDlg.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vesk {

TExcelExportDialog::TExcelExportDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ExcelExportDialog"));
  setWindowTitle(QStringLiteral("Excel Export Options"));
  setModal(true);
  const auto box = [this](const char* name, const char* caption) {
    auto* check = new QCheckBox(QString::fromLatin1(caption), this);
    check->setObjectName(QString::fromLatin1(name));
    check->setChecked(true);
    return check;
  };
  PropCheckBox = box("PropCheckBox", "Include Mechanism Properties");
  GraphCheckBox = box("GraphCheckBox", "Include Graphs");
  DataCheckBox = box("DataCheckBox", "Include Motion Data");
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setDefault(true);
  CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
  CancelButton->setObjectName(QStringLiteral("CancelButton"));

  // Each rule moves its partner only one way (Data off takes Graphs off, Graphs on takes Data
  // on), so the two never chase each other.
  connect(DataCheckBox, &QCheckBox::toggled, this, [this](bool checked) { DataCheckBoxClick(checked); });
  connect(GraphCheckBox, &QCheckBox::toggled, this, [this](bool checked) { GraphCheckBoxClick(checked); });
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton);
  buttons->addWidget(CancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(PropCheckBox);
  layout->addWidget(GraphCheckBox);
  layout->addWidget(DataCheckBox);
  layout->addSpacing(fontMetrics().height() / 2);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TWorkbookOptions TExcelExportDialog::Options() const {
  TWorkbookOptions options;
  options.Properties = PropCheckBox->isChecked();
  options.Graphs = GraphCheckBox->isChecked();
  options.Data = DataCheckBox->isChecked();
  return options;
}

void TExcelExportDialog::DataCheckBoxClick(bool checked) {
  if (!checked) GraphCheckBox->setChecked(false);
}

void TExcelExportDialog::GraphCheckBoxClick(bool checked) {
  if (checked) DataCheckBox->setChecked(true);
}

}  // namespace vesk
