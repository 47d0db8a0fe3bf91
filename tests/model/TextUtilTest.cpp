#include "model/TextUtil.h"

#include "model/TexObject.h"

#include <gtest/gtest.h>
#include <string>

namespace {

TEST(TextUtil, ToLowerBeyondAscii) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"ABC xyz 123", "abc xyz 123"},
        {"\xC3\x84rger \xC3\x96L \xC3\x9C"
         "ber",
         "\xC3\xA4rger \xC3\xB6l \xC3\xBC"
         "ber"}, // ÄÖÜ
        {"\xCE\xA3\xCE\x91\xCE\xA3",
         "\xCF\x83\xCE\xB1\xCF\x83"}, // ΣΑΣ: simple mapping, no final sigma
        {"\xD0\x9F\xD0\xA0\xD0\x98", "\xD0\xBF\xD1\x80\xD0\xB8"}, // ПРИ
        {"\xC4\xB0", "i"},                                        // İ to i (one byte shorter)
        {"\xE2\x84\xAA", "k"},                                    // Kelvin sign
        {"\xE2\x84\xA6", "\xCF\x89"},                             // Ohm sign to omega
        {"\xE1\xBA\x9E", "\xC3\x9F"},                             // capital sharp s
        {"\xC3\x9F", "\xC3\x9F"},                                 // sharp s stays
        {"\xC7\x84\xC7\x85", "\xC7\x86\xC7\x86"},                 // DŽ and Dž
        {"\xC4\x80\xC4\x81", "\xC4\x81\xC4\x81"},                 // Ā ā: every other code point
        {"\xF0\x90\x90\x80", "\xF0\x90\x90\xA8"},                 // Deseret, four bytes
        {"\xEF\xBC\xA1", "\xEF\xBD\x81"},                         // fullwidth A
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qvn::ToLower(c.text), c.expected) << c.text;
    }
}

TEST(TextUtil, ToLowerKeepsInvalidBytes) {
    const std::string cases[] = {
        "\xC4rger", // Windows-1252 Ä: not valid UTF-8, kept as it is
        "A\xFF"
        "B",                // lone 0xFF between letters
        "\xC3",             // truncated sequence at the end
        "\xC0\x81",         // overlong encoding
        "\xED\xA0\x80",     // encoded surrogate
        "\xF4\x90\x80\x80", // beyond U+10FFFF
        std::string("N\0UL", 4),
    };
    const std::string expected[] = {
        "\xC4rger",
        "a\xFF"
        "b",
        "\xC3",
        "\xC0\x81",
        "\xED\xA0\x80",
        "\xF4\x90\x80\x80",
        std::string("n\0ul", 4),
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(qvn::ToLower(cases[i]), expected[i]) << i;
    }
}

TEST(TextUtil, ToLowerAsciiLeavesOtherLetters) {
    EXPECT_EQ(qvn::ToLowerAscii("\xC3\x84"
                                "BC.Bib"),
              "\xC3\x84"
              "bc.bib");
}

TEST(TextUtil, CompareNoCase) {
    const struct {
        const char* a;
        const char* b;
        int sign;
    } cases[] = {
        {"abc", "ABC", 0},
        {"ARTICLE", "article", 0},
        {"\xC3\x84rger", "\xC3\xA4rger", 0}, // Ärger, ärger
        {"", "", 0},
        {"a", "b", -1},
        {"B", "a", 1}, // compared lower-cased: b > a
        {"ab", "abc", -1},
        {"abc", "ab", 1},
        {"", "a", -1},
        {"\xCF\x83", "\xCF\x82", 1}, // σ and final ς stay different
        {"\xC4\xB0", "i", 0},        // İ lower-cases to i
        {"Refs", "refs", 0},
        {"Refs", "Refs2", -1},
    };
    for (const auto& c : cases) {
        const int result = qvn::CompareNoCase(c.a, c.b);
        EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
        EXPECT_EQ(qvn::EqualsNoCase(c.a, c.b), c.sign == 0) << c.a << " vs " << c.b;
    }
}

