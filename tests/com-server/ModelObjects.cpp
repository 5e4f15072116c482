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

// The page's Bounds in the current profile: its corner and size seen from the zero point. Every
// page is the size of the active document's pages, and rulers start afresh on every spread.
void answerPageBounds(VARIANT& result) {
    const ServerState& server = state();
    const host::MemoryDocument* document = server.host->activeDocument();
    if (document == nullptr) {
        throw CallRefused{E_FAIL};
    }
    const double sides[4] = {-server.zeroTop, -server.zeroLeft,
                             document->pageHeight() - server.zeroTop,
                             document->pageWidth() - server.zeroLeft};
    SAFEARRAY* array = SafeArrayCreateVector(VT_R8, 0, 4);
    for (LONG index = 0; index < 4; ++index) {
        SafeArrayPutElement(array, &index, const_cast<double*>(&sides[index]));
    }
    result.vt = VT_ARRAY | VT_R8;
    result.parray = array;
}

// A page of `spread`; the test host's spreads hold one page each, so the spread's items are the
// page's.
class PageObject : public ModelObject {
public:
    PageObject(std::shared_ptr<host::Page> page, std::shared_ptr<host::Spread> spread)
        : ModelObject(L"Page"), m_page(std::move(page)), m_spread(std::move(spread)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        if (id == ids::kDuplicate) {
            expectMethod(flags);
            auto copy = m_page->duplicate();
            // A current host gives the new page, 2.0 the spread that holds it.
            if (state().current) {
                answerObject(result, new PageObject(copy->pages()->item(1), copy));
            } else {
                answerObject(result, makeSpread(std::move(copy)));
            }
            return;
        }
        expectGet(flags);
        if (!state().current) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        if (id == ids::kPageItems) {
            answerObject(result, makePageItems(m_spread->pageItems()));
        } else if (id == ids::kBounds) {
            answerPageBounds(result);
        } else if (id == ids::kParent) {
            answerObject(result, makeSpread(m_spread));
        } else {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
    }

private:
    std::shared_ptr<host::Page> m_page;
    std::shared_ptr<host::Spread> m_spread;
};

class PagesObject : public ModelObject {
public:
    PagesObject(std::shared_ptr<host::Pages> pages, std::shared_ptr<host::Spread> spread)
        : ModelObject(L"Pages"), m_pages(std::move(pages)), m_spread(std::move(spread)) {}

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
        answerObject(result, new PageObject(m_pages->item(index.get().iVal), m_spread));
    }

private:
    std::shared_ptr<host::Pages> m_pages;
    std::shared_ptr<host::Spread> m_spread;
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
            answerObject(result, new PagesObject(m_spread->pages(), m_spread));
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

namespace ids {

DISPID fromCurrent(DISPID id) {
    switch (id) {
        case 0x1001:
            return kDocs;
        case 0x1002:
            return kActiveDocument;
        case 0x1003:
            return kActiveWindow;
        case 0x1004:
            return kCount;
        case 0x1005:
            return kPreferences;
        case 0x1006:
            return kPageWidth;
        case 0x1007:
            return kPageHeight;
        case 0x1008:
            return kActiveSpread;
        case 0x1009:
            return kPageItems;
        case 0x100A:
            return kPages;
        case 0x100B:
            return kDuplicate;
        case kBounds:
            return kBounds;
        case kParent:
            return kParent;
        case 0x100E:
            return kVisibleBounds;
        case 0x100F:
            return kRotationAngle;
        case 0x1010:
            return kUngroup;
        case DISPID_VALUE:
            return DISPID_VALUE;
        case DISPID_NEWENUM:
            return DISPID_NEWENUM;
        default:
            return DISPID_UNKNOWN;
    }
}

}  // namespace ids

}  // namespace testhost
