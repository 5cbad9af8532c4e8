// Texts in the fixed char arrays of InstallInfo: in the system's code page,
// NUL-terminated, and cut to the array. A text that does not fit loses
// whole characters from its end; nothing is ever written past the array.
#pragma once

#include <cstddef>

#include "sys/text.h"

namespace setup {

// Stores `text` in the array: at most size - 1 bytes and a NUL, the rest
// of the array zeroed.
void StoreText(char* field, size_t size, sys::WStringView text);

// The array's text, up to its first NUL or its end.
sys::WString LoadText(const char* field, size_t size);

template <size_t N>
void StoreText(char (&field)[N], sys::WStringView text) {
    StoreText(field, N, text);
}
template <size_t N>
sys::WString LoadText(const char (&field)[N]) {
    return LoadText(field, N);
}
template <size_t N>
bool IsEmptyText(const char (&field)[N]) {
    return field[0] == '\0';
}
template <size_t N>
void ClearText(char (&field)[N]) {
    StoreText(field, N, sys::WStringView());
}

}  // namespace setup
