// GoogleTest main() for tests that create windows: a QApplication (offscreen
// unless QT_QPA_PLATFORM says otherwise) and the layer started on this thread,
// in a home of the test's own.
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/core.h"
#include "win32_testhooks.h"

namespace {

// Gives the process a home of its own, a folder "home" in a new temporary
// folder: HOME and the XDG folders in it, any XDG user-dirs override unset.
// What Qt and the layer read and keep there (the file dialog's settings, the
// desktop folder) is then neither the user's nor changes the user's. The
// home's own name is short, as a user's is: the save dialog's side bar shows
// it, and a long one would take the room its columns are checked to have. A
// program started inside a test home (TARVEL_TEST_HOME: by
// tests/support/xvfb.sh, or by a test program) keeps that one. Returns the
// folder to remove at the end, "" when it made none; without a home of its
// own the program stops rather than run in the user's.
std::string MakeTestHome() {
    if (getenv("TARVEL_TEST_HOME")) return {};
    const char* tmp = getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/tarvel-home.XXXXXX";
    const std::string home = mkdtemp(dir.data()) ? dir + "/home" : "";
    if (home.empty() || mkdir(home.c_str(), 0700) != 0) {
        std::perror(("no test home in " + dir).c_str());
        std::exit(1);
    }
    std::vector<std::string> overrides;
    for (char** e = environ; *e; ++e) {
        std::string name(*e, strcspn(*e, "="));
        if (name.rfind("XDG_", 0) == 0 && name.size() > 8 && name.compare(name.size() - 4, 4, "_DIR") == 0 &&
            name != "XDG_RUNTIME_DIR")
            overrides.push_back(name);
    }
    for (const std::string& name : overrides) unsetenv(name.c_str());
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/.config").c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("XDG_DATA_HOME", (home + "/.local/share").c_str(), 1);
    setenv("XDG_STATE_HOME", (home + "/.local/state").c_str(), 1);
    setenv("TARVEL_TEST_HOME", home.c_str(), 1);
    return dir;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string testHome = MakeTestHome();
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication* app = w32::StartApplication(argc, argv, true);
    w32test::AutoAnswerMessageBoxes(true);
    int rc = RUN_ALL_TESTS();
    w32::StopApplication(app);
    std::error_code ec;
    if (!testHome.empty()) std::filesystem::remove_all(testHome, ec);
    return rc;
}
