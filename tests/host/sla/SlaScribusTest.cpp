// Opens files this host wrote in Scribus itself (headless) and compares what
// Scribus reports with what the host wrote: Scribus must open the file (a
// crash ends the listing early), see the new page, and find every item on the
// page and at the place the host gives it. Scribus is a test dependency
// (scripts/install-deps.sh installs it).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "SlaTestSupport.h"
#include "host/sla/read/SlaNumbers.h"

namespace {

// Lists every page item per page: page, name, x, y, width, height, rotation,
// with positions relative to that page, as Scribus's scripter reports them.
constexpr const char* kScript = R"(import sys
import scribus
out = open(sys.argv[2], "w")
try:
    scribus.openDoc(sys.argv[1])
    out.write("pages\t%d\n" % scribus.pageCount())
    for p in range(1, scribus.pageCount() + 1):
        scribus.gotoPage(p)
        for name in scribus.getAllObjects(page=p - 1):
            x, y = scribus.getPosition(name)
            w, h = scribus.getSize(name)
            out.write("%d\t%s\t%r\t%r\t%r\t%r\t%r\n" % (p, name, x, y, w, h, scribus.getRotation(name)))
    out.write("end\n")
except Exception as e:
    out.write("error\t%s\n" % e)
out.close()
)";

struct Reported {
    int page;
    double x, y, width, height, rotation;
};

struct Listing {
    bool ended = false;
    int pages = 0;
    std::map<std::string, Reported> items;
    std::map<int, int> perPage;  // items Scribus lists on each page (1-based)
};

Listing runScribus(const slatest::ScratchFolder& folder, const std::filesystem::path& document) {
    const auto script = folder.write("list.py", kScript);
    const auto report = folder.path() / "report.txt";
    std::filesystem::create_directory(folder.path() / "prefs");
    const std::string command = "cd '" + folder.path().string() +
                                "' && QT_QPA_PLATFORM=offscreen timeout 120 scribus -g -ns -pr '" +
                                (folder.path() / "prefs").string() + "' -py '" + script.string() +
                                "' '" + document.string() + "' '" + report.string() +
                                "' >scribus.log 2>&1";
    // Scribus ends with status 0 after a script, and 255 when it crashed.
    EXPECT_EQ(std::system(command.c_str()), 0) << "Scribus crashed on the document";
    std::istringstream lines(slatest::readFile(report));
    Listing listing;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string first;
        std::getline(fields, first, '\t');
        if (first == "end") {
            listing.ended = true;
            continue;
        }
        EXPECT_NE(first, "error") << line;
        if (first == "pages" || first == "error") {
            fields >> listing.pages;
            continue;
        }
        std::string name;
        std::getline(fields, name, '\t');
        Reported item{std::stoi(first), 0, 0, 0, 0, 0};
        fields >> item.x >> item.y >> item.width >> item.height >> item.rotation;
        listing.items[name] = item;
        ++listing.perPage[item.page];
    }
    return listing;
}

enum class Action { Reflect, Duplicate };

struct ScribusCase {
    const char* situation;
    std::filesystem::path (*make)(const slatest::ScratchFolder& folder);
    Action action;
};

void PrintTo(const ScribusCase& row, std::ostream* os) {
    *os << row.situation;
}

std::filesystem::path projectSheet(const slatest::ScratchFolder& folder) {
    return folder.copy(slatest::ownSample("sheet.sla"));
}

std::filesystem::path footnote(const slatest::ScratchFolder& folder) {
    return folder.copy(slatest::scribusSample("footnote.sla"));
}

std::filesystem::path endnote(const slatest::ScratchFolder& folder) {
    return folder.copy(slatest::scribusSample("endnote.sla"));
}

std::filesystem::path crossReferences(const slatest::ScratchFolder& folder) {
    return folder.copy(slatest::scribusSample("cross-references.sla"));
}

// Scribus 1.5.8 opens a first page numbered 5 (though not every number other than 0).
std::filesystem::path firstPageNumberedFive(const slatest::ScratchFolder& folder) {
    std::string text = slatest::readFile(slatest::scribusSample("sheet_1000x700.sla"));
    const std::size_t page = text.find("<PAGE ");
    text.replace(text.find("NUM=\"0\"", page), 7, "NUM=\"5\"");
    return folder.write("numbered.sla", text);
}

constexpr const char* kRectangle =
    "PTYPE=\"6\" FRTYPE=\"0\" PWIDTH=\"1\" PCOLOR=\"None\" PCOLOR2=\"Black\" ";

