// The tool over the live host's adapter, across processes, with the form layer and no window:
// start-up, capture, both flips and Reflect, then the host's document read back; and the ways
// such a run fails.

#include <gmock/gmock.h>

#include "ComToolFixture.h"
#include "geometry/LineMirror.h"
#include "host/memory/SheetText.h"

namespace {

using host::Bounds;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Six page rectangles, two of them in a group inside a group, a caption between them, and a
// fold and a spine line.
constexpr const char* kScenarioSheet = R"(
document 1000 700
spread
page
  rectangle r1 50 100 350 300 90
  rectangle r2 50 350 350 550 90
  item TextFrame caption 360 100 380 550
  group g1
    rectangle r3 50 600 350 800 270
    group g2
      rectangle r4 400 100 650 300 180
      rectangle r5 400 350 650 550 180
    end
  end
  rectangle r6 400 600 650 800
  line fold 675 50 675 950
  line spine 460 450 650 450 270
)";

// The host's documents as it now holds them, read back through the test host's dump.
class HostDocuments {
public:
    explicit HostDocuments(const std::string& dump) { host::memory::loadSheet(m_model, dump); }
    const host::MemorySpread& spread(std::size_t index) const {
        return *m_model.documents().front()->spreads().at(index);
    }

private:
    host::MemoryHost m_model;
};

class ComScenario : public testhost::ComToolTest {
protected:
    ComScenario() { load(kScenarioSheet); }
};

TEST_F(ComScenario, StartUpCaptureBothFlipsAndReflectWriteTheBackSide) {
    event(&window::form::Form1::formLoad);
    ASSERT_THAT(reports, IsEmpty());
    EXPECT_THAT(window.messages, IsEmpty());
    EXPECT_EQ(tool().pageCount, 6);
    EXPECT_EQ(tool().sheetWidth, 1000);
    EXPECT_EQ(tool().sheetHeight, 700);

    event(&window::form::Form1::image3Click);  // top-bottom
    EXPECT_FALSE(tool().flipLeftRight);
    event(&window::form::Form1::image4Click);  // left-right again
    EXPECT_TRUE(tool().flipLeftRight);
    const state::ToolState before = tool();

    event(&window::form::Form1::bReflectClick);
    EXPECT_TRUE(guard.ended());
    EXPECT_EQ(guard.exitStatus(), 0);
    EXPECT_THAT(reports, IsEmpty());

    const HostDocuments documents(testHost.dump());
    // The captured spread lost its groups; the new one is the back side.
    EXPECT_THAT(documents.spread(0).labels(),
                ElementsAre("r1", "r2", "caption", "r3", "r4", "r5", "r6", "fold", "spine"));
    const host::MemorySpread& back = documents.spread(1);
    ASSERT_THAT(back.labels(), ElementsAre("r1'", "r2'", "caption'", "r3'", "r4'", "r5'", "r6'",
                                           "fold'", "spine'"));
    const auto items = back.items();
    std::size_t row = 0;
    for (const auto& item : items) {
        SCOPED_TRACE(item->label());
        if (item->typeName() == "Rectangle") {
            const auto& cells = before.backPages;
            EXPECT_EQ(item->bounds(), (Bounds{cells.at(row, 0), cells.at(row, 1), cells.at(row, 2),
                                              cells.at(row, 3)}));
            EXPECT_EQ(item->rotation(), cells.at(row, 4));
            ++row;
        }
    }
    EXPECT_EQ(row, 6u);
    // A page from left 100 to right 300 on the 1000-wide sheet lies from 700 to 900.
    EXPECT_EQ(items[0]->bounds(), (Bounds{50, 700, 350, 900}));
    EXPECT_EQ(items[2]->bounds(), (Bounds{360, 100, 380, 550}));  // the caption stays
    for (const std::size_t line : {7u, 8u}) {
        const auto original = documents.spread(0).items()[line];
        const Bounds box = original->bounds();
        const state::MirrorResult mirrored = geometry::reflectBounds(
            before, box.top, box.left, box.bottom, box.right, original->rotation());
        EXPECT_EQ(items[line]->rotation(), mirrored.angle);
        EXPECT_EQ(items[line]->bounds(), mirrored.bounds);
    }
}

