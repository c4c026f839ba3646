// GetSaveFileNameA: the export dialog's settings, answered through the test
// hook and through Qt's real file dialog offscreen.
#include <gtest/gtest.h>

#include <QtCore/QTimer>
#include <QtWidgets/QApplication>
#include <QtWidgets/QComboBox>
#include <QtWidgets/QFileDialog>
#include <QtGui/QFileSystemModel>
#include <QtGui/QMouseEvent>
#include <QtWidgets/QLabel>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QListView>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QScrollBar>
#include <QtWidgets/QCalendarWidget>
#include <QtWidgets/QHeaderView>
#include <QtWidgets/QTableView>
#include <QtWidgets/QToolButton>
#include <QtWidgets/QTreeView>

#include <fcntl.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <cstring>
#include <functional>
#include <map>
#include <thread>
#include <vector>
#include <filesystem>
#include <fstream>
#include <string>

#include "test_support.h"
#include "win32.h"
#include "win32_testhooks_commctrl.h"
#include "win32_testhooks_shell.h"

namespace {

namespace fs = std::filesystem;
using shelltest::G;

const char kAllFiles[] = "All Files (*.*)\0*.*\0";

// The export's dialog settings.
struct ExportDialog {
    char file[MAX_PATH] = "Export.txt";
    char title[64] = {};
    OPENFILENAMEA ofn{};
    explicit ExportDialog(const char* defExt = "txt", HWND owner = nullptr) {
        ofn.lStructSize = sizeof(ofn);
        ofn.hwndOwner = owner;
        ofn.lpstrFilter = kAllFiles;
        ofn.lpstrFile = file;
        ofn.nMaxFile = sizeof(file);
        ofn.lpstrFileTitle = title;
        ofn.nMaxFileTitle = sizeof(title);
        ofn.lpstrDefExt = defExt;
        ofn.Flags = OFN_OVERWRITEPROMPT;
    }
};

class SaveDialog : public ::testing::Test {
protected:
    void SetUp() override { w32test::ClearSaveDialogs(); }
    void TearDown() override { w32test::SetSaveDialogHook(nullptr); }
};

TEST_F(SaveDialog, CallIsRecordedWithTheProgramsSettings) {
    w32test::CancelSaveDialog();
    HWND page = reinterpret_cast<HWND>(0x77);
    ExportDialog d("xls", page);
    std::strcpy(d.file, "Export.xls");
    EXPECT_FALSE(GetSaveFileNameA(&d.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);  // cancelled, not failed
    EXPECT_STREQ(d.file, "Export.xls");     // untouched on cancel
    auto calls = w32test::SaveDialogs();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].owner, page);
    ASSERT_EQ(calls[0].filter.size(), 2u);
    EXPECT_EQ(calls[0].filter[0], "All Files (*.*)");
    EXPECT_EQ(calls[0].filter[1], "*.*");
    EXPECT_EQ(calls[0].initialFile, "Export.xls");
    EXPECT_EQ(calls[0].defExt, "xls");
    EXPECT_EQ(calls[0].flags, static_cast<DWORD>(OFN_OVERWRITEPROMPT));
}

TEST_F(SaveDialog, DefaultExtensionOnlyForNamesWithoutOne) {
    shelltest::TempDir dir;
    std::string typed = dir.gbk() + "\\" + G("报表");
    w32test::AnswerSaveDialog(typed);
    ExportDialog d;
    ASSERT_TRUE(GetSaveFileNameA(&d.ofn));
    std::string expected = dir.gbk() + "/" + G("报表") + ".txt";
    EXPECT_EQ(std::string(d.file), expected);
    EXPECT_EQ(d.ofn.nFileOffset, dir.gbk().size() + 1);
    EXPECT_EQ(std::string(d.file + d.ofn.nFileExtension), "txt");
    EXPECT_EQ(std::string(d.title), G("报表") + ".txt");
    EXPECT_FALSE(d.ofn.Flags & OFN_EXTENSIONDIFFERENT);

    // A name typed with its own extension keeps it.
    w32test::AnswerSaveDialog(dir.gbk() + "/list.csv");
    ExportDialog e;
    ASSERT_TRUE(GetSaveFileNameA(&e.ofn));
    EXPECT_EQ(std::string(e.file), dir.gbk() + "/list.csv");
    EXPECT_TRUE(e.ofn.Flags & OFN_EXTENSIONDIFFERENT);
    // A dot in a folder name is not an extension.
    w32test::AnswerSaveDialog(dir.gbk() + "/v1.2/report");
    ExportDialog f;
    ASSERT_TRUE(GetSaveFileNameA(&f.ofn));
    EXPECT_EQ(std::string(f.file), dir.gbk() + "/v1.2/report.txt");
}

