// Whether a real message box is on the screen (a run's box left unanswered).
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>

#include "tests/mail/SmtpTestServer.h"

namespace mailtest {

bool MessageBoxShown() {
    for (QWidget* w : QApplication::allWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) return true;
    return false;
}

}  // namespace mailtest
