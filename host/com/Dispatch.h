#pragma once

// Calls on one host object through IDispatch: gets, puts with the property-put named argument,
// and methods, with arguments in their natural order. Members are addressed by a four-character
// id where the object model gives one, otherwise by name, looked up once per interface. A host
// that answers "unknown member" to a four-character id has the member looked up by its full
// name instead, once per interface; that id is used from then on.

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "host/com/Connection.h"

namespace host::com {

// The 32-bit id whose bytes, most significant first, are the four letters.
constexpr DISPID fourCharId(const char (&code)[5]) {
    return static_cast<DISPID>(
        (static_cast<unsigned long>(static_cast<unsigned char>(code[0])) << 24) |
        (static_cast<unsigned long>(static_cast<unsigned char>(code[1])) << 16) |
        (static_cast<unsigned long>(static_cast<unsigned char>(code[2])) << 8) |
        static_cast<unsigned long>(static_cast<unsigned char>(code[3])));
}
static_assert(fourCharId("docs") == 0x646F6373);

struct Member {
    const wchar_t* name;
    DISPID id = DISPID_UNKNOWN;         // DISPID_UNKNOWN: asked by name
    const wchar_t* fullName = nullptr;  // for an id the host does not know
};

class HostObject {
public:
    // `kind` names the object's interface in messages and in the member-id cache: "Window",
    // "Rectangle" ...
    HostObject(std::shared_ptr<Connection> connection, ComPtr<IDispatch> object, std::string kind)
        : m_ref(std::move(connection), std::move(object)), m_kind(std::move(kind)) {}

    const std::string& kind() const { return m_kind; }
    void setKind(std::string kind) { m_kind = std::move(kind); }
    IDispatch* dispatch() const { return m_ref.get(); }
    Connection& connection() const { return m_ref.connection(); }
    const std::shared_ptr<Connection>& sharedConnection() const { return m_ref.shared(); }

    // "Window.ActiveSpread", as messages name the call.
    std::string operation(const Member& member, const char* suffix = "") const;

    // A property, or one that takes arguments such as a collection's Item.
    Variant get(const Member& member, std::initializer_list<Variant*> arguments = {});
    // A property the object may not have: nothing when the host does not know the member.
    std::optional<Variant> getIfKnown(const Member& member);
    void put(const Member& member, Variant value);
    Variant call(const Member& member, std::initializer_list<Variant*> arguments = {});

private:
    // The host's answer; a failure throws HostError unless `unknownAllowed` and the host does not
    // know the member, which is then `unknown`.
    HRESULT invoke(const Member& member, WORD flags, std::initializer_list<Variant*> arguments,
                   const std::string& operation, Variant& result, bool unknownAllowed = false);
    Variant invoke(const Member& member, WORD flags, std::initializer_list<Variant*> arguments,
                   const std::string& operation);

    HostRef m_ref;
    std::string m_kind;
};

}  // namespace host::com