TEST_F(SaveDialog, RelativeNameIsTakenInTheStartFolder) {
    shelltest::TempDir dir;
    w32test::AnswerSaveDialog("out");
    ExportDialog d;
    std::string start = dir.gbk();
    d.ofn.lpstrInitialDir = start.c_str();
    ASSERT_TRUE(GetSaveFileNameA(&d.ofn));
    EXPECT_EQ(std::string(d.file), start + "/out.txt");
}

TEST_F(SaveDialog, NextDialogStartsInTheFolderUsedLast) {
    shelltest::TempDir first, second;
    w32test::AnswerSaveDialog(first.gbk() + "/a.txt");
    ExportDialog d;
    ASSERT_TRUE(GetSaveFileNameA(&d.ofn));
    // A bare name now lands in the folder used last...
    w32test::AnswerSaveDialog("b");
    ExportDialog e;
    ASSERT_TRUE(GetSaveFileNameA(&e.ofn));
    EXPECT_EQ(std::string(e.file), first.gbk() + "/b.txt");
    // ... unless the program names a start folder.
    ExportDialog f;
    std::string start = second.gbk();
    f.ofn.lpstrInitialDir = start.c_str();
    ASSERT_TRUE(GetSaveFileNameA(&f.ofn));
    EXPECT_EQ(std::string(f.file), second.gbk() + "/b.txt");
}

TEST_F(SaveDialog, BufferTooSmallAndNamesGbkCannotHoldAreErrors) {
    w32test::AnswerSaveDialog("/tmp/" + std::string(300, 'a'));
    ExportDialog d;
    EXPECT_FALSE(GetSaveFileNameA(&d.ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    WORD need = 0;
    std::memcpy(&need, d.file, sizeof need);
    EXPECT_EQ(need, 5 + 300 + 4 + 1);

    w32test::SetSaveDialogHook([](const w32test::SaveDialogCall&, std::string* typed) {
        *typed = "/tmp/\x81";  // half a GBK character
        return true;
    });
    ExportDialog e;
    EXPECT_FALSE(GetSaveFileNameA(&e.ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_INVALIDFILENAME));

    OPENFILENAMEA bad{};
    EXPECT_FALSE(GetSaveFileNameA(&bad));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

// Qt's own dialog: the preset name, the folder, the default suffix and the
// result in GBK, typed into the dialog's name field as a user would.
TEST_F(SaveDialog, RealDialogReturnsTheTypedNameWithDefaultSuffix) {
    shelltest::TempDir dir;
    fs::create_directories(dir.path() + "/docs");
    std::string start = dir.gbk() + "/docs";
    bool sawPreset = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            if (!dlg || !dlg->isVisible()) continue;
            auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit) continue;
            sawPreset = edit->text() == QStringLiteral("Export.txt");
            edit->setText(QString::fromUtf8("客户名单"));
            QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
            return;
        }
    });
    ExportDialog d;
    d.ofn.lpstrInitialDir = start.c_str();
    ASSERT_TRUE(GetSaveFileNameA(&d.ofn));
    EXPECT_TRUE(sawPreset);
    EXPECT_EQ(std::string(d.file), start + "/" + G("客户名单") + ".txt");
    EXPECT_EQ(d.ofn.nFilterIndex, 1u);
}

// Drives the real dialog: types `name` and accepts; a confirmation box that
// comes up is answered with `confirm`; then the dialog is cancelled if still
// open. Returns the title of the confirmation box seen, empty for none.
QString DriveDialog(const QString& name, QMessageBox::StandardButton confirm, std::function<BOOL()> run, BOOL* result) {
    int step = 0;
    QString confirmTitle;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QFileDialog* dlg = nullptr;
        QMessageBox* box = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (!w->isVisible()) continue;
            if (auto* d = qobject_cast<QFileDialog*>(w)) dlg = d;
            if (auto* b = qobject_cast<QMessageBox*>(w)) box = b;
        }
        if (box) {
            confirmTitle = box->windowTitle();
            if (QAbstractButton* b = box->button(confirm)) b->click();
            return;
        }
        if (!dlg) return;
        if (step == 0) {
            dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(name);
            step = 1;
            QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
        } else if (step == 1) {
            step = 2;  // still open after the answer: give up
            QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
        }
    });
    timer.start();
    *result = run();
    timer.stop();
    return confirmTitle;
}

