// The project file: byte layout, round trips and hostile files.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/Archive.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

using testsupport::Bytes;
using testsupport::Str;

namespace {

// An active project with the given settings, as the wizard makes it.
void Start(CQVNDoc& doc, const std::string& name, const std::string& location) {
    doc.StartProject({name, location, "strings.bib"});
}

TEST(ProjectFile, EmptyProjectIsTheThirtyTwoBytesOfTheExample) {
    CQVNDoc doc;
    Start(doc, "P", "C:\\bib");
    const std::string expected = Bytes({0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x50, 0x06}) +
                                 "C:\\bib" + Str("strings.bib") +
                                 Bytes({0x00, 0x00, 0x00, 0x00, 0x00});
    const std::string bytes = doc.SaveToBytes();
    EXPECT_EQ(bytes.size(), 32u);
    EXPECT_EQ(bytes, expected);
}

TEST(ProjectFile, OneStringAndOneArticle) {
    CQVNDoc doc;
    Start(doc, "P", "C:\\bib");
    doc.AddString("jacm", "Journal of the ACM", false);
    auto item = std::make_unique<CBibTexEntry>("refs", "smith2000", 0);
    // A copy carries 38 values, as imported items do.
    ASSERT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>(*item)));
    const std::string bytes = doc.SaveToBytes();
    std::string expected = Bytes({0x01, 0x00}) + Str("jacm") + Str("Journal of the ACM") +
                           Bytes({0x01, 0x00, 0x00, 0x00}) + Str("refs") +
                           Bytes({0x01, 0x00, 0x00, 0x00}) + Str("smith2000") + Str("refs") +
                           Str("smith2000") + Bytes({0x00, 0x00, 0x00, 0x00, 0x26, 0x00}) +
                           std::string(38, '\0');
    EXPECT_EQ(bytes.substr(0, expected.size()), expected);
}

TEST(ProjectFile, RoundTripKeepsEveryByte) {
    CQVNDoc doc;
    Start(doc, "Thesis", "/tmp/thesis");
    doc.AddString("ieee", "{IEEE}", false);
    doc.AddString("q", "\"quoted\"", false);
    auto fresh = std::make_unique<CBibTexEntry>("main", "k1", 7); // 39 values
    fresh->SetField(kFieldTitle, "{Deep {nested} title}", true);
    fresh->SetField(kFieldYear, "1999", true);
    ASSERT_TRUE(doc.AddItem(std::move(fresh)));
    auto copied = std::make_unique<CBibTexEntry>("other", "k2", 12);
    copied->SetField(kFieldAuthor, std::string("Nul\0byte \xC3\xA9", 11), true);
    ASSERT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>(*copied))); // 38 values
    doc.GetSettings().SetLastExportFolder("/tmp/export");
    const std::string first = doc.SaveToBytes();

    CQVNDoc reread;
    reread.LoadFromBytes(first);
    EXPECT_EQ(reread.SaveToBytes(), first);
    const CBibTexEntry* k1 = reread.GetItems().Lookup("main", "k1");
    ASSERT_NE(k1, nullptr);
    EXPECT_EQ(k1->GetValueCount(), 39);
    EXPECT_EQ(k1->GetValue(kFieldTitle), "{Deep {nested} title}");
    EXPECT_EQ(reread.GetItems().Lookup("other", "k2")->GetValueCount(), 38);
    EXPECT_TRUE(reread.GetItems().IsConsistent());
}

TEST(ProjectFile, ProjectNameLengthEncodings) {
    struct Case {
        std::size_t length;
        std::string prefix;
    } cases[] = {
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
    };
    for (const Case& c : cases) {
        CQVNDoc doc;
        Start(doc, std::string(c.length, 'n'), "");
        const std::string bytes = doc.SaveToBytes();
        // After the empty strings section (2) and files section (4).
        EXPECT_EQ(bytes.substr(6, c.prefix.size()), c.prefix) << c.length;
        CQVNDoc reread;
        reread.LoadFromBytes(bytes);
        EXPECT_EQ(reread.GetSettings().GetName().size(), c.length);
    }
}

TEST(ProjectFile, WideStringsAreConvertedToUtf8) {
    // Project name "Ä€" as a wide string: FF FE FF, length 2, UTF-16LE units.
    const std::string bytes = Bytes({0, 0, 0, 0, 0, 0}) +
                              Bytes({0xFF, 0xFE, 0xFF, 0x02, 0xC4, 0x00, 0xAC, 0x20}) + Str("") +
                              Str("s.bib") + Str("") + Bytes({0, 0, 0, 0});
    CQVNDoc doc;
    doc.LoadFromBytes(bytes);
    EXPECT_EQ(doc.GetSettings().GetName(), "\xC3\x84\xE2\x82\xAC");
}

TEST(ProjectFile, BytesAfterTheReservedValueAreIgnored) {
    CQVNDoc doc;
    Start(doc, "P", "/x");
    std::string bytes = doc.SaveToBytes() + "trailing garbage";
    CQVNDoc reread;
    reread.LoadFromBytes(bytes);
    EXPECT_EQ(reread.GetSettings().GetName(), "P");
}

