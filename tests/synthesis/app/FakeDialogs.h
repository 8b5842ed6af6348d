// The main window's questions and file dialogs answered by a test: questions take the answers
// queued, file dialogs return the file named (none: the user cancels), and both are recorded.
#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <stdexcept>
#include <vector>

#include "shared/qt/UserDialogs.h"

namespace vesk {

class TFakeDialogs : public shared::TUserDialogs {
 public:
  std::deque<shared::TAnswer> Answers;
  std::vector<QString> Questions;
  // The buttons each question offered: "Yes No Cancel" or "Yes No".
  std::vector<QString> Buttons;
  // The file a pick returns; empty cancels the dialog.
  QString PickedFile;
  std::vector<shared::TFileRequest> Requests;
  // Runs while a question or file dialog is open, where its event loop would run.
  std::function<void()> WhileOpen;

  shared::TAnswer Ask(const QString& text) override { return Answer(text, QStringLiteral("Yes No Cancel")); }
  bool Confirm(const QString& text) override {
    return Answer(text, QStringLiteral("Yes No")) == shared::TAnswer::Yes;
  }
  bool PickOpenFile(shared::TFileRequest& request) override { return Pick(request); }
  bool PickSaveFile(shared::TFileRequest& request) override { return Pick(request); }

 private:
  shared::TAnswer Answer(const QString& text, const QString& buttons) {
    Questions.push_back(text);
    Buttons.push_back(buttons);
    if (WhileOpen) WhileOpen();
    if (Answers.empty()) throw std::logic_error("unexpected question: " + text.toStdString());
    const shared::TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  bool Pick(shared::TFileRequest& request) {
    Requests.push_back(request);
    if (WhileOpen) WhileOpen();
    if (PickedFile.isEmpty()) return false;
    request.FileName = PickedFile;
    return true;
  }
};

}  // namespace vesk
