// A user's steps on a real display, taken in order from a timer inside
// whatever modal loop runs then (a box's, a dialog's, a popup menu's).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <source_location>
#include <string>
#include <utility>
#include <vector>

namespace servertest {

// "" when Qt's keyboard focus is where the layer's focus says: on the widget
// of the window GetFocus() names (or on a widget inside it), or, while
// GetFocus() names none, on the active top-level window itself; else what is
// wrong. Qt's own windows (boxes, popup menus, the save dialog) hold their
// keyboard themselves: while one is active this holds.
std::string KeyboardAstray();

// Each step's action is taken once its condition holds (at once without one)
// and the keyboard is where the layer's focus says (KeyboardAstray): a step
// that leaves it astray keeps the next one waiting, and the test fails with
// what is astray when the steps stop (with the object). A step that waits
// 10 s is stuck: no further step is taken, what is astray is written to
// standard error too (a death test's child reports nothing else to its
// parent), and what is open (popup menus, boxes, the save dialog, and what
// `unstick` ends) closes on every tick, so that the test ends and Taken()
// tells where it stuck.
class Steps {
public:
    using Step = std::pair<std::function<bool()>, std::function<void()>>;
    explicit Steps(std::vector<Step> steps, std::function<void()> unstick = {});
    ~Steps();
    size_t Taken() const;
    bool Stuck() const;

private:
    struct Timer;
    std::unique_ptr<Timer> timer_;
};

// Takes the steps and waits (handling events) until all are taken or one is
// stuck; how many were taken. A failure names the caller's line.
size_t TakeSteps(std::vector<Steps::Step> steps, std::function<void()> unstick = {},
                 std::source_location where = std::source_location::current());
// One action taken as a step, at once if the keyboard is where the layer's
// focus says; false if it stuck.
inline bool TakeStep(std::function<void()> action, std::source_location where = std::source_location::current()) {
    return TakeSteps({{nullptr, std::move(action)}}, {}, where) == 1;
}

}  // namespace servertest
