#include "window/form/EventGuard.h"

#include <gtest/gtest.h>

#include <new>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/HostError.h"
#include "state/Errors.h"
#include "window/Toolkit.h"

namespace {

using window::form::EventGuard;

class Guard : public testing::Test {
protected:
    std::vector<std::string> m_reports;
    std::vector<int> m_leaves;
    EventGuard m_guard{[this](const std::string& text) { m_reports.push_back(text); },
                       [this](int status) { m_leaves.push_back(status); }};
};

TEST_F(Guard, AFailureIsReportedLeavesTheLoopWithStatusOneAndDropsLaterEvents) {
    bool laterRan = false;
    m_guard.run([] { throw window::ToolkitError("There is no control Image1(4)"); });
    m_guard.run([&] { laterRan = true; });
    EXPECT_EQ(m_reports, std::vector<std::string>{"There is no control Image1(4)"});
    EXPECT_EQ(m_leaves, std::vector<int>{1});
    EXPECT_FALSE(laterRan);
    EXPECT_TRUE(m_guard.ended());
    EXPECT_EQ(m_guard.exitStatus(), 1);
}

TEST_F(Guard, EndStopsTheHandlerAndLeavesTheLoopWithItsStatus) {
    bool stepAfterEnd = false;
    bool laterRan = false;
    m_guard.run([&] {
        throw window::EndRequest{0};
        stepAfterEnd = true;
    });
    m_guard.run([&] { laterRan = true; });
    EXPECT_FALSE(stepAfterEnd);
    EXPECT_FALSE(laterRan);
    EXPECT_EQ(m_leaves, std::vector<int>{0});
    EXPECT_TRUE(m_reports.empty());
    EXPECT_EQ(m_guard.exitStatus(), 0);
}

TEST(GuardReport, NoEventRunsWhileTheReportIsUp) {
    // The report's own box runs an event loop; an event it delivers is dropped.
    bool ranDuringReport = false;
    EventGuard* self = nullptr;
    EventGuard guard([&](const std::string&) { self->run([&] { ranDuringReport = true; }); },
                     [](int) {});
    self = &guard;
    guard.run([] { throw host::HostError("The host call docs.Count failed."); });
    EXPECT_FALSE(ranDuringReport);
    EXPECT_EQ(guard.exitStatus(), 1);
}

TEST_F(Guard, AHandlerThatReturnsLeavesNothing) {
    int runs = 0;
    m_guard.run([&] { ++runs; });
    m_guard.run([&] { ++runs; });
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(m_guard.ended());
    EXPECT_TRUE(m_leaves.empty());
}

struct ReportCase {
    const char* name;
    void (*fail)();
    const char* report;
};

// The tool's own failures keep their words; the standard library's never
// reach the user.
const ReportCase kReports[] = {
    {"HostError", [] { throw host::HostError("No document is open."); }, "No document is open."},
    {"TableError", [] { throw state::TableError("row 40 is outside the table"); },
     "row 40 is outside the table"},
    {"OverflowError", [] { throw state::OverflowError("too many page rectangles"); },
     "too many page rectangles"},
    {"PrecisionError", [] { throw state::PrecisionError("the sheet is too wide"); },
     "the sheet is too wide"},
    {"BadOptional",
     [] {
         const std::optional<double> unset;
         static_cast<void>(unset.value());
     },
     "Quarvel ran into a fault of its own and has to close."},
    {"VectorAt", [] { static_cast<void>(std::vector<int>{}.at(3)); },
     "Quarvel ran into a fault of its own and has to close."},
    {"Stoi", [] { static_cast<void>(std::stoi("x")); },
     "Quarvel ran into a fault of its own and has to close."},
    {"BadAlloc", [] { throw std::bad_alloc(); },
     "There is not enough memory for Quarvel to go on."},
};

class ReportText : public testing::TestWithParam<ReportCase> {};

TEST_P(ReportText, SaysWhatTheUserMaySee) {
    std::vector<std::string> reports;
    EventGuard guard([&](const std::string& text) { reports.push_back(text); }, [](int) {});
    guard.run(GetParam().fail);
    EXPECT_EQ(reports, std::vector<std::string>{GetParam().report});
}

INSTANTIATE_TEST_SUITE_P(Failures, ReportText, testing::ValuesIn(kReports),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
