#include "host/memory/MemoryHostObjects.h"

#include <cmath>
#include <stdexcept>

#include "host/HostError.h"

namespace host::memory {

void HostState::enter(const std::string& call) {
    calls.push_back(call);
    for (FailRule& rule : failures) {
        if (rule.call != call) {
            continue;
        }
        ++rule.seen;
        if (rule.occurrence == 0 || rule.seen == rule.occurrence) {
            throw HostError("The host call " + call + " failed.");
        }
    }
}

namespace {

using StatePtr = std::shared_ptr<HostState>;

class MemoryPageItem : public PageItem {
public:
    MemoryPageItem(StatePtr state, std::shared_ptr<MemoryItem> item)
        : m_state(std::move(state)), m_item(std::move(item)) {}

    std::string typeName() override {
        enter("typeName");
        return m_item->typeName();
    }
    Bounds visibleBounds() override {
        enter("VisibleBounds");
        return m_item->bounds();
    }
    void setVisibleBounds(const Bounds& bounds) override {
        enter("VisibleBounds=");
        for (const double side : {bounds.top, bounds.left, bounds.bottom, bounds.right}) {
            requireFinite(side, "Visible bounds must be finite numbers.");
        }
        m_item->setBounds(bounds);
    }
    double rotationAngle() override {
        enter("RotationAngle");
        return m_item->rotation();
    }
    void setRotationAngle(double degrees) override {
        enter("RotationAngle=");
        requireFinite(degrees, "A rotation angle must be a finite number.");
        m_item->setRotation(degrees);
    }
    const MemoryItem& model() const { return *m_item; }

    void ungroup() override {
        enter("Ungroup");
        auto* group = dynamic_cast<MemoryGroup*>(m_item.get());
        if (group == nullptr) {
            throw HostError("Ungroup failed: " + m_item->label() + " is a " + m_item->typeName() +
                            ", not a group.");
        }
        group->ungroup();
    }

private:
    static void requireFinite(double value, const char* message) {
        if (!std::isfinite(value)) {
            throw HostError(message);
        }
    }

    // An item that has left the document (a dissolved group) answers no call, as in the host.
    void enter(const std::string& operation) {
        m_state->enter(m_item->label() + "." + operation);
        if (!m_item->exists()) {
            throw HostError("The page item " + m_item->label() + " no longer exists.");
        }
    }

    StatePtr m_state;
    std::shared_ptr<MemoryItem> m_item;
};

class MemoryPageItems : public PageItems {
public:
    MemoryPageItems(StatePtr state, MemorySpread& spread)
        : m_state(std::move(state)), m_spread(&spread) {}

    std::vector<std::shared_ptr<PageItem>> enumerate() override {
        m_state->enter(m_spread->label() + ".items.enumerate");
        std::vector<std::shared_ptr<PageItem>> result;
        for (auto& item : m_spread->items()) {
            result.push_back(std::make_shared<MemoryPageItem>(m_state, item));
        }
        return result;
    }

private:
    StatePtr m_state;
    MemorySpread* m_spread;
};

std::shared_ptr<Spread> makeSpread(StatePtr state, MemorySpread& spread);

class MemoryPageObject : public Page {
public:
    MemoryPageObject(StatePtr state, MemoryPage& page) : m_state(std::move(state)), m_page(&page) {}

    std::shared_ptr<Spread> duplicate() override {
        m_state->enter(m_page->label() + ".Duplicate");
        return makeSpread(m_state, m_page->duplicate());
    }

private:
    StatePtr m_state;
    MemoryPage* m_page;
};

class MemoryPages : public Pages {
public:
    MemoryPages(StatePtr state, MemorySpread& spread)
        : m_state(std::move(state)), m_spread(&spread) {}

    std::shared_ptr<Page> item(std::int16_t index) override {
        const std::string number = std::to_string(index);
        m_state->enter(m_spread->label() + ".pages.Item(" + number + ")");
        const auto& pages = m_spread->pages();
        if (index < 1 || static_cast<std::size_t>(index) > pages.size()) {
            throw HostError("The spread " + m_spread->label() + " has no page " + number + ".");
        }
        return std::make_shared<MemoryPageObject>(m_state,
                                                  *pages[static_cast<std::size_t>(index - 1)]);
    }

private:
    StatePtr m_state;
    MemorySpread* m_spread;
};

class MemorySpreadObject : public Spread {
public:
    MemorySpreadObject(StatePtr state, MemorySpread& spread)
        : m_state(std::move(state)), m_spread(&spread) {}

