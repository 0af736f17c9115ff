#pragma once

// Helpers that the record's ini readers and writers share.

#include "shared/store/CIniFile.h"
#include "shared/store/CIniSection.h"

#include <array>
#include <cstdint>
#include <cwchar>
#include <span>
#include <string>
#include <type_traits>

// The bytes of a plain value, as the structure format stores them.
template <class T> auto BytesOf(T& value) {
    static_assert(std::is_trivially_copyable_v<std::remove_const_t<T>>);
    using Byte = std::conditional_t<std::is_const_v<T>, const std::uint8_t, std::uint8_t>;
    return std::span<Byte>(reinterpret_cast<Byte*>(&value), sizeof(T));
}

// "prefix" followed by number, as "%s%d" forms it.
inline std::wstring NumberedKey(const wchar_t* prefix, int number) {
    return prefix + std::to_wstring(number);
}

// A zero-terminated text field as a string; a field without terminator ends at its capacity
// less one, the most a read can give back.
template <std::size_t N> std::wstring_view FieldText(const std::array<wchar_t, N>& field) {
    return std::wstring_view(field.data(), wcsnlen(field.data(), N - 1));
}

// Reads a string key into a text field, cut to the field's capacity less the terminator.
template <std::size_t N>
void ReadTextField(const CIniSection& section, const wchar_t* key, std::array<wchar_t, N>& field) {
    const std::wstring text = section.ReadString(key, L"", N);
    field.fill(L'\0');
    text.copy(field.data(), N - 1);
}
