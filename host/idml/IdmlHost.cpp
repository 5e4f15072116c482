#include "host/idml/IdmlHost.h"

#include <string>
#include <utility>

#include "host/HostError.h"
#include "host/idml/IdmlDuplicate.h"
#include "host/idml/IdmlGeometry.h"
#include "host/idml/IdmlItem.h"

namespace host::idml {

namespace {

// The spread a host object stands for, by its <Spread> element: its place
// among the spreads changes as spreads are added.
struct SpreadScope {
    std::shared_ptr<IdmlDocument> document;
    std::shared_ptr<NodeHandle> spread;
    bool copy = false;  // a duplicate's: every item on it is the copy's

    std::size_t index() const {
        if (!spread->alive) {
            throw HostError("The spread is no longer part of the document.");
        }
        return document->indexOf(spread->node);
    }
};

class IdmlPageItems : public PageItems {
public:
    explicit IdmlPageItems(SpreadScope scope) : m_scope(std::move(scope)) {}

    std::vector<std::shared_ptr<PageItem>> enumerate() override {
        IdmlDocument& document = *m_scope.document;
        const std::size_t index = m_scope.index();
        const auto page = document.handle(document.pagesOf(index).front());
        std::vector<std::shared_ptr<PageItem>> items;
        for (pugi::xml_node node : itemsOnFirstPage(document, index)) {
            items.push_back(
                std::make_shared<IdmlItem>(m_scope.document, document.handle(node), page));
        }
        return items;
    }

private:
    SpreadScope m_scope;
};

class IdmlPage : public Page {
public:
    IdmlPage(SpreadScope scope, IdmlHost& host, std::shared_ptr<NodeHandle>& lastAdded)
        : m_scope(std::move(scope)), m_host(host.shared_from_this()), m_lastAdded(lastAdded) {}
    std::shared_ptr<Spread> duplicate() override;

private:
    SpreadScope m_scope;
    std::shared_ptr<IdmlHost> m_host;  // keeps m_lastAdded alive
    std::shared_ptr<NodeHandle>& m_lastAdded;
};

class IdmlSpread : public Spread {
public:
    IdmlSpread(SpreadScope scope, IdmlHost& host, std::shared_ptr<NodeHandle>& lastAdded)
        : m_scope(std::move(scope)), m_host(host), m_lastAdded(lastAdded) {}
    std::shared_ptr<PageItems> pageItems() override {
        return std::make_shared<IdmlPageItems>(m_scope);
    }
    std::shared_ptr<Pages> pages() override;

private:
    SpreadScope m_scope;
    IdmlHost& m_host;
    std::shared_ptr<NodeHandle>& m_lastAdded;
};

class IdmlPages : public Pages {
public:
    IdmlPages(SpreadScope scope, IdmlHost& host, std::shared_ptr<NodeHandle>& lastAdded)
        : m_scope(std::move(scope)), m_host(host), m_lastAdded(lastAdded) {}

