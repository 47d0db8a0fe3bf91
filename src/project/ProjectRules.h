// The rules for the names a project gives to what it writes and to its
// items: one function per rule, used by the dialogs, the views, the document
// and the command-line tool, so that every front end accepts and refuses the
// same names.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CBibTexMap;
class CProjectSettings;

// A name under which the program may create a file in a folder: not empty,
// no folder part, not "." or "..", no character of the forbidden file name
// set and no control character (NUL included), and no device name that
// Windows reserves (CON, NUL, COM1 ..., with any extension), since project
// files travel between systems.
bool IsValidFileName(std::string_view name);

// A name under which a .bib file is written (the strings file, the single
// export's target): a valid file name of at least five characters whose
// last four are ".bib" in any letter case.
bool IsValidBibFileName(std::string_view name);
bool IsValidStringsFileName(std::string_view name);
// Said when a strings file name is refused; it lists the forbidden
// characters.
std::string InvalidStringsFileMessage();

// --- BibTeX files of a project (the explorer's new and renamed files, the
// new-item wizard's file).

// A BibTeX file name (kept without ".bib") under which its file can be
// written: not empty, and with ".bib" added a valid file name.
bool IsValidBibTexFileName(std::string_view name);
// What the dialogs accept as a BibTeX file name: empty (they say so on
// their own), or a valid one.
bool IsLegalBibTexFileName(std::string_view name);
// Whether a BibTeX file of that name would be written where the strings file
// goes: by the strings file name as stored, and with ".bib" added when it
// lacks it (the multi-export's name).
bool IsReservedBibTexFileName(const CProjectSettings& settings, std::string_view name);
// The first of "New File", "New File (1)", "New File (2)" ... that no file of
// `items` holds and `taken` (when given) does not claim.
std::string NewBibTexFileName(const CBibTexMap& items,
                              const std::function<bool(const std::string&)>& taken = {});

// A name that a project file carried and the program writes no file under,
// and the name that replaced it.
struct NameReplacement {
    bool stringsFile = false; // else a BibTeX file
    std::string oldName;
    std::string newName;

    bool operator==(const NameReplacement&) const = default;
};
// Gives the strings file and every BibTeX file a name the program writes
// under: a bad strings file name becomes "strings.bib" (numbered when a
// BibTeX file would be written under it); a bad BibTeX file name gets its
// bad characters replaced and is made unique. Returns what was replaced:
// the strings file first, then the files in collection order.
std::vector<NameReplacement> RepairFileNames(CProjectSettings& settings, CBibTexMap& items);
// The one message that tells which names were replaced.
std::string NameReplacementMessage(const std::vector<NameReplacement>& replacements);
// A name or path from a project file as a message shows it: control
// characters escaped, cut after `maxBytes`.
std::string DisplayName(std::string_view name, std::size_t maxBytes = 80);

// What renaming a BibTeX file came to.
enum class RenameFileResult {
    Renamed,
    Illegal, // a forbidden character
    InUse,   // another file of the project, or the strings file, has the name
    Failed,  // the collection refused it (an empty name)
};
// The message for a refused rename of `oldName` to `newName`.
std::string RenameFileProblemText(RenameFileResult result, std::string_view oldName,
                                  std::string_view newName);

// --- Citation keys that a user gives an item (the new-item wizard, the
// property window).

enum class KeyProblem {
    None,
    Illegal,   // a character BibTeX cannot read back in a key
    Duplicate, // another item holds the key
    Empty,
};
struct KeyCheck {
    KeyProblem problem = KeyProblem::None;
    std::string holderFile; // the file of the item that holds a duplicate key
};
// The first problem of `key`, in this order: illegal characters, held by an
// item of `items`, empty.
KeyCheck CheckItemKey(const CBibTexMap& items, std::string_view key);
// Said when a key holds a forbidden character; it lists them.
std::string IllegalKeyMessage();

namespace ruletext {

inline constexpr const char* kRenameFileCaption = "Rename BibTeX file";
inline constexpr const char* kIllegalKeyCaption = "Illegal name";
inline constexpr const char* kNoKey = "Define a name for this BibTex item.";
inline constexpr const char* kNoKeyCaption = "No name specified";
// The property window's word for a key another item holds (key, file).
inline constexpr const char* kKeyInUse =
    "There is already a BibTeX item with the key\n'%s' in the database. It's located in file: "
    "\n'%s'.";
// The new-item wizard's (key, file).
inline constexpr const char* kDuplicateEntry =
    "There is already an entry with name '%s'\ndefined in file '%s'. Please select another name.";
inline constexpr const char* kDuplicateEntryCaption = "Duplicate name";

} // namespace ruletext
