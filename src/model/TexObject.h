// Base of the BibTeX value classes and owner of the rules for TeX value text:
// how a value is classified, stripped of its outer delimiters and formatted
// for storage.
#pragma once

#include <string>
#include <string_view>

class CArchive;
class CBibTexStringTable;

// Characters that make a text unusable as a string reference.
inline constexpr std::string_view kTexSpecialChars = "\"{}()\\/ ";
// Characters a citation key typed by the user may not hold (the acute accent
// is U+00B4).
inline constexpr std::string_view kForbiddenKeyChars = "\\/'><@,$%^*+?{}\xC2\xB4`;\"!\t#[]() ";
// The caption of the message that refuses a value whose braces do not balance.
inline constexpr const char* kUnbalancedBracesCaption = "Unbalanced braces";

// Characters a BibTeX file name or the strings file name may not hold.
inline constexpr std::string_view kForbiddenFileNameChars = "\\/'><@,$%^*+?{}\xC2\xB4`:;\"!\t#[]";

class CTexObject {
public:
    virtual ~CTexObject() = default;
    virtual void Serialize(CArchive& archive);

    static bool ContainsTexSpecial(std::string_view text);
    static bool IsNumber(std::string_view text);
    static bool IsDelimited(std::string_view text);
    static std::string StripDelimiters(std::string_view text);
    static std::string_view StripDelimitersView(std::string_view text);
    // Whether the outer delimiters of a delimited value enclose all of it as
    // one group: {IEEE} {INFOCOM} and "A" # "B" begin and end with
    // delimiters but are not one group, and stripping them breaks the text.
    static bool IsOneGroup(std::string_view text);
    // The value without its outer delimiters when they enclose one group;
    // otherwise the value unchanged. Used where a string's full string is
    // taken out of its delimiters to be stored or written again.
    static std::string_view StripOneGroup(std::string_view text);
    // Needs the open project's strings (SetActiveStringTable); answers false
    // when no project is open.
    static bool IsStringReference(std::string_view text);
    static bool IsConcatenation(std::string_view text);
    // One of the twelve month names BibTeX defines (lower case only).
    static bool IsMonthName(std::string_view text);
    static std::string FormatValue(std::string_view text);
    // Whether BibTeX finds the braces of `text` paired: every '}' closes a '{'
    // before it and every '{' is closed. BibTeX counts each brace, also one
    // behind a backslash. A value typed by the user must pass before it is
    // stored: an open brace would swallow the fields behind it.
    static bool HasBalancedBraces(std::string_view text);
    // The message that refuses a typed value of `field` (a field name, or
    // the string being edited) whose braces do not balance.
    static std::string UnbalancedBracesMessage(std::string_view field);

    // The string table of the open project, consulted by IsStringReference.
    // The project document registers its table for its lifetime; null means
    // no project is open. Returns the previous table.
    static const CBibTexStringTable* SetActiveStringTable(const CBibTexStringTable* table);
    static const CBibTexStringTable* ActiveStringTable();
};

// Registers a string table as the open project's for the scope's lifetime.
class CActiveStringTableScope {
public:
    explicit CActiveStringTableScope(const CBibTexStringTable* table)
        : m_previous(CTexObject::SetActiveStringTable(table)) {}
    ~CActiveStringTableScope() { CTexObject::SetActiveStringTable(m_previous); }
    CActiveStringTableScope(const CActiveStringTableScope&) = delete;
    CActiveStringTableScope& operator=(const CActiveStringTableScope&) = delete;

private:
    const CBibTexStringTable* m_previous;
};
