// Opens a file this host wrote in Scribus itself (headless) and compares what
// Scribus reports with what the host wrote. Scribus is a test dependency
// (scripts/install-deps.sh installs it).

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <sstream>

#include "SlaTestSupport.h"
#include "host/sla/SlaNumbers.h"

namespace {

// Lists every page item per page: page, name, x, y, width, height, rotation,
// with positions relative to that page, as Scribus's scripter reports them.
constexpr const char* kScript = R"(import sys
import scribus
out = open(sys.argv[2], "w")
try:
    scribus.openDoc(sys.argv[1])
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

std::map<std::string, Reported> runScribus(const slatest::ScratchFolder& folder,
                                           const std::filesystem::path& document) {
    const auto script = folder.write("list.py", kScript);
    const auto report = folder.path() / "report.txt";
    std::filesystem::create_directory(folder.path() / "prefs");
    const std::string command = "cd '" + folder.path().string() +
                                "' && QT_QPA_PLATFORM=offscreen timeout 120 scribus -g -ns -pr '" +
                                (folder.path() / "prefs").string() + "' -py '" + script.string() +
                                "' '" + document.string() + "' '" + report.string() +
                                "' >scribus.log 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0);
    std::istringstream lines(slatest::readFile(report));
    std::map<std::string, Reported> items;
    std::string line;
    bool ended = false;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string first;
        std::getline(fields, first, '\t');
        if (first == "end") {
            ended = true;
            continue;
        }
        EXPECT_NE(first, "error") << line;
        std::string name;
        std::getline(fields, name, '\t');
        Reported item{std::stoi(first), 0, 0, 0, 0, 0};
        fields >> item.x >> item.y >> item.width >> item.height >> item.rotation;
        items[name] = item;
    }
    EXPECT_TRUE(ended) << "Scribus did not finish listing the document";
    return items;
}

// Scribus lists every item of `path` on the page and at the place this host
// reads them; returns how many items each page holds.
std::map<int, int> expectScribusAgrees(const slatest::ScratchFolder& folder,
                                       const std::filesystem::path& path) {
    const auto reported = runScribus(folder, path);
    const auto host = host::sla::SlaHost::open({path});
    const auto& document = *host->openDocuments()[0];
    std::map<int, int> perPage;
    for (pugi::xml_node node : document.topLevelItems()) {
        const std::string name = node.attribute("ANNAME").value();
        SCOPED_TRACE(name);
        const auto found = reported.find(name);
        const int page = document.itemPage(node);
        if (found == reported.end()) {
            ADD_FAILURE() << "Scribus does not list it";
            continue;
        }
        EXPECT_EQ(found->second.page, page + 1);
        ++perPage[page + 1];
        const host::sla::PageRect rect = document.pageRects()[static_cast<std::size_t>(page)];
        using host::sla::numberAttribute;
        EXPECT_NEAR(found->second.x, numberAttribute(node, "XPOS") - rect.x, 1e-3);
        EXPECT_NEAR(found->second.y, numberAttribute(node, "YPOS") - rect.y, 1e-3);
        EXPECT_NEAR(found->second.width, numberAttribute(node, "WIDTH"), 1e-3);
        EXPECT_NEAR(std::fmod(720 - found->second.rotation, 360.0),
                    std::fmod(360 + numberAttribute(node, "ROT"), 360.0), 1e-6);
    }
    EXPECT_EQ(reported.size(), document.topLevelItems().size());
    return perPage;
}

void expectScribusInstalled() {
    ASSERT_EQ(std::system("command -v scribus >/dev/null 2>&1"), 0)
        << "Scribus is not installed: run scripts/install-deps.sh";
}

TEST(SlaScribus, WrittenBackSideOpensInScribusOnTheNewPage) {
    expectScribusInstalled();
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::ownSample("sheet.sla"));
    {
        const auto host = host::sla::SlaHost::open({path});
        const auto spread = host->activeWindow()->activeSpread();
        for (const auto& item : spread->pageItems()->enumerate()) {
            if (item->typeName() == "Group") {
                item->ungroup();
            }
        }
        const auto duplicate = spread->pages()->item(1)->duplicate();
        for (const auto& item : duplicate->pageItems()->enumerate()) {
            if (item->typeName() == "Rectangle" || item->typeName() == "Line") {
                const host::Bounds b = item->visibleBounds();
                item->setRotationAngle(360 - item->rotationAngle());
                item->setVisibleBounds({b.top, 1000 - b.right, b.bottom, 1000 - b.left});
            }
        }
        host->saveChanged();
    }
    ASSERT_EQ(host::sla::SlaDocument::load(path)->pageNodes().size(), 2U);
    EXPECT_EQ(expectScribusAgrees(folder, path), (std::map<int, int>{{1, 10}, {2, 10}}));
}

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