TEST(ProjectFile, HostileFilesFailCleanly) {
    struct Case {
        const char* what;
        std::string bytes;
        CArchiveError::Kind kind;
    } cases[] = {
        {"four billion strings", Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) + std::string(34, 'x'),
         CArchiveError::Kind::EndOfFile},
        {"two billion files", Bytes({0, 0, 0xFF, 0xFF, 0xFF, 0x7F}) + std::string(34, 'x'),
         CArchiveError::Kind::EndOfFile},
        {"negative file count", Bytes({0, 0, 0xFF, 0xFF, 0xFF, 0xFF}) + std::string(34, 'x'),
         CArchiveError::Kind::EndOfFile},
        {"two billion items",
         Bytes({0, 0, 1, 0, 0, 0}) + Str("f") + Bytes({0xFF, 0xFF, 0xFF, 0x7F}) +
             std::string(28, 'x'),
         CArchiveError::Kind::EndOfFile},
        {"string longer than the file",
         Bytes({0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F}),
         CArchiveError::Kind::EndOfFile},
        {"64-bit length above the limit",
         Bytes({0,    0,    0, 0, 0, 0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                0xFF, 0xFF, 0, 0, 0, 0x80, 0,    0,    0,    0}),
         CArchiveError::Kind::Generic},
        {"entry type out of range",
         Bytes({0, 0, 1, 0, 0, 0}) + Str("f") + Bytes({1, 0, 0, 0}) + Str("k") + Str("f") +
             Str("k") + Bytes({99, 0, 0, 0, 0, 0}) + Str("P") + Str("") + Str("") + Str("") +
             Bytes({0, 0, 0, 0}),
         CArchiveError::Kind::EndOfFile},
    };
    for (const Case& c : cases) {
        CQVNDoc doc;
        try {
            doc.LoadFromBytes(c.bytes);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const CArchiveError& error) {
            EXPECT_EQ(error.GetKind(), c.kind) << c.what;
        }
    }
}

TEST(ProjectFile, TruncatedAtEveryByteFailsAsEndOfData) {
    CQVNDoc doc;
    Start(doc, "P", "/bib");
    doc.AddString("a", "b", false);
    auto item = std::make_unique<CBibTexEntry>("f", "k", 3);
    item->SetField(kFieldTitle, "{T}", true);
    doc.AddItem(std::move(item));
    const std::string bytes = doc.SaveToBytes();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        CQVNDoc reread;
        try {
            reread.LoadFromBytes(std::string_view(bytes).substr(0, n));
            ADD_FAILURE() << "truncated at " << n << " was accepted";
        } catch (const CArchiveError& error) {
            EXPECT_EQ(error.GetKind(), CArchiveError::Kind::EndOfFile) << n;
        }
    }
}

TEST(ProjectFile, ItemRecordsAreRepairedWhereTheyWouldBreakTheModel) {
    // File "f" holds: key "k" whose record names file "g" and key "x" with
    // only 2 values; then key "k" again (the later item wins); then file
    // "h" with key "k" too (keys stay unique: it gets a letter appended).
    const auto record = [](const std::string& file, const std::string& key, int values,
                           const std::string& title) {
        std::string r =
            Str(file) + Str(key) + Bytes({0, 0, 0, 0}) + Bytes({values & 0xFF, values >> 8});
        for (int i = 0; i < values; ++i) {
            r += i == 1 ? Str(title) : Str("");
        }
        return r;
    };
    const std::string bytes = Bytes({0, 0, 2, 0, 0, 0}) + Str("f") + Bytes({2, 0, 0, 0}) +
                              Str("k") + record("g", "x", 2, "{first}") + Str("k") +
                              record("f", "k", 38, "{second}") + Str("h") + Bytes({1, 0, 0, 0}) +
                              Str("k") + record("h", "k", 38, "{third}") + Str("P") + Str("") +
                              Str("") + Str("") + Bytes({0, 0, 0, 0});
    CQVNDoc doc;
    doc.LoadFromBytes(bytes);
    const CBibTexMap& items = doc.GetItems();
    EXPECT_TRUE(items.IsConsistent());
    ASSERT_EQ(items.GetTotalCount(), 2);
    const CBibTexEntry* k = items.Lookup("f", "k");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->GetValue(1), "{second}");
    const CBibTexEntry* ka = items.Lookup("h", "ka");
    ASSERT_NE(ka, nullptr);
    EXPECT_EQ(ka->GetValue(1), "{third}");
}

TEST(ProjectFile, ShortValueArraysArePaddedTo38) {
    const std::string bytes = Bytes({0, 0, 1, 0, 0, 0}) + Str("f") + Bytes({1, 0, 0, 0}) +
                              Str("k") + Str("f") + Str("k") + Bytes({0, 0, 0, 0, 2, 0}) +
                              Str("{abs}") + Str("{addr}") + Str("P") + Str("") + Str("") +
                              Str("") + Bytes({0, 0, 0, 0});
    CQVNDoc doc;
    doc.LoadFromBytes(bytes);
    const CBibTexEntry* k = doc.GetItems().Lookup("f", "k");
    ASSERT_NE(k, nullptr);
    EXPECT_EQ(k->GetValueCount(), 38);
    EXPECT_EQ(k->GetValue(kFieldYear), "");
    EXPECT_EQ(k->GetValue(kFieldAddress), "{addr}");
}

} // namespace
