// The questions, messages and file choices the file commands put to the
// user. The window shows them with Qt; tests answer them from a script.
#pragma once

#include <string>

class QWidget;

namespace plavesk {

enum class TAnswer { Yes, No, Cancel };
enum class TMessageKind { Information, Warning, Error };

class TUserDialogs {
 public:
  virtual ~TUserDialogs() = default;
  // Yes/No/Cancel with a question icon.
  virtual TAnswer askYesNoCancel(const std::string& title, const std::string& text) = 0;
  // Yes/No with a question icon; true for Yes.
  virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
  // OK/Cancel; true for OK.
  virtual bool askOkCancel(const std::string& title, const std::string& text) = 0;
  // OK/Cancel with an exclamation icon, for a warning before going on; "\r"
  // in the text breaks the line. Answered like askOkCancel unless a dialog
  // set shows it differently.
  virtual bool askOkCancelWarning(const std::string& title, const std::string& text) {
    return askOkCancel(title, text);
  }
  virtual void message(TMessageKind kind, const std::string& title, const std::string& text) = 0;
  // Empty when cancelled. `filter` is in Qt's "Name (*.ext);;..." form.
  virtual std::string chooseOpenFile(const std::string& title, const std::string& folder,
                                     const std::string& filter) = 0;
  virtual std::string chooseSaveFile(const std::string& title, const std::string& folder,
                                     const std::string& filter,
                                     const std::string& defaultSuffix) = 0;
};

// Message boxes and the platform's file dialogs, owned by `parent`.
class TQtUserDialogs : public TUserDialogs {
 public:
  explicit TQtUserDialogs(QWidget* parent) : parent_(parent) {}
  TAnswer askYesNoCancel(const std::string& title, const std::string& text) override;
  bool askYesNo(const std::string& title, const std::string& text) override;
  bool askOkCancel(const std::string& title, const std::string& text) override;
  bool askOkCancelWarning(const std::string& title, const std::string& text) override;
  void message(TMessageKind kind, const std::string& title, const std::string& text) override;
  std::string chooseOpenFile(const std::string& title, const std::string& folder,
                             const std::string& filter) override;
  std::string chooseSaveFile(const std::string& title, const std::string& folder,
                             const std::string& filter, const std::string& defaultSuffix) override;

 private:
  QWidget* parent_;
};

}  // namespace plavesk
