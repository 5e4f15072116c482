// The end of a session over .sla documents: a normal end saves what changed,
// an end after an error writes nothing.

#include <gtest/gtest.h>

#include <string>

#include "SlaTestSupport.h"
#include "host/HostError.h"
#include "host/sla/SlaHost.h"

namespace {

// A scratch copy of the bundled sheet, opened and changed by one duplicated page.
class SlaSession : public testing::Test {
protected:
    void SetUp() override {
        m_sheet = m_folder.copy(slatest::ownSample("sheet.sla"));
        m_original = slatest::readFile(m_sheet);
        m_documents = host::sla::SlaHost::open({m_sheet});
        m_documents->activeWindow()->activeSpread()->pages()->item(1)->duplicate();
    }

    host::SessionEnd& session() { return *m_documents; }

    slatest::ScratchFolder m_folder;
    std::filesystem::path m_sheet;
    std::string m_original;
    std::shared_ptr<host::sla::SlaHost> m_documents;
};

TEST_F(SlaSession, ANormalEndSavesTheChangedDocument) {
    session().endNormally();
    EXPECT_NE(slatest::readFile(m_sheet), m_original);
    EXPECT_EQ(host::sla::SlaHost::open({m_sheet})->openDocuments().front()->pageNodes().size(), 2u);
}

TEST_F(SlaSession, AnEndAfterAnErrorWritesNothing) {
    session().endAfterError();
    EXPECT_EQ(slatest::readFile(m_sheet), m_original);
}

TEST_F(SlaSession, AFailedSaveThrowsTheHostErrorNamingTheFile) {
    // Another program rewrote the file meanwhile; its work must not be lost.
    slatest::writeFile(m_sheet, "edited elsewhere");
    try {
        session().endNormally();
        FAIL() << "the save went ahead";
    } catch (const host::HostError& error) {
        EXPECT_NE(std::string(error.what()).find("sheet.sla"), std::string::npos) << error.what();
    }
    EXPECT_EQ(slatest::readFile(m_sheet), "edited elsewhere");
}

}  // namespace
