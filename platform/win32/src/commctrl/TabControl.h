// Tab control ("SysTabControl32"): a QTabBar over a framed body. Page
// windows are ordinary children of the control, placed in the body.
#pragma once

#include <QTabBar>
#include <QWidget>
#include <string>
#include <vector>

#include "win32.h"

namespace w32::cc {

class TabCtl;

class TabWidget : public QWidget {
    Q_OBJECT
public:
    TabWidget(TabCtl* ctl, QWidget* parent);
    QTabBar* Bar() const { return bar_; }
    void Relayout();
    QRect Body() const;  // the framed area under the tabs

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    TabCtl* ctl_;
    QTabBar* bar_;
};

class TabCtl : public QObject {
    Q_OBJECT
public:
    TabCtl(HWND hwnd, DWORD style, QWidget* parent);
    QWidget* Widget() const { return widget_; }
    TabWidget* Tabs() const { return widget_; }
    int CurSel() const { return cur_; }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

    // Margins of the display area inside the window (left, top, right, bottom
    // inset; all >= 0).
    QMargins DisplayMargins() const;

private:
    struct Item {
        std::string text;  // GBK
        int image = -1;
        LPARAM param = 0;
    };
    void UserPicked(int index);
    void SetBarIndex(int index);

    HWND hwnd_;
    DWORD style_;
    TabWidget* widget_;
    std::vector<Item> items_;
    int cur_ = -1;
    int quiet_ = 0;  // >0 while the control itself changes the bar
    HFONT font_ = nullptr;
    HIMAGELIST images_ = nullptr;
};

}  // namespace w32::cc
