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

// A delimited value without its tabs and line breaks.
std::string WithoutBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLineBreakOrTab(text[i])) {
            out.append(text, start, i - start);
            start = i + 1;
        }
    }
    out.append(text, start, text.size() - start);
    return out;
}

// A value read from a field list: its text and the position where the search
// for the next comma starts (its last character, or the comma that ended a
// bare value).
struct Value {
    std::string text;
    std::size_t last;
};

Value ReadValue(std::string_view list, std::size_t pos) {
    while (pos < list.size() && qvn::IsSpace(list[pos])) {
        ++pos;
    }
    if (pos < list.size() && list[pos] == '{') {
        int depth = 0;
        for (std::size_t i = pos; i < list.size(); ++i) {
            const char c = list[i];
            if (c != '{' && c != '}') {
                continue;
            }
            if (i > pos && list[i - 1] == '\\') {
                continue; // an escaped brace does not count
            }
            depth += c == '{' ? 1 : -1;
            if (depth == 0) {
                return {WithoutBreaks(list.substr(pos, i - pos + 1)), i};
            }
        }
    } else if (pos < list.size() && list[pos] == '"') {
        const std::size_t end = list.find('"', pos + 1);
        if (end != std::string_view::npos) {
            return {WithoutBreaks(list.substr(pos, end - pos + 1)), end};
        }
    }
    // Bare, or a delimited value that is never closed: up to the next comma.
    std::size_t stop = list.find(',', pos);
    if (stop == std::string_view::npos) {
        stop = list.size();
    }
    return {std::string(TrimView(list.substr(pos, stop - pos))), stop};
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

// The end of the line that starts at `pos`: LF, CR LF and a lone CR all end
// a line.
std::size_t LineEnd(std::string_view content, std::size_t pos) {
    const char* begin = content.data();
    const char* p = begin + pos;
    const char* end = begin + content.size();
    while (p != end && *p != '\n' && *p != '\r') {
        ++p;
    }
    return static_cast<std::size_t>(p - begin);
}

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
    std::size_t pos = 0;
    for (;;) {
        std::string_view line;
        if (pos < content.size()) {
            const std::size_t end = LineEnd(content, pos);
            line = content.substr(pos, end - pos);
            pos = end;
            if (pos < content.size()) {
                pos += (content[pos] == '\r' && pos + 1 < content.size() && content[pos + 1] == '\n')
                           ? 2
                           : 1;
            }
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
            std::string message = qvn::Format("Import Error in line %d: '@' expected (File: ", m_line);
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
                std::string message =
                    qvn::Format("Import Error in line %d: '{' expected (File: ", m_line);
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
                const std::string_view head = text.substr(0, static_cast<std::size_t>(p - begin) + 1);
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
std::unique_ptr<CBibTexEntry> CBibTexReader::ParseItem(std::string_view fileName,
                                                       std::string_view itemText,
                                                       int* unknownFields) {
    const std::string_view t = TrimView(itemText);
    if (t.empty() || t.front() != '@') {
        return nullptr;
    }
    const std::size_t open = t.find('{', 1);
    if (open == std::string_view::npos) {
        return nullptr;
    }
    const int type = FindEntryType(TrimView(t.substr(1, open - 1)));
    if (type < 0) {
        return nullptr;
    }
    // The key ends at the first comma outside braces and quotes.
    std::size_t comma = std::string_view::npos;
    int depth = 0;
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
        return std::make_unique<CBibTexEntry>(std::string(fileName), std::string(), type);
    }
    auto item = std::make_unique<CBibTexEntry>(
        std::string(fileName), std::string(TrimView(t.substr(open + 1, comma - open - 1))), type);

    // The field list runs from the key's comma to the item's closing brace.
    const std::string_view list = t.substr(comma, t.size() - 1 - comma);
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
        const int field = FindField(TrimView(list.substr(pos, equals - pos)));
        Value value = ReadValue(list, equals + 1);
        if (field >= 0) {
            item->SetField(field, value.text, true);
        } else if (unknownFields != nullptr) {
            ++*unknownFields;
        }
        pos = value.last;
    }
    return item;
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