// A line and a rectangle parked where the new page goes, and a group naming its index.
std::filesystem::path parked(const slatest::ScratchFolder& folder) {
    return folder.write(
        "parked.sla",
        slatest::documentWith(
            std::string("  <PAGEOBJECT ANNAME=\"A\" ") + kRectangle +
            "OwnPage=\"0\" XPOS=\"150\" YPOS=\"60\" WIDTH=\"100\" HEIGHT=\"80\" "
            "path=\"M0 0 L100 0 L100 80 L0 80 L0 0 Z\"/>\n"
            "  <PAGEOBJECT ANNAME=\"Parked line\" PTYPE=\"5\" OwnPage=\"-1\" XPOS=\"150\" "
            "YPOS=\"900\" WIDTH=\"300\" HEIGHT=\"1\" ROT=\"10\" PWIDTH=\"1\" "
            "PCOLOR2=\"Black\"/>\n"
            "  <PAGEOBJECT ANNAME=\"Parked rectangle\" " +
            kRectangle +
            "OwnPage=\"0\" XPOS=\"300\" YPOS=\"1000\" WIDTH=\"50\" HEIGHT=\"60\" "
            "path=\"M0 0 L50 0 L50 60 L0 60 L0 0 Z\"/>\n"
            "  <PAGEOBJECT ANNAME=\"Orphan group\" PTYPE=\"12\" OwnPage=\"1\" XPOS=\"400\" "
            "YPOS=\"1100\" WIDTH=\"100\" HEIGHT=\"10\" groupWidth=\"100\" "
            "groupHeight=\"10\">\n"
            "   <PAGEOBJECT ANNAME=\"Orphan line\" PTYPE=\"5\" OwnPage=\"1\" XPOS=\"400\" "
            "YPOS=\"1100\" WIDTH=\"100\" HEIGHT=\"1\" PWIDTH=\"1\" PCOLOR2=\"Black\" "
            "gXpos=\"0\" gYpos=\"0\"/>\n"
            "  </PAGEOBJECT>\n"));
}

// A half-clear group holding a rectangle (dissolved) and one holding an ellipse (kept).
std::filesystem::path groupLooks(const slatest::ScratchFolder& folder) {
    const std::string ellipse =
        "PTYPE=\"6\" FRTYPE=\"1\" PWIDTH=\"1\" PCOLOR=\"Black\" PCOLOR2=\"None\" "
        "path=\"M100 50 C100 77.6 77.6 100 50 100 C22.4 100 0 77.6 0 50 C0 22.4 22.4 0 50 0 "
        "C77.6 0 100 22.4 100 50 Z\" ";
    return folder.write(
        "groups.sla",
        slatest::documentWith(
            "  <PAGEOBJECT ANNAME=\"Clear\" PTYPE=\"12\" OwnPage=\"0\" XPOS=\"200\" "
            "YPOS=\"100\" WIDTH=\"300\" HEIGHT=\"300\" groupWidth=\"300\" "
            "groupHeight=\"300\" TransValue=\"0.5\">\n"
            "   <PAGEOBJECT ANNAME=\"R\" " +
            std::string(kRectangle) +
            "OwnPage=\"0\" XPOS=\"200.5\" YPOS=\"100.5\" WIDTH=\"100\" HEIGHT=\"100\" "
            "gXpos=\"0.5\" gYpos=\"0.5\" path=\"M0 0 L100 0 L100 100 L0 100 L0 0 Z\"/>\n"
            "   <PAGEOBJECT ANNAME=\"E\" " +
            ellipse +
            "OwnPage=\"0\" XPOS=\"400\" YPOS=\"300\" WIDTH=\"100\" HEIGHT=\"100\" "
            "gXpos=\"200\" gYpos=\"200\"/>\n"
            "  </PAGEOBJECT>\n"
            "  <PAGEOBJECT ANNAME=\"Shaded\" PTYPE=\"12\" OwnPage=\"0\" XPOS=\"600\" "
            "YPOS=\"100\" WIDTH=\"100\" HEIGHT=\"100\" groupWidth=\"100\" "
            "groupHeight=\"100\" TransValue=\"0.3\">\n"
            "   <PAGEOBJECT ANNAME=\"F\" " +
            ellipse +
            "OwnPage=\"0\" XPOS=\"600\" YPOS=\"100\" WIDTH=\"100\" HEIGHT=\"100\" "
            "gXpos=\"0\" gYpos=\"0\"/>\n"
            "  </PAGEOBJECT>\n"));
}

// The tool's Reflect, left-right, or its plain duplicate.
void act(const std::filesystem::path& path, Action action) {
    if (action == Action::Reflect) {
        slatest::reflectFile(path, true);
        return;
    }
    const auto host = host::sla::SlaHost::open({path});
    host->activeWindow()->activeSpread()->pages()->item(1)->duplicate();
    host->saveChanged();
}

