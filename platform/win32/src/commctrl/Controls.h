// The control object behind a common-control window.
#pragma once

#include <QPointer>

#include "w32_internal.h"

namespace w32::cc {

template <class Ctl>
struct Holder : w32::ControlState {
    QPointer<Ctl> ctl;
};

// The control of type Ctl behind hwnd; null for another kind of window.
template <class Ctl>
Ctl* ControlOf(HWND hwnd) {
    w32::Window* w = w32::FromHwnd(hwnd);
    auto* holder = w ? w->State<Holder<Ctl>>() : nullptr;
    return holder ? holder->ctl.data() : nullptr;
}

}  // namespace w32::cc
