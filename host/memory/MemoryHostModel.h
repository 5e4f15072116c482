#pragma once

// The in-memory host's documents, spreads, pages and page items, built by tests before a run and
// read back after it. Geometry conventions: host/ItemGeometry.h. Calls on these classes are not
// host calls: they are not logged and injected failures do not apply to them. Documents, spreads
// and pages live as long as their MemoryHost or any host object it handed out.

#include <memory>
#include <string>
#include <vector>

#include "host/Host.h"
#include "host/ItemGeometry.h"

namespace host {

class MemoryDocument;
class MemoryGroup;
class MemoryItemList;
class MemorySpread;

// A page item: a type name ("Rectangle", "Line", "Group", "TextFrame", ...) compared exactly,
// and a label that names it in the call log.
class MemoryItem {
public:
    MemoryItem(std::string typeName, std::string label);
    virtual ~MemoryItem() = default;
    MemoryItem(const MemoryItem&) = delete;
    MemoryItem& operator=(const MemoryItem&) = delete;

    const std::string& typeName() const { return m_typeName; }
    const std::string& label() const { return m_label; }
    // False once the item has left the document (a group after Ungroup).
    bool exists() const { return m_parent != nullptr; }

    // The axis-aligned box of the item as drawn.
    virtual Bounds bounds() const = 0;
    // Keeps the rotation and fits the item so that its box becomes `box`.
    virtual void setBounds(const Bounds& box) = 0;
    virtual double rotation() const = 0;
    // Turns the item about the centre of its box.
    virtual void setRotation(double degrees) = 0;

    // Moves the item as part of a group turned by `degrees` about `pivot`.
    virtual void turnAbout(Point pivot, double degrees) = 0;
    // A deep copy outside any page, labelled with this label and a prime ("r1" -> "r1'").
    virtual std::shared_ptr<MemoryItem> copy() const = 0;

private:
    friend class MemoryItemList;
    friend class MemoryGroup;

    std::string m_typeName;
    std::string m_label;
    MemoryItemList* m_parent = nullptr;
};

// Any item but a group: a frame stored unrotated (centre, width, height; a line has one side 0)
// and its rotation angle about the frame's centre.
class MemoryShape : public MemoryItem {
public:
    // `box` is the box as drawn at `degrees`; the frame is fitted to it as setBounds does
    // (HostError where no frame fits). A line whose box has no zero side at that angle is a
    // mistake in the test: std::invalid_argument.
    MemoryShape(std::string typeName, std::string label, const Bounds& box, double degrees);
    MemoryShape(std::string typeName, std::string label, const Frame& frame, double degrees);

    Frame frame() const { return m_frame; }
    Bounds bounds() const override;
    void setBounds(const Bounds& box) override;
    double rotation() const override { return m_degrees; }
    void setRotation(double degrees) override { m_degrees = degrees; }
    void turnAbout(Point pivot, double degrees) override;
    std::shared_ptr<MemoryItem> copy() const override;

private:
    Frame m_frame;
    double m_degrees = 0.0;
};

// An ordered list of page items: a page's top-level items or a group's members.
class MemoryItemList {
public:
    MemoryItemList() = default;
    virtual ~MemoryItemList() = default;
    MemoryItemList(const MemoryItemList&) = delete;
    MemoryItemList& operator=(const MemoryItemList&) = delete;

    MemoryShape& addRectangle(std::string label, const Bounds& box, double degrees = 0.0);
    MemoryShape& addLine(std::string label, const Bounds& box, double degrees = 0.0);
    // Any other kind of item, such as "TextFrame" or "Oval" (groups: addGroup).
    MemoryShape& addItem(std::string typeName, std::string label, const Bounds& box,
                         double degrees = 0.0);
    MemoryGroup& addGroup(std::string label);

    const std::vector<std::shared_ptr<MemoryItem>>& items() const { return m_items; }
    std::vector<std::string> labels() const;

protected:
    void append(std::shared_ptr<MemoryItem> item);
    void appendCopies(const MemoryItemList& source);

private:
    friend class MemoryGroup;

    std::vector<std::shared_ptr<MemoryItem>> m_items;
};

// A group: its members in order, and the angle it has been turned by (0 when made).
class MemoryGroup : public MemoryItem, public MemoryItemList {
public:
    explicit MemoryGroup(std::string label);

    // The box holding every member's box; throws HostError for an empty group.
    Bounds bounds() const override;
    // Maps every member's box from the group's box to `box` and fits the member to it.
    void setBounds(const Bounds& box) override;
    double rotation() const override { return m_degrees; }
    void setRotation(double degrees) override;
    void turnAbout(Point pivot, double degrees) override;
    std::shared_ptr<MemoryItem> copy() const override;

    // The members take the group's place in its page or group, in their order; the group
    // leaves the document.
    void ungroup();

private:
    double m_degrees = 0.0;
};

class MemoryPage : public MemoryItemList {
public:
    MemoryPage(MemorySpread& spread, std::string label);

    const std::string& label() const { return m_label; }
    MemorySpread& spread() const { return *m_spread; }
    // Appends a spread to the document with one page holding copies of this page's items.
    MemorySpread& duplicate() const;

private:
    MemorySpread* m_spread;
    std::string m_label;
};

class MemorySpread {
public:
    MemorySpread(MemoryDocument& document, std::string label);
    MemorySpread(const MemorySpread&) = delete;
    MemorySpread& operator=(const MemorySpread&) = delete;

    const std::string& label() const { return m_label; }
    MemoryDocument& document() const { return *m_document; }
    MemoryPage& addPage();
    const std::vector<std::shared_ptr<MemoryPage>>& pages() const { return m_pages; }
    // The spread's page items: its pages' top-level items, page by page, in order.
    std::vector<std::shared_ptr<MemoryItem>> items() const;
    std::vector<std::string> labels() const;

private:
    MemoryDocument* m_document;
    std::string m_label;
    std::vector<std::shared_ptr<MemoryPage>> m_pages;
};

// Spreads are labelled "spread1", "spread2", ... and pages "page1", "page2", ... in the order
// they are added to their document, duplicates included.
class MemoryDocument {
public:
    MemoryDocument(std::string label, double pageWidth, double pageHeight);
    MemoryDocument(const MemoryDocument&) = delete;
    MemoryDocument& operator=(const MemoryDocument&) = delete;

    const std::string& label() const { return m_label; }
    double pageWidth() const { return m_pageWidth; }
    double pageHeight() const { return m_pageHeight; }
    MemorySpread& addSpread();
    const std::vector<std::shared_ptr<MemorySpread>>& spreads() const { return m_spreads; }

private:
    friend class MemorySpread;

    std::string m_label;
    double m_pageWidth;
    double m_pageHeight;
    std::vector<std::shared_ptr<MemorySpread>> m_spreads;
    int m_pagesMade = 0;
};

}  // namespace host
