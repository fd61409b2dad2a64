#include "tests/support/scripted_prompts.h"

#include <QPrinter>

namespace tarvex::test {

ScriptedPrompts::ScriptedPrompts() { SetPrompts(this); }
ScriptedPrompts::~ScriptedPrompts() { SetPrompts(nullptr); }

std::vector<QString> ScriptedPrompts::Messages() const {
  std::vector<QString> out;
  for (const auto& r : records)
    if (r.kind == PromptRecord::Message) out.push_back(r.text);
  return out;
}

MsgResult ScriptedPrompts::MsgBox(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) {
  records.push_back({PromptRecord::Message, text, EffectiveTitle(title), buttons, icon, {}});
  records.back().owner = ParentWindow();
  if (!messageAnswers.empty()) {
    const MsgResult r = messageAnswers.front();
    messageAnswers.pop_front();
    return r;
  }
  switch (buttons) {
    case MsgButtons::OK:
    case MsgButtons::OKCancel: return MsgResult::OK;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo: return MsgResult::Yes;
    case MsgButtons::RetryCancel: return MsgResult::Retry;
    case MsgButtons::AbortRetryIgnore: return MsgResult::Abort;
  }
  return MsgResult::OK;
}

QString ScriptedPrompts::InputBox(const QString& prompt, const QString& title, const QString&) {
  records.push_back({PromptRecord::Input, prompt, EffectiveTitle(title), MsgButtons::OKCancel, MsgIcon::None, {}});
  records.back().owner = ParentWindow();
  if (inputAnswers.empty()) return QString();
  QString s = inputAnswers.front();
  inputAnswers.pop_front();
  return s;
}

std::optional<QString> ScriptedPrompts::OpenFileName(const FileDialogRequest& req) {
  records.push_back({PromptRecord::OpenFile, req.filter, req.title, MsgButtons::OKCancel, MsgIcon::None, req});
  records.back().owner = ParentWindow();
  if (fileAnswers.empty()) return std::nullopt;
  auto a = fileAnswers.front();
  fileAnswers.pop_front();
  return a;
}

std::optional<QString> ScriptedPrompts::SaveFileName(const FileDialogRequest& req) {
  records.push_back({PromptRecord::SaveFile, req.filter, req.title, MsgButtons::OKCancel, MsgIcon::None, req});
  records.back().owner = ParentWindow();
  if (fileAnswers.empty()) return std::nullopt;
  auto a = fileAnswers.front();
  fileAnswers.pop_front();
  if (a) *a = WithDefaultExtension(*a, req.defaultExt);
  return a;
}

std::optional<QFont> ScriptedPrompts::PickFont(const QFont&) {
  records.push_back({PromptRecord::Font, QString(), QString(), MsgButtons::OKCancel, MsgIcon::None, {}});
  records.back().owner = ParentWindow();
  if (fontAnswers.empty()) return std::nullopt;
  auto a = fontAnswers.front();
  fontAnswers.pop_front();
  return a;
}

bool ScriptedPrompts::SetUpPrinter(QPrinter& printer) {
  records.push_back({PromptRecord::Print, QString(), QString(), MsgButtons::OKCancel, MsgIcon::None, {}});
  records.back().owner = ParentWindow();
  if (printAnswers.empty() || !printAnswers.front()) {
    if (!printAnswers.empty()) printAnswers.pop_front();
    return false;
  }
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(*printAnswers.front());
  printAnswers.pop_front();
  return true;
}

}  // namespace tarvex::test
