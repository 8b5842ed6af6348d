// TQuillonApplication: the application object of the animator. No C++ exception crosses Qt's
// event loop: one handler shows its text in a message box and the event counts as handled.
#pragma once

#include <QApplication>
#include <QString>
#include <functional>
#include <string>

namespace quillon {

class TQuillonApplication : public QApplication {
  Q_OBJECT

 public:
  TQuillonApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

// Runs deliver; an exception goes to ShowException and the result is true (handled).
bool DeliverGuarded(const std::function<bool()>& deliver);

// The one place where an exception that no command caught is shown. The default handler shows
// a message box titled with the application name; tests replace it (nullptr restores it).
using TExceptionHandler = std::function<void(const QString& text)>;
void SetExceptionHandler(TExceptionHandler handler);
void ShowException(const QString& text);

// Exception texts are mostly Windows-1252 but may carry a path in UTF-8: valid UTF-8 is read
// as such, anything else as Windows-1252.
QString ExceptionText(const std::string& what);

}  // namespace quillon
