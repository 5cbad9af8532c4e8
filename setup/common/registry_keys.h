// Whether a key below HKEY_LOCAL_MACHINE holds values or sub-keys.
#pragma once

#include <string>

// True when the key opens with full access and has at least one value; a
// user without administrative rights cannot open it so, and gets false.
bool MyKeyHasValues(const std::string& keyPath);
// True when the key opens (default access) and has at least one sub-key.
bool MyKeyHasSubKeys(const std::string& keyPath);
