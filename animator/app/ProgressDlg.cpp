// The film recording's progress window.
#include "animator/app/ProgressDlg.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace quillon {

TProgressDlg::TProgressDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("ProgressDlg"));
  setWindowTitle(QStringLiteral("AVI Progress"));
  setModal(false);

  Label1 = new QLabel(QStringLiteral("Creating AVI file..."), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  ProgressBar1 = new QProgressBar(this);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 190);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
  CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
  CancelBtn->setAutoDefault(false);
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(ProgressBar1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CancelBtn);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  // Wide enough for a readable bar at any font size.
  const QFontMetrics metrics(font());
  ProgressBar1->setMinimumWidth(metrics.horizontalAdvance(QLatin1Char('x')) * 40);
  setFixedSize(sizeHint());
}

void TProgressDlg::SetMax(int max) { ProgressBar1->setMaximum(max); }

void TProgressDlg::StepIt() {
  const int next = ProgressBar1->value() + 1;
  if (next <= ProgressBar1->maximum()) ProgressBar1->setValue(next);
}

void TProgressDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormShow();
}

void TProgressDlg::FormShow() {
  ProgressBar1->setValue(0);
  Cancelled = false;
  // Centred on the owner each time.
  if (QWidget* owner = parentWidget()) {
    const QRect area = owner->frameGeometry();
    move(area.center() - rect().center());
  }
}

}  // namespace quillon
