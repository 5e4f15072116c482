#pragma once

// An IDML package (a ZIP archive of XML parts) held in memory: read from the
// bytes of the file with libzip, never unpacked to disk, and written back as
// InDesign writes it: "mimetype" first and stored, the other entries in their
// order, those not replaced copied as they were (their compressed data too),
// new ones at the end.

#include <cstddef>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/sla/file/ByteStream.h"

typedef struct zip zip_t;

namespace host::idml {

inline constexpr const char* kIdmlMimeType = "application/vnd.adobe.indesign-idml-package";

// The most a package may hold once unpacked, all entries together: 512 MiB.
// A ZIP bomb (a small file claiming or unpacking to far more) is refused
// before that much memory is taken.
inline constexpr std::size_t kMaxUnpackedBytes = std::size_t{512} << 20;
inline constexpr std::size_t kMaxEntries = 100000;

// A package that cannot be read. The message is the reason in a few words,
// meant to follow "Cannot open "NAME": ".
class PackageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Whether `data` starts as a ZIP archive does.
bool looksLikeZip(const char* data, std::size_t size);

class IdmlPackage {
public:
    // Reads the archive in `bytes`, which the package keeps. Refuses, with a
    // PackageError, what is no IDML package or is hostile: entry names that
    // climb out of the package or are absolute, an entry listed twice, more
    // than kMaxUnpackedBytes unpacked, "mimetype" missing, not first or wrong.
    static std::unique_ptr<IdmlPackage> read(std::string bytes);
    ~IdmlPackage();
    IdmlPackage(const IdmlPackage&) = delete;
    IdmlPackage& operator=(const IdmlPackage&) = delete;

    const std::vector<std::string>& names() const { return m_names; }
    bool has(const std::string& name) const { return m_entries.count(name) != 0; }
    // The entry's contents, unpacked; throws PackageError when there is none.
    const std::string& contents(const std::string& name) const;
    // Replaces an entry's contents, or adds the entry at the end.
    void put(const std::string& name, std::string contents);

    // The package as a ZIP archive. Throws PackageError.
    void writeTo(sla::file::ByteSink& out) const;

private:
    struct Entry {
        std::string contents;
        long long index = -1;  // in the archive read; -1 for an entry added since
        bool replaced = false;
    };
    IdmlPackage() = default;

    std::string m_bytes;  // the archive as read
    zip_t* m_archive = nullptr;
    std::vector<std::string> m_names;
    std::map<std::string, Entry> m_entries;
};

}  // namespace host::idml
