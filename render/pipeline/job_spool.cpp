#include "pipeline/job_spool.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "sys/diagnostics.h"
#include "sys/last_error.h"
#include "sys/message_box.h"
#include "sys/paths.h"
#include "sys/temp_files.h"

namespace {

constexpr char16_t kSpoolFolderName[] = u"VLSPLDIR";
constexpr size_t kSpoolFolderNameLength = 8;
constexpr size_t kIndexDigits = 8;
constexpr char16_t kJobFileBase[] = u"job";
constexpr char16_t kJobExtension[] = u"vlj";
constexpr char16_t kPageExtension[] = u"vlp";

// The longest name inside a spool directory: "\" + 8 digits + ".vlp".
constexpr size_t kLongestNameInside = 1 + kIndexDigits + 4;

// printf's "%08d" of the page and directory numbers: at least eight digits.
sys::WString EightDigits(uint32_t number) {
    char text[16];
    std::snprintf(text, sizeof text, "%08u", static_cast<unsigned>(number));
    return sys::Widen(text);
}

// Only "...\VLSPLDIR\<8 digits>" is ever removed, so that a damaged or
// foreign path can never make the spool delete files elsewhere.
bool IsSpoolDirectoryPath(sys::WStringView path) {
    const size_t tail = 1 + kSpoolFolderNameLength + 1 + kIndexDigits;
    if (path.size() < tail) return false;
    const size_t digits = path.size() - kIndexDigits;
    for (size_t i = digits; i < path.size(); ++i) {
        if (path[i] < u'0' || path[i] > u'9') return false;
    }
    const size_t name = digits - 1 - kSpoolFolderNameLength;
    return sys::IsPathSeparator(path[digits - 1]) && sys::IsPathSeparator(path[name - 1]) &&
           sys::EqualsIgnoreCase(path.substr(name, kSpoolFolderNameLength), kSpoolFolderName);
}

// Creates a directory; one that is already there counts as made only when
// `existingIsFine`.
bool MakeDirectory(const sys::WString& path, bool existingIsFine) {
    if (sys::CreateDirectory(path)) return true;
    return existingIsFine && sys::GetLastError() == sys::kErrorAlreadyExists;
}

void RemoveSpoolFiles(const sys::WString& directory) {
    MyRemoveFilteredFiles(directory, sys::WString(u"*.") + kJobExtension);
    MyRemoveFilteredFiles(directory, sys::WString(u"*.") + kPageExtension);
}

// Picks the first of the eight numbered directories that can be created;
// when all exist, directory 0 is emptied of its spool files and made anew.
bool ClaimSpoolDirectory(FBJobSpool* spool, const sys::WString& parent) {
    for (uint32_t i = 0; i < kFBJobSpoolDirectories; ++i) {
        const sys::WString path = parent + u"\\" + EightDigits(i);
        if (MakeDirectory(path, false)) {
            spool->directoryIndex = i;
            spool->directory = path;
            return true;
        }
    }
    const sys::WString first = parent + u"\\" + EightDigits(0);
    RemoveSpoolFiles(first);
    MyRemoveDirectory(first);
    // Foreign files keep the directory from going away; it is still ours to use.
    if (!MakeDirectory(first, true)) return false;
    spool->directoryIndex = 0;
    spool->directory = first;
    return true;
}

void ResetSpool(FBJobSpool* spool) {
    spool->dataFile.Close();
    spool->pageInfoFile.Close();
    spool->directory.clear();
    spool->directoryIndex = 0;
    spool->keep = 0;
}

bool WriteAll(sys::File* file, const void* data, uint32_t length) {
    uint32_t written = 0;
    return file->Write(data, length, &written) && written == length;
}

// Reads up to `length` bytes; fewer only at the end of the file.
uint32_t ReadUpTo(sys::File* file, void* data, uint32_t length) {
    auto* out = static_cast<uint8_t*>(data);
    uint32_t total = 0;
    while (total < length) {
        uint32_t got = 0;
        if (!file->Read(out + total, length - total, &got) || got == 0) break;
        total += got;
    }
    return total;
}

uint32_t GetLE32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

int FBJobSpoolInit(FBJobSpool* spool, sys::WStringView file) {
    if (spool == nullptr) return 0;
    if (file.empty()) {
        const sys::WString temp = sys::GetTempPath();
        if (temp.empty()) {
            const uint32_t error = sys::GetLastError();
            sys::MessageBox(sys::Widen(sys::ErrorText(error)), u"", sys::kMbOk);
            return 0;
        }
        return FBJobSpoolInitInFolder(spool, temp);
    }
    ResetSpool(spool);
    spool->mode = kSpoolSingleFile;
    spool->dataFile = sys::File::CreateAlways(file, sys::Share::None);
    return spool->dataFile.IsOpen() ? 1 : 0;
}

int FBJobSpoolInitInFolder(FBJobSpool* spool, sys::WStringView folder) {
    if (spool == nullptr || folder.empty()) return 0;
    ResetSpool(spool);
    spool->mode = kSpoolDirectory;
    const sys::WString parent = sys::JoinPath(folder, kSpoolFolderName);
    if (parent.size() + 1 + kIndexDigits + kLongestNameInside >= kFBJobSpoolMaxPath) return 0;
    if (!MakeDirectory(parent, true)) return 0;
    if (!ClaimSpoolDirectory(spool, parent)) return 0;
    sys::WString jobFile;
    FBJobSpoolGetJobFileName(spool, &jobFile);
    spool->pageInfoFile = sys::File::CreateAlways(jobFile, sys::Share::None);
    return spool->pageInfoFile.IsOpen() ? 1 : 0;
}

int FBJobSpoolNewPage(FBJobSpool* spool, const FBPage* page) {
    if (spool == nullptr || page == nullptr) return 0;
    if (spool->mode == kSpoolSingleFile) return 1;
    if (spool->dataFile.IsOpen() || spool->directory.empty()) return 0;
    sys::WString name;
    FBJobSpoolGetPageFileName(spool, &name, page->pageNumber);
    spool->dataFile = sys::File::CreateAlways(name, sys::Share::None);
    if (!spool->dataFile.IsOpen()) return 0;
    return spool->pageInfoFile.IsOpen() && WriteAll(&spool->pageInfoFile, page, sizeof(FBPage)) ? 1 : 0;
}

int FBJobSpoolAddDataFromCmdBuffer(FBJobSpool* spool, const FBCmdList* list) {
    if (spool == nullptr || list == nullptr || !spool->dataFile.IsOpen()) return 0;
    for (const FBCmdBuffer& buffer : list->buffers) {
        if (buffer.used != 0 && !WriteAll(&spool->dataFile, buffer.data.get(), buffer.used)) {
            return 0;
        }
    }
    return 1;
}

int FBJobSpoolClosePage(FBJobSpool* spool) {
    if (spool == nullptr) return 0;
    if (spool->mode == kSpoolDirectory) spool->dataFile.Close();
    return 1;
}

int FBJobSpoolReadPageInfo(FBJobSpool* spool, FBPage* records, uint32_t count) {
    if (spool == nullptr || (records == nullptr && count != 0)) return 0;
    for (uint32_t i = 0; i < count; ++i) records[i] = FBPage{};
    sys::File& file = spool->pageInfoFile;
    if (!file.IsOpen() || !file.Seek(0, sys::SeekOrigin::Begin)) return 0;
    uint32_t complete = 0;
    while (complete < count && ReadUpTo(&file, &records[complete], sizeof(FBPage)) == sizeof(FBPage)) {
        ++complete;
    }
    if (complete < count) records[complete] = FBPage{};  // a partly read record
    file.Seek(0, sys::SeekOrigin::End);
    return complete == count ? 1 : 0;
}

int FBJobSpoolReadData(sys::File* file, std::vector<uint8_t>* buffer, uint32_t maxLength, uint32_t* length,
                       uint32_t* tag) {
    if (file == nullptr || buffer == nullptr || length == nullptr || tag == nullptr) {
        return kSpoolReadDamaged;
    }
    *length = 0;
    *tag = 0;
    uint8_t header[kFBCmdHeaderSize];
    const uint32_t got = ReadUpTo(file, header, sizeof header);
    if (got == 0) return kSpoolReadEnd;
    if (got != sizeof header) return kSpoolReadDamaged;
    const uint32_t recordLength = GetLE32(header);
    if (recordLength > maxLength) return kSpoolReadDamaged;
    try {
        if (buffer->size() < recordLength) buffer->resize(recordLength);
    } catch (const std::bad_alloc&) {
        return kSpoolReadDamaged;  // the page prints what came before
    }
    if (ReadUpTo(file, buffer->data(), recordLength) != recordLength) return kSpoolReadDamaged;
    *length = recordLength;
    *tag = GetLE32(header + 4);
    return kSpoolReadRecord;
}

int FBCmdBufferAddDataFromFile(FBCmdList* list, sys::WStringView path) {
    if (list == nullptr) return 0;
    sys::File file = sys::File::OpenExisting(path, /*writable=*/false, sys::Share::ReadWrite);
    if (!file.IsOpen()) return 0;
    uint64_t fileSize = 0;
    if (!file.Seek(0, sys::SeekOrigin::End, &fileSize) || !file.Seek(0, sys::SeekOrigin::Begin)) {
        return 0;
    }
    // A record can never be longer than what is left of the file, so a
    // damaged length never makes us allocate more than the file holds. The
    // read buffer grows to the longest record (a page's pieces are far
    // smaller than a list buffer), so a small overlay or watermark merged
    // into every page costs no 4 MiB buffer each time.
    std::vector<uint8_t> record;
    uint64_t position = 0;
    for (;;) {
        const uint64_t left = fileSize - position;
        if (left == 0) return 1;
        const uint64_t room = left - (left < kFBCmdHeaderSize ? left : kFBCmdHeaderSize);
        const uint32_t maxLength =
            room < kFBCmdMaxFileRecord ? static_cast<uint32_t>(room) : kFBCmdMaxFileRecord;
        uint32_t length = 0, tag = 0;
        const int got = FBJobSpoolReadData(&file, &record, maxLength, &length, &tag);
        if (got == kSpoolReadEnd) return 1;
        if (got != kSpoolReadRecord) return 0;
        if (!FBCmdListAddData(list, record.data(), length, tag)) return 0;
        position += uint64_t{kFBCmdHeaderSize} + length;
    }
}

int FBJobSpoolGetPageFileName(const FBJobSpool* spool, sys::WString* name, uint32_t pageNumber) {
    if (spool == nullptr || name == nullptr) return 0;
    *name = spool->directory + u"\\" + EightDigits(pageNumber) + u"." + kPageExtension;
    return 1;
}

int FBJobSpoolGetJobFileName(const FBJobSpool* spool, sys::WString* name) {
    if (spool == nullptr || name == nullptr) return 0;
    *name = spool->directory + u"\\" + kJobFileBase + u"." + kJobExtension;
    return 1;
}

int FBJobSpoolDelete(FBJobSpool* spool) {
    if (spool == nullptr) return 0;
    spool->dataFile.Close();
    spool->pageInfoFile.Close();
    int removed = 1;
    if (spool->keep == 0 && !spool->directory.empty()) {
        if (IsSpoolDirectoryPath(spool->directory)) {
            RemoveSpoolFiles(spool->directory);
            removed = MyRemoveDirectory(spool->directory);
        } else {
            removed = 0;
        }
    }
    spool->directory.clear();
    return removed;
}

int MyRemoveFilteredFiles(sys::WStringView directory, sys::WStringView pattern) {
    const sys::WString folder(directory);
    int all = 1;
    for (const sys::DirEntry& entry : sys::ListDirectory(folder + u"\\" + sys::WString(pattern))) {
        if (entry.attributes & sys::kAttrDirectory) continue;
        if (!sys::DeleteFile(folder + u"\\" + entry.name)) all = 0;
    }
    return all;
}

int MyRemoveDirectory(sys::WStringView directory) { return sys::RemoveDirectory(directory) ? 1 : 0; }
