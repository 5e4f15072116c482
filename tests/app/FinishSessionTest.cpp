#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/FinishSession.h"
#include "host/HostError.h"
#include "host/SessionEnd.h"

namespace {

// Records which end the session was given; a normal end may be made to fail.
class RecordingSession : public host::SessionEnd {
public:
    std::vector<std::string> ends;
    bool failNormalEnd = false;

    void endNormally() override {
        ends.push_back("normal");
        if (failNormalEnd) {
            throw host::HostError("Cannot save \"sheet.sla\": the disk is full.");
        }
    }
    void endAfterError() noexcept override { ends.push_back("error"); }
};

class FinishSession : public testing::Test {
protected:
    int finish(int status) {
        return app::finishSession(status, &m_session,
                                  [this](const std::string& text) { m_reports.push_back(text); });
    }

    RecordingSession m_session;
    std::vector<std::string> m_reports;
};

TEST_F(FinishSession, ANormalEndIsTheAdaptersNormalEnd) {
    EXPECT_EQ(finish(0), 0);
    EXPECT_EQ(m_session.ends, std::vector<std::string>{"normal"});
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(FinishSession, AnEndAfterAnErrorReportIsTheAdaptersErrorEnd) {
    EXPECT_EQ(finish(1), 1);
    EXPECT_EQ(m_session.ends, std::vector<std::string>{"error"});
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(FinishSession, AFailedNormalEndIsReportedAndEndsWithAnErrorStatus) {
    m_session.failNormalEnd = true;
    EXPECT_EQ(finish(0), 1);
    EXPECT_EQ(m_session.ends, std::vector<std::string>{"normal"});
    EXPECT_EQ(m_reports, std::vector<std::string>{"Cannot save \"sheet.sla\": the disk is full."});
}

TEST(FinishWithoutSession, EndsWithTheStatusItWasGiven) {
    const auto noReport = [](const std::string&) { FAIL() << "nothing to report"; };
    EXPECT_EQ(app::finishSession(0, nullptr, noReport), 0);
    EXPECT_EQ(app::finishSession(1, nullptr, noReport), 1);
}

}  // namespace
