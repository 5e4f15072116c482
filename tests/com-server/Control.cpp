#include "Control.h"

#include <exception>
#include <set>
#include <string>
#include <vector>

#include "ComObject.h"
#include "Server.h"
#include "ServerState.h"
#include "host/memory/SheetText.h"

namespace testhost {

namespace {

using host::com::utf8Of;

std::set<const IUnknown*> controls;

std::string lines(const std::vector<std::string>& entries) {
    std::string text;
    for (const std::string& entry : entries) {
        text += entry + "\n";
    }
    return text;
}

// The arguments of a control call, first one first; a missing or mistyped one is refused.
class Arguments {
public:
    explicit Arguments(const DISPPARAMS& parameters) : m_parameters(parameters) {}

    std::string text(UINT index) const { return utf8Of(as(index, VT_BSTR).get().bstrVal); }
    std::wstring wide(UINT index) const {
        const host::com::Variant value = as(index, VT_BSTR);
        return std::wstring(value.get().bstrVal, SysStringLen(value.get().bstrVal));
    }
    long number(UINT index) const { return as(index, VT_I4).get().lVal; }
    double real(UINT index) const { return as(index, VT_R8).get().dblVal; }

private:
    host::com::Variant as(UINT index, VARTYPE type) const {
        host::com::Variant value;
        if (index >= m_parameters.cArgs ||
            FAILED(VariantChangeType(
                value.put(), &m_parameters.rgvarg[m_parameters.cArgs - 1 - index], 0, type))) {
            throw HRESULT{DISP_E_TYPEMISMATCH};
        }
        return value;
    }

    const DISPPARAMS& m_parameters;
};

void answerText(VARIANT* result, const std::string& text) {
    if (result != nullptr) {
        result->vt = VT_BSTR;
        result->bstrVal = SysAllocString(host::com::wideOf(text).c_str());
    }
}

// Runs control call `id`; throws an HRESULT for a call it cannot run.
void run(DISPID id, const Arguments& arguments, VARIANT* result) {
    ServerState& server = state();
    switch (id) {
        case 1:
            server.load(arguments.text(0));
            enterRunningTable();
            return;
        case 2:
            return answerText(result, host::memory::dumpDocuments(*server.host));
        case 3:
            return answerText(result, lines(server.host->calls()));
        case 4:
            return server.host->clearCalls();
        case 5:
            return server.host->failOn(arguments.text(0), static_cast<int>(arguments.number(1)));
        case 6:
            server.busyCalls = arguments.number(0);
            return;
        case 7:
            server.refused.insert(arguments.wide(0));
            return;
        case 8:
            server.garbled.insert(arguments.text(0));
            return;
        case 9:
            return server.hide(arguments.wide(0));
        case 10:
            server.boundsForm = arguments.text(0);
            return;
        case 11: {
            const std::string name = arguments.text(0);
            const auto found = server.counters.find(name);
            const long value = name == "objects"                ? liveObjects()
                               : found == server.counters.end() ? 0
                                                                : found->second;
            if (result != nullptr) {
                result->vt = VT_I4;
                result->lVal = value;
            }
            return;
        }
        case 12:
            return answerText(result, lines(server.puts));
        case 13:
            return leaveRunningTable();
        case 14:
            return requestQuit();
        case 15:
            server.zeroTop = arguments.real(0);
            server.zeroLeft = arguments.real(1);
            return;
        default:
            throw HRESULT{DISP_E_MEMBERNOTFOUND};
    }
}

class Control : public ComObject<IDispatch> {
public:
    Control() { controls.insert(this); }
    ~Control() override { controls.erase(this); }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override {
        *info = index == 0 ? state().typeInfo(L"Control") : nullptr;
        if (*info == nullptr) {
            return DISP_E_BADINDEX;
        }
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        ITypeInfo* info = state().typeInfo(L"Control");
        return info ? info->GetIDsOfNames(names, count, ids) : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        DISPPARAMS none{};
        try {
            run(id, Arguments(parameters ? *parameters : none), result);
            return S_OK;
        } catch (HRESULT refused) {
            return refused;
        } catch (const std::exception& error) {
            // A sheet the host cannot read: the test sees why.
            if (exception != nullptr) {
                *exception = EXCEPINFO{};
                exception->bstrDescription =
                    SysAllocString(host::com::wideOf(error.what()).c_str());
                exception->scode = E_INVALIDARG;
            }
            return DISP_E_EXCEPTION;
        }
    }

protected:
    bool answers(REFIID iid) const override {
        return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch);
    }
};

}  // namespace

IDispatch* makeControl() {
    return new Control();
}

bool isControl(const IUnknown* object) {
    return controls.count(object) != 0;
}

}  // namespace testhost
