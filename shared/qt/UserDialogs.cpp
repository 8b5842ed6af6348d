// The main window's questions and file dialogs as Qt shows them.
#include "shared/qt/UserDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "shared/qt/ModalScope.h"

namespace shared {

QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    // The text may already name its patterns ("Bitmap Files (*.bmp)", "Excel files
    // (*.xlsx;*.xls)"); Qt reads the last pair of parentheses, so they are added once more only
    // when they differ, and a list with ";" is given Qt's blanks.
    const QString suffix = QStringLiteral(" (") + patterns + QLatin1Char(')');
    const QString named = QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    QString text = parts[i];
    if (text.endsWith(named)) text.chop(named.size());
    filters << (text.endsWith(suffix) ? text : text + suffix);
  }
  return filters.join(QStringLiteral(";;"));
}

TAnswer TQtUserDialogs::Ask(const QString& text) {
  const TModalScope modal;
  const auto button =
      QMessageBox::question(Parent, QApplication::applicationName(), text,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
  if (button == QMessageBox::Yes) return TAnswer::Yes;
  if (button == QMessageBox::No) return TAnswer::No;
  return TAnswer::Cancel;
}

bool TQtUserDialogs::Confirm(const QString& text) {
  const TModalScope modal;
  return QMessageBox::question(Parent, QApplication::applicationName(), text, QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::Yes) == QMessageBox::Yes;
}

bool TQtUserDialogs::PickOpenFile(TFileRequest& request) { return Pick(request, false); }

bool TQtUserDialogs::PickSaveFile(TFileRequest& request) { return Pick(request, true); }

bool TQtUserDialogs::Pick(TFileRequest& request, bool save) {
  QFileDialog dialog(Parent, request.Title, request.InitialDir);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  // The main window asks its own "Replace ?" question.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setDefaultSuffix(request.DefaultExt);
  const QStringList filters = QtFilter(request.Filter).split(QStringLiteral(";;"));
  dialog.setNameFilters(filters);
  if (request.FilterIndex >= 1 && request.FilterIndex <= filters.size()) {
    dialog.selectNameFilter(filters[request.FilterIndex - 1]);
  }
  if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
  const TModalScope modal;
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  request.FileName = dialog.selectedFiles().first();
  request.FilterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
  return true;
}

}  // namespace shared
