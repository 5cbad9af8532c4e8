#include "job/job_player.h"

#include "job/spool_reader.h"
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
    // The record's buffer goes to the library as it is (the library may
    // write into it, as into the spooler's).
    void Play(size_t number, SpoolRecord& record);
    // Ends the library's document early, when the job cannot be read on.
    void Abandon();
    void EndDoc(size_t number);
    void Spooler(const std::string& call, bool ok) { Note(0, call, ok, ok ? "" : ErrorText()); }

private:
    void Note(size_t record, std::string call, bool ok, std::string detail) {
        if (!ok) ++report_->failures;
        report_->calls.push_back({record, std::move(call), ok, std::move(detail)});
    }
    void Write(size_t number, std::vector<uint8_t>& buffer);

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

void Player::Write(size_t number, std::vector<uint8_t>& buffer) {
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

void Player::Play(size_t number, SpoolRecord& record) {
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

void Player::Abandon() {
    if (!driver_) return;
    lib_.abort(driver_);
    Note(0, "DrvSplAbort (the job could not be read on)", true, "");
    lib_.close(driver_);
    Note(0, "DrvSplClose", true, "");
    driver_ = nullptr;
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

// Where the player's records come from, one at a time.
class RecordSource {
public:
    virtual ~RecordSource() = default;
    // The next record, null at the end of the job or when it cannot be read
    // (then Fault() says why).
    virtual SpoolRecord* Next() = 0;
    virtual const std::string& Fault() const = 0;
};

// A job in memory: each buffer is copied, so the library gets one of its
// own as from the spooler and the job stays as it was.
class JobSource : public RecordSource {
public:
    explicit JobSource(const SpoolJob& job) : job_(job) {}
    SpoolRecord* Next() override {
        if (next_ == job_.records.size()) return nullptr;
        current_ = job_.records[next_++];
        return &current_;
    }
    const std::string& Fault() const override { return fault_; }

private:
    const SpoolJob& job_;
    size_t next_ = 0;
    SpoolRecord current_;
    std::string fault_;
};

// A spool file as it is read: the buffer read is the one the library gets.
class FileSource : public RecordSource {
public:
    bool Open(sys::WStringView path, std::string* error) { return reader_.Open(path, error); }
    SpoolRecord* Next() override {
        if (reader_.Next(&current_, true, &fault_) != SpoolFileReader::Step::Record) return nullptr;
        return &current_;
    }
    const std::string& Fault() const override { return fault_; }

private:
    SpoolFileReader reader_;
    SpoolRecord current_;
    std::string fault_;
};

// The printer's name and the output file in a settings record, for a
// library that opens the printer itself.
void NamePrinter(SpoolRecord* record, const PlayOptions& options) {
    FBInterface settings;
    if (record->call != SpoolCall::WritePrinter ||
        !FBInterfaceFromBytes(&settings, record->data.data(), static_cast<uint32_t>(record->data.size())))
        return;
    settings.SetString(kFBIPrinterName, options.printerName);
    settings.SetString(kFBIPortName, options.outputFile);
    record->data.assign(settings.bytes.begin(), settings.bytes.end());
}

// Plays the records after StartDoc up to EndDoc; false when the source
// failed before EndDoc (the library's document is then abandoned).
bool PlayBody(RecordSource& source, Player& player, const PlayOptions& options, std::string* error) {
    for (size_t number = 2;; ++number) {
        SpoolRecord* record = source.Next();
        if (!record) {
            player.Abandon();
            *error = source.Fault().empty() ? "the job ends without EndDoc" : source.Fault();
            return false;
        }
        if (record->call == SpoolCall::EndDoc) {
            player.EndDoc(number);
            return true;
        }
        if (options.access == PrinterAccess::LibraryOpens) NamePrinter(record, options);
        player.Play(number, *record);
    }
}

bool PlayWithoutHandle(RecordSource& source, const DrvSplEntryPoints& library, const PlayOptions& options,
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
    Player player(library, nullptr, report);
    player.StartDoc(1);
    return PlayBody(source, player, options, error);
}

// Plays a source whose order of calls has been checked.
bool PlayRecords(RecordSource& source, const DrvSplEntryPoints& library, const PlayOptions& options,
                 PlayReport* report, std::string* error) {
    *report = PlayReport();
    const SpoolRecord* start = source.Next();
    if (!start) {
        *error = source.Fault().empty() ? "a job starts with StartDoc" : source.Fault();
        return false;
    }
    if (options.access == PrinterAccess::LibraryOpens)
        return PlayWithoutHandle(source, library, options, report, error);
    sys::PrinterHandle printer = sys::OpenPrinter(options.printerName);
    if (!printer) {
        *error = "cannot open printer \"" + sys::Narrow(options.printerName) + "\" (" + ErrorText() + ")";
        return false;
    }
    const sys::WString docName = sys::Widen(std::string(start->data.begin(), start->data.end()));
    const uint32_t jobId = sys::StartDocPrinter(printer, docName, options.outputFile, u"RAW");
    if (jobId == 0) {
        *error = "cannot start the document on printer \"" + sys::Narrow(options.printerName) + "\" (" +
                 ErrorText() + ")";
        sys::ClosePrinter(printer);
        return false;
    }
    Player player(library, printer, report);
    player.StartDoc(jobId);
    const bool played = PlayBody(source, player, options, error);
    player.Spooler("EndDocPrinter", sys::EndDocPrinter(printer));
    player.Spooler("ClosePrinter", sys::ClosePrinter(printer));
    return played;
}

}  // namespace

bool PlaySpoolJob(const SpoolJob& job, const DrvSplEntryPoints& library, const PlayOptions& options,
                  PlayReport* report, std::string* error) {
    *report = PlayReport();
    if (!CheckSpoolOrder(job, error)) return false;
    JobSource source(job);
    return PlayRecords(source, library, options, report, error);
}

bool PlaySpoolFile(sys::WStringView path, const DrvSplEntryPoints& library, const PlayOptions& options,
                   PlayReport* report, std::string* error) {
    *report = PlayReport();
    if (!CheckSpoolFile(path, error)) return false;
    FileSource source;
    if (!source.Open(path, error)) return false;
    return PlayRecords(source, library, options, report, error);
}
