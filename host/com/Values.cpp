#include "host/com/Values.h"

#include <cmath>

#include "host/HostError.h"
#include "host/com/HostErrors.h"

namespace host::com {

bool isNumber(VARTYPE type) {
    switch (type) {
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_I8:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UI8:
        case VT_UINT:
        case VT_R4:
        case VT_R8:
        case VT_CY:
        case VT_DECIMAL:
            return true;
        default:
            return false;
    }
}

namespace {

// Element types read straight into a variant's value; a decimal fills the whole variant.
bool isPlainNumber(VARTYPE type) {
    return isNumber(type) && type != VT_DECIMAL;
}

// What an array that cannot be bounds is, for the message.
std::string arrayKind(SAFEARRAY* array, LONG low, LONG high) {
    if (SafeArrayGetDim(array) != 1) {
        return "an array of " + std::to_string(SafeArrayGetDim(array)) + " dimensions";
    }
    if (high - low != 3) {
        return "an array of " + std::to_string(high - low + 1) + " elements";
    }
    return "an array indexed from " + std::to_string(low);
}

// A number of any numeric type, converted to `type`; text or anything else is the wrong kind.
Variant converted(const VARIANT& value, VARTYPE type, const std::string& operation,
                  const char* expected) {
    Variant result;
    if (!isNumber(value.vt) ||
        FAILED(VariantChangeType(result.put(), const_cast<VARIANT*>(&value), 0, type))) {
        throwWrongKind(operation, expected, value);
    }
    return result;
}

// Element `index` of a one-dimensional array as a variant.
Variant elementOf(SAFEARRAY* array, VARTYPE type, LONG index) {
    Variant element;
    HRESULT result = E_INVALIDARG;
    if (type == VT_VARIANT) {
        result = SafeArrayGetElement(array, &index, element.put());
    } else if (isPlainNumber(type)) {
        VARIANT& raw = *element.put();
        result = SafeArrayGetElement(array, &index, &raw.llVal);  // the value part of any number
        if (SUCCEEDED(result)) {
            raw.vt = type;
        }
    }
    if (FAILED(result)) {
        element.put();  // leaves it empty, which no caller takes for a number
    }
    return element;
}

Variant arrayOf(const Bounds& bounds, VARTYPE type) {
    const double sides[4] = {bounds.top, bounds.left, bounds.bottom, bounds.right};
    SafeArray array(SafeArrayCreateVector(type, 0, 4));
    bool filled = array.get() != nullptr;
    for (LONG index = 0; filled && index < 4; ++index) {
        double side = sides[index];
        Variant element(side);
        filled = SUCCEEDED(SafeArrayPutElement(
            array.get(), &index, type == VT_VARIANT ? static_cast<void*>(&element.get()) : &side));
    }
    if (!filled) {
        throw HostError("Out of memory while preparing bounds for the host.");
    }
    return array.toVariant(type);
}

}  // namespace

double numberOf(const VARIANT& value, const std::string& operation) {
    return converted(value, VT_R8, operation, "a number").get().dblVal;
}

long integerOf(const VARIANT& value, const std::string& operation) {
    return converted(value, VT_I4, operation, "a whole number").get().lVal;
}

ComPtr<IDispatch> objectOf(const VARIANT& value, const std::string& operation,
                           const std::string& expected) {
    ComPtr<IDispatch> object;
    if (value.vt == VT_DISPATCH && value.pdispVal != nullptr) {
        object = ComPtr<IDispatch>::share(value.pdispVal);
    } else if (value.vt == VT_UNKNOWN && value.punkVal != nullptr) {
        value.punkVal->QueryInterface(IID_IDispatch, object.putVoid());
    }
    if (!object) {
        throwWrongKind(operation, expected, value);
    }
    return object;
}

Bounds boundsOf(const VARIANT& value, const std::string& operation) {
    const char* expected = "four numbers";
    SAFEARRAY* array =
        (value.vt & VT_ARRAY) != 0 && (value.vt & VT_BYREF) == 0 ? value.parray : nullptr;
    LONG low = 0, high = -1;
    if (array == nullptr || FAILED(SafeArrayGetLBound(array, 1, &low)) ||
        FAILED(SafeArrayGetUBound(array, 1, &high))) {
        throwWrongKind(operation, expected, value);
    }
    if (SafeArrayGetDim(array) != 1 || (low != 0 && low != 1) || high - low != 3) {
        throwWrongKind(operation, expected, arrayKind(array, low, high));
    }
    const auto type = static_cast<VARTYPE>(value.vt & VT_TYPEMASK);
    double sides[4] = {};
    for (LONG index = low; index <= high; ++index) {
        const Variant element = elementOf(array, type, index);
        sides[index - low] = numberOf(element.get(), operation);
    }
    return {sides[0], sides[1], sides[2], sides[3]};
}

Variant variantArrayOf(const Bounds& bounds) {
    return arrayOf(bounds, VT_VARIANT);
}

Variant doubleArrayOf(const Bounds& bounds) {
    return arrayOf(bounds, VT_R8);
}

double angleWithinTurn(double degrees) {
    double turned = std::fmod(degrees, 360.0);
    if (turned < 0) {
        turned += 360.0;
    }
    // -1e-20 + 360 rounds to 360; and minus zero is zero.
    return turned >= 360.0 || turned == 0 ? 0.0 : turned;
}

}  // namespace host::com
