// A duplicated page whose items refer to each other, on documents Scribus
// 1.5.8 made: the copies refer to the copies, as Scribus's own page copy
// writes them, and nothing of the original changes.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "SlaTestSupport.h"
#include "host/sla/read/SlaNumbers.h"

namespace {

using Document = host::sla::SlaDocument;

pugi::xml_node named(const Document& document, const std::string& name) {
    for (pugi::xml_node item : document.topLevelItems()) {
        if (name == item.attribute("ANNAME").value()) {
            return item;
        }
    }
    throw std::runtime_error("no item named " + name);
}

std::string id(pugi::xml_node item) {
    return item.attribute("ItemID").value();
}

std::vector<std::string> labels(pugi::xml_node item) {
    std::vector<std::string> found;
    for (pugi::xpath_node mark : item.select_nodes(".//MARK")) {
        found.push_back(mark.node().attribute("label").value());
    }
    return found;
}

// Every element of a list under DOCUMENT, as "attribute=value …" in document order.
std::vector<std::map<std::string, std::string>> entries(const Document& document,
                                                        const char* list) {
    std::vector<std::map<std::string, std::string>> found;
    for (pugi::xml_node entry : document.documentNode().child(list).children()) {
        if (entry.type() != pugi::node_element) {
            continue;
        }
        std::map<std::string, std::string> attributes{{"", entry.name()}};
        for (pugi::xml_attribute attribute : entry.attributes()) {
            attributes[attribute.name()] = attribute.value();
        }
        found.push_back(attributes);
    }
    return found;
}

std::string text(pugi::xml_node node) {
    std::ostringstream out;
    node.print(out, "", pugi::format_raw);
    return out.str();
}

// Duplicates page 1, saves, and returns the document as reloaded.
std::shared_ptr<host::sla::SlaHost> duplicated(const std::filesystem::path& path) {
    {
        const auto host = host::sla::SlaHost::open({path});
        host->activeWindow()->activeSpread()->pages()->item(1)->duplicate();
        host->saveChanged();
    }
    return host::sla::SlaHost::open({path});
}

TEST(SlaReferences, AFootnoteCopyHasItsOwnMarkNoteAndFrame) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("footnote.sla"));
    const auto original = Document::load(path);
    const auto host = duplicated(path);
    const Document& document = *host->openDocuments()[0];

    const pugi::xml_node body = named(document, "Body");
    const pugi::xml_node bodyCopy = named(document, "Body p2");
    const pugi::xml_node frame = named(document, "Footnote frame Default");
    const pugi::xml_node frameCopy = named(document, "Footnote frame Default p2");
    EXPECT_EQ(text(body), text(named(*original, "Body")));
    EXPECT_EQ(text(frame), text(named(*original, "Footnote frame Default")));
    EXPECT_EQ(labels(bodyCopy), std::vector<std::string>{"NoteMark_Default_2"});

    const auto marks = entries(document, "Marks");
    ASSERT_EQ(marks.size(), 2U);
    EXPECT_EQ(marks[1].at("label"), "NoteMark_Default_2");
    EXPECT_EQ(marks[1].at("type"), "4");
    const auto notes = entries(document, "Notes");
    ASSERT_EQ(notes.size(), 2U);
    EXPECT_EQ(notes[1].at("Master"), "NoteMark_Default_2");
    EXPECT_EQ(notes[1].at("Text"), notes[0].at("Text"));
    const auto records = entries(document, "NotesFrames");
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[0].at("myID"), id(frame));
    EXPECT_EQ(records[0].at("MasterID"), id(body));
    EXPECT_EQ(records[1].at("myID"), id(frameCopy));
    EXPECT_EQ(records[1].at("MasterID"), id(bodyCopy));
    // The copied note frame is welded to the copied text frame alone.
    EXPECT_STREQ(frameCopy.attribute("WeldSource").value(), id(frameCopy).c_str());
    EXPECT_STREQ(frameCopy.child("WeldEntry").attribute("Target").value(), id(bodyCopy).c_str());
    EXPECT_STREQ(frameCopy.attribute("OwnPage").value(), "1");
}

// A text may show a mark the document does not define (Scribus skips it); a
// fresh label must not give it a definition and a second place.
TEST(SlaReferences, AFreshLabelIsNewToTheTextsToo) {
    slatest::ScratchFolder folder;
    std::string text = slatest::readFile(slatest::scribusSample("footnote.sla"));
    const std::string mark = "<MARK label=\"NoteMark_Default_1\"";
    text.insert(text.find(mark), "<MARK label=\"NoteMark_Default_2\" type=\"4\"/>");
    const auto host = duplicated(folder.write("stray.sla", text));
    const Document& document = *host->openDocuments()[0];
    EXPECT_EQ(labels(named(document, "Body p2")),
              (std::vector<std::string>{"NoteMark_Default_2", "NoteMark_Default_3"}));
    const auto marks = entries(document, "Marks");
    ASSERT_EQ(marks.size(), 2U);
    EXPECT_EQ(marks[1].at("label"), "NoteMark_Default_3");
    EXPECT_EQ(entries(document, "Notes").back().at("Master"), "NoteMark_Default_3");
}

// An endnote frame gathers the notes of the whole document: the copy's note
// joins it, and the frame itself is not copied.
TEST(SlaReferences, AnEndnoteCopyJoinsTheOneEndnoteFrame) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("endnote.sla"));
    const auto host = duplicated(path);
    const Document& document = *host->openDocuments()[0];
    EXPECT_EQ(labels(named(document, "Body p2")), std::vector<std::string>{"NoteMark_Default_2"});
    EXPECT_EQ(entries(document, "Notes").size(), 2U);
    const auto records = entries(document, "NotesFrames");
    ASSERT_EQ(records.size(), 1U);
    EXPECT_EQ(records[0].at(""), "ENDNOTEFRAME");
    int frames = 0;
    for (pugi::xml_node item : document.topLevelItems()) {
        frames += std::string(item.attribute("ANNAME").value()).rfind("Endnote frame", 0) == 0;
    }
    EXPECT_EQ(frames, 1);
}

