// Import and export of every real bibliography keep what BibTeX reads: each
// entry with its type and every field value, and every @preamble. Both sides
// are read by a small BibTeX scanner of this test, not by the program's
// reader, so a fault the reader and the writers share cannot hide itself.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "project/QVNDoc.h"

#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;
using namespace testsupport;

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return out;
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Runs of white space as one blank, none at the ends: BibTeX itself reads
// values so.
std::string Squeeze(std::string_view text) {
    std::string out;
    bool blank = false;
    for (char c : text) {
        if (IsSpace(c)) {
            blank = !out.empty();
        } else {
            if (blank) {
                out += ' ';
            }
            blank = false;
            out += c;
        }
    }
    return out;
}

struct Entry {
    std::string type;
    std::string key;
    std::map<std::string, std::string> fields; // lower-case name -> value as BibTeX reads it
};

struct Bibliography {
    std::vector<Entry> entries; // the first entry of each key (ignoring case)
    std::vector<std::string> preambles;
};

// Reads .bib text the way BibTeX's own scanner does: text outside entries is
// skipped, @comment is a word only, an entry with a syntax error is dropped
// (and not compared), a repeated key is ignored, macros are expanded with the
// definitions read so far.
class BibScanner {
public:
    explicit BibScanner(Bibliography& out) : m_out(out) {}

    void Read(std::string_view text) {
        m_text = text;
        m_pos = 0;
        while ((m_pos = m_text.find('@', m_pos)) != std::string_view::npos) {
            ++m_pos;
            const std::size_t at = m_pos;
            if (!Command()) {
                m_pos = std::max(m_pos, at); // resume behind the failed '@'
            }
        }
    }

private:
    void SkipSpace() {
        while (m_pos < m_text.size() && IsSpace(m_text[m_pos])) {
            ++m_pos;
        }
    }
    bool At(char c) const { return m_pos < m_text.size() && m_text[m_pos] == c; }
    static bool IdChar(char c) {
        return !IsSpace(c) && std::string_view("\"#%'(),={}").find(c) == std::string_view::npos;
    }
    std::string Identifier() {
        const std::size_t start = m_pos;
        if (m_pos < m_text.size() && std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
            return {};
        }
        while (m_pos < m_text.size() && IdChar(m_text[m_pos])) {
            ++m_pos;
        }
        return std::string(m_text.substr(start, m_pos - start));
    }
    // One value: pieces joined by '#'. False on a syntax error.
    bool Value(char close, std::string& value) {
        value.clear();
        for (;;) {
            SkipSpace();
            if (m_pos >= m_text.size()) {
                return false;
            }
            const char c = m_text[m_pos];
            if (c == '{' || c == '"') {
                const std::size_t start = ++m_pos;
                int depth = 0;
                while (m_pos < m_text.size()) {
                    const char d = m_text[m_pos];
                    if (d == '{') {
                        ++depth;
                    } else if (d == '}') {
                        if (depth == 0) {
                            break;
                        }
                        --depth;
                    } else if (d == '"' && c == '"' && depth == 0) {
                        break;
                    }
                    ++m_pos;
                }
                if (m_pos >= m_text.size() || (c == '{' && m_text[m_pos] != '}') ||
                    (c == '"' && m_text[m_pos] != '"')) {
                    return false;
                }
                value += m_text.substr(start, m_pos - start);
                ++m_pos;
            } else if (std::isdigit(static_cast<unsigned char>(c))) {
                while (m_pos < m_text.size() &&
                       std::isdigit(static_cast<unsigned char>(m_text[m_pos]))) {
                    value += m_text[m_pos++];
                }
            } else {
                const std::string name = Lower(Identifier());
                if (name.empty()) {
                    return false;
                }
                const auto macro = m_macros.find(name);
                // An undefined macro (a month, say) is compared by its name.
                value += macro != m_macros.end() ? macro->second : "\x01" + name + "\x01";
            }
            SkipSpace();
            if (!At('#')) {
                break;
            }
            ++m_pos;
        }
        value = Squeeze(value);
        SkipSpace();
        return At(',') || At(close);
    }
    bool Command() {
        SkipSpace();
        const std::string type = Lower(Identifier());
        if (type.empty()) {
            return false;
        }
        if (type == "comment") {
            return true; // BibTeX reads on behind the word
        }
        SkipSpace();
        if (!At('{') && !At('(')) {
            return false;
        }
        const char close = At('{') ? '}' : ')';
        ++m_pos;
        SkipSpace();
        std::string value;
        if (type == "preamble") {
            if (!Value(close, value) || !At(close)) {
                return false;
            }
            ++m_pos;
            m_out.preambles.push_back(value);
            return true;
        }
        if (type == "string") {
            const std::string name = Lower(Identifier());
            SkipSpace();
            if (name.empty() || !At('=')) {
                return false;
            }
            ++m_pos;
            if (!Value(close, value) || !At(close)) {
                return false;
            }
            ++m_pos;
            m_macros[name] = value;
            return true;
        }
        Entry entry{type, {}, {}};
        const std::size_t keyStart = m_pos;
        while (m_pos < m_text.size() && m_text[m_pos] != ',' && !IsSpace(m_text[m_pos]) &&
               (close == ')' || m_text[m_pos] != '}')) {
            ++m_pos;
        }
        entry.key = std::string(m_text.substr(keyStart, m_pos - keyStart));
        // The key is taken even when the entry turns out broken: a later entry
        // of the same key is a repeated one.
        const bool first = m_keys.insert(Lower(entry.key)).second;
        std::set<std::string> repeated;
        for (;;) {
            SkipSpace();
            if (At(close)) {
                break;
            }
            if (!At(',')) {
                return false;
            }
            ++m_pos;
            SkipSpace();
            if (At(close)) {
                break;
            }
            const std::string name = Lower(Identifier());
            SkipSpace();
            if (name.empty() || !At('=')) {
                return false;
            }
            ++m_pos;
            if (!Value(close, value)) {
                return false;
            }
            // Which of two values of one field counts differs between
            // programs; such a field is not compared. Nor is a name that
            // starts with '@': written on a line of its own it would read as
            // the start of an entry, so the import leaves it out and says so.
            if (name.front() == '@' || !entry.fields.emplace(name, value).second) {
                repeated.insert(name);
            }
        }
        ++m_pos;
        for (const std::string& name : repeated) {
            entry.fields.erase(name);
        }
        if (first) {
            m_out.entries.push_back(std::move(entry));
        }
        return true;
    }

