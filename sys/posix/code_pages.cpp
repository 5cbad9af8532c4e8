// Code pages on the posix layer through the C library's iconv, which knows
// the Windows code pages by the names "CP932", "CP1252" and so on. The
// system's own code page here is UTF-8 (sys/text.h).
#include <iconv.h>

#include <cerrno>
#include <string>

#include "sys/code_pages.h"

namespace sys {
namespace {

constexpr char16_t kReplacement = u'\uFFFD';

class Converter {
public:
    explicit Converter(uint32_t codePage)
        : handle_(::iconv_open("UTF-16LE", ("CP" + std::to_string(codePage)).c_str())) {}
    ~Converter() {
        if (IsOpen()) ::iconv_close(handle_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool IsOpen() const { return handle_ != reinterpret_cast<iconv_t>(-1); }

    WString Decode(std::string_view bytes) {
        WString text;
        char* in = const_cast<char*>(bytes.data());
        size_t inLeft = bytes.size();
        char16_t chunk[256];
        while (inLeft > 0) {
            char* out = reinterpret_cast<char*>(chunk);
            size_t outLeft = sizeof chunk;
            const size_t done = ::iconv(handle_, &in, &inLeft, &out, &outLeft);
            const int error = errno;
            text.append(chunk, (sizeof chunk - outLeft) / sizeof(char16_t));
            if (done != static_cast<size_t>(-1)) break;
            if (error == E2BIG) continue;
            if (error == EINVAL) break;    // a character cut off at the end
            text.push_back(kReplacement);  // EILSEQ: a byte that means nothing here
            ++in;
            --inLeft;
        }
        // A converter that combines characters (Vietnamese) holds the last
        // one back until it is told the text has ended.
        char* out = reinterpret_cast<char*>(chunk);
        size_t outLeft = sizeof chunk;
        ::iconv(handle_, nullptr, nullptr, &out, &outLeft);
        text.append(chunk, (sizeof chunk - outLeft) / sizeof(char16_t));
        return text;
    }

private:
    iconv_t handle_;
};

}  // namespace

WString DecodeCodePage(std::string_view bytes, uint32_t codePage) {
    if (codePage != kCodePageSystem && codePage != kCodePageUtf8) {
        Converter converter(codePage);
        if (converter.IsOpen()) return converter.Decode(bytes);
    }
    return FromCodePage(bytes);
}

}  // namespace sys
