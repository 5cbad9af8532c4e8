// Modules on a POSIX host: shared objects through dlopen. Windows paths map
// to host paths under the machine root (host_paths.h), so "C:\X\Tzqr4CM.DLL"
// and the host path of the same file both load it. As on Windows, a name
// without a folder is searched for in the program's folder, then the system
// folder, then the current folder, and loading the same file twice gives the
// same handle with a use count that FreeLibrary takes down.
#include "sys/modules.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "host_paths.h"
#include "sys/diagnostics.h"
#include "sys/last_error.h"

namespace sys {
namespace {

constexpr char16_t kSystemDirectory[] = u"C:\\WINDOWS\\SYSTEM32";

bool IsRegularFile(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool HasFolder(WStringView path) { return path.find_first_of(u"\\/:") != WStringView::npos; }

std::string ProgramFolder() {
    std::vector<char> buffer(4096);
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    if (length <= 0) return std::string();
    std::string program(buffer.data(), static_cast<size_t>(length));
    const size_t slash = program.find_last_of('/');
    return slash == std::string::npos ? std::string() : program.substr(0, slash);
}

// The host file a module path names, or empty when there is none.
std::string FindModuleFile(WStringView path) {
    std::vector<WString> candidates;
    if (HasFolder(path)) {
        candidates.emplace_back(path);
    } else {
        const std::string programFolder = ProgramFolder();
        if (!programFolder.empty()) candidates.push_back(Widen(programFolder) + u"/" + WString(path));
        candidates.push_back(WString(kSystemDirectory) + u"\\" + WString(path));
        candidates.emplace_back(path);
    }
    for (const WString& candidate : candidates) {
        posix::HostPath host;
        if (posix::ToHostPath(candidate, &host) && IsRegularFile(host.path)) return host.path;
    }
    return std::string();
}

bool MakeFolders(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash))) return false;
    return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

}  // namespace

ModuleHandle LoadLibrary(WStringView path) {
    const std::string file = FindModuleFile(path);
    if (file.empty()) {
        SetLastError(kErrorModNotFound);
        return nullptr;
    }
    void* module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module == nullptr) {
        // The file is there but is no module for this machine.
        const char* reason = ::dlerror();
        DebugPrintf("[sys] cannot load %s: %s\n", file.c_str(), reason ? reason : "?");
        SetLastError(kErrorBadExeFormat);
        return nullptr;
    }
    return module;
}

void* GetProcAddress(ModuleHandle module, const char* name) {
    if (module == nullptr || name == nullptr) {
        SetLastError(kErrorInvalidHandle);
        return nullptr;
    }
    void* routine = ::dlsym(module, name);
    if (routine == nullptr) SetLastError(kErrorProcNotFound);
    return routine;
}

bool FreeLibrary(ModuleHandle module) {
    if (module == nullptr || ::dlclose(module) != 0) {
        SetLastError(kErrorInvalidHandle);
        return false;
    }
    return true;
}

WString GetModuleFileNameContaining(const void* addressInModule) {
    // dladdr finds the loaded object whose mapping holds the address, with or
    // without a symbol there.
    Dl_info info{};
    if (addressInModule == nullptr || ::dladdr(addressInModule, &info) == 0 || info.dli_fname == nullptr) {
        SetLastError(kErrorModNotFound);
        return WString();
    }
    std::string name = info.dli_fname;
    if (name.empty() || name[0] != '/') {
        // The main program may be reported by the name it was started with.
        std::vector<char> buffer(4096);
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
        if (length > 0) name.assign(buffer.data(), static_cast<size_t>(length));
    }
    return Widen(name);
}

WString GetSystemDirectory() {
    posix::HostPath host;
    if (!posix::ToHostPath(kSystemDirectory, &host)) return WString();
    if (!MakeFolders(host.path)) {
        SetLastError(kErrorPathNotFound);
        return WString();
    }
    return kSystemDirectory;
}

}  // namespace sys
