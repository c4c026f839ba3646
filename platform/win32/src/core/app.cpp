// Application start and end: the Qt application object, process settings the
// program relies on (C numeric locale, no SIGPIPE, X11 rather than Wayland,
// Chinese texts in Qt's own dialogs), and the call of WinMain.
#include <QtCore/QCoreApplication>
#include <QtCore/QLibraryInfo>
#include <QtCore/QLocale>
#include <QtCore/QTranslator>
#include <QtGui/QFont>
#include <QtGui/QPainter>
#include <QtGui/QScreen>
#include <QtWidgets/QApplication>
#include <QtWidgets/QProxyStyle>
#include <QtWidgets/QStyleFactory>
#include <QtWidgets/QStyleOption>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <optional>
#include <string>
#include <utility>

#include <xcb/xcb.h>

#include "core.h"

namespace w32 {
namespace {

// Scroll bars as Windows draws them in its default theme: a flat light track,
// a grey thumb, small arrow triangles on flat buttons, darker while pressed.
// Only opaque rectangles are filled: Fusion's gradients and translucent edge
// lines are drawn pixel span by pixel span, which for a long bar makes Qt start
// a pool of painting threads.
namespace scrollbar {
const QColor kTrack(240, 240, 240);
const QColor kThumb(205, 205, 205);
const QColor kThumbPressed(96, 96, 96);
const QColor kArrow(96, 96, 96);
const QColor kArrowDisabled(191, 191, 191);
const QColor kButtonPressed(96, 96, 96);

enum class Dir { Up, Down, Left, Right };

// A filled triangle pointing `dir`, centred in `r`, drawn row by row.
void Arrow(QPainter* p, const QRect& r, Dir dir, const QColor& c) {
    const int n = std::max(2, (std::min(r.width(), r.height()) - 6) / 3) + 1;  // rows: 4 in a 17-pixel button
    const QPoint ctr = r.center();
    for (int i = 0; i < n; ++i) {
        const int len = 2 * i + 1;
        switch (dir) {
        case Dir::Up: p->fillRect(ctr.x() - i, ctr.y() - n / 2 + i, len, 1, c); break;
        case Dir::Down: p->fillRect(ctr.x() - i, ctr.y() + (n - 1) / 2 - i, len, 1, c); break;
        case Dir::Left: p->fillRect(ctr.x() - n / 2 + i, ctr.y() - i, 1, len, c); break;
        case Dir::Right: p->fillRect(ctr.x() + (n - 1) / 2 - i, ctr.y() - i, 1, len, c); break;
        }
    }
}

void Draw(const QStyle* style, const QStyleOptionSlider* sb, QPainter* p, const QWidget* widget) {
    const bool horizontal = sb->orientation == Qt::Horizontal;
    const bool enabled = (sb->state & QStyle::State_Enabled) && sb->maximum > sb->minimum;
    const bool sunken = sb->state & QStyle::State_Sunken;
    auto part = [&](QStyle::SubControl sc) { return style->subControlRect(QStyle::CC_ScrollBar, sb, sc, widget); };
    auto pressed = [&](QStyle::SubControl sc) { return enabled && sunken && (sb->activeSubControls & sc); };
    p->fillRect(sb->rect, kTrack);
    const bool rtl = sb->direction == Qt::RightToLeft;
    const Dir subDir = horizontal ? (rtl ? Dir::Right : Dir::Left) : Dir::Up;
    const Dir addDir = horizontal ? (rtl ? Dir::Left : Dir::Right) : Dir::Down;
    for (auto [sc, dir] :
         {std::pair{QStyle::SC_ScrollBarSubLine, subDir}, std::pair{QStyle::SC_ScrollBarAddLine, addDir}}) {
        const QRect r = part(sc);
        if (r.isEmpty()) continue;
        if (pressed(sc)) {
            p->fillRect(r, kButtonPressed);
            Arrow(p, r, dir, kTrack);
        } else {
            Arrow(p, r, dir, enabled ? kArrow : kArrowDisabled);
        }
    }
    if (!enabled) return;
    QRect thumb = part(QStyle::SC_ScrollBarSlider);
    // A thumb a little narrower than the bar, as Windows draws it.
    thumb = horizontal ? thumb.adjusted(0, 2, 0, -2) : thumb.adjusted(2, 0, -2, 0);
    if (!thumb.isEmpty()) p->fillRect(thumb, pressed(QStyle::SC_ScrollBarSlider) ? kThumbPressed : kThumb);
}
}  // namespace scrollbar

// A list header's section as Windows draws it: flat on the window colour with
// a thin divider at its right; light blue under the mouse and while pressed.
void DrawHeaderSection(const QStyleOption* opt, QPainter* p) {
    QColor face(255, 255, 255);
    if (opt->state & QStyle::State_Sunken)
        face = QColor(188, 220, 244);
    else if (opt->state & QStyle::State_MouseOver)
        face = QColor(217, 235, 249);
    const QRect r = opt->rect;
    p->fillRect(r, face);
    p->fillRect(QRect(r.right(), r.top(), 1, r.height()), QColor(229, 229, 229));
}

// Fusion with the looks of Win32 controls: the keyboard focus always shows
// (Fusion shows it only after a Tab), drop-down lists open below their field,
// scroll bars and list headers look like Windows' own, and the buttons of Qt's
// own dialogs and boxes (保存, 取消, 是, 否, ...) carry no icon, whatever the
// desktop's theme says.
class LayerStyle : public QProxyStyle {
public:
    LayerStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_ComboBox_Popup || hint == SH_DialogButtonBox_ButtonsHaveIcons) return 0;
        return QProxyStyle::styleHint(hint, opt, widget, ret);
    }
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* widget) const override {
        FocusShown shown(opt);
        QProxyStyle::drawPrimitive(pe, opt, p, widget);
    }
    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p, const QWidget* widget) const override {
        if (ce == CE_HeaderSection) {
            DrawHeaderSection(opt, p);
            return;
        }
        FocusShown shown(opt);
        QProxyStyle::drawControl(ce, opt, p, widget);
    }
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* widget) const override {
        if (cc == CC_ScrollBar) {
            if (const auto* sb = qstyleoption_cast<const QStyleOptionSlider*>(opt)) {
                scrollbar::Draw(proxy(), sb, p, widget);
                return;
            }
        }
        FocusShown shown(opt);
        QProxyStyle::drawComplexControl(cc, opt, p, widget);
    }

