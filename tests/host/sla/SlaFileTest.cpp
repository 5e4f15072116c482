// Files: the unchanged round trip, the atomic save, and refusing files that
// cannot be opened with one message naming the file and the reason.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "SlaTestSupport.h"
#include "host/HostError.h"

namespace {

using testing::HasSubstr;

std::string openError(const std::filesystem::path& path) {
    try {
        host::sla::SlaHost::open({path});
    } catch (const host::HostError& error) {
        return error.what();
    }
    return "opened";
}

// Same elements, attributes in the same order with the same values, same text.
void expectSameTree(pugi::xml_node a, pugi::xml_node b) {
    ASSERT_STREQ(a.name(), b.name());
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

TEST(SlaFile, UnchangedDocumentsSerializeAsRead) {
    const std::vector<std::filesystem::path> files{slatest::ownSample("sheet.sla"),
                                                   slatest::scribusSample("sheet_1000x700.sla"),
                                                   slatest::scribusSample("grid_64.sla")};
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const auto host = host::sla::SlaHost::open({file});
        EXPECT_EQ(host->openDocuments()[0]->serialize(), slatest::readFile(file));
    }
}

TEST(SlaFile, HandWrittenLayoutKeepsEveryElementAndAttribute) {
    // Line breaks between attributes are not kept; everything else is.
    const auto file = slatest::scribusSample("minimal_handwritten.sla");
    const std::string written = host::sla::SlaHost::open({file})->openDocuments()[0]->serialize();
    pugi::xml_document original;
    pugi::xml_document again;
    const unsigned flags = pugi::parse_full;
    ASSERT_TRUE(original.load_file(file.c_str(), flags));
    ASSERT_TRUE(again.load_string(written.c_str(), flags));
    expectSameTree(original.document_element(), again.document_element());
    EXPECT_THAT(written, HasSubstr("<!-- Hand-written minimal"));
}

TEST(SlaFile, OnlyChangedDocumentsAreWritten) {
    slatest::ScratchFolder folder;
    const auto kept = folder.copy(slatest::ownSample("sheet.sla"));
    const auto changed = folder.write("changed.sla", slatest::readFile(kept));
    const auto keptTime = std::filesystem::last_write_time(kept);
    const auto host = host::sla::SlaHost::open({kept, changed});
    // A put of the value already there is no change.
    const auto spread = host->activeWindow()->activeSpread();
    const auto first = slatest::itemsOf(*spread)[0];
    first->setVisibleBounds(first->visibleBounds());
    EXPECT_FALSE(host->openDocuments()[1]->changed());
    first->setRotationAngle(90);
    host->saveChanged();
    EXPECT_EQ(std::filesystem::last_write_time(kept), keptTime);
    EXPECT_NE(slatest::readFile(changed), slatest::readFile(kept));
    EXPECT_DOUBLE_EQ(
        slatest::itemsOf(*host::sla::SlaHost::open({changed})->activeWindow()->activeSpread())[0]
            ->rotationAngle(),
        90);
}

TEST(SlaFile, SaveKeepsTheModeAndLeavesNoTemporaryFile) {
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::ownSample("sheet.sla"));
    ::chmod(path.c_str(), 0640);
    const auto host = host::sla::SlaHost::open({path});
    slatest::itemsOf(*host->activeWindow()->activeSpread())[0]->setRotationAngle(180);
    host->saveChanged();
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640U);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(SlaFile, SaveKeepsTheOwnerAndGroup) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only the superuser can give a file to another owner to begin with";
    }
    slatest::ScratchFolder folder;
    const auto path = folder.copy(slatest::ownSample("sheet.sla"));
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    const auto host = host::sla::SlaHost::open({path});
    slatest::itemsOf(*host->activeWindow()->activeSpread())[0]->setRotationAngle(180);
    host->saveChanged();
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321U);
    EXPECT_EQ(info.st_gid, 4322U);
}

