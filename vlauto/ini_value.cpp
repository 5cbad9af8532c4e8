#include "ini_value.h"

#include "data/profile_value.h"

namespace vlauto {

sys::WString ReadIniText(sys::WStringView section, sys::WStringView key, sys::WStringView file,
                         uint32_t bufferSize) {
    return setup::ReadDataValue(section, key, file, bufferSize);
}

sys::WString MyGetIniValue(sys::WStringView section, sys::WStringView key, sys::WStringView file) {
    sys::WString value = ReadIniText(section, key, file, kIniValueBuffer);
    for (size_t at = value.find(u"\\n"); at != sys::WString::npos; at = value.find(u"\\n", at + 1))
        value.replace(at, 2, u"\n");
    return value;
}

sys::WString FormatWithArgument(sys::WStringView format, sys::WStringView argument) {
    sys::WString text;
    bool argumentUsed = false;
    for (size_t at = 0; at < format.size(); ++at) {
        const char16_t next = at + 1 < format.size() ? format[at + 1] : u'\0';
        if (format[at] == u'%' && next == u'%') {
            text += u'%';
            ++at;
        } else if (format[at] == u'%' && next == u's') {
            if (!argumentUsed) text += argument;
            argumentUsed = true;
            ++at;
        } else {
            text += format[at];
        }
    }
    return text;
}

}  // namespace vlauto
