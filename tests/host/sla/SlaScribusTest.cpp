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

TEST(SlaScribus, WrittenBackSideOpensInScribusOnTheNewPage) {
    ASSERT_EQ(std::system("command -v scribus >/dev/null 2>&1"), 0)
        << "Scribus is not installed: run scripts/install-deps.sh";
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
    const auto reported = runScribus(folder, path);
    const auto host = host::sla::SlaHost::open({path});
    const auto& document = *host->openDocuments()[0];
    ASSERT_EQ(document.pageNodes().size(), 2U);
    int onSecondPage = 0;
    for (pugi::xml_node node : document.topLevelItems()) {
        const std::string name = node.attribute("ANNAME").value();
        SCOPED_TRACE(name);
        const auto found = reported.find(name);
        ASSERT_NE(found, reported.end());
        const int page = document.itemPage(node);
        EXPECT_EQ(found->second.page, page + 1);
        onSecondPage += page == 1 ? 1 : 0;
        const host::sla::PageRect rect = document.pageRects()[static_cast<std::size_t>(page)];
        using host::sla::numberAttribute;
        EXPECT_NEAR(found->second.x, numberAttribute(node, "XPOS") - rect.x, 1e-3);
        EXPECT_NEAR(found->second.y, numberAttribute(node, "YPOS") - rect.y, 1e-3);
        EXPECT_NEAR(found->second.width, numberAttribute(node, "WIDTH"), 1e-3);
        EXPECT_NEAR(std::fmod(720 - found->second.rotation, 360.0),
                    std::fmod(360 + numberAttribute(node, "ROT"), 360.0), 1e-6);
    }
    EXPECT_EQ(onSecondPage, 10);
}

}  // namespace