// Scribus lists every item of `path` that lies on a page, on that page and at
// the place this host reads it (note frames, which Scribus names anew, by
// count only); returns how many items each page holds.
std::map<int, int> expectScribusAgrees(const slatest::ScratchFolder& folder,
                                       const std::filesystem::path& path) {
    const Listing listing = runScribus(folder, path);
    EXPECT_TRUE(listing.ended) << "Scribus did not finish listing the document";
    const auto host = host::sla::SlaHost::open({path});
    const auto& document = *host->openDocuments()[0];
    EXPECT_EQ(listing.pages, static_cast<int>(document.pageNodes().size()));
    std::map<int, int> perPage;
    for (pugi::xml_node node : document.topLevelItems()) {
        const int page = document.itemPage(node);
        if (page < 0) {
            continue;  // Scribus lists no item that lies on no page
        }
        ++perPage[page + 1];
        const std::string name = node.attribute("ANNAME").value();
        SCOPED_TRACE(name);
        if (node.attribute("isNoteFrame")) {
            continue;
        }
        const auto found = listing.items.find(name);
        if (found == listing.items.end()) {
            ADD_FAILURE() << "Scribus does not list it";
            continue;
        }
        EXPECT_EQ(found->second.page, page + 1);
        const host::sla::PageRect rect = document.pageRects()[static_cast<std::size_t>(page)];
        using host::sla::numberAttribute;
        EXPECT_NEAR(found->second.x, numberAttribute(node, "XPOS") - rect.x, 1e-3);
        EXPECT_NEAR(found->second.y, numberAttribute(node, "YPOS") - rect.y, 1e-3);
        EXPECT_NEAR(found->second.width, numberAttribute(node, "WIDTH"), 1e-3);
        EXPECT_NEAR(std::fmod(720 - found->second.rotation, 360.0),
                    std::fmod(360 + numberAttribute(node, "ROT"), 360.0), 1e-6);
    }
    EXPECT_EQ(listing.perPage, perPage);
    return perPage;
}

void expectScribusInstalled() {
    ASSERT_EQ(std::system("command -v scribus >/dev/null 2>&1"), 0)
        << "Scribus is not installed: run scripts/install-deps.sh";
}

class SlaScribus : public testing::TestWithParam<ScribusCase> {};

TEST_P(SlaScribus, WrittenFileOpensInScribusWithTheNewPage) {
    expectScribusInstalled();
    const ScribusCase& row = GetParam();
    slatest::ScratchFolder folder;
    const auto path = row.make(folder);
    const std::size_t pagesBefore = host::sla::SlaDocument::load(path)->pageNodes().size();
    act(path, row.action);
    ASSERT_EQ(host::sla::SlaDocument::load(path)->pageNodes().size(), pagesBefore + 1);
    std::map<int, int> perPage = expectScribusAgrees(folder, path);
    EXPECT_GT(perPage[static_cast<int>(pagesBefore + 1)], 0) << "the new page is empty";
}

INSTANTIATE_TEST_SUITE_P(
    Documents, SlaScribus,
    testing::Values(ScribusCase{"ProjectSheetReflected", projectSheet, Action::Reflect},
                    ScribusCase{"FootnoteDuplicated", footnote, Action::Duplicate},
                    ScribusCase{"FootnoteReflected", footnote, Action::Reflect},
                    ScribusCase{"EndnoteReflected", endnote, Action::Reflect},
                    ScribusCase{"CrossReferencesReflected", crossReferences, Action::Reflect},
                    ScribusCase{"ParkedItemsReflected", parked, Action::Reflect},
                    ScribusCase{"GroupLooksReflected", groupLooks, Action::Reflect},
                    ScribusCase{"FirstPageNumberedFiveReflected", firstPageNumberedFive,
                                Action::Reflect}),
    [](const testing::TestParamInfo<ScribusCase>& param) { return param.param.situation; });

// Scribus opens a .sla.gz by its name; the tool writes it back compressed.
TEST(SlaScribus, CompressedDocumentWrittenBackOpensInScribus) {
    expectScribusInstalled();
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("sheet_1000x700.sla.gz"));
    slatest::reflectAndSave(path);
    ASSERT_EQ(slatest::readFile(path).rfind("\x1f\x8b", 0), 0U);
    EXPECT_EQ(expectScribusAgrees(folder, path), (std::map<int, int>{{1, 16}, {2, 16}}));
}

// Scribus 1.5.8 refuses 1.6 documents by their version alone: the format is the
// same, so the written document, labelled 1.5.8, shows what Scribus makes of it.
// (scripts/check-scribus-1.6.sh opens the unlabelled file in Scribus 1.6.3.)
TEST(SlaScribus, Scribus16DocumentWrittenBackOpensInScribus) {
    expectScribusInstalled();
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::scribusSample("scribus-1.6/grid_64.sla"));
    slatest::reflectAndSave(path);
    std::string text = slatest::readFile(path);
    const std::string version = "<SCRIBUSUTF8NEW Version=\"1.6.3\">";
    ASSERT_NE(text.find(version), std::string::npos);
    text.replace(text.find(version), version.size(), "<SCRIBUSUTF8NEW Version=\"1.5.8\">");
    const auto labelled = folder.write("labelled.sla", text);
    EXPECT_EQ(expectScribusAgrees(folder, labelled), (std::map<int, int>{{1, 64}, {2, 64}}));
}

}  // namespace