TEST_F(SaveDialog, RealDialogAsksBeforeReplacingOnlyWithOverwritePrompt) {
    shelltest::TempDir dir;
    std::ofstream(dir.path() + "/old.txt") << "keep";
    std::string start = dir.gbk();
    BOOL ok = TRUE;
    {
        ExportDialog d;
        d.ofn.lpstrInitialDir = start.c_str();
        // Declining the replacement leaves the dialog open; it is then cancelled.
        // The question is titled as on Windows.
        EXPECT_EQ(DriveDialog(
                      QStringLiteral("old.txt"), QMessageBox::No, [&] { return GetSaveFileNameA(&d.ofn); }, &ok)
                      .toStdString(),
                  "确认另存为");
        EXPECT_FALSE(ok);
    }
    {
        ExportDialog d;
        d.ofn.lpstrInitialDir = start.c_str();
        EXPECT_FALSE(DriveDialog(
                         QStringLiteral("old.txt"), QMessageBox::Yes, [&] { return GetSaveFileNameA(&d.ofn); }, &ok)
                         .isEmpty());
        EXPECT_TRUE(ok);
        EXPECT_EQ(std::string(d.file), start + "/old.txt");
    }
    {
        ExportDialog d;
        d.ofn.lpstrInitialDir = start.c_str();
        d.ofn.Flags = 0;  // no prompt asked for
        EXPECT_TRUE(DriveDialog(
                        QStringLiteral("old.txt"), QMessageBox::No, [&] { return GetSaveFileNameA(&d.ofn); }, &ok)
                        .isEmpty());
        EXPECT_TRUE(ok);
    }
}

// A worker thread's SendMessageA to a window is served while the UI thread
// sits in the save dialog, as in every other wait.
LRESULT CALLBACK AnswerProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_USER + 7) return static_cast<LRESULT>(wp) * 2;
    return DefWindowProcA(h, msg, wp, lp);
}

struct SendJob {
    HWND target;
    LRESULT result = 0;
};

DWORD WINAPI SendFromWorker(LPVOID p) {
    auto* job = static_cast<SendJob*>(p);
    job->result = SendMessageA(job->target, WM_USER + 7, 21, 0);
    return 0;
}

TEST_F(SaveDialog, CrossThreadSendsAreServedWhileTheDialogIsOpen) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = AnswerProc;
    wc.lpszClassName = "SaveDialogSendTest";
    RegisterClassA(&wc);
    HWND target = CreateWindowExA(0, "SaveDialogSendTest", "t", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(target, nullptr);
    SendJob job{target};
    HANDLE worker = nullptr;
    bool doneWhileOpen = false;
    int polls = 0;
    QTimer timer;
    timer.setInterval(10);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QFileDialog* dlg = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* d = qobject_cast<QFileDialog*>(w); d && d->isVisible()) dlg = d;
        if (!dlg) return;
        if (!worker) worker = CreateThread(nullptr, 0, SendFromWorker, &job, 0, nullptr);
        doneWhileOpen = WaitForSingleObject(worker, 0) == WAIT_OBJECT_0;
        if (doneWhileOpen || ++polls > 300) QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
    });
    timer.start();
    shelltest::TempDir dir;
    std::string start = dir.gbk();
    ExportDialog d;
    d.ofn.lpstrInitialDir = start.c_str();
    EXPECT_FALSE(GetSaveFileNameA(&d.ofn));
    timer.stop();
    ASSERT_NE(worker, nullptr);
    // Had the send waited for the dialog to close, it is served here.
    for (int i = 0; i < 500 && WaitForSingleObject(worker, 10) == WAIT_TIMEOUT; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    CloseHandle(worker);
    EXPECT_TRUE(doneWhileOpen);
    EXPECT_EQ(job.result, 42);
    DestroyWindow(target);
}

