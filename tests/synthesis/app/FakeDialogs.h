// The main window's questions and file dialogs answered by a test: questions take the answers
// queued, file dialogs return the file named (none: the user cancels), and both are recorded.
#pragma once

#include <QString>
#include <deque>
#include <stdexcept>
#include <vector>

#include "shared/qt/UserDialogs.h"

namespace vesk {

class TFakeDialogs : public shared::TUserDialogs {
 public:
  std::deque<shared::TAnswer> Answers;
  std::vector<QString> Questions;
  // The file a pick returns; empty cancels the dialog.
  QString PickedFile;
  std::vector<shared::TFileRequest> Requests;

  shared::TAnswer Ask(const QString& text) override {
    Questions.push_back(text);
    if (Answers.empty()) throw std::logic_error("unexpected question: " + text.toStdString());
    const shared::TAnswer answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  bool PickOpenFile(shared::TFileRequest& request) override { return Pick(request); }
  bool PickSaveFile(shared::TFileRequest& request) override { return Pick(request); }

 private:
  bool Pick(shared::TFileRequest& request) {
    Requests.push_back(request);
    if (PickedFile.isEmpty()) return false;
    request.FileName = PickedFile;
    return true;
  }
};

}  // namespace vesk
