// GoogleTest main() for tests that create windows: a QApplication (offscreen
// unless QT_QPA_PLATFORM says otherwise) and the layer started on this thread.
#include <QtWidgets/QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

#include "core/core.h"
#include "win32_testhooks.h"

int main(int argc, char** argv) {
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication* app = w32::StartApplication(argc, argv, true);
    w32test::AutoAnswerMessageBoxes(true);
    int rc = RUN_ALL_TESTS();
    w32::StopApplication(app);
    return rc;
}
