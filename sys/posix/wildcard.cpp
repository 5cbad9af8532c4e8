#include "wildcard.h"

#include "host_paths.h"

namespace sys::posix {
namespace {

// Iterative glob with one backtrack point: the last '*' seen.
bool Glob(WStringView name, WStringView pattern) {
    size_t n = 0, p = 0;
    size_t starPattern = WStringView::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != WStringView::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesWildcard(WStringView name, WStringView pattern) {
    if (Glob(name, pattern)) return true;
    const bool endsWithDotStar = pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == u".*";
    return endsWithDotStar && name.find(u'.') == WStringView::npos &&
           Glob(name, pattern.substr(0, pattern.size() - 2));
}

}  // namespace sys::posix
