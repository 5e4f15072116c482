#include "host/idml/ZipWriter.h"

#include <zlib.h>

#include <stdexcept>

namespace idmltest {

namespace {

void put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string rawDeflate(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) {
        deflateEnd(&stream);
        throw std::runtime_error("deflate");
    }
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string zipArchive(const std::vector<ZipEntry>& entries) {
    std::string out;
    std::string directory;
    for (const ZipEntry& entry : entries) {
        const std::string packed = entry.deflate ? rawDeflate(entry.data) : entry.data;
        const auto crc =
            static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()),
                                             static_cast<uInt>(entry.data.size())));
        const std::uint32_t size =
            entry.statedSize.value_or(static_cast<std::uint32_t>(entry.data.size()));
        const auto offset = static_cast<std::uint32_t>(out.size());
        const auto header = [&](std::string& to, bool central) {
            put32(to, central ? 0x02014b50 : 0x04034b50);
            if (central) {
                put16(to, 20);  // made by
            }
            put16(to, 20);  // needed to extract
            put16(to, 0);   // flags
            put16(to, entry.deflate ? 8 : 0);
            put16(to, 0);     // time
            put16(to, 0x21);  // date: 1980-01-01
            put32(to, crc);
            put32(to, static_cast<std::uint32_t>(packed.size()));
            put32(to, size);
            put16(to, static_cast<unsigned>(entry.name.size()));
            put16(to, 0);  // extra field
            if (central) {
                put16(to, 0);  // comment
                put16(to, 0);  // disk
                put16(to, 0);  // internal attributes
                put32(to, 0);  // external attributes
                put32(to, offset);
            }
            to += entry.name;
        };
        header(out, false);
        out += packed;
        header(directory, true);
    }
    const auto directoryOffset = static_cast<std::uint32_t>(out.size());
    out += directory;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<unsigned>(entries.size()));
    put16(out, static_cast<unsigned>(entries.size()));
    put32(out, static_cast<std::uint32_t>(directory.size()));
    put32(out, directoryOffset);
    put16(out, 0);
    return out;
}

}  // namespace idmltest