TEST(TextUtil, ContainsAnyOfComparesCharactersNotBytes) {
    const struct {
        const char* text;
        const char* set;
        bool expected;
    } cases[] = {
        {"key\xC2\xB4", "\xC2\xB4", true}, // acute accent U+00B4
        {"k\xC3\xB4t", "\xC2\xB4", false}, // ô ends in byte 0xB4, but is no accent
        {"x\xB4y", "\xC2\xB4", true},      // a lone byte 0xB4 reads as Windows-1252 accent
        {"\xC2\xB4", "\xC3\xB4", false},
        {"abc", "", false},
        {"", "abc", false},
        {"a:b", ":", true},
        {"plain", "xyz", false},
        {"tab\there", "\t", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qvn::ContainsAnyOf(c.text, c.set), c.expected) << c.text << " / " << c.set;
    }
    EXPECT_TRUE(qvn::ContainsAnyOf("smith\xC2\xB4"
                                   "2000",
                                   kForbiddenKeyChars));
    EXPECT_FALSE(qvn::ContainsAnyOf("M\xC3\xB4nica2000", kForbiddenKeyChars));
}

TEST(TextUtil, DecodeAndEncodeAtEveryLengthBoundary) {
    const struct {
        char32_t codePoint;
        std::size_t length;
    } cases[] = {
        {0x7F, 1}, {0x80, 2}, {0x7FF, 2}, {0x800, 3}, {0xFFFF, 3}, {0x10000, 4}, {0x10FFFF, 4},
    };
    for (const auto& c : cases) {
        std::string bytes;
        qvn::AppendUtf8(bytes, c.codePoint);
        ASSERT_EQ(bytes.size(), c.length) << std::hex << static_cast<unsigned>(c.codePoint);
        const qvn::Utf8Char decoded = qvn::DecodeChar("x" + bytes, 1);
        EXPECT_EQ(decoded.codePoint, c.codePoint);
        EXPECT_EQ(decoded.length, c.length);
    }
}

TEST(TextUtil, InvalidBytesDecodeAsWindows1252) {
    const struct {
        const char* bytes;
        char32_t codePoint;
    } cases[] = {
        {"\x80", 0x20AC},
        {"\x9F", 0x0178},
        {"\x81", 0x81},
        {"\xC4"
         "a",
         0xC4},
        {"\xE4\x80", 0xE4},
    };
    for (const auto& c : cases) {
        const qvn::Utf8Char decoded = qvn::DecodeChar(c.bytes, 0);
        EXPECT_EQ(decoded.codePoint, c.codePoint) << std::hex << static_cast<unsigned>(c.codePoint);
        EXPECT_EQ(decoded.length, 1u);
    }
}

TEST(TextUtil, Trim) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"", ""},         {"   ", ""},
        {" a b ", "a b"}, {"\t\r\n\v\fx\n", "x"},
        {"x", "x"},       {"\xC2\xA0x", "\xC2\xA0x"}, // no-break space is not white space here
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qvn::Trim(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TextUtil, ToCrLf) {
    EXPECT_EQ(qvn::ToCrLf(""), "");
    EXPECT_EQ(qvn::ToCrLf("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(qvn::ToCrLf("\n\n"), "\r\n\r\n");
    EXPECT_EQ(qvn::ToCrLf("no end"), "no end");
}

TEST(TextUtil, FormatAndSubstitute) {
    EXPECT_EQ(qvn::Format("%s\\%s.bib", "folder", "refs"), "folder\\refs.bib");
    EXPECT_EQ(qvn::Format("%s (%d)", "New File", 2), "New File (2)");
    const std::string longText(5000, 'x');
    EXPECT_EQ(qvn::Format("<%s>", longText.c_str()), "<" + longText + ">");

    EXPECT_EQ(qvn::Substitute("Save changes to %1?", {"refs.qvp"}), "Save changes to refs.qvp?");
    EXPECT_EQ(qvn::Substitute("%2 before %1", {"a", "b"}), "b before a");
    EXPECT_EQ(qvn::Substitute("100% sure %3", {"a"}), "100% sure ");
    EXPECT_EQ(qvn::Substitute("%1", {"%2"}), "%2"); // arguments are not expanded again
}

} // namespace
