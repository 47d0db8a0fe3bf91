// Types and texts of the string maintenance: the string editor's outcome,
// the properties of a string in the property window and the message texts
// the document shows.
#pragma once

#include <string_view>

// The two text properties the property window shows for a BibTeX string.
enum class StringProperty { Abbreviation, FullString };

// What OK in the string editor came to.
enum class EditStringResult {
    Stored,              // the string was stored; the editor closes
    IllegalAbbreviation, // refused; the focus goes to the abbreviation
    Declined,            // an existing abbreviation was not overwritten; stays open
    UnbalancedValue,     // refused; the focus goes to the full string
};

// True when `abbreviation` can stand bare as a string reference in a .bib
// file: not empty, none of the TeX special characters, none of the
// characters BibTeX ends a name at (# , = % ' and white space), and no
// leading digit (a number is a value of its own).
bool IsValidAbbreviation(std::string_view abbreviation);

namespace stringtext {

inline constexpr const char* kInUseCaption = "String is in use...";
inline constexpr const char* kInUse =
    "The string '%s' is still in use by one or more.\nBibTeX items. Do you still want to delete "
    "this string?\n\nPress [Yes] to delete the string and to replace all\nits occurences by it's "
    "value or [No] to keep this string.\n";
inline constexpr const char* kDeleteAllCaption = "Delete all BibTeX strings";
inline constexpr const char* kDeleteAll =
    "Do you really want to delete all BibTeX strings\nand replace the corresponding occurrences "
    "in the \nBibTeX items by their value?";
inline constexpr const char* kDuplicateKey =
    "There is already an abbreviation with the key\n'%s' in the database. It's value is: \n'%s'.";
inline constexpr const char* kRenameInUse =
    "This abbreviation is used by one or more \nBibTeX items. Do you want all occurences \nof "
    "string '%s' be replaced by '%s'?";
inline constexpr const char* kIllegalCaption = "Illegal abbreviation name";
inline constexpr const char* kIllegal = "Invalid string format (use of illegal characters).";
inline constexpr const char* kDuplicateCaption = "Duplicate name";
inline constexpr const char* kDuplicate =
    "There is already an abbreviation '%s' in the list\nof strings. It's value is \n  "
    "'%s'.\n\nDo you want to overwrite it?";
inline constexpr const char* kReplaceCaption = "Replace";
inline constexpr const char* kReplaceUnbalanced =
    "Nothing was replaced: replacing '%s' with '%s' would leave\nthe braces of BibTex-field "
    "'%s' unbalanced in %d item(s),\nthe first of them '%s'.";
inline constexpr const char* kReplaced =
    "In BibTex-field '%s' all %d occurences of '%s'\nhave been successfully replaced with '%s'.";

} // namespace stringtext
