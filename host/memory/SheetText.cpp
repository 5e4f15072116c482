#include "host/memory/SheetText.h"

#include <algorithm>
#include <charconv>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace host::memory {

namespace {

std::vector<std::string_view> wordsOf(std::string_view line) {
    line = line.substr(0, line.find('#'));
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while (true) {
        at = line.find_first_not_of(" \t\r", at);
        if (at == std::string_view::npos) {
            return words;
        }
        const std::size_t end = std::min(line.find_first_of(" \t\r", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
}

// What the lines read so far have opened; loading a line may change it.
class SheetReader {
public:
    explicit SheetReader(MemoryHost& host) : m_host(host) {}

    void read(const std::vector<std::string_view>& words) {
        const std::string_view keyword = words.front();
        if (keyword == "document") {
            expectCount(words, 3);
            m_document = &m_host.addDocument(number(words[1]), number(words[2]));
            m_spread = nullptr;
            m_lists.clear();
        } else if (keyword == "spread") {
            expectCount(words, 1);
            m_spread = &document().addSpread();
            m_lists.clear();
        } else if (keyword == "page") {
            expectCount(words, 1);
            m_lists.assign(1, &spread().addPage());
        } else if (keyword == "group") {
            expectCount(words, 2);
            m_lists.push_back(&list().addGroup(std::string(words[1])));
        } else if (keyword == "end") {
            expectCount(words, 1);
            if (m_lists.size() < 2) {
                throw std::invalid_argument("\"end\" without a group");
            }
            m_lists.pop_back();
        } else if (keyword == "active") {
            expectCount(words, 2);
            m_host.activate(documentNumber(words[1]));
        } else if (keyword == "window") {
            expectCount(words, 2);
            showWindow(words[1]);
        } else {
            readItem(words);
        }
    }

    void finish() {
        if (m_lists.size() > 1) {
            throw std::invalid_argument("a group is not closed with \"end\"");
        }
        if (!m_windowSet && !m_host.documents().empty()) {
            const auto& spreads = m_host.activeDocument()->spreads();
            if (!spreads.empty()) {
                m_host.showWindow(*spreads.front());
            }
        }
    }

private:
    void readItem(const std::vector<std::string_view>& words) {
        const bool typed = words.front() == "item";
        if (!typed && words.front() != "rectangle" && words.front() != "line") {
            throw std::invalid_argument("unknown keyword \"" + std::string(words.front()) + "\"");
        }
        const std::size_t first = typed ? 2 : 1;  // the label's word
        if (words.size() != first + 5 && words.size() != first + 6) {
            throw std::invalid_argument("an item needs a label, four bounds and maybe an angle");
        }
        const Bounds box{number(words[first + 1]), number(words[first + 2]),
                         number(words[first + 3]), number(words[first + 4])};
        const double angle = words.size() == first + 6 ? number(words[first + 5]) : 0.0;
        const std::string type = typed                          ? std::string(words[1])
                                 : words.front() == "rectangle" ? "Rectangle"
                                                                : "Line";
        list().addItem(type, std::string(words[first]), box, angle);
    }

    void showWindow(std::string_view which) {
        m_windowSet = true;
        if (which == "closed") {
            m_host.closeWindow();
        } else if (which == "none") {
            m_host.showEmptyWindow();
        } else {
            const auto& spreads = activeDocument().spreads();
            const auto index = static_cast<std::size_t>(count(which));
            if (index < 1 || index > spreads.size()) {
                throw std::invalid_argument("the active document has no spread " +
                                            std::string(which));
            }
            m_host.showWindow(*spreads[index - 1]);
        }
    }

    MemoryDocument& document() const {
        if (m_document == nullptr) {
            throw std::invalid_argument("no document is open yet");
        }
        return *m_document;
    }
    MemoryDocument& activeDocument() const {
        if (m_host.activeDocument() == nullptr) {
            throw std::invalid_argument("no document is open yet");
        }
        return *m_host.activeDocument();
    }
    MemoryDocument& documentNumber(std::string_view which) const {
        const auto& documents = m_host.documents();
        const auto index = static_cast<std::size_t>(count(which));
        if (index < 1 || index > documents.size()) {
            throw std::invalid_argument("there is no document " + std::string(which));
        }
        return *documents[index - 1];
    }
    MemorySpread& spread() const {
        if (m_spread == nullptr) {
            throw std::invalid_argument("no spread in this document yet");
        }
        return *m_spread;
    }
    MemoryItemList& list() const {
        if (m_lists.empty()) {
            throw std::invalid_argument("no page in this spread yet");
        }
        return *m_lists.back();
    }

    static void expectCount(const std::vector<std::string_view>& words, std::size_t wanted) {
        if (words.size() != wanted) {
            throw std::invalid_argument("\"" + std::string(words.front()) + "\" takes " +
                                        std::to_string(wanted - 1) + " value(s)");
        }
    }
    static double number(std::string_view word) {
        double value = 0.0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size()) {
            throw std::invalid_argument("\"" + std::string(word) + "\" is not a number");
        }
        return value;
    }
    static long count(std::string_view word) {
        long value = 0;
        const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
        if (error != std::errc() || end != word.data() + word.size()) {
            throw std::invalid_argument("\"" + std::string(word) + "\" is not a whole number");
        }
        return value;
    }

    MemoryHost& m_host;
    MemoryDocument* m_document = nullptr;
    MemorySpread* m_spread = nullptr;
    std::vector<MemoryItemList*> m_lists;  // the current page, then the open groups
    bool m_windowSet = false;
};

// The shortest text that reads back as the same double.
std::string numberText(double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

void dumpItems(std::ostream& out, const MemoryItemList& list, int depth) {
    const std::string indent(static_cast<std::size_t>(2 * depth), ' ');
    for (const auto& item : list.items()) {
        if (const auto* group = dynamic_cast<const MemoryGroup*>(item.get())) {
            out << indent << "group " << group->label() << '\n';
            dumpItems(out, *group, depth + 1);
            out << indent << "end\n";
            continue;
        }
        const std::string& type = item->typeName();
        if (type == "Rectangle" || type == "Line") {
            out << indent << (type == "Rectangle" ? "rectangle " : "line ");
        } else {
            out << indent << "item " << type << ' ';
        }
        out << item->label();
        const Bounds box = item->bounds();
        for (const double side : {box.top, box.left, box.bottom, box.right}) {
            out << ' ' << numberText(side);
        }
        out << ' ' << numberText(item->rotation()) << '\n';
    }
}

}  // namespace

void loadSheet(MemoryHost& host, std::string_view text) {
    SheetReader reader(host);
    int lineNumber = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        ++lineNumber;
        const auto words = wordsOf(text.substr(at, end - at));
        at = end + 1;
        if (words.empty()) {
            continue;
        }
        try {
            reader.read(words);
        } catch (const std::exception& error) {
            throw std::invalid_argument("sheet line " + std::to_string(lineNumber) + ": " +
                                        error.what());
        }
    }
    try {
        reader.finish();
    } catch (const std::exception& error) {
        throw std::invalid_argument(std::string("sheet: ") + error.what());
    }
}

std::string dumpDocuments(const MemoryHost& host) {
    std::ostringstream out;
    for (const auto& document : host.documents()) {
        out << "document " << numberText(document->pageWidth()) << ' '
            << numberText(document->pageHeight()) << '\n';
        for (const auto& spread : document->spreads()) {
            out << "spread\n";
            for (const auto& page : spread->pages()) {
                out << "page\n";
                dumpItems(out, *page, 1);
            }
        }
    }
    return out.str();
}

}  // namespace host::memory
