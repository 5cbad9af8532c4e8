#include "pipeline/own_module.h"

#include <algorithm>

#include "sys/modules.h"
#include "sys/mutex.h"
#include "sys/paths.h"

namespace {

constexpr size_t kMaxPath = 260;
constexpr size_t kModelBaseLength = 5;
constexpr char16_t kLibrarySuffix[] = u"um.dll";

// Set by hosts and tests, normally before any document starts; read by
// every document, on whichever spooler thread drives it.
sys::Mutex g_overrideLock;
sys::WString g_overriddenPath;

char16_t UpperAscii(char16_t c) { return (c >= u'a' && c <= u'z') ? c - 32 : c; }

int WatermarkFileName(sys::WStringView extension, sys::WString* out) {
    out->clear();
    sys::WString folder;
    if (!fbStrGetSystemPath(&folder)) return 0;
    sys::WString base;
    fbStrGetModelBase(&base);
    *out = folder + u"\\" + base + sys::WString(extension);
    return 1;
}

}  // namespace

sys::WString fbOwnModulePath() {
    {
        sys::MutexLock lock(g_overrideLock);
        if (!g_overriddenPath.empty()) return g_overriddenPath;
    }
    return sys::GetOwnModuleFileName();
}

void fbOverrideOwnModulePath(sys::WStringView path) {
    sys::MutexLock lock(g_overrideLock);
    g_overriddenPath = sys::WString(path);
}

uint32_t fbGetModuleFileName(char16_t* out, uint32_t size) {
    if (out == nullptr || size == 0) return 0;
    const sys::WString path = fbOwnModulePath();
    const size_t length = std::min<size_t>(path.size(), size - 1);
    std::copy_n(path.begin(), length, out);
    out[length] = 0;
    return static_cast<uint32_t>(length);
}

bool DeriveModulePath(sys::WStringView ownPath, sys::WStringView ownSuffix, sys::WStringView moduleSuffix,
                      sys::WString* modulePath) {
    sys::WString upper(ownPath);
    std::transform(upper.begin(), upper.end(), upper.begin(), UpperAscii);
    if (ownSuffix.empty() || !upper.ends_with(ownSuffix)) return false;
    upper.resize(upper.size() - ownSuffix.size());
    *modulePath = upper + sys::WString(moduleSuffix);
    return true;
}

sys::WString ModelBaseOf(sys::WStringView libraryPath) {
    const sys::WStringView name = sys::FileNameOf(libraryPath);
    if (!sys::EndsWithIgnoreCase(name, kLibrarySuffix)) return sys::WString();
    const sys::WStringView stem = name.substr(0, name.size() - (std::size(kLibrarySuffix) - 1));
    const size_t length = std::min(stem.size(), kModelBaseLength);
    return sys::WString(stem.substr(stem.size() - length));
}

int fbStrGetModelBase(sys::WString* out) {
    *out = ModelBaseOf(fbOwnModulePath());
    return out->empty() ? 0 : 1;
}

int fbStrGetSystemPath(sys::WString* out) {
    *out = sys::GetSystemDirectory();
    if (out->size() >= kMaxPath) out->resize(kMaxPath - 1);
    return out->empty() ? 0 : 1;
}

int fbStrGetWMFileNameL(sys::WString* out) { return WatermarkFileName(u".wml", out); }
int fbStrGetWMFileNameP(sys::WString* out) { return WatermarkFileName(u".wmp", out); }