private:
    // Marks a focused control's option as focused from the keyboard while it
    // is drawn.
    struct FocusShown {
        explicit FocusShown(const QStyleOption* opt) : opt_(const_cast<QStyleOption*>(opt)) {
            if (opt_) {
                saved_ = opt_->state;
                if (saved_ & State_HasFocus) opt_->state |= State_KeyboardFocusChange;
            }
        }
        ~FocusShown() {
            if (opt_) opt_->state = saved_;
        }
        QStyleOption* opt_;
        QStyle::State saved_;
    };
};

// Qt formats some texts of its own dialogs with its system locale, not the
// default one: the file dialog's sizes and dates (QFileSystemModel). On Unix
// Qt takes that locale from LC_ALL, LC_* and LANG (LANGUAGE for the
// languages) the first time it is asked, and keeps it. It is asked here with
// a Chinese LC_ALL, before QApplication exists; the environment is then given
// back as it was, for the C library (which QApplication sets up from it) and
// for the programs this one starts.
// This relies on two things no code may break: it runs before any other
// thread exists (setenv is not safe while another thread reads the
// environment), and before anything asks Qt for its system locale (a
// QLocale made before setDefault, a static object's formatting); once asked,
// Qt keeps the first answer and this changes nothing. The result says whether
// Qt's system locale is Chinese afterwards.
bool MakeQtSystemLocaleChinese() {
    const char* const names[] = {"LC_ALL", "LANGUAGE"};
    std::optional<std::string> saved[std::size(names)];
    for (size_t i = 0; i < std::size(names); ++i)
        if (const char* v = getenv(names[i])) saved[i] = v;
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    unsetenv("LANGUAGE");
    (void)QLocale::system().uiLanguages();  // its languages too, kept from the first time asked
    for (size_t i = 0; i < std::size(names); ++i) {
        if (saved[i])
            setenv(names[i], saved[i]->c_str(), 1);
        else
            unsetenv(names[i]);
    }
    return QLocale::system().language() == QLocale::Chinese;
}

// Qt's own dialogs (file dialog, calendar) speak Chinese whatever the
// system locale: Qt's Chinese translations and a Chinese default locale.
void UseChineseForQt(QApplication* app) {
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    auto* tr = new QTranslator(app);
    if (tr->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(tr);
    else
        delete tr;
}

// Every top-level window carries the program's icon for the window manager
// (_NET_WM_ICON), dialogs and message boxes too, whose classes have none: on
// Windows the task bar shows the executable's first icon for every window.
void ShowTheProgramIconOnEveryWindow() { QGuiApplication::setWindowIcon(ProgramIcon()); }

}  // namespace

