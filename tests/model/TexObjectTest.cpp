#include "model/TexObject.h"

#include "model/BibTexStringTable.h"
#include "model/TextUtil.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// A project whose strings define `jacm` and the abbreviation with a blank
// `my abbr`; registered as the open project's for the fixture's lifetime.
class TexRules : public ::testing::Test {
protected:
    TexRules() {
        m_strings.SetString("jacm", "{Journal of the ACM}");
        m_strings.SetString("my abbr", "{Mine}");
        m_strings.SetString("a{b", "{Brace}");
    }
    CBibTexStringTable m_strings;
    CActiveStringTableScope m_scope{&m_strings};
};

TEST(TexRulesPlain, ContainsTexSpecial) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"", false},   {"abc", false}, {"\"", true},    {"{", true},         {"}", true},
        {"(", true},   {")", true},    {"\\", true},    {"/", true},         {" ", true},
        {"a b", true}, {"x/y", true},  {"a\tb", false}, {"\xC3\xA4", false}, {"#", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::ContainsTexSpecial(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TexRulesPlain, IsNumber) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"", true},          {"0042", true},      {"1999", true}, {"12a", false},
        {" 12", false},      {"12 ", false},      {"-1", false},  {"1.5", false},
        {"+1", false},       {"\xD9\xA1", false}, // Arabic-Indic digit one
        {"\xC2\xB2", false},                      // superscript two
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::IsNumber(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TexRulesPlain, IsDelimitedAndStripDelimiters) {
    const struct {
        const char* text;
        bool delimited;
        const char* stripped;
    } cases[] = {
        {"", false, ""},           {"\"", true, ""}, // first and last character are the same quote
        {"{", false, "{"},         {"}", false, "}"},
        {"{}", true, ""},          {"\"\"", true, ""},
        {"{a}", true, "a"},        {"\"a\"", true, "a"},
        {"{{a}}", true, "{a}"},    {"{a} and {b}", true, "a} and {b"},
        {"\"a}", false, "\"a}"},   {"{a\"", false, "{a\""},
        {" {a}", false, " {a}"},   {"{a} ", false, "{a} "},
        {"plain", false, "plain"}, {"jan # feb", false, "jan # feb"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::IsDelimited(c.text), c.delimited) << c.text;
        EXPECT_EQ(CTexObject::StripDelimiters(c.text), c.stripped) << c.text;
        EXPECT_EQ(CTexObject::StripDelimitersView(c.text), c.stripped) << c.text;
    }
}

TEST(TexRulesPlain, WithoutOpenProjectNothingIsAReference) {
    ASSERT_EQ(CTexObject::ActiveStringTable(), nullptr);
    for (const char* text : {"jan", "dec", "jacm", "", "x"}) {
        EXPECT_FALSE(CTexObject::IsStringReference(text)) << text;
    }
}

