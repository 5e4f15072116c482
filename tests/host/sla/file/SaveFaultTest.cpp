// Saves broken from outside, step by step: each file system call a save
// makes (write, pwrite, fsync, rename, ftruncate, fallocate, link) failed in
// turn, and the saving process stopped right after each one, on the rename
// path and the in-place path (a document with a second hard link). Whatever
// happens, the document is its old version or its new one, or its old
// version is in a named backup that the next run names, refusing the
// document; nothing else is left behind.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "FileTestSupport.h"
#include "SaveDriver.h"

namespace {

struct Outcome {
    int status = -1;  // exit status, or -1 when ended by a signal
    int signal = 0;
    std::string out;  // first line of standard output
};

// Runs the driver with the fault shim preloaded and `env` set.
Outcome runDriver(const char* mode, const std::filesystem::path& file,
                  const std::map<std::string, std::string>& env) {
    int output[2];
    EXPECT_EQ(::pipe(output), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::setenv("LD_PRELOAD", QUARVEL_FAULT_SHIM, 1);
        // Sanitizer builds: the shim comes before the sanitizer's runtime.
        ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0:detect_leaks=0", 1);
        for (const auto& [name, value] : env) {
            ::setenv(name.c_str(), value.c_str(), 1);
        }
        ::execl(QUARVEL_SAVE_DRIVER, QUARVEL_SAVE_DRIVER, mode, file.c_str(), nullptr);
        ::_exit(127);
    }
    ::close(output[1]);
    Outcome outcome;
    char piece[4096];
    for (ssize_t got; (got = ::read(output[0], piece, sizeof piece)) > 0;) {
        outcome.out.append(piece, static_cast<std::size_t>(got));
    }
    ::close(output[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status)) {
        outcome.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        outcome.signal = WTERMSIG(status);
    }
    outcome.out = outcome.out.substr(0, outcome.out.find('\n'));
    return outcome;
}

// About 600 KiB: the rewrite in place copies it in several blocks.
std::string oldVersion() {
    std::string text = "<?xml version=\"1.0\"?>\n<doc>\n";
    for (int i = 0; text.size() < std::size_t{600} * 1024; ++i) {
        text += "  <item n=\"" + std::to_string(i) + "\" note=\"one of a long row of items\"/>\n";
    }
    return text + "</doc>\n";
}

// A document to save, in its own folder, with a second hard link for the
// in-place path, and a temporary folder of its own.
class Case {
public:
    explicit Case(bool inPlace) : m_inPlace(inPlace) {
        m_document = m_folder.write("doc.sla", kOld);
        if (inPlace) {
            std::filesystem::create_hard_link(m_document, m_folder / "link.sla");
        }
    }
    const std::filesystem::path& document() const { return m_document; }
    std::string backup() const { return (m_folder / "doc.sla.quarvel-backup").string(); }
    std::string clean() const { return m_inPlace ? "doc.sla link.sla" : "doc.sla"; }
    std::string withBackup() const {
        return m_inPlace ? "doc.sla doc.sla.quarvel-backup link.sla"
                         : "doc.sla doc.sla.quarvel-backup";
    }
    std::string listing() const { return m_folder.listing(); }
    std::string temporaries() const { return m_temporary.listing(); }
    Outcome save(std::map<std::string, std::string> env = {}) const {
        env["TMPDIR"] = m_temporary.path().string();
        return runDriver("save", m_document, env);
    }
    Outcome open() const { return runDriver("open", m_document, {{"TMPDIR", m_temporary.path()}}); }
    std::string text() const { return filetest::readFile(m_document); }

