#include "host/com/Dispatch.h"

#include <vector>

#include "host/com/HostErrors.h"

namespace host::com {

namespace {

bool isUnknownMember(HRESULT result) {
    return result == DISP_E_MEMBERNOTFOUND || result == DISP_E_UNKNOWNNAME;
}

}  // namespace

std::string HostObject::operation(const Member& member, const char* suffix) const {
    return m_kind + "." + utf8Of(std::wstring_view(member.name)) + suffix;
}

Variant HostObject::get(const Member& member, std::initializer_list<Variant*> arguments) {
    // Basic reads a property as get-or-method; hosts answer either.
    return invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, arguments, operation(member));
}

std::optional<Variant> HostObject::getIfKnown(const Member& member) {
    Variant result;
    if (FAILED(invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, {}, operation(member), result,
                      true))) {
        return std::nullopt;
    }
    return result;
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
    Variant result;
    invoke(member, flags, arguments, operation, result);
    return result;
}

HRESULT HostObject::invoke(const Member& member, WORD flags,
                           std::initializer_list<Variant*> arguments, const std::string& operation,
                           Variant& result, bool unknownAllowed) {
    IDispatch* object = dispatch();
    Connection& link = connection();
    DISPID id = member.id;
    if (id == DISPID_UNKNOWN) {
        const HRESULT found = link.lookUp(object, m_kind, member.name, id);
        if (FAILED(found)) {
            if (unknownAllowed && isUnknownMember(found)) {
                return found;
            }
            throwCallFailed(operation, found);
        }
    } else if (const auto renamed = link.renamedId(m_kind, member.name)) {
        id = *renamed;
    }
    // IDispatch takes the arguments last first; a put names its value as the property's.
    std::vector<VARIANT> reversed;
    for (auto argument = arguments.end(); argument != arguments.begin();) {
        reversed.push_back((*--argument)->get());
    }
    DISPID putId = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS parameters{reversed.data(), isPut ? &putId : nullptr,
                          static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const auto send = [&] {
        return link.send([&] {
            ++link.counts().invokes;
            return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                  isPut ? nullptr : result.put(), &exception, &badArgument);
        });
    };
    HRESULT outcome = send();
    // A later host than the one whose four-character ids these are: the member by its name.
    if (outcome == DISP_E_MEMBERNOTFOUND && id == member.id && member.fullName != nullptr) {
        DISPID named = DISPID_UNKNOWN;
        if (SUCCEEDED(link.lookUp(object, m_kind, member.fullName, named))) {
            link.rename(m_kind, member.name, named);
            id = named;
            outcome = send();
        }
    }
    if (FAILED(outcome)) {
        if (unknownAllowed && isUnknownMember(outcome)) {
            return outcome;
        }
        throwCallFailed(operation, outcome, &exception);
    }
    return outcome;
}

}  // namespace host::com
