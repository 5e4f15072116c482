// Reading a document from its package, the checks that refuse hostile or
// damaged packages, and writing it back.

#include "host/idml/IdmlDocument.h"

#include <cstring>
#include <map>
#include <new>

#include "host/HostError.h"
#include "host/sla/file/DocumentFile.h"
#include "host/sla/file/FileError.h"

namespace host::idml {

namespace {

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_declaration | pugi::parse_pi |
                                 pugi::parse_ws_pcdata | pugi::parse_doctype;

// Deeper nesting than this is no layout InDesign makes; it would only run the
// walks over the tree out of stack.
constexpr int kMaxDepth = 200;

bool endsWith(const std::string& text, const char* tail) {
    const std::size_t size = std::strlen(tail);
    return text.size() >= size && text.compare(text.size() - size, size, tail) == 0;
}

void parsePart(IdmlPackage& package, const std::string& name, pugi::xml_document& xml) {
    const std::string& text = package.contents(name);
    const pugi::xml_parse_result parsed =
        xml.load_buffer(text.data(), text.size(), kParseFlags, pugi::encoding_utf8);
    if (parsed.status == pugi::status_out_of_memory) {
        throw std::bad_alloc();
    }
    if (!parsed) {
        throw PackageError("its part \"" + name + "\" is not well-formed XML (" +
                           parsed.description() + ")");
    }
}

// Every value of a Self="…" attribute in `text`, as written.
void collectIds(const std::string& text, std::set<std::string>& ids) {
    static const char kSelf[] = " Self=\"";
    for (std::size_t at = text.find(kSelf); at != std::string::npos;
         at = text.find(kSelf, at + 1)) {
        const std::size_t start = at + sizeof kSelf - 1;
        const std::size_t end = text.find('"', start);
        if (end == std::string::npos) {
            return;
        }
        ids.insert(text.substr(start, end - start));
    }
}

void checkDepth(pugi::xml_node node, const std::string& part, int depth) {
    if (depth > kMaxDepth) {
        throw PackageError("its part \"" + part + "\" nests its elements too deeply");
    }
    for (pugi::xml_node child : node.children()) {
        checkDepth(child, part, depth + 1);
    }
}

double pointsPer(const char* unit) {
    const std::map<std::string, double> units = {{"Points", 1.0},
                                                 {"Picas", 12.0},
                                                 {"Inches", 72.0},
                                                 {"InchesDecimal", 72.0},
                                                 {"Millimeters", 72.0 / 25.4},
                                                 {"Centimeters", 72.0 / 2.54},
                                                 {"Ciceros", 12.7878},
                                                 {"Agates", 72.0 / 14.0},
                                                 {"Pixels", 1.0}};
    const auto found = units.find(unit);
    return found == units.end() ? 1.0 : found->second;
}

}  // namespace

pugi::xml_node childNamed(pugi::xml_node node, const char* name) {
    for (pugi::xml_node child : node.children()) {
        const char* own = child.name();
        const char* colon = std::strchr(own, ':');
        if (std::strcmp(colon ? colon + 1 : own, name) == 0) {
            return child;
        }
    }
    return {};
}

IdmlDocument::IdmlDocument() = default;
IdmlDocument::~IdmlDocument() = default;

std::shared_ptr<IdmlDocument> IdmlDocument::load(const std::filesystem::path& path) {
    std::shared_ptr<IdmlDocument> document(new IdmlDocument());
    document->m_path = path;
    const auto fail = [&path](const std::string& reason) {
        throw HostError("Cannot open \"" + path.string() + "\": " + reason + ".");
    };
    try {
        document->read();
    } catch (const sla::file::FileError& error) {
        fail(error.what());
    } catch (const PackageError& error) {
        fail(error.what());
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory to open it");
    }
    return document;
}

void IdmlDocument::read() {
    sla::file::FileText text;
    m_file = sla::file::DocumentFile::open(m_path, text);
    if (!looksLikeZip(text.data.get(), text.size)) {
        throw PackageError("it is not an InDesign package (IDML)");
    }
    m_package = IdmlPackage::read(std::string(text.data.get(), text.size));
    text.data.reset();
    for (const std::string& name : m_package->names()) {
        if (!endsWith(name, ".xml")) {
            continue;
        }
        const std::string& contents = m_package->contents(name);
        // InDesign never writes a DTD; one could only pull in outside files or blow up entities.
        if (contents.find("<!DOCTYPE") != std::string::npos ||
            contents.find("<!ENTITY") != std::string::npos) {
            throw PackageError("its part \"" + name +
                               "\" declares a DTD or entities, which no InDesign package does");
        }
        collectIds(contents, m_ids);
    }
    if (!m_package->has("designmap.xml")) {
        throw PackageError("the package lacks its part \"designmap.xml\"");
    }
    parsePart(*m_package, "designmap.xml", m_designmap);
    if (!m_designmap.child("Document")) {
        throw PackageError("its \"designmap.xml\" holds no InDesign document");
    }
    readPreferences();
    readSpreads();
    checkIds();
}

void IdmlDocument::readPreferences() {
    const pugi::xml_node listed = childNamed(m_designmap.child("Document"), "Preferences");
    const std::string name = listed.attribute("src").value();
    if (name.empty() || !m_package->has(name)) {
        return;  // every page then carries its own bounds, or reading the spreads says so
    }
    pugi::xml_document xml;
    parsePart(*m_package, name, xml);
    const pugi::xml_node root = xml.document_element();
    const pugi::xml_node document = root.child("DocumentPreference");
    m_pageWidth = document.attribute("PageWidth").as_double();
    m_pageHeight = document.attribute("PageHeight").as_double();
    m_facing = document.attribute("FacingPages").as_bool();
    m_rightToLeft = std::strcmp(document.attribute("PageBinding").value(), "RightToLeft") == 0;
    m_unit =
        pointsPer(root.child("ViewPreference").attribute("HorizontalMeasurementUnits").value());
}

void IdmlDocument::readSpreads() {
    for (pugi::xml_node listed : m_designmap.child("Document").children()) {
        if (std::strcmp(listed.name(), "idPkg:Spread") != 0) {
            continue;
        }
        auto part = std::make_unique<SpreadPart>();
        part->entry = listed.attribute("src").value();
        if (!m_package->has(part->entry)) {
            throw PackageError("\"designmap.xml\" lists the spread \"" + part->entry +
                               "\", which the package lacks");
        }
        parsePart(*m_package, part->entry, part->xml);
        checkDepth(part->xml, part->entry, 0);
        part->spread = part->xml.document_element().child("Spread");
        if (!part->spread) {
            throw PackageError("its part \"" + part->entry + "\" holds no spread");
        }
        m_spreads.push_back(std::move(part));
    }
    if (m_spreads.empty() || pageCount() == 0) {
        throw PackageError("it has no pages");
    }
    for (std::size_t i = 0; i < m_spreads.size(); ++i) {
        for (pugi::xml_node page : pagesOf(i)) {
            const PagePlace place = placeOf(page);
            if (!(place.width > 0.0 && place.height > 0.0)) {
                throw PackageError("its page \"" + std::string(page.attribute("Name").value()) +
                                   "\" has no size");
            }
        }
    }
}

// Two elements of the spreads with one id would make every copy ambiguous.
void IdmlDocument::checkIds() {
    std::map<std::string, const std::string*> owners;
    for (const auto& part : m_spreads) {
        for (pugi::xpath_node found : part->xml.select_nodes("//*[@Self]")) {
            const std::string id = found.node().attribute("Self").value();
            const auto [at, added] = owners.emplace(id, &part->entry);
            if (!added) {
                throw PackageError("the id \"" + id + "\" is given to two elements (in \"" +
                                   *at->second + "\" and \"" + part->entry + "\")");
            }
        }
    }
    for (const std::string& id : m_ids) {
        // InDesign's ids: "u" and a hexadecimal number; fresh ones continue after the largest.
        if (id.size() > 1 && id.size() <= 12 && id[0] == 'u' &&
            id.find_first_not_of("0123456789abcdef", 1) == std::string::npos) {
            m_nextId = std::max(m_nextId, std::stoull(id.substr(1), nullptr, 16) + 1);
        }
    }
}

std::string IdmlDocument::freshId() {
    while (true) {
        char text[24];
        std::snprintf(text, sizeof text, "u%llx", m_nextId++);
        if (m_ids.insert(text).second) {
            return text;
        }
    }
}

std::string IdmlDocument::partText(const pugi::xml_document& xml) {
    struct Writer : pugi::xml_writer {
        std::string text;
        void write(const void* data, std::size_t size) override {
            text.append(static_cast<const char*>(data), size);
        }
    } writer;
    xml.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    // The declaration is a node of the tree (parsed with it), written above in
    // raw form: add the line break InDesign puts after it.
    std::string& text = writer.text;
    if (text.rfind("<?xml", 0) == 0) {
        const std::size_t end = text.find("?>");
        if (end != std::string::npos && text.compare(end + 2, 1, "\n") != 0) {
            text.insert(end + 2, "\n");
        }
    }
    return text;
}

void IdmlDocument::addPart(const std::string& name, std::string contents) {
    m_package->put(name, std::move(contents));
    m_changed = true;
}

void IdmlDocument::save() {
    const auto fail = [this](const std::string& reason) {
        throw HostError("Cannot save \"" + m_path.string() + "\": " + reason + ".");
    };
    try {
        for (const auto& part : m_spreads) {
            if (part->changed) {
                m_package->put(part->entry, partText(part->xml));
            }
        }
        if (m_designmapChanged) {
            m_package->put("designmap.xml", partText(m_designmap));
        }
        // Written completely into memory first: a failure of the package
        // leaves the file untouched.
        sla::file::StringSink packed;
        m_package->writeTo(packed);
        m_file->replace([&packed](sla::file::ByteSink& out) { out.write(packed.text()); });
    } catch (const sla::file::FileError& error) {
        fail(error.what());
    } catch (const PackageError& error) {
        fail(error.what());
    } catch (const std::bad_alloc&) {
        fail("there is not enough memory");
    }
    m_changed = false;
}

}  // namespace host::idml
