#include "host/com/MessageFilter.h"

namespace host::com {

namespace {

// How long COM waits before it sends a rejected call again, in milliseconds.
constexpr DWORD kRetryDelay = 100;
// Tells COM to give up: the call then fails with RPC_E_CALL_REJECTED.
constexpr DWORD kCancel = static_cast<DWORD>(-1);

// COM interfaces have no virtual destructor: an object is deleted only by its own Release.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
class BusyFilter final : public IMessageFilter {
public:
    explicit BusyFilter(std::chrono::milliseconds busyWait) : m_busyWait(busyWait) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter)) {
            *object = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --m_references;
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    // `elapsed`: milliseconds since the call was first sent.
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) override {
        const bool busy = rejectType == SERVERCALL_RETRYLATER || rejectType == SERVERCALL_REJECTED;
        return busy && elapsed < m_busyWait.count() ? kRetryDelay : kCancel;
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

private:
    std::chrono::milliseconds m_busyWait;
    long m_references = 1;
};
#pragma GCC diagnostic pop

}  // namespace

ComPtr<IMessageFilter> makeBusyFilter(std::chrono::milliseconds busyWait) {
    return ComPtr<IMessageFilter>::adopt(new BusyFilter(busyWait));
}

}  // namespace host::com
