// Scribus resolves these references when it opens the file. A note mark
// that two texts share, or a footnote frame recorded for no text frame,
// makes it crash; a weld or chain link to an item on another page ties the
// copy to the original. So a copy gets references of its own, following what
// Scribus's own page copy writes: fresh mark labels ("Anchor" becomes
// "Anchor_0", "NoteMark_Default_1" becomes "NoteMark_Default_2"), a copy of
// each note, and welds among the copies. Inline items stay shared by both
// texts, as Scribus's own copy leaves them.

#include "host/sla/SlaReferences.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>
#include <set>
#include <string>
#include <unordered_set>

#include "host/sla/SlaElements.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

constexpr int kVariableTextMark = 3;  // one text may show in many places
constexpr int kNoteMark = 4;          // the mark in the text that a note hangs on

std::optional<long long> idAttribute(pugi::xml_node node, const char* name) {
    const std::optional<int> id = parseInteger(node.attribute(name).value());
    return id ? std::optional<long long>(*id) : std::nullopt;
}

std::unordered_set<long long> idsWithin(const std::vector<pugi::xml_node>& items) {
    std::unordered_set<long long> ids;
    for (pugi::xml_node item : items) {
        forEachElement(item, [&](pugi::xml_node element) {
            if (std::strcmp(element.name(), "PAGEOBJECT") == 0) {
                if (const auto id = idAttribute(element, "ItemID")) {
                    ids.insert(*id);
                }
            }
        });
    }
    return ids;
}

struct NoteFrames {
    std::unordered_map<long long, long long> masterOf;  // footnote frame -> its text frame
    std::unordered_set<long long> endnotes;
};

NoteFrames noteFramesOf(const SlaDocument& document) {
    NoteFrames frames;
    for (pugi::xml_node record : document.section("NotesFrames").children()) {
        const auto frame = idAttribute(record, "myID");
        const auto master = idAttribute(record, "MasterID");
        if (frame && master && std::strcmp(record.name(), "FOOTNOTEFRAME") == 0) {
            frames.masterOf[*frame] = *master;
        } else if (frame && std::strcmp(record.name(), "ENDNOTEFRAME") == 0) {
            frames.endnotes.insert(*frame);
        }
    }
    return frames;
}

// Whether the top-level `item` belongs in the copy, given the ItemIDs the page holds.
bool copied(pugi::xml_node item, bool onPage, const NoteFrames& frames,
            const std::unordered_set<long long>& onPageIds) {
    const auto id = idAttribute(item, "ItemID");
    if (id && frames.masterOf.count(*id) != 0) {
        return onPageIds.count(frames.masterOf.at(*id)) != 0;
    }
    const bool noteFrame = (id && frames.endnotes.count(*id) != 0) ||
                           std::strcmp(item.attribute("isNoteFrame").value(), "1") == 0;
    return onPage && !noteFrame;
}

}  // namespace

std::vector<pugi::xml_node> itemsToCopy(const SlaDocument& document,
                                        const std::vector<pugi::xml_node>& pageItems) {
    const NoteFrames frames = noteFramesOf(document);
    const std::unordered_set<long long> onPageIds = idsWithin(pageItems);
    const bool servedHere =
        std::any_of(frames.masterOf.begin(), frames.masterOf.end(),
                    [&](const auto& frame) { return onPageIds.count(frame.second) != 0; });
    std::vector<pugi::xml_node> items;
    if (!servedHere) {
        // No footnote frame to fetch from elsewhere: the page's own items decide.
        for (pugi::xml_node item : pageItems) {
            if (copied(item, true, frames, onPageIds)) {
                items.push_back(item);
            }
        }
        return items;
    }
    // A footnote frame may lie anywhere in the document.
    const std::unordered_set<pugi::xml_node_struct*> onPage = [&] {
        std::unordered_set<pugi::xml_node_struct*> nodes;
        for (pugi::xml_node item : pageItems) {
            nodes.insert(item.internal_object());
        }
        return nodes;
    }();
    for (pugi::xml_node item : document.topLevelItems()) {
        if (copied(item, onPage.count(item.internal_object()) != 0, frames, onPageIds)) {
            items.push_back(item);
        }
    }
    return items;
}

