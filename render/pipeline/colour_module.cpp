#include "pipeline/colour_module.h"

#include <algorithm>

#include "pipeline/module_error_box.h"
#include "pipeline/own_module.h"
#include "sys/last_error.h"
#include "sys/mutex.h"

const char* const kSCRoutineNames[kSCRoutineCount] = {
    "SC_CreateICCTransform",
    "SC_ReleaseICCTransform",
    "SC_DoICCTransform",
    "SC_DoGenTransform",
    "SC_CreateTransformTable",
    "SC_ReleaseTransformTable",
    "SC_DoTransformTable",
    "SC_DoTransformTableBulk",
    "SC_EnableTransformTableCache",
    "SC_InitICCArcHeader",
    "SC_MoveICCEntry",
    "SC_ExtractTempICCEntry",
    "SCBB_CreateTransformTables",
    "SCBB_ReleaseTransformTables",
    "SCBB_ConvertBulk",
    "SC_GetProfileInfo",
};

namespace {

constexpr char kErrorCaption[] = "Fast Color Conversion interface error";
constexpr uint32_t kPaperTypePlain = 12;
constexpr uint32_t kPaperTypePlainDuplex = 64;

enum SCRoutine { kCreateTables = 12, kReleaseTables = 13, kConvertBulk = 14 };

// The loaded module, shared by every document of the process. A print
// server renders documents on several spooler threads at once, so the use
// count, the handle and the routine table change only under the lock, and
// only when the count goes from 0 to 1 or from 1 to 0. A converter that
// holds a use reads the routines without the lock: they were written before
// its own SC_Initialize took the lock, and stay as they are until the last
// use is dropped.
struct ColourModule {
    sys::ModuleHandle handle = nullptr;
    void* routines[kSCRoutineCount] = {};
    uint32_t uses = 0;
};

// Made when the library is loaded (before any spooler thread calls in), so
// no first-use guard is needed.
sys::Mutex g_moduleLock;
ColourModule g_module;

template <typename Routine>
Routine RoutineAt(SCRoutine index) {
    return reinterpret_cast<Routine>(g_module.routines[index]);
}

// The settings record's fields behind block words 0..16.
constexpr uint32_t kSettingsOffsets[kCMMSettingsWords] = {
    kFBIColour,
    kFBIColourSetting1648,
    kFBIPaperType,
    kFBIColourSetting164,
    kFBIOutputResolution,
    kFBIColourSetting1612,
    kFBIColourSetting1616,
    kFBIColourSetting1644,
    kFBIColourSetting1620,
    kFBIColourSetting1624,
    kFBIColourSetting1628,
    kFBIColourSetting1652,
    kFBIColourSetting1660,
    kFBIColourSetting1664,
    kFBIColourSetting1668,
    kFBIColourSetting1672,
    kFBIColourSetting1656,
};

bool LookUpRoutines(ColourModule* module) {
    for (int i = 0; i < kSCRoutineCount; ++i) {
        module->routines[i] = sys::GetProcAddress(module->handle, kSCRoutineNames[i]);
        if (module->routines[i] == nullptr) return false;
    }
    return true;
}

void ReleaseTables(CMMConverter* converter) {
    if (!converter->tablesBuilt) return;
    RoutineAt<SCBBReleaseTransformTablesRoutine>(kReleaseTables)(&converter->block);
    converter->tablesBuilt = false;
}

int BuildTables(CMMConverter* converter) {
    ReleaseTables(converter);
    if (!converter->moduleHeld) return 0;
    converter->tablesBuilt =
        RoutineAt<SCBBCreateTransformTablesRoutine>(kCreateTables)(&converter->block) != 0;
    return converter->tablesBuilt ? 1 : 0;
}

// Stores new settings words; rebuilds the tables when a word changed or
// the last build failed.
int Refresh(CMMConverter* converter, const uint32_t* words, const uint32_t* indices, size_t count) {
    if (converter == nullptr || !converter->moduleHeld) return 0;
    bool changed = false;
    for (size_t i = 0; i < count; ++i) {
        uint32_t& word = converter->block.words[indices[i]];
        changed = changed || word != words[i];
        word = words[i];
    }
    if (!changed && converter->tablesBuilt) return 1;
    return BuildTables(converter);
}

}  // namespace

namespace {

// Loads the module and its routines into g_module, with the lock held.
// Null, or the text of the error box to show (without the lock, so that
// other documents do not wait for the user).
const char* LoadModule(sys::WStringView ownLibraryPath, sys::WStringView ownSuffix,
                       sys::WStringView moduleSuffix) {
    sys::WString modulePath;
    if (!DeriveModulePath(ownLibraryPath, ownSuffix, moduleSuffix, &modulePath)) {
        sys::SetLastError(0);  // no system error behind this one
        return "SC_Initialize: invalid module name suffix";
    }
    g_module.handle = sys::LoadLibrary(modulePath);
    if (g_module.handle == nullptr) return "Can't load color conversion library";
    if (!LookUpRoutines(&g_module)) {
        const uint32_t error = sys::GetLastError();
        sys::FreeLibrary(g_module.handle);
        g_module = ColourModule{};
        sys::SetLastError(error);
        return "Can't find a routine in color conversion library";
    }
    g_module.uses = 1;
    return nullptr;
}

}  // namespace

