#include <cmath>
#include <string>
#include <vector>

#include "ModelObjects.h"

namespace testhost {

namespace {

using host::com::Variant;

Variant vectorOf(VARTYPE type, LONG low, const std::vector<double>& values) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(values.size()), low};
    host::com::SafeArray array(SafeArrayCreate(type, 1, &bound));
    for (LONG index = 0; index < static_cast<LONG>(values.size()); ++index) {
        LONG at = low + index;
        Variant element(values[static_cast<std::size_t>(index)]);
        SafeArrayPutElement(array.get(), &at,
                            type == VT_VARIANT ? static_cast<void*>(&element.get())
                                               : static_cast<void*>(&element.get().dblVal));
    }
    return array.toVariant(type);
}

// VisibleBounds in the form the tests chose.
void answerBounds(const host::Bounds& bounds, VARIANT& result) {
    const std::string& form = state().boundsForm;
    std::vector<double> values{bounds.top, bounds.left, bounds.bottom, bounds.right};
    if (form == "text") {
        result.vt = VT_BSTR;
        result.bstrVal = SysAllocString(L"0, 0, 1, 1");
    } else if (form == "matrix") {
        SAFEARRAYBOUND sides[2] = {{2, 0}, {2, 0}};
        result = host::com::SafeArray(SafeArrayCreate(VT_R8, 2, sides)).toVariant(VT_R8).release();
    } else {
        if (form == "three") {
            values.pop_back();
        }
        const VARTYPE type = form.rfind("variants", 0) == 0 ? VT_VARIANT : VT_R8;
        result = vectorOf(type, form.back() == '1' ? 1 : 0, values).release();
    }
}

// The bounds of a put: four numbers in an array of doubles or of variants; `form` says which.
host::Bounds boundsPut(const VARIANT& value, std::string& form) {
    const VARTYPE type = static_cast<VARTYPE>(value.vt & VT_TYPEMASK);
    LONG low = 0, high = -1;
    if ((value.vt & VT_ARRAY) == 0 || (value.vt & VT_BYREF) != 0 ||
        (type != VT_R8 && type != VT_VARIANT) || SafeArrayGetDim(value.parray) != 1 ||
        FAILED(SafeArrayGetLBound(value.parray, 1, &low)) ||
        FAILED(SafeArrayGetUBound(value.parray, 1, &high)) || high - low != 3) {
        throw CallRefused{DISP_E_TYPEMISMATCH};
    }
    double sides[4] = {};
    for (LONG index = low; index <= high; ++index) {
        Variant element;
        if (type == VT_VARIANT) {
            SafeArrayGetElement(value.parray, &index, element.put());
        } else {
            element.put()->vt = VT_R8;
            SafeArrayGetElement(value.parray, &index, &element.get().dblVal);
        }
        if (FAILED(VariantChangeType(&element.get(), &element.get(), 0, VT_R8))) {
            throw CallRefused{DISP_E_TYPEMISMATCH};
        }
        sides[index - low] = element.get().dblVal;
    }
    form = std::string(type == VT_R8 ? "double" : "variant") + "[" + std::to_string(low) + ".." +
           std::to_string(high) + "]";
    return {sides[0], sides[1], sides[2], sides[3]};
}

// The current profile reports bounds from the zero point and angles in (-180, 180].
// Page coordinates as the rulers give them.
host::Bounds reportedBounds(const host::Bounds& bounds) {
    const ServerState& server = state();
    if (!server.current) {
        return bounds;
    }
    return {bounds.top - server.zeroTop, bounds.left - server.zeroLeft,
            bounds.bottom - server.zeroTop, bounds.right - server.zeroLeft};
}

// Ruler coordinates as page coordinates.
host::Bounds placedBounds(const host::Bounds& bounds) {
    const ServerState& server = state();
    if (!server.current) {
        return bounds;
    }
    return {bounds.top + server.zeroTop, bounds.left + server.zeroLeft,
            bounds.bottom + server.zeroTop, bounds.right + server.zeroLeft};
}

double reportedAngle(double degrees) {
    if (!state().current) {
        return degrees;
    }
    double reported = std::fmod(degrees, 360.0);
    if (reported > 180) {
        reported -= 360;
    } else if (reported <= -180) {
        reported += 360;
    }
    return reported;
}

