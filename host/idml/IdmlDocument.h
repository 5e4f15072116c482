#pragma once

// An InDesign document read from an IDML package: designmap.xml, its spreads
// in the order it lists them, and every other part kept as read. Lengths in
// the parts are points; the host reports them in the document's ruler unit
// (unit()), from the sheet page's top-left corner, y downwards.
// Changes stay in memory until save().

#include <pugixml.hpp>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/idml/IdmlPackage.h"
#include "host/idml/IdmlTransform.h"

namespace host::sla::file {
class DocumentFile;
}

namespace host::idml {

// A node of a spread as the host's objects hold it: dead once removed.
struct NodeHandle {
    pugi::xml_node node;
    bool alive = true;
};

struct SpreadPart {
    std::string entry;  // its name in the package
    pugi::xml_document xml;
    pugi::xml_node spread;  // the <Spread> element
    bool changed = false;
};

// Where a page lies: `toPage` takes spread coordinates (points) to the page's
// own, its top-left corner at 0, 0; width and height in points.
struct PagePlace {
    Transform toPage;
    double width = 0.0;
    double height = 0.0;
};

class IdmlDocument {
public:
    // Reads the package at `path`. Throws HostError naming the file and why
    // it cannot be opened.
    static std::shared_ptr<IdmlDocument> load(const std::filesystem::path& path);
    ~IdmlDocument();

    const std::filesystem::path& path() const { return m_path; }
    std::size_t spreadCount() const { return m_spreads.size(); }
    SpreadPart& spread(std::size_t index) { return *m_spreads.at(index); }
    std::vector<pugi::xml_node> pagesOf(std::size_t spread) const;
    int pageCount() const;
    // The spread holding page `index` (0-based, in document order).
    std::size_t spreadOfPage(int index) const;
    // The index of the spread part whose <Spread> is `spread`.
    std::size_t indexOf(pugi::xml_node spread) const;
    PagePlace placeOf(pugi::xml_node page) const;
    // Points per host unit: the document's horizontal ruler unit.
    double unit() const { return m_unit; }
    bool facingPages() const { return m_facing; }
    bool rightToLeft() const { return m_rightToLeft; }
    double pageWidth() const { return m_pageWidth; }    // points, as the preferences give it
    double pageHeight() const { return m_pageHeight; }  // points

    std::shared_ptr<NodeHandle> handle(pugi::xml_node node);
    void removeNode(pugi::xml_node node);
    void markChanged(pugi::xml_node inSpread);
    void setAttribute(pugi::xml_node node, const char* name, const std::string& value);

    // An id no part of the package uses yet.
    std::string freshId();
    IdmlPackage& package() { return *m_package; }
    pugi::xml_document& designmap() { return m_designmap; }
    void designmapChanged() { m_designmapChanged = m_changed = true; }
    // Adds a spread part after the one at `after`, listed in designmap.xml at that place.
    SpreadPart& insertSpread(std::size_t after, std::unique_ptr<SpreadPart> part);
    // A part written with the next save (a new story, say).
    void addPart(const std::string& name, std::string contents);
    // Serialises a part as InDesign writes XML: UTF-8, its declaration kept.
    static std::string partText(const pugi::xml_document& xml);

    bool changed() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }
    // Writes the package over the file, atomically. Throws HostError.
    void save();

private:
    IdmlDocument();
    void read();
    void readPreferences();
    void readSpreads();
    void checkIds();

    std::filesystem::path m_path;
    std::unique_ptr<sla::file::DocumentFile> m_file;
    std::unique_ptr<IdmlPackage> m_package;
    pugi::xml_document m_designmap;
    std::vector<std::unique_ptr<SpreadPart>> m_spreads;
    std::unordered_map<pugi::xml_node_struct*, std::shared_ptr<NodeHandle>> m_handles;
    std::set<std::string> m_ids;
    unsigned long long m_nextId = 0;
    double m_unit = 1.0;
    bool m_facing = false;
    bool m_rightToLeft = false;
    double m_pageWidth = 0.0;
    double m_pageHeight = 0.0;
    bool m_designmapChanged = false;
    bool m_changed = false;
};

// The first child element of `node` named `name`, namespace prefix ignored.
pugi::xml_node childNamed(pugi::xml_node node, const char* name);

}  // namespace host::idml
