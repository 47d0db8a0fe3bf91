#include "model/BibTexReader.h"

#include "model/Catalogue.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"

#include <cstring>

namespace {

using qvn::TrimView;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kQuotedCharacters = 10;

// The first `count` characters of `text`; a UTF-8 character is never cut.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        pos += qvn::DecodeChar(text, pos).length;
    }
    return text.substr(0, pos);
}

bool IsLineBreakOrTab(char c) {
    return c == '\t' || c == '\r' || c == '\n';
}

// A delimited value without its tabs and line breaks: the text itself when it
// holds none, else a copy without them in `scratch`.
std::string_view WithoutBreaks(std::string_view text, std::string& scratch) {
    std::size_t i = 0;
    while (i < text.size() && !IsLineBreakOrTab(text[i])) {
        ++i;
    }
    if (i == text.size()) {
        return text;
    }
    scratch.assign(text.data(), i);
    for (; i < text.size(); ++i) {
        if (!IsLineBreakOrTab(text[i])) {
            scratch += text[i];
        }
    }
    return scratch;
}

// A value read from a field list: its text and the position where the search
// for the next comma starts (its last character, or the comma that ended a
// bare value).
struct Value {
    std::string_view text;
    std::size_t last;
};

// The first comma behind `pos` outside braces, or, when braces stay open,
// the first comma at all; the end of the list when there is none.
std::size_t BareValueEnd(std::string_view list, std::size_t pos) {
    std::int64_t depth = 0;
    for (std::size_t i = pos; i < list.size(); ++i) {
        const char c = list[i];
        if (c == ',' && depth <= 0) {
            return i;
        }
        if ((c == '{' || c == '}') && (i == 0 || list[i - 1] != '\\')) {
            depth += c == '{' ? 1 : -1;
        }
    }
    const std::size_t comma = list.find(',', pos);
    return comma == std::string_view::npos ? list.size() : comma;
}

Value ReadValue(std::string_view list, std::size_t pos, std::string& scratch) {
    while (pos < list.size() && qvn::IsSpace(list[pos])) {
        ++pos;
    }
    if (pos < list.size() && list[pos] == '{') {
        std::int64_t depth = 0;
        bool breaks = false; // found on the way, so clean values are not scanned again
        for (std::size_t i = pos; i < list.size(); ++i) {
            const char c = list[i];
            if (c != '{' && c != '}') {
                breaks = breaks || IsLineBreakOrTab(c);
                continue;
            }
            if (i > pos && list[i - 1] == '\\') {
                continue; // an escaped brace does not count
            }
            depth += c == '{' ? 1 : -1;
            if (depth == 0) {
                const std::string_view value = list.substr(pos, i - pos + 1);
                return {breaks ? WithoutBreaks(value, scratch) : value, i};
            }
        }
    } else if (pos < list.size() && list[pos] == '"') {
        // A double quote inside braces does not end the value: "G{\"o}del"
        // is one value, as BibTeX reads it. Cutting it at the inner quote
        // would lose the rest of the value and leave a brace open that breaks
        // the item when it is written again.
        std::size_t end = std::string_view::npos;
        std::int64_t depth = 0;
        for (std::size_t i = pos + 1; i < list.size(); ++i) {
            const char c = list[i];
            if (c == '"' && depth == 0) {
                end = i;
                break;
            }
            if ((c == '{' || c == '}') && list[i - 1] != '\\') {
                depth += c == '{' ? 1 : -1;
            }
        }
        if (end == std::string_view::npos) {
            end = list.find('"', pos + 1); // unbalanced braces: the next quote
        }
        if (end != std::string_view::npos) {
            return {WithoutBreaks(list.substr(pos, end - pos + 1), scratch), end};
        }
    }
    // Bare, or a delimited value that is never closed: up to the next comma.
    // A comma inside a braced part does not end it (FREED # { and Bonasso,
    // R.} is one value); cut there, the value would keep an open brace and the
    // fields behind it would be lost.
    const std::size_t stop = BareValueEnd(list, pos);
    return {TrimView(list.substr(pos, stop - pos)), stop};
}

