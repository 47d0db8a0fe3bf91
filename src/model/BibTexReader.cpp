#include "model/BibTexReader.h"

#include "model/Catalogue.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using qvn::TrimView;

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kQuotedCharacters = 10;
constexpr std::size_t kStop = std::string_view::npos;

// Character classes of the scanner, one table lookup per byte.
enum : unsigned char {
    kBlank = 1,      // white space within a line
    kLineEnd = 2,    // CR, LF
    kNameStop = 4,   // ends a name: white space and " # % ' ( ) , = { }
    kBraceStop = 8,  // looked at inside a braced value
    kQuoteStop = 16, // looked at inside a quoted value
    kBreak = 32,     // a tab or line break, which a stored value never holds
};

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> classes{};
    for (const char c : std::string_view(" \t\v\f")) {
        classes[static_cast<unsigned char>(c)] |= kBlank | kNameStop;
    }
    for (const char c : std::string_view("\r\n")) {
        classes[static_cast<unsigned char>(c)] |= kLineEnd | kNameStop | kBraceStop | kQuoteStop;
    }
    for (const char c : std::string_view("\t\v\f\r\n")) {
        classes[static_cast<unsigned char>(c)] |= kBreak | kBraceStop | kQuoteStop;
    }
    for (const char c : std::string_view("\"#%'(),={}")) {
        classes[static_cast<unsigned char>(c)] |= kNameStop;
    }
    for (const char c : std::string_view("{}\\")) {
        classes[static_cast<unsigned char>(c)] |= kBraceStop | kQuoteStop;
    }
    classes[static_cast<unsigned char>('"')] |= kQuoteStop;
    return classes;
}

constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

inline bool Is(char c, unsigned char cls) {
    return (kClasses[static_cast<unsigned char>(c)] & cls) != 0;
}

// The first `count` characters of `text`; a UTF-8 character is never cut.
std::string_view FirstCharacters(std::string_view text, std::size_t count) {
    std::size_t pos = 0;
    for (std::size_t n = 0; n < count && pos < text.size(); ++n) {
        pos += qvn::DecodeChar(text, pos).length;
    }
    return text.substr(0, pos);
}

// `text` with every run of white space that holds a tab or a line break
// replaced by one blank: the lines of a value are joined as BibTeX joins
// them, so words never run together and no blank is doubled.
std::string_view JoinLines(std::string_view text, std::string& scratch) {
    scratch.clear();
    const std::size_t n = text.size();
    std::size_t copied = 0; // text before this is in scratch
    std::size_t i = 0;
    while (i < n) {
        if (!Is(text[i], kBreak)) {
            ++i;
            continue;
        }
        // The run of white space around the break becomes one blank.
        std::size_t start = i;
        while (start > copied && qvn::IsSpace(text[start - 1])) {
            --start;
        }
        std::size_t end = i + 1;
        while (end < n && qvn::IsSpace(text[end])) {
            ++end;
        }
        scratch.append(text.data() + copied, start - copied);
        scratch += ' ';
        copied = end;
        i = end;
    }
    scratch.append(text.data() + copied, n - copied);
    return scratch;
}

bool HasBreak(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return Is(c, kBreak); });
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

bool EqualsAsciiNoCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size()) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
        if (c != lower[i]) {
            return false;
        }
    }
    return true;
}

void Count(CBibTexReaderStats::Tally& tally, std::string_view name) {
    for (auto& [known, count] : tally) {
        if (EqualsAsciiNoCase(name, known)) {
            ++count;
            return;
        }
    }
    tally.emplace_back(qvn::ToLowerAscii(name), 1);
}

// Keys are case-sensitive: counted as they are.
void CountExact(CBibTexReaderStats::Tally& tally, std::string_view name) {
    for (auto& [known, count] : tally) {
        if (known == name) {
            ++count;
            return;
        }
    }
    tally.emplace_back(std::string(name), 1);
}

// "doi 203, numpages 181": most frequent first, ties in order of appearance.
std::string FormatTally(const CBibTexReaderStats::Tally& tally) {
    // Sorted by position as well rather than stable-sorted: the temporary
    // buffer of std::stable_sort trips AddressSanitizer with this library.
    std::vector<std::size_t> order(tally.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        order[i] = i;
    }
    std::sort(order.begin(), order.end(), [&tally](std::size_t a, std::size_t b) {
        return tally[a].second != tally[b].second ? tally[a].second > tally[b].second : a < b;
    });
    std::string out;
    for (const std::size_t i : order) {
        const auto& [name, count] = tally[i];
        if (!out.empty()) {
            out += ", ";
        }
        out += name;
        out += ' ';
        out += std::to_string(count);
    }
    return out;
}

// Syntax errors, each with the line it was found in. Arrays, so that each
// has an address of its own.
constexpr char kAtExpected[] = "'@' expected";
constexpr char kOpenExpected[] = "'{' expected";
constexpr char kTypeExpected[] = "entry type expected";
constexpr char kNameExpected[] = "name expected";
constexpr char kEqualsExpected[] = "'=' expected";
constexpr char kCommaExpected[] = "',' expected";
constexpr char kCommaExpectedAfterField[] = "',' expected";

// What the search for the end of a piece has seen of the bytes loaded.
struct PieceSearch {
    std::size_t searched = 0; // bytes searched for line ends
    std::size_t lastLine = 0; // the start of the last line found (0: none)
};

} // namespace

