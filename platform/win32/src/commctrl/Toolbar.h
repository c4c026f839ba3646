// Toolbar ("ToolbarWindow32"): a row of buttons with images above their
// labels, drawn by the control itself; input arrives as window messages.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "win32.h"

namespace w32::cc {

// Height of a toolbar with 32 x 32 images and one text row. Together with the
// status bar (kStatusBarHeight) it makes the 78 pixels the views leave free.
constexpr int kToolbarHeight = 56;

class ToolbarCtl;

class ToolbarWidget : public QWidget {
    Q_OBJECT
public:
    ToolbarWidget(ToolbarCtl* ctl, QWidget* parent) : QWidget(parent), ctl_(ctl) {}

protected:
    void paintEvent(QPaintEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    ToolbarCtl* ctl_;
};

class ToolbarCtl : public QObject {
    Q_OBJECT
public:
    struct Button {
        int image = -1;
        int id = 0;
        BYTE state = 0;
        BYTE style = 0;
        DWORD_PTR data = 0;
        std::string text;  // GBK
    };

    ToolbarCtl(HWND hwnd, DWORD style, QWidget* parent);
    QWidget* Widget() const { return widget_; }
    const std::vector<Button>& Buttons() const { return buttons_; }
    HIMAGELIST Images() const { return images_; }
    int Pressed() const { return pressed_; }
    int Hot() const { return hot_; }

    // Button rectangles in client coordinates (separators included); the
    // second form takes the button size (ButtonSize, which measures every
    // text) from a caller that places all buttons.
    QRect ButtonRect(int index) const;
    QRect ButtonRect(int index, QSize size) const;
    int ButtonAt(QPoint p) const;
    QSize ButtonSize() const;

    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);
    void MouseLeft();

private:
    int IndexOf(int id) const;
    bool Check(int index, bool on);
    Button FromTb(const TBBUTTON& b) const;
    void AutoSize();
    void Changed();

    HWND hwnd_;
    DWORD style_;
    ToolbarWidget* widget_;
    std::vector<Button> buttons_;
    std::vector<std::string> strings_;
    HIMAGELIST images_ = nullptr;
    int pressed_ = -1;  // button held down by the mouse
    bool pressedIn_ = false;
    int hot_ = -1;
    QSize bitmapSize_{32, 32};
    HFONT font_ = nullptr;
};

}  // namespace w32::cc
