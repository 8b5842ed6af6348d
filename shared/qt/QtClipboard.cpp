// Clipboard text through QClipboard, converted at this edge.
#include "shared/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "shared/Cp1252.h"

namespace shared {

TQtClipboard::TQtClipboard(QClipboard* clipboard)
    : Clipboard(clipboard ? clipboard : QGuiApplication::clipboard()) {}

bool TQtClipboard::HasText() const {
  const QMimeData* data = Clipboard->mimeData();
  return data && data->hasText() && !data->text().isEmpty();
}

std::string TQtClipboard::GetText() const { return Utf8ToCp1252(Clipboard->text().toStdString()); }

void TQtClipboard::SetText(const std::string& text) {
  Clipboard->setText(QString::fromStdString(Cp1252ToUtf8(text)));
}

}  // namespace shared
