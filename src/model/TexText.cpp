#include "model/TexText.h"

#include "model/TextUtil.h"

#include <array>
#include <cstdint>
#include <vector>

namespace qvn {

namespace {

// An accent command, the combining mark it puts on a letter, the sign it
// shows without a letter (\^{}), and the letters that have a character of
// their own with it.
struct Accent {
    std::string_view command;
    char32_t combining;
    char32_t spacing;
    std::string_view bases;
    std::u32string_view composed;
};

constexpr Accent kAccents[] = {
    {"`", 0x300, U'`', "AEIOUaeiouNnWwYy", U"ÀÈÌÒÙàèìòùǸǹẀẁỲỳ"},
    {"'", 0x301, U'\'', "AEIOUYaeiouyCcNnSsZzLlRrGgKkMmPpWw",
     U"ÁÉÍÓÚÝáéíóúýĆćŃńŚśŹźĹĺŔŕǴǵḰḱḾḿṔṕẂẃ"},
    {"^", 0x302, U'^', "AEIOUaeiouCcGgHhJjSsWwYyZz", U"ÂÊÎÔÛâêîôûĈĉĜĝĤĥĴĵŜŝŴŵŶŷẐẑ"},
    {"\"", 0x308, U'¨', "AEIOUYaeiouyHhWwXxt", U"ÄËÏÖÜŸäëïöüÿḦḧẄẅẌẍẗ"},
    {"~", 0x303, U'~', "ANOanoIiUuEeYy", U"ÃÑÕãñõĨĩŨũẼẽỸỹ"},
    {"=", 0x304, U'¯', "AEIOUaeiouYyGg", U"ĀĒĪŌŪāēīōūȲȳḠḡ"},
    {".", 0x307, U'˙', "CEGIZcegzAaOo", U"ĊĖĠİŻċėġżȦȧȮȯ"},
    {"u", 0x306, U'˘', "AEGIOUaegiou", U"ĂĔĞĬŎŬăĕğĭŏŭ"},
    {"v", 0x30C, U'ˇ', "CDENRSTZcdenrstzAaIiOoUuGgKkjLlHh", U"ČĎĚŇŘŠŤŽčďěňřšťžǍǎǏǐǑǒǓǔǦǧǨǩǰĽľȞȟ"},
    {"H", 0x30B, U'˝', "OUou", U"ŐŰőű"},
    {"c", 0x327, U'¸', "CSTcstGKLNRgklnrEe", U"ÇŞŢçşţĢĶĻŅŖģķļņŗȨȩ"},
    {"k", 0x328, U'˛', "AEIUaeiuOo", U"ĄĘĮŲąęįųǪǫ"},
    {"r", 0x30A, U'˚', "AUau", U"ÅŮåů"},
    {"d", 0x323, 0, "AaEeIiOoUuYy", U"ẠạẸẹỊịỌọỤụỴỵ"},
    {"b", 0x331, 0, "", U""},
    {"t", 0x361, 0, "", U""},
};

constexpr bool AccentTablesAgree() {
    for (const Accent& accent : kAccents) {
        if (accent.bases.size() != accent.composed.size()) {
            return false;
        }
    }
    return true;
}
static_assert(AccentTablesAgree(), "each accented letter needs its base letter");

// Commands without an argument that stand for one character, and what a
// search takes that character for.
struct Letter {
    std::string_view command;
    std::string_view text;
    std::string_view folded; // empty: the character folds to itself
};

constexpr Letter kLetters[] = {
    {"ss", "ß", "ss"},
    {"SS", "SS", ""},
    {"o", "ø", "o"},
    {"O", "Ø", "o"},
    {"aa", "å", ""},
    {"AA", "Å", ""},
    {"ae", "æ", "ae"},
    {"AE", "Æ", "ae"},
    {"oe", "œ", "oe"},
    {"OE", "Œ", "oe"},
    {"l", "ł", "l"},
    {"L", "Ł", "l"},
    {"i", "ı", "i"},
    {"j", "ȷ", "j"},
    {"dh", "ð", "d"},
    {"DH", "Ð", "d"},
    {"th", "þ", "th"},
    {"TH", "Þ", "th"},
    {"ng", "ŋ", "n"},
    {"NG", "Ŋ", "n"},
    {"dj", "đ", "d"},
    {"DJ", "Đ", "d"},
    {"S", "§", ""},
    {"P", "¶", ""},
    {"dag", "†", ""},
    {"ddag", "‡", ""},
    {"copyright", "©", ""},
    {"pounds", "£", ""},
    {"textendash", "–", ""},
    {"textemdash", "—", ""},
    {"ldots", "…", ""},
    {"dots", "…", ""},
    {"textbackslash", "\\", ""},
    {"textasciitilde", "~", ""},
    {"textasciicircum", "^", ""},
    {"textunderscore", "_", ""},
    {"textbar", "|", ""},
    {"textless", "<", ""},
    {"textgreater", ">", ""},
    {"textquoteleft", "‘", ""},
    {"textquoteright", "’", ""},
    {"textquotedblleft", "“", ""},
    {"textquotedblright", "”", ""},
    {"textregistered", "®", ""},
    {"texttrademark", "™", ""},
    {"textdegree", "°", ""},
    {"textsection", "§", ""},
    {"textparagraph", "¶", ""},
    {"guillemotleft", "«", ""},
    {"guillemotright", "»", ""},
    {"euro", "€", ""},
};

// Control symbols: a backslash and one sign.
struct Symbol {
    char sign;
    std::string_view text;
};

constexpr Symbol kSymbols[] = {
    {'&', "&"}, {'%', "%"}, {'$', "$"}, {'_', "_"}, {'#', "#"}, {'{', "{"},
    {'}', "}"}, {' ', " "}, {',', " "}, {'-', ""},  {'/', ""},  {'@', ""},
};

// Deeper accent arguments than this are left as written: a hostile value
// must not run the converter out of stack.
constexpr int kMaxDepth = 32;

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

const Accent* FindAccent(std::string_view command) {
    for (const Accent& accent : kAccents) {
        if (accent.command == command) {
            return &accent;
        }
    }
    return nullptr;
}

const Letter* FindLetter(std::string_view command) {
    for (const Letter& letter : kLetters) {
        if (letter.command == command) {
            return &letter;
        }
    }
    return nullptr;
}

const Symbol* FindSymbol(char sign) {
    for (const Symbol& symbol : kSymbols) {
        if (symbol.sign == sign) {
            return &symbol;
        }
    }
    return nullptr;
}

// `base` (its first character) with the accent, then the rest of it.
void AppendAccented(std::string& out, const Accent& accent, std::string_view base) {
    if (base.empty()) {
        if (accent.spacing != 0) {
            AppendUtf8(out, accent.spacing);
        }
        return;
    }
    const Utf8Char first = DecodeChar(base, 0);
    char32_t letter = first.codePoint;
    // The dotless letters take the accent in place of the dot.
    if (letter == 0x131) {
        letter = U'i';
    } else if (letter == 0x237) {
        letter = U'j';
    }
    const std::size_t at =
        letter < 0x80 ? accent.bases.find(static_cast<char>(letter)) : std::string_view::npos;
    if (at != std::string_view::npos) {
        AppendUtf8(out, accent.composed[at]);
    } else {
        // The letter's own bytes: one that is not UTF-8 stays as it came.
        if (letter != first.codePoint) {
            AppendUtf8(out, letter);
        } else {
            out.append(base.substr(0, first.length));
        }
        AppendUtf8(out, accent.combining);
    }
    out.append(base.substr(first.length));
}

class CTexConverter {
public:
    explicit CTexConverter(std::string_view tex) : m_in(tex) {
        // Each brace's partner, found once: a brace behind a backslash is a
        // sign, not a group.
        if (tex.find('\\') == std::string_view::npos) {
            return;
        }
        m_match.assign(tex.size(), kNone);
        std::vector<std::size_t> open;
        for (std::size_t i = 0; i < tex.size(); ++i) {
            if (tex[i] == '\\') {
                ++i;
            } else if (tex[i] == '{') {
                open.push_back(i);
            } else if (tex[i] == '}' && !open.empty()) {
                m_match[open.back()] = i;
                open.pop_back();
            }
        }
    }

