#include "support/library_paths.h"

#include "support/child_program.h"

#include "sys/modules.h"
#include "sys/paths.h"

namespace zebl_test {

namespace {

// Joined with the separator the program's own path uses: backslashes under
// Windows, slashes for the host paths of the native build.
sys::WString JoinLikeProgramPath(const sys::WString& folder, sys::WStringView name) {
    const char16_t separator = folder.find(u'\\') != sys::WString::npos ? u'\\' : u'/';
    return folder + separator + sys::WString(name);
}

}  // namespace

sys::WString StandInFolder() {
    // <build>/tests/program: two folders up, then bin.
    const sys::WString build(sys::FolderOf(sys::FolderOf(sys::GetOwnModuleFileName())));
    return build.empty() ? build : JoinLikeProgramPath(build, u"bin");
}

sys::WString HostPath(const std::string& path) {
    sys::WString wide = sys::Widen(path);
#if defined(_WIN32)
    for (char16_t& c : wide)
        if (c == u'/') c = u'\\';
    if (!wide.empty() && wide[0] == u'\\') wide = u"Z:" + wide;
#endif
    return wide;
}

sys::WString LibraryBesideStandIns() {
    const sys::WString folder = StandInFolder();
    return folder.empty() ? folder : JoinLikeProgramPath(folder, u"Tzqr4um.dll");
}

sys::WString ChildProgram() {
    const sys::WString folder(sys::FolderOf(sys::GetOwnModuleFileName()));
#if defined(_WIN32)
    return JoinLikeProgramPath(folder, u"zebl_test_child.exe");
#else
    return JoinLikeProgramPath(folder, u"zebl_test_child");
#endif
}

}  // namespace zebl_test
