#include "printers_ini.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "error_codes.h"
#include "host_paths.h"
#include "profile_file.h"
#include "sys/last_error.h"
#include "sys/profile.h"

namespace sys::posix {
namespace {

WString IniPath() {
    const std::string root = MachineRoot();
    return root.empty() ? WString() : Widen(root + "/printers.ini");
}

bool ParseNumber(const std::string& text, uint64_t* value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long parsed = std::strtoull(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || text[0] == '-') return false;
    *value = parsed;
    return true;
}

void ApplyNumber(const std::string& text, uint32_t* field) {
    uint64_t value = 0;
    if (ParseNumber(text, &value) && value <= UINT32_MAX) *field = static_cast<uint32_t>(value);
}

void ApplyKey(WStringView key, const WString& value, PrinterSetup* setup) {
    const auto is = [&](const char16_t* name) { return EqualsIgnoreCase(key, name); };
    const std::string number = Narrow(value);
    if (is(u"Port")) setup->port = value;
    else if (is(u"Output")) setup->output = value;
    else if (is(u"CallLog")) setup->callLog = value;
    else if (is(u"FailAfterBytes")) ParseNumber(number, &setup->failAfterBytes);
    else if (is(u"FailError")) ApplyNumber(number, &setup->failError);
    else if (is(u"FailCount")) ApplyNumber(number, &setup->failCount);
    else if (is(u"FailStartDoc")) ApplyNumber(number, &setup->failStartDoc);
    else if (is(u"FailStartPage")) ApplyNumber(number, &setup->failStartPage);
    else if (is(u"FailEndPage")) ApplyNumber(number, &setup->failEndPage);
    else if (is(u"FailEndDoc")) ApplyNumber(number, &setup->failEndDoc);
}

// An exclusive lock on printers.ini.lock around a change of one printer,
// so that replacing a printer (removing its section, writing the new one)
// is one step for every other program that changes printers.
class PrintersLock {
public:
    PrintersLock() {
        const std::string path = MachineRoot() + "/printers.ini.lock";
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~PrintersLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    PrintersLock(const PrintersLock&) = delete;
    PrintersLock& operator=(const PrintersLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

std::vector<WString> SectionLines(const PrinterSetup& setup) {
    std::vector<WString> lines{u"Port=" + setup.port};
    if (!setup.output.empty()) lines.push_back(u"Output=" + setup.output);
    if (!setup.callLog.empty()) lines.push_back(u"CallLog=" + setup.callLog);
    if (setup.failAfterBytes != UINT64_MAX)
        lines.push_back(u"FailAfterBytes=" + Widen(std::to_string(setup.failAfterBytes)));
    const std::pair<const char16_t*, uint32_t> numbers[] = {
        {u"FailError", setup.failError},       {u"FailCount", setup.failCount},
        {u"FailStartDoc", setup.failStartDoc}, {u"FailStartPage", setup.failStartPage},
        {u"FailEndPage", setup.failEndPage},   {u"FailEndDoc", setup.failEndDoc},
    };
    for (const auto& [key, value] : numbers)
        lines.push_back(WString(key) + u"=" + Widen(std::to_string(value)));
    return lines;
}

}  // namespace

bool FindPrinterSection(WStringView name, PrinterSetup* setup) {
    const WString path = IniPath();
    IniDocument document;
    if (path.empty() || !ReadProfile(path, &document)) return false;
    const IniSection* section = document.FindSection(name);
    if (section == nullptr || !section->header) return false;
    *setup = PrinterSetup{};
    setup->name = section->name;  // as the printer was added
    for (const IniEntry& entry : section->entries)
        if (entry.value && !entry.IsComment()) ApplyKey(entry.key, *entry.value, setup);
    return true;
}

bool WritePrinterSection(const PrinterSetup& setup) {
    // Windows refuses '\\' and ',' in printer names; brackets and line breaks
    // would break the section format.
    if (setup.name.empty() || setup.name.find_first_of(u"\\,[]\r\n") != WString::npos)
        return Fail(kErrorInvalidPrinterName);
    const WString path = IniPath();
    if (path.empty()) return Fail(kErrorPathNotFound);
    // A printer of the same name goes first, so the new one keeps its own
    // spelling of the name.
    const std::vector<WString> lines = SectionLines(setup);
    PrintersLock lock;
    if (!lock.Held()) return FailFromErrno();
    return DeletePrivateProfileSection(setup.name, path) &&
           WritePrivateProfileSection(setup.name, lines, path);
}

bool RemovePrinterSection(WStringView name) {
    const WString path = IniPath();
    if (path.empty()) return Fail(kErrorPathNotFound);
    PrintersLock lock;
    if (!lock.Held()) return FailFromErrno();
    return DeletePrivateProfileSection(name, path);
}

}  // namespace sys::posix
