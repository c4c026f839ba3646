// comdlg32 GetSaveFileNameA over Qt's own file dialog.
#include <QtCore/QDir>
#include <QtCore/QEventLoop>
#include <QtCore/QIdentityProxyModel>
#include <QtCore/QMimeDatabase>
#include <QtCore/QTimer>
#include <QtGui/QAbstractFileIconProvider>
#include <QtGui/QFileSystemModel>
#include <QtGui/QKeyEvent>
#include <QtGui/QScreen>
#include <QtGui/QWindow>
#include <QtWidgets/QApplication>
#include <QtWidgets/QFileDialog>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QListView>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QSplitter>
#include <QtWidgets/QStyle>
#include <QtWidgets/QTreeView>

#include <strings.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/gbk/gbk.h"
#include "shell/shell_internal.h"
#include "w32_internal.h"
#include "win32.h"
#include "win32_testhooks_shell.h"

namespace {

thread_local DWORD t_dialogError = 0;

std::string g_lastFolder;  // where the last file was saved (UTF-8)

// "description\0pattern\0...\0\0" as a list.
std::vector<std::string> FilterList(LPCSTR filter) {
    std::vector<std::string> out;
    if (!filter) return out;
    for (const char* p = filter; *p; p += std::strlen(p) + 1) out.push_back(p);
    if (out.size() % 2) out.pop_back();  // a description without its pattern
    return out;
}

// Qt's form of one filter: "description (patterns)". "*.*" means every file
// (on Linux it would skip names without a dot).
QString QtFilter(const std::string& description, const std::string& patterns) {
    QStringList pats;
    for (const QString& p : w32::ToQt(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        QString t = p.trimmed();
        pats << (t == QLatin1String("*.*") ? QStringLiteral("*") : t);
    }
    return w32::ToQt(description) + QStringLiteral(" (") + pats.join(QLatin1Char(' ')) + QStringLiteral(")");
}

std::string FileNamePart(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string DirPart(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The folder the dialog starts in (UTF-8).
std::string StartFolder(const w32test::SaveDialogCall& call) {
    std::error_code ec;
    if (!call.initialDir.empty()) return w32shell::ToFsPath(call.initialDir.c_str());
    std::string fromFile = DirPart(w32shell::ToFsPath(call.initialFile.c_str()));
    if (!fromFile.empty()) return fromFile;
    {
        // As on Windows: the folder used last, else the documents folder.
        std::lock_guard<std::mutex> lock(w32shell::Tests().saveMutex);
        if (!g_lastFolder.empty() && std::filesystem::is_directory(g_lastFolder, ec)) return g_lastFolder;
    }
    std::string docs = w32shell::DocumentsFolder();
    if (std::filesystem::is_directory(docs, ec)) return docs;
    return std::filesystem::current_path(ec).string();
}

// Icons and type names by name only: the dialog never opens a file to show
// or complete it (a FIFO, a device or a /proc entry would block it).
class NameIconProvider : public QAbstractFileIconProvider {
public:
    NameIconProvider()
        : dir_(QApplication::style()->standardIcon(QStyle::SP_DirIcon)),
          file_(QApplication::style()->standardIcon(QStyle::SP_FileIcon)),
          drive_(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon)) {}
    QIcon icon(IconType type) const override { return type == Folder ? dir_ : type == File ? file_ : drive_; }
    QIcon icon(const QFileInfo& info) const override {
        if (info.isRoot()) return drive_;
        return info.isDir() ? dir_ : file_;
    }
    // As Chinese Explorer writes them: 文件夹, a known type's description, else
    // the extension in capitals and 文件 ("BIN 文件"), or 文件 alone.
    QString type(const QFileInfo& info) const override {
        if (info.isDir()) return QString::fromUtf16(u"\u6587\u4ef6\u5939");  // "Folder"
        const QString name = info.fileName();
        QMimeType mime = mimes_.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
        if (!mime.isDefault()) return mime.comment().isEmpty() ? mime.name() : mime.comment();
        const QString file = QString::fromUtf16(u"\u6587\u4ef6");  // "File"
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        return dot < 0 || dot + 1 == name.size() ? file : name.mid(dot + 1).toUpper() + QLatin1Char(' ') + file;
    }

private:
    QIcon dir_, file_, drive_;
    QMimeDatabase mimes_;
};

// The file model's columns: the name, then the size, type and date.
constexpr int kNameColumn = 0;
constexpr int kSizeColumn = 1;

// The size column as Explorer has it: headed 大小 (Qt's translation says
// 体积), sizes as StrFormatKBSize writes them: whole kilobytes rounded up,
// with the locale's digit grouping ("1,234 KB", "0 KB").
class ExplorerSizes : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && section == kSizeColumn && role == Qt::DisplayRole)
            return QString::fromUtf16(u"\u5927\u5c0f");  // "Size"
        return QIdentityProxyModel::headerData(section, orientation, role);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole && index.column() == kSizeColumn) {
            auto* files = static_cast<QFileSystemModel*>(sourceModel());
            const QModelIndex at = mapToSource(index);
            if (!files->isDir(at)) return QLocale().toString((files->size(at) + 1023) / 1024) + QStringLiteral(" KB");
        }
        return QIdentityProxyModel::data(index, role);
    }
};