class ComToolFailure : public testhost::ComToolTest {
protected:
    ComToolFailure() { load(kScenarioSheet); }

    // The tool ended with an error report that says `text`.
    void expectErrorEnd(const std::string& text) {
        EXPECT_TRUE(guard.ended());
        EXPECT_EQ(guard.exitStatus(), 1);
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_THAT(reports.front(), HasSubstr(text));
    }
};

TEST_F(ComToolFailure, AHostThatIsNotInstalledEndsStartUpWithTheReason) {
    connection.choose(host::kProgId,
                      [this] { return session->connect("Quarvel.TestHost.Absent"); });
    event(&window::form::Form1::formLoad);
    expectErrorEnd("Cannot connect to \"Quarvel.TestHost.Absent\": it is not installed");
    EXPECT_THAT(window.messages, IsEmpty());
}

TEST_F(ComToolFailure, WithoutADocumentStartUpShowsTheMessageAndCallsNothingMore) {
    load("");
    event(&window::form::Form1::formLoad);
    EXPECT_THAT(window.messages, ElementsAre("Please open a publication and try again."));
    EXPECT_TRUE(guard.ended());
    EXPECT_THAT(reports, IsEmpty());
    EXPECT_THAT(testHost.calls(), ElementsAre("app.docs", "docs.Count"));
}

TEST_F(ComToolFailure, ASpreadWithoutItsInterfaceEndsTheCapture) {
    testHost.refuse("Spread");
    event(&window::form::Form1::formLoad);
    expectErrorEnd("does not support the spread interface {2407F2DA-4E36-11D1-8047-0060B03C02E4}");
    EXPECT_EQ(testHost.calls().back(), "window.ActiveSpread");
}

TEST_F(ComToolFailure, ACallFailingInTheMiddleOfReflectLeavesWhatTheHostHolds) {
    event(&window::form::Form1::formLoad);
    const state::ToolState captured = tool();
    testHost.failOn("r3'.RotationAngle=");
    event(&window::form::Form1::bReflectClick);
    expectErrorEnd(
        "The host call Rectangle.RotationAngle (put) failed: The host call "
        "r3'.RotationAngle= failed (HRESULT 0x80040201)");

    // The duplicate stays, with the rectangles before r3' written and r3' given its bounds only.
    const HostDocuments documents(testHost.dump());
    const auto items = documents.spread(1).items();
    const auto& rows = captured.backPages;
    for (const std::size_t written : {0u, 1u}) {
        EXPECT_EQ(items[written]->rotation(), rows.at(written, 4));
    }
    EXPECT_EQ(items[3]->bounds(),
              (Bounds{rows.at(2, 0), rows.at(2, 1), rows.at(2, 2), rows.at(2, 3)}));
    EXPECT_EQ(items[3]->rotation(), 270);                         // as captured, not yet turned
    EXPECT_EQ(items[4]->bounds(), (Bounds{400, 100, 650, 300}));  // untouched
    EXPECT_EQ(items[7]->bounds(), (Bounds{675, 50, 675, 950}));
}

TEST_F(ComToolFailure, ABusyHostIsWaitedForAndThenReported) {
    testHost.busy(5);
    event(&window::form::Form1::formLoad);
    EXPECT_THAT(reports, IsEmpty());
    EXPECT_EQ(tool().pageCount, 6);
    EXPECT_EQ(testHost.counter("rejected"), 5);

    testHost.busy(1000000);
    event(&window::form::Form1::bRefreshClick);
    expectErrorEnd("The host stayed busy and did not take the call");
}

}  // namespace
