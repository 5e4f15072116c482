// quarvel_pagelist: lists what a page of a Scribus document holds, the way the
// tool sees it, for scripts that check or show a document the tool wrote.
//
//   quarvel_pagelist FILE.sla [PAGE]
//
// First "pages N" and "size WIDTH HEIGHT" (the active document's page size);
// then one line per item of the spread holding PAGE
// (1-based, default 1), groups dissolved in memory as a capture does:
//   TYPE TOP LEFT BOTTOM RIGHT ANGLE
// The file is never written.

#include <charconv>
#include <cstdio>
#include <exception>
#include <iostream>
#include <optional>
#include <string>

#include "host/Capture.h"
#include "host/Host.h"
#include "host/sla/SlaHost.h"

namespace {

constexpr const char* kUsage = "usage: quarvel_pagelist FILE.sla [PAGE]\n";

// A page number of 1 or more in plain digits, or nothing.
std::optional<int> parsePage(const std::string& text) {
    int page = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, page);
    if (error != std::errc() || stop != end || page < 1) {
        return std::nullopt;
    }
    return page;
}

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3) {
        std::cerr << kUsage;
        return 2;
    }
    std::optional<int> page;
    if (argc == 3) {
        page = parsePage(argv[2]);
        if (!page) {
            std::cerr << "quarvel_pagelist: PAGE must be a page number of 1 or more, not \""
                      << argv[2] << "\"\n"
                      << kUsage;
            return 2;
        }
    }
    try {
        const auto documents = host::sla::SlaHost::open({argv[1]}, page);
        std::cout << "pages " << documents->openDocuments().front()->pageNodes().size() << '\n';
        const auto preferences = documents->activeDocument()->preferences();
        std::cout << "size " << number(preferences->pageWidth()) << ' '
                  << number(preferences->pageHeight()) << '\n';
        const auto items = documents->activeWindow()->activeSpread()->pageItems();
        host::dissolveGroups(*items);
        for (const auto& item : items->enumerate()) {
            const auto bounds = item->visibleBounds();
            std::cout << item->typeName() << ' ' << number(bounds.top) << ' ' << number(bounds.left)
                      << ' ' << number(bounds.bottom) << ' ' << number(bounds.right) << ' '
                      << number(item->rotationAngle()) << '\n';
        }
    } catch (const std::exception& error) {
        std::cerr << "quarvel_pagelist: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
