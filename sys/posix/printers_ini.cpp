#include "printers_ini.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "error_codes.h"
#include "host_paths.h"
#include "sys/last_error.h"

namespace sys::posix {
namespace {

std::string IniPath() {
    const std::string root = MachineRoot();
    return root.empty() ? std::string() : root + "/printers.ini";
}

std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r");
    return std::string(text.substr(first, last - first + 1));
}

// "[name]" gives true and the name.
bool SectionHeader(const std::string& line, std::string* name) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
    *name = Trim(std::string_view(line).substr(1, line.size() - 2));
    return true;
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

void ApplyKey(const std::string& key, const std::string& value, PrinterSetup* setup) {
    const auto is = [&](const char* name) { return NamesEqualIgnoringCase(key, name); };
    if (is("Port")) setup->port = Widen(value);
    else if (is("Output")) setup->output = Widen(value);
    else if (is("CallLog")) setup->callLog = Widen(value);
    else if (is("FailAfterBytes")) ParseNumber(value, &setup->failAfterBytes);
    else if (is("FailError")) ApplyNumber(value, &setup->failError);
    else if (is("FailCount")) ApplyNumber(value, &setup->failCount);
    else if (is("FailStartDoc")) ApplyNumber(value, &setup->failStartDoc);
    else if (is("FailStartPage")) ApplyNumber(value, &setup->failStartPage);
    else if (is("FailEndPage")) ApplyNumber(value, &setup->failEndPage);
    else if (is("FailEndDoc")) ApplyNumber(value, &setup->failEndDoc);
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    for (std::string line; std::getline(in, line);) lines.push_back(Trim(line));
    return lines;
}

// The lines without the section `name` (header and keys).
std::vector<std::string> WithoutSection(const std::vector<std::string>& lines, WStringView name) {
    const std::string narrowName = Narrow(name);
    std::vector<std::string> kept;
    bool skipping = false;
    for (const std::string& line : lines) {
        std::string section;
        if (SectionHeader(line, &section)) skipping = NamesEqualIgnoringCase(section, narrowName);
        if (!skipping && !line.empty()) kept.push_back(line);
    }
    return kept;
}

std::vector<std::string> SectionLines(const PrinterSetup& setup) {
    std::vector<std::string> lines{"[" + Narrow(setup.name) + "]", "Port=" + Narrow(setup.port)};
    if (!setup.output.empty()) lines.push_back("Output=" + Narrow(setup.output));
    if (!setup.callLog.empty()) lines.push_back("CallLog=" + Narrow(setup.callLog));
    if (setup.failAfterBytes != UINT64_MAX)
        lines.push_back("FailAfterBytes=" + std::to_string(setup.failAfterBytes));
    const std::pair<const char*, uint32_t> numbers[] = {
        {"FailError", setup.failError},       {"FailCount", setup.failCount},
        {"FailStartDoc", setup.failStartDoc}, {"FailStartPage", setup.failStartPage},
        {"FailEndPage", setup.failEndPage},   {"FailEndDoc", setup.failEndDoc},
    };
    for (const auto& [key, value] : numbers)
        lines.push_back(std::string(key) + "=" + std::to_string(value));
    return lines;
}

// Holds an exclusive lock on printers.ini.lock for a read-modify-write.
class IniLock {
public:
    IniLock() : fd_(::open((IniPath() + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666)) {
        if (fd_ >= 0) ::flock(fd_, LOCK_EX);
    }
    ~IniLock() {
        if (fd_ >= 0) ::close(fd_);  // closing releases the lock
    }
    IniLock(const IniLock&) = delete;
    IniLock& operator=(const IniLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

bool ReplaceFile(const std::string& path, const std::vector<std::string>& lines) {
    const std::string temp = path + ".new." + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines) out << line << '\n';
        if (!out.flush()) return Fail(kErrorWriteFault);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) return FailFromErrno();
    return true;
}

bool EditSections(WStringView name, const PrinterSetup* replacement) {
    const std::string path = IniPath();
    if (path.empty()) return Fail(kErrorPathNotFound);
    IniLock lock;
    if (!lock.Held()) return FailFromErrno();
    std::vector<std::string> lines = WithoutSection(ReadLines(path), name);
    if (replacement) {
        for (std::string& line : SectionLines(*replacement)) lines.push_back(std::move(line));
    }
    return ReplaceFile(path, lines);
}

}  // namespace

bool FindPrinterSection(WStringView name, PrinterSetup* setup) {
    const std::string narrowName = Narrow(name);
    bool inSection = false, found = false;
    for (const std::string& line : ReadLines(IniPath())) {
        std::string section;
        if (SectionHeader(line, &section)) {
            if (found) break;  // the first section of that name counts
            inSection = NamesEqualIgnoringCase(section, narrowName);
            if (inSection) {
                found = true;
                *setup = PrinterSetup{};
                setup->name = Widen(section);
            }
            continue;
        }
        const size_t equals = line.find('=');
        if (!inSection || line.empty() || line[0] == ';' || equals == std::string::npos) continue;
        ApplyKey(Trim(std::string_view(line).substr(0, equals)),
                 Trim(std::string_view(line).substr(equals + 1)), setup);
    }
    return found;
}

bool WritePrinterSection(const PrinterSetup& setup) {
    // Windows refuses '\\' and ',' in printer names; brackets and line breaks
    // would break the section format.
    if (setup.name.empty() || setup.name.find_first_of(u"\\,[]\r\n") != WString::npos)
        return Fail(kErrorInvalidPrinterName);
    return EditSections(setup.name, &setup);
}

bool RemovePrinterSection(WStringView name) { return EditSections(name, nullptr); }

}  // namespace sys::posix
