#pragma once

// The base of the host's automation objects: IDispatch over the type library's interface of the
// object, the counters, and the failures tests ask for (hidden members, refused identities,
// garbled answers). Each object answers its members in `member`.

#include <string>

#include "ComObject.h"
#include "ServerState.h"

namespace testhost {

// Thrown by a member to answer with a code of its own rather than the host's exception.
struct CallRefused {
    HRESULT result;
};

class ModelObject : public ComObject<IDispatch>, private Counted {
public:
    // `interfaceName`: the object's interface in the type library, such as "Window"; an object
    // with `identity` also answers a query for that interface.
    explicit ModelObject(std::wstring interfaceName, bool identity = true);

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception,
                                     UINT* argumentError) override;

protected:
    bool answers(REFIID iid) const override;
    // Answers member `id` called as `flags`. Throws HostError (the host's exception) or
    // CallRefused.
    virtual void member(DISPID id, WORD flags, DISPPARAMS& parameters, VARIANT& result) = 0;
    // The type information the object gives now; page items ask the host for their class.
    virtual ITypeInfo* currentTypeInfo();
    // The interface whose member ids the object answers to.
    ITypeInfo* interfaceInfo() const;

private:
    std::wstring m_interfaceName;
    bool m_refused = false;
    // COM forbids an object to change the interfaces it answers: a refusal asked for applies to
    // the objects made after it.
    GUID m_identity{};
};

// Member helpers: they throw CallRefused for a call of the wrong form.
void expectGet(WORD flags);
void expectMethod(WORD flags);
// The value of a put, which must name the property-put argument.
const VARIANT& putValue(WORD flags, const DISPPARAMS& parameters);
// Hands `object` (a new reference) to the caller as the result.
void answerObject(VARIANT& result, IDispatch* object);

}  // namespace testhost
