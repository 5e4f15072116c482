#include <algorithm>
#include <vector>

#include "host/HostError.h"
#include "host/com/ComObjects.h"
#include "host/com/HostErrors.h"
#include "host/com/ObjectModel.h"
#include "host/com/Values.h"

namespace host::com {

namespace {

using ConnectionPtr = std::shared_ptr<Connection>;

// Until its class is known an item's members are looked up under this name.
constexpr const char* kUnknownClass = "PageItem";
// A later host's name for the class 2.0 calls "Line".
constexpr const char* kGraphicLine = "GraphicLine";

class ComPageItem : public PageItem {
public:
    ComPageItem(ConnectionPtr connection, ComPtr<IDispatch> object, std::optional<Origin> origin)
        : m_object(std::move(connection), std::move(object), kUnknownClass), m_origin(origin) {}

    std::string typeName() override {
        std::string name =
            m_object.connection().className(m_object.dispatch(), m_object.kind() + " type name");
        m_object.setKind(name);
        m_classKnown = true;
        return name == kGraphicLine ? "Line" : name;
    }
    Bounds visibleBounds() override {
        knowClass();
        Bounds bounds = boundsOf(m_object.get(model::kVisibleBounds).get(),
                                 m_object.operation(model::kVisibleBounds));
        if (m_origin) {
            bounds = {bounds.top - m_origin->top, bounds.left - m_origin->left,
                      bounds.bottom - m_origin->top, bounds.right - m_origin->left};
        }
        return bounds;
    }
    // Rectangles take their bounds as variants and lines as doubles, as the original tool sent
    // them; a host that looks at the element type sees the same.
    void setVisibleBounds(const Bounds& bounds) override {
        knowClass();
        Bounds placed = bounds;
        if (m_origin) {
            placed = {bounds.top + m_origin->top, bounds.left + m_origin->left,
                      bounds.bottom + m_origin->top, bounds.right + m_origin->left};
        }
        m_object.put(model::kVisibleBounds, m_object.kind() == "Rectangle" ? variantArrayOf(placed)
                                                                           : doubleArrayOf(placed));
    }
    // 2.0 reports angles in [0, 360), as the tool's geometry takes them; a later host in
    // (-180, 180], brought back into [0, 360) here.
    double rotationAngle() override {
        knowClass();
        const double degrees = numberOf(m_object.get(model::kRotationAngle).get(),
                                        m_object.operation(model::kRotationAngle));
        return m_object.connection().original() ? degrees : angleWithinTurn(degrees);
    }
    void setRotationAngle(double degrees) override {
        knowClass();
        m_object.put(model::kRotationAngle, Variant(degrees));
    }
    void ungroup() override {
        knowClass();
        m_object.call(model::kUngroup);
    }

private:
    // Member ids belong to the item's class: an item used before its type name was asked asks it.
    void knowClass() {
        if (!m_classKnown) {
            typeName();
        }
    }

    HostObject m_object;
    std::optional<Origin> m_origin;
    bool m_classKnown = false;
};

// The VARIANTs one fetch fills, cleared however the fetch ends.
class FetchBuffer {
public:
    explicit FetchBuffer(unsigned long size) : m_items(size) {
        for (VARIANT& item : m_items) {
            VariantInit(&item);
        }
    }
    ~FetchBuffer() { clear(); }
    FetchBuffer(const FetchBuffer&) = delete;
    FetchBuffer& operator=(const FetchBuffer&) = delete;

    VARIANT* data() { return m_items.data(); }
    const VARIANT& operator[](std::size_t index) const { return m_items[index]; }
    void clear() {
        for (VARIANT& item : m_items) {
            VariantClear(&item);
        }
    }

private:
    std::vector<VARIANT> m_items;
};

class ComPageItems : public PageItems {
public:
    ComPageItems(ConnectionPtr connection, ComPtr<IDispatch> object, std::optional<Origin> origin)
        : m_object(std::move(connection), std::move(object), "PageItems"), m_origin(origin) {}

    HostObject& object() { return m_object; }

    std::vector<std::shared_ptr<PageItem>> enumerate() override {
        const std::string operation = m_object.operation(model::kNewEnum);
        ComPtr<IEnumVARIANT> enumerator = enumeratorOf(m_object.get(model::kNewEnum), operation);
        Connection& link = m_object.connection();
        const unsigned long batch = std::max(1ul, link.options().enumerationBatch);
        FetchBuffer buffer(batch);
        std::vector<std::shared_ptr<PageItem>> items;
        HRESULT result = S_OK;
        while (result == S_OK) {
            ULONG fetched = 0;
            result = link.send([&] {
                ++link.counts().fetches;
                return enumerator->Next(batch, buffer.data(), &fetched);
            });
            if (FAILED(result)) {
                throwCallFailed("PageItems enumeration", result);
            }
            for (ULONG index = 0; index < fetched && index < batch; ++index) {
                items.push_back(std::make_shared<ComPageItem>(
                    m_object.sharedConnection(),
                    objectOf(buffer[index], "PageItems enumeration", "a page item"), m_origin));
            }
            buffer.clear();
            if (fetched == 0) {
                break;  // a host that keeps answering S_OK without items has no more
            }
        }
        return items;
    }

private:
    ComPtr<IEnumVARIANT> enumeratorOf(const Variant& value, const std::string& operation) {
        const VARIANT& raw = value.get();
        IUnknown* unknown = raw.vt == VT_UNKNOWN || raw.vt == VT_DISPATCH ? raw.punkVal : nullptr;
        if (unknown == nullptr) {
            throwWrongKind(operation, "an enumerator", raw);
        }
        Connection& link = m_object.connection();
        ComPtr<IEnumVARIANT> enumerator;
        const HRESULT result = link.send([&] {
            ++link.counts().identityChecks;
            return unknown->QueryInterface(IID_IEnumVARIANT, enumerator.putVoid());
        });
        if (FAILED(result)) {
            throwCallFailed(operation, result);
        }
        return enumerator;
    }

    HostObject m_object;
    std::optional<Origin> m_origin;
};

}  // namespace

std::shared_ptr<PageItems> makePageItems(ConnectionPtr connection, const VARIANT& value,
                                         const std::string& operation,
                                         std::optional<Origin> origin) {
    auto items = std::make_shared<ComPageItems>(std::move(connection),
                                                objectOf(value, operation, "page items"), origin);
    requireInterface(items->object(), model::kPageItems, model::kPageItemsClass,
                     "page items of a spread", "page-items collection");
    return items;
}

}  // namespace host::com