int CBibTexReaderStats::Total(const Tally& tally) {
    int total = 0;
    for (const auto& [name, count] : tally) {
        total += count;
    }
    return total;
}

// ---------------------------------------------------------------------------
// The grammar

// One entry as it was read: views into the text, nothing copied yet.
struct CBibTexReader::Entry {
    enum class Kind { Item, String, Preamble, Comment };
    enum class Outcome {
        Complete,  // read up to its closing delimiter
        Unclosed,  // the text ended, or a line began another entry, first
        NoType,    // no type name behind the '@'
        NoOpening, // no '{' or '(' behind the type name
    };
    struct Field {
        std::string_view name; // empty for the value of a @preamble
        std::string_view value;
        bool breaks; // the value holds tabs or line breaks
    };
    // A fault that does not end the entry.
    struct Problem {
        std::size_t pos;
        const char* what;
        std::string_view detail;
    };

    Kind kind = Kind::Item;
    Outcome outcome = Outcome::Complete;
    std::string_view type;
    std::string_view key;
    std::string_view text; // from the '@' to the closing delimiter
    std::vector<Field> fields;
    std::vector<Problem> problems;
    std::size_t start = 0; // the '@'
    std::size_t end = 0;   // behind the closing delimiter; or where reading goes on
    std::size_t faultPos = 0;
    std::size_t open = 0; // the opening delimiter; behind the type of a @comment line
    char close = '}';

    void Reset(std::size_t at) {
        kind = Kind::Item;
        outcome = Outcome::Complete;
        type = key = text = {};
        fields.clear();
        problems.clear();
        start = end = faultPos = open = at;
        close = '}';
    }
};

// Reads BibTeX's grammar over one text. Every scan inside an entry stops at
// the end of the text and at a line that begins with an entry head ('@', a
// name, '{' or '('): an entry never closed must not swallow the entries
// behind it. A piece of a file ends right before such a line
// (`endsBeforeEntry`), so each piece reads as it would within the whole.
class CBibTexReader::CScanner {
public:
    explicit CScanner(std::string_view text, bool endsBeforeEntry = false)
        : m_t(text), m_n(text.size()), m_endsBeforeEntry(endsBeforeEntry) {}

    std::string_view Text() const { return m_t; }
    std::size_t Size() const { return m_n; }
    bool EndsBeforeEntry() const { return m_endsBeforeEntry; }

    std::size_t SkipSpace(std::size_t pos) const {
        while (pos < m_n && qvn::IsSpace(m_t[pos])) {
            ++pos;
        }
        return pos;
    }

    std::size_t EndOfLine(std::size_t pos) const {
        while (pos < m_n && !Is(m_t[pos], kLineEnd)) {
            ++pos;
        }
        return pos;
    }

    // Where reading goes on after text that is not an entry: the next '@'
    // that starts a line or an entry head.
    std::size_t FindResume(std::size_t from) const {
        std::size_t pos = from;
        while (pos < m_n) {
            const void* hit = std::memchr(m_t.data() + pos, '@', m_n - pos);
            if (hit == nullptr) {
                return m_n;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(hit) - m_t.data());
            if (StartsLine(at)) {
                return at;
            }
            std::size_t nameEnd = at + 1;
            if (IsEntryHead(at, nameEnd)) {
                return at;
            }
            // An '@' inside the same name fails the same way.
            pos = std::max(nameEnd, at + 1);
        }
        return m_n;
    }

    void ParseEntry(std::size_t at, Entry& entry);

    // The line (from 1) that `pos` stands in. Positions are asked in rising
    // order; an earlier one counts again from the start.
    std::int64_t LineAt(std::size_t pos) {
        if (pos < m_linePos) {
            m_linePos = 0;
            m_lineCount = 1;
        }
        pos = std::min(pos, m_n);
        m_lineCount += CountLineEnds(m_linePos, pos);
        m_linePos = pos;
        return m_lineCount;
    }

    // Lines in the whole text: line ends, plus a last line without one.
    std::int64_t LineCount() const {
        if (m_n == 0) {
            return 0;
        }
        return LineEnds() + (Is(m_t[m_n - 1], kLineEnd) ? 0 : 1);
    }
    std::int64_t LineEnds() const { return CountLineEnds(0, m_n); }

    // Whether the line that begins at `line` begins with an entry head.
    bool LineStartsEntry(std::size_t line) const {
        const std::size_t at = SkipBlanks(line);
        std::size_t nameEnd = 0;
        return at < m_n && m_t[at] == '@' && IsEntryHead(at, nameEnd);
    }

    // Where a piece of the text may end: the start of its last line that
    // begins with an entry head; 0 for none. Only the bytes that `search`
    // has not seen are searched, and the last line it saw again.
    std::size_t FindPieceEnd(PieceSearch& search) const {
        std::size_t newest = 0;
        for (std::size_t i = m_n; i > search.searched;) {
            --i;
            if (!Is(m_t[i], kLineEnd)) {
                continue;
            }
            if (newest == 0) {
                newest = i + 1;
            }
            if (LineStartsEntry(i + 1)) {
                return i + 1;
            }
        }
        if (search.lastLine > 0 && LineStartsEntry(search.lastLine)) {
            return search.lastLine;
        }
        // Only the last line can still become an entry head.
        search.searched = m_n;
        search.lastLine = newest > 0 ? newest : search.lastLine;
        return 0;
    }

private:
    // LF, and CR not followed by LF, each end a line.
    std::int64_t CountLineEnds(std::size_t from, std::size_t to) const {
        std::int64_t count = 0;
        const char* data = m_t.data();
        for (std::size_t i = from; i < to;) {
            const void* lf = std::memchr(data + i, '\n', to - i);
            const std::size_t stop =
                lf == nullptr ? to : static_cast<std::size_t>(static_cast<const char*>(lf) - data);
            for (const void* cr = std::memchr(data + i, '\r', stop - i); cr != nullptr;) {
                const auto at = static_cast<std::size_t>(static_cast<const char*>(cr) - data);
                if (at + 1 >= m_n || data[at + 1] != '\n') {
                    ++count;
                }
                cr = at + 1 < stop ? std::memchr(data + at + 1, '\r', stop - at - 1) : nullptr;
            }
            if (lf != nullptr) {
                ++count;
            }
            i = stop + 1;
        }
        return count;
    }