TEST(SlaFile, LinksToMissingFilesAreNamed) {
    slatest::ScratchFolder folder;
    const auto target = folder.copy(slatest::ownSample("sheet.sla"));
    const auto link = folder.path() / "link.sla";
    std::filesystem::create_symlink(target.filename(), link);
    const auto host = host::sla::SlaHost::open({link});
    slatest::itemsOf(*host->activeWindow()->activeSpread())[0]->setRotationAngle(180);
    std::filesystem::remove(target);
    try {
        host->saveChanged();
        ADD_FAILURE() << "the save did not fail";
    } catch (const host::HostError& error) {
        EXPECT_THAT(error.what(), HasSubstr("\"" + link.string() + "\""));
        EXPECT_THAT(error.what(), HasSubstr("link to \"sheet.sla\", which does not exist"));
    }
    EXPECT_FALSE(std::filesystem::exists(target));
    const std::string message = openError(link);
    EXPECT_THAT(message, HasSubstr("\"" + link.string() + "\""));
    EXPECT_THAT(message, HasSubstr("link to \"sheet.sla\", which does not exist"));
}

class SlaFailedSave : public testing::Test {
protected:
    void SetUp() override {
        m_path = m_folder.copy(slatest::ownSample("sheet.sla"));
        m_original = slatest::readFile(m_path);
        m_host = host::sla::SlaHost::open({m_path});
        slatest::itemsOf(*m_host->activeWindow()->activeSpread())[0]->setRotationAngle(90);
    }
    void expectIntact(const std::string& reason) {
        try {
            m_host->saveChanged();
            ADD_FAILURE() << "the save did not fail";
        } catch (const host::HostError& error) {
            EXPECT_THAT(error.what(), HasSubstr(m_path.string()));
            EXPECT_THAT(error.what(), HasSubstr(reason));
        }
        EXPECT_EQ(slatest::readFile(m_path), m_original);
        EXPECT_TRUE(m_host->openDocuments()[0]->changed());
    }
    slatest::ScratchFolder m_folder;
    std::filesystem::path m_path;
    std::string m_original;
    std::shared_ptr<host::sla::SlaHost> m_host;
};

TEST_F(SlaFailedSave, WriteErrorLeavesTheOriginal) {
    // A file-size limit makes the write fail even for a privileged user.
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 1000;
    ::setrlimit(RLIMIT_FSIZE, &small);
    expectIntact("cannot write the temporary file");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_folder.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(SlaFailedSave, ReadOnlyFolderLeavesTheOriginal) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "folder permissions do not bind the superuser";
    }
    ::chmod(m_folder.path().c_str(), 0555);
    expectIntact("temporary file");
}

TEST_F(SlaFailedSave, FileChangedByAnotherProgramIsNotOverwritten) {
    slatest::writeFile(m_path, m_original + "\n");
    m_original += "\n";
    expectIntact("changed by another program");
}

