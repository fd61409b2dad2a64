#pragma once
// Every modal question the programs ask the user goes through this interface: message
// boxes, input boxes and the file, font and print dialogs. The programs use the Qt
// implementation; tests install a scripted one that records each prompt and answers
// from a queue.
#include <QFont>
#include <QString>
#include <optional>

class QPrinter;
class QWidget;

namespace tarvex {

struct FileStamp;

enum class MsgButtons { OK, OKCancel, YesNoCancel, YesNo, RetryCancel, AbortRetryIgnore };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgResult { OK, Cancel, Yes, No, Retry, Abort, Ignore };

struct FileDialogRequest {
  QString title;       // empty: the platform's own
  QString filter;      // "COG files (*.cog)|*.cog|All files (*.*)|*.*"
  QString folder;      // initial folder
  QString fileName;    // initial file name
  QString defaultExt;  // ".cog": added when the chosen name has no extension
  bool overwritePrompt = false;
};

// The font the font dialog opens on for initial: the family the text really shows, with the
// family's own style name that matches initial's weight and slant, so that the dialog selects
// exactly that style (left to itself it may pick an oblique one for a plain font). The
// dialog answers OK without a change with initial itself.
QFont FontDialogStart(const QFont& initial);

class Prompts {
 public:
  virtual ~Prompts() = default;
  // title empty: the application's title.
  virtual MsgResult MsgBox(const QString& text, const QString& title = QString(),
                           MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None) = 0;
  // Cancel gives the empty text.
  virtual QString InputBox(const QString& prompt, const QString& title = QString(),
                           const QString& def = QString()) = 0;
  virtual std::optional<QString> OpenFileName(const FileDialogRequest& req) = 0;
  virtual std::optional<QString> SaveFileName(const FileDialogRequest& req) = 0;
  virtual std::optional<QFont> PickFont(const QFont& initial) = 0;
  // Lets the user set up the printer; false when cancelled.
  virtual bool SetUpPrinter(QPrinter& printer) = 0;

  // The window dialogs are owned by (may be null).
  void SetParentWindow(QWidget* w) { parent_ = w; }
  QWidget* ParentWindow() const { return parent_; }

 private:
  QWidget* parent_ = nullptr;
};

// The prompts in force. The Qt implementation unless a test installed another.
Prompts& prompts();
// Installs p (not owned); nullptr restores the Qt implementation.
void SetPrompts(Prompts* p);

// While it lives, the dialogs are owned by w: a tool window's messages and input boxes open
// over that window, not over the main window, and hand it the focus back when they close, so
// it stays in front. The owner before is restored afterwards.
class PromptsOwnedBy {
 public:
  explicit PromptsOwnedBy(QWidget* w) : old_(prompts().ParentWindow()) { prompts().SetParentWindow(w); }
  ~PromptsOwnedBy() { prompts().SetParentWindow(old_); }
  PromptsOwnedBy(const PromptsOwnedBy&) = delete;
  PromptsOwnedBy& operator=(const PromptsOwnedBy&) = delete;

 private:
  QWidget* old_;
};

// Saving over the file at path may go ahead: it is the file `known` describes (or gone), or the
// user answers Yes to "<fileTitle> has changed on disk since it was opened. Overwrite it?".
bool MayOverwriteChanged(const FileStamp& known, const QString& path, const QString& fileTitle,
                         const QString& title);

// Tells the user that a setting could not be stored: fault is the sentence SaveSetting (or a
// Pref's Set) gave, naming the settings file and the reason. Nothing when fault is empty.
void TellSettingsFault(const QString& fault, const QString& title);

// The title a message box shows when its own is empty: the application's display name.
QString EffectiveTitle(const QString& title);

// "COG files (*.cog)|*.cog|All files (*.*)|*.*" in Qt's form:
// "COG files (*.cog);;All files (*)". "*.*" means every file.
QString QtFilter(const QString& filter);

// The name with defaultExt appended when it has no extension of its own.
QString WithDefaultExtension(const QString& name, const QString& defaultExt);

}  // namespace tarvex