// The detail view shows every column whole: the size, type and date columns
// take their texts' width and the name column the rest. The three follow
// their texts as the folder's rows and types come in, until the user drags
// one of them wider or narrower, as in Explorer. Once the folder the dialog
// opens in is read, the dialog grows (within the screen) until its names fit
// too.
class FitColumnsAndDialog : public QObject {
public:
    FitColumnsAndDialog(QFileDialog* dlg, QFileSystemModel* files)
        : dlg_(dlg), view_(dlg->findChild<QTreeView*>(QStringLiteral("treeView"))) {
        if (!view_ || !files) return;
        QHeaderView* header = view_->header();
        header->setStretchLastSection(false);
        header->setSectionResizeMode(kNameColumn, QHeaderView::Stretch);
        for (int c = kNameColumn + 1; c < header->count(); ++c)
            header->setSectionResizeMode(c, QHeaderView::Interactive);
        connect(header, &QHeaderView::sectionResized, this,
                [this](int c) { userSized_ |= c != kNameColumn && !fitting_; });
        // One fit for a burst of changes (a large folder's types come row by row).
        fit_.setSingleShot(true);
        connect(&fit_, &QTimer::timeout, this, &FitColumnsAndDialog::Fit);
        const QAbstractItemModel* shown = view_->model();
        connect(shown, &QAbstractItemModel::rowsInserted, &fit_, qOverload<>(&QTimer::start));
        connect(shown, &QAbstractItemModel::dataChanged, &fit_, qOverload<>(&QTimer::start));
        connect(shown, &QAbstractItemModel::layoutChanged, &fit_, qOverload<>(&QTimer::start));
        connect(files, &QFileSystemModel::directoryLoaded, this, [this](const QString& path) {
            if (opened_ || QDir(path) != dlg_->directory()) return;
            opened_ = true;
            Grow();
        });
        view_->viewport()->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        // The layout may give part of a step to the side bar: once the view
        // has its new width, what is still missing is added.
        if (e->type() == QEvent::Resize && growing_) {
            growing_ = false;
            Grow();
        }
        return false;
    }

private:
    void Fit() {
        if (userSized_) return;
        fitting_ = true;
        for (int c = kNameColumn + 1; c < view_->header()->count(); ++c) view_->resizeColumnToContents(c);
        fitting_ = false;
    }

    void Grow() {
        const QHeaderView* header = view_->header();
        const QModelIndex root = view_->rootIndex();
        const int rows = std::min(view_->model()->rowCount(root), header->resizeContentsPrecision());
        int need =
            view_->verticalScrollBar()->isVisible() ? 0 : view_->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c)) continue;
            int width = header->sectionSizeHint(c);
            for (int r = 0; r < rows; ++r)
                width = std::max(width, view_->sizeHintForIndex(view_->model()->index(r, c, root)).width());
            need += width;
        }
        const int missing = need - view_->viewport()->width();
        const QScreen* screen = dlg_->screen();
        if (missing <= 0 || !screen || ++steps_ > kGrowSteps) return;
        // Wider by as much on either side, within the screen.
        const QRect avail = screen->availableGeometry();
        QRect g = dlg_->geometry();
        g.setWidth(std::min(g.width() + missing, avail.width()));
        g.moveLeft(std::clamp(g.left() - missing / 2, avail.left(), avail.right() + 1 - g.width()));
        if (g == dlg_->geometry()) return;
        growing_ = true;
        dlg_->setGeometry(g);
    }

    // The layout may give part of each step to the side bar; a few steps
    // cover it.
    static constexpr int kGrowSteps = 3;

    QFileDialog* dlg_;
    QTreeView* view_;
    QTimer fit_;
    bool opened_ = false, growing_ = false, fitting_ = false, userSized_ = false;
    int steps_ = 0;
};