// The dialog is modal to the owner's top-level window: disabled while the
// dialog is open, enabled again afterwards; posted messages keep flowing.
TEST_F(SaveDialog, RealDialogDisablesTheOwnersTopLevelWindow) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "SaveDialogOwnerTest";
    RegisterClassA(&wc);
    HWND main = CreateWindowExA(0, "SaveDialogOwnerTest", "main", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(main, nullptr);
    HWND page = CreateWindowExA(0, "SaveDialogOwnerTest", "page", WS_CHILD | WS_VISIBLE, 0, 0, 200, 100, main, nullptr,
                                nullptr, nullptr);
    ASSERT_NE(page, nullptr);
    ShowWindow(main, SW_SHOW);
    shelltest::TempDir dir;
    std::string start = dir.gbk();
    bool disabledDuring = false;
    QTimer::singleShot(0, [&] {
        disabledDuring = !IsWindowEnabled(main);
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            if (!dlg || !dlg->isVisible()) continue;
            QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
            return;
        }
    });
    ExportDialog d("xls", page);
    d.ofn.lpstrInitialDir = start.c_str();
    EXPECT_FALSE(GetSaveFileNameA(&d.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(disabledDuring);
    EXPECT_TRUE(IsWindowEnabled(main));
    DestroyWindow(main);
}

}  // namespace

namespace {

// Opens the real dialog in `start`, types `name` into it once it shows its
// folder's files, and accepts.
BOOL TypeIntoRealDialog(ExportDialog* d, const std::string& start, const QString& name, QStringList* filters,
                        QString* lookInLabel, const QString& shownFirst = QString()) {
    bool typed = false;
    QTimer timer;
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            if (!dlg || !dlg->isVisible()) continue;
            auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            if (!edit) continue;
            if (!typed && !shownFirst.isEmpty()) {
                // The dialog has looked the file up (its type is known) before the name is typed.
                auto* model = dlg->findChild<QFileSystemModel*>();
                if (!model) return;
                QModelIndex idx = model->index(shownFirst);
                if (!idx.isValid() || model->type(idx).isEmpty()) return;
            }
            if (!typed) {
                typed = true;
                if (auto* combo = dlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                    for (int i = 0; i < combo->count(); ++i) filters->append(combo->itemText(i));
                if (auto* label = dlg->findChild<QLabel*>(QStringLiteral("lookInLabel"))) *lookInLabel = label->text();
                // Typed as a user types: each keystroke completes against the folder.
                edit->clear();
                for (QChar c : name) edit->insert(QString(c));
            } else {
                edit->setText(name);  // still open: the name once more, whole
            }
            QMetaObject::invokeMethod(dlg, "accept", Qt::QueuedConnection);
            return;
        }
    });
    timer.start();
    d->ofn.lpstrInitialDir = start.c_str();
    d->ofn.Flags = 0;  // no question about replacing a completed name
    BOOL ok = GetSaveFileNameA(&d->ofn);
    timer.stop();
    return ok;
}

}  // namespace

TEST_F(SaveDialog, RealDialogNeverOpensFilesToShowOrCompleteThem) {
    shelltest::TempDir dir;
    std::string fifo = dir.path() + "/pipe.txt";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A file whose name says nothing of its type: only its contents would.
    std::ofstream(dir.path() + "/notes") << "plain words";
    int watch = inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watch, 0);
    ASSERT_GE(inotify_add_watch(watch, dir.path().c_str(), IN_OPEN), 0);
    // A reader of the FIFO shows up as a writer that can open it without
    // blocking; the watchdog then lets the reader go and remembers it.
    std::atomic<bool> stop{false}, opened{false};
    std::thread watchdog([&] {
        while (!stop) {
            int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) {
                opened = true;
                close(fd);
            }
            usleep(2000);
        }
    });
    ExportDialog d;
    QStringList filters;
    QString lookIn;
    BOOL ok = TypeIntoRealDialog(&d, dir.gbk(), QStringLiteral("pi"), &filters, &lookIn,
                                 QString::fromStdString(dir.path() + "/notes"));
    EXPECT_TRUE(ok);
    // Nothing in the folder was opened.
    std::vector<std::string> contentsRead;
    alignas(inotify_event) char buf[4096];
    for (ssize_t n; (n = read(watch, buf, sizeof buf)) > 0;)
        for (char* p = buf; p < buf + n; p += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(p)->len)
            if (reinterpret_cast<inotify_event*>(p)->len)
                contentsRead.push_back(reinterpret_cast<inotify_event*>(p)->name);
    close(watch);
    EXPECT_EQ(contentsRead, std::vector<std::string>{});
    ExportDialog proc;
    ok = TypeIntoRealDialog(&proc, dir.gbk(), QStringLiteral("/proc/export.txt"), &filters, &lookIn);
    stop = true;
    watchdog.join();
    EXPECT_FALSE(opened);
    EXPECT_TRUE(ok);
    EXPECT_STREQ(proc.file, "/proc/export.txt");
}

