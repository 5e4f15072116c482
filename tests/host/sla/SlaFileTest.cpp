// Files: the unchanged round trip, compressed and Scribus 1.6 documents, the
// save, and refusing files that cannot be opened or saved with one message
// naming the file and the reason.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "SlaTestSupport.h"
#include "file/FileTestSupport.h"
#include "host/HostError.h"
#include "host/sla/file/Gzip.h"

namespace {

using testing::HasSubstr;

// `text` (ASCII) as UTF-16, with or without a byte order mark.
std::string utf16(const std::string& text, bool bigEndian, bool mark) {
    std::string wide = mark ? (bigEndian ? "\xFE\xFF" : "\xFF\xFE") : "";
    for (const char c : text) {
        wide += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    }
    return wide;
}

std::string openError(const std::filesystem::path& path) {
    try {
        host::sla::SlaHost::open({path});
    } catch (const host::HostError& error) {
        return error.what();
    }
    return "opened";
}

TEST(SlaFile, UnchangedDocumentsSerializeAsRead) {
    const std::vector<std::filesystem::path> files{
        slatest::ownSample("sheet.sla"),
        slatest::scribusSample("sheet_1000x700.sla"),
        slatest::scribusSample("grid_64.sla"),
        slatest::scribusSample("minimal_handwritten.sla"),
        slatest::scribusSample("scribus-1.6/grid_64.sla"),
        slatest::scribusSample("scribus-1.6/minimal_handwritten.sla")};
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        const auto host = host::sla::SlaHost::open({file});
        EXPECT_EQ(host->openDocuments()[0]->serialize(), slatest::readFile(file));
        EXPECT_FALSE(host->openDocuments()[0]->compressed());
    }
    // Compressed by either Scribus: the text inside, as it is.
    for (const char* name : {"sheet_1000x700.sla.gz", "scribus-1.6/sheet_1000x700.sla.gz"}) {
        const std::string packed = slatest::readFile(slatest::scribusSample(name));
        const auto text = host::sla::file::inflateText(packed.data(), packed.size());
        const auto compressed = host::sla::SlaDocument::load(slatest::scribusSample(name));
        EXPECT_TRUE(compressed->compressed());
        EXPECT_EQ(compressed->serialize(), std::string(text.data.get(), text.size));
    }
}

// Scribus 1.6 continues the 1.5 format: its documents, plain or compressed,
// are read, written back keeping their version, and read again.
TEST(SlaFile, CompressedAndScribus16DocumentsAreReflectedAndReadBack) {
    struct Row {
        const char* sample;
        const char* version;
    };
    const Row rows[] = {{"sheet_1000x700.sla.gz", "1.5.8"},
                        {"scribus-1.6/sheet_1000x700.sla.gz", "1.6.3"},
                        {"scribus-1.6/sheet_1000x700.sla", "1.6.3"},
                        {"scribus-1.6/grid_64.sla", "1.6.3"},
                        {"scribus-1.6/minimal_handwritten.sla", "1.6.3"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.sample);
        slatest::ScratchFolder folder;
        const auto path = folder.copy(slatest::scribusSample(row.sample));
        const bool compressed = host::sla::SlaDocument::load(path)->compressed();
        slatest::reflectAndSave(path);
        const auto saved = host::sla::SlaDocument::load(path);
        EXPECT_EQ(saved->compressed(), compressed);
        EXPECT_EQ(slatest::readFile(path).rfind("\x1f\x8b", 0) == 0, compressed);
        EXPECT_THAT(saved->serialize(),
                    HasSubstr("<SCRIBUSUTF8NEW Version=\"" + std::string(row.version) + "\">"));
        ASSERT_EQ(saved->pageNodes().size(), 2U);
        // The back side holds as many page rectangles as the front (groups dissolved).
        const auto rectangles = [&](int page) {
            const auto host = host::sla::SlaHost::open({path}, page);
            int count = 0;
            for (const auto& item : slatest::itemsOf(*host->activeWindow()->activeSpread())) {
                count += item->typeName() == "Rectangle" ? 1 : 0;
            }
            return count;
        };
        EXPECT_GE(rectangles(1), 4);
        EXPECT_EQ(rectangles(2), rectangles(1));
    }
}

