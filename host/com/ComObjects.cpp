#include "host/com/ComObjects.h"

#include "host/HostError.h"
#include "host/com/HostErrors.h"
#include "host/com/ObjectModel.h"
#include "host/com/Values.h"

namespace host::com {

// What Page.Duplicate() gives: a spread, or on a later host the new page.
std::shared_ptr<Spread> makeDuplicate(std::shared_ptr<Connection> connection, const VARIANT& value,
                                      const std::string& operation);

namespace {

using ConnectionPtr = std::shared_ptr<Connection>;

class ComDocuments : public Documents {
public:
    ComDocuments(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Documents") {}

    int count() override {
        return static_cast<int>(
            integerOf(m_object.get(model::kCount).get(), m_object.operation(model::kCount)));
    }

private:
    HostObject m_object;
};

class ComPreferences : public DocumentPreferences {
public:
    ComPreferences(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "DocumentPreferences") {}

    double pageWidth() override { return number(model::kPageWidth); }
    double pageHeight() override { return number(model::kPageHeight); }

private:
    double number(const Member& member) {
        return numberOf(m_object.get(member).get(), m_object.operation(member));
    }

    HostObject m_object;
};

class ComDocument : public Document {
public:
    ComDocument(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Document") {}

    HostObject& object() { return m_object; }

    std::shared_ptr<DocumentPreferences> preferences() override {
        const std::string operation = m_object.operation(model::kPreferences);
        return std::make_shared<ComPreferences>(
            m_object.sharedConnection(),
            objectOf(m_object.get(model::kPreferences).get(), operation, "document preferences"));
    }

private:
    HostObject m_object;
};

class ComPage : public Page {
public:
    ComPage(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Page") {}

    std::shared_ptr<Spread> duplicate() override {
        return makeDuplicate(m_object.sharedConnection(), m_object.call(model::kDuplicate).get(),
                             m_object.operation(model::kDuplicate, "()"));
    }

private:
    HostObject m_object;
};

class ComPages : public Pages {
public:
    ComPages(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Pages") {}

    std::shared_ptr<Page> item(std::int16_t index) override {
        Variant argument(static_cast<short>(index));
        const std::string operation =
            m_object.operation(model::kItem, ("(" + std::to_string(index) + ")").c_str());
        return std::make_shared<ComPage>(
            m_object.sharedConnection(),
            objectOf(m_object.get(model::kItem, {&argument}).get(), operation, "a page"));
    }

private:
    HostObject m_object;
};

// On a later host, the sheet page's corner from its Bounds; 2.0 has none and gives bounds from the
// page's corner, as does a page without Bounds.
std::optional<Origin> originOf(HostObject& page) {
    if (page.connection().original()) {
        return std::nullopt;
    }
    const std::optional<Variant> bounds = page.getIfKnown(model::kBounds);
    if (!bounds) {
        return Origin{};
    }
    const Bounds corners = boundsOf(bounds->get(), page.operation(model::kBounds));
    return Origin{corners.top, corners.left};
}

class ComSpread : public Spread {
public:
    ComSpread(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Spread") {}

    HostObject& object() { return m_object; }

    // The items as seen from the corner of the spread's first page, the sheet.
    std::shared_ptr<PageItems> pageItems() override {
        const std::optional<Origin> origin = firstPageOrigin();
        return makePageItems(m_object.sharedConnection(), m_object.get(model::kPageItemsOf).get(),
                             m_object.operation(model::kPageItemsOf), origin);
    }
    std::shared_ptr<Pages> pages() override {
        const std::string operation = m_object.operation(model::kPages);
        return std::make_shared<ComPages>(
            m_object.sharedConnection(),
            objectOf(m_object.get(model::kPages).get(), operation, "the spread's pages"));
    }

private:
    std::optional<Origin> firstPageOrigin() {
        if (m_object.connection().original()) {
            return std::nullopt;
        }
        const std::string operation = m_object.operation(model::kPages);
        HostObject pages(
            m_object.sharedConnection(),
            objectOf(m_object.get(model::kPages).get(), operation, "the spread's pages"), "Pages");
        Variant first(static_cast<short>(1));
        HostObject page(m_object.sharedConnection(),
                        objectOf(pages.get(model::kItem, {&first}).get(),
                                 pages.operation(model::kItem, "(1)"), "a page"),
                        "Page");
        return originOf(page);
    }

    HostObject m_object;
};

// A page standing for the spread that Duplicate gives on a later host: its own items and corner,
// and the pages of the spread that holds it.
class ComPageSpread : public Spread {
public:
    ComPageSpread(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Page") {}

    std::shared_ptr<PageItems> pageItems() override {
        const std::optional<Origin> origin = originOf(m_object);
        return makePageItems(m_object.sharedConnection(), m_object.get(model::kPageItemsOf).get(),
                             m_object.operation(model::kPageItemsOf), origin);
    }
    std::shared_ptr<Pages> pages() override {
        return makeSpread(m_object.sharedConnection(), m_object.get(model::kParent).get(),
                          m_object.operation(model::kParent))
            ->pages();
    }

private:
    HostObject m_object;
};

class ComWindow : public Window {
public:
    ComWindow(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Window") {}

    std::shared_ptr<Spread> activeSpread() override {
        return makeSpread(m_object.sharedConnection(), m_object.get(model::kActiveSpread).get(),
                          m_object.operation(model::kActiveSpread));
    }

private:
    HostObject m_object;
};

class ComApplication : public Application {
public:
    ComApplication(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Application") {}

    HostObject& object() { return m_object; }

    std::shared_ptr<Documents> documents() override {
        return std::make_shared<ComDocuments>(m_object.sharedConnection(),
                                              objectFor(model::kDocs, "the open documents"));
    }
    std::shared_ptr<Document> activeDocument() override {
        auto document = std::make_shared<ComDocument>(
            m_object.sharedConnection(), objectFor(model::kActiveDocument, "a document"));
        requireInterface(document->object(), model::kDocument, model::kDocumentClass,
                         "active document", "document");
        return document;
    }
    std::shared_ptr<Window> activeWindow() override {
        return std::make_shared<ComWindow>(m_object.sharedConnection(),
                                           objectFor(model::kActiveWindow, "a window"));
    }

private:
    ComPtr<IDispatch> objectFor(const Member& member, const char* expected) {
        return objectOf(m_object.get(member).get(), m_object.operation(member), expected);
    }

    HostObject m_object;
};

}  // namespace

namespace {

HRESULT queryIdentity(HostObject& object, const GUID& iid) {
    Connection& link = object.connection();
    IDispatch* dispatch = object.dispatch();
    ComPtr<IUnknown> answer;
    const HRESULT result = link.send([&] {
        ++link.counts().identityChecks;
        return dispatch->QueryInterface(iid, answer.putVoid());
    });
    if (Connection::isBusy(result)) {
        throwCallFailed(object.kind() + " interface query", result);
    }
    return SUCCEEDED(result) && !answer ? E_NOINTERFACE : result;
}

bool isOfClass(HostObject& object, const char* className) {
    const auto name =
        object.connection().classNameIfAny(object.dispatch(), object.kind() + " type name");
    return name && *name == className;
}

[[noreturn]] void throwNotSupported(const std::string& what, const char* name, const GUID& iid,
                                    HRESULT result) {
    throw HostError("The host's " + what + " does not support the " + name + " interface " +
                    textOf(iid) + " (HRESULT " + hresultText(result) + ").");
}

}  // namespace

void requireInterface(HostObject& object, const GUID& iid, const char* className,
                      const std::string& what, const char* name) {
    const HRESULT result = queryIdentity(object, iid);
    if (SUCCEEDED(result)) {
        return;
    }
    if (!object.connection().original() && isOfClass(object, className)) {
        return;
    }
    throwNotSupported(what, name, iid, result);
}

std::shared_ptr<Application> makeApplication(ConnectionPtr connection, ComPtr<IDispatch> object) {
    auto application = std::make_shared<ComApplication>(std::move(connection), std::move(object));
    HostObject& host = application->object();
    // 2.0 is known by its identity; a later version by the class its type information names.
    const HRESULT result = queryIdentity(host, model::kApplication);
    host.connection().setOriginal(SUCCEEDED(result));
    if (FAILED(result) && !isOfClass(host, model::kApplicationClass)) {
        host.connection().setOriginal(true);
        throwNotSupported("application object", "application", model::kApplication, result);
    }
    return application;
}

std::shared_ptr<Spread> makeSpread(ConnectionPtr connection, const VARIANT& value,
                                   const std::string& operation) {
    auto spread =
        std::make_shared<ComSpread>(std::move(connection), objectOf(value, operation, "a spread"));
    requireInterface(spread->object(), model::kSpread, model::kSpreadClass,
                     "result of " + operation, "spread");
    return spread;
}

std::shared_ptr<Spread> makeDuplicate(ConnectionPtr connection, const VARIANT& value,
                                      const std::string& operation) {
    if (connection->original()) {
        return makeSpread(std::move(connection), value, operation);
    }
    ComPtr<IDispatch> copy = objectOf(value, operation, "a spread or a page");
    auto spread = std::make_shared<ComSpread>(connection, copy);
    const HRESULT result = queryIdentity(spread->object(), model::kSpread);
    if (SUCCEEDED(result) || isOfClass(spread->object(), model::kSpreadClass)) {
        return spread;
    }
    // A later host gives the new page itself.
    if (isOfClass(spread->object(), model::kPageClass)) {
        return std::make_shared<ComPageSpread>(std::move(connection), std::move(copy));
    }
    throwNotSupported("result of " + operation, "spread", model::kSpread, result);
}

}  // namespace host::com
