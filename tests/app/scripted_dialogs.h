// Answers the file commands' questions from a script and records what was
// asked and shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "app/user_dialogs.h"

namespace plavesk::testing {

class TScriptedDialogs : public TUserDialogs {
 public:
  std::deque<TAnswer> answers;         // for askYesNoCancel
  std::deque<bool> yesNo;              // for askYesNo and askOkCancel
  std::deque<std::string> openFiles;   // chooseOpenFile; empty = cancel
  std::deque<std::string> saveFiles;   // chooseSaveFile; empty = cancel
  std::vector<std::string> questions;  // texts of all questions asked
  std::vector<std::string> warnings;   // texts asked with askOkCancelWarning
  struct Message {
    TMessageKind kind;
    std::string title;
    std::string text;
  };
  std::vector<Message> messages;

  TAnswer askYesNoCancel(const std::string&, const std::string& text) override {
    questions.push_back(text);
    if (answers.empty()) return TAnswer::Cancel;
    TAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  bool askYesNo(const std::string&, const std::string& text) override { return nextBool(text); }
  bool askOkCancel(const std::string&, const std::string& text) override { return nextBool(text); }
  bool askOkCancelWarning(const std::string&, const std::string& text) override {
    warnings.push_back(text);
    return nextBool(text);
  }
  void message(TMessageKind kind, const std::string& title, const std::string& text) override {
    messages.push_back({kind, title, text});
  }
  std::string chooseOpenFile(const std::string&, const std::string&, const std::string&) override {
    return next(openFiles);
  }
  std::string chooseSaveFile(const std::string&, const std::string&, const std::string&,
                             const std::string&) override {
    return next(saveFiles);
  }

 private:
  bool nextBool(const std::string& text) {
    questions.push_back(text);
    if (yesNo.empty()) return false;
    bool b = yesNo.front();
    yesNo.pop_front();
    return b;
  }
  static std::string next(std::deque<std::string>& q) {
    if (q.empty()) return {};
    std::string s = q.front();
    q.pop_front();
    return s;
  }
};

}  // namespace plavesk::testing