    bool StartsLine(std::size_t pos) const {
        while (pos > 0 && Is(m_t[pos - 1], kBlank)) {
            --pos;
        }
        return pos == 0 || Is(m_t[pos - 1], kLineEnd);
    }

    std::size_t NameEnd(std::size_t pos) const {
        while (pos < m_n && !Is(m_t[pos], kNameStop)) {
            ++pos;
        }
        return pos;
    }

    std::size_t SkipBlanks(std::size_t pos) const {
        while (pos < m_n && Is(m_t[pos], kBlank)) {
            ++pos;
        }
        return pos;
    }

    // '@', a name and '{' or '(' on one line. `nameEnd` receives where the
    // name ended.
    bool IsEntryHead(std::size_t at, std::size_t& nameEnd) const {
        const std::size_t name = SkipBlanks(at + 1);
        nameEnd = NameEnd(name);
        if (nameEnd == name) {
            return false;
        }
        const std::size_t open = SkipBlanks(nameEnd);
        return open < m_n && (m_t[open] == '{' || m_t[open] == '(');
    }

    // Called at a line end at `pos`: whether the line behind it begins with
    // an entry head, which ends whatever is being read.
    bool NextLineStartsEntry(std::size_t pos) const {
        if (pos + 1 >= m_n) {
            return m_endsBeforeEntry;
        }
        return LineStartsEntry(pos + 1);
    }

    // White space and, where a name is expected, % comments (to the end of
    // the line). Elsewhere only a % that begins a line starts a comment:
    // "http://x.org/%20" is a value. kStop when a line begins an entry.
    std::size_t SkipGap(std::size_t pos, bool commentAnywhere) const {
        bool lineStart = false;
        while (pos < m_n) {
            const char c = m_t[pos];
            if (Is(c, kLineEnd)) {
                if (NextLineStartsEntry(pos)) {
                    m_stopAt = pos + 1;
                    return kStop;
                }
                lineStart = true;
                ++pos;
            } else if (Is(c, kBlank)) {
                ++pos;
            } else if (c == '%' && (commentAnywhere || lineStart)) {
                pos = EndOfLine(pos);
            } else {
                break;
            }
        }
        return pos;
    }

    // Behind a value part: white space only (line breaks noted).
    std::size_t SkipSpaceIn(std::size_t pos) {
        while (pos < m_n && qvn::IsSpace(m_t[pos])) {
            if (Is(m_t[pos], kLineEnd) && NextLineStartsEntry(pos)) {
                m_stopAt = pos + 1;
                return kStop;
            }
            m_breaks = m_breaks || Is(m_t[pos], kBreak);
            ++pos;
        }
        return pos;
    }

    // A character behind a backslash is taken as it is: "\{" and "\}" do
    // not count as braces, "\\" is one escaped backslash.
    std::size_t Escaped(std::size_t pos) const {
        return pos + 1 < m_n && !Is(m_t[pos + 1], kLineEnd) ? pos + 1 : pos;
    }

    // {...} at `pos`: the position behind its closing brace, or kStop.
    std::size_t ScanBraced(std::size_t pos);
    // "..." at `pos`: a double quote outside braces closes it.
    std::size_t ScanQuoted(std::size_t pos);
    // The next ',', closing delimiter or unpaired '}' outside braces: the
    // end of a field whose text does not follow the grammar.
    std::size_t SkipToFieldEnd(std::size_t pos, char close);

    struct Value {
        std::string_view text;
        std::size_t next = kStop; // the ',' or closing delimiter behind it
        bool breaks = false;
        bool commaMissing = false; // the next field follows without a comma
    };
    // "name =" at `pos`: a field whose comma before it is missing.
    bool IsFieldStart(std::size_t pos) const {
        const std::size_t nameEnd = NameEnd(pos);
        if (nameEnd == pos) {
            return false;
        }
        const std::size_t equals = SkipSpace(nameEnd);
        return equals < m_n && m_t[equals] == '=';
    }
    Value ScanValue(std::size_t pos, char close);
    // name = value pairs up to the closing delimiter.
    bool ParseFields(std::size_t pos, Entry& entry);
    void ParseComment(std::size_t pos, Entry& entry);

    bool Unclosed(Entry& entry) const {
        entry.outcome = Entry::Outcome::Unclosed;
        entry.end = std::min(m_stopAt, m_n);
        return false;
    }

    std::string_view m_t;
    std::size_t m_n;
    bool m_endsBeforeEntry;
    mutable std::size_t m_stopAt = 0;
    bool m_breaks = false;
    std::size_t m_linePos = 0;
    std::int64_t m_lineCount = 1;
};

