// Saving: atomically by rename where that keeps everything, in place where a
// rename would split hard links, take the file from its owner or is not
// allowed in the folder; refused, with the file untouched, where the user may
// not write the file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "FileTestSupport.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Gzip.h"

namespace {

using host::sla::file::ByteSink;
using host::sla::file::DocumentFile;
using host::sla::file::FileError;
using host::sla::file::FileText;

const std::string kOld = "<old text=\"as read\"/>\n";
const std::string kNew = "<new text=\"as saved, a little longer than before\"/>\n";

void saveNew(DocumentFile& file) {
    file.replace([](ByteSink& out) { out.write(kNew); });
}

struct stat statOf(const std::filesystem::path& path) {
    struct stat info {};
    EXPECT_EQ(::lstat(path.c_str(), &info), 0) << path;
    return info;
}

// Empty when `path` holds `expected`, else what it holds.
std::string holds(const std::filesystem::path& path, const std::string& expected) {
    const std::string text = filetest::readFile(path);
    return text == expected ? std::string() : path.string() + " holds \"" + text + "\"";
}

TEST(Replace, AnOrdinaryFileIsReplacedByRenameKeepingItsMode) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOld);
    ::chmod(path.c_str(), 0640);
    const auto before = statOf(path);
    const auto file = filetest::openFile(path);
    saveNew(*file);
    const auto after = statOf(path);
    EXPECT_EQ(filetest::readFile(path), kNew);
    EXPECT_NE(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & 07777, 0640U);
    EXPECT_EQ(folder.listing(), "doc.sla");
    // Unchanged parts of a later save come from the text as read.
    EXPECT_EQ(filetest::readAll(*file->readAgain()), kOld);
    saveNew(*file);  // the saved file is the one on disk now
    EXPECT_EQ(filetest::readFile(path), kNew);
}

TEST(Replace, ACompressedFileIsSavedCompressed) {
    filetest::Scratch folder;
    host::sla::file::StringSink packed;
    host::sla::file::GzipSink gzip(packed);
    gzip.write(kOld);
    gzip.finish();
    const auto path = folder.write("doc.sla.gz", packed.text());
    const auto file = filetest::openFile(path);
    saveNew(*file);
    const std::string written = filetest::readFile(path);
    ASSERT_TRUE(host::sla::file::looksCompressed(written.data(), written.size()));
    const FileText text = host::sla::file::inflateText(written.data(), written.size());
    EXPECT_EQ(std::string(text.data.get(), text.size), kNew);
    EXPECT_EQ(filetest::readAll(*file->readAgain()), kOld);
}

TEST(Replace, HardLinksStayLinksToTheSavedFile) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOld);
    std::filesystem::create_hard_link(path, folder / "other name.sla");
    const auto before = statOf(path);
    const auto file = filetest::openFile(path);
    saveNew(*file);
    EXPECT_EQ(statOf(path).st_ino, before.st_ino);
    EXPECT_EQ(statOf(path).st_nlink, 2U);
    EXPECT_EQ(filetest::readFile(folder / "other name.sla"), kNew);
    EXPECT_EQ(folder.listing(), "doc.sla other name.sla");
    EXPECT_EQ(filetest::readAll(*file->readAgain()), kOld);  // from the copy kept while rewriting
}

TEST(Replace, ASymbolicLinkKeepsPointingAtTheSavedFile) {
    filetest::Scratch folder;
    const auto target = folder.write("doc.sla", kOld);
    const auto link = folder / "link.sla";
    std::filesystem::create_symlink("doc.sla", link);
    saveNew(*filetest::openFile(link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(filetest::readFile(target), kNew);
}

TEST(Replace, AFileChangedSinceItWasReadIsLeftAlone) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOld);
    const auto file = filetest::openFile(path);
    // Replaced by another program (new inode, same size and time would not hide it).
    const auto other = folder.write("other.sla", "<theirs/>\n");
    std::filesystem::rename(other, path);
    try {
        saveNew(*file);
        ADD_FAILURE() << "the save did not fail";
    } catch (const FileError& error) {
        EXPECT_STREQ(error.what(), "it was changed by another program since it was opened");
    }
    EXPECT_EQ(filetest::readFile(path), "<theirs/>\n");
    EXPECT_EQ(folder.listing(), "doc.sla");
}

TEST(Replace, AReadOnlyFileIsRefusedAndLeftAsItWas) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOld);
    ::chmod(path.c_str(), 0444);
    filetest::handOver(folder.path());
    EXPECT_EQ(
        filetest::runUnprivileged([&]() -> std::string {
            const auto file = filetest::openFile(path);
            try {
                saveNew(*file);
                return "the save did not fail";
            } catch (const FileError& error) {
                std::string message = error.what();
                if (message != "the file is read-only; make it writable and run Quarvel again") {
                    return message;
                }
            }
            return holds(path, kOld);
        }),
        "");
    EXPECT_EQ(folder.listing(), "doc.sla");
    EXPECT_EQ(statOf(path).st_mode & 07777, 0444U);
}

TEST(Replace, AWritableFileInAReadOnlyFolderIsRewrittenInPlace) {
    filetest::Scratch folder;
    filetest::Scratch temporary;  // the child's temporary folder, to see what is left there
    const auto path = folder.write("doc.sla", kOld);
    const auto before = statOf(path);
    filetest::handOver(folder.path());
    filetest::handOver(temporary.path());
    ::chmod(folder.path().c_str(), 0555);
    EXPECT_EQ(filetest::runUnprivileged([&]() -> std::string {
                  ::setenv("TMPDIR", temporary.path().c_str(), 1);
                  const auto file = filetest::openFile(path);
                  saveNew(*file);
                  if (filetest::readAll(*file->readAgain()) != kOld) {
                      return "the text as read is lost";
                  }
                  return holds(path, kNew);
              }),
              "");
    EXPECT_EQ(statOf(path).st_ino, before.st_ino);
    EXPECT_EQ(folder.listing(), "doc.sla");
    EXPECT_EQ(temporary.listing(), "");
}

TEST(Replace, SomeoneElsesWritableFileKeepsItsOwner) {
    filetest::Scratch folder;
    const auto path = folder.write("doc.sla", kOld);
    const auto owner = statOf(path);
    ::chmod(path.c_str(), 0666);
    // The folder is the user's, the file stays its owner's (the superuser's
    // when the test runs as root, for the child is then somebody else).
    ::chown(folder.path().c_str(), filetest::kUnprivilegedId, filetest::kUnprivilegedId);
    if (::geteuid() != 0) {
        ::chown(folder.path().c_str(), ::geteuid(), ::getegid());
    }
    EXPECT_EQ(filetest::runUnprivileged([&]() -> std::string {
                  saveNew(*filetest::openFile(path));
                  return holds(path, kNew);
              }),
              "");
    EXPECT_EQ(statOf(path).st_uid, owner.st_uid);
    EXPECT_EQ(statOf(path).st_gid, owner.st_gid);
    EXPECT_EQ(folder.listing(), "doc.sla");
}

}  // namespace
