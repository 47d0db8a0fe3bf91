// The fixed vocabulary of the BibTeX model: 16 entry types and 38 fields,
// each with a name and a description, and per entry type the ordered lists of
// its required and optional fields. Compiled in, read-only.
#pragma once

#include <span>
#include <string_view>

inline constexpr int kEntryTypeCount = 16;
inline constexpr int kFieldCount = 38;

// Field indices used by name elsewhere in the program.
enum FieldIndex : int {
    kFieldAbstract = 0,
    kFieldAddress = 1,
    kFieldAuthor = 4,
    kFieldBooktitle = 5,
    kFieldEditor = 11,
    kFieldJournal = 16,
    kFieldKey = 17,
    kFieldKeywords = 18,
    kFieldLccn = 20,
    kFieldMonth = 22,
    kFieldNote = 24,
    kFieldPages = 27,
    kFieldPrice = 28,
    kFieldPublisher = 29,
    kFieldTitle = 33,
    kFieldUrl = 35,
    kFieldYear = 37,
};

// Index of the entry type or field whose name equals `name` ignoring letter
// case (no trimming), or -1.
int FindEntryType(std::string_view name);
int FindField(std::string_view name);

// Table reads; callers pass valid indices.
std::string_view EntryTypeName(int type);
std::string_view EntryTypeDescription(int type);
std::string_view FieldName(int field);
std::string_view FieldDescription(int field);
std::span<const int> RequiredFields(int type);
std::span<const int> OptionalFields(int type);

// Whether `field` is required for `type`, or optional too when `withOptional`.
bool IsListedField(int type, int field, bool withOptional);
// IsListedField(type, field, true), but false for a type outside 0..15.
bool IsFieldUsed(int type, int field);
