// Byte-string helpers shared by the core. Text is kept as UTF-8 bytes; bytes
// that are not valid UTF-8 are read as Windows-1252 characters, so nothing a
// user's file holds is ever dropped or rejected by these helpers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qvn {

// One decoded character: its code point and how many bytes it took.
struct Utf8Char {
    char32_t codePoint;
    std::size_t length;
};

// Decodes the character at `pos` (pos < text.size()).
Utf8Char DecodeChar(std::string_view text, std::size_t pos);
void AppendUtf8(std::string& out, char32_t codePoint);

// Unicode simple lower-casing of one code point and of a whole text. Invalid
// bytes are kept as they are.
char32_t ToLowerCodePoint(char32_t cp);
std::string ToLower(std::string_view text);
// ASCII-only lower-casing, for catalogue names and file extensions.
std::string ToLowerAscii(std::string_view text);

// Case-insensitive comparison character by character (Unicode simple
// lower-casing); < 0, 0 or > 0 like strcmp.
int CompareNoCase(std::string_view a, std::string_view b);
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    return CompareNoCase(a, b) == 0;
}

// True when `text` holds any character of `set` (both compared as characters,
// not bytes).
bool ContainsAnyOf(std::string_view text, std::string_view set);

// White space as the C locale's isspace: blank, tab, CR, LF, VT, FF.
inline bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
std::string_view TrimView(std::string_view text);
inline std::string Trim(std::string_view text) {
    return std::string(TrimView(text));
}

// Replaces every "\n" by "\r\n": the line ends of every text file we write.
std::string ToCrLf(std::string_view text);

// printf-style formatting into a std::string (for the fixed message texts).
std::string Format(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Substitutes %1, %2 ... in a message template.
std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> args);

} // namespace qvn
