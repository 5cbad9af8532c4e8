#include "support/temp_watch.h"

#include <algorithm>
#include <cctype>

#include "sys/files.h"
#include "sys/temp_files.h"

namespace zebl_test {
namespace {

std::string Lower(const sys::WString& name) {
    std::string text = sys::Narrow(name);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool IsDots(const sys::WString& name) { return name == u"." || name == u".."; }

// The folders of the tests' own TempFolder fixtures ("zt*.tmp" and
// "zt*.tmp.d"): test programs running at the same time make and remove
// them, and each fixture checks its own removal.
bool IsTestFolder(const std::string& name) {
    return name.rfind("zt", 0) == 0 && (name.ends_with(".tmp") || name.ends_with(".tmp.d"));
}

void AddTree(const sys::WString& folder, const std::string& prefix, int depth, std::set<std::string>* names) {
    for (const sys::DirEntry& entry : sys::ListDirectory(folder + u"\\*")) {
        if (IsDots(entry.name)) continue;
        const std::string name = prefix + Lower(entry.name);
        names->insert(name);
        if ((entry.attributes & sys::kAttrDirectory) && depth > 0) {
            AddTree(folder + u"\\" + entry.name, name + "\\", depth - 1, names);
        }
    }
}

}  // namespace

std::set<std::string> TempWatch::Snapshot() {
    std::set<std::string> names;
    sys::WString temp = sys::GetTempPath();
    if (temp.empty()) return names;
    if (temp.back() == u'\\') temp.pop_back();
    // The spool folder itself stays once made; what is inside it counts.
    for (const sys::DirEntry& entry : sys::ListDirectory(temp + u"\\*")) {
        const std::string name = Lower(entry.name);
        if (!IsDots(entry.name) && name != "vlspldir" && !IsTestFolder(name)) names.insert(name);
    }
    AddTree(temp + u"\\VLSPLDIR", "vlspldir\\", 1, &names);
    return names;
}

std::string TempWatch::LeftBehind() const {
    std::string left;
    for (const std::string& name : Snapshot()) {
        if (!before_.count(name)) left += name + "\n";
    }
    return left;
}

}  // namespace zebl_test
