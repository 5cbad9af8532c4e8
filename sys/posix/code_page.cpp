// The posix layer's code page is UTF-8: what the A functions of Windows take
// in the machine's ANSI code page, this layer takes as UTF-8.
#include "sys/text.h"

namespace sys {

std::string ToCodePage(WStringView text) { return Narrow(text); }
WString FromCodePage(std::string_view text) { return Widen(text); }

}  // namespace sys
