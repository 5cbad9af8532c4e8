#include "sys/ini_document.h"

#include <algorithm>

namespace sys {
namespace {

bool IsIniBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n' ||
           c == 0x1A;  // Ctrl-Z, the end-of-file mark of DOS editors
}

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

bool IsComment(WStringView key) { return !key.empty() && key[0] == u';'; }

// The lines of an INI text, one character at a time. Each line is classified
// by its first character and collected into the parts its state names; at
// the line's end the parts become a section or an entry.
class IniParser {
public:
    void Run(WStringView text) {
        for (size_t i = 0; i < text.size(); ++i) {
            const char16_t c = text[i];
            if (IsLineEnd(c)) {
                EndLine();
                // CR LF is one line end; a CR or LF alone is one too.
                if (!(c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')) ++line_;
                continue;
            }
            if (c == 0 && state_ != State::kSkipToLineEnd) {
                errors_.push_back({line_, IniErrorKind::kNulCharacter});
                EndLine();
                state_ = State::kSkipToLineEnd;
                continue;
            }
            Step(c);
        }
        EndLine();
    }

    std::vector<IniSection> TakeSections() { return std::move(sections_); }
    std::vector<IniError> TakeErrors() { return std::move(errors_); }

private:
    enum class State {
        kLineStart,      // blanks before the first character
        kSectionName,    // after '[': up to the line's last ']'
        kKey,            // before the first '='
        kValue,          // after it
        kSkipToLineEnd,  // after a NUL
    };

    void Step(char16_t c) {
        switch (state_) {
            case State::kLineStart:
                if (IsIniBlank(c)) return;
                if (c == u'[') {
                    state_ = State::kSectionName;
                } else if (c == u'=') {
                    state_ = State::kValue;
                } else {
                    key_.push_back(c);
                    state_ = State::kKey;
                }
                return;
            case State::kSectionName:
                if (c == u']') lastBracket_ = key_.size();
                key_.push_back(c);
                return;
            case State::kKey:
                if (c == u'=') state_ = State::kValue;
                else key_.push_back(c);
                return;
            case State::kValue: value_.push_back(c); return;
            case State::kSkipToLineEnd: return;
        }
    }

    void EndLine() {
        switch (state_) {
            case State::kLineStart:
            case State::kSkipToLineEnd: break;
            case State::kSectionName:
                if (lastBracket_ != WString::npos) {
                    sections_.push_back(
                        {WString(TrimIniBlanks(WStringView(key_).substr(0, lastBracket_))), true, {}});
                } else {
                    errors_.push_back({line_, IniErrorKind::kSectionNotClosed});
                    AddKeyLine(u"[" + key_);
                }
                break;
            case State::kKey:
                if (!IsComment(key_)) errors_.push_back({line_, IniErrorKind::kNoEquals});
                AddEntry(key_, std::nullopt);
                break;
            case State::kValue: AddEntry(key_, WString(TrimIniBlanks(value_))); break;
        }
        state_ = State::kLineStart;
        key_.clear();
        value_.clear();
        lastBracket_ = WString::npos;
    }

    // A '[' line without ']' read again as "key=value".
    void AddKeyLine(const WString& text) {
        const size_t equals = text.find(u'=');
        if (equals == WString::npos) AddEntry(text, std::nullopt);
        else AddEntry(text.substr(0, equals), WString(TrimIniBlanks(WStringView(text).substr(equals + 1))));
    }

    void AddEntry(WStringView key, std::optional<WString> value) {
        sections_.back().entries.push_back({WString(TrimIniBlanks(key)), std::move(value)});
    }

    State state_ = State::kLineStart;
    uint32_t line_ = 1;
    WString key_;  // the key, or the section line after '['
    WString value_;
    size_t lastBracket_ = WString::npos;
    std::vector<IniSection> sections_{IniSection{{}, false, {}}};
    std::vector<IniError> errors_;
};

WString TrimmedCopy(WStringView text) { return WString(TrimIniBlanks(text)); }

}  // namespace

WStringView TrimIniBlanks(WStringView text) {
    while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
    return text;
}

IniDocument::IniDocument() : sections_{IniSection{{}, false, {}}} {}

IniDocument IniDocument::Parse(WStringView text) {
    IniParser parser;
    parser.Run(text);
    IniDocument document;
    document.sections_ = parser.TakeSections();
    document.errors_ = parser.TakeErrors();
    return document;
}

const IniSection* IniDocument::FindSection(WStringView name) const {
    const WStringView wanted = TrimIniBlanks(name);
    for (const IniSection& section : sections_)
        if (EqualsIgnoreCase(section.name, wanted)) return &section;
    return nullptr;
}

const IniEntry* IniDocument::FindEntry(WStringView section, WStringView key) const {
    const IniSection* found = FindSection(section);
    if (found == nullptr) return nullptr;
    const WStringView wanted = TrimIniBlanks(key);
    for (const IniEntry& entry : found->entries)
        if (EqualsIgnoreCase(entry.key, wanted)) return &entry;
    return nullptr;
}

IniSection* IniDocument::FindSectionForEdit(WStringView name) {
    return const_cast<IniSection*>(FindSection(name));
}

IniSection& IniDocument::SectionForEdit(WStringView name) {
    if (IniSection* found = FindSectionForEdit(name)) return *found;
    sections_.push_back({TrimmedCopy(name), true, {}});
    return sections_.back();
}

void IniDocument::SetValue(WStringView section, WStringView key, WStringView value) {
    IniSection& target = SectionForEdit(section);
    const WStringView wanted = TrimIniBlanks(key);
    for (IniEntry& entry : target.entries) {
        if (EqualsIgnoreCase(entry.key, wanted)) {
            entry.value = TrimmedCopy(value);
            return;
        }
    }
    target.entries.push_back({WString(wanted), TrimmedCopy(value)});
}

bool IniDocument::DeleteKey(WStringView section, WStringView key) {
    IniSection* target = FindSectionForEdit(section);
    if (target == nullptr) return false;
    const WStringView wanted = TrimIniBlanks(key);
    const auto found = std::find_if(target->entries.begin(), target->entries.end(),
                                    [&](const IniEntry& e) { return EqualsIgnoreCase(e.key, wanted); });
    if (found == target->entries.end()) return false;
    target->entries.erase(found);
    return true;
}

bool IniDocument::DeleteSection(WStringView name) {
    IniSection* target = FindSectionForEdit(name);
    if (target == nullptr) return false;
    if (!target->header) {
        target->entries.clear();  // the lines before the first header always have a place
        return true;
    }
    sections_.erase(sections_.begin() + (target - sections_.data()));
    return true;
}

void IniDocument::ReplaceSection(WStringView name, std::span<const WString> lines) {
    const WStringView wanted = TrimIniBlanks(name);
    for (IniSection& section : sections_)
        if (EqualsIgnoreCase(section.name, wanted)) section.entries.clear();
    IniSection& target = SectionForEdit(name);
    for (const WString& line : lines) {
        const size_t equals = line.find(u'=');
        if (equals == WString::npos) continue;
        const WStringView text(line);
        target.entries.push_back({TrimmedCopy(text.substr(0, equals)), TrimmedCopy(text.substr(equals + 1))});
    }
}

WString IniDocument::Serialize() const {
    WString text;
    for (const IniSection& section : sections_) {
        if (section.header) text += u"[" + section.name + u"]\r\n";
        for (const IniEntry& entry : section.entries) {
            text += entry.key;
            if (entry.value) text += u"=" + *entry.value;
            text += u"\r\n";
        }
    }
    return text;
}

}  // namespace sys
