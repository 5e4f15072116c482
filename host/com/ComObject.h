#pragma once

// An object of our own behind a COM interface: its reference count and its
// answers to QueryInterface. Deleted by its last Release.

#include <atomic>

#include "host/com/ComTypes.h"

namespace host::com {

// COM interfaces have no virtual destructor: an object is deleted only by its own Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
template <class Interface>
class ComObject : public Interface {
public:
    ComObject() = default;
    virtual ~ComObject() = default;
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        *object = nullptr;
        if (!answers(iid)) {
            return E_NOINTERFACE;
        }
        *object = static_cast<Interface*>(this);
        this->AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --m_references;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

protected:
    // IUnknown, and every identity this object has.
    virtual bool answers(REFIID iid) const { return IsEqualIID(iid, IID_IUnknown); }

private:
    std::atomic<long> m_references{1};
};
#pragma GCC diagnostic pop

}  // namespace host::com
