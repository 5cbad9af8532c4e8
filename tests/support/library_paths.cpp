#include "support/library_paths.h"

#include "sys/modules.h"

namespace zebl_test {

namespace {

// The separator the program's own path uses: backslashes under Windows,
// slashes natively.
char16_t SeparatorOf(const sys::WString& path) {
    return path.find(u'\\') != sys::WString::npos ? u'\\' : u'/';
}

}  // namespace

sys::WString StandInFolder() {
    sys::WString path = sys::GetOwnModuleFileName();
    for (int up = 0; up < 2; ++up) {  // the program, then its folder
        const size_t cut = path.find_last_of(u"\\/");
        if (cut == sys::WString::npos) return sys::WString();
        path.resize(cut);
    }
    return path + SeparatorOf(path) + u"bin";
}

sys::WString LibraryBesideStandIns() {
    const sys::WString folder = StandInFolder();
    if (folder.empty()) return sys::WString();
    return folder + SeparatorOf(folder) + u"Tzqr4um.dll";
}

}  // namespace zebl_test
