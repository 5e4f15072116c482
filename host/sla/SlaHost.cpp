#include "host/sla/SlaHost.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/HostError.h"
#include "host/sla/SlaDuplicate.h"
#include "host/sla/SlaItem.h"
#include "host/sla/read/SlaNumbers.h"

namespace host::sla {

namespace {

// The pages a spread object stands for: a row of the layout, read afresh as
// pages are added, or a duplicate's new page alone. A duplicate's items are
// the copies it made and nothing else: an item parked on the pasteboard where
// the new page was laid out, or a group naming the new page's index before it
// existed, is not the duplicate's to change.
struct SpreadScope {
    int row = 0;
    std::optional<int> page;
    // A duplicate's: every element of its copies, so that members of a copied
    // group still count once the group is dissolved.
    std::shared_ptr<const std::vector<NodeHandle>> copies;

    std::vector<int> pages(const SlaDocument& document) const {
        if (page) {
            return {*page};
        }
        return document.spreads().at(static_cast<std::size_t>(row));
    }
};

std::shared_ptr<const std::vector<NodeHandle>> handlesOf(
    SlaDocument& document, const std::vector<pugi::xml_node>& copies) {
    auto handles = std::make_shared<std::vector<NodeHandle>>();
    handles->reserve(copies.size());  // more only for the members of copied groups
    const std::function<void(pugi::xml_node)> add = [&](pugi::xml_node node) {
        handles->push_back(document.handle(node));
        for (pugi::xml_node child : node.children("PAGEOBJECT")) {
            add(child);  // nesting depth is bounded by the load checks
        }
    };
    for (pugi::xml_node copy : copies) {
        add(copy);
    }
    return handles;
}

class SlaPageItems : public PageItems {
public:
    SlaPageItems(std::shared_ptr<SlaDocument> document, SpreadScope scope)
        : m_document(std::move(document)), m_scope(std::move(scope)) {}

    std::vector<std::shared_ptr<PageItem>> enumerate() override {
        return m_scope.copies ? enumerateCopies() : enumeratePages();
    }

private:
    std::vector<std::shared_ptr<PageItem>> enumeratePages() {
        std::vector<std::shared_ptr<PageItem>> items;
        for (const PlacedItem& item : m_document->itemsOn(m_scope.pages(*m_document))) {
            items.push_back(
                std::make_shared<SlaItem>(m_document, m_document->handle(item.node), item.page));
        }
        return items;
    }

    // The copies now at the top level (members of a dissolved copy included), in document order.
    std::vector<std::shared_ptr<PageItem>> enumerateCopies() {
        const pugi::xml_node top = m_document->documentNode();
        std::vector<pugi::xml_node> copies;
        for (const auto& handle : *m_scope.copies) {
            if (m_document->alive(handle) && handle.node.parent() == top) {
                copies.push_back(handle.node);
            }
        }
        m_document->sortInDocumentOrder(copies);
        std::vector<std::shared_ptr<PageItem>> items;
        items.reserve(copies.size());
        for (pugi::xml_node node : copies) {
            items.push_back(
                std::make_shared<SlaItem>(m_document, m_document->handle(node), *m_scope.page));
        }
        return items;
    }

    std::shared_ptr<SlaDocument> m_document;
    SpreadScope m_scope;
};

class SlaPage : public Page {
public:
    SlaPage(std::shared_ptr<SlaDocument> document, int index)
        : m_document(std::move(document)), m_index(index) {}
    std::shared_ptr<Spread> duplicate() override;

private:
    std::shared_ptr<SlaDocument> m_document;
    int m_index;
};

class SlaPages : public Pages {
public:
    SlaPages(std::shared_ptr<SlaDocument> document, SpreadScope scope)
        : m_document(std::move(document)), m_scope(std::move(scope)) {}