    std::shared_ptr<Page> item(std::int16_t index) override {
        const auto count = static_cast<int>(m_scope.document->pagesOf(m_scope.index()).size());
        if (index < 1 || index > count) {
            throw HostError("The spread has no page " + std::to_string(index) + ".");
        }
        if (index != 1) {
            throw HostError("Only the first page of a spread can be duplicated.");
        }
        return std::make_shared<IdmlPage>(m_scope, m_host, m_lastAdded);
    }

private:
    SpreadScope m_scope;
    IdmlHost& m_host;
    std::shared_ptr<NodeHandle>& m_lastAdded;
};

std::shared_ptr<Pages> IdmlSpread::pages() {
    return std::make_shared<IdmlPages>(m_scope, m_host, m_lastAdded);
}

std::shared_ptr<Spread> IdmlPage::duplicate() {
    IdmlDocument& document = *m_scope.document;
    const Duplicate made = duplicateFirstPage(document, m_scope.index());
    m_lastAdded = document.handle(made.page);
    SpreadScope scope{m_scope.document, document.handle(document.spread(made.spread).spread), true};
    return std::make_shared<IdmlSpread>(std::move(scope), *m_host, m_lastAdded);
}

class IdmlWindow : public Window {
public:
    IdmlWindow(SpreadScope scope, IdmlHost& host, std::shared_ptr<NodeHandle>& lastAdded)
        : m_scope(std::move(scope)), m_host(host), m_lastAdded(lastAdded) {}
    std::shared_ptr<Spread> activeSpread() override {
        return std::make_shared<IdmlSpread>(m_scope, m_host, m_lastAdded);
    }

private:
    SpreadScope m_scope;
    IdmlHost& m_host;
    std::shared_ptr<NodeHandle>& m_lastAdded;
};

// The sheet's size: its page's, in host units.
class IdmlPreferences : public DocumentPreferences {
public:
    IdmlPreferences(std::shared_ptr<IdmlDocument> document, std::shared_ptr<NodeHandle> spread)
        : m_document(std::move(document)), m_spread(std::move(spread)) {}
    double pageWidth() override { return place().width / m_document->unit(); }
    double pageHeight() override { return place().height / m_document->unit(); }

private:
    PagePlace place() const {
        const SpreadScope scope{m_document, m_spread, false};
        return m_document->placeOf(m_document->pagesOf(scope.index()).front());
    }
    std::shared_ptr<IdmlDocument> m_document;
    std::shared_ptr<NodeHandle> m_spread;
};

class IdmlDocumentObject : public Document {
public:
    IdmlDocumentObject(std::shared_ptr<IdmlDocument> document, std::shared_ptr<NodeHandle> spread)
        : m_document(std::move(document)), m_spread(std::move(spread)) {}
    std::shared_ptr<DocumentPreferences> preferences() override {
        return std::make_shared<IdmlPreferences>(m_document, m_spread);
    }

private:
    std::shared_ptr<IdmlDocument> m_document;
    std::shared_ptr<NodeHandle> m_spread;
};

class IdmlDocuments : public Documents {
public:
    explicit IdmlDocuments(int count) : m_count(count) {}
    int count() override { return m_count; }

private:
    int m_count;
};

}  // namespace

std::shared_ptr<IdmlHost> IdmlHost::open(const std::vector<std::filesystem::path>& files,
                                         std::optional<int> activePage) {
    std::shared_ptr<IdmlHost> host(new IdmlHost());
    for (const auto& file : files) {
        host->m_documents.push_back(IdmlDocument::load(file));
    }
    if (host->m_documents.empty()) {
        if (activePage) {
            throw HostError("A page to show was given, but no document to open.");
        }
        return host;
    }
    const auto& active = host->m_documents.back();
    std::size_t spread = 0;
    if (activePage) {
        const int count = active->pageCount();
        if (*activePage < 1 || *activePage > count) {
            throw HostError("Cannot show page " + std::to_string(*activePage) + " of \"" +
                            active->path().string() + "\": it has " + std::to_string(count) +
                            (count == 1 ? " page." : " pages."));
        }
        spread = active->spreadOfPage(*activePage - 1);
    }
    host->m_activeSpread = active->handle(active->spread(spread).spread);
    return host;
}

std::shared_ptr<Documents> IdmlHost::documents() {
    return std::make_shared<IdmlDocuments>(static_cast<int>(m_documents.size()));
}

std::shared_ptr<Document> IdmlHost::activeDocument() {
    if (m_documents.empty()) {
        throw HostError("No document is open.");
    }
    return std::make_shared<IdmlDocumentObject>(m_documents.back(), m_activeSpread);
}

std::shared_ptr<Window> IdmlHost::activeWindow() {
    if (m_documents.empty()) {
        throw HostError("No document is open, so there is no active window.");
    }
    return std::make_shared<IdmlWindow>(SpreadScope{m_documents.back(), m_activeSpread, false},
                                        *this, m_lastAdded);
}

int IdmlHost::lastAddedPage() const {
    if (m_documents.empty() || !m_lastAdded || !m_lastAdded->alive) {
        return 0;
    }
    const IdmlDocument& document = *m_documents.back();
    int place = 0;
    for (std::size_t i = 0; i < document.spreadCount(); ++i) {
        for (pugi::xml_node page : document.pagesOf(i)) {
            ++place;
            if (page == m_lastAdded->node) {
                return place;
            }
        }
    }
    return 0;
}

void IdmlHost::saveChanged() {
    saveChangedDocuments(m_documents);
}

void registerIdmlHost(HostConnection& connection, const std::shared_ptr<IdmlHost>& host) {
    connection.choose(kHostName, [host] { return std::static_pointer_cast<Application>(host); });
}

}  // namespace host::idml