namespace {

std::optional<long long> mapped(const IdMap& ids, std::optional<long long> old) {
    if (!old) {
        return std::nullopt;
    }
    const auto found = ids.find(*old);
    return found != ids.end() ? std::optional<long long>(found->second) : std::nullopt;
}

// Text chains may only link items of the copy; links out of it are cut.
void relinkChains(SlaDocument& document, pugi::xml_node element, const IdMap& ids) {
    for (const char* link : {"NEXTITEM", "BACKITEM"}) {
        if (element.attribute(link)) {
            const auto now = mapped(ids, idAttribute(element, link));
            document.setNumber(element, link, static_cast<double>(now.value_or(-1)));
        }
    }
}

// Welds hold between copies; a weld to an item left behind would tie the copy to it.
void relinkWelds(SlaDocument& document, pugi::xml_node element, const IdMap& ids) {
    if (const auto source = mapped(ids, idAttribute(element, "WeldSource"))) {
        document.setNumber(element, "WeldSource", static_cast<double>(*source));
    }
    std::vector<pugi::xml_node> entries;
    for (pugi::xml_node entry : element.children("WeldEntry")) {
        entries.push_back(entry);
    }
    for (pugi::xml_node entry : entries) {
        if (const auto target = mapped(ids, idAttribute(entry, "Target"))) {
            document.setNumber(entry, "Target", static_cast<double>(*target));
        } else {
            document.removeNode(entry);
        }
    }
}

// The next free label in Scribus's manner: a trailing "_N" counts up, else "_0" is added.
std::string freshLabel(const std::string& label, std::set<std::string>& labels) {
    const std::size_t stemEnd = label.find_last_not_of("0123456789");
    long long number = 0;
    std::string stem = label + "_";
    if (stemEnd != std::string::npos && stemEnd + 1 < label.size() && label[stemEnd] == '_') {
        const char* first = label.data() + stemEnd + 1;
        const char* last = label.data() + label.size();
        if (std::from_chars(first, last, number).ec == std::errc() && number < (1LL << 40)) {
            stem = label.substr(0, stemEnd + 1);
            ++number;
        } else {
            number = 0;
        }
    }
    while (labels.count(stem + std::to_string(number)) != 0) {
        ++number;
    }
    std::string fresh = stem + std::to_string(number);
    labels.insert(fresh);
    return fresh;
}

// Definitions of the document's marks and notes, and where copies of them go.
class MarkCopier {
public:
    // A fresh label must be new to the texts and the notes too: one a text
    // already shows, undefined until now, would otherwise become shared
    // (SlaIdentities keeps them all).
    explicit MarkCopier(SlaDocument& document)
        : m_document(document), m_labels(document.identities().labels()) {
        for (pugi::xml_node mark : document.section("Marks").children("Mark")) {
            m_lastMark = mark;
        }
        for (pugi::xml_node note : document.section("Notes").children("Note")) {
            m_lastNote = note;
        }
    }

    // Gives the MARK element in a copied text a mark of its own.
    void copy(pugi::xml_node mark) {
        const std::string label = mark.attribute("label").value();
        const int type = parseInteger(mark.attribute("type").value()).value_or(-1);
        const pugi::xml_node definition = find("Marks", "Mark", "label", label, type);
        if (type == kVariableTextMark || !definition) {
            return;  // shared by design, or unknown to Scribus, which then skips it
        }
        const std::string fresh = freshLabel(label, m_labels);
        m_lastMark = m_document.insertCopyAfter(m_lastMark, definition);
        m_document.setAttribute(m_lastMark, "label", fresh);
        m_document.setAttribute(mark, "label", fresh);
        if (type == kNoteMark) {
            if (const pugi::xml_node note = find("Notes", "Note", "Master", label, -1)) {
                m_lastNote = m_document.insertCopyAfter(m_lastNote, note);
                m_document.setAttribute(m_lastNote, "Master", fresh);
            }
        }
    }

private:
    pugi::xml_node find(const char* list, const char* entry, const char* key,
                        const std::string& value, int type) const {
        for (pugi::xml_node node : m_document.section(list).children(entry)) {
            if (value == node.attribute(key).value() &&
                (type < 0 || parseInteger(node.attribute("type").value()) == type)) {
                return node;
            }
        }
        return {};
    }

    SlaDocument& m_document;
    std::set<std::string>& m_labels;
    pugi::xml_node m_lastMark;
    pugi::xml_node m_lastNote;
};

// One record per copied footnote frame, naming the copy of the text frame it serves.
void copyFootnoteRecords(SlaDocument& document, const IdMap& ids) {
    std::vector<pugi::xml_node> records;
    pugi::xml_node last;
    for (pugi::xml_node record : document.section("NotesFrames").children()) {
        if (record.type() != pugi::node_element) {
            continue;
        }
        last = record;
        if (std::strcmp(record.name(), "FOOTNOTEFRAME") == 0) {
            records.push_back(record);
        }
    }
    for (pugi::xml_node record : records) {
        const auto frame = mapped(ids, idAttribute(record, "myID"));
        const auto master = mapped(ids, idAttribute(record, "MasterID"));
        if (frame && master) {
            last = document.insertCopyAfter(last, record);
            document.setNumber(last, "myID", static_cast<double>(*frame));
            document.setNumber(last, "MasterID", static_cast<double>(*master));
        }
    }
}

}  // namespace

void relinkCopies(SlaDocument& document, const std::vector<pugi::xml_node>& copies,
                  const IdMap& ids) {
    std::vector<pugi::xml_node> marks;
    for (pugi::xml_node copy : copies) {
        forEachElement(copy, [&](pugi::xml_node element) {
            if (std::strcmp(element.name(), "PAGEOBJECT") == 0) {
                relinkChains(document, element, ids);
                relinkWelds(document, element, ids);
            } else if (std::strcmp(element.name(), "MARK") == 0) {
                marks.push_back(element);
            }
        });
    }
    if (!marks.empty()) {
        MarkCopier copier(document);
        for (pugi::xml_node mark : marks) {
            copier.copy(mark);
        }
    }
    copyFootnoteRecords(document, ids);
}

}  // namespace host::sla