// The side bar shows its names whole, as Explorer's navigation pane does: it
// is as wide as its widest entry, without a scroll bar across. (Qt gives it
// the width it saved last time, or its first entry's, and scrolls the rest.)
// Fitted as it is shown, when its entries change (a folder dropped onto it)
// and when its scroll bar down comes or goes; the user may still drag its
// border.
class SidebarFitsItsNames : public QObject {
public:
    explicit SidebarFitsItsNames(QFileDialog* dlg)
        : bar_(dlg->findChild<QListView*>(QStringLiteral("sidebar"))),
          splitter_(dlg->findChild<QSplitter*>(QStringLiteral("splitter"))) {
        if (!bar_ || !bar_->model() || !splitter_ || splitter_->count() != 2 || splitter_->indexOf(bar_) < 0) return;
        bar_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        const QAbstractItemModel* entries = bar_->model();
        connect(entries, &QAbstractItemModel::rowsInserted, this, &SidebarFitsItsNames::Fit);
        connect(entries, &QAbstractItemModel::rowsRemoved, this, &SidebarFitsItsNames::Fit);
        connect(entries, &QAbstractItemModel::dataChanged, this, &SidebarFitsItsNames::Fit);
        connect(entries, &QAbstractItemModel::modelReset, this, &SidebarFitsItsNames::Fit);
        bar_->installEventFilter(this);
        bar_->verticalScrollBar()->installEventFilter(this);
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Show || (e->type() == QEvent::Hide && o != bar_)) Fit();
        return false;
    }

private:
    void Fit() {
        if (!bar_->isVisible()) return;  // laid out once shown
        const QScrollBar* down = bar_->verticalScrollBar();
        const int width = bar_->sizeHintForColumn(0) + 2 * bar_->frameWidth() +
                          (down->isVisibleTo(bar_) ? down->sizeHint().width() : 0);
        if (width == fitted_) return;  // the user's own width stays
        fitted_ = width;
        QList<int> sizes = splitter_->sizes();
        const int at = splitter_->indexOf(bar_);
        const int total = sizes[0] + sizes[1];
        if (sizes[at] == width || total <= width) return;
        sizes[at] = width;
        sizes[1 - at] = total - width;
        splitter_->setSizes(sizes);
    }

    QListView* bar_;
    QSplitter* splitter_;
    int fitted_ = -1;
};

// Alt+F4 cancels the dialog, as the system menu's close does where no window
// manager takes the key (a manager's own Alt+F4 comes as a close request).
// Looked for before any of the dialog's widgets sees the key.
class AltF4Cancels : public QObject {
public:
    explicit AltF4Cancels(QDialog* dlg) : dlg_(dlg) { qApp->installEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || !o->isWidgetType() || static_cast<QWidget*>(o)->window() != dlg_)
            return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        if (key->key() != Qt::Key_F4 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::AltModifier) return false;
        dlg_->reject();
        return true;
    }

private:
    QDialog* dlg_;
};

// Boxes the dialog opens over itself (Qt's replace question, the invalid
// name box) are modal to the dialog only: Qt would show them
// application-modal, blocking every window, another thread's box too. When
// such a box closes with the keyboard, the dialog gets it back (as the
// layer's boxes give it back, see KeyboardReturn). A box of several buttons
// without 取消 (the replace question, 是/否) has no close, as a Win32 Yes/No
// box: a close request (a window manager's Alt+F4 or close button) and Esc
// leave it open, and it asks the window manager for no close box. It is
// titled as on Windows (Qt gives it the dialog's title).
class BoxesModalToTheDialog : public QObject {
public:
    explicit BoxesModalToTheDialog(QDialog* dlg) : dlg_(dlg) { dlg->installEventFilter(this); }
    // A box over the dialog that has no close: several buttons, no 取消.
    QMessageBox* Unclosable(QObject* o) const {
        auto* box = o != dlg_ ? qobject_cast<QMessageBox*>(o) : nullptr;
        return box && box->buttons().size() > 1 && !box->button(QMessageBox::Cancel) ? box : nullptr;
    }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::ChildAdded) {
            QObject* child = static_cast<QChildEvent*>(e)->child();
            if (o == dlg_ && child->isWidgetType()) child->installEventFilter(this);
        } else if (e->type() == QEvent::Show && o != dlg_) {
            // Sent before the window is shown, so the change still counts; its
            // QWindow took the modality already, when exec() asked for it.
            auto* w = static_cast<QWidget*>(o);
            if (w->isWindow() && w->windowModality() == Qt::ApplicationModal) {
                w->setWindowModality(Qt::WindowModal);
                if (QWindow* window = w->windowHandle()) window->setModality(Qt::WindowModal);
            }
            // The flags go to the window unmapped still, without making it anew.
            if (Unclosable(o) && w->windowHandle()) {
                w->setWindowTitle(QString::fromUtf16(u"\u786e\u8ba4\u53e6\u5b58\u4e3a"));  // "Confirm Save As"
                w->overrideWindowFlags((w->windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowCloseButtonHint);
                w->windowHandle()->setFlags(w->windowFlags());
            }
        } else if ((e->type() == QEvent::Close && e->spontaneous()) ||
                   (e->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)) {
            if (Unclosable(o)) {
                e->ignore();
                return true;
            }
        } else if (e->type() == QEvent::Hide && o != dlg_) {
            // Hidden, the box is no longer Qt's active window; another window
            // that is keeps the keyboard.
            auto* w = static_cast<QWidget*>(o);
            QWidget* active = QApplication::activeWindow();
            if (w->isWindow() && (!active || active == w) && dlg_->isVisible()) dlg_->activateWindow();
        }
        return false;
    }

