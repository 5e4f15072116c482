#pragma once

// gzip (RFC 1952) through zlib: Scribus writes documents named .sla.gz so.
// Members written one after another read as one text, as gunzip reads them.

#include <memory>
#include <vector>

#include "host/sla/file/ByteStream.h"
#include "host/sla/file/FileText.h"

struct z_stream_s;

namespace host::sla::file {

// True when `data` starts with the gzip signature.
bool looksCompressed(const char* data, std::size_t size);

// The uncompressed text of `data`; throws FileError when it is damaged or
// longer than `limit` bytes. `checkHead` sees its start before the rest is
// uncompressed.
FileText inflateText(const char* data, std::size_t size, std::size_t limit = kMaxDocumentBytes,
                     const HeadCheck& checkHead = {});

// Uncompresses `input` as it is read.
class GzipSource : public ByteSource {
public:
    explicit GzipSource(std::unique_ptr<ByteSource> input);
    ~GzipSource() override;
    GzipSource(const GzipSource&) = delete;
    GzipSource& operator=(const GzipSource&) = delete;
    std::size_t read(char* into, std::size_t size) override;

private:
    bool refill();

    std::unique_ptr<ByteSource> m_input;
    std::unique_ptr<z_stream_s> m_stream;
    std::vector<char> m_buffer;
    bool m_inputEnded = false;
    bool m_betweenMembers = false;  // a member ended; more input starts another
};

// Compresses what is written into `output`; finish() writes the end.
class GzipSink : public ByteSink {
public:
    explicit GzipSink(ByteSink& output);
    ~GzipSink() override;
    GzipSink(const GzipSink&) = delete;
    GzipSink& operator=(const GzipSink&) = delete;
    using ByteSink::write;
    void write(const char* data, std::size_t size) override;
    void finish();

private:
    void run(int flush);

    ByteSink& m_output;
    std::unique_ptr<z_stream_s> m_stream;
    std::vector<char> m_buffer;
};

}  // namespace host::sla::file
