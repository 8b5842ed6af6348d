// The file progress dialog: its controls sized from the font, and the bar that callers step.
#include "synthesis/app/FileProgressDlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "shared/qt/ModalScope.h"
#include "shared/qt/QtText.h"

namespace vesk {

TFileProgressDlg::TFileProgressDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("FileProgressDlg");
  setWindowTitle("Dialog");
  setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  ProgressBar = new QProgressBar(this);
  ProgressBar->setObjectName("ProgressBar");
  ProgressBar->setRange(0, 100);
  ProgressBar->setTextVisible(false);
  CancelBtn = new QPushButton("Cancel", this);
  CancelBtn->setObjectName("CancelBtn");
  // Nobody waits for the answer; the button only closes the dialog.
  connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

  // The design sizes grow with the font, and the button never gets less than its text needs.
  const double scale = std::max(1.0, fontMetrics().height() / double(kDesignFontHeight));
  const auto scaled = [scale](int pixels) { return int(std::lround(pixels * scale)); };
  ProgressBar->setFixedWidth(scaled(kDesignBarWidth));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(scaled(8), scaled(4), scaled(8), scaled(4));
  layout->setSpacing(scaled(8));
  layout->addWidget(ProgressBar, 0, Qt::AlignVCenter);
  layout->addWidget(CancelBtn, 1, Qt::AlignVCenter);
  const QSize needed = layout->totalMinimumSize();
  setFixedSize(std::max(scaled(kDesignWidth), needed.width()), std::max(scaled(kDesignHeight), needed.height()));
}

void TFileProgressDlg::showEvent(QShowEvent* event) {
  ProgressBar->setValue(0);
  QDialog::showEvent(event);
}

void TFileProgressDlg::ShowCaption(const std::string& text) {
  setWindowTitle(shared::ToQString(text));
  show();
  // The events pumped here are the window's, not the idle work's.
  const shared::TModalScope modal;
  QApplication::processEvents();
}

void TFileProgressDlg::SetRange(int maximum, int step) {
  ProgressBar->setRange(0, std::max(0, maximum));
  FStep = step;
}

void TFileProgressDlg::StepIt() {
  // No candidate may enter the solution list between the records of a file.
  const shared::TModalScope modal;
  QApplication::processEvents();
  // A full bar stays full: more steps than the range was set for do not start it again.
  ProgressBar->setValue(std::clamp(ProgressBar->value() + FStep, ProgressBar->minimum(), ProgressBar->maximum()));
  QApplication::processEvents();
}

}  // namespace vesk
