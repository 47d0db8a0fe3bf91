#include "model/TextUtil.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <vector>

namespace qvn {

namespace {

struct LowerRun {
    char32_t first;
    char32_t last;
    int delta;
    int stride;
};

constexpr LowerRun kLowerRuns[] = {
#include "model/UnicodeLowerTable.inc"
};

// Windows-1252 characters 0x80..0x9F; the undefined ones map to themselves.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Cp1252(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kCp1252High[byte - 0x80];
    }
    return byte;
}

} // namespace

Utf8Char DecodeChar(std::string_view text, std::size_t pos) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (b0 < 0x80) {
        return {b0, 1};
    }
    std::size_t len = 0;
    char32_t cp = 0;
    char32_t min = 0;
    if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return {Cp1252(b0), 1};
    }
    if (pos + len > text.size()) {
        return {Cp1252(b0), 1};
    }
    for (std::size_t i = 1; i < len; ++i) {
        const auto b = static_cast<unsigned char>(text[pos + i]);
        if ((b & 0xC0) != 0x80) {
            return {Cp1252(b0), 1};
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return {Cp1252(b0), 1};
    }
    return {cp, len};
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t ToLowerCodePoint(char32_t cp) {
    if (cp < 0x80) {
        return (cp >= 'A' && cp <= 'Z') ? cp + 32 : cp;
    }
    const auto it = std::upper_bound(std::begin(kLowerRuns), std::end(kLowerRuns), cp,
                                     [](char32_t c, const LowerRun& r) { return c < r.first; });
    if (it == std::begin(kLowerRuns)) {
        return cp;
    }
    const LowerRun& run = *std::prev(it);
    if (cp > run.last || (cp - run.first) % static_cast<char32_t>(run.stride) != 0) {
        return cp;
    }
    return static_cast<char32_t>(static_cast<int>(cp) + run.delta);
}

std::string ToLower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out += (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
            ++pos;
            continue;
        }
        const Utf8Char c = DecodeChar(text, pos);
        const bool valid = c.length > 1;
        const char32_t lower = valid ? ToLowerCodePoint(c.codePoint) : c.codePoint;
        if (valid && lower != c.codePoint) {
            AppendUtf8(out, lower);
        } else {
            out.append(text.substr(pos, c.length));
        }
        pos += c.length;
    }
    return out;
}

std::string ToLowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 32);
        }
    }
    return out;
}

int CompareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        char32_t la;
        char32_t lb;
        if (ca < 0x80 && cb < 0x80) {
            la = (ca >= 'A' && ca <= 'Z') ? ca + 32u : ca;
            lb = (cb >= 'A' && cb <= 'Z') ? cb + 32u : cb;
            ++i, ++j;
        } else {
            const Utf8Char da = DecodeChar(a, i);
            const Utf8Char db = DecodeChar(b, j);
            la = ToLowerCodePoint(da.codePoint);
            lb = ToLowerCodePoint(db.codePoint);
            i += da.length, j += db.length;
        }
        if (la != lb) {
            return la < lb ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return j < b.size() ? -1 : 0;
}

bool ContainsAnyOf(std::string_view text, std::string_view set) {
    std::vector<char32_t> chars;
    for (std::size_t pos = 0; pos < set.size();) {
        const Utf8Char c = DecodeChar(set, pos);
        chars.push_back(c.codePoint);
        pos += c.length;
    }
    for (std::size_t pos = 0; pos < text.size();) {
        const Utf8Char c = DecodeChar(text, pos);
        if (std::find(chars.begin(), chars.end(), c.codePoint) != chars.end()) {
            return true;
        }
        pos += c.length;
    }
    return false;
}

std::string_view TrimView(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsSpace(text[begin])) {
        ++begin;
    }
    while (end > begin && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (char c : text) {
        if (c == '\n') {
            out += '\r';
        }
        out += c;
    }
    return out;
}

std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<std::size_t>(size) + 1);
        std::vsnprintf(out.data(), out.size(), format, args);
        out.resize(static_cast<std::size_t>(size));
    }
    va_end(args);
    return out;
}

std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < args.size()) {
                out += *(args.begin() + n);
            }
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace qvn