TEST_F(TexRules, IsStringReference) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"jacm", true},  {"JACM", false}, // abbreviations are case-sensitive
        {"jan", true},   {"feb", true},      {"mar", true},        {"apr", true}, {"may", true},
        {"jun", true},   {"jul", true},      {"aug", true},        {"sep", true}, {"oct", true},
        {"nov", true},   {"dec", true},      {"Jan", false}, // month strings are lower case only
        {"janu", false}, {"my abbr", false}, // defined, but a blank is a TeX special character
        {"a{b", false},  {"", false},        {"undefined", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::IsStringReference(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST_F(TexRules, EmptyAbbreviationNeverMakesTheEmptyTextAReference) {
    m_strings.SetString("", "{Empty}");
    EXPECT_FALSE(CTexObject::IsStringReference(""));
}

TEST_F(TexRules, DefinedCapitalisedMonthIsAReference) {
    m_strings.SetString("Jan", "{January}");
    EXPECT_TRUE(CTexObject::IsStringReference("Jan"));
    EXPECT_EQ(CTexObject::FormatValue("Jan"), "Jan");
}

TEST_F(TexRules, IsConcatenation) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"jan", false}, // no number sign
        {"", false},
        {"jan # feb", true},
        {"jan # 1", true},
        {"jan # \" 1\"", true},
        {"{a} # {b}", true},
        {"jacm # \", vol. 3\"", true},
        {"1 # 2", true},
        {"a # b", false}, // neither part is defined
        {"jan # b", false},
        {"#", true}, // only part is empty
        {"###", true},
        {"jan ## feb", true}, // a run of number signs makes no empty part
        {"#jan#", true},      // nor does one at either end
        {"jan# #x y", true},  // the blank part ends the examination
        {"jan #\t# x y", true},
        {"x y # jan", false}, // the first part is always examined
        {"# x y", false},
        {"{a # b} # jan", false}, // the number sign inside braces splits too
        {"\"a\" # 12a", false},
        {"\" # \"", true}, // each part is a lone quote, which counts as quoted
        {"\"x # \"y\"", false},
        {"jan # \"", true}, // a lone quote counts as quoted
        {"my abbr # jan", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::IsConcatenation(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST_F(TexRules, FormatValue) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"", ""},
        {"0042", "0042"},
        {"1999", "1999"},
        {"12a", "{12a}"},
        {"jan", "jan"},
        {"Jan", "{Jan}"},
        {"jacm", "jacm"},
        {"JACM", "{JACM}"},
        {"jan # 1", "jan # 1"},
        {"jan # feb", "jan # feb"},
        {"a # b", "{a # b}"},
        {"#", "#"},
        {"jan# #x y", "jan# #x y"},
        {"Some Title", "{Some Title}"},
        {"{already}", "{{already}}"},
        {"\"quoted\"", "{\"quoted\"}"},
        {"{a # b} # jan", "{{a # b} # jan}"},
        {"my abbr", "{my abbr}"},
        {" 1999", "{ 1999}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::FormatValue(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(TexRulesPlain, FormatValueWithoutOpenProject) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"jan", "{jan}"},           {"1999", "1999"},
        {"jacm", "{jacm}"},         {"jan # feb", "{jan # feb}"},
        {"1 # \"a\"", "1 # \"a\""}, {"{a} # {b}", "{a} # {b}"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::FormatValue(c.text), c.expected) << c.text;
    }
}

TEST(TexRulesPlain, ActiveTableScopesNest) {
    CBibTexStringTable outer;
    CBibTexStringTable inner;
    inner.SetString("only", "{Inner}");
    {
        CActiveStringTableScope a(&outer);
        EXPECT_FALSE(CTexObject::IsStringReference("only"));
        {
            CActiveStringTableScope b(&inner);
            EXPECT_EQ(CTexObject::ActiveStringTable(), &inner);
            EXPECT_TRUE(CTexObject::IsStringReference("only"));
        }
        EXPECT_EQ(CTexObject::ActiveStringTable(), &outer);
        EXPECT_TRUE(CTexObject::IsStringReference("jan"));
    }
    EXPECT_EQ(CTexObject::ActiveStringTable(), nullptr);
}

TEST(TexRulesPlain, CharacterSets) {
    struct Case {
        const char* character;
        bool inKeySet;
        bool inFileSet;
    };
    const Case cases[] = {
        {"\\", true, true},         {"/", true, true},   {"'", true, true},
        {">", true, true},          {"<", true, true},   {"@", true, true},
        {",", true, true},          {"$", true, true},   {"%", true, true},
        {"^", true, true},          {"*", true, true},   {"+", true, true},
        {"?", true, true},          {"{", true, true},   {"}", true, true},
        {"\xC2\xB4", true, true},   {"`", true, true},   {";", true, true},
        {"\"", true, true},         {"!", true, true},   {"\t", true, true},
        {"#", true, true},          {"[", true, true},   {"]", true, true},
        {":", false, true},         {"(", true, false},  {")", true, false},
        {" ", true, false},         {"a", false, false}, {"-", false, false},
        {".", false, false},        {"_", false, false}, {"&", false, false},
        {"\xC3\xB4", false, false}, // o circumflex holds byte 0xB4
    };
    for (const Case& c : cases) {
        EXPECT_EQ(qvn::ContainsAnyOf(c.character, kForbiddenKeyChars), c.inKeySet) << c.character;
        EXPECT_EQ(qvn::ContainsAnyOf(c.character, kForbiddenFileNameChars), c.inFileSet)
            << c.character;
    }
}

} // namespace

namespace {

// BibTeX pairs every brace, escaped or not: a typed value passes only when
// each '}' closes an earlier '{' and none stays open.
TEST(TexRulesPlain, HasBalancedBraces) {
    const struct {
        const char* text;
        bool expected;
    } cases[] = {
        {"", true},
        {"plain text", true},
        {"{Nested {Braces}} and {more}", true},
        {"see {Appendix", false},
        {"closed} early", false},
        {"}{", false},
        {"{a}}{", false},
        {"G{\\\"o}del", true},
        {"a \\{ b", false}, // the backslash does not hide the brace from BibTeX
        {"a \\{ b \\}", true},
        {"jan # \"x{\" # \"}\"", true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CTexObject::HasBalancedBraces(c.text), c.expected) << c.text;
    }
    const std::string message = CTexObject::UnbalancedBracesMessage("note");
    EXPECT_NE(message.find("'note'"), std::string::npos) << message;
}

} // namespace
