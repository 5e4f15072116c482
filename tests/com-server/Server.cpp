#include "Server.h"

#include <chrono>

#include "ComObject.h"
#include "Control.h"
#include "ModelObjects.h"
#include "ServerState.h"
#include "TestHostIds.h"

namespace testhost {

namespace {

using host::com::ComPtr;
using Clock = std::chrono::steady_clock;

// A host left behind by a test that did not end it goes away on its own.
constexpr auto kIdleLimit = std::chrono::minutes(5);
constexpr UINT kIdleCheckMs = 10000;

// Calls through these interfaces are the plumbing of references and of the tests, never the
// tool's own calls to the host: a busy host still takes them.
constexpr GUID kRemUnknown{0x00000131, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr GUID kRemUnknown2{0x00000143, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

Clock::time_point lastCall = Clock::now();
ComPtr<IDispatch> runningApplication;  // what the running object table hands out
DWORD runningCookie = 0;

// Rejects incoming calls while the tests have made the host busy, as an application does while
// a modal dialog is open.
class BusyHostFilter : public ComObject<IMessageFilter> {
public:
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO call) override {
        lastCall = Clock::now();
        ServerState& server = state();
        const bool plumbing = call == nullptr || IsEqualIID(call->iid, kRemUnknown) ||
                              IsEqualIID(call->iid, kRemUnknown2) || isControl(call->pUnk);
        if (plumbing || server.busyCalls <= 0) {
            return SERVERCALL_ISHANDLED;
        }
        --server.busyCalls;
        server.count("rejected");
        // Wine's channel does not retry on SERVERCALL_RETRYLATER; a rejection reaches the caller
        // as RPC_E_CALL_REJECTED, which a desktop client waits out the same way.
        return SERVERCALL_REJECTED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override {
        return static_cast<DWORD>(-1);
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override {
        return PENDINGMSG_WAITDEFPROCESS;
    }

protected:
    bool answers(REFIID iid) const override {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessageFilter);
    }
};

class Factory : public ComObject<IClassFactory> {
public:
    explicit Factory(bool control) : m_control(control) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        ComPtr<IUnknown> made;
        if (m_control) {
            made = ComPtr<IUnknown>::adopt(makeControl());
        } else {
            state().count("activations");
            made = ComPtr<IUnknown>::adopt(makeApplication());
        }
        return made->QueryInterface(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

protected:
    bool answers(REFIID iid) const override {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory);
    }

private:
    bool m_control;
};

void CALLBACK checkIdle(HWND, UINT, UINT_PTR, DWORD) {
    if (Clock::now() - lastCall > kIdleLimit) {
        requestQuit();
    }
}

}  // namespace

void requestQuit() {
    PostQuitMessage(0);
}

const CLSID& applicationClass() {
    return state().current ? CLSID_TestHostCurrentApplication : CLSID_TestHostApplication;
}

void enterRunningTable() {
    if (runningCookie == 0 && runningApplication) {
        RegisterActiveObject(runningApplication.get(), applicationClass(), ACTIVEOBJECT_STRONG,
                             &runningCookie);
    }
}

void leaveRunningTable() {
    if (runningCookie != 0) {
        RevokeActiveObject(runningCookie, nullptr);
        runningCookie = 0;
    }
}

int serve(bool current) {
    state().current = current;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) || FAILED(loadTypeLibrary())) {
        return 1;
    }
    ComPtr<IMessageFilter> filter = ComPtr<IMessageFilter>::adopt(new BusyHostFilter());
    ComPtr<IMessageFilter> previous;
    CoRegisterMessageFilter(filter.get(), previous.put());

    // The running instance is what a client finds in the running object table.
    runningApplication = ComPtr<IDispatch>::adopt(makeApplication());
    enterRunningTable();
    ComPtr<IClassFactory> factories[] = {ComPtr<IClassFactory>::adopt(new Factory(false)),
                                         ComPtr<IClassFactory>::adopt(new Factory(true))};
    DWORD cookies[2] = {};
    CoRegisterClassObject(applicationClass(), factories[0].get(), CLSCTX_LOCAL_SERVER,
                          REGCLS_MULTIPLEUSE, &cookies[0]);
    CoRegisterClassObject(CLSID_TestHostControl, factories[1].get(), CLSCTX_LOCAL_SERVER,
                          REGCLS_MULTIPLEUSE, &cookies[1]);

    const UINT_PTR timer = SetTimer(nullptr, 0, kIdleCheckMs, checkIdle);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    KillTimer(nullptr, timer);

    CoRevokeClassObject(cookies[0]);
    CoRevokeClassObject(cookies[1]);
    leaveRunningTable();
    runningApplication.reset();
    CoRegisterMessageFilter(previous.get(), nullptr);
    state().typeInfos.clear();
    state().typeLibrary.reset();
    state().currentTypeInfos.clear();
    state().currentLibrary.reset();
    CoUninitialize();
    return 0;
}

}  // namespace testhost
