#include "job/job_player.h"

#include "pipeline/fb_interface.h"
#include "sys/last_error.h"
#include "sys/spooler.h"

namespace {

const char* const kEntryNames[] = {"DrvSplStartDoc", "DrvSplWritePrinter", "DrvSplStartPage", "DrvSplEndPage",
                                   "DrvSplEndDoc",   "DrvSplAbort",        "DrvSplClose"};

std::string ErrorText() { return "error " + std::to_string(sys::GetLastError()); }

class Player {
public:
    // Without a printer the library keeps the spooler's brackets itself.
    Player(const DrvSplEntryPoints& library, sys::PrinterHandle printer, PlayReport* report)
        : lib_(library), printer_(printer), report_(report) {}

    void StartDoc(uint32_t jobId);
    void Play(size_t number, const SpoolRecord& record);
    void EndDoc(size_t number);
    void Spooler(const std::string& call, bool ok) { Note(0, call, ok, ok ? "" : ErrorText()); }

private:
    void Note(size_t record, std::string call, bool ok, std::string detail) {
        if (!ok) ++report_->failures;
        report_->calls.push_back({record, std::move(call), ok, std::move(detail)});
    }
    void Write(size_t number, const std::vector<uint8_t>& data);

    const DrvSplEntryPoints& lib_;
    sys::PrinterHandle printer_;
    PlayReport* report_;
    void* driver_ = nullptr;
};

void Player::StartDoc(uint32_t jobId) {
    driver_ = lib_.startDoc(printer_, jobId);
    Note(1, "DrvSplStartDoc job " + std::to_string(jobId), driver_ != nullptr,
         driver_ ? "" : "no handle; nothing more goes to the library");
}

void Player::Write(size_t number, const std::vector<uint8_t>& data) {
    // The library gets a buffer of its own, as from the spooler.
    std::vector<uint8_t> buffer(data);
    uint8_t empty = 0;
    uint32_t written = 0xFFFFFFFF;
    const auto size = static_cast<uint32_t>(buffer.size());
    const int result = lib_.writePrinter(driver_, buffer.empty() ? &empty : buffer.data(), size, &written);
    std::string detail;
    bool ok = result != 0;
    if (ok && written != size) {
        ok = false;
        detail = "reported " + std::to_string(written) + " bytes written";
    } else if (!ok) {
        detail = "FALSE";
    }
    if (ok) report_->bytesWritten += size;
    const char* kind = size == 1676 ? " (settings record)" : "";
    Note(number, "DrvSplWritePrinter " + std::to_string(size) + " bytes" + kind, ok, detail);
}

void Player::Play(size_t number, const SpoolRecord& record) {
    if (!driver_) return;
    switch (record.call) {
        case SpoolCall::WritePrinter: Write(number, record.data); break;
        case SpoolCall::StartPage: {
            if (printer_) Spooler("StartPagePrinter", sys::StartPagePrinter(printer_));
            const int result = lib_.startPage(driver_);
            Note(number, "DrvSplStartPage", result != 0, result ? "" : "FALSE");
            break;
        }
        case SpoolCall::EndPage: {
            const int result = lib_.endPage(driver_);
            if (result) ++report_->pages;
            Note(number, "DrvSplEndPage", result != 0, result ? "" : "FALSE");
            if (printer_) Spooler("EndPagePrinter", sys::EndPagePrinter(printer_));
            break;
        }
        case SpoolCall::Abort:
            lib_.abort(driver_);
            Note(number, "DrvSplAbort", true, "");
            break;
        default: break;  // StartDoc and EndDoc are the player's own steps
    }
}

void Player::EndDoc(size_t number) {
    if (!driver_) return;
    const int result = lib_.endDoc(driver_);
    Note(number, "DrvSplEndDoc", result != 0, result ? "" : "FALSE");
    lib_.close(driver_);
    Note(0, "DrvSplClose", true, "");
    driver_ = nullptr;
}

}  // namespace

DrvSplLibrary::~DrvSplLibrary() {
    if (module_) sys::FreeLibrary(module_);
}

bool DrvSplLibrary::Load(sys::WStringView path, std::string* error) {
    if (module_) sys::FreeLibrary(module_);
    module_ = sys::LoadLibrary(path);
    if (!module_) {
        *error = "cannot load " + sys::Narrow(path) + " (" + ErrorText() + ")";
        return false;
    }
    void* found[7] = {};
    for (size_t i = 0; i < 7; ++i) {
        found[i] = sys::GetProcAddress(module_, kEntryNames[i]);
        if (!found[i]) {
            *error = sys::Narrow(path) + " has no entry point " + kEntryNames[i];
            sys::FreeLibrary(module_);
            module_ = nullptr;
            return false;
        }
    }
    entry_.startDoc = reinterpret_cast<DrvSplEntryPoints::StartDocFn>(found[0]);
    entry_.writePrinter = reinterpret_cast<DrvSplEntryPoints::WritePrinterFn>(found[1]);
    entry_.startPage = reinterpret_cast<DrvSplEntryPoints::DriverFn>(found[2]);
    entry_.endPage = reinterpret_cast<DrvSplEntryPoints::DriverFn>(found[3]);
    entry_.endDoc = reinterpret_cast<DrvSplEntryPoints::DriverFn>(found[4]);
    entry_.abort = reinterpret_cast<DrvSplEntryPoints::DriverFn>(found[5]);
    entry_.close = reinterpret_cast<DrvSplEntryPoints::CloseFn>(found[6]);
    return true;
}

