#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "host/HostConnection.h"
#include "host/HostError.h"
#include "host/memory/MemoryHost.h"

namespace {

using host::Bounds;
using host::HostError;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::vector<std::string> typeNames(const std::vector<std::shared_ptr<host::PageItem>>& items) {
    std::vector<std::string> names;
    for (const auto& item : items) {
        names.push_back(item->typeName());
    }
    return names;
}

// A 1000 x 700 document whose first spread, shown in the window, has two pages:
// page1: a, g1 { b, g2 { c, d }, e }, f    page2: h
class Imposition : public ::testing::Test {
protected:
    Imposition()
        : doc(host.addDocument(1000, 700)),
          spread(doc.addSpread()),
          page1(spread.addPage()),
          page2(spread.addPage()) {
        page1.addRectangle("a", {0, 0, 100, 100});
        g1 = &page1.addGroup("g1");
        g1->addLine("b", {0, 0, 0, 100});
        auto& g2 = g1->addGroup("g2");
        c = &g2.addRectangle("c", {50, 100, 350, 300}, 90);
        g2.addItem("TextFrame", "d", {0, 0, 10, 10});
        g1->addItem("Oval", "e", {0, 0, 10, 10});
        page1.addRectangle("f", {0, 0, 100, 100});
        page2.addRectangle("h", {0, 0, 100, 100});
        host.showWindow(spread);
    }

    std::shared_ptr<host::Spread> activeSpread() {
        return host.application()->activeWindow()->activeSpread();
    }
    std::vector<std::shared_ptr<host::PageItem>> enumerate() {
        return activeSpread()->pageItems()->enumerate();
    }

