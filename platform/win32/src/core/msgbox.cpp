// MessageBoxA over QMessageBox. A box called on the UI thread runs a nested
// loop there (posted messages and cross-thread sends keep being served); a
// box called on another thread is opened by the UI thread without a loop of
// its own, and the caller waits for the answer, as a Win32 box waits on its
// own thread. With an owner, the owner's top-level window is disabled;
// without one nothing is disabled and the box stays above the program's
// windows. A box goes with the top-level window it is shown over: destroying
// that window ends the box first (answer 0), as Win32 destroys owned windows
// before their owner. Another thread's box without owner is shown over no
// window: it blocks none, and no window takes it away; a WM_QUIT posted to
// that thread ends it (0) and stays queued, so that the thread's later boxes
// end at once too, as a Win32 box passes the quit on. The layer's shutdown
// ends every box still open.
//
// Keyboard: the default button has the focus; Enter answers with it, Esc
// with 取消 or the only button, the underlined letter of a button (是(Y),
// 否(N), ...) with that button, with or without Alt; a click on a button with
// that button, on whichever thread the box was called. A box that opens over
// another takes the keyboard; while a box has it, no window of the layer has
// the focus (GetFocus answers NULL); when a box ends, the window it took the
// keyboard from has it back, with the focus where it was (KeyboardReturn).
#include <QtCore/QEventLoop>
#include <QtCore/QPointer>
#include <QtGui/QCloseEvent>
#include <QtGui/QGuiApplication>
#include <QtGui/QKeyEvent>
#include <QtWidgets/QApplication>
#include <QtWidgets/QGridLayout>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "core.h"

namespace w32 {
namespace {

struct BoxWait;

class Box : public QMessageBox {
public:
    bool closable = true;  // Esc and the close box answer (no Yes/No box)
    int escapeResult = IDCANCEL;
    HWND ownerTop = nullptr;                                // the top-level window the box goes with
    const BoxWait* waitFor = nullptr;                       // another thread's box: what that thread waits on
    std::vector<std::pair<int, int>> letters;               // Qt key of an underlined letter, its answer
    std::vector<std::pair<QAbstractButton*, int>> answers;  // each button's answer

    // The answer of a box that finished with r: QMessageBox finishes a click
    // on a button (and Enter on the default one) with the button's place, so
    // the clicked button's own answer; else r (Esc, a letter, taken away).
    int Answer(int r) const {
        for (const auto& a : answers)
            if (a.first == clickedButton()) return a.second;
        return r;
    }

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) {
            if (closable) done(escapeResult);
            return;
        }
        if (e->key() == Qt::Key_F4 && (e->modifiers() & Qt::AltModifier)) {
            close();  // as the close box
            return;
        }
        if (!(e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
            for (const auto& l : letters)
                if (e->key() == l.first) {
                    done(l.second);
                    return;
                }
        }
        QMessageBox::keyPressEvent(e);
    }
    void closeEvent(QCloseEvent* e) override {
        if (!closable) {
            e->ignore();
            return;
        }
        e->accept();
        done(escapeResult);
    }
};

struct BoxButton {
    const char16_t* label;  // "&" marks the underlined letter
    int id;
    int key;  // the Qt key of that letter, 0 without one
};

// The buttons of a box type, left to right.
std::vector<BoxButton> BoxButtons(UINT flags) {
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{u"确定", IDOK, 0}, {u"取消", IDCANCEL, 0}};
    case MB_ABORTRETRYIGNORE:
        return {
            {u"中止(&A)", IDABORT, Qt::Key_A}, {u"重试(&R)", IDRETRY, Qt::Key_R}, {u"忽略(&I)", IDIGNORE, Qt::Key_I}};
    case MB_YESNOCANCEL: return {{u"是(&Y)", IDYES, Qt::Key_Y}, {u"否(&N)", IDNO, Qt::Key_N}, {u"取消", IDCANCEL, 0}};
    case MB_YESNO: return {{u"是(&Y)", IDYES, Qt::Key_Y}, {u"否(&N)", IDNO, Qt::Key_N}};
    case MB_RETRYCANCEL: return {{u"重试(&R)", IDRETRY, Qt::Key_R}, {u"取消", IDCANCEL, 0}};
    }
    return {{u"确定", IDOK, 0}};
}

// The default button's index (MB_DEFBUTTONn; the first when out of range).
// What a title bar takes besides its caption: icon, buttons and margins.
constexpr int kTitleBarRoom = 120;

size_t DefaultIndex(UINT flags, size_t count) {
    size_t def = (flags & MB_DEFMASK) >> 8;
    return def < count ? def : 0;
}

// The boxes open now, oldest first (UI thread only).
std::vector<QPointer<Box>>& OpenBoxes() {
    static auto* v = new std::vector<QPointer<Box>>;
    return *v;
}

