// What the tool wrote, read by a reader of its own (idml_check.py, written
// from the format's description): the package keeps the format's rules, and
// the new page's rectangles lie where the adapter says they do.

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "host/idml/IdmlSheet.h"
#include "host/idml/IdmlTestSupport.h"
#include "host/sla/file/FileTestSupport.h"

namespace idmltest {
namespace {

struct Checked {
    int status = -1;
    std::string output;
};

Checked check(const std::filesystem::path& path) {
    const std::string command = "python3 '" QUARVEL_IDML_CHECK "' '" + path.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) {
        return {};
    }
    Checked checked;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        checked.output.append(buffer, got);
    }
    checked.status = ::pclose(pipe);
    return checked;
}

// The "rect" lines of spread `spread`.
std::vector<host::Bounds> rectanglesOf(const std::string& output, int spread) {
    std::istringstream lines(output);
    std::string line;
    int current = -1;
    std::vector<host::Bounds> found;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        words >> word;
        if (word == "spread") {
            words >> current;
        } else if (word == "rect" && current == spread) {
            host::Bounds box;
            words >> box.top >> box.left >> box.bottom >> box.right;
            found.push_back(box);
        }
    }
    return found;
}

TEST(IdmlIndependent, TheReflectedSheetKeepsTheFormatAndItsRectanglesLieWhereTheAdapterSays) {
    filetest::Scratch scratch;
    const contract::Sheet& sheet = contract::standardSheet();
    for (const bool leftRight : {true, false}) {
        SCOPED_TRACE(leftRight ? "left-right" : "top-bottom");
        const auto path = scratch.write("sheet.idml", sheetPackage(sheet));
        reflectFile(path, leftRight);
        const Checked checked = check(path);
        ASSERT_EQ(checked.status, 0) << checked.output;
        const auto read = rectanglesOf(checked.output, 1);
        const auto adapter = ofType(itemsOn(path, 2), "Rectangle");
        ASSERT_EQ(read.size(), adapter.size()) << checked.output;
        for (std::size_t i = 0; i < read.size(); ++i) {
            EXPECT_NEAR(read[i].top, adapter[i].box.top, 1e-6);
            EXPECT_NEAR(read[i].left, adapter[i].box.left, 1e-6);
            EXPECT_NEAR(read[i].bottom, adapter[i].box.bottom, 1e-6);
            EXPECT_NEAR(read[i].right, adapter[i].box.right, 1e-6);
        }
        EXPECT_NE(checked.output.find("spread 1\npage 2\n"), std::string::npos) << checked.output;
    }
}

TEST(IdmlIndependent, EveryReflectedSampleKeepsTheFormatsRules) {
    filetest::Scratch scratch;
    for (const auto& entry : std::filesystem::directory_iterator(QUARVEL_IDML_SAMPLES)) {
        if (entry.path().extension() != ".idml") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        const auto path = scratch / entry.path().filename().string();
        std::filesystem::copy_file(entry.path(), path);
        reflectFile(path, true);
        const Checked checked = check(path);
        EXPECT_EQ(checked.status, 0) << checked.output;
    }
}

}  // namespace
}  // namespace idmltest