    void Convert(std::size_t begin, std::size_t end, int depth, std::string& out) const {
        std::vector<bool> kept; // per open brace: shown, as it belongs to an unknown command
        bool keepGroup = false;
        std::size_t i = begin;
        while (i < end) {
            const char c = m_in[i];
            if (c == '\\') {
                i = Command(i, end, depth, out, keepGroup);
                continue;
            }
            if (c == '{') {
                kept.push_back(keepGroup);
                if (keepGroup) {
                    out += '{';
                }
                keepGroup = false;
                ++i;
                continue;
            }
            if (c == '}') {
                if (kept.empty()) {
                    out += '}'; // a brace that closes nothing stays as written
                } else {
                    const bool shown = kept.back();
                    kept.pop_back();
                    if (shown) {
                        out += '}';
                        // The next argument of the same command.
                        keepGroup = i + 1 < end && m_in[i + 1] == '{';
                    }
                }
                ++i;
                continue;
            }
            keepGroup = false;
            if (c == '$') {
                i = Math(i, end, out);
            } else if (c == '-' && i + 1 < end && m_in[i + 1] == '-') {
                if (i + 2 < end && m_in[i + 2] == '-') {
                    out += "—";
                    i += 3;
                } else {
                    out += "–";
                    i += 2;
                }
            } else if (c == '~') {
                out += "\u00A0";
                ++i;
            } else {
                out += c;
                ++i;
            }
        }
    }

private:
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