TEST_F(SaveDialog, RealDialogSpeaksChineseAndShowsTheFilterOnce) {
    shelltest::TempDir dir;
    ExportDialog d;
    QStringList filters;
    QString lookIn;
    EXPECT_TRUE(TypeIntoRealDialog(&d, dir.gbk(), QStringLiteral("a.txt"), &filters, &lookIn));
    EXPECT_EQ(filters, QStringList{QStringLiteral("All Files (*.*)")});
    EXPECT_FALSE(lookIn.isEmpty());
    EXPECT_NE(lookIn, QStringLiteral("Look in:"));
}

// Under the C locale (ctest runs this program with LC_ALL=C) Qt's own dialogs
// still speak Chinese: the save dialog opens with each column of its folder
// whole, header and cells, sizes, types and the size header as Chinese Explorer
// writes them and dates in Chinese, its side bar's names whole, a long one
// dropped onto it too; the calendar shows its months and days in Chinese.
TEST_F(SaveDialog, QtDialogsShowWholeColumnsExplorerSizesAndChineseDatesUnderACLocale) {
    // Run whole too, the program gets the environment ctest gives it.
    ASSERT_STREQ(getenv("LC_ALL"), "C");
    shelltest::TempDir dir;
    const std::pair<const char*, uintmax_t> files[] = {
        {"导出列表-2025年12月8日-全部客户联系人与销售机会.xls", 144 * 1024},
        {"Song.ttf", 1234 * 1024 - 5},
        {"list.bin", 195},
        {"empty", 0}};
    fs::create_directories(dir.path() + "/子目录/全部客户联系人与销售机会");
    std::tm when{};  // 2025-12-08 15:49 local time
    when.tm_year = 2025 - 1900, when.tm_mon = 11, when.tm_mday = 8, when.tm_hour = 15, when.tm_min = 49;
    when.tm_isdst = -1;
    const utimbuf times{std::mktime(&when), std::mktime(&when)};
    for (const auto& [name, size] : files) {
        const std::string file = dir.path() + "/" + name;
        std::ofstream{file};
        fs::resize_file(file, size);
        ASSERT_EQ(utime(file.c_str(), &times), 0);
    }
    std::map<std::string, std::string> sizes, types, dates;
    std::string headers;
    std::vector<std::string> cut, sidebarCut;
    int dragged = 0;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&, polls = 0]() mutable {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dlg = qobject_cast<QFileDialog*>(w);
            auto* view = dlg && dlg->isVisible() ? dlg->findChild<QTreeView*>(QStringLiteral("treeView")) : nullptr;
            if (!view) continue;
            // Each column lies within the view and is as wide as its header's and
            // each cell's text need; a type not looked up yet counts as cut.
            const QHeaderView* header = view->header();
            const QAbstractItemModel* shown = view->model();
            const int rows = shown->rowCount(view->rootIndex());
            cut.clear();
            headers.clear();
            for (int c = 0; c < header->count(); ++c) {
                const int left = header->sectionViewportPosition(c), width = header->sectionSize(c);
                const bool inView = left >= 0 && left + width <= view->viewport()->width();
                if (!inView || header->sectionSizeHint(c) > width)
                    cut.push_back(shown->headerData(c, Qt::Horizontal).toString().toStdString());
                headers += shown->headerData(c, Qt::Horizontal).toString().toStdString() + " ";
                for (int r = 0; r < rows; ++r) {
                    const QModelIndex at = shown->index(r, c, view->rootIndex());
                    const std::string name = at.siblingAtColumn(0).data().toString().toStdString();
                    if (!inView || view->sizeHintForIndex(at).width() > width ||
                        (c == 2 && at.data().toString().isEmpty()))
                        cut.push_back(name + ": " + at.data().toString().toStdString());
                    if (c == 1) sizes[name] = at.data().toString().toStdString();
                    if (c == 2) types[name] = at.data().toString().toStdString();
                    if (c == 3) dates[name] = at.data().toString().toStdString();
                }
            }
            if ((rows <= static_cast<int>(std::size(files)) || !cut.empty()) && ++polls < 250) return;
            // A folder with a long name added to the side bar, as a drop adds it; its
            // entries are then put back, which Qt keeps for its next dialogs.
            const QList<QUrl> entries = dlg->sidebarUrls();
            const QString folder = QString::fromStdString(dir.path() + "/子目录/全部客户联系人与销售机会");
            dlg->setSidebarUrls(entries + QList{QUrl::fromLocalFile(folder)});
            auto* side = dlg->findChild<QListView*>(QStringLiteral("sidebar"));
            for (int r = 0; r < side->model()->rowCount(); ++r)
                if (side->sizeHintForIndex(side->model()->index(r, 0)).width() > side->viewport()->width() ||
                    side->horizontalScrollBar()->isVisible())
                    sidebarCut.push_back(side->model()->index(r, 0).data().toString().toStdString());
            dlg->setSidebarUrls(entries);
            // The user can still drag the type column's border wider.
            QWidget* handles = header->viewport();
            const int before = header->sectionSize(2);
            const QPoint from(header->sectionViewportPosition(2) + before - 1, handles->height() / 2);
            const QPoint to = from + QPoint(40, 0);
            QMouseEvent press(QEvent::MouseButtonPress, from, handles->mapToGlobal(from), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QMouseEvent move(QEvent::MouseMove, to, handles->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                             Qt::NoModifier);
            QMouseEvent release(QEvent::MouseButtonRelease, to, handles->mapToGlobal(to), Qt::LeftButton, Qt::NoButton,
                                Qt::NoModifier);
            for (QMouseEvent* e : {&press, &move, &release}) QApplication::sendEvent(handles, e);
            dragged = header->sectionSize(2) - before;
            QMetaObject::invokeMethod(dlg, "reject", Qt::QueuedConnection);
        }
    });
    timer.start();
    ExportDialog d;
    const std::string start = dir.gbk();
    d.ofn.lpstrInitialDir = start.c_str();
    EXPECT_FALSE(GetSaveFileNameA(&d.ofn));
    timer.stop();
    EXPECT_EQ(cut, std::vector<std::string>{});
    EXPECT_EQ(sidebarCut, std::vector<std::string>{});
    EXPECT_EQ(dragged, 40);
    EXPECT_EQ(sizes, (std::map<std::string, std::string>{{files[0].first, "144 KB"},
                                                         {"Song.ttf", "1,234 KB"},
                                                         {"list.bin", "1 KB"},
                                                         {"empty", "0 KB"},
                                                         {"子目录", ""}}));
    EXPECT_EQ(headers, "名称 大小 类型 修改日期 ");
    EXPECT_EQ((std::vector<std::string>{types["子目录"], types["list.bin"], types["empty"]}),
              (std::vector<std::string>{"文件夹", "BIN 文件", "文件"}));
    EXPECT_EQ(dates[files[0].first], "2025/12/8 15:49");

    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_DATE_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "SaveDialogLocaleTest";
    RegisterClassA(&wc);
    HWND page = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr,
                                nullptr, nullptr, nullptr);
    HWND picker = CreateWindowExA(0, DATETIMEPICK_CLASSA, "", WS_CHILD | WS_VISIBLE, 10, 10, 120, 20, page, nullptr,
                                  nullptr, nullptr);
    SYSTEMTIME dec{};
    dec.wYear = 2025, dec.wMonth = 12, dec.wDay = 8;
    SendMessageA(picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&dec));
    w32test::OpenPickerCalendar(picker);
    QCalendarWidget* cal = nullptr;
    for (QWidget* w : QApplication::allWidgets())
        if (auto* c = qobject_cast<QCalendarWidget*>(w); c && c->isVisible()) cal = c;
    ASSERT_NE(cal, nullptr);
    auto* days = cal->findChild<QTableView*>();
    EXPECT_EQ(cal->findChild<QToolButton*>(QStringLiteral("qt_calendar_monthbutton"))->text().toStdString(), "十二月");
    EXPECT_EQ(days->model()->index(0, 1).data().toString().toStdString(), "一");
    w32test::DismissPickerCalendar(picker);
    DestroyWindow(page);
}