    std::shared_ptr<PageItems> pageItems() override {
        m_state->enter(m_spread->label() + ".pits");
        return std::make_shared<MemoryPageItems>(m_state, *m_spread);
    }
    std::shared_ptr<Pages> pages() override {
        m_state->enter(m_spread->label() + ".pags");
        return std::make_shared<MemoryPages>(m_state, *m_spread);
    }

private:
    StatePtr m_state;
    MemorySpread* m_spread;
};

std::shared_ptr<Spread> makeSpread(StatePtr state, MemorySpread& spread) {
    return std::make_shared<MemorySpreadObject>(std::move(state), spread);
}

class MemoryWindow : public Window {
public:
    explicit MemoryWindow(StatePtr state) : m_state(std::move(state)) {}

    // Asks the host afresh each time: the window may have been given another spread since.
    std::shared_ptr<Spread> activeSpread() override {
        m_state->enter("window.ActiveSpread");
        if (!m_state->windowOpen) {
            throw HostError("The window has been closed.");
        }
        if (m_state->windowSpread == nullptr) {
            throw HostError("The active window shows no spread.");
        }
        return makeSpread(m_state, *m_state->windowSpread);
    }

private:
    StatePtr m_state;
};

class MemoryPreferences : public DocumentPreferences {
public:
    MemoryPreferences(StatePtr state, MemoryDocument& document)
        : m_state(std::move(state)), m_document(&document) {}

    double pageWidth() override {
        m_state->enter(m_document->label() + ".prefs.pageWidth");
        return m_document->pageWidth();
    }
    double pageHeight() override {
        m_state->enter(m_document->label() + ".prefs.pageHeight");
        return m_document->pageHeight();
    }

private:
    StatePtr m_state;
    MemoryDocument* m_document;
};

class MemoryDocumentObject : public Document {
public:
    MemoryDocumentObject(StatePtr state, MemoryDocument& document)
        : m_state(std::move(state)), m_document(&document) {}

    std::shared_ptr<DocumentPreferences> preferences() override {
        m_state->enter(m_document->label() + ".dcpp");
        return std::make_shared<MemoryPreferences>(m_state, *m_document);
    }

private:
    StatePtr m_state;
    MemoryDocument* m_document;
};

class MemoryDocuments : public Documents {
public:
    explicit MemoryDocuments(StatePtr state) : m_state(std::move(state)) {}

    int count() override {
        m_state->enter("docs.Count");
        return static_cast<int>(m_state->documents.size());
    }

private:
    StatePtr m_state;
};

class MemoryApplication : public Application {
public:
    explicit MemoryApplication(StatePtr state) : m_state(std::move(state)) {}

    std::shared_ptr<Documents> documents() override {
        m_state->enter("app.docs");
        return std::make_shared<MemoryDocuments>(m_state);
    }
    std::shared_ptr<Document> activeDocument() override {
        m_state->enter("app.pacd");
        if (m_state->activeDocument == nullptr) {
            throw HostError("No document is open.");
        }
        return std::make_shared<MemoryDocumentObject>(m_state, *m_state->activeDocument);
    }
    std::shared_ptr<Window> activeWindow() override {
        m_state->enter("app.pacw");
        if (!m_state->windowOpen) {
            throw HostError("The host has no active window.");
        }
        return std::make_shared<MemoryWindow>(m_state);
    }

private:
    StatePtr m_state;
};

}  // namespace

std::string itemLabel(const PageItem& item) {
    const auto* own = dynamic_cast<const MemoryPageItem*>(&item);
    if (own == nullptr) {
        throw std::invalid_argument("The page item was not handed out by a MemoryHost.");
    }
    return own->model().label();
}

std::shared_ptr<Application> makeApplication(std::shared_ptr<HostState> state) {
    return std::make_shared<MemoryApplication>(std::move(state));
}

}  // namespace host::memory
