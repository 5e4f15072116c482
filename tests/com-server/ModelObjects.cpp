#include "ModelObjects.h"

namespace testhost {

namespace {

class PreferencesObject : public ModelObject {
public:
    explicit PreferencesObject(std::shared_ptr<host::DocumentPreferences> preferences)
        : ModelObject(L"DocumentPreferences"), m_preferences(std::move(preferences)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectGet(flags);
        if (id != ids::kPageWidth && id != ids::kPageHeight) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        result.vt = VT_R8;
        result.dblVal =
            id == ids::kPageWidth ? m_preferences->pageWidth() : m_preferences->pageHeight();
    }

private:
    std::shared_ptr<host::DocumentPreferences> m_preferences;
};

class DocumentObject : public ModelObject {
public:
    explicit DocumentObject(std::shared_ptr<host::Document> document)
        : ModelObject(L"Document"), m_document(std::move(document)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectGet(flags);
        if (id != ids::kPreferences) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        answerObject(result, new PreferencesObject(m_document->preferences()));
    }

private:
    std::shared_ptr<host::Document> m_document;
};

class DocumentsObject : public ModelObject {
public:
    explicit DocumentsObject(std::shared_ptr<host::Documents> documents)
        : ModelObject(L"Documents"), m_documents(std::move(documents)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectGet(flags);
        if (id != ids::kCount) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        result.vt = VT_I4;
        result.lVal = m_documents->count();
    }

private:
    std::shared_ptr<host::Documents> m_documents;
};

class PageObject : public ModelObject {
public:
    explicit PageObject(std::shared_ptr<host::Page> page)
        : ModelObject(L"Page"), m_page(std::move(page)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectMethod(flags);
        if (id != ids::kDuplicate) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        answerObject(result, makeSpread(m_page->duplicate()));
    }

private:
    std::shared_ptr<host::Page> m_page;
};

class PagesObject : public ModelObject {
public:
    explicit PagesObject(std::shared_ptr<host::Pages> pages)
        : ModelObject(L"Pages"), m_pages(std::move(pages)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS& parameters, VARIANT& result) override {
        expectGet(flags);
        if (id != DISPID_VALUE) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        if (parameters.cArgs != 1 || parameters.cNamedArgs != 0) {
            throw CallRefused{DISP_E_BADPARAMCOUNT};
        }
        host::com::Variant index;
        if (FAILED(VariantChangeType(index.put(), &parameters.rgvarg[0], 0, VT_I2))) {
            throw CallRefused{DISP_E_TYPEMISMATCH};
        }
        answerObject(result, new PageObject(m_pages->item(index.get().iVal)));
    }

private:
    std::shared_ptr<host::Pages> m_pages;
};

class SpreadObject : public ModelObject {
public:
    explicit SpreadObject(std::shared_ptr<host::Spread> spread)
        : ModelObject(L"Spread"), m_spread(std::move(spread)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectGet(flags);
        if (id == ids::kPageItems) {
            answerObject(result, makePageItems(m_spread->pageItems()));
        } else if (id == ids::kPages) {
            answerObject(result, new PagesObject(m_spread->pages()));
        } else {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
    }

private:
    std::shared_ptr<host::Spread> m_spread;
};

class WindowObject : public ModelObject {
public:
    explicit WindowObject(std::shared_ptr<host::Window> window)
        : ModelObject(L"Window"), m_window(std::move(window)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectGet(flags);
        if (id != ids::kActiveSpread) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        answerObject(result, makeSpread(m_window->activeSpread()));
    }

private:
    std::shared_ptr<host::Window> m_window;
};

class ApplicationObject : public ModelObject {
public:
    ApplicationObject() : ModelObject(L"Application") {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        expectGet(flags);
        const auto application = state().host->application();
        if (id == ids::kDocs) {
            answerObject(result, new DocumentsObject(application->documents()));
        } else if (id == ids::kActiveDocument) {
            answerObject(result, new DocumentObject(application->activeDocument()));
        } else if (id == ids::kActiveWindow) {
            answerObject(result, new WindowObject(application->activeWindow()));
        } else {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
    }
};

}  // namespace

IDispatch* makeApplication() {
    return new ApplicationObject();
}

IDispatch* makeSpread(std::shared_ptr<host::Spread> spread) {
    return new SpreadObject(std::move(spread));
}

}  // namespace testhost
