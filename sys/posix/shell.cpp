// ShellExecute on a host without a desktop (sys/shell.h): programs start,
// registered documents and addresses count as opened.
#include "sys/shell.h"

#include <unistd.h>

#include "host_paths.h"
#include "shell_question.h"
#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/paths.h"
#include "sys/process.h"
#include "sys/registry.h"

namespace sys {
namespace {

// "http:", "mailto:" ...: a scheme of two letters or more (one is a drive).
bool IsAddress(WStringView file) {
    const size_t colon = file.find(u':');
    if (colon == WStringView::npos || colon < 2) return false;
    for (char16_t c : file.substr(0, colon))
        if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'))) return false;
    return true;
}

// A program by its extension, or a host executable (which has none).
bool IsProgram(WStringView file) {
    for (const char16_t* extension : {u".exe", u".com", u".bat"})
        if (EndsWithIgnoreCase(file, extension)) return true;
    posix::HostPath host;
    return posix::ToHostPath(file, &host) && ::access(host.path.c_str(), X_OK) == 0;
}

// HKEY_CLASSES_ROOT\.ext -> class -> class\shell\verb\command.
bool HasRegisteredProgram(WStringView file, WStringView verb) {
    const WStringView name = FileNameOf(file);
    const size_t dot = name.rfind(u'.');
    if (dot == WStringView::npos) return false;
    const RegistryKey extension = RegistryKey::Open(RegistryRoot::kClassesRoot, name.substr(dot), kKeyRead);
    WString className;
    if (!extension.IsOpen() || !extension.QueryString(u"", &className) || className.empty()) return false;
    const WString command = className + u"\\shell\\" + WString(verb.empty() ? u"open" : verb) + u"\\command";
    const RegistryKey key = RegistryKey::Open(RegistryRoot::kClassesRoot, command, kKeyRead);
    WString text;
    return key.IsOpen() && key.QueryString(u"", &text) && !text.empty();
}

}  // namespace

uint32_t ShellExecute(WStringView verb, WStringView file, WStringView parameters, WStringView directory,
                      int show) {
    if (const auto scripted = ScriptedShellExecute(verb, file, parameters, directory)) return *scripted;
    if (IsAddress(file)) return kShellExecuteOk;
    const bool hasFolder = file.find_first_of(u"\\/:") != WStringView::npos;
    const WString path = hasFolder || directory.empty() ? WString(file) : JoinPath(directory, file);
    switch (GetPathKind(path)) {
        case PathKind::Missing: return kSeErrFileNotFound;  // a missing folder too, as Wine answers
        case PathKind::Folder: return kShellExecuteOk;      // a folder opens in a window
        case PathKind::Device: return kSeErrAccessDenied;
        case PathKind::File: break;
    }
    if (IsProgram(path)) {
        const WString commandLine = u"\"" + path + u"\" " + WString(parameters);
        return Process::Create(commandLine, show, directory).IsValid() ? kShellExecuteOk : kSeErrFileNotFound;
    }
    return HasRegisteredProgram(path, verb) ? kShellExecuteOk : kSeErrNoAssociation;
}

}  // namespace sys