// A box that ended leaves the list.
void Forget(Box* box) {
    auto& v = OpenBoxes();
    v.erase(std::remove_if(v.begin(), v.end(), [box](const QPointer<Box>& p) { return !p || p.data() == box; }),
            v.end());
}

// The top-level window a box is shown over: the owner's, else the active
// one, else (the program is in the background) its first window when shown.
HWND BoxTopLevel(HWND owner) {
    if (Window* w = FromHwnd(owner)) return TopLevelOf(w)->hwnd;
    if (HWND active = GetActiveWindow())
        if (Window* a = FromHwnd(active)) return TopLevelOf(a)->hwnd;
    HWND first = FindWindowA(nullptr, nullptr);
    return first && IsWindowVisible(first) ? first : nullptr;
}

// The widget a box is parented to, for its place above the others: an owned
// box, its owner's top-level window. A box of the UI thread without owner
// goes above the modal window in front (a box or dialog whose loop is nested
// under this one), so that the modal window does not block it; without one,
// above the active window. `top` is null for another thread's box without
// owner, which is a window of its own.
QWidget* BoxParent(HWND owner, HWND top, bool nested) {
    if (!owner && nested)
        if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    Window* t = FromHwnd(top);
    return t ? t->widget : nullptr;
}

// A box ready to show: texts, icon, buttons with their answers, the default
// button focused. `nested`: the box runs a loop of its own on the UI thread;
// another thread's box without owner goes with no window.
Box* MakeBox(HWND owner, bool nested, const char* text, const char* caption, UINT type) {
    auto* box = new Box;
    const HWND top = nested || owner ? BoxTopLevel(owner) : nullptr;
    if (QWidget* parent = BoxParent(owner, top, nested)) box->setParent(parent, Qt::Dialog);
    // Modal to its owner's window only (a QMessageBox blocks every window).
    box->setWindowModality(owner ? Qt::WindowModal : Qt::NonModal);
    box->ownerTop = top;
    box->setWindowTitle(ToQt(caption ? caption : "\xB4\xED\xCE\xF3"));  // the default caption "错误"
    // Lines a few pixels apart, as Win32 sets a box's text.
    QString lines = ToQt(text ? text : "").toHtmlEscaped();
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("<br>")).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    box->setTextFormat(Qt::RichText);
    box->setText(QStringLiteral("<p style=\"line-height:125%; white-space:pre-wrap\">") + lines +
                 QStringLiteral("</p>"));
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: box->setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box->setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box->setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box->setIcon(QMessageBox::Information); break;
    default: box->setIcon(QMessageBox::NoIcon);
    }
    std::vector<BoxButton> buttons = BoxButtons(type);
    bool hasCancel = false;
    for (auto& b : buttons) hasCancel |= b.id == IDCANCEL;
    box->closable = hasCancel || buttons.size() == 1;
    // A title and a close box only, as a Win32 box; a box that cannot be
    // closed (是/否) asks the window manager for no close box, as Win32
    // greys it.
    box->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        (box->closable ? Qt::WindowCloseButtonHint : Qt::WindowType(0)));
    box->escapeResult = hasCancel ? IDCANCEL : buttons.front().id;
    size_t def = DefaultIndex(type, buttons.size());
    std::vector<QPushButton*> widgets;
    for (const BoxButton& b : buttons) {
        QPushButton* pb = box->addButton(QString::fromUtf16(b.label), QMessageBox::ActionRole);
        // The box answers the letter itself (keyPressEvent), so that two
        // stacked boxes never compete for one Alt shortcut.
        pb->setShortcut(QKeySequence());
        box->answers.emplace_back(pb, b.id);
        if (b.key) box->letters.emplace_back(b.key, b.id);
        widgets.push_back(pb);
    }
    // Wide enough for the caption beside the title bar's icon and buttons,
    // as a Win32 box is.
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout()))
        grid->addItem(
            new QSpacerItem(QFontMetrics(box->font()).horizontalAdvance(box->windowTitle()) + kTitleBarRoom, 0),
            grid->rowCount(), 0, 1, grid->columnCount());
    box->setDefaultButton(widgets[def]);
    widgets[def]->setFocus();
    return box;
}

// Shown above the program's windows, holding the keyboard.
void ShowOnTop(Box* box) {
    box->show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) box->raise();
    box->activateWindow();
    if (QPushButton* def = box->defaultButton()) def->setFocus();
    OpenBoxes().push_back(box);
}

// A box on the UI thread: it runs its own loop until answered, or until it
// is taken away with its window (0).
int ShowBox(HWND owner, const char* text, const char* caption, UINT type) {
    int result = 0;
    if (HookMessageBox(owner, text, caption, type, &result)) return result;
    if (!LayerAlive()) return IDOK;
    ForeignLoopScope scope(owner, true);
    QPointer<Box> box = MakeBox(owner, true, text, caption, type);
    if (!owner) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QEventLoop loop;
    int answer = 0;
    QObject::connect(box, &QDialog::finished, &loop, [&](int r) {
        answer = box->Answer(r);
        loop.quit();
    });
    QObject::connect(box, &QObject::destroyed, &loop, &QEventLoop::quit);
    ShowOnTop(box);
    loop.exec();
    if (box) {
        Forget(box);
        delete box.data();
    }
    return answer;
}