// True when `text` starts with '@' and holds a '}' before its first '{':
// such a text fails again each time it is looked at.
bool HasBrokenHead(std::string_view text) {
    if (text.empty() || text.front() != '@') {
        return false;
    }
    const std::size_t brace = text.find_first_of("{}");
    return brace != std::string_view::npos && text[brace] == '}';
}

// Case-insensitive lookup of catalogue names for the reader's hot path: ASCII
// names are lower-cased into a small buffer and compared with the names of
// the same length; anything else goes to the catalogue's own lookup, so the
// answer is always the catalogue's.
class CNameIndex {
public:
    using Lookup = int (*)(std::string_view);
    CNameIndex(int count, std::string_view (*nameOf)(int), Lookup fallback) : m_fallback(fallback) {
        for (int i = 0; i < count; ++i) {
            const std::string_view name = nameOf(i);
            if (name.size() < kMaxLength) {
                m_byLength[name.size()].push_back({name, i});
            }
        }
    }

    int Find(std::string_view name) const {
        if (name.size() >= kMaxLength) {
            return m_fallback(name);
        }
        char lower[kMaxLength];
        for (std::size_t i = 0; i < name.size(); ++i) {
            const auto c = static_cast<unsigned char>(name[i]);
            if (c >= 0x80) {
                return m_fallback(name); // Unicode case folding
            }
            lower[i] = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        for (const Entry& entry : m_byLength[name.size()]) {
            if (std::memcmp(entry.name.data(), lower, name.size()) == 0) {
                return entry.index;
            }
        }
        return -1;
    }

private:
    static constexpr std::size_t kMaxLength = 24;
    struct Entry {
        std::string_view name;
        int index;
    };
    std::vector<Entry> m_byLength[kMaxLength];
    Lookup m_fallback;
};

int FindFieldFast(std::string_view name) {
    static const CNameIndex index(kFieldCount, FieldName, FindField);
    return index.Find(name);
}

int FindEntryTypeFast(std::string_view name) {
    static const CNameIndex index(kEntryTypeCount, EntryTypeName, FindEntryType);
    return index.Find(name);
}

// Splits file content into lines: LF, CR LF and a lone CR all end a line.
// The next LF and the next CR are each found once with memchr and kept, so a
// file with only one kind of line end is still scanned in linear time.
class CLineSplitter {
public:
    explicit CLineSplitter(std::string_view content) : m_content(content) {}

    // The next line without its line end; false at the end of the content.
    bool Next(std::string_view& line) {
        if (m_pos >= m_content.size()) {
            return false;
        }
        const std::size_t lf = Find(m_lf, m_lfKnown, '\n');
        const std::size_t cr = Find(m_cr, m_crKnown, '\r');
        const std::size_t end = lf < cr ? lf : cr;
        line = m_content.substr(m_pos, end - m_pos);
        m_pos = end;
        if (m_pos < m_content.size()) {
            m_pos += (cr == end && lf == end + 1) ? 2 : 1;
        }
        return true;
    }

private:
    std::size_t Find(std::size_t& cached, bool& known, char c) {
        if (!known || cached < m_pos) {
            const void* hit = std::memchr(m_content.data() + m_pos, c, m_content.size() - m_pos);
            cached =
                hit == nullptr
                    ? m_content.size()
                    : static_cast<std::size_t>(static_cast<const char*>(hit) - m_content.data());
            known = true;
        }
        return cached;
    }

    std::string_view m_content;
    std::size_t m_pos = 0;
    std::size_t m_lf = 0;
    std::size_t m_cr = 0;
    bool m_lfKnown = false;
    bool m_crKnown = false;
};

} // namespace

CBibTexReader::CBibTexReader(std::string sourcePath) : m_sourcePath(std::move(sourcePath)) {}

