// The new page a duplicate adds: its number in the document's own counting,
// and documents whose sizes and positions cannot be worked with, which must end
// in a written file that reads back or in an error with the file untouched.

#include <gtest/gtest.h>

#include <stdexcept>

#include "SlaTestSupport.h"
#include "host/HostError.h"
#include "host/sla/read/SlaNumbers.h"

namespace {

struct NumberCase {
    const char* situation;
    const char* pages;     // PAGE elements
    const char* sections;  // a Sections element or nothing
    const char* newNumber;
    const char* sectionTo;  // the last section's To afterwards, or nothing
};

void PrintTo(const NumberCase& row, std::ostream* os) {
    *os << row.situation;
}

class SlaNewPageNumber : public testing::TestWithParam<NumberCase> {};

TEST_P(SlaNewPageNumber, FollowsTheLastPageAndTheDocumentReadsBack) {
    const NumberCase& row = GetParam();
    slatest::ScratchFolder folder;
    const auto path = folder.write(
        "numbered.sla",
        slatest::documentWith(
            "  <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" XPOS=\"150\" "
            "YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\"/>\n",
            "", std::string(row.sections) + row.pages));
    {
        const auto host = host::sla::SlaHost::open({path});
        host->activeWindow()->activeSpread()->pages()->item(1)->duplicate();
        host->saveChanged();
    }
    const auto host = host::sla::SlaHost::open({path});
    const auto& document = *host->openDocuments()[0];
    EXPECT_STREQ(document.pageNodes().back().attribute("NUM").value(), row.newNumber);
    if (*row.sectionTo) {
        const pugi::xml_node last = document.documentNode().child("Sections").last_child();
        EXPECT_STREQ(last.attribute("To").value(), row.sectionTo);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SlaNewPageNumber,
    testing::Values(
        NumberCase{"CountedFromZero",
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" "
                   "PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" NUM=\"0\"/>\n",
                   "", "1", ""},
        NumberCase{"FirstPageNumberedOne",
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\" NUM=\"1\"/>\n",
                   "", "2", ""},
        NumberCase{"NumbersWithAGap",
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\" NUM=\"5\"/>\n"
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"760\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\" NUM=\"9\"/>\n",
                   "", "10", ""},
        NumberCase{"NoNumbersWritten",
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\"/>\n"
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"760\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\"/>\n",
                   "", "2", ""},
        // Printed page numbers start at 5: the sections say so, NUM still counts places.
        NumberCase{"SectionStartingAtFive",
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\" NUM=\"0\"/>\n",
                   "  <Sections><Section Number=\"0\" Name=\"0\" From=\"0\" To=\"0\" "
                   "Type=\"Type_1_2_3\" Start=\"5\"/></Sections>\n",
                   "1", "1"},
        // A section that does not end at the last page is no business of the new page's.
        NumberCase{"SectionsEndingEarlier",
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\" NUM=\"0\"/>\n"
                   "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"760\" PAGEWIDTH=\"1000\" "
                   "PAGEHEIGHT=\"700\" NUM=\"1\"/>\n",
                   "  <Sections><Section Number=\"0\" Name=\"0\" From=\"0\" To=\"0\" "
                   "Type=\"Type_1_2_3\" Start=\"1\"/><Section Number=\"1\" Name=\"1\" "
                   "From=\"1\" To=\"x\" Type=\"Type_1_2_3\" Start=\"1\"/></Sections>\n",
                   "2", "x"}),
    [](const testing::TestParamInfo<NumberCase>& param) { return param.param.situation; });

TEST(SlaNewPage, ALastPageWithTheHighestNumberTakesNoPageAfterIt) {
    slatest::ScratchFolder folder;
    const auto path =
        folder.write("full.sla", slatest::documentWith("", "",
                                                       "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" "
                                                       "PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" "
                                                       "NUM=\"2147483647\"/>\n"));
    const auto host = host::sla::SlaHost::open({path});
    const auto pages = host->activeWindow()->activeSpread()->pages();
    EXPECT_THROW(pages->item(1)->duplicate(), host::HostError);
    EXPECT_EQ(host->openDocuments()[0]->pageNodes().size(), 1U);
}

// Documents whose numbers are finite but whose arithmetic is not: Reflect
// either writes a file that reads back with finite numbers, or ends with an
// error before anything is saved.
struct HostileCase {
    const char* situation;
    const char* sheetWidth;  // DOCUMENT@PAGEWIDTH
    const char* scratchTop;
    const char* pages;
    const char* items;
    const char* refusal;  // part of the error, or nothing when the back side is written
};

void PrintTo(const HostileCase& row, std::ostream* os) {
    *os << row.situation;
}

class SlaHostile : public testing::TestWithParam<HostileCase> {};

TEST_P(SlaHostile, ReflectWritesAReadableFileOrLeavesItUntouched) {
    const HostileCase& row = GetParam();
    slatest::ScratchFolder folder;
    std::string text = slatest::documentWith(row.items, "", row.pages);
    text.replace(text.find("PAGEWIDTH=\"1000\""), 16,
                 std::string("PAGEWIDTH=\"") + row.sheetWidth + "\"");
    text.replace(text.find("ScratchTop=\"20\""), 15,
                 std::string("ScratchTop=\"") + row.scratchTop + "\"");
    const auto path = folder.write("hostile.sla", text);
    const std::string before = slatest::readFile(path);
    std::string error;
    try {
        slatest::reflectFile(path, true);
    } catch (const host::HostError& failure) {
        error = failure.what();
    } catch (const std::range_error& failure) {  // the geometry's
        error = failure.what();
    }
    if (*row.refusal) {
        EXPECT_NE(error.find(row.refusal), std::string::npos) << error;
        EXPECT_EQ(slatest::readFile(path), before);
        return;
    }
    ASSERT_EQ(error, "");
    const auto reopened = host::sla::SlaHost::open({path});
    slatest::expectFiniteNumbers(*reopened->openDocuments()[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SlaHostile,
    testing::Values(
        HostileCase{"PagesAddingUpToInfinity", "1000", "20",
                    "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                    "PAGEHEIGHT=\"1e308\" NUM=\"0\"/>\n"
                    "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                    "PAGEHEIGHT=\"1e308\" NUM=\"1\"/>\n",
                    "", "page 2 lies beyond the largest position"},
        HostileCase{"NewPageBeyondTheLargestPosition", "1000", "20",
                    "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" "
                    "PAGEHEIGHT=\"1.5e308\" NUM=\"0\"/>\n",
                    "  <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
                    "XPOS=\"200\" YPOS=\"60\" WIDTH=\"200\" HEIGHT=\"100\"/>\n",
                    "it would lie beyond the largest position"},
        HostileCase{"SheetTooWideToMirror", "1e20", "20",
                    "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1e20\" "
                    "PAGEHEIGHT=\"700\" NUM=\"0\"/>\n",
                    "  <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
                    "XPOS=\"200\" YPOS=\"60\" WIDTH=\"200\" HEIGHT=\"100\"/>\n",
                    "too large for page 1 to keep its size"},
        HostileCase{"RectangleOfTheLargestWidth", "1000", "20", "",
                    "  <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
                    "XPOS=\"200\" YPOS=\"60\" WIDTH=\"1.7e308\" HEIGHT=\"100\"/>\n",
                    "too large for page 1 to keep its size"},
        HostileCase{"PageFarFromTheOrigin", "1000", "1e17",
                    "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"1e17\" PAGEWIDTH=\"1000\" "
                    "PAGEHEIGHT=\"700\" NUM=\"0\"/>\n",
                    "  <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
                    "XPOS=\"200\" YPOS=\"100000000000000040\" WIDTH=\"200\" HEIGHT=\"100\"/>\n",
                    "cannot be copied exactly"},
        HostileCase{"LargeButWorkable", "1e7", "20",
                    "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1e7\" "
                    "PAGEHEIGHT=\"700\" NUM=\"0\"/>\n",
                    "  <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" FRTYPE=\"0\" OwnPage=\"0\" "
                    "XPOS=\"5000100\" YPOS=\"60\" WIDTH=\"0.25\" HEIGHT=\"100\" ROT=\"90\"/>\n"
                    "  <PAGEOBJECT ANNAME=\"L\" PTYPE=\"5\" OwnPage=\"0\" XPOS=\"300\" "
                    "YPOS=\"300\" WIDTH=\"9999000\" HEIGHT=\"1\" ROT=\"0.001\"/>\n",
                    ""}),
    [](const testing::TestParamInfo<HostileCase>& param) { return param.param.situation; });

}  // namespace
