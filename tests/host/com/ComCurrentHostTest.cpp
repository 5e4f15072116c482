// The adapter against a current InDesign, as the test host's "current" profile plays it (this
// program runs with QUARVEL_TEST_HOST_PROFILE=current): which host is found, identities known by
// class name, members by name, angles in (-180, 180], a moved zero point, "GraphicLine",
// Duplicate giving the page, and a document in millimetres.

#include <gmock/gmock.h>

#include "ComToolFixture.h"
#include "geometry/BackSide.h"
#include "geometry/LineMirror.h"
#include "host/com/ComTypes.h"
#include "host/memory/SheetText.h"

namespace {

using host::Bounds;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

// Angles the host reports as -90, about -0.0001, 180 and -179.9; a caption; two lines.
constexpr const char* kTurnedSheet = R"(
document 1000 700
spread
page
  rectangle r1 50 100 350 300 270
  rectangle r2 50 350 350 550 359.9999
  item TextFrame caption 360 100 380 550
  rectangle r3 400 100 650 300 180
  rectangle r4 400 350 650 550 180.1
  line fold 675 50 675 950
  line spine 460 450 650 450 270
)";

// The rulers' zero point, from the page's corner: every bound the host gives is off by it.
constexpr double kZeroTop = 30.5;
constexpr double kZeroLeft = -120.25;

class HostDocuments {
public:
    explicit HostDocuments(const std::string& dump) { host::memory::loadSheet(m_model, dump); }
    const host::MemorySpread& spread(std::size_t index) const {
        return *m_model.documents().front()->spreads().at(index);
    }

private:
    host::MemoryHost m_model;
};

class CurrentHost : public testhost::ComToolTest {
protected:
    CurrentHost() {
        load(kTurnedSheet);
        testHost.zeroPoint(kZeroTop, kZeroLeft);
    }

    // Captures, turns the sheet as asked, reflects; returns the tool state Reflect worked from.
    state::ToolState reflect(bool leftRight) {
        event(&window::form::Form1::formLoad);
        if (!leftRight) {
            event(&window::form::Form1::image3Click);
        }
        state::ToolState before = tool();
        event(&window::form::Form1::bReflectClick);
        EXPECT_THAT(reports, IsEmpty());
        EXPECT_EQ(guard.exitStatus(), 0);
        return before;
    }
};

