#include "model/Catalogue.h"

#include "model/TextUtil.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

constexpr std::array<std::string_view, kEntryTypeCount> kTypeNames = {
    "article",      "book",          "booklet",    "collection",    "conference", "inbook",
    "incollection", "inproceedings", "manual",     "mastersthesis", "misc",       "patent",
    "phdthesis",    "proceedings",   "techreport", "unpublished"};

constexpr std::array<std::string_view, kEntryTypeCount> kTypeDescriptions = {
    "An article from a journal or magazine.",
    "A book with an explicit publisher. ",
    "A work that is printed and bound, but without a named publisher or sponsoring "
    "institution. ",
    "A collection of works. Same as Proceedings.",
    "The same as Inproceedings.",
    "A part of a book, which may be a chapter and/or a range of pages. ",
    "A part of a book with its own title.",
    "An article in a conference proceedings.  ",
    "Technical documentation. ",
    "A Master's thesis. ",
    "Use this type when nothing else fits. ",
    "A patent.",
    "A Ph.D. thesis. ",
    "The proceedings of a conference. ",
    "A report published by a school or other institution, usually numbered within a series. ",
    "A document with an author and title, but not formally published. "};

constexpr std::array<std::string_view, kFieldCount> kFieldNames = {
    "abstract", "address",   "affiliation", "annote",  "author",   "booktitle",    "chapter",
    "contents", "copyright", "crossref",    "edition", "editor",   "howpublished", "institution",
    "isbn",     "issn",      "journal",     "key",     "keywords", "language",     "lccn",
    "location", "month",     "mrnumber",    "note",    "number",   "organization", "pages",
    "price",    "publisher", "school",      "series",  "size",     "title",        "type",
    "url",      "volume",    "year"};

constexpr std::array<std::string_view, kFieldCount> kFieldDescriptions = {
    "An abstract of the work.",
    "Publisher's address. For major publishing houses, just the city is given. For small "
    "publishers, you can help the reader by giving the complete address.",
    "The author's affiliation.",
    "An annotation. It is not used by he standard bibliography styles, but may be used by "
    "others that produce an annotated bibliography.",
    "The name(s) of the author(s).",
    "Title of a book, part of which is being cited. For book entries, use the title field "
    "instead.",
    "A chapter (or section) number.",
    "A Table of Contents.",
    "Copyright information.",
    "The database key of the entry being cross-referenced.",
    "The edition of a book - for example \"Second\". Notice that it is in capitals.",
    "Name(s) of editor(s). If there is also an author field, then the editor field gives the "
    "editor of the book or collection in which the reference appears.",
    "How something strange has been published. The first word should be capitalized.",
    "The sponsoring institution of a technical report.",
    "The International Standard Book Number.",
    "The International Standard Serial Number. Used to identify a journal.",
    "A journal name. Abbreviations are provided for many journals.",
    "Used for alphabetizing and creating a label when the author and editor fields are "
    "missing. This field should not be confused with the key that appears at the beginning "
    "of the reference.",
    "Key words used for searching or possibly for annotation.",
    "The language the document is written in.",
    "The Library of Congress Call Number.",
    "A location associated with the entry, such as the city in which a conference took "
    "place.",
    "The month in which the work was published or, for an unpublished work, in which it was "
    "written.",
    "The Mathematical Reviews number.",
    "Any additional information that can help the reader. First word should be capitalized.",
    "The number of a journal, magazine, technical report, or of a work in a series. An issue "
    "of a journal or magazine is usually identified by its volume and number; the "
    "organization that issues a technical report usually gives it a number; and sometimes "
    "books are given numbers in a named series.",
    "The organization that sponsors a conference or publishes a manual.",
    "One or more page numbers or ranges of number, such as 37--42, or 7,53,82--94.",
    "The price of the material.",
    "The publisher's name.",
    "The name of the school where a thesis was written.",
    "Then name given a series or set of books. When citing an entire book, the title field "
    "gives its title and the optional series field gives the name of a series in which the "
    "book was published.",
    "The physical dimensions of the work.",
    "The work's title.",
    "The type of technical report - for example, \"Research Note\".",
    "The WWW Universal Resource Locator that points to the item being referenced. Often used "
    "for technical reports to point to the FTP site where it resides.",
    "The volume of a journal or multivolume book.",
    "The year of publication or, for an unpublished work, the year it was written. It should "
    "only consist of numerals, such as 1976."};

