#include "ModelObject.h"

#include <exception>

#include "ModelObjects.h"

namespace testhost {

ModelObject::ModelObject(std::wstring interfaceName, bool identity)
    : m_interfaceName(std::move(interfaceName)) {
    TYPEATTR* attributes = nullptr;
    ITypeInfo* info = interfaceInfo();
    const bool refused = state().refused.count(m_interfaceName) != 0;
    m_refused = refused;
    if (identity && !refused && info && SUCCEEDED(info->GetTypeAttr(&attributes))) {
        m_identity = attributes->guid;
        info->ReleaseTypeAttr(attributes);
    }
}

bool ModelObject::answers(REFIID iid) const {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch)) {
        return true;
    }
    return !IsEqualIID(m_identity, GUID_NULL) && IsEqualIID(iid, m_identity);
}

ITypeInfo* ModelObject::interfaceInfo() const {
    return state().typeInfo(m_interfaceName);
}

ITypeInfo* ModelObject::currentTypeInfo() {
    return interfaceInfo();
}

HRESULT ModelObject::GetTypeInfoCount(UINT* count) {
    *count = 1;
    return S_OK;
}

HRESULT ModelObject::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    state().count("typeinfos");
    *info = nullptr;
    if (index != 0) {
        return DISP_E_BADINDEX;
    }
    try {
        // A refused object is no object of its class at all, by its identity or by its name.
        *info = m_refused ? nullptr : currentTypeInfo();
    } catch (const std::exception&) {
        return kHostFailure;
    }
    if (*info == nullptr) {
        return TYPE_E_ELEMENTNOTFOUND;
    }
    (*info)->AddRef();
    return S_OK;
}

HRESULT ModelObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    state().count("lookups");
    for (UINT index = 0; index < count; ++index) {
        if (state().isHidden(names[index])) {
            ids[index] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
    }
    ITypeInfo* info = interfaceInfo();
    return info ? info->GetIDsOfNames(names, count, ids) : DISP_E_UNKNOWNNAME;
}

HRESULT ModelObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                            VARIANT* result, EXCEPINFO* exception, UINT*) {
    ServerState& server = state();
    server.count("invokes");
    if (server.hiddenIds.count(id) != 0) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (server.current) {
        id = ids::fromCurrent(id);
        if (id == DISPID_UNKNOWN) {
            return DISP_E_MEMBERNOTFOUND;
        }
    }
    DISPPARAMS none{};
    host::com::Variant answer;
    const std::size_t logged = server.host->calls().size();
    try {
        member(id, flags, parameters ? *parameters : none, *answer.put());
    } catch (const CallRefused& refused) {
        return refused.result;
    } catch (const std::exception& error) {
        if (exception != nullptr) {
            *exception = EXCEPINFO{};
            exception->bstrSource = SysAllocString(L"Quarvel test host");
            exception->bstrDescription = SysAllocString(host::com::wideOf(error.what()).c_str());
            exception->scode = kHostFailure;
        }
        return DISP_E_EXCEPTION;
    }
    if (server.host->calls().size() > logged && server.garbled.count(server.lastCall()) != 0) {
        answer.put()->vt = VT_BSTR;
        answer.get().bstrVal = SysAllocString(L"garbled");
    }
    if (result != nullptr) {
        *result = answer.release();
    }
    return S_OK;
}

void expectGet(WORD flags) {
    if ((flags & DISPATCH_PROPERTYGET) == 0) {
        throw CallRefused{DISP_E_MEMBERNOTFOUND};
    }
}

void expectMethod(WORD flags) {
    if ((flags & DISPATCH_METHOD) == 0) {
        throw CallRefused{DISP_E_MEMBERNOTFOUND};
    }
}

const VARIANT& putValue(WORD flags, const DISPPARAMS& parameters) {
    if ((flags & DISPATCH_PROPERTYPUT) == 0) {
        throw CallRefused{DISP_E_MEMBERNOTFOUND};
    }
    if (parameters.cArgs != 1 || parameters.cNamedArgs != 1 ||
        parameters.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT) {
        throw CallRefused{DISP_E_PARAMNOTFOUND};
    }
    return parameters.rgvarg[0];
}

void answerObject(VARIANT& result, IDispatch* object) {
    result.vt = VT_DISPATCH;
    result.pdispVal = object;
}

}  // namespace testhost
