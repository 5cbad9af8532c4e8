// Reading and writing the texts of the install-information record, which
// arrives from another module and may hold anything: a text is read up to
// its first NUL or the end of its array, whichever comes first, and written
// cut to the array with a NUL always at its end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "formats/install_info.h"

namespace outside {

template <size_t N>
std::string_view RecordText(const char (&text)[N]) {
    size_t length = 0;
    while (length < N && text[length] != 0) ++length;
    return std::string_view(text, length);
}

template <size_t N>
void SetRecordText(char (&text)[N], std::string_view value) {
    const size_t length = value.size() < N ? value.size() : N - 1;
    value.copy(text, length);
    for (size_t i = length; i < N; ++i) text[i] = 0;
}

// A text argument given by address: "null", or the text in double quotes
// (read at most `limit` bytes far).
std::string QuotedArgument(const char* text, size_t limit = 1024);

// The record in one line, the fields a dialog or the file copy works with:
//
//   mode=12 os=9 maker="Velora" model="VL-1200" product="..." language="EN"
//   setup="D:\" local="C:\WINDOWS\Velora\VL1200" exe="SETUP.EXE"
//   components="Driver|Manual" selection="Driver" pnp="Velora_VL1200"
//   etc=0x00000000 fcs=0x00000000 auto=0x00000000 wizardfn=0x00000000
std::string DescribeRecord(const InstallInfo& record);

// The non-empty names of an array of twenty texts, in slot order.
std::vector<std::string> SlotTexts(const InstallInfoText (&slots)[kInstallInfoSlots]);

// Names joined with "|", as the selection questions show and take them.
std::string JoinNames(const std::vector<std::string>& names);
std::vector<std::string> SplitNames(std::string_view joined);

}  // namespace outside