    // Math is copied as written up to its closing dollar (or the end).
    std::size_t Math(std::size_t i, std::size_t end, std::string& out) const {
        const bool display = i + 1 < end && m_in[i + 1] == '$';
        std::size_t j = i + (display ? 2 : 1);
        while (j < end) {
            if (m_in[j] == '\\') {
                j += 2;
                continue;
            }
            if (m_in[j] == '$') {
                j += (display && j + 1 < end && m_in[j + 1] == '$') ? 2 : 1;
                break;
            }
            ++j;
        }
        j = std::min(j, end);
        out.append(m_in.substr(i, j - i));
        return j;
    }

    std::size_t SkipBlanks(std::size_t i, std::size_t end) const {
        while (i < end && IsBlank(m_in[i])) {
            ++i;
        }
        return i;
    }

    // The command at `i` (a backslash); returns where the text goes on.
    std::size_t Command(std::size_t i, std::size_t end, int depth, std::string& out,
                        bool& keepGroup) const {
        if (i + 1 >= end) {
            out += '\\';
            return end;
        }
        const char next = m_in[i + 1];
        if (IsAsciiLetter(next)) {
            std::size_t j = i + 1;
            while (j < end && IsAsciiLetter(m_in[j])) {
                ++j;
            }
            const std::string_view name = m_in.substr(i + 1, j - i - 1);
            if (const Accent* accent = FindAccent(name)) {
                const std::size_t after =
                    AccentArgument(*accent, SkipBlanks(j, end), end, depth, out);
                if (after != kNone) {
                    return after;
                }
            } else if (const Letter* letter = FindLetter(name)) {
                out += letter->text;
                return SkipBlanks(j, end);
            }
            // Unknown: the command and the braces of its arguments stay.
            out.append(m_in.substr(i, j - i));
            keepGroup = j < end && m_in[j] == '{';
            return j;
        }
        if (const Accent* accent = FindAccent(m_in.substr(i + 1, 1))) {
            const std::size_t after =
                AccentArgument(*accent, SkipBlanks(i + 2, end), end, depth, out);
            if (after != kNone) {
                return after;
            }
        } else if (const Symbol* symbol = FindSymbol(next)) {
            out += symbol->text;
            return i + 2;
        }
        // Unknown control symbol (\\ among them): as written, both bytes when
        // the second is ASCII.
        const auto second = static_cast<unsigned char>(next);
        out.append(m_in.substr(i, second < 0x80 ? 2 : 1));
        return i + (second < 0x80 ? 2 : 1);
    }