// A compressed document of an older Scribus is refused on sight of its root
// element: the damage far behind it, which uncompressing it all would meet,
// is never reached.
TEST(SlaFile, ACompressedOlderDocumentIsRefusedBeforeItIsUncompressed) {
    struct Row {
        const char* root;
        const char* reason;
    };
    const Row rows[] = {
        {"<SCRIBUSUTF8NEW Version=\"1.4.6\">", "it was saved by Scribus 1.4.6, whose format"},
        {"<SCRIBUSUTF8 Version=\"1.2.1\">", "it was saved by Scribus 1.2.1, whose format"},
        {"<SCRIBUSUTF8NEW Version=\"1.5.8\">", "it is a damaged gzip file"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.root);
        std::string text =
            std::string("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n") + row.root + "<DOCUMENT>\n";
        for (int i = 0; text.size() < std::size_t{4} * 1024 * 1024; ++i) {
            text += "<PAGEOBJECT ANNAME=\"item " + std::to_string(i) + "\"/>\n";
        }
        host::sla::file::StringSink packed;
        host::sla::file::GzipSink gzip(packed);
        gzip.write(text + "</DOCUMENT></SCRIBUSUTF8NEW>\n");
        gzip.finish();
        std::string damaged = packed.text();
        for (std::size_t at = damaged.size() * 3 / 4; at < damaged.size() * 3 / 4 + 64; ++at) {
            damaged[at] = static_cast<char>(~damaged[at]);
        }
        slatest::ScratchFolder folder;
        EXPECT_THAT(openError(folder.write("old.sla.gz", damaged)), HasSubstr(row.reason));
    }
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

// Run as an ordinary user: permissions do not bind the superuser.
TEST(SlaFile, AReadOnlyFileIsRefusedAndAFileInAReadOnlyFolderSavedInPlace) {
    slatest::ScratchFolder folder;
    const auto readOnly = folder.copy(slatest::ownSample("sheet.sla"));
    std::filesystem::create_directory(folder.path() / "locked");
    const auto inLocked = folder.path() / "locked" / "sheet.sla";
    std::filesystem::copy_file(readOnly, inLocked);
    const std::string original = slatest::readFile(readOnly);
    ::chmod(readOnly.c_str(), 0444);
    filetest::handOver(folder.path());
    ::chmod((folder.path() / "locked").c_str(), 0555);
    const std::string result = filetest::runUnprivileged([&]() -> std::string {
        const auto refused = host::sla::SlaHost::open({readOnly});
        slatest::itemsOf(*refused->activeWindow()->activeSpread())[0]->setRotationAngle(90);
        try {
            refused->saveChanged();
            return "the read-only file was saved";
        } catch (const host::HostError& error) {
            const std::string expected = "Cannot save \"" + readOnly.string() +
                                         "\": the file is read-only; make it writable and run "
                                         "Quarvel again.";
            if (error.what() != expected) {
                return error.what();
            }
        }
        if (slatest::readFile(readOnly) != original || !refused->openDocuments()[0]->changed()) {
            return "the read-only file changed, or its changes count as saved";
        }
        const auto saved = host::sla::SlaHost::open({inLocked});
        slatest::itemsOf(*saved->activeWindow()->activeSpread())[0]->setRotationAngle(90);
        saved->saveChanged();
        const auto again = host::sla::SlaHost::open({inLocked});
        const double angle =
            slatest::itemsOf(*again->activeWindow()->activeSpread())[0]->rotationAngle();
        return angle == 90 ? std::string() : "saved in the locked folder: " + std::to_string(angle);
    });
    EXPECT_EQ(result, "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path() / "locked"),
                            std::filesystem::directory_iterator()),
              1);
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
        // Older formats name the Scribus that saved them and what to do; newer ones too.
        {"Scribus 1.2", "<SCRIBUSUTF8 Version=\"1.2.1\"><DOCUMENT/></SCRIBUSUTF8>",
         "it was saved by Scribus 1.2.1, whose format this tool does not read; open it in "
         "Scribus 1.5 or later and save it again to make it usable here."},
        {"Scribus 1.0", "<SCRIBUS><DOCUMENT/></SCRIBUS>", "saved by Scribus 1.2 or older, whose"},
        {"Scribus 1.3", "<SCRIBUSUTF8NEW Version=\"1.3.3.14\"><DOCUMENT/></SCRIBUSUTF8NEW>",
         "saved by Scribus 1.3.3.14, whose format this tool does not read; open it in Scribus 1.5"},
        {"Scribus 1.4", "<SCRIBUSUTF8NEW Version=\"1.4.6\"><DOCUMENT/></SCRIBUSUTF8NEW>",
         "saved by Scribus 1.4.6, whose format"},
        {"Scribus 1.7", "<SCRIBUSUTF8NEW Version=\"1.7.0\"><DOCUMENT/></SCRIBUSUTF8NEW>",
         "it was saved by Scribus 1.7.0, which is newer than this tool: it reads documents of "
         "Scribus 1.5 and 1.6."},
        {"Scribus 2", "<SCRIBUSUTF8NEW Version=\"2.0\"><DOCUMENT/></SCRIBUSUTF8NEW>",
         "saved by Scribus 2.0, which is newer"},
        {"no version", "<SCRIBUSUTF8NEW><DOCUMENT/></SCRIBUSUTF8NEW>",
         "it does not say which Scribus saved it (version \"\")"},
        {"UTF-16 with mark", utf16(slatest::documentWith(""), false, true),
         "it is stored as UTF-16 text, which Scribus does not open either"},
        {"UTF-16 big-endian without mark", utf16(slatest::documentWith(""), true, false),
         "stored as UTF-16 text"},
        {"UTF-32", std::string("\xFF\xFE\0\0<\0\0\0", 8), "stored as UTF-32 text"},
        {"binary", std::string("PK\3\4\0\0\n<x/>", 10),
         "it is not a text file (it holds a zero byte on line 1)"},
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
        // A number the tool needs may not be empty.
        {"empty position", slatest::documentWith("  <PAGEOBJECT PTYPE=\"6\" XPOS=\"\"/>\n"),
         "attribute XPOS of <PAGEOBJECT> on line 7 is not a finite number (\"\")"},
        {"empty member position",
         slatest::documentWith("  <PAGEOBJECT PTYPE=\"12\" groupWidth=\"1\" groupHeight=\"1\">"
                               "<PAGEOBJECT PTYPE=\"6\" gXpos=\"\"/></PAGEOBJECT>\n"),
         "gXpos of <PAGEOBJECT>"},
        {"empty group size",
         slatest::documentWith("  <PAGEOBJECT PTYPE=\"12\" groupWidth=\"\"/>\n"),
         "groupWidth of <PAGEOBJECT>"},
        {"empty page", slatest::documentWith("  <PAGEOBJECT PTYPE=\"6\" OwnPage=\"\"/>\n"),
         "OwnPage of <PAGEOBJECT>"},
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
    const auto pipe = folder.path() / "pipe.sla";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(openError(pipe),
              "Cannot open \"" + pipe.string() + "\": it is a named pipe (FIFO), not a file.");
}

