// The About box: labels, the two links and the opening sound.
#include "shared/qt/AboutDlg.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "shared/ProgramInfo.h"
#include "shared/ShellOpen.h"
#include "shared/Sound.h"
#include "shared/qt/QtText.h"

namespace shared {

namespace {

QLabel* NewLabel(const std::string& text, const char* name, QWidget* parent) {
  auto* label = new QLabel(ToQString(text), parent);
  label->setObjectName(name);
  return label;
}

void MakeLink(QLabel* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::blue);
  label->setPalette(palette);
  label->setCursor(Qt::PointingHandCursor);
}

}  // namespace

TAboutInfo AboutInfoFor(const TProgramInfo& program) {
  TAboutInfo info;
  info.ProgramName = program.Title;
  info.Version = program.Version;
  info.Date = program.BuildDate;
  info.Copyright = program.Notice;
  const std::string scheme = "mailto:";
  info.MailAddress = program.Mail.rfind(scheme, 0) == 0 ? program.Mail.substr(scheme.size()) : program.Mail;
  info.MailLink = program.MailWithSubject;
  info.URL = program.ProductURL;
  return info;
}

TAboutDlg::TAboutDlg(const TAboutInfo& info, QWidget* parent) : QDialog(parent), MailLink(info.MailLink) {
  setObjectName("AboutDlg");
  setWindowTitle("About");
  setModal(true);

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setPixmap(QApplication::windowIcon().pixmap(32, 32));
  ProgramName = NewLabel(info.ProgramName, "ProgramName", this);
  QFont bold = ProgramName->font();
  bold.setBold(true);
  ProgramName->setFont(bold);
  VersionLabel = NewLabel("Version " + info.Version, "VersionLabel", this);
  DateLabel = NewLabel(info.Date, "DateLabel", this);
  CopyrightLabel = NewLabel(info.Copyright, "CopyrightLabel", this);
  RightsLabel = NewLabel(info.Rights, "RightsLabel", this);
  MailLabel = NewLabel(info.MailAddress, "MailLabel", this);
  URLLabel = NewLabel(info.URL, "URLLabel", this);
  for (QLabel* link : {MailLabel, URLLabel}) {
    MakeLink(link);
    link->installEventFilter(this);
  }
  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* texts = new QVBoxLayout;
  for (QLabel* label :
       {ProgramName, VersionLabel, DateLabel, CopyrightLabel, RightsLabel, MailLabel, URLLabel}) {
    texts->addWidget(label);
    label->setVisible(!label->text().isEmpty());
  }
  auto* top = new QHBoxLayout;
  top->addWidget(ProgramIcon, 0, Qt::AlignTop);
  top->addLayout(texts, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(OKButton);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(buttons);
}

void TAboutDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Once when it opens, not again when the window system shows it after a minimise.
  if (!event->spontaneous()) PlayWave("About.wav", kWaveNoStop | kWaveNoDefault);
}

bool TAboutDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    if (watched == MailLabel) {
      MailLabelClick();
      return true;
    }
    if (watched == URLLabel) {
      URLLabelClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutDlg::MailLabelClick() { ShellOpen(MailLink); }

void TAboutDlg::URLLabelClick() { ShellOpen(FromQString(URLLabel->text())); }

}  // namespace shared