    // Converts the accent's argument at `j` and appends the accented text;
    // kNone (nothing appended) when there is no argument to take.
    std::size_t AccentArgument(const Accent& accent, std::size_t j, std::size_t end, int depth,
                               std::string& out) const {
        if (j >= end || depth >= kMaxDepth) {
            return kNone;
        }
        std::size_t argBegin = j;
        std::size_t argEnd = j;
        std::size_t after = j;
        const char c = m_in[j];
        if (c == '{') {
            const std::size_t close = m_match.empty() ? kNone : m_match[j];
            if (close == kNone || close >= end) {
                return kNone;
            }
            argBegin = j + 1;
            argEnd = close;
            after = close + 1;
        } else if (c == '\\') {
            std::size_t k = j + 1;
            while (k < end && IsAsciiLetter(m_in[k])) {
                ++k;
            }
            if (k == j + 1 && k < end) {
                ++k; // a control symbol
            }
            argEnd = after = k;
        } else if (c == '}' || c == '$') {
            return kNone;
        } else {
            argEnd = after = std::min(end, j + DecodeChar(m_in, j).length);
        }
        std::string base;
        Convert(argBegin, argEnd, depth + 1, base);
        AppendAccented(out, accent, base);
        return after;
    }

    std::string_view m_in;
    std::vector<std::size_t> m_match;
};

// What a search takes each character below U+2000 for; empty: itself.
class CFoldTable {
public:
    static constexpr char32_t kSize = 0x2000;

    CFoldTable() {
        static constexpr std::string_view kAlphabet = "abcdefghijklmnopqrstuvwxyz";
        for (const Accent& accent : kAccents) {
            for (std::size_t i = 0; i < accent.bases.size(); ++i) {
                const char base = accent.bases[i];
                const char lower = base >= 'A' && base <= 'Z' ? static_cast<char>(base + 32) : base;
                Set(accent.composed[i], kAlphabet.substr(static_cast<std::size_t>(lower - 'a'), 1));
            }
        }
        for (const Letter& letter : kLetters) {
            if (!letter.folded.empty()) {
                Set(DecodeChar(letter.text, 0).codePoint, letter.folded);
            }
        }
        Set(0xA0, " ");
        Set(0x1E9E, "ss");
    }
    std::string_view Get(char32_t cp) const { return cp < kSize ? m_map[cp] : std::string_view(); }

private:
    void Set(char32_t cp, std::string_view text) {
        if (cp < kSize) {
            m_map[cp] = text;
        }
    }
    std::array<std::string_view, kSize> m_map{};
};

const CFoldTable& FoldTable() {
    static const CFoldTable table;
    return table;
}

bool NeedsConversion(std::string_view tex) {
    for (const char c : tex) {
        if (c == '\\' || c == '{' || c == '}' || c == '~' || c == '$' || c == '-') {
            return true;
        }
    }
    return false;
}

} // namespace

std::string TexToText(std::string_view tex) {
    if (!NeedsConversion(tex)) {
        return std::string(tex);
    }
    std::string out;
    out.reserve(tex.size());
    CTexConverter(tex).Convert(0, tex.size(), 0, out);
    return out;
}

void AppendFolded(std::string& out, std::string_view text) {
    const CFoldTable& table = FoldTable();
    for (std::size_t pos = 0; pos < text.size();) {
        const auto b = static_cast<unsigned char>(text[pos]);
        if (b < 0x80) {
            out += (b >= 'A' && b <= 'Z') ? static_cast<char>(b + 32) : static_cast<char>(b);
            ++pos;
            continue;
        }
        const Utf8Char c = DecodeChar(text, pos);
        pos += c.length == 0 ? 1 : c.length;
        const char32_t cp = ToLowerCodePoint(c.codePoint);
        if (cp >= 0x300 && cp <= 0x36F) {
            continue; // combining accents
        }
        if (const std::string_view folded = table.Get(cp); !folded.empty()) {
            out += folded;
        } else if (cp == 0x2013 || cp == 0x2014) {
            out += '-';
        } else if (cp == 0x2009 || cp == 0x202F) {
            out += ' ';
        } else {
            AppendUtf8(out, cp);
        }
    }
}

std::string FoldText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendFolded(out, text);
    return out;
}

std::string FoldTex(std::string_view tex) {
    return FoldText(TexToText(tex));
}

} // namespace qvn
