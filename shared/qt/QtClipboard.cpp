// Clipboard text through QClipboard, converted at this edge.
#include "shared/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "shared/qt/QtText.h"

namespace shared {

TQtClipboard::TQtClipboard(QClipboard* clipboard)
    : Clipboard(clipboard ? clipboard : QGuiApplication::clipboard()) {}

bool TQtClipboard::HasText() const {
  const QMimeData* data = Clipboard->mimeData();
  return data && data->hasText() && !data->text().isEmpty();
}

std::string TQtClipboard::GetText() const { return FromQString(Clipboard->text()); }

void TQtClipboard::SetText(const std::string& text) { Clipboard->setText(ToQString(text)); }

}  // namespace shared
