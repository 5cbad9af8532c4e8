// INI-format text as the Windows profile functions see it, parsed once and
// edited in memory. The posix layer's profile functions and printers file
// are built on it; on Windows the system's own profile functions do this.
//
// What Windows does, and so this parser (confirmed under Wine):
// - A line ends at any run of CR and LF. Spaces, tabs and Ctrl-Z around a
//   line, a section name, a key and a value are dropped; blank lines are
//   dropped too (a rewritten file has none).
// - "[name]" starts a section; the name ends at the line's last ']', so
//   "[Tab] x" is "Tab". A '[' line without ']' is an ordinary key line.
// - "key=value" splits at the first '='; a line without '=' is a key
//   without a value (reads give the default). Lines before the first
//   section belong to a section without a name.
// - ';' starts a comment only for section listings: a lookup of ";c" still
//   finds ";c=1". '#' is no comment at all.
// - A NUL character ends the name or value it is in; the rest of the line
//   is ignored.
// - Names match without regard to case (sys::EqualsIgnoreCase) after the
//   asked-for name is trimmed like the file's; only the first section of a
//   name counts, and in it the first key of a name.
//
// The parser records what it had to repair, with the line number, so that
// the tools can point at a broken data file; none of it stops the parse.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sys/text.h"

namespace sys {

enum class IniErrorKind {
    kSectionNotClosed,  // "[name" without ']': taken as a key line
    kNulCharacter,      // a NUL cut the line short
    kNoEquals,          // a key line without '=' (not a comment): a key without a value
};

struct IniError {
    uint32_t line = 0;  // 1-based
    IniErrorKind kind = IniErrorKind::kSectionNotClosed;
};

struct IniEntry {
    WString key;
    std::optional<WString> value;  // none for a line without '='
    bool IsComment() const { return !key.empty() && key[0] == u';'; }
};

struct IniSection {
    WString name;        // empty for the lines before the first header
    bool header = true;  // false only for those lines
    std::vector<IniEntry> entries;
};

class IniDocument {
public:
    IniDocument();  // one empty nameless section

    static IniDocument Parse(WStringView text);

    const std::vector<IniError>& Errors() const { return errors_; }
    const std::vector<IniSection>& Sections() const { return sections_; }

    // The first section of that name, and the first key of that name in it.
    const IniSection* FindSection(WStringView name) const;
    const IniEntry* FindEntry(WStringView section, WStringView key) const;

    // WritePrivateProfileString: replaces the value of the first such key,
    // or appends the key to the first such section, or appends the section.
    void SetValue(WStringView section, WStringView key, WStringView value);
    // Removes the first such key of the first such section; false when none.
    bool DeleteKey(WStringView section, WStringView key);
    // Removes the first section of that name; false when none.
    bool DeleteSection(WStringView name);
    // WritePrivateProfileSection: every section of that name loses its keys,
    // then the first one (appended when none) takes the "key=value" lines;
    // lines without '=' are dropped.
    void ReplaceSection(WStringView name, std::span<const WString> lines);

    // The text as Windows writes it back: "[name]" and "key=value" lines,
    // each ended by CR LF.
    WString Serialize() const;

private:
    IniSection* FindSectionForEdit(WStringView name);
    IniSection& SectionForEdit(WStringView name);

    std::vector<IniSection> sections_;
    std::vector<IniError> errors_;
};

// Spaces, tabs, line ends and Ctrl-Z dropped from both ends.
WStringView TrimIniBlanks(WStringView text);

}  // namespace sys
