// The message memo: lines of the log with a short tint per kind.
#include "animator/app/MessageMemo.h"

#include <QApplication>
#include <QScrollBar>

#include "shared/Sound.h"
#include "shared/qt/QtText.h"

namespace quillon {

TMessageMemo::TMessageMemo(QWidget* parent) : QPlainTextEdit(parent) {
  setReadOnly(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  // Long messages wrap at the memo's width, so the narrow panel shows them whole.
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // A named child, so a test can run the tint out without waiting; as a member it leaves the
  // children before the memo deletes them.
  TintTimer.setParent(this);
  TintTimer.setObjectName(QStringLiteral("TintTimer"));
  TintTimer.setSingleShot(true);
  TintTimer.setInterval(kTintMilliseconds);
  connect(&TintTimer, &QTimer::timeout, this, [this] { EndTint(); });
  EndTint();
}

void TMessageMemo::AppendLine(const std::string& line, TMessageKind kind) {
  appendPlainText(shared::ToQString(line));
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  SetBackground(FromColourValue(TStdOut::Colour(kind)));
  TintTimer.start();
  // A sound still playing goes on; a missing notice sound stays silent, while a missing warning
  // or error sound gives the default sound.
  const std::string wave = TStdOut::SoundFile(kind);
  if (!wave.empty()) {
    shared::PlayWave(wave,
                     shared::kWaveNoStop | (kind == TMessageKind::Notify ? shared::kWaveNoDefault : 0u));
  }
}

void TMessageMemo::ClearLines() { clear(); }

QColor TMessageMemo::BackgroundColour() const { return palette().color(QPalette::Base); }

QColor TMessageMemo::FromColourValue(unsigned value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

void TMessageMemo::SetBackground(const QColor& colour) {
  QPalette shades = palette();
  shades.setColor(QPalette::Base, colour);
  setPalette(shades);
}

void TMessageMemo::EndTint() { SetBackground(QApplication::palette().color(QPalette::Button)); }

}  // namespace quillon