    host::MemoryHost host;
    host::MemoryDocument& doc;
    host::MemorySpread& spread;
    host::MemoryPage& page1;
    host::MemoryPage& page2;
    host::MemoryGroup* g1 = nullptr;
    host::MemoryShape* c = nullptr;
};

TEST_F(Imposition, SpreadListsItsPagesTopLevelItemsInOrder) {
    EXPECT_THAT(typeNames(enumerate()),
                ElementsAre("Rectangle", "Group", "Rectangle", "Rectangle"));
    EXPECT_THAT(spread.labels(), ElementsAre("a", "g1", "f", "h"));
}

TEST_F(Imposition, UngroupPutsTheMembersInTheGroupsPlace) {
    const auto before = enumerate();
    const Bounds cBounds{50, 100, 350, 300};
    before[1]->ungroup();
    EXPECT_THAT(spread.labels(), ElementsAre("a", "b", "g2", "e", "f", "h"));
    // A fresh enumeration lists the members; the one taken before keeps what it had.
    const auto after = enumerate();
    EXPECT_THAT(typeNames(after),
                ElementsAre("Rectangle", "Line", "Group", "Oval", "Rectangle", "Rectangle"));
    EXPECT_EQ(before.size(), 4u);
    after[2]->ungroup();
    EXPECT_THAT(spread.labels(), ElementsAre("a", "b", "c", "d", "e", "f", "h"));
    EXPECT_EQ(enumerate()[2]->visibleBounds(), cBounds);
    EXPECT_EQ(enumerate()[2]->rotationAngle(), 90.0);
    EXPECT_THAT(page1.labels(), ElementsAre("a", "b", "c", "d", "e", "f"));
}

TEST_F(Imposition, ADissolvedGroupAnswersNoMoreCalls) {
    const auto group = enumerate()[1];
    group->ungroup();
    EXPECT_THROW(group->ungroup(), HostError);
    EXPECT_THROW(group->typeName(), HostError);
    EXPECT_THAT(spread.labels(), ElementsAre("a", "b", "g2", "e", "f", "h"));
}

TEST_F(Imposition, UngroupOnAnythingButAGroupFailsAndChangesNothing) {
    page1.addItem("Polygon", "p", {0, 0, 10, 10});
    host::MemoryGroup& emptyGroup = page1.addGroup("empty");
    const auto items = enumerate();
    for (std::size_t index : {0u, 2u, 3u, 5u}) {
        SCOPED_TRACE(index);
        EXPECT_THROW(items[index]->ungroup(), HostError);
    }
    EXPECT_THAT(spread.labels(), ElementsAre("a", "g1", "f", "p", "empty", "h"));
    items[4]->ungroup();  // an empty group leaves nothing in its place
    EXPECT_FALSE(emptyGroup.exists());
    EXPECT_THAT(spread.labels(), ElementsAre("a", "g1", "f", "p", "h"));
}

TEST_F(Imposition, DuplicateAddsASpreadWithCopiesOfThePageInOrder) {
    const auto copy = activeSpread()->pages()->item(1)->duplicate();
    ASSERT_EQ(doc.spreads().size(), 2u);
    const host::MemorySpread& added = *doc.spreads().back();
    EXPECT_THAT(added.labels(), ElementsAre("a'", "g1'", "f'"));  // page2's h stays behind
    ASSERT_EQ(added.pages().size(), 1u);
    EXPECT_EQ(added.pages().front()->label(), "page3");
    const auto copies = copy->pageItems()->enumerate();
    EXPECT_THAT(typeNames(copies), ElementsAre("Rectangle", "Group", "Rectangle"));

    // The copies are deep and stand on their own: changing them leaves the original alone.
    copies[1]->ungroup();
    EXPECT_THAT(added.labels(), ElementsAre("a'", "b'", "g2'", "e'", "f'"));
    copy->pageItems()->enumerate()[2]->ungroup();
    EXPECT_THAT(added.labels(), ElementsAre("a'", "b'", "c'", "d'", "e'", "f'"));
    const auto cCopy = copy->pageItems()->enumerate()[2];
    EXPECT_EQ(cCopy->visibleBounds(), (Bounds{50, 100, 350, 300}));
    EXPECT_EQ(cCopy->rotationAngle(), 90.0);
    cCopy->setVisibleBounds({0, 0, 10, 10});
    cCopy->setRotationAngle(0);
    EXPECT_THAT(spread.labels(), ElementsAre("a", "g1", "f", "h"));
    EXPECT_THAT(g1->labels(), ElementsAre("b", "g2", "e"));
    EXPECT_EQ(c->bounds(), (Bounds{50, 100, 350, 300}));
    EXPECT_EQ(c->rotation(), 90.0);

    // Each Duplicate adds one more spread, numbered on from the document's last.
    const auto second = activeSpread()->pages()->item(2)->duplicate();
    EXPECT_EQ(doc.spreads().size(), 3u);
    EXPECT_THAT(doc.spreads().back()->labels(), ElementsAre("h'"));
    EXPECT_THAT(typeNames(second->pageItems()->enumerate()), ElementsAre("Rectangle"));
}

TEST_F(Imposition, CallLogNamesEachCallsObjectAndOperation) {
    const auto app = host.application();
    EXPECT_EQ(app->documents()->count(), 1);
    const auto prefs = app->activeDocument()->preferences();
    EXPECT_EQ(prefs->pageWidth(), 1000);
    EXPECT_EQ(prefs->pageHeight(), 700);
    const auto items = app->activeWindow()->activeSpread()->pageItems()->enumerate();
    items[0]->typeName();
    items[0]->setVisibleBounds(items[0]->visibleBounds());
    items[0]->setRotationAngle(items[0]->rotationAngle());
    items[1]->ungroup();
    activeSpread()->pages()->item(1)->duplicate()->pageItems();
    EXPECT_THAT(
        host.calls(),
        ElementsAre("app.docs", "docs.Count", "app.pacd", "doc1.dcpp", "doc1.prefs.pageWidth",
                    "doc1.prefs.pageHeight", "app.pacw", "window.ActiveSpread", "spread1.pits",
                    "spread1.items.enumerate", "a.typeName", "a.VisibleBounds",
                    "a.VisibleBounds=", "a.RotationAngle", "a.RotationAngle=", "g1.Ungroup",
                    "app.pacw", "window.ActiveSpread", "spread1.pags", "spread1.pages.Item(1)",
                    "page1.Duplicate", "spread2.pits"));
    host.clearCalls();
    EXPECT_TRUE(host.calls().empty());
    items[0]->typeName();
    EXPECT_THAT(host.calls(), ElementsAre("a.typeName"));
}

struct FailCase {
    const char* situation;
    const char* call;
    std::function<void()> act;
};

TEST_F(Imposition, AFailedCallThrowsBeforeItTakesEffect) {
    const auto app = host.application();
    const std::vector<FailCase> cases = {
        {"bounds put", "a.VisibleBounds=",
         [this] {
             enumerate()[0]->setVisibleBounds({1, 2, 3, 4});
         }},
        {"rotation put", "a.RotationAngle=", [this] { enumerate()[0]->setRotationAngle(90); }},
        {"ungroup", "g1.Ungroup", [this] { enumerate()[1]->ungroup(); }},
        {"duplicate", "page1.Duplicate", [this] { activeSpread()->pages()->item(1)->duplicate(); }},
        {"bounds get", "a.VisibleBounds", [this] { enumerate()[0]->visibleBounds(); }},
        {"type name", "a.typeName", [this] { enumerate()[0]->typeName(); }},
        {"enumeration", "spread1.items.enumerate", [this] { enumerate(); }},
        {"active window", "app.pacw", [this] { activeSpread(); }},
        {"document count", "docs.Count", [&app] { app->documents()->count(); }},
        {"page size", "doc1.prefs.pageWidth",
         [&app] { app->activeDocument()->preferences()->pageWidth(); }},
    };
    for (const FailCase& failure : cases) {
        SCOPED_TRACE(failure.situation);
        host.clearFailures();
        host.failOn(failure.call);
        try {
            failure.act();
            ADD_FAILURE() << "the call did not fail";
        } catch (const HostError& error) {
            EXPECT_THAT(error.what(), HasSubstr(failure.call));
        }
        EXPECT_EQ(host.calls().back(), failure.call);
    }
    EXPECT_EQ(spread.items().front()->bounds(), (Bounds{0, 0, 100, 100}));
    EXPECT_EQ(spread.items().front()->rotation(), 0.0);
    EXPECT_THAT(spread.labels(), ElementsAre("a", "g1", "f", "h"));
    EXPECT_TRUE(g1->exists());
    EXPECT_EQ(doc.spreads().size(), 1u);
}

TEST_F(Imposition, AFailureCanBeAimedAtOneOccurrence) {
    const auto a = enumerate()[0];
    host.failOn("a.typeName", 2);
    EXPECT_EQ(a->typeName(), "Rectangle");
    EXPECT_THROW(a->typeName(), HostError);
    EXPECT_EQ(a->typeName(), "Rectangle");

    host.failOn("a.RotationAngle");
    EXPECT_THROW(a->rotationAngle(), HostError);
    EXPECT_THROW(a->rotationAngle(), HostError);
    host.clearFailures();
    EXPECT_EQ(a->rotationAngle(), 0.0);
}

TEST(MemoryHost, MissingResultsThrow) {
    host::MemoryHost host;
    const auto app = host.application();
    EXPECT_EQ(app->documents()->count(), 0);
    try {
        app->activeDocument();
        ADD_FAILURE() << "an active document without documents";
    } catch (const HostError& error) {
        EXPECT_STREQ(error.what(), "No document is open.");
    }
    EXPECT_THROW(app->activeWindow(), HostError);

    auto& spread = host.addDocument(100, 100).addSpread();
    spread.addPage();
    host.showEmptyWindow();
    const auto window = app->activeWindow();
    EXPECT_THROW(window->activeSpread(), HostError);
    host.showWindow(spread);
    const auto pages = window->activeSpread()->pages();
    EXPECT_THROW(pages->item(0), HostError);
    EXPECT_THROW(pages->item(2), HostError);
    EXPECT_THROW(pages->item(-1), HostError);
    host.closeWindow();
    EXPECT_THROW(app->activeWindow(), HostError);
    EXPECT_THROW(window->activeSpread(), HostError);
}

TEST(MemoryHost, DocumentsAnswerFromTheModel) {
    host::MemoryHost host;
    auto& letter = host.addDocument(612, 792);
    host.addDocument(1000, 700);
    const auto app = host.application();
    EXPECT_EQ(app->documents()->count(), 2);
    EXPECT_EQ(app->activeDocument()->preferences()->pageWidth(), 1000);  // the last opened
    host.activate(letter);
    const auto prefs = app->activeDocument()->preferences();
    EXPECT_EQ(prefs->pageWidth(), 612);
    EXPECT_EQ(prefs->pageHeight(), 792);
    EXPECT_EQ(host.calls().back(), "doc1.prefs.pageHeight");
}

TEST(MemoryHost, RegistersUnderTheHostsProgId) {
    host::MemoryHost host;
    host::HostConnection connection;
    host.registerIn(connection);
    EXPECT_EQ(connection.connect(), host.application());
}

}  // namespace
