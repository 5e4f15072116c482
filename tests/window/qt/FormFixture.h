#pragma once

// A tool window on the offscreen platform, wired to an in-memory host, with an
// event guard that records reports and ends instead of ending the process.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RecordingGuard.h"
#include "host/HostConnection.h"
#include "host/memory/MemoryHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/qt/SkinWindow.h"

namespace testing_support {

class FormFixture : public testing::Test, protected RecordingGuard {
protected:
    FormFixture() { m_skin.connectHandlers(m_form, m_guard); }

    // Runs start-up the way the launcher does: inside the guard, then shows the
    // window only if the tool is still running.
    void load() {
        m_host.registerIn(m_registry);
        m_guard.run([this] { m_form.formLoad(); });
        if (!m_guard.ended()) {
            m_skin.show();
        }
    }

    const state::ToolState& tool() const { return m_form.toolState(); }
    window::Controls& ui() { return m_skin.controls(); }

    host::MemoryHost m_host;
    host::HostConnection m_registry;
    window::qt::SkinWindow m_skin;
    window::form::Form1 m_form{m_registry, m_skin.controls(), m_skin};
};

}  // namespace testing_support
