// Every InDesign package of the shared samples: opened, its first spread
// reflected, and the result read back with every entry not concerned kept as
// it was stored.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "host/idml/IdmlDocument.h"
#include "host/idml/IdmlSheet.h"
#include "host/idml/IdmlTestSupport.h"
#include "host/sla/file/FileTestSupport.h"

namespace idmltest {
namespace {

std::vector<std::filesystem::path> samples() {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(QUARVEL_IDML_SAMPLES)) {
        if (entry.path().extension() == ".idml") {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

TEST(IdmlSamples, EachIsReflectedAndEveryEntryNotConcernedIsKeptAsStored) {
    const auto all = samples();
    ASSERT_EQ(all.size(), 7u);
    filetest::Scratch scratch;
    for (const auto& sample : all) {
        for (const bool leftRight : {true, false}) {
            SCOPED_TRACE(sample.filename().string() + (leftRight ? " left-right" : " top-bottom"));
            const auto path = scratch / sample.filename().string();
            std::filesystem::copy_file(sample, path,
                                       std::filesystem::copy_options::overwrite_existing);
            const auto before = storedEntriesOf(path);
            const int pages = host::idml::IdmlDocument::load(path)->pageCount();
            const auto front = itemsOn(path, 1, true);

            const state::ToolState tool = reflectFile(path, leftRight);

            const auto after = storedEntriesOf(path);
            ASSERT_GT(after.size(), before.size() - 1);
            EXPECT_EQ(after.front().name, "mimetype");
            EXPECT_EQ(after.front().method, 0) << "mimetype is compressed";
            EXPECT_EQ(after.front().stored, "application/vnd.adobe.indesign-idml-package");
            for (std::size_t i = 0; i < before.size(); ++i) {
                ASSERT_EQ(after[i].name, before[i].name) << "entries out of order";
                const bool mayChange =
                    before[i].name == "designmap.xml" || before[i].name.rfind("Spreads/", 0) == 0;
                if (!mayChange) {
                    EXPECT_TRUE(after[i] == before[i]) << before[i].name << " changed";
                }
            }
            for (std::size_t i = before.size(); i < after.size(); ++i) {
                EXPECT_TRUE(after[i].name.rfind("Spreads/", 0) == 0 ||
                            after[i].name.rfind("Stories/", 0) == 0)
                    << after[i].name;
            }
            const auto document = host::idml::IdmlDocument::load(path);
            EXPECT_EQ(document->pageCount(), pages + 1);
            // The new page comes right after the first spread and holds its copies.
            const int added = static_cast<int>(document->pagesOf(0).size()) + 1;
            const auto back = itemsOn(path, added);
            EXPECT_EQ(ofType(back, "Rectangle").size(), static_cast<std::size_t>(tool.pageCount));
            EXPECT_EQ(back.size(), front.size());
        }
    }
}

}  // namespace
}  // namespace idmltest
