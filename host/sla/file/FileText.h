#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace host::sla::file {

// A document's text as read: `size` bytes followed by one zero byte, so that
// it can be parsed in place.
struct FileText {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};

// The largest document, compressed or once uncompressed, that is read: 1 GiB.
inline constexpr std::size_t kMaxDocumentBytes = std::size_t{1} << 30;

// A look at the first kHeadBytes of a text (all of it when shorter) before
// the rest is read: it throws FileError to refuse the file. Empty: no look.
using HeadCheck = std::function<void(std::string_view head)>;
inline constexpr std::size_t kHeadBytes = 4096;

}  // namespace host::sla::file
