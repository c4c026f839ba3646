// Application start and end: the Qt application object, process settings the
// program relies on (C numeric locale, no SIGPIPE, X11 rather than Wayland),
// and the call of WinMain.
#include <QtCore/QCoreApplication>
#include <QtGui/QFont>
#include <QtWidgets/QApplication>
#include <QtWidgets/QStyleFactory>

#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core.h"

namespace w32 {

QApplication* StartApplication(int& argc, char** argv, bool forTests) {
    signal(SIGPIPE, SIG_IGN);
    // Windows are placed at absolute screen positions, which Wayland does not
    // allow: use X11 (XWayland) there.
    const char* platform = getenv("QT_QPA_PLATFORM");
    if (!platform && getenv("WAYLAND_DISPLAY") && getenv("DISPLAY")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    if (!platform && !forTests && !getenv("DISPLAY") && !getenv("WAYLAND_DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    auto* app = new QApplication(argc, argv);
    // QCoreApplication set the locale from the environment; numbers stay "C"
    // so that "%f" always writes a decimal point.
    setlocale(LC_NUMERIC, "C");
    QApplication::setFont(DefaultControlFont());
    app->setQuitOnLastWindowClosed(false);
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
    QApplication* app = w32::StartApplication(argc, argv, false);
    static char cmdLine[1] = "";
    HINSTANCE inst = GetModuleHandleA(nullptr);  // the executable itself
    int rc = winMain(inst, nullptr, cmdLine, SW_SHOWDEFAULT);
    w32::StopApplication(app);
    return rc;
}
