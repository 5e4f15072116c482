#pragma once

// Owning wrappers for the automation types the adapter handles: interface pointers, VARIANTs,
// BSTRs and text conversions. Windows only; included by the adapter's sources and the test host,
// never by a header the rest of the tool sees.

#include <windows.h>

#include <oaidl.h>
#include <oleauto.h>

#include <string>
#include <string_view>
#include <utility>

namespace host::com {

// One counted reference to an interface, released when the wrapper goes.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes over a reference the caller already holds.
    static ComPtr adopt(T* pointer) {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }
    // Adds a reference of its own.
    static ComPtr share(T* pointer) {
        if (pointer != nullptr) {
            pointer->AddRef();
        }
        return adopt(pointer);
    }
    ComPtr(const ComPtr& other) : m_pointer(other.m_pointer) {
        if (m_pointer != nullptr) {
            m_pointer->AddRef();
        }
    }
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const { return m_pointer; }
    T* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }
    void reset() {
        if (T* pointer = std::exchange(m_pointer, nullptr)) {
            pointer->Release();
        }
    }
    // For a call that hands out a reference: releases the current one first.
    T** put() {
        reset();
        return &m_pointer;
    }
    void** putVoid() { return reinterpret_cast<void**>(put()); }
    T* detach() { return std::exchange(m_pointer, nullptr); }

private:
    T* m_pointer = nullptr;
};

// A VARIANT that clears itself.
class Variant {
public:
    Variant() { VariantInit(&m_value); }
    explicit Variant(double value) : Variant() {
        m_value.vt = VT_R8;
        m_value.dblVal = value;
    }
    explicit Variant(short value) : Variant() {
        m_value.vt = VT_I2;
        m_value.iVal = value;
    }
    explicit Variant(long value) : Variant() {
        m_value.vt = VT_I4;
        m_value.lVal = value;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    Variant(Variant&& other) noexcept : Variant() { std::swap(m_value, other.m_value); }
    Variant& operator=(Variant&& other) noexcept {
        std::swap(m_value, other.m_value);
        return *this;
    }
    ~Variant() { VariantClear(&m_value); }

    const VARIANT& get() const { return m_value; }
    VARIANT& get() { return m_value; }
    VARTYPE type() const { return m_value.vt; }
    // For a call that fills a VARIANT: clears the current value first.
    VARIANT* put() {
        VariantClear(&m_value);
        return &m_value;
    }
    // Hands the value over to a callee that will clear it, leaving this one empty.
    VARIANT release() {
        VARIANT result = m_value;
        VariantInit(&m_value);
        return result;
    }

private:
    VARIANT m_value;
};

// A BSTR that frees itself.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::wstring_view text)
        : m_value(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : m_value(std::exchange(other.m_value, nullptr)) {}
    Bstr& operator=(Bstr&& other) noexcept {
        std::swap(m_value, other.m_value);
        return *this;
    }
    ~Bstr() { SysFreeString(m_value); }

    BSTR get() const { return m_value; }
    BSTR* put() {
        SysFreeString(std::exchange(m_value, nullptr));
        return &m_value;
    }
    BSTR detach() { return std::exchange(m_value, nullptr); }
    std::wstring_view view() const { return {m_value, SysStringLen(m_value)}; }

private:
    BSTR m_value = nullptr;
};

// A SAFEARRAY that destroys itself unless it is handed over to a VARIANT.
class SafeArray {
public:
    explicit SafeArray(SAFEARRAY* array) : m_array(array) {}
    SafeArray(const SafeArray&) = delete;
    SafeArray& operator=(const SafeArray&) = delete;
    ~SafeArray() {
        if (m_array != nullptr) {
            SafeArrayDestroy(m_array);
        }
    }

    SAFEARRAY* get() const { return m_array; }
    // A VARIANT that owns the array from now on; `elementType` is the array's.
    Variant toVariant(VARTYPE elementType) {
        Variant value;
        value.put()->vt = static_cast<VARTYPE>(VT_ARRAY | elementType);
        value.get().parray = std::exchange(m_array, nullptr);
        return value;
    }

private:
    SAFEARRAY* m_array;
};

std::wstring wideOf(std::string_view utf8);
std::string utf8Of(std::wstring_view wide);
inline std::string utf8Of(BSTR text) {
    return utf8Of(std::wstring_view(text, SysStringLen(text)));
}

// "{ABD4CBB2-0CFE-11D1-801D-0060B03C02E4}"
std::string textOf(const GUID& guid);
// "0x80020009"
std::string hresultText(HRESULT result);

}  // namespace host::com
