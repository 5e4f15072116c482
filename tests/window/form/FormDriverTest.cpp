#include "window/form/FormDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "window/FormHandlers.h"
#include "window/Toolkit.h"
#include "window/form/EventGuard.h"
#include "window/qt/RecordingHandlers.h"

namespace {

using testing_support::RecordingHandlers;
using window::form::EventGuard;
using window::form::Flip;
using window::form::FormDriver;

// What a click on `control` runs in a window: the handler its route names.
std::vector<std::string> clickedIn(std::string_view control) {
    RecordingHandlers handlers;
    for (const window::PictureRoute& route : window::kPictureRoutes) {
        if (route.control == control) {
            (handlers.*route.click)();
        }
    }
    return handlers.events;
}

struct Case {
    const char* control;
    std::function<void(FormDriver&)> operation;
};

TEST(FormDriver, EachOperationRunsWhatAClickOnItsControlRuns) {
    const Case cases[] = {
        {"Image3", [](FormDriver& driver) { driver.choose(Flip::TopBottom); }},
        {"Image4", [](FormDriver& driver) { driver.choose(Flip::LeftRight); }},
        {"bReflect", [](FormDriver& driver) { driver.reflect(); }},
        {"bDuplicate", [](FormDriver& driver) { driver.duplicate(); }},
        {"bRefresh", [](FormDriver& driver) { driver.refresh(); }},
        {"bForget", [](FormDriver& driver) { driver.forget(); }},
    };
    for (const Case& row : cases) {
        SCOPED_TRACE(row.control);
        RecordingHandlers handlers;
        EventGuard guard([](const std::string&) {}, [](int) {});
        FormDriver driver(handlers, guard);
        row.operation(driver);
        ASSERT_EQ(clickedIn(row.control).size(), 1u);
        EXPECT_EQ(handlers.events, clickedIn(row.control));
    }
}

// A handler that fails on a click, and ends the tool on another.
class EndingHandlers : public RecordingHandlers {
public:
    void bDuplicateClick() override { throw std::runtime_error("duplicate failed"); }
    void bForgetClick() override { throw window::EndRequest{0}; }
};

TEST(FormDriver, RunsThroughTheGuardWhichEndsTheToolOnAFailureOrAnEnd) {
    for (const bool fail : {true, false}) {
        SCOPED_TRACE(fail ? "failure" : "end");
        EndingHandlers handlers;
        std::vector<std::string> reports;
        std::vector<int> leaves;
        EventGuard guard([&reports](const std::string& text) { reports.push_back(text); },
                         [&leaves](int status) { leaves.push_back(status); });
        FormDriver driver(handlers, guard);
        driver.load();
        fail ? driver.duplicate() : driver.forget();
        driver.reflect();  // after the end: never runs
        EXPECT_EQ(handlers.events, std::vector<std::string>{"load"});
        EXPECT_EQ(leaves, std::vector<int>{fail ? 1 : 0});
        EXPECT_EQ(reports.size(), fail ? 1u : 0u);
    }
}

}  // namespace
