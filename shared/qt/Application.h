// TGuardedApplication: the application object of both programs. No C++ exception crosses Qt's
// event loop: one handler shows its text in a message box and the event counts as handled.
#pragma once

#include <QApplication>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

namespace shared {

class TGuardedApplication : public QApplication {
  Q_OBJECT

 public:
  TGuardedApplication(int& argc, char** argv);
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

// The command-line document: the arguments after the program's name, each preceded by one
// blank, trimmed at both ends, so a path with blanks that arrives in pieces is whole again.
QString JoinCommandLine(const QStringList& arguments);

}  // namespace shared