std::size_t CBibTexReader::CScanner::ScanBraced(std::size_t pos) {
    std::size_t depth = 0;
    const char* data = m_t.data();
    for (std::size_t i = pos; i < m_n; ++i) {
        const char c = data[i];
        if (!Is(c, kBraceStop)) {
            continue;
        }
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            if (--depth == 0) {
                return i + 1;
            }
        } else if (c == '\\') {
            i = Escaped(i);
        } else {
            m_breaks = true;
            if (Is(c, kLineEnd) && NextLineStartsEntry(i)) {
                m_stopAt = i + 1;
                return kStop;
            }
        }
    }
    m_stopAt = m_n;
    return kStop;
}

std::size_t CBibTexReader::CScanner::ScanQuoted(std::size_t pos) {
    std::size_t depth = 0;
    // A quote inside braces does not close the value ("G{\"o}del"); but when
    // the braces never balance, the first such quote is taken as the end,
    // which keeps the rest of the item.
    std::size_t innerQuote = kStop;
    const char* data = m_t.data();
    for (std::size_t i = pos + 1; i < m_n; ++i) {
        const char c = data[i];
        if (!Is(c, kQuoteStop)) {
            continue;
        }
        if (c == '"') {
            if (depth == 0) {
                return i + 1;
            }
            if (innerQuote == kStop) {
                innerQuote = i;
            }
        } else if (c == '{') {
            ++depth;
        } else if (c == '}') {
            depth -= depth > 0 ? 1 : 0;
        } else if (c == '\\') {
            i = Escaped(i);
        } else {
            m_breaks = true;
            if (Is(c, kLineEnd) && NextLineStartsEntry(i)) {
                m_stopAt = i + 1;
                return innerQuote != kStop ? innerQuote + 1 : kStop;
            }
        }
    }
    m_stopAt = m_n;
    return innerQuote != kStop ? innerQuote + 1 : kStop;
}

std::size_t CBibTexReader::CScanner::SkipToFieldEnd(std::size_t pos, char close) {
    std::size_t depth = 0;
    for (std::size_t i = pos; i < m_n; ++i) {
        const char c = m_t[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            // Also in parentheses a stray '}' ends the field: a value keeps
            // its braces paired, so it can be written in braces again.
            if (depth == 0) {
                return i;
            }
            --depth;
        } else if (c == '\\') {
            // Outside braces a backslash does not hide the comma or ')' that
            // ends the field: a value ending in a backslash is written with
            // a comma behind it and must read back the same.
            const char next = i + 1 < m_n ? m_t[i + 1] : '\0';
            if (depth > 0 || (next != ',' && !(next == ')' && close == ')'))) {
                i = Escaped(i);
            }
        } else if (depth == 0 && (c == ',' || (c == ')' && close == ')'))) {
            return i;
        } else if (Is(c, kLineEnd) && NextLineStartsEntry(i)) {
            m_stopAt = i + 1;
            return kStop;
        }
    }
    m_stopAt = m_n;
    return kStop;
}

CBibTexReader::CScanner::Value CBibTexReader::CScanner::ScanValue(std::size_t pos, char close) {
    Value value;
    m_breaks = false;
    const std::size_t start = pos;
    std::size_t end = pos;
    // Parts joined with '#': braced, quoted, or a bare number or name.
    while (pos < m_n) {
        const char c = m_t[pos];
        std::size_t partEnd = kStop;
        if (c == '{') {
            partEnd = ScanBraced(pos);
        } else if (c == '"') {
            partEnd = ScanQuoted(pos);
        } else if (!Is(c, kNameStop)) {
            partEnd = NameEnd(pos);
        } else {
            break;
        }
        if (partEnd == kStop) {
            return value;
        }
        end = partEnd;
        const std::size_t after = SkipSpaceIn(partEnd);
        if (after == kStop) {
            return value;
        }
        if (after >= m_n || m_t[after] != '#') {
            break;
        }
        pos = SkipSpaceIn(after + 1);
        if (pos == kStop) {
            return value;
        }
    }
    const std::size_t next = SkipGap(end, false);
    if (next == kStop || next >= m_n) {
        m_stopAt = next == kStop ? m_stopAt : m_n;
        return value;
    }
    if (m_t[next] == ',' || m_t[next] == close || IsFieldStart(next)) {
        value.text = m_t.substr(start, end - start);
        value.next = next;
        value.breaks = m_breaks;
        value.commaMissing = m_t[next] != ',' && m_t[next] != close;
        return value;
    }
    // Text behind the value ({A} and {B}) is kept with it up to the end of
    // the field: what is stored is what was read.
    const std::size_t fieldEnd = SkipToFieldEnd(end, close);
    if (fieldEnd == kStop) {
        return value;
    }
    value.text = TrimView(m_t.substr(start, fieldEnd - start));
    value.next = fieldEnd;
    value.breaks = HasBreak(value.text);
    return value;
}

