#pragma once

// The toolkit's event loop without a display (window/Toolkit.h): the events
// are the ones posted to it, run in order on the calling thread.

#include <deque>
#include <functional>

#include "window/Toolkit.h"

namespace window::headless {

class HeadlessEventLoop : public EventLoop {
public:
    // Queues an event; run() handles it after those posted before it.
    void post(std::function<void()> event);

    // Runs the posted events in order until leave() or until none is left,
    // which ends the tool like closing the window: status 0. After leave()
    // the events still queued are dropped.
    int run() override;
    void leave(int status) override;

    bool left() const { return m_left; }

private:
    std::deque<std::function<void()>> m_events;
    bool m_left = false;
    int m_status = 0;
};

}  // namespace window::headless