    static inline const std::string kOld = oldVersion();
    static inline const std::string kNew = savetest::newVersion(kOld);

private:
    bool m_inPlace;
    filetest::Scratch m_folder;
    filetest::Scratch m_temporary;
    std::filesystem::path m_document;
};

// The calls an undisturbed save makes, in order.
std::vector<std::string> callsOfASave(bool inPlace) {
    const Case plain(inPlace);
    filetest::Scratch logs;
    const Outcome outcome = plain.save({{"QUARVEL_FAULT_LOG", (logs / "calls").string()}});
    EXPECT_EQ(outcome.out, "saved");
    EXPECT_EQ(plain.text(), Case::kNew);
    std::vector<std::string> calls;
    std::string all = filetest::readFile(logs / "calls");
    for (std::size_t at = 0, end; (end = all.find('\n', at)) != std::string::npos; at = end + 1) {
        calls.push_back(all.substr(at, end - at));
    }
    return calls;
}

const char* pathName(bool inPlace) {
    return inPlace ? "in place" : "by rename";
}

TEST(SaveFaults, AKillAtAnyStepLeavesTheOldVersionTheNewOrANamedBackup) {
    for (const bool inPlace : {false, true}) {
        const std::size_t steps = callsOfASave(inPlace).size();
        ASSERT_GE(steps, 4U) << "the shim saw too few calls to be in the way";
        int torn = 0;
        for (std::size_t k = 1; k <= steps; ++k) {
            SCOPED_TRACE(std::string(pathName(inPlace)) + ", killed after call " +
                         std::to_string(k));
            const Case save(inPlace);
            const Outcome outcome = save.save({{"QUARVEL_FAULT_SIGNAL", std::to_string(k)}});
            ASSERT_EQ(outcome.signal, SIGKILL) << outcome.out;
            const std::string text = save.text();
            const Outcome next = save.open();
            if (text != Case::kOld && text != Case::kNew) {
                ++torn;
                EXPECT_EQ(filetest::readFile(save.backup()), Case::kOld);
            }
            if (next.out == "opened") {
                EXPECT_TRUE(text == Case::kOld || text == Case::kNew);
                EXPECT_EQ(save.listing(), save.clean());
            } else {
                EXPECT_EQ(next.out, "error: a save that did not finish left its old version in \"" +
                                        save.backup() + "\"; put that back or delete it, then " +
                                        "run Quarvel again");
                EXPECT_EQ(filetest::readFile(save.backup()), Case::kOld);
                EXPECT_EQ(save.listing(), save.withBackup());
            }
            EXPECT_EQ(save.temporaries(), "");
        }
        // The rewrite in place was caught half-way, and the rename path never was.
        EXPECT_EQ(torn > 0, inPlace);
    }
}

TEST(SaveFaults, RequestsToEndWaitUntilTheRewriteInPlaceIsComplete) {
    const std::vector<std::string> calls = callsOfASave(true);
    // SIGTERM at every step; the others once the rewrite has begun. They are
    // held from the copy of the old version on, after the new one is flushed.
    std::vector<std::pair<int, std::size_t>> cases;
    std::size_t rewriting = 0;
    std::size_t held = 0;
    for (std::size_t k = 1; k <= calls.size(); ++k) {
        cases.emplace_back(SIGTERM, k);
        rewriting = rewriting == 0 && calls[k - 1] == "fallocate" ? k + 1 : rewriting;
        held = held == 0 && calls[k - 1] == "fsync" ? k + 1 : held;
    }
    ASSERT_GT(rewriting, held);
    cases.emplace_back(SIGINT, rewriting);
    cases.emplace_back(SIGHUP, rewriting);
    for (const auto& [signal, k] : cases) {
        SCOPED_TRACE("signal " + std::to_string(signal) + " after call " + std::to_string(k));
        const Case save(true);
        const Outcome outcome =
            save.save({{"QUARVEL_FAULT_SIGNAL", std::to_string(k) + ":" + std::to_string(signal)}});
        EXPECT_EQ(outcome.signal, signal);
        const std::string text = save.text();
        EXPECT_TRUE(text == Case::kOld || text == Case::kNew);
        EXPECT_EQ(text == Case::kNew, k >= held) << "a request once the old version is being "
                                                    "kept waits for the save";
        EXPECT_EQ(save.open().out, "opened");
        EXPECT_EQ(save.listing(), save.clean());
    }
}

TEST(SaveFaults, AFailingCallLeavesTheFileAsItWasAndSaysWhy) {
    for (const bool inPlace : {false, true}) {
        std::map<std::string, int> counts;
        for (const std::string& call : callsOfASave(inPlace)) {
            ++counts[call];
        }
        EXPECT_GT(counts[inPlace ? "fallocate" : "rename"], 0);
        for (const auto& [name, count] : counts) {
            for (int n = 1; n <= count; ++n) {
                SCOPED_TRACE(std::string(pathName(inPlace)) + ", " + name + " call " +
                             std::to_string(n) + " of " + std::to_string(count) + " fails");
                const Case save(inPlace);
                const Outcome outcome = save.save(
                    {{"QUARVEL_FAULT_FAIL", name + ":" + std::to_string(n) + ":28"}});  // ENOSPC
                if (outcome.status == 0) {
                    // Only flushing a folder may fail without failing the save.
                    EXPECT_EQ(name, "fsync");
                    EXPECT_EQ(save.text(), Case::kNew);
                } else {
                    EXPECT_EQ(outcome.status, 1);
                    EXPECT_NE(outcome.out.find("(No space left on device)"), std::string::npos)
                        << outcome.out;
                    EXPECT_EQ(save.text(), Case::kOld);
                }
                EXPECT_EQ(save.listing(), save.clean());
                EXPECT_EQ(save.temporaries(), "");
                EXPECT_EQ(save.open().out, "opened");
            }
        }
    }
}

// The position, among the calls named `name`, of the first such call after
// the first call named `after`.
int nthAfter(const std::vector<std::string>& calls, const std::string& name,
             const std::string& after) {
    int nth = 0;
    bool seen = false;
    for (const std::string& call : calls) {
        seen = seen || call == after;
        if (call == name) {
            ++nth;
            if (seen) {
                return nth;
            }
        }
    }
    return -1;
}

TEST(SaveFaults, APutBackAfterAFailedRewriteIsReportedAsItTurnedOut) {
    const std::vector<std::string> calls = callsOfASave(true);
    // The rewrite's flush fails (its bytes are all new by then), and so does
    // the flush of putting the old ones back: the bytes are the old ones again.
    const int flush = nthAfter(calls, "fsync", "fallocate");
    ASSERT_GT(flush, 0);
    const Case save(true);
    const Outcome outcome =
        save.save({{"QUARVEL_FAULT_FAIL", "fsync:" + std::to_string(flush) +
                                              ":5,fsync:" + std::to_string(flush + 1) + ":5"}});
    EXPECT_EQ(outcome.out,
              "error: it could not be rewritten in place (Input/output error); it was put back as "
              "it was, but the disk reported an error, so its old version is also kept in \"" +
                  save.backup() + "\"");
    EXPECT_EQ(save.text(), Case::kOld);
    EXPECT_EQ(filetest::readFile(save.backup()), Case::kOld);

    // Only the rewrite fails: put back, nothing kept.
    const Case once(true);
    EXPECT_EQ(once.save({{"QUARVEL_FAULT_FAIL", "fsync:" + std::to_string(flush) + ":5"}}).out,
              "error: it could not be rewritten in place (Input/output error); it was put back "
              "as it was");
    EXPECT_EQ(once.text(), Case::kOld);
    EXPECT_EQ(once.listing(), once.clean());
}

}  // namespace
