#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "app/Session.h"
#include "host/sla/SlaHost.h"

namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A scratch copy of the bundled sheet, opened and changed by one duplicated page.
class Session : public testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("quarvel-session-" + std::to_string(::getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
        m_sheet = m_folder / "sheet.sla";
        fs::copy_file(QUARVEL_OWN_SAMPLES "/sheet.sla", m_sheet);
        m_original = contents(m_sheet);
        m_documents = host::sla::SlaHost::open({m_sheet});
        m_documents->activeWindow()->activeSpread()->pages()->item(1)->duplicate();
    }
    void TearDown() override { fs::remove_all(m_folder); }

    int finish(int status) {
        return app::finishSession(status, m_documents.get(),
                                  [this](const std::string& text) { m_reports.push_back(text); });
    }

    fs::path m_folder;
    fs::path m_sheet;
    std::string m_original;
    std::shared_ptr<host::sla::SlaHost> m_documents;
    std::vector<std::string> m_reports;
};

TEST_F(Session, ANormalEndSavesTheChangedDocument) {
    EXPECT_EQ(finish(0), 0);
    EXPECT_NE(contents(m_sheet), m_original);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(Session, AnEndAfterAnErrorReportWritesNothing) {
    EXPECT_EQ(finish(1), 1);
    EXPECT_EQ(contents(m_sheet), m_original);
    EXPECT_TRUE(m_reports.empty());
}

TEST_F(Session, AFailedSaveIsReportedAndEndsWithAnErrorStatus) {
    // Another program rewrote the file meanwhile; its work must not be lost.
    std::ofstream(m_sheet, std::ios::trunc) << "edited elsewhere";
    EXPECT_EQ(finish(0), 1);
    ASSERT_EQ(m_reports.size(), 1u);
    EXPECT_NE(m_reports.front().find("sheet.sla"), std::string::npos) << m_reports.front();
    EXPECT_EQ(contents(m_sheet), "edited elsewhere");
}

TEST(SessionWithoutDocuments, EndsWithTheStatusItWasGiven) {
    const auto noReport = [](const std::string&) { FAIL() << "nothing to report"; };
    EXPECT_EQ(app::finishSession(0, nullptr, noReport), 0);
    EXPECT_EQ(app::finishSession(1, nullptr, noReport), 1);
}

}  // namespace
