#include "host/com/MessageFilter.h"

#include "host/com/ComObject.h"

namespace host::com {

namespace {

// How long COM waits before it sends a rejected call again, in milliseconds.
constexpr DWORD kRetryDelay = 100;
// Tells COM to give up: the call then fails with RPC_E_CALL_REJECTED.
constexpr DWORD kCancel = static_cast<DWORD>(-1);

class BusyFilter final : public ComObject<IMessageFilter> {
public:
    explicit BusyFilter(std::chrono::milliseconds busyWait) : m_busyWait(busyWait) {}

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

protected:
    bool answers(REFIID iid) const override {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter);
    }

private:
    std::chrono::milliseconds m_busyWait;
};

}  // namespace

ComPtr<IMessageFilter> makeBusyFilter(std::chrono::milliseconds busyWait) {
    return ComPtr<IMessageFilter>::adopt(new BusyFilter(busyWait));
}

}  // namespace host::com
