// Turns the text of one .bib file, or .bib text held in memory, into BibTeX
// items and strings. The reader follows BibTeX's own grammar (entries in
// braces or parentheses, values joined with '#', @comment, @preamble), fills
// a map and a string table of its own, lists its syntax errors for the import
// log and counts what it leaves out; it never touches the project. One reader
// is used for one source.
#pragma once

#include "model/BibTexEntry.h"
#include "model/BibTexMap.h"
#include "model/BibTexStringTable.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the reader read without error but did not keep. The import log names
// it, by name and count, under the file's summary line.
namespace qvn {
class CReadFile;
}

struct CBibTexReaderStats {
    // Name and count, in the order the names first appeared.
    using Tally = std::vector<std::pair<std::string, int>>;
    // Entries whose type name BibTeX cannot read either (lower case).
    Tally leftOutTypes;
    // Values of fields whose name BibTeX cannot read either, in the items
    // that were kept (lower case).
    Tally leftOutFields;
    // Items whose key no letter a to z made unique (their keys).
    Tally unaddedKeys;

    static int Total(const Tally& tally);
};

class CBibTexReader {
public:
    // Where reading stood at the end: between entries, inside an entry that
    // was never closed, or skipping text that is not an entry.
    static constexpr int kExpectItem = 0;
    static constexpr int kInItem = 1;
    static constexpr int kSkipping = 6;

    // `sourcePath` is the file to read, or for in-memory text the name of the
    // BibTeX file that receives the items (may be empty).
    explicit CBibTexReader(std::string sourcePath = {});
    CBibTexReader(const CBibTexReader&) = delete;
    CBibTexReader& operator=(const CBibTexReader&) = delete;

    // Reads the source file: 1, or -1 (nothing read) when it cannot be opened
    // or read; GetOpenError() then tells why. The file is read in pieces, so
    // that memory holds one piece and not the whole file.
    int ReadFile();
    // Reads bytes as the content of a file; LF, CR LF and a lone CR end lines
    // (for the line numbers of errors); a UTF-8 byte-order mark at the start
    // is skipped. Returns 1.
    int ReadFileContent(std::string_view content);
    // Reads in-memory text (errors name line 0). An empty text reads the
    // source file instead. Returns 1, or -1 as ReadFile.
    int ReadText(std::string_view text);

    // The item of the first entry of `itemText`, owned by the caller; null
    // when that entry is not a complete item. Entry types and fields outside
    // the catalogue are kept by name; `unknownFields`, when given, counts
    // the values of fields whose name BibTeX cannot read, which are dropped.
    static std::unique_ptr<CBibTexEntry>
    ParseItem(std::string_view fileName, std::string_view itemText, int* unknownFields = nullptr);
    // The first entry of `itemText` when it is a complete @preamble or
    // @comment, as a block of its file.
    static bool ParseBlock(std::string_view itemText, CBibTexBlock& block);
    // The abbreviation and value text of the first entry of `itemText` when
    // it is a complete @string; both are emptied first.
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
    // The number of lines read (0 for in-memory text).
    std::int64_t GetLineNumber() const { return m_line; }
    int GetState() const { return m_state; }
    const std::string& GetSourcePath() const { return m_sourcePath; }
    const std::string& GetOpenError() const { return m_openError; }
    const CBibTexReaderStats& GetStats() const { return m_stats; }

    // Asked now and then while reading, with the bytes read of all; reading
    // stops when it answers false, and WasCancelled() then says so (what
    // was read so far is of no use).
    void SetProgress(std::function<bool(std::size_t done, std::size_t total)> progress) {
        m_progress = std::move(progress);
    }
    bool WasCancelled() const { return m_cancelled; }

    // The bytes ReadFile reads at a time; tests and benchmarks make it small.
    static constexpr std::size_t kPieceSize = std::size_t{16} << 20;
    void SetPieceSize(std::size_t bytes) { m_pieceSize = bytes > 0 ? bytes : 1; }

private:
    class CScanner;
    struct Entry;
    struct ItemScratch;

    void Read(std::string_view text, bool inMemory);
    void BeginRead(bool inMemory);
    // Reads `text`, the part of the source behind what was read before; a
    // text that is not the last ends right before a line that begins an
    // entry. False when reading was cancelled.
    bool ReadPiece(std::string_view text, bool last);
    void ReadPieces(qvn::CReadFile& file);
    // Where `pos` of the piece being read stands in the whole text.
    std::size_t Done(std::size_t pos) const { return m_pieceStart + pos; }
    // Reads the entry whose '@' stands at `at`; returns where reading goes on.
    std::size_t ReadEntry(CScanner& scanner, Entry& entry, std::size_t at);
    void StoreEntry(const Entry& entry);
    void StoreItem(const Entry& entry);
    static CBibTexBlock MakeBlock(const Entry& entry, std::string_view text);
    template <typename Fields, typename KeepOther>
    static std::unique_ptr<CBibTexEntry> MakeItem(std::string_view fileName, std::string_view key,
                                                  std::string_view typeName, const Fields& fields,
                                                  ItemScratch& scratch, KeepOther&& keepOther);
    void StoreStrings(const Entry& entry);
    // An entry whose type name BibTeX cannot read is counted; a field the
    // catalogue lacks is kept when BibTeX can read its name, else counted.
    void OnOtherEntry(std::string_view type);
    bool OnOtherField(std::string_view name);
    void AddError(CScanner& scanner, std::size_t pos, std::string_view what,
                  std::string_view detail = {});

    std::int64_t m_line = 0;
    std::vector<std::string> m_errors;
    CBibTexStringTable m_strings;
    CBibTexMap m_items;
    std::string m_sourcePath;
    int m_state = kExpectItem;

    std::string m_fileName; // BibTeX file name of the read items
    std::string m_openError;
    CBibTexReaderStats m_stats;
    bool m_inMemory = false;
    std::string m_scratch; // a string value whose line breaks are being replaced
    std::shared_ptr<ItemScratch> m_itemScratch; // an item's values being gathered
    std::string_view m_text;                    // the text being read
    std::function<bool(std::size_t, std::size_t)> m_progress;
    bool m_cancelled = false;
    std::size_t m_pieceSize = kPieceSize;
    // Of the text before the piece being read: its bytes and line ends.
    std::size_t m_pieceStart = 0;
    std::int64_t m_linesBefore = 0;
    std::size_t m_nextProgress = 0;
    std::size_t m_total = 0; // the bytes of all, for the progress
};

// The import log's lines for one source read by `reader`:
// "File '<path>': <n> file, <s> strings, <e> errors.", one line
// "    - <message>" per error, then one "    - Left out ..." line for each
// kind of thing the reader left out. A reader that could not open its file
// gives the summary line with 0, 0 and 0.
std::vector<std::string> FormatImportSummary(std::string_view path, const CBibTexReader& reader);
// The "    - Left out ..." lines alone.
std::vector<std::string> FormatLeftOut(const CBibTexReaderStats& stats);
// "Import with <total> errors finished."
std::string FormatImportTotal(int totalErrors);