bool CBibTexReader::CScanner::ParseFields(std::size_t pos, Entry& entry) {
    const char close = entry.close;
    for (;;) {
        pos = SkipGap(pos, true);
        if (pos == kStop || pos >= m_n) {
            return Unclosed(entry);
        }
        const char c = m_t[pos];
        if (c == close) {
            entry.end = pos + 1;
            return true;
        }
        if (c == ',') {
            ++pos;
            continue;
        }
        if (c == '}') { // unpaired, in parentheses
            entry.problems.push_back({pos, kNameExpected, {}});
            ++pos;
            continue;
        }
        const std::size_t nameEnd = NameEnd(pos);
        if (nameEnd == pos) {
            entry.problems.push_back({pos, kNameExpected, {}});
            pos = SkipToFieldEnd(pos, close);
            if (pos == kStop) {
                return Unclosed(entry);
            }
            continue;
        }
        const std::string_view name = m_t.substr(pos, nameEnd - pos);
        pos = SkipGap(nameEnd, false);
        if (pos == kStop || pos >= m_n) {
            return Unclosed(entry);
        }
        if (m_t[pos] != '=') {
            entry.problems.push_back({pos, kEqualsExpected, {}});
            pos = SkipToFieldEnd(pos, close);
            if (pos == kStop) {
                return Unclosed(entry);
            }
            continue;
        }
        pos = SkipGap(pos + 1, false);
        if (pos == kStop) {
            return Unclosed(entry);
        }
        const Value value = ScanValue(pos, close);
        if (value.next == kStop) {
            return Unclosed(entry);
        }
        entry.fields.push_back({name, value.text, value.breaks});
        if (value.commaMissing) {
            // "Volume = {29}" then "Pages = ..." on the next line: told, and
            // both fields are read.
            const auto valueEnd =
                static_cast<std::size_t>(value.text.data() - m_t.data()) + value.text.size();
            entry.problems.push_back({valueEnd, kCommaExpectedAfterField, name});
        }
        pos = value.next;
    }
}

void CBibTexReader::CScanner::ParseComment(std::size_t pos, Entry& entry) {
    entry.kind = Entry::Kind::Comment;
    const std::size_t lineEnd = EndOfLine(pos);
    const std::size_t open = SkipGap(pos, false);
    if (open == kStop || open >= m_n || (m_t[open] != '{' && m_t[open] != '(')) {
        // Without a delimiter the comment is the rest of its line.
        entry.open = pos;
        entry.end = lineEnd;
        return;
    }
    entry.open = open;
    entry.close = m_t[open] == '{' ? '}' : ')';
    if (entry.close == '}') {
        const std::size_t end = ScanBraced(open);
        if (end == kStop) {
            Unclosed(entry);
        } else {
            entry.end = end;
        }
        return;
    }
    std::size_t depth = 0;
    for (std::size_t i = open + 1; i < m_n; ++i) {
        const char c = m_t[i];
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            depth -= depth > 0 ? 1 : 0;
        } else if (c == ')' && depth == 0) {
            entry.end = i + 1;
            return;
        } else if (Is(c, kLineEnd) && NextLineStartsEntry(i)) {
            m_stopAt = i + 1;
            Unclosed(entry);
            return;
        }
    }
    m_stopAt = m_n;
    Unclosed(entry);
}

void CBibTexReader::CScanner::ParseEntry(std::size_t at, Entry& entry) {
    entry.Reset(at);
    m_stopAt = m_n; // where an entry that meets the end of the text leaves off
    std::size_t pos = SkipGap(at + 1, true);
    const std::size_t typeEnd = pos == kStop ? kStop : NameEnd(pos);
    if (pos == kStop || typeEnd == pos) {
        entry.outcome = Entry::Outcome::NoType;
        entry.faultPos = pos == kStop ? at : pos;
        return;
    }
    entry.type = m_t.substr(pos, typeEnd - pos);
    if (EqualsAsciiNoCase(entry.type, "comment")) {
        ParseComment(typeEnd, entry);
        return;
    }
    pos = SkipGap(typeEnd, true);
    if (pos == kStop || pos >= m_n || (m_t[pos] != '{' && m_t[pos] != '(')) {
        entry.outcome = Entry::Outcome::NoOpening;
        entry.faultPos = pos == kStop || pos >= m_n ? typeEnd : pos;
        return;
    }
    entry.open = pos;
    entry.close = m_t[pos] == '{' ? '}' : ')';
    ++pos;
    if (EqualsAsciiNoCase(entry.type, "string")) {
        entry.kind = Entry::Kind::String;
        ParseFields(pos, entry);
        return;
    }
    if (EqualsAsciiNoCase(entry.type, "preamble")) {
        entry.kind = Entry::Kind::Preamble;
        pos = SkipGap(pos, true);
        if (pos == kStop || pos >= m_n) {
            Unclosed(entry);
            return;
        }
        const Value value = ScanValue(pos, entry.close);
        if (value.next == kStop) {
            Unclosed(entry);
            return;
        }
        entry.fields.push_back({{}, value.text, value.breaks});
        ParseFields(value.next, entry);
        return;
    }
    // An item: the key ends at a comma or white space, in braces also at
    // the closing brace; in parentheses a key may hold them: "p(1)".
    pos = SkipGap(pos, true);
    if (pos == kStop || pos >= m_n) {
        Unclosed(entry);
        return;
    }
    std::size_t keyEnd = pos;
    while (keyEnd < m_n && !qvn::IsSpace(m_t[keyEnd]) && m_t[keyEnd] != ',' &&
           (m_t[keyEnd] != '}' || entry.close != '}')) {
        ++keyEnd;
    }
    entry.key = m_t.substr(pos, keyEnd - pos);
    std::size_t next = SkipGap(keyEnd, true);
    if (entry.close == ')' && entry.key.ends_with(')') &&
        (next == kStop || next >= m_n || m_t[next] != ',')) {
        // "@misc(onlykey)": the last parenthesis closes the entry.
        entry.key.remove_suffix(1);
        entry.end = keyEnd;
        return;
    }
    if (next == kStop || next >= m_n) {
        Unclosed(entry);
        return;
    }
    if (m_t[next] == entry.close) {
        entry.end = next + 1;
        return;
    }
    if (m_t[next] != ',') {
        // The key runs into a field ("@article{KiliEtal13" then "Author ="):
        // told, and the fields are read as if the comma stood there.
        entry.problems.push_back({pos, kCommaExpected, entry.key});
        ParseFields(next, entry);
        return;
    }
    ParseFields(next + 1, entry);
}

