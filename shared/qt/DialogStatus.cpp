// The status bar of the programs' dialogs that reports a refused input.
#include "shared/qt/DialogStatus.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <cmath>

#include "shared/Convert.h"
#include "shared/Sound.h"
#include "shared/qt/QtText.h"

namespace shared {

namespace {

// $00FFFF in the registry's blue-green-red order.
const QColor kFailColour(255, 255, 0);
constexpr int kRestoreMs = 1000;

constexpr const char* kShownProperty = "ShownText";

}  // namespace

void ShowEditText(QLineEdit* edit, const QString& text) {
  edit->setText(text);
  edit->setProperty(kShownProperty, text);
}

bool EditUnchanged(const QLineEdit* edit) {
  const QVariant shown = edit->property(kShownProperty);
  return shown.isValid() && shown.toString() == edit->text();
}

double EditToSI(int category, const QString& text) {
  const std::string typed = FromQString(text.trimmed());
  const double value = Convert().TextToSI(category, typed);
  if (!std::isfinite(value)) throw EConvertError("'" + typed + "' is not a valid floating point value");
  return value;
}

double EditToSIWithin(int category, const QString& text, double low, double high) {
  return Convert().TextToSIWithin(category, FromQString(text.trimmed()), low, high);
}

TDialogStatus::TDialogStatus(QWidget* dialog) : QObject(dialog) {
  StatusBar1 = new QStatusBar(dialog);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setAutoFillBackground(true);
  Panel = new QLabel(StatusBar1);
  Panel->setObjectName(QStringLiteral("StatusPanel"));
  // A sunken panel, so the bar shows as one before its first message.
  Panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  // A conversion message repeats what was typed, however long: it wraps rather than clips.
  Panel->setWordWrap(true);
  StatusBar1->addWidget(Panel, 1);
  Timer1 = new QTimer(dialog);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kRestoreMs);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TDialogStatus::Clear() {
  Timer1->stop();
  Timer1->setInterval(kRestoreMs);
  Panel->clear();
  SetHighlighted(false);
}

void TDialogStatus::Fail(const QString& message) {
  Panel->setText(message);
  SetHighlighted(true);
  Beep();
  Timer1->start();
}

void TDialogStatus::Timer1Timer() {
  Timer1->stop();
  SetHighlighted(false);
}

QString TDialogStatus::Text() const { return Panel->text(); }

void TDialogStatus::SetHighlighted(bool on) {
  Highlighted = on;
  QPalette palette = StatusBar1->palette();
  palette.setColor(QPalette::Window,
                   on ? kFailColour : StatusBar1->style()->standardPalette().color(QPalette::Button));
  StatusBar1->setPalette(palette);
}

}  // namespace shared
