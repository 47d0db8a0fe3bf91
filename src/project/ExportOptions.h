// What the export dialogs hand to the document, what they show, and the
// texts of the export messages. The dialogs collect these values; the
// document writes the files.
#pragma once

#include <string>
#include <vector>

// The choices of the multi-export dialog when OK is pressed.
struct MultiExportOptions {
    std::string destination;
    // Row 0 is the strings file, then one row per BibTeX file in the order
    // of the project's files (GetMultiExportRows). Missing rows count as
    // unchecked.
    std::vector<bool> checkedRows;
    bool comments = false;
    bool mainFile = false;
};

// One row of the multi-export dialog's list.
struct MultiExportRow {
    std::string file;     // column "File": the name without extension
    std::string fileName; // column "Filename": the name written
    int items = 0;        // column "Items": items of the file, strings of row 0
    bool isStrings = false;
};

// What a multi-export wrote.
struct MultiExportCounts {
    int items = 0;
    int files = 0;
    int strings = 0;
};

// The choices of the single-export dialog when OK is pressed.
struct SingleExportOptions {
    std::string fileName;   // the BibTeX file of the project
    std::string targetPath; // where it is written
    bool comments = false;
    bool addUsedStrings = false;
};

// One string used by the items of a BibTeX file: the abbreviation and its
// full string without delimiters.
struct UsedString {
    std::string abbreviation;
    std::string value;

    bool operator==(const UsedString&) const = default;
};

// The node of the project explorer that "Save (BibTeX)" applies to.
enum class ExplorerSelection { Other, Strings, Files, File };

namespace exporttext {

inline constexpr const char* kSaveAllCaption = "Saving BibTeX files";
inline constexpr const char* kSaveAllSuccess =
    "BibTeX files successfully saved to location\n\n  '%s'.";
inline constexpr const char* kSaveAllFailure =
    "An error occured while saving the BibTeX files to location\n\n  '%s'.";
inline constexpr const char* kMultiCaption = "BibTeX files successfully saved!";
inline constexpr const char* kMultiSuccess =
    "Saved successfully %d BibTeX items (in %d BibTeX files) and %d string(s) to the "
    "destination path \n\n  '%s'.";
inline constexpr const char* kMultiFailureCaption = "Save BibTeX files...";
inline constexpr const char* kSingleCaption = "Export of BibTeX files";
inline constexpr const char* kSingleSuccess = "Export successfully finished.";
inline constexpr const char* kSettingsInvalidPath = "Project settings (invalid path)";
// A file that could not be written: its path and the cause.
inline constexpr const char* kWriteFailure = "Could not write the file\n\n  '%s'\n\n%s.";
inline constexpr const char* kNoFolder =
    "The destination folder\n\n  '%s'\n\ndoes not exist. Nothing was saved.";
// The cause given for a name the program writes no file under.
inline constexpr const char* kUnsafeNameCause =
    "The name is not a plain file name ending with \".bib\" (it has another extension, a path "
    "separator, a forbidden or control character, or is a device name)";
inline constexpr const char* kOverwritesStringsCause =
    "The BibTeX file would replace the strings file written by the same export";

} // namespace exporttext