private:
    QDialog* dlg_;
};

// Shows the dialog until it is closed: modal to its owner's window, as the
// Win32 dialog disables only its owner, and without an owner blocking no
// window. (QDialog::exec would block every window of the program.)
int RunModal(QDialog& dlg, bool owned) {
    dlg.setWindowModality(owned ? Qt::WindowModal : Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&dlg, &QDialog::finished, &loop, &QEventLoop::quit);
    dlg.show();
    loop.exec();
    return dlg.result();
}

// Runs Qt's dialog; false when cancelled. *typed is the chosen path (UTF-8).
bool RunDialog(const w32test::SaveDialogCall& call, DWORD* filterIndex, std::string* typed) {
    bool accepted = false;
    w32::RunOnUiThread([&] {
        w32::ForeignLoopScope scope(call.owner, true);
        NameIconProvider icons;  // outlives the dialog, whose model uses it
        QFileDialog dlg(scope.ParentWidget());
        BoxesModalToTheDialog boxes(&dlg);
        AltF4Cancels altF4(&dlg);
        dlg.setIconProvider(&icons);
        auto* files = dlg.findChild<QFileSystemModel*>();
        if (files) dlg.setProxyModel(new ExplorerSizes(&dlg));  // the dialog owns it
        FitColumnsAndDialog columns(&dlg, files);
        SidebarFitsItsNames sidebar(&dlg);
        // The program's filter texts show as they are, without Qt's patterns.
        dlg.setOption(QFileDialog::HideNameFilterDetails, true);
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        dlg.setOption(QFileDialog::DontUseNativeDialog, true);
        dlg.setOption(QFileDialog::DontConfirmOverwrite, !(call.flags & OFN_OVERWRITEPROMPT));
        dlg.setWindowTitle(QString::fromUtf16(u"\u53e6\u5b58\u4e3a"));  // "Save as"
        QStringList filters;
        for (size_t i = 0; i + 1 < call.filter.size(); i += 2) filters << QtFilter(call.filter[i], call.filter[i + 1]);
        if (!filters.isEmpty()) {
            dlg.setNameFilters(filters);
            if (*filterIndex >= 1 && *filterIndex <= static_cast<DWORD>(filters.size()))
                dlg.selectNameFilter(filters[static_cast<int>(*filterIndex) - 1]);
        }
        if (!call.defExt.empty()) dlg.setDefaultSuffix(w32::ToQt(call.defExt));
        dlg.setDirectory(QString::fromStdString(StartFolder(call)));
        std::string initialName = FileNamePart(call.initialFile);
        if (!initialName.empty()) dlg.selectFile(w32::ToQt(initialName));
        while (RunModal(dlg, IsWindow(call.owner)) == QDialog::Accepted && !dlg.selectedFiles().isEmpty()) {
            std::string chosen = dlg.selectedFiles().first().toStdString();
            // A name GBK cannot hold would be written under another name.
            if (gbk::ToUtf8(gbk::FromUtf8(chosen)) != chosen) {
                QMessageBox::warning(
                    &dlg, dlg.windowTitle(),
                    QString::fromUtf16(u"\u6587\u4ef6\u540d\u65e0\u6548\u3002"));  // "Invalid file name."
                continue;
            }
            *typed = chosen;
            int idx = filters.indexOf(dlg.selectedNameFilter());
            if (idx >= 0) *filterIndex = static_cast<DWORD>(idx + 1);
            accepted = true;
            break;
        }
    });
    return accepted;
}

