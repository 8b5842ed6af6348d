// TDialogStatus: the one-panel status bar of the programs' dialogs that reports a refused input:
// the message, a yellow bar and a beep, and a timer that gives the bar its normal colour back.
#pragma once

#include <QObject>
#include <QString>

class QLabel;
class QLineEdit;
class QStatusBar;
class QTimer;
class QWidget;

namespace shared {

// The text of an edit as a value in SI units. Raises shared::EConvertError with the unit
// service's message for a text that is not a number, and for one whose value is not finite once
// converted.
double EditToSI(int category, const QString& text);
// EditToSI that also refuses a value outside low..high (SI, both taken) with the unit service's
// message naming the range (TConvert::TextToSIWithin).
double EditToSIWithin(int category, const QString& text, double low, double high);

// An edit remembers the text it was given, so a value shown rounded and left as it was is not
// read back rounded.
void ShowEditText(QLineEdit* edit, const QString& text);
bool EditUnchanged(const QLineEdit* edit);

class TDialogStatus : public QObject {
  Q_OBJECT

 public:
  // The bar and its timer are children of the dialog and named StatusBar1 and Timer1.
  explicit TDialogStatus(QWidget* dialog);

  // Text cleared, button-face colour, timer stopped (the dialog's showing).
  void Clear();
  // The message, the bar $00FFFF (yellow), a beep, and the timer started.
  void Fail(const QString& message);
  // The timer's end: stopped, the bar back to the button-face colour. The text stays.
  void Timer1Timer();

  QString Text() const;
  bool IsHighlighted() const { return Highlighted; }

  QStatusBar* StatusBar1;
  QLabel* Panel;
  QTimer* Timer1;

 private:
  void SetHighlighted(bool on);

  bool Highlighted = false;
};

}  // namespace shared