// Field indices by name, for the requirement table below.
enum : int {
    abstract_,
    address,
    affiliation,
    annote,
    author,
    booktitle,
    chapter,
    contents,
    copyright,
    crossref,
    edition,
    editor,
    howpublished,
    institution,
    isbn,
    issn,
    journal,
    key,
    keywords,
    language,
    lccn,
    location,
    month,
    mrnumber,
    note,
    number,
    organization,
    pages,
    price,
    publisher,
    school,
    series,
    size,
    title,
    type,
    url,
    volume,
    year
};

struct FieldList {
    std::array<int, 8> fields;
    std::size_t count;
};

template <typename... F> constexpr FieldList List(F... f) {
    return FieldList{{static_cast<int>(f)...}, sizeof...(F)};
}

struct Requirement {
    FieldList required;
    FieldList optional;
};

constexpr std::array<Requirement, kEntryTypeCount> kRequirements = {{
    // article
    {List(author, journal, title, year), List(volume, number, pages, month, note, key)},
    // book
    {List(author, editor, title, publisher, year),
     List(volume, series, address, edition, month, note, key)},
    // booklet
    {List(title), List(author, howpublished, address, month, year, note, key)},
    // collection
    {List(title, year), List(editor, publisher, organization, address, month, note, key)},
    // conference
    {List(author, title, booktitle, year),
     List(editor, pages, organization, publisher, address, month, note, key)},
    // inbook
    {List(author, editor, title, chapter, pages, publisher, year),
     List(volume, series, address, edition, month, note, key)},
    // incollection
    {List(author, title, booktitle, year),
     List(editor, pages, organization, publisher, address, month, note, key)},
    // inproceedings
    {List(author, title, booktitle, year),
     List(editor, pages, organization, publisher, address, month, note, key)},
    // manual
    {List(title), List(author, organization, address, edition, month, year, note)},
    // mastersthesis
    {List(author, title, school, year), List(address, month, note, key)},
    // misc
    {List(), List(author, title, howpublished, month, year, note, key)},
    // patent
    {List(), List()},
    // phdthesis
    {List(author, title, school, year), List(address, month, note, key)},
    // proceedings
    {List(title, year), List(editor, publisher, organization, address, month, note, key)},
    // techreport
    {List(author, title, institution, year), List(type, number, address, month, note, key)},
    // unpublished
    {List(author, title, note), List(month, year, key)},
}};

std::span<const int> AsSpan(const FieldList& list) {
    return {list.fields.data(), list.count};
}

template <std::size_t N>
int FindName(const std::array<std::string_view, N>& names, std::string_view name) {
    for (std::size_t i = 0; i < N; ++i) {
        if (qvn::EqualsNoCase(names[i], name)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace

int FindEntryType(std::string_view name) {
    return FindName(kTypeNames, name);
}

int FindField(std::string_view name) {
    return FindName(kFieldNames, name);
}

std::string_view EntryTypeName(int type) {
    return kTypeNames.at(static_cast<std::size_t>(type));
}

std::string_view EntryTypeDescription(int type) {
    return kTypeDescriptions.at(static_cast<std::size_t>(type));
}

std::string_view FieldName(int field) {
    return kFieldNames.at(static_cast<std::size_t>(field));
}

std::string_view FieldDescription(int field) {
    return kFieldDescriptions.at(static_cast<std::size_t>(field));
}

std::span<const int> RequiredFields(int type) {
    return AsSpan(kRequirements.at(static_cast<std::size_t>(type)).required);
}

std::span<const int> OptionalFields(int type) {
    return AsSpan(kRequirements.at(static_cast<std::size_t>(type)).optional);
}

bool IsListedField(int type, int field, bool withOptional) {
    const auto contains = [field](std::span<const int> list) {
        return std::find(list.begin(), list.end(), field) != list.end();
    };
    return contains(RequiredFields(type)) || (withOptional && contains(OptionalFields(type)));
}

bool IsFieldUsed(int type, int field) {
    if (type < 0 || type >= kEntryTypeCount) {
        return false;
    }
    return IsListedField(type, field, true);
}
