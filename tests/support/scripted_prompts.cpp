#include "tests/support/scripted_prompts.h"

#include <QPrinter>

namespace tarvex::test {

namespace {
// The queue's next answer; an empty one when the queue is empty.
template <class T>
T Next(std::deque<T>& queue) {
  T a{};
  if (!queue.empty()) {
    a = queue.front();
    queue.pop_front();
  }
  return a;
}
}  // namespace

ScriptedPrompts::ScriptedPrompts() { SetPrompts(this); }
ScriptedPrompts::~ScriptedPrompts() { SetPrompts(nullptr); }

std::vector<QString> ScriptedPrompts::Messages() const {
  std::vector<QString> out;
  for (const auto& r : records)
    if (r.kind == PromptRecord::Message) out.push_back(r.text);
  return out;
}

void ScriptedPrompts::Record(PromptRecord::Kind kind, const QString& text, const QString& title, MsgButtons buttons,
                             MsgIcon icon, const FileDialogRequest& file) {
  records.push_back({kind, text, title, buttons, icon, file, ParentWindow()});
}

MsgResult ScriptedPrompts::MsgBox(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) {
  Record(PromptRecord::Message, text, EffectiveTitle(title), buttons, icon);
  if (!messageAnswers.empty()) return Next(messageAnswers);
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
  Record(PromptRecord::Input, prompt, EffectiveTitle(title));
  return Next(inputAnswers);
}

std::optional<QString> ScriptedPrompts::OpenFileName(const FileDialogRequest& req) {
  Record(PromptRecord::OpenFile, req.filter, req.title, MsgButtons::OKCancel, MsgIcon::None, req);
  return Next(fileAnswers);
}

std::optional<QString> ScriptedPrompts::SaveFileName(const FileDialogRequest& req) {
  Record(PromptRecord::SaveFile, req.filter, req.title, MsgButtons::OKCancel, MsgIcon::None, req);
  auto a = Next(fileAnswers);
  if (a) *a = WithDefaultExtension(*a, req.defaultExt);
  return a;
}

std::optional<QFont> ScriptedPrompts::PickFont(const QFont&) {
  Record(PromptRecord::Font);
  return Next(fontAnswers);
}

bool ScriptedPrompts::SetUpPrinter(QPrinter& printer) {
  Record(PromptRecord::Print);
  const std::optional<QString> pdf = Next(printAnswers);
  if (!pdf) return false;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(*pdf);
  return true;
}

}  // namespace tarvex::test
