// TMessageMemo: the read-only memo of the main window that the message log writes to. Each line
// tints it for 900 ms (red for errors, yellow for warnings, white otherwise), then it returns to
// the button-face colour. Notices, warnings and errors play their kind's wave file.
#pragma once

#include <QColor>
#include <QPlainTextEdit>
#include <QTimer>

#include "animator/engine/StdOut.h"

namespace quillon {

class TMessageMemo : public QPlainTextEdit, public TMessageSink {
  Q_OBJECT

 public:
  static constexpr int kTintMilliseconds = 900;

  explicit TMessageMemo(QWidget* parent = nullptr);

  void AppendLine(const std::string& line, TMessageKind kind) override;
  void ClearLines() override;

  QColor BackgroundColour() const;
  bool IsTinted() const { return TintTimer.isActive(); }
  // A $00BBGGRR colour value as Qt's colour.
  static QColor FromColourValue(unsigned value);

 private:
  void SetBackground(const QColor& colour);
  void EndTint();
  QTimer TintTimer;
};

}  // namespace quillon