std::string CBibTexReader::FileNameFromPath(std::string_view path) {
    if (path.empty()) {
        return "Default";
    }
    // Paths come from Windows users too, so both separators count.
    const std::size_t separator = path.find_last_of("/\\");
    std::string_view name = separator == std::string_view::npos ? path : path.substr(separator + 1);
    const std::size_t period = name.rfind('.');
    if (period != std::string_view::npos) {
        name = name.substr(0, period);
    }
    // A name that would be empty (".bib", a path ending in a separator) would
    // make every item unplaceable.
    return name.empty() ? std::string("Default") : std::string(name);
}

int CBibTexReader::ReadFile() {
    std::string content;
    try {
        content = qvn::ReadWholeFile(m_sourcePath);
    } catch (const qvn::CFileError& e) {
        m_openError = e.Cause();
        return -1;
    }
    m_openError.clear();
    return ReadFileContent(content);
}

int CBibTexReader::ReadFileContent(std::string_view content) {
    m_errors.clear();
    m_line = 0;
    m_fileName = FileNameFromPath(m_sourcePath);
    m_pending = {};
    m_textInBuffer = false;
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    CLineSplitter lines(content);
    for (;;) {
        std::string_view line;
        if (lines.Next(line)) {
            ++m_line;
        } else if (m_pending.empty()) {
            break;
        }
        // Lines are joined to the pending text without any separator.
        const std::string_view text = JoinPendingAndLine(TrimView(line));
        if (Collect(text)) {
            Dispatch(m_complete);
        }
    }
    NoteUnfinishedItem();
    m_pending = {}; // it viewed `content`
    return 1;
}

std::string_view CBibTexReader::JoinPendingAndLine(std::string_view line) {
    std::string_view pending = TrimView(m_pending);
    if (!pending.empty() && pending.front() == '%') {
        // A comment behind the closing brace of an item runs to the end of
        // its line; kept, it would swallow every following line.
        pending = {};
    }
    if (pending.empty()) {
        m_pending = {};
        m_textInBuffer = false;
        return line;
    }
    if (line.empty()) {
        m_pending = pending;
        m_textInBuffer = m_pendingInBuffer;
        return pending;
    }
    std::size_t start = 0;
    if (m_pendingInBuffer) {
        // The pending text already sits in the buffer: drop what follows it
        // and, once the dead text before it outweighs it, what precedes it.
        start = static_cast<std::size_t>(pending.data() - m_textBuffer.data());
        m_textBuffer.resize(start + pending.size());
        if (start > pending.size()) {
            m_textBuffer.erase(0, start);
            start = 0;
        }
    } else {
        m_textBuffer.assign(pending);
    }
    m_textBuffer.append(line);
    const std::string_view text = std::string_view(m_textBuffer).substr(start);
    m_pending = text.substr(0, pending.size());
    m_pendingInBuffer = true;
    m_textInBuffer = true;
    return text;
}

int CBibTexReader::ReadText(std::string_view input) {
    if (input.empty()) {
        return ReadFile();
    }
    m_errors.clear();
    m_line = 0;
    m_fileName = FileNameFromPath(m_sourcePath);
    m_textInBuffer = false;
    // Pasted and dropped text often starts with a line break.
    std::string_view text = TrimView(input);
    while (!text.empty()) {
        m_itemText.clear();
        m_pending = {};
        const bool complete = Collect(text);
        text = TrimView(m_pending);
        if (complete) {
            Dispatch(m_complete);
        }
    }
    NoteUnfinishedItem();
    m_pending = {};
    return 1;
}

