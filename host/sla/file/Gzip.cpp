#include "host/sla/file/Gzip.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "host/sla/file/FileError.h"

namespace host::sla::file {

namespace {

constexpr std::size_t kChunk = std::size_t{1} << 18;
// Deflate never shrinks data by more than about 1032 to 1.
constexpr std::size_t kMaxRatio = 1032;

std::string zlibReason(const z_stream& stream, int code) {
    if (code == Z_MEM_ERROR) {
        return "there is not enough memory to uncompress it";
    }
    return std::string("it is a damaged gzip file (") +
           (stream.msg != nullptr ? stream.msg : "zlib error " + std::to_string(code)) + ")";
}

class MemorySource : public ByteSource {
public:
    MemorySource(const char* data, std::size_t size) : m_data(data), m_left(size) {}
    std::size_t read(char* into, std::size_t size) override {
        const std::size_t count = std::min(size, m_left);
        std::memcpy(into, m_data, count);
        m_data += count;
        m_left -= count;
        return count;
    }

private:
    const char* m_data;
    std::size_t m_left;
};

// The size the gzip trailer announces (modulo 4 GiB), bounded by what the
// compressed size allows: only a first guess, the data decides.
std::size_t announcedSize(const char* data, std::size_t size, std::size_t limit) {
    if (size < 18) {
        return 0;
    }
    const auto* tail = reinterpret_cast<const unsigned char*>(data + size - 4);
    const std::size_t announced = tail[0] | (std::size_t{tail[1]} << 8) |
                                  (std::size_t{tail[2]} << 16) | (std::size_t{tail[3]} << 24);
    return std::min({announced, limit, size * kMaxRatio});
}

std::string sizeText(std::size_t bytes) {
    return bytes % (std::size_t{1} << 30) == 0 ? std::to_string(bytes >> 30) + " GiB"
                                               : std::to_string(bytes) + " bytes";
}

}  // namespace

bool looksCompressed(const char* data, std::size_t size) {
    return size >= 2 && static_cast<unsigned char>(data[0]) == 0x1f &&
           static_cast<unsigned char>(data[1]) == 0x8b;
}

FileText inflateText(const char* data, std::size_t size, std::size_t limit,
                     const HeadCheck& checkHead) {
    GzipSource source(std::make_unique<MemorySource>(data, size));
    // One byte over the announced size: reaching it shows the text is longer.
    std::size_t capacity =
        std::min(std::max<std::size_t>(announcedSize(data, size, limit) + 1, 4096), limit + 1);
    FileText text{std::unique_ptr<char[]>(new char[capacity + 1]), 0};
    // A refusal on sight of the start spares uncompressing the rest.
    bool headSeen = !checkHead;
    for (;;) {
        if (text.size == capacity) {
            if (capacity > limit) {
                throw FileError("uncompressed it is larger than " + sizeText(limit) +
                                ", the largest document that can be opened");
            }
            // One byte past the limit tells a text of exactly the limit from a longer one.
            capacity = std::min(capacity + capacity / 2, limit + 1);
            std::unique_ptr<char[]> larger(new char[capacity + 1]);
            std::memcpy(larger.get(), text.data.get(), text.size);
            text.data = std::move(larger);
        }
        const std::size_t room =
            headSeen ? capacity - text.size : std::min(capacity, kHeadBytes) - text.size;
        const std::size_t got = source.read(text.data.get() + text.size, room);
        if (got == 0) {
            break;
        }
        text.size += got;
        if (!headSeen && text.size >= std::min(capacity, kHeadBytes)) {
            headSeen = true;
            checkHead(std::string_view(text.data.get(), text.size));
        }
    }
    if (!headSeen) {
        checkHead(std::string_view(text.data.get(), text.size));
    }
    text.data[text.size] = '\0';
    return text;
}

GzipSource::GzipSource(std::unique_ptr<ByteSource> input)
    : m_input(std::move(input)), m_stream(std::make_unique<z_stream>()), m_buffer(kChunk) {
    if (inflateInit2(m_stream.get(), 15 + 16) != Z_OK) {
        throw FileError("there is not enough memory to uncompress it");
    }
    m_stream->next_in = reinterpret_cast<Bytef*>(m_buffer.data());
    m_stream->avail_in = 0;
}

GzipSource::~GzipSource() {
    inflateEnd(m_stream.get());
}

bool GzipSource::refill() {
    // Keeps what is left at the front and reads more behind it.
    const std::size_t left = m_stream->avail_in;
    std::memmove(m_buffer.data(), m_stream->next_in, left);
    const std::size_t got = m_inputEnded ? 0 : m_input->read(m_buffer.data() + left, kChunk - left);
    m_inputEnded = m_inputEnded || got == 0;
    m_stream->next_in = reinterpret_cast<Bytef*>(m_buffer.data());
    m_stream->avail_in = static_cast<uInt>(left + got);
    return got > 0;
}

std::size_t GzipSource::read(char* into, std::size_t size) {
    const uInt want = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
    m_stream->next_out = reinterpret_cast<Bytef*>(into);
    m_stream->avail_out = want;
    while (m_stream->avail_out == want) {
        if (m_stream->avail_in < 2 && !m_inputEnded) {
            refill();
        }
        if (m_betweenMembers) {
            // Another member follows only where its signature does; anything
            // else after a member is ignored, as gzip readers do.
            if (!looksCompressed(reinterpret_cast<const char*>(m_stream->next_in),
                                 m_stream->avail_in)) {
                return 0;
            }
            inflateReset(m_stream.get());
            m_betweenMembers = false;
        }
        const int code = inflate(m_stream.get(), Z_NO_FLUSH);
        if (code == Z_STREAM_END) {
            m_betweenMembers = true;
            continue;
        }
        if (code == Z_BUF_ERROR && m_stream->avail_in == 0 && m_inputEnded) {
            throw FileError("it is a gzip file that is cut short");
        }
        if (code != Z_OK && code != Z_BUF_ERROR) {
            throw FileError(zlibReason(*m_stream, code));
        }
    }
    return want - m_stream->avail_out;
}

GzipSink::GzipSink(ByteSink& output)
    : m_output(output), m_stream(std::make_unique<z_stream>()), m_buffer(kChunk) {
    if (deflateInit2(m_stream.get(), Z_DEFAULT_COMPRESSION, Z_DEFLATED, 15 + 16, 8,
                     Z_DEFAULT_STRATEGY) != Z_OK) {
        throw FileError("there is not enough memory to compress it");
    }
}

GzipSink::~GzipSink() {
    deflateEnd(m_stream.get());
}

void GzipSink::write(const char* data, std::size_t size) {
    while (size > 0) {
        const uInt part = static_cast<uInt>(std::min<std::size_t>(size, UINT_MAX));
        m_stream->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
        m_stream->avail_in = part;
        run(Z_NO_FLUSH);
        data += part;
        size -= part;
    }
}

void GzipSink::finish() {
    m_stream->avail_in = 0;
    run(Z_FINISH);
}

void GzipSink::run(int flush) {
    for (;;) {
        m_stream->next_out = reinterpret_cast<Bytef*>(m_buffer.data());
        m_stream->avail_out = static_cast<uInt>(m_buffer.size());
        const int code = deflate(m_stream.get(), flush);
        if (code == Z_STREAM_ERROR) {
            throw FileError("cannot compress it (zlib error)");
        }
        m_output.write(m_buffer.data(), m_buffer.size() - m_stream->avail_out);
        if (flush == Z_FINISH ? code == Z_STREAM_END
                              : m_stream->avail_in == 0 && m_stream->avail_out != 0) {
            return;
        }
    }
}

}  // namespace host::sla::file
