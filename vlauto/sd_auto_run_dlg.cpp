// VLAuto's one export.
#include "autorun.h"
#include "formats/setup_libraries.h"
#include "sys/modules.h"
#include "sys/object_tokens.h"

namespace {

// The module the templates, bitmaps and cursor come from: the one the
// caller names in hAutoDll, else this library itself (held while it runs).
class ResourceModule {
public:
    explicit ResourceModule(InstallInfoToken autoDll) : module_(sys::ObjectOf(autoDll)) {
        if (module_ == nullptr) module_ = owned_ = sys::LoadLibrary(sys::GetOwnModuleFileName());
    }
    ~ResourceModule() {
        if (owned_ != nullptr) sys::FreeLibrary(owned_);
    }
    ResourceModule(const ResourceModule&) = delete;
    ResourceModule& operator=(const ResourceModule&) = delete;

    sys::ModuleHandle Handle() const { return module_; }

private:
    sys::ModuleHandle module_ = nullptr;
    sys::ModuleHandle owned_ = nullptr;
};

}  // namespace

#if defined(_WIN32)
#define VLAUTO_EXPORT extern "C"
#else
#define VLAUTO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

VLAUTO_EXPORT int ZEBL_STDCALL SdAutoRunDlg(InstallInfo info, int32_t maintenance) {
    const ResourceModule resources(info.hAutoDll);
    const vlauto::DialogViewFactory makeView = [&resources](const ui::DialogTemplate& dialogTemplate) {
        return ui::CreateDialogView(dialogTemplate, resources.Handle());
    };
    return vlauto::MyRunAutoRun(info, maintenance, makeView);
}