// ---------------------------------------------------------------------------
// The reader

namespace {} // namespace

// An item's values gathered before its value block is built once: a block
// rebuilt for each field would cost in proportion to the square of its
// fields. Kept by the reader, so the lists keep their room.
struct CBibTexReader::ItemScratch {
    std::array<std::string_view, kFieldCount> slots;
    std::vector<std::pair<std::string_view, std::string_view>> others;
    std::vector<std::string> joined; // values whose line breaks were replaced
    std::vector<CFieldValues::Part> parts;
};

// The item of an entry whose type is `typeName`: a catalogue type, or a
// type outside it kept by name. Null when BibTeX could not read the name.
// `keepOther(name)` says whether a field the catalogue lacks is kept. A later
// field of the same name (ignoring case) replaces an earlier one.
template <typename Fields, typename KeepOther>
std::unique_ptr<CBibTexEntry>
CBibTexReader::MakeItem(std::string_view fileName, std::string_view key, std::string_view typeName,
                        const Fields& fields, ItemScratch& scratch, KeepOther&& keepOther) {
    const int type = FindEntryTypeFast(typeName);
    auto item = std::make_unique<CBibTexEntry>(std::string(fileName), std::string(key),
                                               type >= 0 ? type : CBibTexEntry::kOtherType);
    if (type < 0 && !item->SetTypeName(typeName)) {
        return nullptr;
    }
    scratch.slots.fill({});
    scratch.others.clear();
    // Sized before the first view into it is taken: a string moved by a
    // growing list would leave its views behind.
    if (scratch.joined.size() < fields.size()) {
        scratch.joined.resize(fields.size());
    }
    std::size_t joined = 0;
    for (const auto& field : fields) {
        std::string_view value = field.value;
        if (field.breaks) {
            value = JoinLines(field.value, scratch.joined[joined++]);
        }
        const int index = FindFieldFast(field.name);
        if (index >= 0) {
            scratch.slots[static_cast<std::size_t>(index)] = value;
            continue;
        }
        if (value.empty() || !keepOther(field.name)) {
            continue;
        }
        auto same = std::find_if(scratch.others.begin(), scratch.others.end(), [&](const auto& o) {
            return qvn::EqualsNoCase(o.first, field.name);
        });
        if (same != scratch.others.end()) {
            *same = {field.name, value};
        } else {
            scratch.others.emplace_back(field.name, value);
        }
    }
    // Block order: catalogue slots by index, the type name, other fields.
    scratch.parts.clear();
    for (std::size_t i = 0; i < scratch.slots.size(); ++i) {
        if (!scratch.slots[i].empty()) {
            scratch.parts.push_back({static_cast<std::uint32_t>(i), scratch.slots[i]});
        }
    }
    if (type < 0) {
        scratch.parts.push_back({CFieldValues::kTypeNameTag, item->GetTypeName()});
    }
    for (const auto& [name, value] : scratch.others) {
        scratch.parts.push_back({CFieldValues::kOtherNameTag, name});
        scratch.parts.push_back({CFieldValues::kOtherValueTag, value});
    }
    item->AssignValues(scratch.parts);
    return item;
}

// The text a @preamble or @comment is kept as: its type right behind the
// '@' (what stood around the type, such as a % line, BibTeX would not
// read), then the entry as written from its delimiter on.
CBibTexBlock CBibTexReader::MakeBlock(const Entry& entry, std::string_view text) {
    CBibTexBlock block;
    block.kind = entry.kind == Entry::Kind::Preamble ? CBibTexBlock::Kind::Preamble
                                                     : CBibTexBlock::Kind::Comment;
    block.text = "@";
    block.text += entry.type;
    std::string_view rest = text.substr(entry.open, entry.end - entry.open);
    while (!rest.empty() && qvn::IsSpace(rest.back())) {
        rest.remove_suffix(1);
    }
    block.text += rest;
    return block;
}

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
    try {
        qvn::CReadFile file(m_sourcePath);
        m_openError.clear();
        BeginRead(false);
        ReadPieces(file);
    } catch (const qvn::CFileError& e) {
        // Nothing read: what a part of the file gave is no use.
        m_items.RemoveAll();
        m_strings.RemoveAll();
        m_errors.clear();
        m_stats = {};
        m_line = 0;
        m_state = kExpectItem;
        m_openError = e.Cause();
        return -1;
    }
    return 1;
}

