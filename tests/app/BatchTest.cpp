#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>

#include "app/Batch.h"
#include "app/CommandLine.h"
#include "host/sla/file/FileTestSupport.h"

namespace {

using filetest::readFile;

// The batch mode in process, on scratch copies of the bundled sample sheet.
class Batch : public testing::Test {
protected:
    std::filesystem::path sheet(const std::string& name) const {
        return m_scratch.write(name, readFile(QUARVEL_OWN_SAMPLES "/sheet.sla"));
    }

    int run(const std::vector<std::string>& arguments) {
        return app::runBatch(app::parseCommandLine(arguments), m_out, m_err);
    }

    filetest::Scratch m_scratch;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(Batch, EachFileIsReflectedOnItsOwnAndAFailureStopsOnlyItsOwnFile) {
    const auto first = sheet("first.sla");
    const auto broken = m_scratch.write("broken.sla", "<SCRIBUSUTF8NEW");
    const auto second = sheet("second.sla");
    const std::string original = readFile(first);

    EXPECT_EQ(run({"--reflect", "left-right", first, broken, second}), 1);
    // Each document gained its own back side, as if opened alone.
    for (const auto& done : {first, second}) {
        EXPECT_NE(readFile(done), original) << done;
        EXPECT_NE(m_out.str().find(done.string() + ": page 1 turned left-right, back side "
                                                   "written as page 2\n"),
                  std::string::npos)
            << m_out.str();
    }
    EXPECT_EQ(readFile(broken), "<SCRIBUSUTF8NEW");
    EXPECT_EQ(m_out.str().find(broken.string()), std::string::npos);
    // One line for the one failure, naming the file.
    const std::string errors = m_err.str();
    EXPECT_EQ(errors.rfind("quarvel: Cannot open \"" + broken.string() + "\": ", 0), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1);
}

TEST_F(Batch, WithoutADocumentTheToolsMessageIsTheErrorAndNothingIsPrinted) {
    EXPECT_EQ(run({"--reflect", "top-bottom"}), 1);
    EXPECT_EQ(m_err.str(), "quarvel: Please open a publication and try again.\n");
    EXPECT_EQ(m_out.str(), "");

    std::ostringstream json;
    m_err.str("");
    EXPECT_EQ(app::runBatch(app::parseCommandLine({"--reflect=left-right", "--json"}), json, m_err),
              1);
    EXPECT_EQ(json.str(), "[]\n");
    EXPECT_EQ(m_err.str(), "quarvel: Please open a publication and try again.\n");
}

}  // namespace
