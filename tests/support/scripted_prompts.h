#pragma once
// A Prompts implementation for tests: records every prompt and answers from queues.
// An unanswered message box gets its first button's answer; an unanswered file, font or
// print dialog is cancelled; an unanswered input box gives the empty text.
#include <QFont>
#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "common/ui/prompts.h"

namespace tarvex::test {

struct PromptRecord {
  enum Kind { Message, Input, OpenFile, SaveFile, Font, Print } kind;
  QString text;   // message text, input prompt, or the dialog's filter
  QString title;  // as shown (the application's title when none was given)
  MsgButtons buttons = MsgButtons::OK;
  MsgIcon icon = MsgIcon::None;
  FileDialogRequest file;  // for file dialogs
  const QWidget* owner = nullptr;  // the window the dialog was owned by
};

class ScriptedPrompts : public Prompts {
 public:
  ScriptedPrompts();   // installs itself
  ~ScriptedPrompts() override;  // restores the Qt prompts

  // Queued answers, used in order.
  std::deque<MsgResult> messageAnswers;
  std::deque<QString> inputAnswers;
  std::deque<std::optional<QString>> fileAnswers;  // open and save dialogs share this queue
  std::deque<std::optional<QFont>> fontAnswers;
  // For print dialogs: an empty optional cancels; a path prints to that PDF file.
  std::deque<std::optional<QString>> printAnswers;

  std::vector<PromptRecord> records;

  // Texts of the message boxes shown so far, in order.
  std::vector<QString> Messages() const;
  // Drops the records; with answers, the next message boxes get these.
  void Clear() { records.clear(); }
  void Clear(std::deque<MsgResult> answers) { records.clear(), messageAnswers = std::move(answers); }

  MsgResult MsgBox(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
  QString InputBox(const QString& prompt, const QString& title, const QString& def) override;
  std::optional<QString> OpenFileName(const FileDialogRequest& req) override;
  std::optional<QString> SaveFileName(const FileDialogRequest& req) override;
  std::optional<QFont> PickFont(const QFont& initial) override;
  bool SetUpPrinter(QPrinter& printer) override;

 private:
  void Record(PromptRecord::Kind kind, const QString& text = QString(), const QString& title = QString(),
              MsgButtons buttons = MsgButtons::OKCancel, MsgIcon icon = MsgIcon::None, const FileDialogRequest& file = {});
};

}  // namespace tarvex::test
