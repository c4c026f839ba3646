// MessageBoxA over QMessageBox. A box runs a nested loop on the UI thread
// (posted messages and cross-thread sends keep being served); a box called
// on another thread is shown by the UI thread while the caller waits. With
// an owner, the owner's top-level window is disabled; without one nothing is
// disabled and the box stays above the program's windows.
#include <QtCore/QEventLoop>
#include <QtGui/QCloseEvent>
#include <QtGui/QKeyEvent>
#include <QtGui/QGuiApplication>
#include <QtWidgets/QApplication>
#include <QtWidgets/QMessageBox>
#include <QtWidgets/QPushButton>

#include "core.h"

namespace w32 {
namespace {

class Box : public QMessageBox {
public:
    bool closable = true;  // Esc and the close box answer (no Yes/No box)
    int escapeResult = IDCANCEL;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (e->key() == Qt::Key_Escape) {
            if (closable) done(escapeResult);
            return;
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
    const char16_t* label;
    int id;
};

// The buttons of a box type, left to right.
std::vector<BoxButton> BoxButtons(UINT flags) {
    switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{u"确定", IDOK}, {u"取消", IDCANCEL}};
    case MB_ABORTRETRYIGNORE: return {{u"中止(A)", IDABORT}, {u"重试(R)", IDRETRY}, {u"忽略(I)", IDIGNORE}};
    case MB_YESNOCANCEL: return {{u"是(Y)", IDYES}, {u"否(N)", IDNO}, {u"取消", IDCANCEL}};
    case MB_YESNO: return {{u"是(Y)", IDYES}, {u"否(N)", IDNO}};
    case MB_RETRYCANCEL: return {{u"重试(R)", IDRETRY}, {u"取消", IDCANCEL}};
    }
    return {{u"确定", IDOK}};
}

// The default button's index (MB_DEFBUTTONn; the first when out of range).
size_t DefaultIndex(UINT flags, size_t count) {
    size_t def = (flags & MB_DEFMASK) >> 8;
    return def < count ? def : 0;
}

int ShowBox(HWND owner, const char* text, const char* caption, UINT type) {
    int result = 0;
    if (HookMessageBox(owner, text, caption, type, &result)) return result;
    if (!LayerAlive()) return IDOK;
    ForeignLoopScope scope(owner);
    Box box;
    if (QWidget* p = scope.ParentWidget()) box.setParent(p, Qt::Dialog);
    // A title and a close box only, as a Win32 box.
    box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    box.setWindowModality(owner ? Qt::WindowModal : Qt::NonModal);
    if (!owner) box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    box.setWindowTitle(ToQt(caption ? caption : "\xB4\xED\xCE\xF3"));  // the default caption "错误"
    // Lines a few pixels apart, as Win32 sets a box's text.
    QString lines = ToQt(text ? text : "").toHtmlEscaped();
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("<br>")).replace(QLatin1Char('\n'), QStringLiteral("<br>"));
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p style=\"line-height:125%; white-space:pre-wrap\">") + lines +
                QStringLiteral("</p>"));
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon);
    }
    std::vector<BoxButton> buttons = BoxButtons(type);
    bool hasCancel = false;
    for (auto& b : buttons) hasCancel |= b.id == IDCANCEL;
    box.closable = hasCancel || buttons.size() == 1;
    box.escapeResult = hasCancel ? IDCANCEL : buttons.front().id;
    size_t def = DefaultIndex(type, buttons.size());
    std::vector<QPushButton*> widgets;
    for (size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* pb = box.addButton(QString::fromUtf16(buttons[i].label), QMessageBox::ActionRole);
        int id = buttons[i].id;
        QObject::connect(pb, &QPushButton::clicked, &box, [&box, id] { box.done(id); });
        widgets.push_back(pb);
    }
    box.setDefaultButton(widgets[def]);
    widgets[def]->setFocus();
    QEventLoop loop;
    int answer = box.escapeResult;
    QObject::connect(&box, &QDialog::finished, &loop, [&](int r) {
        answer = r;
        loop.quit();
    });
    box.show();
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) box.raise();
    loop.exec();
    return answer;
}

}  // namespace

int DefaultBoxAnswer(UINT flags) {
    std::vector<BoxButton> buttons = BoxButtons(flags);
    return buttons[DefaultIndex(flags, buttons.size())].id;
}

}  // namespace w32

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    int r = IDOK;
    w32::RunOnUiThread([&] { r = w32::ShowBox(hWnd, lpText, lpCaption, uType); });
    return r;
}
