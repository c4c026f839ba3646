// A user's steps on a real display, taken in order from a timer inside
// whatever modal loop runs then (a box's, a dialog's, a popup menu's).
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace servertest {

// Each step's action is taken once its condition holds. A step that waits
// 10 s is stuck: no further step is taken, and what is open (popup menus,
// boxes, the save dialog, and what `unstick` ends) closes on every tick, so
// that the test ends and Taken() tells where it stuck. The steps stop with
// the object.
class Steps {
public:
    using Step = std::pair<std::function<bool()>, std::function<void()>>;
    explicit Steps(std::vector<Step> steps, std::function<void()> unstick = {});
    ~Steps();
    size_t Taken() const;

private:
    struct Timer;
    std::unique_ptr<Timer> timer_;
};

}  // namespace servertest