TEST(SlaFile, NumbersTheToolDoesNotNeedMayBeEmpty) {
    slatest::ScratchFolder folder;
    const std::string item =
        "  <PAGEOBJECT ANNAME=\"Page\" PTYPE=\"6\" FRTYPE=\"0\" XPOS=\"200\" YPOS=\"100\" "
        "WIDTH=\"50\" HEIGHT=\"40\" OwnPage=\"0\" gXpos=\"\" gYpos=\"\" PWIDTH=\"\" "
        "groupWidth=\"\" groupHeight=\"\"/>\n";
    std::string text =
        slatest::documentWith(item, "BOOK=\"0\" ScratchRight=\"\" ScratchBottom=\"\"");
    text.replace(text.find("PAGEXPOS=\"100\" PAGEYPOS=\"20\""), 28, "PAGEXPOS=\"\" PAGEYPOS=\"\"");
    const auto path = folder.write("empty.sla", text);
    slatest::reflectAndSave(path);
    const auto host = host::sla::SlaHost::open({path}, 2);
    const auto copies = slatest::itemsOf(*host->activeWindow()->activeSpread());
    ASSERT_EQ(copies.size(), 1U);
    EXPECT_EQ(copies[0]->visibleBounds(), (host::Bounds{80, 850, 120, 900}));
    EXPECT_THAT(slatest::readFile(path), HasSubstr(item));  // the original, as it was
}

}  // namespace