TEST(SlaFile, UnusableFilesAreRefusedWithTheReason) {
    slatest::ScratchFolder folder;
    const std::string page =
        "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" "
        "NUM=\"0\"/>\n";
    std::string deep;
    for (int i = 0; i < 300; ++i) {
        deep += "<PAGEOBJECT PTYPE=\"12\">";
    }
    for (int i = 0; i < 300; ++i) {
        deep += "</PAGEOBJECT>";
    }
    struct Row {
        const char* situation;
        std::string text;
        const char* reason;
    };
    const Row rows[] = {
        {"empty file", "", "not well-formed XML"},
        {"not XML", "%PDF-1.4 binary", "not well-formed XML"},
        {"cut short", slatest::documentWith("").substr(0, 300), "not well-formed XML"},
        {"two roots", slatest::documentWith("") + "<x/>", "more than one root"},
        {"other XML", "<svg xmlns=\"http://www.w3.org/2000/svg\"/>", "not a Scribus document"},
        {"Scribus 1.3", "<SCRIBUSUTF8NEW Version=\"1.3.3\"><DOCUMENT/></SCRIBUSUTF8NEW>",
         "not a Scribus 1.5 document"},
        {"no DOCUMENT", "<SCRIBUSUTF8NEW Version=\"1.5.8\"/>", "no DOCUMENT"},
        {"no page", slatest::documentWith("", "", " "), "no page"},
        {"pages out of order",
         slatest::documentWith(
             "", "", page + std::string(page).replace(page.find("NUM=\"0\""), 7, "NUM=\"0\"")),
         "out of order"},
        {"page without size",
         slatest::documentWith("", "", "  <PAGE PAGEXPOS=\"100\" PAGEYPOS=\"20\" NUM=\"0\"/>\n"),
         "has no size"},
        {"NaN position", slatest::documentWith("  <PAGEOBJECT PTYPE=\"6\" XPOS=\"nan\"/>\n"),
         "XPOS of <PAGEOBJECT> on line"},
        {"infinite page width",
         slatest::documentWith("", "", "  <PAGE PAGEWIDTH=\"inf\" PAGEHEIGHT=\"700\"/>\n"),
         "PAGEWIDTH of <PAGE>"},
        {"overflowing rotation", slatest::documentWith("  <PAGEOBJECT ROT=\"1e999\"/>\n"),
         "ROT of <PAGEOBJECT>"},
        {"number with text", slatest::documentWith("  <PAGEOBJECT WIDTH=\"12pt\"/>\n"),
         "not a finite number (\"12pt\")"},
        {"absurd nesting", slatest::documentWith(deep), "nested more than"},
        // Values read as ints must be whole and within int's range.
        {"huge layout", slatest::documentWith("", "BOOK=\"1e10\""),
         "BOOK of <DOCUMENT> on line 3 is not a whole number within range (\"1e10\")"},
        {"huge item id", slatest::documentWith("  <PAGEOBJECT PTYPE=\"6\" ItemID=\"1e300\"/>\n"),
         "ItemID of <PAGEOBJECT>"},
        {"page between pages", slatest::documentWith("  <PAGEOBJECT OwnPage=\"0.5\"/>\n"),
         "OwnPage of <PAGEOBJECT>"},
        {"page placed between pages",
         slatest::documentWith("", "",
                               "  <PAGE PAGEWIDTH=\"1000\" PAGEHEIGHT=\"700\" NUM=\"0.5\"/>\n"),
         "NUM of <PAGE> on line 6 is not a whole number"},
        {"repeated attribute",
         slatest::documentWith("  <PAGEOBJECT OwnPage=\"3\" PTYPE=\"6\" OwnPage=\"0\"/>\n"),
         "attribute OwnPage appears twice in <PAGEOBJECT> on line 7"},
        {"type past int", slatest::documentWith("  <PAGEOBJECT PTYPE=\"2147483648\"/>\n"),
         "PTYPE of <PAGEOBJECT>"},
        {"frame type not a number", slatest::documentWith("  <PAGEOBJECT FRTYPE=\"x\"/>\n"),
         "FRTYPE of <PAGEOBJECT>"},
        {"chain link past int",
         slatest::documentWith("  <PAGEOBJECT PTYPE=\"4\" NEXTITEM=\"-3e9\"/>\n"),
         "NEXTITEM of <PAGEOBJECT>"},
        {"back link fraction", slatest::documentWith("  <PAGEOBJECT BACKITEM=\"1.5\"/>\n"),
         "BACKITEM of <PAGEOBJECT>"},
        {"huge column count",
         slatest::documentWith(
             "  <PageSets><Set Name=\"Facing Pages\" Columns=\"1e10\"/></PageSets>\n"),
         "Columns of <Set>"},
        {"first page past int",
         slatest::documentWith(
             "  <PageSets><Set Name=\"Single Page\" FirstPage=\"-1e300\"/></PageSets>\n"),
         "FirstPage of <Set>"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.situation);
        const auto path = folder.write("bad.sla", row.text);
        const std::string message = openError(path);
        EXPECT_THAT(message, HasSubstr("\"" + path.string() + "\""));
        EXPECT_THAT(message, HasSubstr(row.reason));
        EXPECT_EQ(slatest::readFile(path), row.text);
    }
    EXPECT_THAT(openError(folder.path() / "missing.sla"), HasSubstr("does not exist"));
    EXPECT_THAT(openError(folder.path()), HasSubstr("folder"));
    if (::geteuid() != 0) {
        const auto locked = folder.write("locked.sla", slatest::documentWith(""));
        ::chmod(locked.c_str(), 0);
        EXPECT_THAT(openError(locked), HasSubstr("cannot be read"));
    }
}

}  // namespace