std::string PlayReport::Trace() const {
    std::string text;
    for (const PlayedCall& c : calls) {
        text += c.record ? "record " + std::to_string(c.record) + ": " : "spooler: ";
        text += c.call + (c.ok ? " ok" : " FAILED");
        if (!c.detail.empty()) text += " (" + c.detail + ")";
        text += "\n";
    }
    return text;
}

std::string PlayReport::Summary() const {
    std::string text = std::to_string(calls.size()) + " calls, " + std::to_string(pages) + " pages ended, " +
                       std::to_string(bytesWritten) + " bytes accepted, " + std::to_string(failures) +
                       " failed\n";
    for (const PlayedCall& c : calls) {
        if (c.ok) continue;
        text += (c.record ? "record " + std::to_string(c.record) + ": " : "spooler: ") + c.call + " failed" +
                (c.detail.empty() ? "" : " (" + c.detail + ")") + "\n";
    }
    return text;
}

namespace {

// The job with the printer's name and the output file in every settings
// record, for a library that opens the printer itself.
SpoolJob WithPrinterNames(const SpoolJob& job, const PlayOptions& options) {
    SpoolJob named = job;
    for (SpoolRecord& record : named.records) {
        FBInterface settings;
        if (record.call != SpoolCall::WritePrinter ||
            !FBInterfaceFromBytes(&settings, record.data.data(), static_cast<uint32_t>(record.data.size())))
            continue;
        settings.SetString(kFBIPrinterName, options.printerName);
        settings.SetString(kFBIPortName, options.outputFile);
        record.data.assign(settings.bytes.begin(), settings.bytes.end());
    }
    return named;
}

bool PlayWithoutHandle(const SpoolJob& job, const DrvSplEntryPoints& library, const PlayOptions& options,
                       PlayReport* report, std::string* error) {
    if (options.outputFile.empty() || options.outputFile.size() >= kFBIPortName.units ||
        options.printerName.size() >= kFBIPrinterName.units) {
        *error = "the printer name and output file must fit the settings record (" +
                 std::to_string(kFBIPrinterName.units - 1) + " and " +
                 std::to_string(kFBIPortName.units - 1) + " characters)";
        return false;
    }
    // The printer must exist; the library opens it by name.
    sys::PrinterHandle probe = sys::OpenPrinter(options.printerName);
    if (!probe) {
        *error = "cannot open printer \"" + sys::Narrow(options.printerName) + "\" (" + ErrorText() + ")";
        return false;
    }
    sys::ClosePrinter(probe);
    const SpoolJob named = WithPrinterNames(job, options);
    Player player(library, nullptr, report);
    player.StartDoc(1);
    const size_t last = named.records.size() - 1;
    for (size_t i = 1; i < last; ++i) player.Play(i + 1, named.records[i]);
    player.EndDoc(last + 1);
    return true;
}

}  // namespace

bool PlaySpoolJob(const SpoolJob& job, const DrvSplEntryPoints& library, const PlayOptions& options,
                  PlayReport* report, std::string* error) {
    *report = PlayReport();
    if (!CheckSpoolOrder(job, error)) return false;
    if (options.access == PrinterAccess::LibraryOpens)
        return PlayWithoutHandle(job, library, options, report, error);
    sys::PrinterHandle printer = sys::OpenPrinter(options.printerName);
    if (!printer) {
        *error = "cannot open printer \"" + sys::Narrow(options.printerName) + "\" (" + ErrorText() + ")";
        return false;
    }
    const std::vector<uint8_t>& name = job.records.front().data;
    const sys::WString docName = sys::Widen(std::string(name.begin(), name.end()));
    const uint32_t jobId = sys::StartDocPrinter(printer, docName, options.outputFile, u"RAW");
    if (jobId == 0) {
        *error = "cannot start the document on printer \"" + sys::Narrow(options.printerName) + "\" (" +
                 ErrorText() + ")";
        sys::ClosePrinter(printer);
        return false;
    }
    Player player(library, printer, report);
    player.StartDoc(jobId);
    const size_t last = job.records.size() - 1;  // EndDoc
    for (size_t i = 1; i < last; ++i) player.Play(i + 1, job.records[i]);
    player.EndDoc(last + 1);
    player.Spooler("EndDocPrinter", sys::EndDocPrinter(printer));
    player.Spooler("ClosePrinter", sys::ClosePrinter(printer));
    return true;
}
