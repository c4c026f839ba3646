// Application start and end: the Qt application object, process settings the
// program relies on (C numeric locale, no SIGPIPE, X11 rather than Wayland,
// Chinese texts in Qt's own dialogs), and the call of WinMain.
#include <QtCore/QCoreApplication>
#include <QtCore/QLibraryInfo>
#include <QtCore/QLocale>
#include <QtCore/QTranslator>
#include <QtGui/QFont>
#include <QtWidgets/QApplication>
#include <QtWidgets/QProxyStyle>
#include <QtWidgets/QStyleFactory>
#include <QtWidgets/QStyleOption>

#include <clocale>
#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core.h"

namespace w32 {
namespace {

// Fusion with the looks of Win32 controls: the keyboard focus always shows
// (Fusion shows it only after a Tab), drop-down lists open below their field.
class LayerStyle : public QProxyStyle {
public:
    LayerStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    int styleHint(StyleHint hint, const QStyleOption* opt, const QWidget* widget,
                  QStyleHintReturn* ret) const override {
        if (hint == SH_ComboBox_Popup) return 0;
        return QProxyStyle::styleHint(hint, opt, widget, ret);
    }
    void drawPrimitive(PrimitiveElement pe, const QStyleOption* opt, QPainter* p,
                       const QWidget* widget) const override {
        FocusShown shown(opt);
        QProxyStyle::drawPrimitive(pe, opt, p, widget);
    }
    void drawControl(ControlElement ce, const QStyleOption* opt, QPainter* p, const QWidget* widget) const override {
        FocusShown shown(opt);
        QProxyStyle::drawControl(ce, opt, p, widget);
    }
    void drawComplexControl(ComplexControl cc, const QStyleOptionComplex* opt, QPainter* p,
                            const QWidget* widget) const override {
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

}  // namespace

bool HasDisplay() { return getenv("QT_QPA_PLATFORM") || getenv("DISPLAY") || getenv("WAYLAND_DISPLAY"); }

QApplication* StartApplication(int& argc, char** argv, bool forTests) {
    signal(SIGPIPE, SIG_IGN);
    // Windows are placed at absolute screen positions, which Wayland does not
    // allow: use X11 (XWayland) there.
    const char* platform = getenv("QT_QPA_PLATFORM");
    if (!platform && getenv("WAYLAND_DISPLAY") && getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    QApplication::setStyle(new LayerStyle);
    auto* app = new QApplication(argc, argv);
    // QCoreApplication set the locale from the environment; numbers stay "C"
    // so that "%f" always writes a decimal point.
    setlocale(LC_NUMERIC, "C");
    UseChineseForQt(app);
    QApplication::setFont(DefaultControlFont());
    app->setQuitOnLastWindowClosed(false);
    WatchDialogDecorations(app);
    InitLayer();
    return app;
}

void StopApplication(QApplication* app) {
    ShutdownLayer();
    delete app;
    setlocale(LC_NUMERIC, "C");
}

}  // namespace w32

typedef int(WINAPI* W32WinMainFn)(HINSTANCE, HINSTANCE, LPSTR, int);

int w32_main(int argc, char** argv, W32WinMainFn winMain) {
    // Without a display Qt would fall back to nothing a user can see.
    if (!w32::HasDisplay()) {
        fputs(
            "This program needs a graphical display (X11 or Wayland) and none is set (DISPLAY is empty).\n"
            "Start it from a desktop session, or on a virtual display: xvfb-run -a ./tarvel\n"
            "本程序需要图形显示。\n",
            stderr);
        return 1;
    }
    QApplication* app = w32::StartApplication(argc, argv, false);
    static char cmdLine[1] = "";
    HINSTANCE inst = GetModuleHandleA(nullptr);  // the executable itself
    int rc = winMain(inst, nullptr, cmdLine, SW_SHOWDEFAULT);
    w32::StopApplication(app);
    return rc;
}