    Bibliography& m_out;
    std::string_view m_text;
    std::size_t m_pos = 0;
    std::map<std::string, std::string> m_macros;
    std::set<std::string> m_keys;
};

Bibliography Scan(const std::vector<std::string>& texts) {
    Bibliography out;
    BibScanner scanner(out);
    for (const std::string& text : texts) {
        scanner.Read(text);
    }
    return out;
}

std::vector<std::string> CorpusFiles() {
    std::vector<std::string> files;
    if (fs::is_directory(QVN_CORPUS_DIR)) {
        for (const auto& entry : fs::recursive_directory_iterator(QVN_CORPUS_DIR)) {
            if (entry.is_regular_file() && entry.path().extension() == ".bib") {
                files.push_back(entry.path().string());
            }
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(RoundTripCorpus, ImportAndExportKeepEveryEntryFieldValueAndPreamble) {
    const std::vector<std::string> files = CorpusFiles();
    if (files.empty()) {
        GTEST_SKIP() << "the corpus of .bib files is not at " << QVN_CORPUS_DIR;
    }
    std::size_t entries = 0;
    std::size_t values = 0;
    for (const std::string& path : files) {
        SCOPED_TRACE(path);
        TempDir dir;
        ScriptedUi ui;
        CQVNDoc doc{&ui};
        doc.StartProject({"Corpus", dir.Path(), "strings.bib"});
        ASSERT_TRUE(doc.ImportFiles({path}).unreadable.empty());
        ASSERT_TRUE(doc.MultiExport(
            {dir.Path(), std::vector<bool>(doc.GetMultiExportRows().size(), true), false, false}));

        const Bibliography before = Scan({ReadBytes(path)});
        // The strings file is read first, as \bibdata{strings,...} would.
        std::vector<std::string> written;
        if (fs::exists(dir.File("strings.bib"))) {
            written.push_back(ReadBytes(dir.File("strings.bib")));
        }
        for (const MultiExportRow& row : doc.GetMultiExportRows()) {
            if (!row.isStrings) {
                written.push_back(ReadBytes(dir.File(row.file + ".bib")));
            }
        }
        const Bibliography after = Scan(written);

        std::map<std::string, const Entry*> byKey;
        for (const Entry& entry : after.entries) {
            byKey.emplace(entry.key, &entry);
        }
        int faults = 0;
        const auto fault = [&](const std::string& what) {
            if (++faults <= 5) {
                ADD_FAILURE() << what;
            }
        };
        for (const Entry& entry : before.entries) {
            ++entries;
            const auto found = byKey.find(entry.key);
            if (found == byKey.end()) {
                fault("entry lost: " + entry.key);
                continue;
            }
            const Entry& out = *found->second;
            if (out.type != entry.type) {
                fault(entry.key + ": type " + entry.type + " became " + out.type);
            }
            for (const auto& [name, value] : entry.fields) {
                ++values;
                const auto field = out.fields.find(name);
                if (field == out.fields.end()) {
                    fault(entry.key + ": field lost: " + name);
                } else if (field->second != value) {
                    fault(entry.key + ": " + name + " = [" + value + "] became [" + field->second +
                          "]");
                }
            }
        }
        // Every preamble BibTeX reads in the original comes back, in order.
        // The export may hold one more: the program also reads a @preamble
        // with a % line between '@' and its name, which BibTeX skips.
        std::size_t next = 0;
        for (const std::string& preamble : after.preambles) {
            if (next < before.preambles.size() && preamble == before.preambles[next]) {
                ++next;
            }
        }
        EXPECT_EQ(next, before.preambles.size()) << "a preamble was lost or changed";
        EXPECT_EQ(faults, 0);
    }
    // The corpus is what it was when this test was written.
    EXPECT_GT(entries, 20000u);
    EXPECT_GT(values, 150000u);
}

} // namespace
