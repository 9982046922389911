// Owning holders for COM interface pointers and BSTRs.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <string>
#include <utility>

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr& other) : p_(other.p_) { if (p_) p_->AddRef(); }
    ComPtr(ComPtr&& other) noexcept : p_(other.p_) { other.p_ = nullptr; }
    ~ComPtr() { Reset(); }
    ComPtr& operator=(ComPtr other) noexcept { std::swap(p_, other.p_); return *this; }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(T* p) { ComPtr c; c.p_ = p; return c; }
    // Adds a reference of its own.
    static ComPtr Share(T* p) { ComPtr c; c.p_ = p; if (p) p->AddRef(); return c; }

    void Reset() { if (p_) { T* p = p_; p_ = nullptr; p->Release(); } }
    T* Get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held first.
    T** Put() { Reset(); return &p_; }
    void** PutVoid() { Reset(); return reinterpret_cast<void**>(&p_); }

    template <class U>
    HRESULT As(const IID& iid, ComPtr<U>& out) const
    {
        if (!p_) return E_POINTER;
        return p_->QueryInterface(iid, out.PutVoid());
    }

private:
    T* p_ = nullptr;
};

// Owns one BSTR.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(const wchar_t* text) : s_(SysAllocString(text)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : s_(other.s_) { other.s_ = nullptr; }
    Bstr& operator=(Bstr&& other) noexcept { std::swap(s_, other.s_); return *this; }
    ~Bstr() { SysFreeString(s_); }

    static Bstr Adopt(BSTR s) { Bstr b; b.s_ = s; return b; }
    // Narrow text in the ANSI code page to a new BSTR; null on allocation failure.
    static Bstr FromAnsi(const char* text);

    BSTR Get() const { return s_; }
    BSTR* Put() { SysFreeString(s_); s_ = nullptr; return &s_; }
    BSTR Release() { BSTR s = s_; s_ = nullptr; return s; }
    UINT Length() const { return SysStringLen(s_); }

private:
    BSTR s_ = nullptr;
};

// BSTR (may be null) to narrow ANSI text.
std::string BstrToAnsi(BSTR s);
