#include "host/idml/IdmlPackage.h"

#include <zip.h>

#include <cstring>
#include <set>

namespace host::idml {

namespace {

[[noreturn]] void fail(const std::string& reason) {
    throw PackageError(reason);
}

std::string zipErrorText(zip_error_t* error) {
    std::string text = zip_error_strerror(error);
    zip_error_fini(error);
    return text;
}

// An entry must stay inside the package wherever it might be unpacked.
void checkName(const std::string& name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\' ||
        (name.size() > 1 && name[1] == ':') || name.find('\\') != std::string::npos) {
        fail("it holds an entry with an absolute or foreign path (\"" + name + "\")");
    }
    std::size_t start = 0;
    while (start <= name.size()) {
        const std::size_t end = std::min(name.find('/', start), name.size());
        if (name.compare(start, end - start, "..") == 0) {
            fail("it holds an entry whose path leads out of the package (\"" + name + "\")");
        }
        start = end + 1;
    }
}

std::string readEntry(zip_t* archive, zip_uint64_t index, zip_uint64_t size,
                      const std::string& name) {
    zip_file_t* file = zip_fopen_index(archive, index, 0);
    if (!file) {
        fail("its entry \"" + name + "\" cannot be read (" + std::string(zip_strerror(archive)) +
             ")");
    }
    std::string contents(static_cast<std::size_t>(size), '\0');
    zip_int64_t got = contents.empty() ? 0 : zip_fread(file, contents.data(), size);
    // One byte more than claimed shows an entry that unpacks beyond its stated size.
    char extra = 0;
    const zip_int64_t more = got < 0 ? 0 : zip_fread(file, &extra, 1);
    zip_fclose(file);
    if (got < 0 || more < 0) {
        fail("its entry \"" + name + "\" is damaged");
    }
    if (static_cast<zip_uint64_t>(got) != size || more != 0) {
        fail("its entry \"" + name + "\" does not unpack to the size it states");
    }
    return contents;
}

}  // namespace

bool looksLikeZip(const char* data, std::size_t size) {
    return size >= 4 && std::memcmp(data, "PK\x03\x04", 4) == 0;
}

IdmlPackage::~IdmlPackage() {
    if (m_archive) {
        zip_discard(m_archive);
    }
}

std::unique_ptr<IdmlPackage> IdmlPackage::read(std::string bytes) {
    std::unique_ptr<IdmlPackage> package(new IdmlPackage());
    package->m_bytes = std::move(bytes);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_buffer_create(package->m_bytes.data(), package->m_bytes.size(), 0, &error);
    if (!source) {
        fail("it cannot be read as a ZIP archive (" + zipErrorText(&error) + ")");
    }
    package->m_archive = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (!package->m_archive) {
        zip_source_free(source);
        if (zip_error_code_zip(&error) == ZIP_ER_EXISTS) {
            zip_error_fini(&error);
            fail("it lists an entry twice");  // libzip stops at the second one
        }
        fail("it is not a readable ZIP archive (" + zipErrorText(&error) + ")");
    }
    zip_error_fini(&error);
    zip_t* archive = package->m_archive;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count <= 0) {
        fail("it is an empty ZIP archive, not an InDesign package (IDML)");
    }
    if (static_cast<zip_uint64_t>(count) > kMaxEntries) {
        fail("it holds more than " + std::to_string(kMaxEntries) + " entries");
    }
    // Sizes first, from the directory: a bomb is refused before anything is unpacked.
    std::vector<zip_stat_t> stats(static_cast<std::size_t>(count));
    zip_uint64_t total = 0;
    std::set<std::string> seen;
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        zip_stat_t& stat = stats[i];
        if (zip_stat_index(archive, i, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_NAME) ||
            !(stat.valid & ZIP_STAT_SIZE)) {
            fail("its ZIP directory is damaged");
        }
        const std::string name = stat.name;
        checkName(name);
        if (!seen.insert(name).second) {
            fail("it lists the entry \"" + name + "\" twice");
        }
        total += stat.size;
        if (stat.size > kMaxUnpackedBytes || total > kMaxUnpackedBytes) {
            fail("it would unpack to more than 512 MiB, the most a package may hold");
        }
    }
    if (std::strcmp(stats[0].name, "mimetype") != 0) {
        fail(
            "it is a ZIP archive but not an InDesign package (IDML): its first entry is not "
            "\"mimetype\"");
    }
    for (zip_uint64_t i = 0; i < static_cast<zip_uint64_t>(count); ++i) {
        const std::string name = stats[i].name;
        package->m_names.push_back(name);
        Entry& entry = package->m_entries[name];
        entry.index = static_cast<long long>(i);
        if (name.back() != '/') {
            entry.contents = readEntry(archive, i, stats[i].size, name);
        }
    }
    if (package->m_entries["mimetype"].contents != kIdmlMimeType) {
        fail(
            "it is a ZIP archive but not an InDesign package (IDML): its \"mimetype\" does not "
            "read \"" +
            std::string(kIdmlMimeType) + "\"");
    }
    return package;
}

