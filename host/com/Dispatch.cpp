#include "host/com/Dispatch.h"

#include <vector>

#include "host/com/HostErrors.h"

namespace host::com {

std::string HostObject::operation(const Member& member, const char* suffix) const {
    return m_kind + "." + utf8Of(std::wstring_view(member.name)) + suffix;
}

Variant HostObject::get(const Member& member, std::initializer_list<Variant*> arguments) {
    // Basic reads a property as get-or-method; hosts answer either.
    return invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments, operation(member));
}

void HostObject::put(const Member& member, Variant value) {
    invoke(member, DISPATCH_PROPERTYPUT, {&value}, operation(member, " (put)"));
}

Variant HostObject::call(const Member& member, std::initializer_list<Variant*> arguments) {
    return invoke(member, DISPATCH_METHOD, arguments, operation(member, "()"));
}

Variant HostObject::invoke(const Member& member, WORD flags,
                           std::initializer_list<Variant*> arguments,
                           const std::string& operation) {
    IDispatch* object = dispatch();
    Connection& link = connection();
    const DISPID id = member.id != DISPID_UNKNOWN
                          ? member.id
                          : link.memberId(object, m_kind, member.name, operation);
    // IDispatch takes the arguments last first; a put names its value as the property's.
    std::vector<VARIANT> reversed;
    for (auto argument = arguments.end(); argument != arguments.begin();) {
        reversed.push_back((*--argument)->get());
    }
    DISPID putId = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS parameters{reversed.data(), isPut ? &putId : nullptr,
                          static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
    Variant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT outcome = link.send([&] {
        ++link.counts().invokes;
        return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                              isPut ? nullptr : result.put(), &exception, &badArgument);
    });
    if (FAILED(outcome)) {
        throwCallFailed(operation, outcome, &exception);
    }
    return result;
}

}  // namespace host::com
