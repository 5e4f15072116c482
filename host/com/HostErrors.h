#pragma once

// The one HostError of a failed host call, with what the user needs to know: which call, the
// host's own description of the failure and its HRESULT.

#include <string>

#include "host/com/ComTypes.h"

namespace host::com {

// The system's description of `result`, or a plain fallback when it has none.
std::string systemDescription(HRESULT result);

// A call that failed, answered busy until the wait ran out, or raised an exception in the host
// (`exception`, whose texts are freed here).
[[noreturn]] void throwCallFailed(const std::string& operation, HRESULT result,
                                  EXCEPINFO* exception = nullptr);
// A call whose result is not of the kind the operation needs: no object, text for a number.
[[noreturn]] void throwWrongKind(const std::string& operation, const std::string& expected,
                                 const VARIANT& got);
[[noreturn]] void throwWrongKind(const std::string& operation, const std::string& expected,
                                 const std::string& got);
// What a value is, in words: "nothing", "no object", "text", "a number", "an array" ...
std::string kindOf(const VARIANT& value);

}  // namespace host::com