// The file is loaded a piece at a time behind what is left of the one
// before; what is loaded is read up to its last line that begins an entry
// head, the rest stays for the next piece. A file without such lines is
// loaded whole.
void CBibTexReader::ReadPieces(qvn::CReadFile& file) {
    std::unique_ptr<char[]> buffer;
    std::size_t capacity = 0;
    std::size_t size = 0;
    bool atStart = true;
    PieceSearch search;
    for (;;) {
        if (size == capacity) {
            capacity = std::max(m_pieceSize, capacity * 2);
            auto larger = std::make_unique_for_overwrite<char[]>(capacity);
            if (size > 0) {
                std::memcpy(larger.get(), buffer.get(), size);
            }
            buffer = std::move(larger);
        }
        const std::size_t n =
            file.Read(buffer.get() + size, std::min(m_pieceSize, capacity - size));
        size += n;
        if (atStart) {
            // The byte order mark at the very start is no text.
            if (size < kByteOrderMark.size() && n > 0) {
                continue;
            }
            atStart = false;
            std::size_t skipped = 0;
            if (std::string_view(buffer.get(), size).starts_with(kByteOrderMark)) {
                skipped = kByteOrderMark.size();
                size -= skipped;
                std::memmove(buffer.get(), buffer.get() + skipped, size);
            }
            m_total = file.SizeHint() > skipped ? file.SizeHint() - skipped : 0;
        }
        const std::string_view loaded(buffer.get(), size);
        if (n == 0) {
            ReadPiece(loaded, true);
            return;
        }
        const std::size_t end = CScanner(loaded).FindPieceEnd(search);
        if (end == 0) {
            continue;
        }
        if (!ReadPiece(loaded.substr(0, end), false)) {
            return;
        }
        size -= end;
        std::memmove(buffer.get(), buffer.get() + end, size);
        search = {};
    }
}

int CBibTexReader::ReadFileContent(std::string_view content) {
    if (content.substr(0, kByteOrderMark.size()) == kByteOrderMark) {
        content.remove_prefix(kByteOrderMark.size());
    }
    Read(content, false);
    return 1;
}

int CBibTexReader::ReadText(std::string_view input) {
    if (input.empty()) {
        return ReadFile();
    }
    Read(input, true);
    return 1;
}

void CBibTexReader::Read(std::string_view text, bool inMemory) {
    BeginRead(inMemory);
    m_total = text.size();
    ReadPiece(text, true);
}

void CBibTexReader::BeginRead(bool inMemory) {
    m_errors.clear();
    m_inMemory = inMemory;
    m_fileName = FileNameFromPath(m_sourcePath);
    m_state = kExpectItem;
    m_cancelled = false;
    m_pieceStart = 0;
    m_linesBefore = 0;
    m_nextProgress = 0;
    m_total = 0;
}

bool CBibTexReader::ReadPiece(std::string_view text, bool last) {
    CScanner scanner(text, !last);
    const std::size_t n = scanner.Size();
    Entry entry; // one for all entries: its lists keep their room
    m_text = text;
    constexpr std::size_t kProgressStep = std::size_t{1} << 20;
    std::size_t pos = 0;
    for (;;) {
        pos = scanner.SkipSpace(pos);
        if (pos >= n) {
            break;
        }
        if (m_progress && Done(pos) >= m_nextProgress) {
            m_nextProgress = Done(pos) + kProgressStep;
            if (!m_progress(Done(pos), std::max(m_total, Done(n)))) {
                m_cancelled = true;
                break;
            }
        }
        const char c = text[pos];
        if (c == '%') {
            pos = scanner.EndOfLine(pos); // a comment line, or one behind an entry
        } else if (c == '@') {
            pos = ReadEntry(scanner, entry, pos);
        } else {
            const std::string_view line = text.substr(pos, scanner.EndOfLine(pos) - pos);
            AddError(scanner, pos, kAtExpected, FirstCharacters(TrimView(line), kQuotedCharacters));
            pos = scanner.FindResume(pos);
            m_state = pos >= n && last ? kSkipping : kExpectItem;
        }
    }
    m_text = {};
    if (last || m_cancelled) {
        m_line = m_inMemory ? 0 : m_linesBefore + scanner.LineCount();
        return !m_cancelled;
    }
    m_linesBefore += scanner.LineEnds();
    m_pieceStart += n;
    return true;
}

std::size_t CBibTexReader::ReadEntry(CScanner& scanner, Entry& entry, std::size_t at) {
    scanner.ParseEntry(at, entry);
    switch (entry.outcome) {
    case Entry::Outcome::NoType:
        AddError(scanner, entry.faultPos, kTypeExpected);
        m_state = kSkipping;
        return scanner.FindResume(at + 1);
    case Entry::Outcome::NoOpening:
        AddError(scanner, entry.faultPos, kOpenExpected);
        m_state = kSkipping;
        return scanner.FindResume(at + 1);
    case Entry::Outcome::Unclosed:
        // Reported at its head; reading goes on where the next entry begins.
        AddError(scanner, at, std::string(1, '\'') + entry.close + "' expected");
        m_state = entry.end >= scanner.Size() && !scanner.EndsBeforeEntry() ? kInItem : kExpectItem;
        return std::max(entry.end, at + 1);
    case Entry::Outcome::Complete:
        break;
    }
    for (const Entry::Problem& problem : entry.problems) {
        AddError(scanner, problem.pos, problem.what, problem.detail);
    }
    entry.text = scanner.Text().substr(at, entry.end - at);
    StoreEntry(entry);
    m_state = kExpectItem;
    return std::max(entry.end, at + 1);
}

void CBibTexReader::StoreEntry(const Entry& entry) {
    switch (entry.kind) {
    case Entry::Kind::String:
        StoreStrings(entry);
        return;
    case Entry::Kind::Comment:
    case Entry::Kind::Preamble:
        // Kept with the file, to be written at its head again.
        m_items.AddBlock(m_fileName, MakeBlock(entry, m_text));
        return;
    case Entry::Kind::Item:
        break;
    }
    StoreItem(entry);
}

