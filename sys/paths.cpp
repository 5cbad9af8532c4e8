#include "sys/paths.h"

namespace sys {

bool IsPathSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

WStringView FolderOf(WStringView path) {
    const size_t cut = path.find_last_of(u"\\/");
    return cut == WStringView::npos ? WStringView() : path.substr(0, cut);
}

WStringView FileNameOf(WStringView path) {
    const size_t cut = path.find_last_of(u"\\/:");
    return cut == WStringView::npos ? path : path.substr(cut + 1);
}

WStringView WithoutExtension(WStringView path) {
    const size_t nameStart = path.size() - FileNameOf(path).size();
    const size_t dot = path.find_last_of(u'.');
    return dot == WStringView::npos || dot < nameStart ? path : path.substr(0, dot);
}

WString JoinPath(WStringView folder, WStringView name) {
    WString path(folder);
    if (!path.empty() && !IsPathSeparator(path.back())) path += u'\\';
    path += name;
    return path;
}

}  // namespace sys
