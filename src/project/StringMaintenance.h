// Keeping the items' references to BibTeX strings consistent when strings
// are defined, renamed, changed or deleted, and replacing text in one field
// of all items: the operations, the string editor's outcome, the properties
// of a string in the property window and the message texts. The document
// owns one and offers its operations under the same names.
#pragma once

#include "platform/UserInterface.h"

#include <string>
#include <string_view>

class CBibTexMap;
class CBibTexString;
class CBibTexStringTable;
class CQVNDoc;

// The two text properties the property window shows for a BibTeX string.
enum class StringProperty { Abbreviation, FullString };

// What OK in the string editor came to.
enum class EditStringResult {
    Stored,              // the string was stored; the editor closes
    IllegalAbbreviation, // refused; the focus goes to the abbreviation
    Declined,            // an existing abbreviation was not overwritten; stays open
};

// True when `abbreviation` can stand bare as a string reference in a .bib
// file: not empty, none of the TeX special characters, none of the
// characters BibTeX ends a name at (# , = % ' and white space), and no
// leading digit (a number is a value of its own).
bool IsValidAbbreviation(std::string_view abbreviation);

class CStringMaintenance {
public:
    explicit CStringMaintenance(CQVNDoc& doc);
    CStringMaintenance(const CStringMaintenance&) = delete;
    CStringMaintenance& operator=(const CStringMaintenance&) = delete;

    // The text that replaces references to a string when it is deleted:
    // its value, stripped, through FormatValue ("{}" for an empty value).
    std::string ResolvedStringValue(std::string_view abbreviation) const;
    // Deletes one string, asking when it is in use: 0 stop (cancelled, or no
    // such string), 1 continue.
    int DeleteString(std::string_view abbreviation);
    // ID_DELETE_ALL_STRINGS; false when the user said No.
    bool OnDeleteAllStrings();
    // The property window's change of a string's abbreviation or full
    // string; true when accepted (the string then holds the new text).
    bool OnStringPropertyChanged(CBibTexString& string, StringProperty property,
                                 std::string_view newText);
    // Whether the string editor's OK button is enabled.
    static bool IsStringEditorComplete(std::string_view abbreviation, std::string_view fullString);
    // The string editor's OK.
    EditStringResult EditStringOk(std::string_view abbreviation, std::string_view fullString);
    // Whether the replace dialog's OK button is enabled (`field` is invalid
    // while no field is selected).
    static bool IsReplaceRequestComplete(const CFieldRef& field, std::string_view find,
                                         std::string_view replace);
    // Replace after the dialog's OK: marks modified, replaces, tells the
    // count, sends UpdateHint::Change. Returns the count (-1 for an invalid
    // field).
    int Replace(const ReplaceRequest& request);
    // ID_EDIT_REPLACE: the replace dialog.
    void OnReplace();

private:
    IUserInterface* Ui() const;
    MsgResult Message(const std::string& text, const std::string& caption, MsgIcon icon,
                      MsgButtons buttons = MsgButtons::Ok) const;

    CQVNDoc& m_doc;
    // The document's data, which lives as long as the document.
    CBibTexStringTable& m_strings;
    CBibTexMap& m_items;
};

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
inline constexpr const char* kReplaced =
    "In BibTex-field '%s' all %d occurences of '%s'\nhave been successfully replaced with '%s'.";

} // namespace stringtext
