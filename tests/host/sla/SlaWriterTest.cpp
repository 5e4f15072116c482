// Saving writes what the tool did not change byte for byte as it was read;
// a changed element keeps all but its changed attributes as written; copies,
// moves and removals show exactly as made.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "SlaTestSupport.h"

namespace {

using host::sla::SlaDocument;

// Same elements, attributes in the same order with the same values, same text.
void expectSameTree(pugi::xml_node a, pugi::xml_node b) {
    ASSERT_STREQ(a.name(), b.name());
    ASSERT_EQ(a.type(), b.type());
    EXPECT_STREQ(a.value(), b.value());
    pugi::xml_attribute x = a.first_attribute();
    pugi::xml_attribute y = b.first_attribute();
    for (; x && y; x = x.next_attribute(), y = y.next_attribute()) {
        EXPECT_STREQ(x.name(), y.name());
        EXPECT_STREQ(x.value(), y.value()) << x.name();
    }
    EXPECT_TRUE(!x && !y) << "attribute count differs on " << a.name();
    pugi::xml_node c = a.first_child();
    pugi::xml_node d = b.first_child();
    for (; c && d; c = c.next_sibling(), d = d.next_sibling()) {
        expectSameTree(c, d);
    }
    EXPECT_TRUE(!c && !d) << "child count differs under " << a.name();
}

// What `document` writes, read back, is what it holds.
void expectWrittenAsHeld(const SlaDocument& document) {
    const std::string written = document.serialize();
    pugi::xml_document again;
    ASSERT_TRUE(again.load_buffer(written.data(), written.size(), host::sla::kParseFlags,
                                  pugi::encoding_utf8));
    expectSameTree(document.documentNode(), again.document_element().child("DOCUMENT"));
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

TEST(SlaWriter, AChangedElementKeepsAllButTheChangedValuesAsWritten) {
    struct Row {
        const char* situation;
        std::string element;
        const char* attribute;
        const char* value;
        std::string expected;
    };
    const Row rows[] = {
        {"plain", "<Extra a=\"1\" b=\"2\"/>", "b", "3", "<Extra a=\"1\" b=\"3\"/>"},
        {"spacing and quotes", "<Extra a = '1'\n     b=\"2\" />", "a", "5",
         "<Extra a = '5'\n     b=\"2\" />"},
        {"references beside", "<Extra t=\"A &amp; B &#65;&apos;\" n=\"1\"/>", "n", "2",
         "<Extra t=\"A &amp; B &#65;&apos;\" n=\"2\"/>"},
        {"raw tab and line end beside", "<Extra t=\"a\tb\nc\" n=\"1\"/>", "n", "2",
         "<Extra t=\"a\tb\nc\" n=\"2\"/>"},
        {"markup in the new value", "<Extra t='x' n=\"1\"/>", "t", "it's <a> & \"b\"\t",
         "<Extra t='it&apos;s &lt;a&gt; &amp; \"b\"&#9;' n=\"1\"/>"},
        {"new attribute", "<Extra a=\"1\"\n/>", "z", "9", "<Extra a=\"1\" z=\"9\"\n/>"},
        {"end tag kept", "<Extra a=\"1\" ></Extra >", "a", "2", "<Extra a=\"2\" ></Extra >"},
        {"children kept", "<Extra a=\"1\">\n   <Inner v='&lt;'/><!-- note -->\n  </Extra>", "a",
         "2", "<Extra a=\"2\">\n   <Inner v='&lt;'/><!-- note -->\n  </Extra>"},
    };
    slatest::ScratchFolder folder;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        // Another element with the same quirks stays as it was.
        const std::string text =
            slatest::documentWith("  " + row.element + "\n  <Other t=\"&#65;\tB\" c = '1' />\n");
        const auto document = SlaDocument::load(folder.write("quirks.sla", text));
        document->setAttribute(document->documentNode().child("Extra"), row.attribute, row.value);
        EXPECT_EQ(document->serialize(), replaced(text, row.element, row.expected));
        expectWrittenAsHeld(*document);
    }
}

TEST(SlaWriter, ByteOrderMarkAndLineEndsStay) {
    slatest::ScratchFolder folder;
    std::string text = slatest::documentWith("  <Extra a=\"1\"/>\n");
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 2)) {
        text.replace(at, 1, "\r\n");
    }
    text = "\xEF\xBB\xBF" + text;
    const auto document = SlaDocument::load(folder.write("windows.sla", text));
    document->setAttribute(document->documentNode().child("Extra"), "a", "2");
    EXPECT_EQ(document->serialize(), replaced(text, "a=\"1\"", "a=\"2\""));
}