bool CBibTexReader::Collect(std::string_view text) {
    if (text.empty() || text.front() == '%') {
        return false; // blank or comment line
    }
    if (m_state == kSkipping) {
        m_itemText.clear();
        m_pending = {};
        const std::size_t at = text.find('@');
        if (at == std::string_view::npos) {
            return false;
        }
        SetPending(text.substr(at));
        m_state = kExpectItem;
    }
    if (m_state == kExpectItem) {
        m_itemText.clear();
        if (text.front() != '@') {
            std::string message = qvn::Format("Import Error in line %lld: '@' expected (File: ",
                                              static_cast<long long>(m_line));
            message += m_sourcePath;
            message += ", Line: ";
            message += FirstCharacters(text, kQuotedCharacters);
            message += "...).";
            m_errors.push_back(std::move(message));
            m_state = kSkipping;
            return false;
        }
        m_state = kInItem;
        m_depth = 0;
        m_itemLine = m_line;
    }
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    for (const char* p = begin; p != end; ++p) {
        if (*p == '{') {
            ++m_depth;
        } else if (*p == '}') {
            if (m_depth == 0) {
                std::string message = qvn::Format("Import Error in line %lld: '{' expected (File: ",
                                                  static_cast<long long>(m_line));
                message += m_sourcePath;
                message += ").";
                m_errors.push_back(std::move(message));
                m_state = kSkipping;
                if (HasBrokenHead(m_pending)) {
                    // The skip would find this '@' again and fail on it with
                    // every following line; report it once.
                    m_pending = {};
                }
                return false;
            }
            if (--m_depth == 0) {
                const std::string_view head =
                    text.substr(0, static_cast<std::size_t>(p - begin) + 1);
                if (m_itemText.empty()) {
                    m_complete = head;
                } else {
                    m_itemText += head;
                    m_complete = m_itemText;
                }
                SetPending(text.substr(head.size()));
                m_state = kExpectItem;
                return true;
            }
        }
    }
    m_itemText += text; // the item goes on in the next text
    m_pending = {};
    return false;
}

void CBibTexReader::Dispatch(std::string_view itemText) {
    std::unique_ptr<CBibTexEntry> item = ParseItem(m_fileName, itemText, &m_stats.unknownFields);
    if (item) {
        if (!m_items.Add(item)) {
            ++m_stats.unaddedItems;
        }
        return;
    }
    CBibTexBlock block;
    if (ParseBlock(itemText, block)) {
        m_items.AddBlock(m_fileName, std::move(block));
        return;
    }
    std::string abbreviation;
    std::string value;
    if (ParseString(itemText, abbreviation, value)) {
        if (!m_strings.AddString(abbreviation, value, false)) {
            std::string message = "Could not add string '";
            message += itemText;
            message += "'. Key is already in use.";
            m_errors.push_back(std::move(message));
        }
        return;
    }
    ++m_stats.unknownTypes;
}

void CBibTexReader::NoteUnfinishedItem() {
    if (m_state == kInItem && !m_itemText.empty()) {
        ++m_stats.unfinishedItems;
        m_stats.unfinishedItemLine = m_itemLine;
    }
}

