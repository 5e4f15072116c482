#include "host/com/ComObjects.h"

#include "host/HostError.h"
#include "host/com/HostErrors.h"
#include "host/com/ObjectModel.h"
#include "host/com/Values.h"

namespace host::com {

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
        return makeSpread(m_object.sharedConnection(), m_object.call(model::kDuplicate).get(),
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

class ComSpread : public Spread {
public:
    ComSpread(ConnectionPtr connection, ComPtr<IDispatch> object)
        : m_object(std::move(connection), std::move(object), "Spread") {}

    HostObject& object() { return m_object; }

    std::shared_ptr<PageItems> pageItems() override {
        return makePageItems(m_object.sharedConnection(), m_object.get(model::kPageItemsOf).get(),
                             m_object.operation(model::kPageItemsOf));
    }
    std::shared_ptr<Pages> pages() override {
        const std::string operation = m_object.operation(model::kPages);
        return std::make_shared<ComPages>(
            m_object.sharedConnection(),
            objectOf(m_object.get(model::kPages).get(), operation, "the spread's pages"));
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
        requireInterface(document->object(), model::kDocument, "active document", "document");
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

void requireInterface(HostObject& object, const GUID& iid, const std::string& what,
                      const char* name) {
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
    if (FAILED(result) || !answer) {
        throw HostError("The host's " + what + " does not support the " + name + " interface " +
                        textOf(iid) + " (HRESULT " + hresultText(result) + ").");
    }
}

std::shared_ptr<Application> makeApplication(ConnectionPtr connection, ComPtr<IDispatch> object) {
    auto application = std::make_shared<ComApplication>(std::move(connection), std::move(object));
    requireInterface(application->object(), model::kApplication, "application object",
                     "application");
    return application;
}

std::shared_ptr<Spread> makeSpread(ConnectionPtr connection, const VARIANT& value,
                                   const std::string& operation) {
    auto spread =
        std::make_shared<ComSpread>(std::move(connection), objectOf(value, operation, "a spread"));
    requireInterface(spread->object(), model::kSpread, "result of " + operation, "spread");
    return spread;
}

}  // namespace host::com
