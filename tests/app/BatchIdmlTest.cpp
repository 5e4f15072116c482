// The batch mode on InDesign packages: the same run as on Scribus documents.

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "app/Batch.h"
#include "app/CommandLine.h"
#include "host/idml/IdmlSheet.h"
#include "host/idml/IdmlTestSupport.h"
#include "host/sla/file/FileTestSupport.h"

namespace {

using filetest::readFile;

class BatchIdml : public testing::Test {
protected:
    int run(const std::vector<std::string>& arguments) {
        m_out.str("");
        m_err.str("");
        return app::runBatch(app::parseCommandLine(arguments), m_out, m_err);
    }

    filetest::Scratch m_scratch;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(BatchIdml, APackageIsReflectedBothWaysAndTheNewPageIsNamedByItsPlace) {
    idmltest::SheetOptions facing;
    facing.facing = true;
    facing.spreads = {2, 1};
    const auto sheet =
        m_scratch.write("sheet.idml", idmltest::sheetPackage(contract::standardSheet(), facing));
    const std::string original = readFile(sheet);

    EXPECT_EQ(run({"--reflect", "left-right", "--dry-run", sheet.string()}), 0) << m_err.str();
    EXPECT_EQ(readFile(sheet), original);

    EXPECT_EQ(run({"--reflect", "left-right", sheet.string()}), 0) << m_err.str();
    EXPECT_EQ(m_out.str().rfind(
                  sheet.string() + ": page 1 turned left-right, back side written as page 3\n", 0),
              0u)
        << m_out.str();
    EXPECT_EQ(run({"--reflect", "top-bottom", "--page", "3", "--json", sheet.string()}), 0)
        << m_err.str();
    EXPECT_NE(m_out.str().find("\"newPage\":4"), std::string::npos) << m_out.str();
    // Page 3 turned top-bottom is page 1 turned both ways.
    const auto first = idmltest::ofType(idmltest::itemsOn(sheet, 1, true), "Rectangle");
    const auto last = idmltest::ofType(idmltest::itemsOn(sheet, 4), "Rectangle");
    ASSERT_EQ(first.size(), last.size());
    const contract::Sheet& built = contract::standardSheet();
    for (std::size_t i = 0; i < first.size(); ++i) {
        SCOPED_TRACE(first[i].name);
        EXPECT_NEAR(last[i].box.left, built.pageWidth - first[i].box.right, 1e-6);
        EXPECT_NEAR(last[i].box.top, built.pageHeight - first[i].box.bottom, 1e-6);
    }
}

TEST_F(BatchIdml, AHostilePackageIsOneErrorLineAndStaysAsItWas) {
    auto parts = idmltest::sheetParts(contract::standardSheet());
    parts.push_back({"../../evil.xml", "x", true, {}});
    const auto sheet = m_scratch.write("hostile.idml", idmltest::zipArchive(parts));
    const std::string original = readFile(sheet);
    const std::string listing = m_scratch.listing();
    EXPECT_EQ(run({"--reflect", "left-right", sheet.string()}), 1);
    EXPECT_EQ(m_err.str(), "quarvel: Cannot open \"" + sheet.string() +
                               "\": it holds an entry whose path leads out of the package "
                               "(\"../../evil.xml\").\n");
    EXPECT_EQ(readFile(sheet), original);
    EXPECT_EQ(m_scratch.listing(), listing);
}

TEST_F(BatchIdml, PackagesAndScribusDocumentsAreNotOpenedTogether) {
    const auto sheet =
        m_scratch.write("sheet.idml", idmltest::sheetPackage(contract::standardSheet()));
    const auto sla = m_scratch.write("sheet.sla", readFile(QUARVEL_OWN_SAMPLES "/sheet.sla"));
    // The batch does each file on its own: both go ahead.
    EXPECT_EQ(run({"--reflect", "left-right", sheet.string(), sla.string()}), 0) << m_err.str();
}

}  // namespace
