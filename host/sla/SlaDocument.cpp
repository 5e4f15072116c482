#include "host/sla/SlaDocument.h"

#include <new>

#include "host/HostError.h"
#include "host/sla/SlaItem.h"
#include "host/sla/file/FileError.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

SlaDocument::SlaDocument(const std::filesystem::path& path)
    : m_file(path),
      m_edits(path),
      m_index(path.string(), [this](pugi::xml_node item) { return itemPlace(item); }) {}

SlaDocument::~SlaDocument() = default;

std::shared_ptr<SlaDocument> SlaDocument::load(const std::filesystem::path& path) {
    const auto fail = [&path](const std::string& reason) {
        throw HostError("Cannot open \"" + path.string() + "\": " + reason + ".");
    };
    std::shared_ptr<SlaDocument> document(new SlaDocument(path));
    try {
        SlaParsedFile& file = document->m_file;
        file.read();
        document->m_edits.start(file.textBegin(),
                                static_cast<std::size_t>(file.textEnd() - file.textBegin()));
        const std::string problem =
            document->m_index.check(file.xml(), file.textBegin(), file.textEnd(),
                                    [&file](std::ptrdiff_t offset) { return file.lineAt(offset); });
        if (!problem.empty()) {
            fail(problem);
        }
    } catch (const file::FileError& error) {
        fail(error.what());
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory to open it");
    }
    return document;
}

std::vector<pugi::xml_node> SlaDocument::topLevelItems() const {
    std::vector<pugi::xml_node> items;
    for (pugi::xml_node item : documentNode().children("PAGEOBJECT")) {
        items.push_back(item);
    }
    return items;
}

ItemPlace SlaDocument::itemPlace(pugi::xml_node item) const {
    return m_index.placeOf(readShape(item));
}

pugi::xml_node SlaDocument::insertCopyAfter(pugi::xml_node anchor, pugi::xml_node original) {
    // The white space copied before it is neither item nor section: the index
    // needs to hear only of the copy.
    const pugi::xml_node copy = m_edits.insertCopyAfter(anchor, original);
    m_index.arrived(copy);
    return copy;
}

pugi::xml_node SlaDocument::insertCopyBefore(pugi::xml_node anchor, pugi::xml_node original) {
    const pugi::xml_node copy = m_edits.insertCopyBefore(anchor, original);
    m_index.arrived(copy);
    return copy;
}

void SlaDocument::moveBefore(pugi::xml_node node, pugi::xml_node anchor) {
    m_index.leaving(node);
    m_edits.moveBefore(node, anchor);
    m_index.arrived(node);
}

void SlaDocument::removeNode(pugi::xml_node node) {
    m_index.leaving(node);
    m_edits.removeNode(node);
}

void SlaDocument::setAttribute(pugi::xml_node node, const char* name, std::string_view value) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (attribute && value == attribute.value()) {
        return;
    }
    m_index.attributeWriting(node, attribute, name, value);
    m_edits.setAttribute(node, attribute, name, value);
}

double SlaDocument::setNumber(pugi::xml_node node, const char* name, double value) {
    const NumberText text(value);
    setAttribute(node, name, text.view());
    return parseNumber(text.view()).value_or(value);
}

std::string SlaDocument::serialize() const {
    file::StringSink out;
    writeTo(out);
    return std::move(out.text());
}

void SlaDocument::writeTo(file::ByteSink& out) const {
    m_file.writeTo(m_edits.changes(), out);
}

void SlaDocument::save() {
    m_file.save(m_edits.changes());
    // What was changed stays recorded: a later save again copies the rest
    // from the text as first read.
    m_edits.setChanged(false);
}

}  // namespace host::sla