// Keys and abbreviations are taken as they stand, even when they hold
// characters the new-item wizard forbids: a user's file must still load.
std::unique_ptr<CBibTexEntry>
CBibTexReader::ParseItem(std::string_view fileName, std::string_view itemText, int* unknownFields) {
    const std::string_view t = TrimView(itemText);
    if (t.empty() || t.front() != '@') {
        return nullptr;
    }
    const std::size_t open = t.find('{', 1);
    if (open == std::string_view::npos) {
        return nullptr;
    }
    const std::string_view typeName = TrimView(t.substr(1, open - 1));
    int type = FindEntryTypeFast(typeName);
    if (type < 0) {
        // Entry types the catalogue lacks are kept by name; the commands
        // string, preamble and comment and names BibTeX cannot read are not
        // items.
        CBibTexEntry probe;
        if (!probe.SetTypeName(typeName)) {
            return nullptr;
        }
        type = CBibTexEntry::kOtherType;
    }
    // The key ends at the first comma outside braces and quotes.
    std::size_t comma = std::string_view::npos;
    std::int64_t depth = 0;
    bool quoted = false;
    for (std::size_t i = open + 1; i < t.size(); ++i) {
        const char c = t[i];
        if (c == '"' && depth == 0) {
            quoted = !quoted;
        } else if (!quoted && c == '{') {
            ++depth;
        } else if (!quoted && c == '}') {
            --depth;
        } else if (c == ',' && depth == 0 && !quoted) {
            comma = i;
            break;
        }
    }
    if (comma == std::string_view::npos) {
        // An item without fields is written as @type{key} with no comma; its
        // key runs to the closing brace, or it would be lost on reading back.
        const std::size_t end = t.size() - 1;
        const std::string_view key =
            end > open ? t.substr(open + 1, end - open - 1) : std::string_view();
        auto item =
            std::make_unique<CBibTexEntry>(std::string(fileName), std::string(TrimView(key)), type);
        if (type == CBibTexEntry::kOtherType) {
            item->SetTypeName(typeName);
        }
        return item;
    }
    auto item = std::make_unique<CBibTexEntry>(
        std::string(fileName), std::string(TrimView(t.substr(open + 1, comma - open - 1))), type);
    if (type == CBibTexEntry::kOtherType) {
        item->SetTypeName(typeName);
    }

    // The field list runs from the key's comma to the item's closing brace.
    const std::string_view list = t.substr(comma, t.size() - 1 - comma);
    std::string scratch;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t next = list.find(',', pos);
        if (next == std::string_view::npos) {
            break;
        }
        pos = next + 1;
        const std::size_t equals = list.find('=', pos);
        if (equals == std::string_view::npos) {
            break;
        }
        const std::string_view name = TrimView(list.substr(pos, equals - pos));
        const int field = FindFieldFast(name);
        const Value value = ReadValue(list, equals + 1, scratch);
        if (field >= 0) {
            item->SetField(field, value.text, true);
        } else if (IsBibTexName(name)) {
            // A field outside the catalogue is kept under its name.
            item->SetOtherField(name, value.text);
        } else if (unknownFields != nullptr) {
            ++*unknownFields; // BibTeX could not read it either
        }
        pos = value.last;
    }
    return item;
}

bool CBibTexReader::ParseBlock(std::string_view itemText, CBibTexBlock& block) {
    const std::string_view t = TrimView(itemText);
    if (t.empty() || t.front() != '@') {
        return false;
    }
    const std::size_t open = t.find_first_of("{(", 1);
    if (open == std::string_view::npos) {
        return false;
    }
    const std::string_view name = TrimView(t.substr(1, open - 1));
    if (qvn::EqualsNoCase(name, "preamble")) {
        block.kind = CBibTexBlock::Kind::Preamble;
    } else if (qvn::EqualsNoCase(name, "comment")) {
        block.kind = CBibTexBlock::Kind::Comment;
    } else {
        return false;
    }
    block.text = t;
    return true;
}

bool CBibTexReader::ParseString(std::string_view itemText, std::string& abbreviation,
                                std::string& value) {
    abbreviation.clear();
    value.clear();
    const std::string_view t = TrimView(itemText);
    if (t.empty() || t.front() != '@') {
        return false;
    }
    const std::size_t open = t.find('{', 1);
    if (open == std::string_view::npos ||
        !qvn::EqualsNoCase(TrimView(t.substr(1, open - 1)), "string")) {
        return false;
    }
    const std::size_t equals = t.find('=', open + 1);
    const std::size_t close = t.rfind('}');
    if (equals == std::string_view::npos || close == std::string_view::npos || close < equals) {
        return false;
    }
    abbreviation = TrimView(t.substr(open + 1, equals - open - 1));
    value = TrimView(t.substr(equals + 1, close - equals - 1));
    return true;
}

std::vector<std::string> FormatImportSummary(std::string_view path, const CBibTexReader& reader) {
    std::vector<std::string> lines;
    lines.reserve(1 + reader.GetErrors().size());
    std::string summary = "File '";
    summary += path;
    summary += qvn::Format("': %d file, %d strings, %d errors.", reader.GetItems().GetFileCount(),
                           reader.GetStrings().GetCount(), reader.GetErrorCount());
    lines.push_back(std::move(summary));
    for (const std::string& error : reader.GetErrors()) {
        lines.push_back("    - " + error);
    }
    return lines;
}

std::string FormatImportTotal(int totalErrors) {
    return qvn::Format("Import with %d errors finished.", totalErrors);
}
