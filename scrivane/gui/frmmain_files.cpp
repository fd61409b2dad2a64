// The document operations of the main window: creating, reading, writing and closing
// document windows, and the File and View menu commands that drive them.
#include <QAbstractItemView>
#include <QAbstractTextDocumentLayout>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTreeWidget>

#include "common/ansicodec.h"
#include "common/filestamp.h"
#include "common/files.h"
#include "common/paths.h"
#include "common/prefs.h"
#include "common/text.h"
#include "common/ui/printing.h"
#include "common/ui/prompts.h"
#include "scrivane/core/scriptfile.h"
#include "scrivane/core/shell.h"
#include "scrivane/gui/coglive.h"
#include "scrivane/gui/frmcgt.h"
#include "scrivane/gui/frmmain.h"
#include "scrivane/gui/frmscrivane.h"

namespace scrivane {

namespace {
const QString kTitle = QStringLiteral("Scrivane");
const QString kCogFilter = QStringLiteral("COG files (*.cog)|*.cog|All files (*.*)|*.*");
const QString kTemplateFilter = QStringLiteral("COG Template files (*.cgt)|*.cgt|All files (*.*)|*.*");

QString ProgramFile(const char* name) { return tarvex::JoinPath(tarvex::DataFolder(), QString::fromLatin1(name)); }
}  // namespace

frmScrivane* frmMain::CogByKey(const QString& key) const {
  for (frmScrivane* w : colCogs)
    if (tarvex::SameText(w->Tag, key)) return w;
  return nullptr;
}

QMdiSubWindow* frmMain::SubWindowOf(frmScrivane* w) const {
  return w ? qobject_cast<QMdiSubWindow*>(w->parentWidget()) : nullptr;
}

frmScrivane* frmMain::ActiveCog() const {
  QMdiSubWindow* s = mdiArea->activeSubWindow();
  return s ? qobject_cast<frmScrivane*>(s->widget()) : nullptr;
}

frmScrivane* frmMain::NewCog(const QString& strFile, const QString& strFileTitle) {
  QSet<int> taken;
  for (frmScrivane* w : colCogs) taken.insert(w->Number());
  const int n = NextWindowNumber(taken);

  auto* w = new frmScrivane(this);  // its text box already in the document font
  w->Tag = QStringLiteral("cog%1").arg(n);
  colCogs << w;
  strCurCog = w->Tag;
  QMdiSubWindow* sub = mdiArea->addSubWindow(w);
  sub->setAttribute(Qt::WA_DeleteOnClose);
  w->strFile = strFile;
  w->strFileTitle = strFileTitle;
  w->SetCaption(strFileTitle.isEmpty() ? QStringLiteral("Cog %1").arg(n) : strFileTitle);
  PlaceNewDocument(sub);
  TrackCaret(w);
  WatchDocument(w);
  sub->show();
  mdiArea->setActiveSubWindow(sub);
  strCurCog = w->Tag;

  // default.cog's bytes are the new document's, each line with the end it has there.
  const ScriptReadResult def = ReadScriptFile(ProgramFile("default.cog"), true);
  if (def.ok) {
    w->lineEnd = def.content.style;
    w->txtMain->SetWidgetText(def.content.text, def.content.odd);
  }
  LoadMessageList(w);
  w->MarkClean();
  RefreshCogList();
  return w;
}

void frmMain::LoadCog(frmScrivane* w, const QString& strFile, const QString& strFileTitle, ScriptReadResult r) {
  w->strFile = strFile;
  w->strFileTitle = strFileTitle;
  w->lineEnd = r.content.style;
  w->diskStamp = r.stamp;
  CogLive::Of(w->txtMain)->Load(std::move(r.content.text), r.content.odd);
  w->MarkClean();
  MarkReadOnly(w, tarvex::IsReadOnlyFile(strFile));
}

frmScrivane* frmMain::OpenDocument(const QString& typed, const QString& title) {
  // The window and the recent files keep the full path: a name typed relative to the folder
  // the program started in means nothing from another folder.
  const QString path = tarvex::AbsolutePath(typed);
  // Read first: a file that cannot be read leaves no window bound to its path.
  ScriptReadResult r = ReadScriptFile(path, true);
  if (!r.ok) {
    tarvex::prompts().MsgBox(QStringLiteral("Cannot open \"%1\": %2").arg(typed, r.error), kTitle, tarvex::MsgButtons::OK,
                             tarvex::MsgIcon::Exclamation);
    return nullptr;
  }
  frmScrivane* w = NewCog(path, title);
  LoadCog(w, path, title, std::move(r));
  objMRU.AddFile(mnuFileMRU, path, title, mnuFileBar6);
  w->MarkClean();
  return w;
}

bool frmMain::SaveCog(frmScrivane* w, const QString& strFile, const QString& strFileTitle) {
  const ScriptWriteResult r = WriteScriptFile(strFile, w->txtMain->WidgetText(), w->lineEnd, w->txtMain->OddEnds(w->lineEnd));
  if (!r.ok) {
    tarvex::prompts().MsgBox(r.error, kTitle, tarvex::MsgButtons::OK, tarvex::MsgIcon::Exclamation);
    return false;
  }
  w->strFile = strFile;
  w->strFileTitle = strFileTitle;
  w->diskStamp = r.stamp;
  w->CheckDisk();
  return true;
}

void frmMain::RefreshCogList() {
  cogListFilled_ = true;
  if (QComboBox* combo = cmbCog.IfMade()) FillCogList(combo);  // else filled when it is made
}

void frmMain::FillCogList(QComboBox* combo) {
  combo->clear();
  int i = 0;
  for (frmScrivane* w : colCogs) combo->addItem(w->Caption(), ++i);
  combo->setCurrentIndex(-1);
  combo->setEditText(QStringLiteral("Choose a Cog"));
  // The drop-down is half the panel wide; its list opens as wide as its longest caption (with
  // room for a scroll bar), within the screen.
  QAbstractItemView* view = combo->view();
  const int frame = 2 * view->frameWidth() + view->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
  const int screen = combo->screen() ? combo->screen()->availableGeometry().width() : 0;
  int want = view->sizeHintForColumn(0) + frame;
  if (screen > 0) want = std::min(want, screen);
  view->setMinimumWidth(std::max(want, 0));
}

void frmMain::LoadMessageList(frmScrivane* w) {
  QByteArray bytes;
  if (!tarvex::ReadWholeFile(ProgramFile("messages.dat"), &bytes)) return;
  w->messageNames = ParseMessageList(tarvex::DecodeAnsi(bytes));
}

void frmMain::OpenFile(const QString& path) {
  if (IsTemplatePath(path)) {
    OpenCogTemplate(path);
    return;
  }
  OpenDocument(path, tarvex::FileTitle(path));
}

void frmMain::OpenCogTemplate(const QString& path) {
  auto* w = new frmCGT(this);
  if (!w->OpenCogTemplate(path)) {
    delete w;
    return;
  }
  cgt_ = w;
  w->show();  // modal by its window modality; the event loop goes on
}

frmCGT* frmMain::TemplateWindow() const { return cgt_.data(); }

QString frmMain::TemplateFolder() const {
  const QString shipped = tarvex::JoinPath(tarvex::DataFolder(), QStringLiteral("templates"));
  return tarvex::SameText(QDir::cleanPath(defaults.DefOpenDir), QDir::cleanPath(tarvex::DataFolder())) &&
                 QFileInfo(shipped).isDir()
             ? shipped
             : defaults.DefOpenDir;
}

// ---- Closing ----

bool frmMain::QueryUnload(frmScrivane* w) {
  if (!w->bMod) return true;
  const QString name = w->strFileTitle.isEmpty() ? w->Caption() : w->strFileTitle;
  switch (tarvex::prompts().MsgBox(QStringLiteral("Save changes to ") + name + QLatin1Char('?'), kTitle,
                                   tarvex::MsgButtons::YesNoCancel, tarvex::MsgIcon::Exclamation)) {
    case tarvex::MsgResult::Yes:
      // A save that did not happen (dialog cancelled, write failed) keeps the window open.
      return SaveDocument(w);
    case tarvex::MsgResult::No: return true;
    default: return false;
  }
}

void frmMain::DocumentClosed(frmScrivane* w) {
  setWindowTitle(QStringLiteral("Scrivane by Halvard"));
  if (tarvex::SameText(BramwiseTag(), w->Tag)) tvwBramwise->clear();
  colCogs.removeOne(w);
  RefreshCogList();
}

// ---- Menu commands ----

void frmMain::mnuFileNew_Click() { NewCog(QStringLiteral("blank"), QString()); }

// The open dialog of Open and Open Template: the chosen path in native form, or empty.
QString frmMain::AskOpenPath(const QString& filter, const QString& folder) const {
  tarvex::FileDialogRequest req;
  req.filter = filter;
  req.folder = folder;
  const auto path = tarvex::prompts().OpenFileName(req);
  return path ? tarvex::NativePath(*path) : QString();
}

void frmMain::mnuFileOpen_Click() {
  const QString p = AskOpenPath(kCogFilter, defaults.DefOpenDir);
  if (!p.isEmpty()) OpenDocument(p, tarvex::FileTitle(p));
}

void frmMain::mnuOpenTemp_Click() {
  const QString p = AskOpenPath(kTemplateFilter, TemplateFolder());
  if (!p.isEmpty()) OpenCogTemplate(p);
}

void frmMain::mnuFileMRU_Click(int index) {
  const QString path = MRU::Tag(mnuFileMRU[index]);
  if (!QFileInfo(path).isFile()) {
    tarvex::prompts().MsgBox(QStringLiteral("File does not exist."), kTitle, tarvex::MsgButtons::OK,
                             tarvex::MsgIcon::Exclamation);
    return;
  }
  // A file that exists but cannot be read is reported like any other and binds no window.
  OpenDocument(path, MRU::Title(mnuFileMRU[index]));
}

void frmMain::mnuFileClose_Click() {
  frmScrivane* w = CurrentCog();
  if (!w) return;
  if (tarvex::SameText(BramwiseTag(), w->Tag)) tvwBramwise->clear();
  if (QMdiSubWindow* s = SubWindowOf(w)) s->close();
  RefreshCogList();
}

bool frmMain::SaveDocument(frmScrivane* w) {
  if (tarvex::SameText(w->strFile, QStringLiteral("blank")) || w->readOnly || tarvex::IsReadOnlyFile(w->strFile))
    return SaveDocumentAs(w);
  // Another program, or another window on the same file, may have written it since.
  if (!tarvex::MayOverwriteChanged(w->diskStamp, w->strFile, w->strFileTitle, kTitle)) return false;
  if (!SaveCog(w, w->strFile, w->strFileTitle)) return false;
  objMRU.AddFile(mnuFileMRU, w->strFile, w->strFileTitle, mnuFileBar6);
  w->MarkClean();
  return true;
}

bool frmMain::SaveDocumentAs(frmScrivane* w) {
  tarvex::FileDialogRequest req;
  req.filter = kCogFilter;
  req.folder = defaults.DefSaveDir;
  req.defaultExt = QStringLiteral(".cog");
  req.overwritePrompt = true;
  const auto chosen = tarvex::prompts().SaveFileName(req);
  if (!chosen || !w) return false;
  const QString path = tarvex::AbsolutePath(*chosen);
  const QString title = tarvex::FileTitle(path);
  if (!SaveCog(w, path, title)) return false;
  w->SetCaption(title);
  objMRU.AddFile(mnuFileMRU, path, title, mnuFileBar6);
  w->bMod = false;
  if (w->readOnly) MarkReadOnly(w, false);
  return true;
}

void frmMain::mnuFileSave_Click() {
  if (frmScrivane* w = CurrentCog()) SaveDocument(w);
}

void frmMain::mnuFileSaveAs_Click() { SaveDocumentAs(CurrentCog()); }

void frmMain::mnuFileSaveAll_Click() {
  tarvex::prompts().MsgBox(QString::number(colCogs.size()), kTitle);
  const QString remembered = strCurCog;
  const QList<frmScrivane*> docs = colCogs;
  for (frmScrivane* w : docs) {
    strCurCog = w->Tag;
    tarvex::prompts().MsgBox(w->strFile + QLatin1Char(' ') + w->Caption(), kTitle);
    SaveDocument(w);
  }
  strCurCog = remembered;
}

void frmMain::mnuFilePrint_Click() {
  QString why;
  const tarvex::PrintOutcome printed = tarvex::PrintDocument(
      [this](QTextDocument& doc) {
        frmScrivane* w = CurrentCog();
        if (!w) return false;
        doc.setDefaultFont(defaults.Font());
        doc.setPlainText(ToWidgetText(w->txtMain->Text()) + QLatin1Char('\n'));
        return true;
      },
      &why);
  if (printed == tarvex::PrintOutcome::PrinterError) {
    tarvex::prompts().MsgBox(QStringLiteral("Error #482 has occured\r\nPrinter error\r\nScrivane\r\n"
                                            "Please write down the above information and email it to me."),
                             QString(), tarvex::MsgButtons::OK);
  } else if (printed == tarvex::PrintOutcome::Unavailable) {
    tarvex::prompts().MsgBox(QStringLiteral("Printing is not available: %1").arg(why), kTitle, tarvex::MsgButtons::OK,
                             tarvex::MsgIcon::Exclamation);
  }
}

void frmMain::ApplyFontToAll() {
  const QFont f = DocumentFont();
  for (frmScrivane* w : colCogs) w->txtMain->setFont(f);
}

void frmMain::mnuViewFont_Click() {
  const auto chosen = tarvex::prompts().PickFont(defaults.Font());
  if (!chosen || chosen->family().isEmpty()) return;
  defaults.DefFontName = chosen->family();
  defaults.DefFontBold = chosen->bold();
  defaults.DefFontItalic = chosen->italic();
  defaults.DefFontSize = std::clamp(RoundFontSize(chosen->pointSizeF()), 1, 512);
  ApplyFontToAll();
  QString fault;
  tarvex::prefs::DefFontName.Set(defaults.DefFontName, &fault);
  tarvex::prefs::DefFontBold.Set(defaults.DefFontBold, &fault);
  tarvex::prefs::DefFontItalic.Set(defaults.DefFontItalic, &fault);
  tarvex::prefs::DefFontSize.Set(defaults.DefFontSize, &fault);
  ReportSettingsFault(fault);
}

void frmMain::ReportSettingsFault(const QString& fault) { tarvex::TellSettingsFault(fault, kTitle); }

}  // namespace scrivane