BOOL Fail(DWORD error) {
    t_dialogError = error;
    return FALSE;
}

}  // namespace

DWORD CommDlgExtendedError(void) { return t_dialogError; }

BOOL GetSaveFileNameA(LPOPENFILENAMEA ofn) {
    t_dialogError = 0;
    if (!ofn || ofn->lStructSize < offsetof(OPENFILENAMEA, pvReserved)) return Fail(CDERR_STRUCTSIZE);
    if (!ofn->lpstrFile || ofn->nMaxFile == 0) return Fail(CDERR_INITIALIZATION);

    w32test::SaveDialogCall call;
    call.owner = ofn->hwndOwner;
    call.filter = FilterList(ofn->lpstrFilter);
    size_t initialLen = strnlen(ofn->lpstrFile, ofn->nMaxFile);
    call.initialFile.assign(ofn->lpstrFile, initialLen);
    call.initialDir = ofn->lpstrInitialDir ? ofn->lpstrInitialDir : "";
    call.defExt = ofn->lpstrDefExt ? ofn->lpstrDefExt : "";
    call.flags = ofn->Flags;

    w32test::SaveDialogHook hook;
    {
        std::lock_guard<std::mutex> lock(w32shell::Tests().saveMutex);
        w32shell::Tests().saveCalls.push_back(call);
        hook = w32shell::Tests().saveHook;
    }
    DWORD filterIndex = ofn->nFilterIndex == 0 ? 1 : ofn->nFilterIndex;
    std::string path;  // UTF-8
    if (hook) {
        std::string typed;
        if (!hook(call, &typed)) return FALSE;  // cancelled
        if (gbk::FromUtf8(gbk::ToUtf8(typed)) != typed) return Fail(FNERR_INVALIDFILENAME);
        path = w32shell::ToFsPath(typed.c_str());
        if (path.empty() || path.back() == '/') return Fail(FNERR_INVALIDFILENAME);
        if (path[0] != '/') path = StartFolder(call) + "/" + path;
        // As the dialog does: the default extension goes on a name without one.
        std::string name = FileNamePart(path);
        if (!call.defExt.empty() && name.find('.') == std::string::npos) path += "." + call.defExt;
    } else if (!RunDialog(call, &filterIndex, &path)) {
        return FALSE;
    }

    std::string gbkPath = gbk::FromUtf8(path);
    if (gbk::ToUtf8(gbkPath) != path) return Fail(FNERR_INVALIDFILENAME);
    if (gbkPath.size() + 1 > ofn->nMaxFile) {
        // The first two bytes tell the size needed.
        if (ofn->nMaxFile >= 2) {
            WORD need = static_cast<WORD>(std::min<size_t>(gbkPath.size() + 1, 0xFFFF));
            std::memcpy(ofn->lpstrFile, &need, sizeof need);
        }
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    std::memcpy(ofn->lpstrFile, gbkPath.c_str(), gbkPath.size() + 1);
    {
        std::lock_guard<std::mutex> lock(w32shell::Tests().saveMutex);
        g_lastFolder = DirPart(path);
    }
    size_t nameAt = gbkPath.find_last_of('/');
    nameAt = nameAt == std::string::npos ? 0 : nameAt + 1;
    size_t dot = gbkPath.find_last_of('.');
    size_t extAt = (dot != std::string::npos && dot >= nameAt) ? dot + 1 : gbkPath.size();
    ofn->nFileOffset = static_cast<WORD>(nameAt);
    ofn->nFileExtension = static_cast<WORD>(extAt);
    ofn->nFilterIndex = filterIndex;
    std::string ext = gbkPath.substr(extAt);
    bool different = !call.defExt.empty() && strcasecmp(ext.c_str(), call.defExt.c_str()) != 0;
    ofn->Flags = different ? (ofn->Flags | OFN_EXTENSIONDIFFERENT) : (ofn->Flags & ~OFN_EXTENSIONDIFFERENT);
    if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0)
        gbk::CopyCut(ofn->lpstrFileTitle, ofn->nMaxFileTitle, gbkPath.substr(nameAt));
    return TRUE;
}
