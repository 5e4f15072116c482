#pragma once

// The tool window on the offscreen platform over an in-memory 1000 x 700 sheet,
// with the run-time changes to its controls recorded (RecordingControls) and an
// event guard that records reports and ends instead of ending the process.
// Events go either through the real window (click, move, press) or straight to
// a handler (act) where the routing is not the point.

#include <gtest/gtest.h>

#include <QTest>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "DesignPoints.h"
#include "RecordingControls.h"
#include "RecordingGuard.h"
#include "host/HostConnection.h"
#include "host/memory/MemoryHost.h"
#include "window/form/EventGuard.h"
#include "window/form/Form1.h"
#include "window/qt/SkinWindow.h"

namespace testing_support {

// Places on the window, in window units.
inline const QPoint kBackground{10, 300};  // left of the front outline: bare skin
inline const QPoint kReflectButton = inside("bReflect", 6, 14);
inline const QPoint kDuplicateButton = inside("bDuplicate", 8, 14);
inline const QPoint kRefreshButton = inside("bRefresh", 6, 14);
inline const QPoint kForgetButton = inside("bForget", 8, 14);
inline const QPoint kVerticalArrow = centreOf("Image3");
inline const QPoint kHorizontalArrow = centreOf("Image4");

class SheetFixture : public testing::Test, protected RecordingGuard {
protected:
    SheetFixture()
        : m_doc(m_host.addDocument(1000, 700)),
          m_spread(m_doc.addSpread()),
          m_page(m_spread.addPage()) {
        m_skin.connectHandlers(m_form, m_guard);
    }

    ~SheetFixture() override { m_skin.hide(); }

    // Six page rectangles, one for each head direction and one oblique, with a
    // text frame between the first two and a line among them and after them.
    void drawSixPages() {
        m_page.addRectangle("r1", {50, 100, 350, 300}, 0);
        m_page.addItem("TextFrame", "t1", {10, 10, 40, 60});
        m_page.addRectangle("r2", {50, 400, 250, 700}, 90);
        m_page.addRectangle("r3", {400, 100, 650, 250}, 180);
        m_page.addLine("l1", {100, 200, 100, 800});
        m_page.addRectangle("r4", {400, 300, 600, 600}, 270);
        m_page.addRectangle("r5", {100, 750, 300, 950}, 30);
        m_page.addRectangle("r6", {450, 700, 650, 950}, 0);
        m_page.addLine("l2", {50, 100, 250, 100});
    }

    // Start-up as the launcher runs it; the window is shown while the tool runs,
    // with the pointer resting on the background and the control log empty.
    void load() {
        m_host.showWindow(m_spread);
        m_host.registerIn(m_registry);
        m_guard.run([this] { m_form.formLoad(); });
        ASSERT_TRUE(m_ends.empty()) << firstReport();
        m_skin.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_skin));
        // Qt drops a move to the place of the last event, even one from an earlier test.
        move(kBackground + QPoint(1, 1));
        move(kBackground);
        m_recording.log.clear();
        m_host.clearCalls();
    }

    // Runs a handler of the form directly: act(&window::form::Form1::bDuplicateClick).
    void act(const std::function<void(window::form::Form1&)>& handler) {
        m_guard.run([this, &handler] { handler(m_form); });
    }

    void move(QPoint at) { QTest::mouseMove(m_skin.windowHandle(), at); }
    void click(QPoint at) {
        QTest::mouseClick(m_skin.windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    }

    std::string firstReport() const { return m_reports.empty() ? "" : m_reports.front(); }
    const state::ToolState& tool() const { return m_form.toolState(); }
    window::Controls& ui() { return m_skin.controls(); }

    // The copy of `label` on the newest spread of the document.
    const host::MemoryItem& copyOf(const std::string& label) const {
        for (const auto& item : m_doc.spreads().back()->items()) {
            if (item->label() == label + "'") {
                return *item;
            }
        }
        throw std::logic_error("the newest spread has no copy of " + label);
    }

    host::MemoryHost m_host;
    host::MemoryDocument& m_doc;
    host::MemorySpread& m_spread;
    host::MemoryPage& m_page;
    host::HostConnection m_registry;
    window::qt::SkinWindow m_skin;
    RecordingControls m_recording{m_skin.controls()};
    window::form::Form1 m_form{m_registry, m_recording.controls(), m_skin};
};

// What the previews show: every marker element's place, size, visibility and
// picture or text, side by side, for elements 0 to count - 1.
inline std::vector<std::string> previewOf(window::Controls& ui, int count, bool front) {
    auto& icons = front ? ui.Image1 : ui.Image2;
    auto& numbers = front ? ui.Text3 : ui.Text4;
    const auto place = [](const window::Control& c) {
        return std::to_string(c.left()) + "," + std::to_string(c.top()) + " " +
               std::to_string(c.width()) + "x" + std::to_string(c.height()) +
               (c.isVisible() ? " shown" : " hidden");
    };
    std::vector<std::string> shown;
    for (int i = 0; i < count; ++i) {
        const auto index = static_cast<std::int16_t>(i);
        auto& icon = icons[index];
        auto& number = numbers[index];
        shown.push_back(place(icon) + " picture " +
                        std::to_string(reinterpret_cast<std::uintptr_t>(icon.picture().get())));
        shown.push_back(place(number) + " text " + number.text());
    }
    return shown;
}

}  // namespace testing_support
