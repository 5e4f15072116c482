// The adapter against the test host in its own process: every operation of the object model,
// what crosses the process boundary, and what the host is sent.

#include <gmock/gmock.h>

#include "ComHostTest.h"

namespace {

using host::Bounds;
using testhost::hostFailure;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kEveryKindSheet = R"(
document 1000 700
spread
page
  rectangle r1 50 100 350 300 90
  group g1
    rectangle r2 400 100 650 300 180
    group g2
      rectangle r3 50 600 350 800
    end
  end
  line cut 675 50 675 950
  item TextFrame t1 10 10 40 200
  item Oval o1 660 960 680 980
  item Polygon p1 0 0 10 10
)";

class ComAdapter : public testhost::ComHostTest {
protected:
    ComAdapter() { load(kEveryKindSheet); }

    std::vector<std::shared_ptr<host::PageItem>> items(host::Application& application) {
        return application.activeWindow()->activeSpread()->pageItems()->enumerate();
    }
};

std::vector<std::string> typeNames(const std::vector<std::shared_ptr<host::PageItem>>& items) {
    std::vector<std::string> names;
    for (const auto& item : items) {
        names.push_back(item->typeName());
    }
    return names;
}

TEST_F(ComAdapter, ReadsTheObjectModelWithTheHostCallsItNames) {
    const auto application = connect();
    EXPECT_EQ(application->documents()->count(), 1);
    const auto preferences = application->activeDocument()->preferences();
    EXPECT_EQ(preferences->pageWidth(), 1000);
    EXPECT_EQ(preferences->pageHeight(), 700);
    const auto all = items(*application);
    EXPECT_THAT(typeNames(all),
                ElementsAre("Rectangle", "Group", "Line", "TextFrame", "Oval", "Polygon"));
    EXPECT_EQ(all[0]->visibleBounds(), (Bounds{50, 100, 350, 300}));
    EXPECT_EQ(all[0]->rotationAngle(), 90);

    // Across the process boundary the host sees each operation once and nothing else.
    EXPECT_THAT(testHost.calls(),
                ElementsAre("app.docs", "docs.Count", "app.pacd", "doc1.dcpp",
                            "doc1.prefs.pageWidth", "doc1.prefs.pageHeight", "app.pacw",
                            "window.ActiveSpread", "spread1.pits", "spread1.items.enumerate",
                            "r1.typeName", "g1.typeName", "cut.typeName", "t1.typeName",
                            "o1.typeName", "p1.typeName", "r1.VisibleBounds", "r1.RotationAngle"));
}

TEST_F(ComAdapter, UngroupsDuplicatesAndWritesItems) {
    const auto application = connect();
    const auto spread = application->activeWindow()->activeSpread();
    auto all = spread->pageItems()->enumerate();
    all[1]->ungroup();
    all = spread->pageItems()->enumerate();  // every enumeration starts afresh
    EXPECT_THAT(typeNames(all), ElementsAre("Rectangle", "Rectangle", "Group", "Line", "TextFrame",
                                            "Oval", "Polygon"));
    all[2]->ungroup();

    const auto copy = spread->pages()->item(1)->duplicate();
    const auto copies = copy->pageItems()->enumerate();
    ASSERT_THAT(typeNames(copies), ElementsAre("Rectangle", "Rectangle", "Rectangle", "Line",
                                               "TextFrame", "Oval", "Polygon"));
    copies[0]->setVisibleBounds({50, 700, 350, 900});
    copies[0]->setRotationAngle(270);
    copies[3]->setRotationAngle(0);
    copies[3]->setVisibleBounds({25, 50, 25, 950});

    EXPECT_EQ(testHost.dump(), R"(document 1000 700
spread
page
  rectangle r1 50 100 350 300 90
  rectangle r2 400 100 650 300 180
  rectangle r3 50 600 350 800 0
  line cut 675 50 675 950 0
  item TextFrame t1 10 10 40 200 0
  item Oval o1 660 960 680 980 0
  item Polygon p1 0 0 10 10 0
spread
page
  rectangle r1' 50 700 350 900 270
  rectangle r2' 400 100 650 300 180
  rectangle r3' 50 600 350 800 0
  line cut' 25 50 25 950 0
  item TextFrame t1' 10 10 40 200 0
  item Oval o1' 660 960 680 980 0
  item Polygon p1' 0 0 10 10 0
)");
    // A rectangle's bounds go as variants and a line's as doubles, indexed from 0, each put
    // naming the property-put argument (the host refuses a put that does not).
    EXPECT_THAT(testHost.puts(), ElementsAre("r1'.VisibleBounds= variant[0..3]",
                                             "cut'.VisibleBounds= double[0..3]"));
}

