#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "host/HostError.h"
#include "host/memory/MemoryHost.h"
#include "host/memory/SheetText.h"

namespace {

using host::Bounds;
using host::MemoryGroup;
using host::MemoryHost;
using host::memory::dumpDocuments;
using host::memory::loadSheet;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

constexpr const char* kTwoDocuments = R"(# a sheet and a second document
document 1000 700
spread
page
  rectangle r1 50 100 350 300 90
  group g1
    line l1 100 100 100 300
    group g2
      item TextFrame t1 0 0 10 20 -90
    end
  end
page
  rectangle r2 0 0 100 100
spread
page
document 500 400
spread
page
  item Oval o1 1 2 3 4
active 1
window 2
)";

TEST(SheetText, LoadsDocumentsSpreadsPagesGroupsAndTheWindow) {
    MemoryHost host;
    loadSheet(host, kTwoDocuments);

    ASSERT_EQ(host.documents().size(), 2u);
    const host::MemoryDocument& first = *host.documents()[0];
    EXPECT_EQ(host.activeDocument(), &first);
    EXPECT_EQ(first.pageWidth(), 1000);
    EXPECT_EQ(first.pageHeight(), 700);
    ASSERT_EQ(first.spreads().size(), 2u);
    const auto& spread = *first.spreads()[0];
    ASSERT_EQ(spread.pages().size(), 2u);
    EXPECT_THAT(spread.labels(), ElementsAre("r1", "g1", "r2"));
    const auto& r1 = *spread.items()[0];
    EXPECT_EQ(r1.typeName(), "Rectangle");
    EXPECT_EQ(r1.bounds(), (Bounds{50, 100, 350, 300}));
    EXPECT_EQ(r1.rotation(), 90);
    const auto& g1 = dynamic_cast<const MemoryGroup&>(*spread.items()[1]);
    EXPECT_THAT(g1.labels(), ElementsAre("l1", "g2"));
    const auto& g2 = dynamic_cast<const MemoryGroup&>(*g1.items()[1]);
    EXPECT_EQ(g2.items()[0]->typeName(), "TextFrame");
    EXPECT_EQ(g2.items()[0]->rotation(), -90);
    EXPECT_EQ(host.documents()[1]->spreads()[0]->items()[0]->typeName(), "Oval");

    // "window 2": the active document's second spread, which has a page but no items.
    const auto items = host.application()->activeWindow()->activeSpread()->pageItems();
    EXPECT_TRUE(items->enumerate().empty());
}

TEST(SheetText, WindowShowsTheActiveDocumentsFirstSpreadUnlessTold) {
    MemoryHost shown;
    loadSheet(shown, "document 10 10\nspread\npage\nrectangle a 0 0 1 1\n");
    EXPECT_EQ(shown.application()->activeWindow()->activeSpread()->pageItems()->enumerate().size(),
              1u);

    MemoryHost empty;
    loadSheet(empty, "document 10 10\nspread\nwindow none\n");
    EXPECT_THROW(empty.application()->activeWindow()->activeSpread(), host::HostError);

    MemoryHost closed;
    loadSheet(closed, "document 10 10\nspread\nwindow closed\n");
    EXPECT_THROW(closed.application()->activeWindow(), host::HostError);

    MemoryHost none;
    loadSheet(none, "# no document\n");
    EXPECT_EQ(none.application()->documents()->count(), 0);
}

TEST(SheetText, DumpReadsBackAsTheSameDocuments) {
    MemoryHost host;
    loadSheet(host, kTwoDocuments);
    const std::string dump = dumpDocuments(host);
    MemoryHost again;
    loadSheet(again, dump);
    EXPECT_EQ(dumpDocuments(again), dump);
    EXPECT_THAT(dump, HasSubstr("  rectangle r1 50 100 350 300 90\n"));
    EXPECT_THAT(dump, HasSubstr("  group g1\n    line l1 100 100 100 300 0\n"));
}

TEST(SheetText, DumpShowsWhatHostCallsChanged) {
    MemoryHost host;
    loadSheet(host, "document 1000 700\nspread\npage\ngroup g\nrectangle r 100 100 300 200\nend\n");
    const auto spread = host.application()->activeWindow()->activeSpread();
    spread->pageItems()->enumerate()[0]->ungroup();
    const auto copy = spread->pages()->item(1)->duplicate();
    const auto item = copy->pageItems()->enumerate()[0];
    item->setVisibleBounds({100, 700, 300, 900});
    item->setRotationAngle(180);

    EXPECT_EQ(dumpDocuments(host),
              "document 1000 700\n"
              "spread\npage\n  rectangle r 100 100 300 200 0\n"
              "spread\npage\n  rectangle r' 100 700 300 900 180\n");
}

TEST(SheetText, AMalformedSheetNamesItsLine) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"spread\n", "line 1: no document is open yet"},
        {"document 10 10\npage\n", "line 2: no spread"},
        {"document 10 10\nspread\nrectangle r 0 0 1 1\n", "line 3: no page"},
        {"document ten 10\n", "\"ten\" is not a number"},
        {"document 10\n", "takes 2 value(s)"},
        {"document 10 10\nspread\npage\nrectangle r 0 0 1\n", "four bounds"},
        {"document 10 10\nspread\npage\ncircle c 0 0 1 1\n", "unknown keyword \"circle\""},
        {"document 10 10\nspread\npage\nend\n", "line 4: \"end\" without a group"},
        {"document 10 10\nspread\npage\ngroup g\n", "not closed"},
        {"document 10 10\nspread\nwindow 2\n", "no spread 2"},
        {"document 10 10\nactive 2\n", "no document 2"},
        {"document 10 10\nspread\npage\nitem Group g 0 0 1 1\n", "addGroup"},
        {"document 10 10\nspread\npage\nline l 0 0 10 10\n", "line 4: Line l"},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.text);
        MemoryHost host;
        try {
            loadSheet(host, bad.text);
            ADD_FAILURE() << "loaded";
        } catch (const std::invalid_argument& error) {
            EXPECT_THAT(error.what(), HasSubstr(bad.message));
        }
    }
}

}  // namespace
