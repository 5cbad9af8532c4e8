#include "support/temp_folder.h"

#include "sys/files.h"
#include "sys/last_error.h"
#include "sys/paths.h"
#include "sys/temp_files.h"

namespace zebl_test {

TempFolder::TempFolder() {
    // GetTempFileName reserves a unique name across processes; the folder
    // gets that name plus ".d" and the reservation is dropped at the end.
    const sys::WString temp = sys::GetTempPath();
    reserved_ = temp.empty() ? sys::WString() : sys::GetTempFileName(temp, u"zt");
    if (reserved_.empty()) {
        ADD_FAILURE() << "no temporary name, error " << sys::GetLastError();
        return;
    }
    const sys::WString folder = reserved_ + u".d";
    if (!sys::CreateDirectory(folder)) {
        ADD_FAILURE() << "cannot create " << sys::Narrow(folder) << ", error " << sys::GetLastError();
        return;
    }
    path_ = folder;
    tag_ = sys::WString(sys::FileNameOf(sys::WithoutExtension(reserved_)));  // without ".tmp"
}

TempFolder::~TempFolder() {
    if (!path_.empty()) {
        EXPECT_TRUE(RemoveTree(path_)) << "left behind: " << sys::Narrow(path_);
    }
    if (!reserved_.empty()) sys::DeleteFile(reserved_);
}

sys::WString TempFolder::Join(sys::WStringView name) const { return path_ + u"\\" + sys::WString(name); }

bool RemoveTree(sys::WStringView folder) {
    const sys::WString base(folder);
    bool ok = true;
    for (const sys::DirEntry& entry : sys::ListDirectory(base + u"\\*")) {
        const sys::WString path = base + u"\\" + entry.name;
        if (entry.attributes & sys::kAttrDirectory) {
            ok = RemoveTree(path) && ok;
        } else {
            sys::SetFileAttributes(path, sys::kAttrNormal);
            ok = sys::DeleteFile(path) && ok;
        }
    }
    return sys::RemoveDirectory(base) && ok;
}

}  // namespace zebl_test
