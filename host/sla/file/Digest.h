#pragma once

// Digests of a file's contents, block by block (CRC-32 of every kDigestBlock
// bytes): enough to tell whether bytes read again, or the file on disk, are
// still exactly what was read and checked before, without keeping a copy.
// Not part of the folder's interface.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace host::sla::file {

inline constexpr std::size_t kDigestBlock = std::size_t{1} << 16;

struct Digest {
    std::vector<std::uint32_t> blocks;  // of kDigestBlock bytes each, the last one shorter
    long long size = 0;                 // bytes
};

// Builds a digest from bytes given in order, in pieces of any size.
class DigestBuilder {
public:
    void add(const char* data, std::size_t size);
    Digest finish();

private:
    Digest m_digest;
    std::uint32_t m_crc = 0;
    std::size_t m_inBlock = 0;
};

Digest digestOf(const char* data, std::size_t size);
std::uint32_t blockDigest(const char* data, std::size_t size);

// Reads all of `fd` from its first byte and tells whether it matches
// `digest`; the bytes read also go to `copyTo` when it is a descriptor (not
// -1). Returns false on a difference; throws FileError when reading or
// copying fails.
bool matches(int fd, const Digest& digest, int copyTo = -1);

}  // namespace host::sla::file
