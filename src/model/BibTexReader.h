// Turns the text of one .bib file, or .bib text held in memory, into BibTeX
// items and strings. The reader is line-oriented and tolerant: it fills a map
// and a string table of its own, lists its syntax errors for the import log
// and never touches the project. One reader is used for one source.
#pragma once

#include "model/BibTexEntry.h"
#include "model/BibTexMap.h"
#include "model/BibTexStringTable.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What the reader dropped without an error message. Never part of the import
// log; front ends may show it on request.
struct CBibTexReaderStats {
    int unknownTypes = 0;    // texts that are neither an item, a string, a preamble nor a
                             // comment (broken heads, type names BibTeX cannot read)
    int unknownFields = 0;   // fields whose name BibTeX cannot read
    int unaddedItems = 0;    // items whose key could not be made unique
    int unfinishedItems = 0; // an item still open at the end of the text
    std::int64_t unfinishedItemLine = 0; // the line where that item started (0 in memory)
};

class CBibTexReader {
public:
    // Collector states.
    static constexpr int kExpectItem = 0;
    static constexpr int kInItem = 1;
    static constexpr int kSkipping = 6;

    // `sourcePath` is the file to read, or for in-memory text the name of the
    // BibTeX file that receives the items (may be empty).
    explicit CBibTexReader(std::string sourcePath = {});
    CBibTexReader(const CBibTexReader&) = delete;
    CBibTexReader& operator=(const CBibTexReader&) = delete;

    // Reads the source file: 1, or -1 (nothing read) when it cannot be opened;
    // GetOpenError() then tells why.
    int ReadFile();
    // Reads bytes as the content of a file: split into lines at LF, CR LF or
    // a lone CR; a UTF-8 byte-order mark at the start is skipped. Returns 1.
    int ReadFileContent(std::string_view content);
    // Reads in-memory text as one text (no line numbers). An empty text reads
    // the source file instead. Returns 1, or -1 as ReadFile.
    int ReadText(std::string_view text);

    // The item of one item text, owned by the caller, or null when the text is
    // not an item. Entry types and fields outside the catalogue are kept by
    // name; `unknownFields`, when given, counts fields whose name BibTeX
    // cannot read, which are dropped.
    static std::unique_ptr<CBibTexEntry>
    ParseItem(std::string_view fileName, std::string_view itemText, int* unknownFields = nullptr);
    // A @preamble or @comment text as a block of its file; false for any
    // other text.
    static bool ParseBlock(std::string_view itemText, CBibTexBlock& block);
    // The abbreviation and value text of one @string text; both are emptied
    // first. False when the text is not a string definition.
    static bool ParseString(std::string_view itemText, std::string& abbreviation,
                            std::string& value);
    // The BibTeX file name for a source path: the last path component ('/'
    // and '\' both separate) without its extension; "Default" for none.
    static std::string FileNameFromPath(std::string_view path);

    CBibTexMap& GetItems() { return m_items; }
    const CBibTexMap& GetItems() const { return m_items; }
    CBibTexStringTable& GetStrings() { return m_strings; }
    const CBibTexStringTable& GetStrings() const { return m_strings; }
    const std::vector<std::string>& GetErrors() const { return m_errors; }
    int GetErrorCount() const { return static_cast<int>(m_errors.size()); }
    std::int64_t GetLineNumber() const { return m_line; }
    int GetState() const { return m_state; }
    const std::string& GetSourcePath() const { return m_sourcePath; }
    const std::string& GetOpenError() const { return m_openError; }
    const CBibTexReaderStats& GetStats() const { return m_stats; }

private:
    // Feeds one text to the collector; true when it completed an item text,
    // which is then in m_complete.
    bool Collect(std::string_view text);
    void Dispatch(std::string_view itemText);
    void NoteUnfinishedItem();
    void SetPending(std::string_view text) {
        m_pending = text;
        m_pendingInBuffer = m_textInBuffer;
    }
    // Forms pending text + line (both trimmed) as the next text of a file.
    std::string_view JoinPendingAndLine(std::string_view line);

    // 64 bits: a file of several gigabytes must not overflow them.
    std::int64_t m_depth = 0;
    std::int64_t m_line = 0;
    std::vector<std::string> m_errors;
    CBibTexStringTable m_strings;
    CBibTexMap m_items;
    std::string m_sourcePath;
    int m_state = kExpectItem;

    std::string m_fileName; // BibTeX file name of the read items
    std::string m_openError;
    CBibTexReaderStats m_stats;
    std::int64_t m_itemLine = 0; // line where the item being collected started

    // The pending text is a view into the text being read or into
    // m_textBuffer, where a pending text and the next line are joined.
    std::string_view m_pending;
    bool m_pendingInBuffer = false;
    bool m_textInBuffer = false;
    std::string m_textBuffer;
    // An item text that spans several texts is gathered here; one that fits
    // in one text is taken as a view of it.
    std::string m_itemText;
    std::string_view m_complete;
};

// The import log's lines for one source read by `reader`:
// "File '<path>': <n> file, <s> strings, <e> errors." and one line
// "    - <message>" per error. A reader that could not open its file gives the
// summary line with 0, 0 and 0.
std::vector<std::string> FormatImportSummary(std::string_view path, const CBibTexReader& reader);
// "Import with <total> errors finished."
std::string FormatImportTotal(int totalErrors);
