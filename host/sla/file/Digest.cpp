#include "host/sla/file/Digest.h"

#include <zlib.h>

#include <algorithm>
#include <memory>

#include "host/sla/file/FileError.h"
#include "host/sla/file/Posix.h"

namespace host::sla::file {

std::uint32_t blockDigest(const char* data, std::size_t size) {
    return static_cast<std::uint32_t>(
        ::crc32(0, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(size)));
}

void DigestBuilder::add(const char* data, std::size_t size) {
    m_digest.size += static_cast<long long>(size);
    while (size > 0) {
        const std::size_t take = std::min(size, kDigestBlock - m_inBlock);
        m_crc = static_cast<std::uint32_t>(
            ::crc32(m_crc, reinterpret_cast<const Bytef*>(data), static_cast<uInt>(take)));
        m_inBlock += take;
        data += take;
        size -= take;
        if (m_inBlock == kDigestBlock) {
            m_digest.blocks.push_back(m_crc);
            m_crc = 0;
            m_inBlock = 0;
        }
    }
}

Digest DigestBuilder::finish() {
    if (m_inBlock > 0) {
        m_digest.blocks.push_back(m_crc);
        m_crc = 0;
        m_inBlock = 0;
    }
    return std::move(m_digest);
}

Digest digestOf(const char* data, std::size_t size) {
    DigestBuilder builder;
    builder.add(data, size);
    return builder.finish();
}

bool matches(int fd, const Digest& digest, int copyTo) {
    const auto buffer = std::make_unique<char[]>(kDigestBlock + 1);
    off_t offset = 0;
    for (const std::uint32_t expected : digest.blocks) {
        const auto want = static_cast<std::size_t>(
            std::min<long long>(digest.size - offset, static_cast<long long>(kDigestBlock)));
        const ssize_t got = readFullyAt(fd, buffer.get(), want, offset);
        if (got < 0) {
            throw FileError(errnoText("the file cannot be read again"));
        }
        if (static_cast<std::size_t>(got) != want || blockDigest(buffer.get(), want) != expected) {
            return false;
        }
        if (copyTo >= 0 && !writeAllAt(copyTo, buffer.get(), want, offset)) {
            throw FileError(errnoText("cannot keep a copy of the file while it is rewritten"));
        }
        offset += static_cast<off_t>(want);
    }
    // Nothing after the end either.
    const ssize_t more = readFullyAt(fd, buffer.get(), 1, offset);
    return more == 0;
}

}  // namespace host::sla::file
