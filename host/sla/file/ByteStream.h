#pragma once

// Byte streams between the document code and the files: a source read from
// its first byte onwards, a sink written in order. Both throw FileError.

#include <cstddef>
#include <string>

namespace host::sla::file {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Fills up to `size` bytes of `into`; returns how many, 0 only at the end.
    virtual std::size_t read(char* into, std::size_t size) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void write(const char* data, std::size_t size) = 0;
    void write(const std::string& text) { write(text.data(), text.size()); }
};

// Collects what is written, for tests and small documents.
class StringSink : public ByteSink {
public:
    using ByteSink::write;
    void write(const char* data, std::size_t size) override { m_text.append(data, size); }
    std::string& text() { return m_text; }

private:
    std::string m_text;
};

}  // namespace host::sla::file