TEST(SlaWriter, CopiesAreNeverTakenForWhatTheyCopy) {
    slatest::ScratchFolder folder;
    const std::string text =
        slatest::documentWith("  <Extra n=\"1\"><Inner v=\"a\"/><!-- c --></Extra>\n  <Last/>\n");
    const auto document = SlaDocument::load(folder.write("copies.sla", text));
    const pugi::xml_node extra = document->documentNode().child("Extra");
    document->setAttribute(extra.child("Inner"), "v", "b");
    // Before the source, copied after its change; after it, copied before the next one.
    const pugi::xml_node before = document->insertCopyBefore(extra, extra);
    const pugi::xml_node after = document->insertCopyAfter(extra, extra);
    document->setAttribute(extra.child("Inner"), "v", "c");
    // Removing and copying again lets pugixml reuse the memory of removed nodes.
    const pugi::xml_node last = document->documentNode().child("Last");
    document->removeNode(last.previous_sibling());  // its indent, so that no two texts meet
    document->removeNode(last);
    for (int i = 0; i < 20; ++i) {
        document->insertCopyAfter(after, after);
    }
    EXPECT_STREQ(before.child("Inner").attribute("v").value(), "b");
    expectWrittenAsHeld(*document);
    const std::string written = document->serialize();
    EXPECT_THAT(written, testing::HasSubstr("<Extra n=\"1\"><Inner v=\"c\"/><!-- c --></Extra>"));
    EXPECT_EQ(written.find("<Last"), std::string::npos);
}

TEST(SlaWriter, UngroupedMembersLeaveTheGroupAndKeepTheirContent) {
    slatest::ScratchFolder folder;
    const std::string story = "<StoryText><ITEXT CH=\"a &amp; b\"/></StoryText>";
    const std::string text = slatest::documentWith(
        "  <PAGEOBJECT ANNAME=\"G\" PTYPE=\"12\" XPOS=\"200\" YPOS=\"100\" WIDTH=\"100\" "
        "HEIGHT=\"50\" OwnPage=\"0\" groupWidth=\"100\" groupHeight=\"50\">\n"
        "   <PAGEOBJECT ANNAME=\"T\" PTYPE=\"4\" XPOS=\"200\" YPOS=\"100\" WIDTH=\"40\" "
        "HEIGHT=\"50\" OwnPage=\"0\" gXpos=\"0\" gYpos=\"0\">" +
        story +
        "</PAGEOBJECT>\n"
        "   <PAGEOBJECT ANNAME=\"R\" PTYPE=\"6\" XPOS=\"260\" YPOS=\"100\" WIDTH=\"40\" "
        "HEIGHT=\"50\" OwnPage=\"0\" gXpos=\"60\" gYpos=\"0\"/>\n"
        "  </PAGEOBJECT>\n  <PAGEOBJECT ANNAME=\"After\" PTYPE=\"6\" XPOS=\"1\" YPOS=\"1\" "
        "WIDTH=\"1\" HEIGHT=\"1\" OwnPage=\"0\"/>\n");
    const auto path = folder.write("group.sla", text);
    const auto host = host::sla::SlaHost::open({path});
    slatest::itemNamed(*host->activeWindow()->activeSpread(), "G")->ungroup();
    const auto& document = *host->openDocuments()[0];
    expectWrittenAsHeld(document);
    const std::string written = document.serialize();
    EXPECT_EQ(written.find("ANNAME=\"G\""), std::string::npos);
    EXPECT_THAT(written, testing::HasSubstr(story));
    EXPECT_THAT(written, testing::HasSubstr("<PAGEOBJECT ANNAME=\"After\" PTYPE=\"6\" XPOS=\"1\" "
                                            "YPOS=\"1\" WIDTH=\"1\" HEIGHT=\"1\" OwnPage=\"0\"/>\n"
                                            " </DOCUMENT>"));
}

// Lines of `original` that `written` does not hold in the same order.
std::vector<std::string> linesNotKept(const std::string& original, const std::string& written) {
    std::istringstream lines(original);
    std::vector<std::string> missing;
    std::size_t from = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::size_t at = written.find(line + "\n", from);
        if (at == std::string::npos) {
            missing.push_back(line.substr(0, line.find_first_of(" >", line.find('<'))));
        } else {
            from = at + line.size() + 1;
        }
    }
    return missing;
}

TEST(SlaWriter, ReflectKeepsEveryLineItDidNotChange) {
    for (const char* sample : {"grid_64.sla", "scribus-1.6/grid_64.sla"}) {
        SCOPED_TRACE(sample);
        slatest::ScratchFolder folder;
        const auto path = folder.copy(slatest::scribusSample(sample));
        const std::string original = slatest::readFile(path);
        slatest::reflectAndSave(path);
        // Only the page count and the section's last page changed; the rest was added.
        EXPECT_EQ(linesNotKept(original, slatest::readFile(path)),
                  (std::vector<std::string>{"    <DOCUMENT", "            <Section"}));
    }
}

}  // namespace
