#pragma once

// The tool as the launcher wires it for the live host, with no window: the form layer over a
// recording toolkit (tests/preview/FakeToolkit.h) and the automation adapter registered for the
// host's ProgID, against the test host in its own process. Events run inside the event guard,
// which records the error report and the end instead of leaving an event loop.

#include <string>
#include <vector>

#include "ComHostTest.h"
#include "preview/FakeToolkit.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"

namespace testhost {

// The window itself: its position and the messages shown.
class RecordingWindow : public window::FormWindow {
public:
    float left() const override { return m_left; }
    float top() const override { return m_top; }
    void setLeft(float twips) override { m_left = twips; }
    void setTop(float twips) override { m_top = twips; }
    void showMessage(const std::string& text) override { messages.push_back(text); }

    std::vector<std::string> messages;

private:
    float m_left = 0;
    float m_top = 0;
};

class ComToolTest : public ComHostTest {
protected:
    ComToolTest() { host::com::registerComHost(connection, *session); }

    // Runs a window event as the toolkit would: inside the guard.
    template <class Handler>
    void event(Handler handler) {
        guard.run([&] { (form.*handler)(); });
    }
    const state::ToolState& tool() const { return form.toolState(); }

    host::HostConnection connection;
    testing_support::FakeToolkit toolkit;
    window::Controls controls = toolkit.controls();
    RecordingWindow window;
    window::form::Form1 form{connection, controls, window};
    std::vector<std::string> reports;
    window::form::EventGuard guard{[this](const std::string& text) { reports.push_back(text); },
                                   [](int) {}};
};

}  // namespace testhost