TEST(CurrentHostProfile, AnswersOnlyByNameAndOnlyToItsOwnIdentities) {
    ASSERT_TRUE(testhost::TestHostClient::current());
    testhost::TestHostClient::get().load(kTurnedSheet);
    host::com::ComPtr<IUnknown> running;
    ASSERT_EQ(GetActiveObject(CLSID_TestHostCurrentApplication, nullptr, running.put()), S_OK);
    host::com::ComPtr<IDispatch> application;
    ASSERT_EQ(running->QueryInterface(IID_IDispatch, application.putVoid()), S_OK);
    const GUID original{
        0xABD4CBB2, 0x0CFE, 0x11D1, {0x80, 0x1D, 0x00, 0x60, 0xB0, 0x3C, 0x02, 0xE4}};
    host::com::ComPtr<IUnknown> asOriginal;
    EXPECT_EQ(application->QueryInterface(original, asOriginal.putVoid()), E_NOINTERFACE);

    DISPPARAMS none{};
    host::com::Variant result;
    EXPECT_EQ(application->Invoke(0x646F6373, IID_NULL, 0, DISPATCH_PROPERTYGET, &none,
                                  result.put(), nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);  // 'docs'
    wchar_t name[] = L"documents";
    LPOLESTR names[] = {name};
    DISPID id = DISPID_UNKNOWN;
    ASSERT_EQ(application->GetIDsOfNames(IID_NULL, names, 1, 0, &id), S_OK);
    EXPECT_NE(id, 0x646F6373);
    EXPECT_EQ(application->Invoke(id, IID_NULL, 0, DISPATCH_PROPERTYGET, &none, result.put(),
                                  nullptr, nullptr),
              S_OK);
}

TEST_F(CurrentHost, FindsTheRunningHostFirstThenStartsTheFirstInstalledOne) {
    // 2.0 comes first and is installed, but only the current host runs.
    EXPECT_EQ(session->connectFirst(host::com::knownProgIds())->documents()->count(), 1);
    EXPECT_EQ(testHost.counter("activations"), 0);

    testHost.leaveRunningTable();
    // Names not installed are skipped; the first installed one is started (this host's class).
    EXPECT_EQ(session
                  ->connectFirst({"InDesign.Application.CS7", "InDesign.Application",
                                  "InDesign.Application.2.0"})
                  ->documents()
                  ->count(),
              1);
    EXPECT_EQ(testHost.counter("activations"), 1);

    EXPECT_EQ(testhost::hostFailure([&] {
                  session->connectFirst({"InDesign.Application.1999", "InDesign.Application.CS0"});
              }),
              "No InDesign was found on this computer: Quarvel needs InDesign running or "
              "installed.");
}

TEST_F(CurrentHost, KnowsReferencesByClassNameAndMembersByNameAskedOnce) {
    const auto application = connect();
    const auto capture = [&] {
        application->activeDocument()->preferences()->pageWidth();
        for (const auto& item :
             application->activeWindow()->activeSpread()->pageItems()->enumerate()) {
            if (item->typeName() == "Rectangle") {
                item->visibleBounds();
                item->rotationAngle();
            }
        }
    };
    capture();
    const auto lookups = session->counts().nameLookups;
    EXPECT_GT(lookups, 0u);
    capture();
    EXPECT_EQ(session->counts().nameLookups, lookups);

    testHost.refuse("Spread");
    EXPECT_THAT(testhost::hostFailure([&] { application->activeWindow()->activeSpread(); }),
                HasSubstr("result of Window.ActiveSpread does not support the spread interface"));
}

TEST_F(CurrentHost, ReadsPageCoordinatesAngles0To360AndGraphicLinesAsLines) {
    event(&window::form::Form1::formLoad);
    ASSERT_THAT(reports, IsEmpty());
    ASSERT_EQ(tool().pageCount, 4);
    const auto& front = tool().frontPages;
    const double angles[] = {270, 359.9999, 180, 180.1};
    const Bounds boxes[] = {
        {50, 100, 350, 300}, {50, 350, 350, 550}, {400, 100, 650, 300}, {400, 350, 650, 550}};
    for (std::size_t row = 0; row < 4; ++row) {
        SCOPED_TRACE(row);
        EXPECT_EQ((Bounds{front.at(row, 0), front.at(row, 1), front.at(row, 2), front.at(row, 3)}),
                  boxes[row]);
        EXPECT_EQ(front.at(row, 4), angles[row]);
    }

    std::vector<std::string> types;
    for (const auto& item : connect()->activeWindow()->activeSpread()->pageItems()->enumerate()) {
        types.push_back(item->typeName());
    }
    EXPECT_THAT(types, ElementsAre("Rectangle", "Rectangle", "TextFrame", "Rectangle", "Rectangle",
                                   "Line", "Line"));
}

// Reflect writes the back side onto the new page, whose corner the host gives from the same moved
// zero point; the lines are mirrored from their own bounds and angles.
class CurrentHostReflect : public CurrentHost, public ::testing::WithParamInterface<bool> {};

TEST_P(CurrentHostReflect, WritesTheBackSideOntoTheNewPage) {
    {
        const bool leftRight = GetParam();
        const state::ToolState before = reflect(leftRight);

        const HostDocuments documents(testHost.dump());
        EXPECT_THAT(documents.spread(0).labels(),
                    ElementsAre("r1", "r2", "caption", "r3", "r4", "fold", "spine"));
        const auto items = documents.spread(1).items();
        ASSERT_EQ(items.size(), 7u);
        std::size_t row = 0;
        for (const auto& item : items) {
            SCOPED_TRACE(item->label());
            if (item->typeName() == "Rectangle") {
                // The host keeps a turned box, found again from the bounds put to within
                // rounding when the turn is not a right angle.
                const auto& cells = before.backPages;
                const Bounds box = item->bounds();
                const double sides[] = {box.top, box.left, box.bottom, box.right};
                for (int column = 0; column < 4; ++column) {
                    EXPECT_NEAR(sides[column], cells.at(row, column), 1e-9) << column;
                }
                EXPECT_EQ(item->rotation(), cells.at(row, 4));
                ++row;
            }
        }
        EXPECT_EQ(row, 4u);
        // r1, from left 100 to right 300 and turned 270 (reported -90).
        EXPECT_EQ(items[0]->bounds(),
                  leftRight ? (Bounds{50, 700, 350, 900}) : (Bounds{350, 100, 650, 300}));
        EXPECT_EQ(items[0]->rotation(), leftRight ? 90 : 270);
        EXPECT_EQ(items[2]->bounds(), (Bounds{360, 100, 380, 550}));  // the caption stays
        for (const std::size_t line : {5u, 6u}) {
            const auto original = documents.spread(0).items()[line];
            const Bounds box = original->bounds();
            const state::MirrorResult mirrored = geometry::reflectBounds(
                before, box.top, box.left, box.bottom, box.right, original->rotation());
            EXPECT_EQ(items[line]->rotation(), mirrored.angle);
            EXPECT_EQ(items[line]->bounds(), mirrored.bounds);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothWays, CurrentHostReflect, ::testing::Bool(),
                         [](const auto& row) { return row.param ? "LeftRight" : "TopBottom"; });

TEST_F(CurrentHost, DuplicateGivesThePageWhoseItemsAndSpreadAreReached) {
    const auto application = connect();
    const auto copy = application->activeWindow()->activeSpread()->pages()->item(1)->duplicate();
    const auto items = copy->pageItems()->enumerate();
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[0]->visibleBounds(), (Bounds{50, 100, 350, 300}));
    items[0]->setVisibleBounds({10, 20, 30, 40});
    // Through the page's spread, its first page: the copy itself.
    const auto again = copy->pages()->item(1)->duplicate()->pageItems()->enumerate();
    EXPECT_EQ(again[0]->visibleBounds(), (Bounds{10, 20, 30, 40}));

    const HostDocuments documents(testHost.dump());
    EXPECT_EQ(documents.spread(1).items()[0]->bounds(), (Bounds{10, 20, 30, 40}));
    EXPECT_EQ(documents.spread(2).items()[0]->bounds(), (Bounds{10, 20, 30, 40}));
}

TEST_F(CurrentHost, ADocumentInMillimetresNeedsNothingElse) {
    load(R"(
document 450 320
spread
page
  rectangle a 10 12.5 150.5 222.5 90
  rectangle b 160 12.5 300.5 222.5 -90
  line fold 155.25 5 155.25 445
)");
    testHost.zeroPoint(-12.7, 25.4);
    const state::ToolState before = reflect(false);
    EXPECT_EQ(before.sheetWidth, 450);
    EXPECT_EQ(before.sheetHeight, 320);
    EXPECT_EQ(before.frontPages.at(1, 4), 270);  // put as -90, reported -90

    const HostDocuments documents(testHost.dump());
    const auto items = documents.spread(1).items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_DOUBLE_EQ(items[0]->bounds().top, 320 - 150.5);
    EXPECT_DOUBLE_EQ(items[0]->bounds().bottom, 320 - 10);
    EXPECT_DOUBLE_EQ(items[0]->bounds().left, 12.5);
    EXPECT_DOUBLE_EQ(items[0]->bounds().right, 222.5);
    EXPECT_EQ(items[0]->rotation(), 90);
    EXPECT_EQ(items[1]->rotation(), 270);
    EXPECT_DOUBLE_EQ(items[2]->bounds().top, 320 - 155.25);
}

}  // namespace
