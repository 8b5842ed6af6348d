// The questions and file dialogs of the main window behind one interface, so that tests answer
// them; TQtUserDialogs shows the real ones.
#pragma once

#include <QString>

class QWidget;

namespace shared {

enum class TAnswer { Yes, No, Cancel };

// A file dialog's settings and, after a pick, its result (FileName and FilterIndex).
// Filter is "Text|pattern|Text|pattern", FilterIndex counts its pairs from 1.
struct TFileRequest {
  QString Title;
  QString Filter;
  int FilterIndex = 1;
  QString DefaultExt;
  QString InitialDir;
  QString FileName;
};

class TUserDialogs {
 public:
  virtual ~TUserDialogs() = default;
  // A confirmation with Yes, No and Cancel; closing the box is Cancel.
  virtual TAnswer Ask(const QString& text) = 0;
  // A confirmation with Yes and No only; true for Yes. Closing the box is No.
  virtual bool Confirm(const QString& text) { return Ask(text) == TAnswer::Yes; }
  // True when the user picked a file; the request then holds it.
  virtual bool PickOpenFile(TFileRequest& request) = 0;
  virtual bool PickSaveFile(TFileRequest& request) = 0;
};

// "Text|*.a|Other|*.b;*.c" as Qt writes filters: "Text (*.a);;Other (*.b *.c)".
QString QtFilter(const QString& filter);

class TQtUserDialogs : public TUserDialogs {
 public:
  explicit TQtUserDialogs(QWidget* parent) : Parent(parent) {}
  TAnswer Ask(const QString& text) override;
  bool Confirm(const QString& text) override;
  bool PickOpenFile(TFileRequest& request) override;
  bool PickSaveFile(TFileRequest& request) override;

 private:
  bool Pick(TFileRequest& request, bool save);
  QWidget* Parent;
};

}  // namespace shared