namespace {

// A variable of the environment, or nullptr when it is unset or empty.
const char* EnvValue(const char* name) {
    const char* v = getenv(name);
    return v && *v ? v : nullptr;
}

// Windows are placed at absolute screen positions, which Wayland does not
// allow: use X11 (XWayland) wherever an X display is set.
void ChooseX11() {
    const char* platform = EnvValue("QT_QPA_PLATFORM");
    if ((!platform || strncmp(platform, "wayland", 7) == 0) && EnvValue("DISPLAY")) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

}  // namespace

QApplication* StartApplication(int& argc, char** argv, bool forTests) {
    signal(SIGPIPE, SIG_IGN);
    ChooseX11();
    if (!MakeQtSystemLocaleChinese()) {
        // Said aloud, and a test program stops: nothing else would show it
        // but Qt's dialogs in the environment's language.
        fputs("Qt's system locale is not Chinese: it was asked for before the application started.\n", stderr);
        if (forTests) std::exit(1);
    }
    QApplication::setStyle(new LayerStyle);
    auto* app = new QApplication(argc, argv);
    // QCoreApplication set the locale from the environment; numbers stay "C"
    // so that "%f" always writes a decimal point.
    setlocale(LC_NUMERIC, "C");
    UseChineseForQt(app);
    ShowTheProgramIconOnEveryWindow();
    QApplication::setFont(DefaultControlFont());
    app->setQuitOnLastWindowClosed(false);
    WatchDialogDecorations(app);
    SendKeysPastAPopupOn(app);
    KeepWithTheWindowInFront(app);
    PlaceQtMenus(app);
    InitLayer();
    return app;
}

void StopApplication(QApplication* app) {
    ShutdownLayer();
    delete app;
    setlocale(LC_NUMERIC, "C");
}

// Qt aborts when its platform cannot open the display; the program says
// instead, in English and Chinese, which display it could not open, and the
// caller exits with status 1.
bool CanOpenADisplay(const char* program) {
    ChooseX11();
    const char* platform = EnvValue("QT_QPA_PLATFORM");
    const char* display = EnvValue("DISPLAY");
    const char* wayland = EnvValue("WAYLAND_DISPLAY");
    if (!platform && !display && !wayland) {
        // Each step of the virtual display waits for the one before: a window
        // mapped before the window manager has taken the display stays unseen.
        fprintf(stderr,
                "This program needs a graphical display (X11 or Wayland) and none is set (DISPLAY is empty).\n"
                "Start it from a desktop session, or on a virtual display under a window manager (:99 any free "
                "one):\n"
                "  Xvfb :99 -screen 0 1280x1024x24 & until [ -S /tmp/.X11-unix/X99 ]; do sleep 0.1; done; "
                "DISPLAY=:99 openbox --sm-disable & until DISPLAY=:99 wmctrl -m >/dev/null 2>&1; do sleep 0.1; done; "
                "DISPLAY=:99 %s\n"
                "本程序需要图形显示。\n",
                program);
        return false;
    }
    if (!platform && !display) {
        // ChooseX11 found no X display beside the Wayland one.
        fprintf(stderr,
                "This program needs an X11 display, and the Wayland session \"%s\" has none (DISPLAY is empty: no "
                "XWayland).\n"
                "本程序需要X11显示（XWayland），Wayland会话“%s”没有提供。\n",
                wayland, wayland);
        return false;
    }
    if (platform && strncmp(platform, "xcb", 3) != 0) return true;  // offscreen, vnc, ...: Qt's to open
    if (!display) {
        fputs(
            "This program needs an X display for QT_QPA_PLATFORM=xcb, and none is set (DISPLAY is empty).\n"
            "本程序需要图形显示。\n",
            stderr);
        return false;
    }
    xcb_connection_t* c = xcb_connect(display, nullptr);
    const int error = xcb_connection_has_error(c);
    xcb_disconnect(c);
    if (error) {
        fprintf(stderr,
                "This program cannot open the X display \"%s\" (DISPLAY): no X server answers there, or it refused "
                "the connection.\n"
                "本程序无法打开图形显示“%s”。\n",
                display, display);
        return false;
    }
    return true;
}

}  // namespace w32

typedef int(WINAPI* W32WinMainFn)(HINSTANCE, HINSTANCE, LPSTR, int);

int w32_main(int argc, char** argv, W32WinMainFn winMain) {
    if (!w32::CanOpenADisplay(argc > 0 ? argv[0] : "tarvel")) return 1;
    QApplication* app = w32::StartApplication(argc, argv, false);
    // Qt cannot paint on a display of fewer colours (8 bits): say so rather
    // than show empty windows or crash in the first paint.
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && screen->depth() < 16) {
        fprintf(stderr,
                "This program needs a display of 16 or 24 bits colour depth; this one has %d bits.\n"
                "本程序需要16位或24位色深的显示。\n",
                screen->depth());
        w32::StopApplication(app);
        return 1;
    }
    static char cmdLine[1] = "";
    HINSTANCE inst = GetModuleHandleA(nullptr);  // the executable itself
    int rc = winMain(inst, nullptr, cmdLine, SW_SHOWDEFAULT);
    w32::StopApplication(app);
    return rc;
}
