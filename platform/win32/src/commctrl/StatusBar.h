// Status bar ("msctls_statusbar32"): parts with right edges and texts,
// placed along the bottom of its parent.
#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "win32.h"

namespace w32::cc {

constexpr int kStatusBarHeight = 22;

class StatusCtl;

class StatusWidget : public QWidget {
    Q_OBJECT
public:
    StatusWidget(StatusCtl* ctl, QWidget* parent) : QWidget(parent), ctl_(ctl) {}

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    StatusCtl* ctl_;
};

class StatusCtl : public QObject {
    Q_OBJECT
public:
    StatusCtl(HWND hwnd, DWORD style, QWidget* parent);
    QWidget* Widget() const { return widget_; }
    LRESULT Message(UINT msg, WPARAM wp, LPARAM lp, bool& handled);

    int PartCount() const { return static_cast<int>(edges_.size()); }
    QRect PartRect(int part) const;
    const std::string& Text(int part) const;
    bool Simple() const { return simple_; }
    const std::string& SimpleText() const { return simpleText_; }
    bool SizeGrip() const { return (style_ & SBARS_SIZEGRIP) != 0; }

private:
    void Place();

    HWND hwnd_;
    DWORD style_;
    StatusWidget* widget_;
    std::vector<int> edges_{-1};  // right edge per part, -1 = to the end
    std::vector<std::string> texts_{std::string()};
    std::string simpleText_;
    bool simple_ = false;
    int height_ = kStatusBarHeight;
    HFONT font_ = nullptr;
};

}  // namespace w32::cc
