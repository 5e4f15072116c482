#include "FileTestSupport.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "host/sla/file/Gzip.h"

namespace filetest {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string readAll(host::sla::file::ByteSource& source) {
    std::string text;
    char piece[4096];
    for (std::size_t got; (got = source.read(piece, sizeof piece)) > 0;) {
        text.append(piece, got);
    }
    return text;
}

std::string compress(const std::string& text) {
    host::sla::file::StringSink out;
    host::sla::file::GzipSink gzip(out);
    gzip.write(text);
    gzip.finish();
    return out.text();
}

std::unique_ptr<host::sla::file::DocumentFile> openFile(const std::filesystem::path& path) {
    host::sla::file::FileText text;
    return host::sla::file::DocumentFile::open(path, text);
}

Scratch::Scratch() {
    std::string name = (std::filesystem::temp_directory_path() / "quarvel-file-XXXXXX").string();
    if (::mkdtemp(name.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch folder");
    }
    m_path = name;
}

Scratch::~Scratch() {
    std::error_code error;
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, error);
         it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
        if (it->is_directory(error)) {
            std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all, error);
        }
    }
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, error);
    std::filesystem::remove_all(m_path, error);
}

std::filesystem::path Scratch::write(const std::string& name, const std::string& text) const {
    writeFile(m_path / name, text);
    return m_path / name;
}

std::string Scratch::listing() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    std::string text;
    for (const auto& name : names) {
        text += (text.empty() ? "" : " ") + name;
    }
    return text;
}

namespace {

void becomeUnprivileged() {
    if (::geteuid() != 0) {
        return;
    }
    if (::setgroups(0, nullptr) != 0 || ::setgid(kUnprivilegedId) != 0 ||
        ::setuid(kUnprivilegedId) != 0) {
        throw std::runtime_error("cannot become an unprivileged user");
    }
}

void writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
        if (wrote <= 0) {
            return;
        }
        done += static_cast<std::size_t>(wrote);
    }
}

}  // namespace

std::string runUnprivileged(const std::function<std::string()>& body) {
    int channel[2];
    if (::pipe(channel) != 0) {
        return "cannot make a pipe";
    }
    const pid_t child = ::fork();
    if (child < 0) {
        return "cannot fork";
    }
    if (child == 0) {
        ::close(channel[0]);
        std::string result;
        try {
            becomeUnprivileged();
            result = body();
        } catch (const std::exception& error) {
            result = std::string("exception: ") + error.what();
        }
        writeAll(channel[1], result.empty() ? "ok" : result);
        ::close(channel[1]);
        ::_exit(0);  // no test framework teardown in the child
    }
    ::close(channel[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = ::read(channel[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return "the child process failed (status " + std::to_string(status) + "): " + result;
    }
    return result == "ok" ? std::string() : result;
}

void handOver(const std::filesystem::path& path) {
    if (::geteuid() != 0) {
        return;
    }
    const auto give = [](const std::filesystem::path& entry) {
        if (::lchown(entry.c_str(), kUnprivilegedId, kUnprivilegedId) != 0) {
            throw std::runtime_error("cannot hand " + entry.string() + " over");
        }
    };
    give(path);
    if (std::filesystem::is_directory(std::filesystem::symlink_status(path))) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
            give(entry.path());
        }
    }
}

}  // namespace filetest