// The answer another thread waits for.
struct BoxWait {
    std::mutex m;
    std::condition_variable cv;
    bool done = false;
    int answer = 0;
    bool Done() {
        std::lock_guard<std::mutex> lock(m);
        return done;
    }
    void Finish(int r) {
        std::lock_guard<std::mutex> lock(m);
        if (!done) {
            done = true;
            answer = r;
        }
        cv.notify_all();
    }
};

// Another thread's box, opened by the UI thread, which goes on with its own
// loop; the box answers `wait` when it ends or is taken away. A wait a quit
// has already ended gets no box.
void OpenBoxFor(const std::shared_ptr<BoxWait>& wait, HWND owner, const char* text, const char* caption, UINT type) {
    if (wait->Done()) return;
    int result = 0;
    if (HookMessageBox(owner, text, caption, type, &result)) {
        wait->Finish(result);
        return;
    }
    if (!LayerAlive()) {
        wait->Finish(IDOK);
        return;
    }
    // The owner is enabled again and gets the keyboard back when the box
    // ends, or only enabled when it is taken away (the layer shuts down).
    struct Release {
        HWND disabled = nullptr;
        KeyboardReturn back;
        explicit Release(HWND owner) : back(owner) {}
        void Enable() {
            if (disabled && IsWindow(disabled)) EnableWindow(disabled, TRUE);
            disabled = nullptr;
        }
    };
    auto release = std::make_shared<Release>(owner);
    if (Window* w = FromHwnd(owner)) {
        Window* top = TopLevelOf(w);
        if (top->Enabled()) {
            EnableWindow(top->hwnd, FALSE);
            release->disabled = top->hwnd;
        }
    }
    Box* box = MakeBox(owner, false, text, caption, type);
    box->waitFor = wait.get();
    if (!owner) box->setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QObject::connect(box, &QDialog::finished, box, [wait, box, release](int r) {
        wait->Finish(box->Answer(r));
        Forget(box);
        release->Enable();
        release->back.GiveBack();
        box->deleteLater();
    });
    QObject::connect(box, &QObject::destroyed, [wait, release] {
        wait->Finish(0);
        release->Enable();
    });
    ShowOnTop(box);
}

// Takes away the box that answers `wait` (UI thread).
void EndBoxFor(const BoxWait* wait) {
    std::vector<QPointer<Box>> boxes = OpenBoxes();
    for (auto& b : boxes)
        if (b && b->waitFor == wait) b->done(0);
}

// A box called on another thread: opened by the UI thread, waited for here.
// A WM_QUIT in this thread's queue ends the wait (0), now or while the box is
// open, and is left there.
int OtherThreadsBox(HWND owner, const char* text, const char* caption, UINT type) {
    auto wait = std::make_shared<BoxWait>();
    SetThreadQueueWake([wait](UINT msg) {
        if (msg == WM_QUIT) wait->Finish(0);
    });
    int answer = 0;
    if (!ThreadQuitPosted()) {
        bool opened = false;
        RunOnUiThread([&] {
            opened = true;
            OpenBoxFor(wait, owner, text, caption, type);
        });
        // Once the GUI is gone a box is answered as the default OK.
        answer = IDOK;
        if (opened) {
            std::unique_lock<std::mutex> lock(wait->m);
            while (!wait->cv.wait_for(lock, std::chrono::milliseconds(20), [&] { return wait->done; }) &&
                   LayerAlive()) {
            }
            answer = wait->done ? wait->answer : 0;
        }
        // Ended by the quit: the box leaves the screen.
        if (opened && ThreadQuitPosted()) RunOnUiThread([&] { EndBoxFor(wait.get()); });
    }
    SetThreadQueueWake(nullptr);
    return answer;
}

}  // namespace

int DefaultBoxAnswer(UINT flags) {
    std::vector<BoxButton> buttons = BoxButtons(flags);
    return buttons[DefaultIndex(flags, buttons.size())].id;
}

void EndBoxesOf(HWND top) {
    std::vector<QPointer<Box>> boxes = OpenBoxes();
    for (auto& b : boxes)
        if (b && b->ownerTop == top) b->done(0);
}

void EndOpenBoxes() {
    std::vector<QPointer<Box>> boxes;
    boxes.swap(OpenBoxes());
    for (auto& b : boxes)
        if (b) delete b.data();
}

}  // namespace w32

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    if (w32::IsUiThread()) return w32::ShowBox(hWnd, lpText, lpCaption, uType);
    return w32::OtherThreadsBox(hWnd, lpText, lpCaption, uType);
}