struct NoteFrameCase {
    const char* situation;
    double bodyShift;   // points the text frame moves down before the duplicate
    double frameShift;  // points its footnote frame moves down
    std::set<std::string> copied;
    std::size_t records;  // footnote frame records afterwards
};

void PrintTo(const NoteFrameCase& row, std::ostream* os) {
    *os << row.situation;
}

class SlaNoteFrames : public testing::TestWithParam<NoteFrameCase> {};

// A footnote frame goes where its text frame goes, on the page or off it.
TEST_P(SlaNoteFrames, TravelWithTheirTextFrame) {
    const NoteFrameCase& row = GetParam();
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("footnote.sla"));
    {
        auto document = Document::load(path);
        for (const auto& [name, shift] :
             {std::pair{"Body", row.bodyShift}, {"Footnote frame Default", row.frameShift}}) {
            const pugi::xml_node item = named(*document, name);
            document->setNumber(item, "YPOS", host::sla::numberAttribute(item, "YPOS") + shift);
        }
        document->save();
    }
    const auto host = duplicated(path);
    const Document& document = *host->openDocuments()[0];
    std::set<std::string> copied;
    for (pugi::xml_node item : document.topLevelItems()) {
        if (std::string(item.attribute("OwnPage").value()) == "1") {
            copied.insert(item.attribute("ANNAME").value());
        }
    }
    EXPECT_EQ(copied, row.copied);
    EXPECT_EQ(entries(document, "NotesFrames").size(), row.records);
    EXPECT_EQ(entries(document, "Marks").size(), row.records);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, SlaNoteFrames,
    testing::Values(
        // The footnote frame hangs below the page's bottom edge.
        NoteFrameCase{"FrameBelowThePage",
                      500,
                      500,
                      {"Body p2", "Footnote frame Default p2", "Rect_1 p2", "Line_1 p2"},
                      2},
        // The text frame lies on the pasteboard, its footnote frame on the page.
        NoteFrameCase{"TextFrameOffThePage", 2000, 0, {"Rect_1 p2", "Line_1 p2"}, 1}),
    [](const testing::TestParamInfo<NoteFrameCase>& param) { return param.param.situation; });

TEST(SlaReferences, MarksWeldsAndInlineItemsFollowScribussOwnPageCopy) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("cross-references.sla"));
    const auto original = Document::load(path);
    const auto host = duplicated(path);
    const Document& document = *host->openDocuments()[0];

    for (const char* name : {"Body", "Rect_1", "Link_1", "Table_1"}) {
        EXPECT_EQ(text(named(document, name)), text(named(*original, name))) << name;
    }
    // Every mark gets its own label but a variable text, which many places may show.
    EXPECT_EQ(labels(named(document, "Body p2")),
              (std::vector<std::string>{"Anchor1_0", "Ref1_0", "MRef1_0", "VariableMark"}));
    const auto marks = entries(document, "Marks");
    ASSERT_EQ(marks.size(), 7U);
    const auto& refCopy = marks[5];
    EXPECT_EQ(refCopy.at("label"), "Ref1_0");
    EXPECT_EQ(refCopy.at("ItemID"), marks[1].at("ItemID"));  // still the original rectangle
    EXPECT_EQ(marks[6].at("label"), "MRef1_0");
    EXPECT_EQ(marks[6].at("MARKlabel"), "Anchor1");
    // Welds pair the copies; the originals keep theirs.
    const pugi::xml_node rectCopy = named(document, "Rect_1 p2");
    const pugi::xml_node linkCopy = named(document, "Link_1 p2");
    EXPECT_STREQ(rectCopy.child("WeldEntry").attribute("Target").value(), id(linkCopy).c_str());
    EXPECT_STREQ(linkCopy.child("WeldEntry").attribute("Target").value(), id(rectCopy).c_str());
    // The inline item stays one, shown by both texts.
    EXPECT_EQ(document.documentNode().select_nodes("FRAMEOBJECT").size(), 1U);
    const auto inlineId = [&](const char* name) {
        return std::string(
            named(document, name).select_node(".//ITEXT[@COBJ]").node().attribute("COBJ").value());
    };
    EXPECT_EQ(inlineId("Body p2"), "524758080");
    EXPECT_EQ(inlineId("Body"), "524758080");
    EXPECT_EQ(named(document, "Table_1 p2").select_nodes(".//Cell").size(), 4U);

    std::set<std::string> ids;
    for (pugi::xpath_node item : document.documentNode().select_nodes(".//*[@ItemID]")) {
        if (std::string(item.node().name()) != "Mark") {
            EXPECT_TRUE(ids.insert(id(item.node())).second) << id(item.node());
        }
    }
}

TEST(SlaReferences, AWeldToAnItemLeftBehindIsCutOnTheCopy) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("cross-references.sla"));
    {
        auto document = Document::load(path);
        document->setNumber(named(*document, "Link_1"), "XPOS", 5000);  // onto the pasteboard
        document->save();
    }
    const auto host = duplicated(path);
    const Document& document = *host->openDocuments()[0];
    EXPECT_FALSE(named(document, "Rect_1 p2").child("WeldEntry"));
    EXPECT_TRUE(named(document, "Rect_1").child("WeldEntry"));
    EXPECT_TRUE(named(document, "Link_1").child("WeldEntry"));
}

}  // namespace