    std::shared_ptr<Page> item(std::int16_t index) override {
        const std::vector<int> pages = m_scope.pages(*m_document);
        if (index < 1 || index > static_cast<int>(pages.size())) {
            throw HostError("The spread has no page " + std::to_string(index) + ".");
        }
        return std::make_shared<SlaPage>(m_document, pages[static_cast<std::size_t>(index - 1)]);
    }

private:
    std::shared_ptr<SlaDocument> m_document;
    SpreadScope m_scope;
};

class SlaSpread : public Spread {
public:
    SlaSpread(std::shared_ptr<SlaDocument> document, SpreadScope scope)
        : m_document(std::move(document)), m_scope(std::move(scope)) {}
    std::shared_ptr<PageItems> pageItems() override {
        return std::make_shared<SlaPageItems>(m_document, m_scope);
    }
    std::shared_ptr<Pages> pages() override {
        return std::make_shared<SlaPages>(m_document, m_scope);
    }

private:
    std::shared_ptr<SlaDocument> m_document;
    SpreadScope m_scope;
};

std::shared_ptr<Spread> SlaPage::duplicate() {
    const Duplicate made = duplicatePage(*m_document, m_index);
    return std::make_shared<SlaSpread>(m_document,
                                       SpreadScope{m_document->spreadOf(made.page), made.page,
                                                   handlesOf(*m_document, made.copies)});
}

class SlaWindow : public Window {
public:
    SlaWindow(std::shared_ptr<SlaDocument> document, int row)
        : m_document(std::move(document)), m_row(row) {}
    std::shared_ptr<Spread> activeSpread() override {
        return std::make_shared<SlaSpread>(m_document, SpreadScope{m_row, std::nullopt, nullptr});
    }

private:
    std::shared_ptr<SlaDocument> m_document;
    int m_row;
};

class SlaPreferences : public DocumentPreferences {
public:
    explicit SlaPreferences(std::shared_ptr<SlaDocument> document)
        : m_document(std::move(document)) {}
    double pageWidth() override { return m_document->pageWidth(); }
    double pageHeight() override { return m_document->pageHeight(); }

private:
    std::shared_ptr<SlaDocument> m_document;
};

class SlaDocumentObject : public Document {
public:
    explicit SlaDocumentObject(std::shared_ptr<SlaDocument> document)
        : m_document(std::move(document)) {}
    std::shared_ptr<DocumentPreferences> preferences() override {
        return std::make_shared<SlaPreferences>(m_document);
    }

private:
    std::shared_ptr<SlaDocument> m_document;
};

class SlaDocuments : public Documents {
public:
    explicit SlaDocuments(int count) : m_count(count) {}
    int count() override { return m_count; }

private:
    int m_count;
};

}  // namespace

std::shared_ptr<SlaHost> SlaHost::open(const std::vector<std::filesystem::path>& files,
                                       std::optional<int> activePage) {
    std::shared_ptr<SlaHost> host(new SlaHost());
    for (const auto& file : files) {
        host->m_documents.push_back(SlaDocument::load(file));
        // Pages that cannot be laid out are refused now, not at the first capture.
        host->m_documents.back()->indexItems();
    }
    if (activePage) {
        if (host->m_documents.empty()) {
            throw HostError("A page to show was given, but no document to open.");
        }
        const auto& active = host->m_documents.back();
        const auto count = static_cast<int>(active->pageNodes().size());
        if (*activePage < 1 || *activePage > count) {
            throw HostError("Cannot show page " + std::to_string(*activePage) + " of \"" +
                            active->path().string() + "\": it has " + std::to_string(count) +
                            (count == 1 ? " page." : " pages."));
        }
        host->m_activeSpread = active->spreadOf(*activePage - 1);
    }
    return host;
}

std::shared_ptr<Documents> SlaHost::documents() {
    return std::make_shared<SlaDocuments>(static_cast<int>(m_documents.size()));
}

std::shared_ptr<Document> SlaHost::activeDocument() {
    if (m_documents.empty()) {
        throw HostError("No document is open.");
    }
    return std::make_shared<SlaDocumentObject>(m_documents.back());
}

std::shared_ptr<Window> SlaHost::activeWindow() {
    if (m_documents.empty()) {
        throw HostError("No document is open, so there is no active window.");
    }
    return std::make_shared<SlaWindow>(m_documents.back(), m_activeSpread);
}

int SlaHost::lastAddedPage() const {
    if (m_documents.empty()) {
        return 0;
    }
    return static_cast<int>(m_documents.back()->pageNodes().size());
}

void SlaHost::saveChanged() {
    saveChangedDocuments(m_documents);
}

void registerSlaHost(HostConnection& connection, const std::shared_ptr<SlaHost>& host) {
    connection.choose(kHostName, [host] { return std::static_pointer_cast<Application>(host); });
}

}  // namespace host::sla
