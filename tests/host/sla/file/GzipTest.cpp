// gzip through zlib: what Scribus writes for .sla.gz, read whole or as a
// stream, and refused with a reason when damaged or too large.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FileTestSupport.h"
#include "host/sla/file/FileError.h"
#include "host/sla/file/Gzip.h"

namespace {

using host::sla::file::FileError;
using testing::HasSubstr;

std::string inflated(const std::string& data, std::size_t limit = std::size_t{1} << 30) {
    const auto text = host::sla::file::inflateText(data.data(), data.size(), limit);
    EXPECT_EQ(text.data[text.size], '\0');
    return std::string(text.data.get(), text.size);
}

std::string inflateError(const std::string& data, std::size_t limit = std::size_t{1} << 30) {
    try {
        inflated(data, limit);
    } catch (const FileError& error) {
        return error.what();
    }
    return "inflated";
}

// Varied enough not to shrink to nothing: lines of an .sla-like document.
std::string sampleText(int lines) {
    std::string text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SCRIBUSUTF8NEW Version=\"1.6.3\">\n";
    for (int i = 0; i < lines; ++i) {
        text += "  <PAGEOBJECT XPOS=\"" + std::to_string(i * 7919 % 1000) + "\" ItemID=\"" +
                std::to_string(i * 104729LL) + "\"/>\n";
    }
    return text + "</SCRIBUSUTF8NEW>\n";
}

class MemorySource : public host::sla::file::ByteSource {
public:
    explicit MemorySource(std::string data) : m_data(std::move(data)) {}
    std::size_t read(char* into, std::size_t size) override {
        const std::size_t count = std::min(size, m_data.size() - m_offset);
        m_data.copy(into, count, m_offset);
        m_offset += count;
        return count;
    }

private:
    std::string m_data;
    std::size_t m_offset = 0;
};

TEST(Gzip, WrittenTextReadsBackWholeAndAsAStream) {
    const std::string text = sampleText(40000);  // over a megabyte: many buffers each way
    const std::string data = filetest::compress(text);
    EXPECT_TRUE(host::sla::file::looksCompressed(data.data(), data.size()));
    EXPECT_FALSE(host::sla::file::looksCompressed(text.data(), text.size()));
    EXPECT_LT(data.size(), text.size() / 3);
    EXPECT_EQ(inflated(data), text);
    host::sla::file::GzipSource source(std::make_unique<MemorySource>(data));
    std::string streamed;
    char piece[1000];  // smaller than zlib's output per call
    for (std::size_t got; (got = source.read(piece, sizeof piece)) > 0;) {
        streamed.append(piece, got);
    }
    EXPECT_EQ(streamed, text);
}

TEST(Gzip, MembersFollowingEachOtherReadAsOneAndTrailingBytesAreIgnored) {
    EXPECT_EQ(inflated(filetest::compress("first ") + filetest::compress("second")),
              "first second");
    EXPECT_EQ(inflated(filetest::compress("text") + std::string(10, '\0')), "text");
    EXPECT_EQ(inflated(filetest::compress("")), "");
}

TEST(Gzip, DamagedOrShortDataIsRefused) {
    const std::string data = filetest::compress(sampleText(2000));
    std::string damaged = data;
    for (std::size_t i = 20; i < 60; ++i) {
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5a);
    }
    EXPECT_THAT(inflateError(damaged), HasSubstr("damaged gzip file ("));
    EXPECT_THAT(inflateError(data.substr(0, data.size() / 2)), HasSubstr("cut short"));
    EXPECT_THAT(inflateError(data.substr(0, 12)), HasSubstr("cut short"));
}

TEST(Gzip, TextsOverTheLimitAreRefusedWhateverTheTrailerSays) {
    const std::string text(5000, 'x');  // shrinks about a hundredfold
    EXPECT_EQ(inflated(filetest::compress(text), 5000), text);
    EXPECT_THAT(inflateError(filetest::compress(text), 4999),
                HasSubstr("uncompressed it is larger than 4999 bytes"));
    // The trailer's size is only a first guess for the buffer.
    for (const char size : {'\0', '\x7f'}) {
        std::string lying = filetest::compress(text);
        for (std::size_t i = lying.size() - 4; i < lying.size(); ++i) {
            lying[i] = size;
        }
        EXPECT_THAT(inflateError(lying), HasSubstr("damaged gzip file"));
    }
}

}  // namespace
