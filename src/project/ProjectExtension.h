// The project file's extension block: what a .bib file holds beyond the
// catalogue (fields and entry types outside it, @preamble and @comment texts)
// stored after the reserved value, where a reader of the plain layout ignores
// it. A project that holds nothing beyond the catalogue is written without
// the block, byte for byte in the plain layout.
//
// Layout: the 8 bytes "QVNEXTRA", a 32-bit version, the 64-bit byte length
// of the records, then (version 1) a count of file records, each: the file
// name; a count of blocks, each a 32-bit kind (0 preamble, 1 comment) and
// its text; a count of item records, each the key, the name of an entry type
// outside the catalogue (empty for a catalogue type) and a count of other
// fields, each name and value text. Items of another type stand in the plain
// layout as "misc".
#pragma once

#include <string_view>

class CArchive;
class CBibTexMap;

class CProjectExtension {
public:
    static constexpr std::string_view kTag = "QVNEXTRA";
    static constexpr int kVersion = 1;

    enum class ReadResult {
        None,  // no block: the project holds nothing beyond the catalogue
        Read,  // the block was read into the items
        Newer, // a block of a later version: skipped, the project opens without it
    };

    // Whether the items hold anything the block must carry.
    static bool IsNeeded(const CBibTexMap& items);
    // Appends the block to a storing archive when it is needed.
    static void Write(CArchive& archive, const CBibTexMap& items);
    // Reads the bytes that follow the reserved value into the items read
    // from the plain layout. A truncated or inconsistent block throws an
    // end-of-data CArchiveError ("Unexpected file format.").
    static ReadResult Read(std::string_view rest, CBibTexMap& items);
};