const std::string& IdmlPackage::contents(const std::string& name) const {
    const auto found = m_entries.find(name);
    if (found == m_entries.end()) {
        fail("the package lacks its part \"" + name + "\"");
    }
    return found->second.contents;
}

void IdmlPackage::put(const std::string& name, std::string contents) {
    auto [found, added] = m_entries.try_emplace(name);
    if (added) {
        m_names.push_back(name);
    }
    found->second.contents = std::move(contents);
    found->second.replaced = true;
}

namespace {

// The archive being written, in memory, until it is copied out.
class Output {
public:
    Output() {
        zip_error_t error;
        zip_error_init(&error);
        m_buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
        if (m_buffer) {
            m_archive = zip_open_from_source(m_buffer, ZIP_TRUNCATE, &error);
        }
        if (!m_archive) {
            if (m_buffer) {
                zip_source_free(m_buffer);
            }
            fail("the package cannot be written (" + zipErrorText(&error) + ")");
        }
        zip_error_fini(&error);
        zip_source_keep(m_buffer);  // outlives the archive: it holds the result
    }
    ~Output() {
        if (m_archive) {
            zip_discard(m_archive);
        }
        zip_source_free(m_buffer);
    }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    zip_t* archive() { return m_archive; }
    [[noreturn]] void failed() {
        fail("the package cannot be written (" + std::string(zip_strerror(m_archive)) + ")");
    }

    void add(const std::string& name, zip_source_t* source, bool store, time_t modified) {
        if (!source) {
            failed();
        }
        const zip_int64_t index = zip_file_add(m_archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            failed();
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if ((store && zip_set_file_compression(m_archive, at, ZIP_CM_STORE, 0) != 0) ||
            (modified != 0 && zip_file_set_mtime(m_archive, at, modified, 0) != 0)) {
            failed();
        }
    }

    void finish(sla::file::ByteSink& out) {
        if (zip_close(m_archive) != 0) {
            failed();
        }
        m_archive = nullptr;
        if (zip_source_open(m_buffer) != 0) {
            fail("the package cannot be written");
        }
        char chunk[65536];
        zip_int64_t got = 0;
        while ((got = zip_source_read(m_buffer, chunk, sizeof chunk)) > 0) {
            out.write(chunk, static_cast<std::size_t>(got));
        }
        zip_source_close(m_buffer);
        if (got < 0) {
            fail("the package cannot be written");
        }
    }

private:
    zip_source_t* m_buffer = nullptr;
    zip_t* m_archive = nullptr;
};

}  // namespace

void IdmlPackage::writeTo(sla::file::ByteSink& out) const {
    Output output;
    for (const std::string& name : m_names) {
        const Entry& entry = m_entries.at(name);
        time_t modified = 0;
        zip_stat_t stat;
        if (entry.index >= 0 &&
            zip_stat_index(m_archive, static_cast<zip_uint64_t>(entry.index), 0, &stat) == 0 &&
            (stat.valid & ZIP_STAT_MTIME)) {
            modified = stat.mtime;
        }
        const bool mimetype = name == "mimetype";
        if (entry.index >= 0 && !entry.replaced && !mimetype) {
            // Copied as read, compressed data and all.
            output.add(name,
                       zip_source_zip(output.archive(), m_archive,
                                      static_cast<zip_uint64_t>(entry.index), 0, 0, -1),
                       false, modified);
        } else {
            output.add(name,
                       zip_source_buffer(output.archive(), entry.contents.data(),
                                         entry.contents.size(), 0),
                       mimetype, modified);
        }
    }
    output.finish(out);
}

}  // namespace host::idml