int SC_Initialize(sys::WStringView ownLibraryPath, sys::WStringView ownSuffix,
                  sys::WStringView moduleSuffix) {
    const char* failure = nullptr;
    {
        sys::MutexLock lock(g_moduleLock);
        if (g_module.uses > 0) {
            ++g_module.uses;
            return 1;
        }
        failure = LoadModule(ownLibraryPath, ownSuffix, moduleSuffix);
    }
    if (failure == nullptr) return 1;
    ShowModuleError(kErrorCaption, failure);
    return 0;
}

void SC_ShutDown() {
    sys::MutexLock lock(g_moduleLock);
    if (g_module.uses == 0 || --g_module.uses > 0) return;
    sys::FreeLibrary(g_module.handle);
    g_module = ColourModule{};
}

sys::ModuleHandle SC_ModuleHandle() {
    sys::MutexLock lock(g_moduleLock);
    return g_module.handle;
}

uint32_t SC_UseCount() {
    sys::MutexLock lock(g_moduleLock);
    return g_module.uses;
}

std::array<uint32_t, kCMMSettingsWords> CMMSettingsWords(const FBInterface& record, bool duplex) {
    std::array<uint32_t, kCMMSettingsWords> words{};
    for (uint32_t i = 0; i < kCMMSettingsWords; ++i) words[i] = record.UInt(kSettingsOffsets[i]);
    if (duplex && words[kCMMWordPaperType] == kPaperTypePlain)
        words[kCMMWordPaperType] = kPaperTypePlainDuplex;
    return words;
}

CMMConverter::~CMMConverter() { CMMDestroy(this); }

int CMMInitialize(CMMConverter* converter, const FBInterface& record, bool duplex) {
    return CMMInitializeFrom(converter, record, duplex, fbOwnModulePath());
}

int CMMInitializeFrom(CMMConverter* converter, const FBInterface& record, bool duplex,
                      sys::WStringView ownLibraryPath) {
    if (converter == nullptr) return 0;
    CMMDestroy(converter);
    converter->block = CMMBlock{};
    const auto words = CMMSettingsWords(record, duplex);
    std::copy(words.begin(), words.end(), converter->block.words.begin());
    if (!SC_Initialize(ownLibraryPath, u"UM.DLL", u"CM.DLL")) return 0;
    converter->moduleHeld = true;
    return BuildTables(converter);
}

int CMMReset(CMMConverter* converter, const FBInterface& record, bool duplex) {
    static constexpr uint32_t kAllWords[kCMMSettingsWords] = {0, 1,  2,  3,  4,  5,  6,  7, 8,
                                                              9, 10, 11, 12, 13, 14, 15, 16};
    const auto words = CMMSettingsWords(record, duplex);
    return Refresh(converter, words.data(), kAllWords, kCMMSettingsWords);
}

int CMMResetPage(CMMConverter* converter, uint32_t colour, uint32_t outputResolution) {
    const uint32_t words[] = {colour, outputResolution};
    const uint32_t indices[] = {kCMMWordColour, kCMMWordOutputResolution};
    return Refresh(converter, words, indices, 2);
}

int CMMConvert(CMMConverter* converter, void* pixels, uint32_t pixelCount, uint32_t bitsPerPixel) {
    if (converter == nullptr || !converter->tablesBuilt || pixels == nullptr || pixelCount == 0) return 0;
    const bool colourBlock = converter->block.words[kCMMWordColour] != 0;
    // The module reads four bytes per pixel for a colour block and one for a
    // grey one: a band of the other depth would be read past its end.
    if (bitsPerPixel != (colourBlock ? 32u : 8u)) return 0;
    RoutineAt<SCBBConvertBulkRoutine>(kConvertBulk)(&converter->block, pixels, pixelCount);
    return 1;
}

void CMMConvertBlackOnly(uint32_t* pixels, uint32_t pixelCount) {
    if (pixels == nullptr) return;
    for (uint32_t i = 0; i < pixelCount; ++i) {
        const uint32_t pixel = pixels[i];
        const uint32_t red = (pixel >> 16) & 0xFF;
        const uint32_t green = (pixel >> 8) & 0xFF;
        const uint32_t blue = pixel & 0xFF;
        const uint32_t whiteness = (77 * red + 150 * green + 29 * blue + 128) >> 8;
        pixels[i] = whiteness << 24 | 0x00FFFFFFu;
    }
}

void CMMDestroy(CMMConverter* converter) {
    if (converter == nullptr) return;
    ReleaseTables(converter);
    if (converter->moduleHeld) SC_ShutDown();
    converter->moduleHeld = false;
}
