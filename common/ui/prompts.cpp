#include "common/ui/prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <tuple>

#include "common/filestamp.h"
#include "common/paths.h"
#include "common/ui/printing.h"

namespace tarvex {

QFont FontDialogStart(const QFont& initial) {
  // A stored name that is not installed ("Courier New" on Linux) is replaced by the fallback
  // the text shows, which the dialog would not guess.
  const QFontInfo shownInfo(initial);
  QFont shown = initial;
  const QString family = shownInfo.family();
  shown.setFamily(family);
  // The family's own style nearest to the font: the same slant where the family has one (an
  // "Oblique" style slants as an "Italic" one does, though the database calls only the
  // latter italic), then the nearest weight, then the style the text shows, then the plainer
  // name ("Book" before "Condensed").
  const int size = initial.pointSize() > 0 ? initial.pointSize() : 12;
  QString best;
  std::tuple<bool, int, bool, qsizetype> bestKey;
  for (const QString& style : QFontDatabase::styles(family)) {
    const std::tuple<bool, int, bool, qsizetype> key{
        QFontDatabase::font(family, style, size).italic() != initial.italic(),
        std::abs(QFontDatabase::weight(family, style) - int(initial.weight())), style != shownInfo.styleName(),
        style.size()};
    if (best.isEmpty() || key < bestKey) {
      best = style;
      bestKey = key;
    }
  }
  if (!best.isEmpty()) shown.setStyleName(best);
  return shown;
}

bool MayOverwriteChanged(const FileStamp& known, const QString& path, const QString& fileTitle,
                         const QString& title) {
  return !ChangedOnDisk(known, path) ||
         prompts().MsgBox(fileTitle + QStringLiteral(" has changed on disk since it was opened. Overwrite it?"), title,
                          MsgButtons::YesNo, MsgIcon::Exclamation) == MsgResult::Yes;
}

void TellSettingsFault(const QString& fault, const QString& title) {
  if (!fault.isEmpty()) prompts().MsgBox(fault, title, MsgButtons::OK, MsgIcon::Exclamation);
}

QString EffectiveTitle(const QString& title) {
  if (!title.isEmpty()) return title;
  const QString name = QGuiApplication::applicationDisplayName();
  return name.isEmpty() ? QCoreApplication::applicationName() : name;
}

QString QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i].trimmed();
    // The description usually repeats the pattern in parentheses; Qt reads the patterns
    // from there, so put the real ones in their place.
    desc.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
    QStringList pats = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
    for (QString& p : pats) {
      p = p.trimmed();
      if (p == QLatin1String("*.*")) p = QStringLiteral("*");
    }
    out << desc + QStringLiteral(" (") + pats.join(QLatin1Char(' ')) + QLatin1Char(')');
  }
  return out.join(QStringLiteral(";;"));
}

QString WithDefaultExtension(const QString& name, const QString& defaultExt) {
  if (defaultExt.isEmpty() || name.isEmpty()) return name;
  if (!QFileInfo(FileTitle(name)).suffix().isEmpty()) return name;
  return defaultExt.startsWith(QLatin1Char('.')) ? name + defaultExt : name + QLatin1Char('.') + defaultExt;
}

namespace {

class QtPrompts final : public Prompts {
 public:
  // The window that owned a box takes the front and the focus back once the box has closed.
  void Refocus() {
    QWidget* w = ParentWindow();
    if (!w || !w->isVisible()) return;
    w->window()->raise();
    w->window()->activateWindow();
  }

  MsgResult MsgBox(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override {
    QMessageBox box(ParentWindow());
    box.setWindowTitle(EffectiveTitle(title));
    box.setText(text);
    switch (icon) {
      case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
      case MsgIcon::Critical: box.setIcon(QMessageBox::Critical); break;
      case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
      case MsgIcon::Exclamation: box.setIcon(QMessageBox::Warning); break;
      case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
    }
    using B = QMessageBox;
    switch (buttons) {
      case MsgButtons::OK: box.setStandardButtons(B::Ok); break;
      case MsgButtons::OKCancel: box.setStandardButtons(B::Ok | B::Cancel); break;
      case MsgButtons::YesNoCancel: box.setStandardButtons(B::Yes | B::No | B::Cancel); break;
      case MsgButtons::YesNo: box.setStandardButtons(B::Yes | B::No); break;
      case MsgButtons::RetryCancel: box.setStandardButtons(B::Retry | B::Cancel); break;
      case MsgButtons::AbortRetryIgnore: box.setStandardButtons(B::Abort | B::Retry | B::Ignore); break;
    }
    const int answer = box.exec();
    Refocus();
    switch (answer) {
      case B::Ok: return MsgResult::OK;
      case B::Yes: return MsgResult::Yes;
      case B::No: return MsgResult::No;
      case B::Retry: return MsgResult::Retry;
      case B::Abort: return MsgResult::Abort;
      case B::Ignore: return MsgResult::Ignore;
      default: break;
    }
    // Closing the box with its close button: the gentlest answer it offers.
    if (buttons == MsgButtons::YesNo) return MsgResult::No;
    if (buttons == MsgButtons::OK) return MsgResult::OK;
    if (buttons == MsgButtons::AbortRetryIgnore) return MsgResult::Abort;
    return MsgResult::Cancel;
  }

  QString InputBox(const QString& prompt, const QString& title, const QString& def) override {
    bool ok = false;
    const QString s = QInputDialog::getText(ParentWindow(), EffectiveTitle(title), prompt, QLineEdit::Normal, def, &ok);
    Refocus();
    return ok ? s : QString();
  }

  std::optional<QString> OpenFileName(const FileDialogRequest& req) override {
    const QString s = QFileDialog::getOpenFileName(ParentWindow(), req.title, JoinPath(req.folder, req.fileName),
                                                   QtFilter(req.filter));
    if (s.isEmpty()) return std::nullopt;
    return NativePath(s);
  }

  std::optional<QString> SaveFileName(const FileDialogRequest& req) override {
    QFileDialog dlg(ParentWindow(), req.title, req.folder, QtFilter(req.filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!req.fileName.isEmpty()) dlg.selectFile(req.fileName);
    if (!req.defaultExt.isEmpty()) dlg.setDefaultSuffix(req.defaultExt.mid(req.defaultExt.startsWith('.') ? 1 : 0));
    dlg.setOption(QFileDialog::DontConfirmOverwrite, !req.overwritePrompt);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return NativePath(WithDefaultExtension(dlg.selectedFiles().first(), req.defaultExt));
  }

  std::optional<QFont> PickFont(const QFont& initial) override {
    QFontDialog dlg(ParentWindow());
    dlg.setCurrentFont(FontDialogStart(initial));
    const QFont opened = dlg.currentFont();
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    // OK without a change gives back the font asked for, also where the dialog could only
    // come near it (a family not installed, a slant the family has no style for).
    const QFont chosen = dlg.selectedFont();
    return chosen == opened ? initial : chosen;
  }

  bool SetUpPrinter(QPrinter& printer) override { return ShowPrintDialog(printer, ParentWindow()); }
};

Prompts*& Installed() {
  static Prompts* p = nullptr;
  return p;
}

}  // namespace

Prompts& prompts() {
  static QtPrompts qt;
  return Installed() ? *Installed() : qt;
}

void SetPrompts(Prompts* p) { Installed() = p; }

}  // namespace tarvex