void CBibTexReader::StoreItem(const Entry& entry) {
    if (!m_itemScratch) {
        m_itemScratch = std::make_shared<ItemScratch>();
    }
    std::unique_ptr<CBibTexEntry> item =
        MakeItem(m_fileName, entry.key, entry.type, entry.fields, *m_itemScratch,
                 [this](std::string_view name) { return OnOtherField(name); });
    if (!item) {
        OnOtherEntry(entry.type);
        return;
    }
    if (!m_items.Add(item)) {
        CountExact(m_stats.unaddedKeys, entry.key);
    }
}

void CBibTexReader::StoreStrings(const Entry& entry) {
    for (const Entry::Field& field : entry.fields) {
        const std::string_view value =
            field.breaks ? JoinLines(field.value, m_scratch) : field.value;
        if (!m_strings.AddString(field.name, value, false)) {
            std::string text;
            std::string message = "Could not add string '";
            message += HasBreak(entry.text) ? JoinLines(entry.text, text) : entry.text;
            message += "'. Key is already in use.";
            m_errors.push_back(std::move(message));
        }
    }
}

void CBibTexReader::OnOtherEntry(std::string_view type) {
    Count(m_stats.leftOutTypes, type);
}

bool CBibTexReader::OnOtherField(std::string_view name) {
    if (IsBibTexName(name)) {
        return true;
    }
    Count(m_stats.leftOutFields, name);
    return false;
}

void CBibTexReader::AddError(CScanner& scanner, std::size_t pos, std::string_view what,
                             std::string_view detail) {
    const long long line =
        m_inMemory ? 0 : static_cast<long long>(m_linesBefore + scanner.LineAt(pos));
    std::string message = qvn::Format("Import Error in line %lld: ", line);
    message += what;
    message += " (File: ";
    message += m_sourcePath;
    // The same words name different places: compared by address.
    if (what.data() == kAtExpected) {
        message += ", Line: ";
        message += detail;
        message += "...";
    } else if (what.data() == kCommaExpected) {
        message += ", Key: ";
        message += detail;
    } else if (what.data() == kCommaExpectedAfterField) {
        message += ", Field: ";
        message += detail;
    }
    message += ").";
    m_errors.push_back(std::move(message));
}

std::unique_ptr<CBibTexEntry>
CBibTexReader::ParseItem(std::string_view fileName, std::string_view itemText, int* unknownFields) {
    CScanner scanner(itemText);
    const std::size_t at = scanner.SkipSpace(0);
    if (at >= itemText.size() || itemText[at] != '@') {
        return nullptr;
    }
    Entry entry;
    scanner.ParseEntry(at, entry);
    if (entry.outcome != Entry::Outcome::Complete || entry.kind != Entry::Kind::Item) {
        return nullptr;
    }
    ItemScratch scratch;
    return MakeItem(fileName, entry.key, entry.type, entry.fields, scratch,
                    [unknownFields](std::string_view name) {
                        if (IsBibTexName(name)) {
                            return true;
                        }
                        if (unknownFields != nullptr) {
                            ++*unknownFields;
                        }
                        return false;
                    });
}

bool CBibTexReader::ParseBlock(std::string_view itemText, CBibTexBlock& block) {
    CScanner scanner(itemText);
    const std::size_t at = scanner.SkipSpace(0);
    if (at >= itemText.size() || itemText[at] != '@') {
        return false;
    }
    Entry entry;
    scanner.ParseEntry(at, entry);
    if (entry.outcome != Entry::Outcome::Complete ||
        (entry.kind != Entry::Kind::Preamble && entry.kind != Entry::Kind::Comment)) {
        return false;
    }
    block = MakeBlock(entry, itemText);
    return true;
}

bool CBibTexReader::ParseString(std::string_view itemText, std::string& abbreviation,
                                std::string& value) {
    abbreviation.clear();
    value.clear();
    CScanner scanner(itemText);
    const std::size_t at = scanner.SkipSpace(0);
    if (at >= itemText.size() || itemText[at] != '@') {
        return false;
    }
    Entry entry;
    scanner.ParseEntry(at, entry);
    if (entry.outcome != Entry::Outcome::Complete || entry.kind != Entry::Kind::String ||
        entry.fields.empty()) {
        return false;
    }
    const Entry::Field& field = entry.fields.front();
    abbreviation = field.name;
    std::string scratch;
    value = field.breaks ? JoinLines(field.value, scratch) : field.value;
    return true;
}

std::vector<std::string> FormatLeftOut(const CBibTexReaderStats& stats) {
    std::vector<std::string> lines;
    const auto add = [&](const CBibTexReaderStats::Tally& tally, const char* what) {
        if (!tally.empty()) {
            lines.push_back(
                qvn::Format("    - Left out %d %s: ", CBibTexReaderStats::Total(tally), what) +
                FormatTally(tally) + ".");
        }
    };
    add(stats.leftOutTypes, "entries of unknown types");
    add(stats.leftOutFields, "values of unknown fields");
    add(stats.unaddedKeys, "items whose key could not be made unique");
    return lines;
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
    for (std::string& line : FormatLeftOut(reader.GetStats())) {
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string FormatImportTotal(int totalErrors) {
    return qvn::Format("Import with %d errors finished.", totalErrors);
}