TEST_F(ComAdapter, ChecksTheIdentityOfEveryReferenceTheToolKeeps) {
    const struct {
        const char* refused;
        std::function<void(host::Application&)> reach;
        const char* says;
    } cases[] = {
        {"Document", [](host::Application& app) { app.activeDocument(); },
         "active document does not support the document interface "
         "{1A5E8DB4-3443-11D1-803C-0060B03C02E4}"},
        {"Spread", [](host::Application& app) { app.activeWindow()->activeSpread(); },
         "result of Window.ActiveSpread does not support the spread interface "
         "{2407F2DA-4E36-11D1-8047-0060B03C02E4}"},
        {"PageItems",
         [](host::Application& app) { app.activeWindow()->activeSpread()->pageItems(); },
         "page items of a spread does not support the page-items collection interface "
         "{D7D2C131-D321-11D1-AAA2-00C04FA349C7}"},
    };
    for (const auto& check : cases) {
        SCOPED_TRACE(check.refused);
        load(kEveryKindSheet);
        const auto application = connect();
        EXPECT_NO_THROW(check.reach(*application));
        testHost.refuse(check.refused);
        EXPECT_THAT(hostFailure([&] { check.reach(*application); }), HasSubstr(check.says));
    }

    load(kEveryKindSheet);
    const auto page = connect()->activeWindow()->activeSpread()->pages()->item(1);
    testHost.refuse("Spread");
    EXPECT_THAT(hostFailure([&] { page->duplicate(); }),
                HasSubstr("result of Page.Duplicate() does not support the spread interface"));
    // The running instance was made before: a refusing one is started by activation.
    testHost.refuse("Application");
    testHost.leaveRunningTable();
    EXPECT_THAT(hostFailure([&] { connect(); }),
                HasSubstr("application object does not support the application interface "
                          "{ABD4CBB2-0CFE-11D1-801D-0060B03C02E4} (HRESULT 0x80004002)"));
}

TEST_F(ComAdapter, AsksTypeNamesAndMemberIdsOncePerClass) {
    const auto application = connect();
    for (int pass = 0; pass < 2; ++pass) {
        for (const auto& item : items(*application)) {
            if (item->typeName() == "Rectangle") {
                item->visibleBounds();
                item->rotationAngle();
            }
        }
    }
    // Type information is asked of every item, its name once per class (six classes).
    EXPECT_EQ(testHost.counter("typeinfos"), 12);
    EXPECT_EQ(session->counts().typeQueries, 12u + 6u);
    // pags, pits, docs, pacd, pacw, dcpp go by their ids; ActiveSpread once, and
    // VisibleBounds and RotationAngle once for Rectangle.
    EXPECT_EQ(testHost.counter("lookups"), 3);
    EXPECT_EQ(session->counts().nameLookups, 3u);
}

}  // namespace

namespace {

std::string rectangles(int count) {
    std::string sheet = "document 1000 700\nspread\npage\n";
    for (int index = 1; index <= count; ++index) {
        sheet += "rectangle r" + std::to_string(index) + " 0 0 10 10\n";
    }
    return sheet;
}

class ComEnumeration : public testhost::ComHostTest {
protected:
    static host::com::ComOptions batchesOf(unsigned long batch) {
        host::com::ComOptions options = testhost::quickOptions();
        options.enumerationBatch = batch;
        return options;
    }
    ComEnumeration() : ComHostTest(batchesOf(128)) {}
};

TEST_F(ComEnumeration, FetchesManyItemsPerRoundTripInTheHostsOrder) {
    for (const int count : {0, 127, 128, 300}) {
        SCOPED_TRACE(count);
        load(rectangles(count));
        const auto items = connect()->activeWindow()->activeSpread()->pageItems()->enumerate();
        ASSERT_EQ(items.size(), static_cast<std::size_t>(count));
        if (count > 0) {
            EXPECT_EQ(testHost.counter("fetches"), count / 128 + 1);
            items.back()->typeName();
            EXPECT_EQ(testHost.calls().back(), "r" + std::to_string(count) + ".typeName");
        }
    }
}

class ComBounds : public testhost::ComHostTest {
protected:
    ComBounds() { load("document 1000 700\nspread\npage\nrectangle r1 50 100 350 300 90\n"); }

    host::Bounds read() {
        return connect()
            ->activeWindow()
            ->activeSpread()
            ->pageItems()
            ->enumerate()[0]
            ->visibleBounds();
    }
};

TEST_F(ComBounds, AcceptsDoublesOrVariantsIndexedFromZeroOrOne) {
    for (const char* form : {"doubles0", "doubles1", "variants0", "variants1"}) {
        SCOPED_TRACE(form);
        testHost.boundsForm(form);
        EXPECT_EQ(read(), (Bounds{50, 100, 350, 300}));
    }
}

TEST_F(ComBounds, RefusesAnythingButFourNumbers) {
    const struct {
        const char* form;
        const char* says;
    } cases[] = {
        {"three", "gave an array of 3 elements, not four numbers"},
        {"matrix", "gave an array of 2 dimensions, not four numbers"},
        {"text", "gave text, not four numbers"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.form);
        testHost.boundsForm(bad.form);
        EXPECT_THAT(hostFailure([&] { read(); }),
                    HasSubstr(std::string("The host call Rectangle.VisibleBounds ") + bad.says));
    }
}

}  // namespace