double numberPut(const VARIANT& value) {
    Variant number;
    if (FAILED(VariantChangeType(number.put(), const_cast<VARIANT*>(&value), 0, VT_R8))) {
        throw CallRefused{DISP_E_TYPEMISMATCH};
    }
    return number.get().dblVal;
}

// Every page item class has the same members with the same ids; Rectangle's answer for all.
class PageItemObject : public ModelObject {
public:
    explicit PageItemObject(std::shared_ptr<host::PageItem> item)
        : ModelObject(L"Rectangle", false), m_item(std::move(item)) {}

protected:
    // The class is the host's type name: asking for the type information is that host call.
    ITypeInfo* currentTypeInfo() override {
        const std::string name = m_item->typeName();
        if (name == "Line" && state().current) {
            return state().typeInfo(L"GraphicLine");
        }
        return state().typeInfo(host::com::wideOf(name == "Polygon" ? "_Polygon" : name));
    }

    void member(DISPID id, WORD flags, DISPPARAMS& parameters, VARIANT& result) override {
        const bool put = (flags & DISPATCH_PROPERTYPUT) != 0;
        if (id == ids::kVisibleBounds && put) {
            std::string form;
            const host::Bounds bounds = boundsPut(putValue(flags, parameters), form);
            m_item->setVisibleBounds(placedBounds(bounds));
            state().puts.push_back(state().lastCall() + " " + form);
        } else if (id == ids::kVisibleBounds) {
            expectGet(flags);
            answerBounds(reportedBounds(m_item->visibleBounds()), result);
        } else if (id == ids::kRotationAngle && put) {
            m_item->setRotationAngle(numberPut(putValue(flags, parameters)));
        } else if (id == ids::kRotationAngle) {
            expectGet(flags);
            result.vt = VT_R8;
            result.dblVal = reportedAngle(m_item->rotationAngle());
        } else if (id == ids::kUngroup) {
            expectMethod(flags);
            m_item->ungroup();
        } else {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
    }

private:
    std::shared_ptr<host::PageItem> m_item;
};

class ItemEnumerator : public ComObject<IEnumVARIANT>, private Counted {
public:
    using Items = std::shared_ptr<const std::vector<Variant>>;
    explicit ItemEnumerator(Items items, std::size_t position = 0)
        : m_items(std::move(items)), m_position(position) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        state().count("fetches");
        ULONG done = 0;
        for (; done < count && m_position < m_items->size(); ++done, ++m_position) {
            VariantInit(&items[done]);
            VariantCopy(&items[done], const_cast<VARIANT*>(&(*m_items)[m_position].get()));
        }
        if (fetched != nullptr) {
            *fetched = done;
        }
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        m_position = std::min(m_items->size(), m_position + count);
        return m_position < m_items->size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        *copy = new ItemEnumerator(m_items, m_position);
        return S_OK;
    }

protected:
    bool answers(REFIID iid) const override {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumVARIANT);
    }

private:
    Items m_items;
    std::size_t m_position;
};

class PageItemsObject : public ModelObject {
public:
    explicit PageItemsObject(std::shared_ptr<host::PageItems> items)
        : ModelObject(L"PageItems"), m_items(std::move(items)) {}

protected:
    void member(DISPID id, WORD flags, DISPPARAMS&, VARIANT& result) override {
        if (id != DISPID_NEWENUM) {
            throw CallRefused{DISP_E_MEMBERNOTFOUND};
        }
        expectGet(flags);
        auto items = std::make_shared<std::vector<Variant>>();
        for (auto& item : m_items->enumerate()) {
            Variant& entry = items->emplace_back();
            answerObject(*entry.put(), new PageItemObject(std::move(item)));
        }
        result.vt = VT_UNKNOWN;
        result.punkVal = new ItemEnumerator(std::move(items));
    }

private:
    std::shared_ptr<host::PageItems> m_items;
};

}  // namespace

IDispatch* makePageItems(std::shared_ptr<host::PageItems> items) {
    return new PageItemsObject(std::move(items));
}

}  // namespace testhost
