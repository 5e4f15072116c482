// How the adapter fails: a host that is absent, busy, refuses a call, lacks a member or answers
// with the wrong kind of value; and what it leaves behind when its session ends.

#include <gmock/gmock.h>

#include "ComHostTest.h"

namespace {

using testhost::hostFailure;
using ::testing::HasSubstr;
using ::testing::StartsWith;

constexpr const char* kSmallSheet = R"(
document 1000 700
spread
page
  rectangle r1 50 100 350 300 90
  line cut 675 50 675 950
)";

class ComFailure : public testhost::ComHostTest {
protected:
    ComFailure() { load(kSmallSheet); }

    std::shared_ptr<host::PageItem> firstItem(host::Application& application) {
        return application.activeWindow()->activeSpread()->pageItems()->enumerate()[0];
    }
};

TEST_F(ComFailure, AHostThatIsNotThereIsReportedWithTheReason) {
    EXPECT_THAT(hostFailure([&] { session->connect("Quarvel.TestHost.Absent"); }),
                StartsWith("Cannot connect to \"Quarvel.TestHost.Absent\": it is not installed "
                           "on this computer (HRESULT 0x"));
    // Registered, but its program cannot be started.
    EXPECT_THAT(hostFailure([&] { session->connect("Quarvel.TestHost.Missing"); }),
                StartsWith("Cannot connect to \"Quarvel.TestHost.Missing\": it is not running "
                           "and could not be started: "));
}

TEST_F(ComFailure, ConnectsToTheRunningInstanceFirstElseStartsOne) {
    connect()->documents()->count();
    EXPECT_EQ(testHost.counter("activations"), 0);
    testHost.leaveRunningTable();
    EXPECT_EQ(connect()->documents()->count(), 1);
    EXPECT_EQ(testHost.counter("activations"), 1);
}

TEST_F(ComFailure, AFailedCallNamesTheCallTheHostsDescriptionAndTheCode) {
    const auto item = firstItem(*connect());
    item->typeName();
    testHost.failOn("r1.RotationAngle=");
    EXPECT_EQ(hostFailure([&] { item->setRotationAngle(180); }),
              "The host call Rectangle.RotationAngle (put) failed: The host call "
              "r1.RotationAngle= failed (HRESULT 0x80040201).");
    testHost.failOn("r1.typeName");
    EXPECT_THAT(hostFailure([&] { item->typeName(); }),
                StartsWith("The host call Rectangle type name failed: "));
}

TEST_F(ComFailure, AMissingMemberIsAFailedCall) {
    testHost.hide("RotationAngle");
    const auto item = firstItem(*connect());
    EXPECT_THAT(hostFailure([&] { item->rotationAngle(); }),
                HasSubstr("The host call Rectangle.RotationAngle failed: "));
    EXPECT_THAT(hostFailure([&] { item->rotationAngle(); }), HasSubstr("(HRESULT 0x80020006)"));
}

TEST_F(ComFailure, AResultOfTheWrongKindIsReported) {
    const auto application = connect();
    testHost.garble("window.ActiveSpread");
    EXPECT_EQ(hostFailure([&] { application->activeWindow()->activeSpread(); }),
              "The host call Window.ActiveSpread gave text, not a spread.");
    testHost.garble("docs.Count");
    EXPECT_EQ(hostFailure([&] { application->documents()->count(); }),
              "The host call Documents.Count gave text, not a whole number.");
}

TEST_F(ComFailure, ABusyHostIsWaitedForUpToTheBound) {
    const auto application = connect();
    testHost.busy(3);
    EXPECT_EQ(application->documents()->count(), 1);
    EXPECT_EQ(testHost.counter("rejected"), 3);
    EXPECT_EQ(session->counts().busyRetries, 3u);

    testHost.busy(1000000);
    const auto documents = [&] { application->documents(); };
    EXPECT_THAT(hostFailure(documents),
                HasSubstr("The host stayed busy and did not take the call Application.docs "
                          "(HRESULT 0x80010001)"));
    testHost.busy(0);
    EXPECT_EQ(application->documents()->count(), 1);
}

TEST_F(ComFailure, TheSessionsEndReleasesEveryReferenceWhereverItIs) {
    const long before = testHost.counter("objects");
    auto application = connect();
    auto items = application->activeWindow()->activeSpread()->pageItems()->enumerate();
    EXPECT_GT(testHost.counter("objects"), before);

    session.reset();  // the tool's end, with its objects still held
    EXPECT_EQ(testHost.counter("objects"), before);
    EXPECT_EQ(hostFailure([&] { items[0]->typeName(); }), "The connection to the host has ended.");
    EXPECT_EQ(hostFailure([&] { application->documents(); }),
              "The connection to the host has ended.");
}

}  // namespace
