// The project file's extension block: what the catalogue lacks travels after
// the reserved value, a reader of the plain layout still sees the catalogue
// part, and a hostile or newer block never loads halfway.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/Archive.h"
#include "project/QVNDoc.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>

using namespace testsupport;

namespace {

constexpr int kMisc = 10;

// The block around `records`: tag, version, length.
std::string Block(const std::string& records, int version = 1) {
    return "QVNEXTRA" + Le32(static_cast<std::uint32_t>(version)) + Le64(records.size()) + records;
}

// A project with one file "refs": an article with a DOI, a web page, and
// a preamble and a comment.
void Fill(CQVNDoc& doc) {
    doc.StartProject({"P", "/bib", "strings.bib"});
    auto article = std::make_unique<CBibTexEntry>("refs", "a", 0);
    article->SetField(kFieldTitle, "{T}", true);
    article->SetOtherField("doi", "{10.1/x}");
    auto page = std::make_unique<CBibTexEntry>("refs", "w", kMisc);
    page->SetTypeName("web_page");
    auto plain = std::make_unique<CBibTexEntry>("refs", "p", 0);
    ASSERT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>(*article)));
    ASSERT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>(*page)));
    ASSERT_TRUE(doc.AddItem(std::make_unique<CBibTexEntry>(*plain)));
    doc.GetItems().AddBlock("refs", {CBibTexBlock::Kind::Preamble, "@preamble{\"x\"}"});
    doc.GetItems().AddBlock("refs", {CBibTexBlock::Kind::Comment, "@comment{c}"});
}

// The records Fill's project gives, written by hand from the layout.
std::string FillRecords() {
    return Bytes({1, 0}) + Str("refs") + // one file record
           Bytes({2, 0}) + Le32(0) + Str("@preamble{\"x\"}") + Le32(1) + Str("@comment{c}") +
           Bytes({2, 0}) + // two item records
           Str("a") + Str("") + Bytes({1, 0}) + Str("doi") + Str("{10.1/x}") + Str("w") +
           Str("web_page") + Bytes({0, 0});
}

std::string PlainPart(const std::string& bytes) {
    return bytes.substr(0, bytes.find("QVNEXTRA"));
}

TEST(ProjectExtension, BlockFollowsTheReservedValueExactly) {
    CQVNDoc doc;
    Fill(doc);
    const std::string bytes = doc.SaveToBytes();
    const std::string plain = PlainPart(bytes);
    EXPECT_EQ(bytes, plain + Block(FillRecords()));
    // The web page stands in the plain layout as misc: after its record's
    // file name and key comes type 10.
    EXPECT_NE(plain.find(Str("refs") + Str("w") + Le32(kMisc)), std::string::npos);
}

TEST(ProjectExtension, RoundTripKeepsEverythingAndEveryByte) {
    CQVNDoc doc;
    Fill(doc);
    const std::string bytes = doc.SaveToBytes();
    CQVNDoc reread;
    reread.LoadFromBytes(bytes);
    EXPECT_EQ(reread.GetExtensionRead(), CProjectExtension::ReadResult::Read);
    EXPECT_EQ(reread.SaveToBytes(), bytes);
    const CBibTexMap& items = reread.GetItems();
    EXPECT_TRUE(items.IsConsistent());
    EXPECT_EQ(*items.Lookup("refs", "a"), *doc.GetItems().Lookup("refs", "a"));
    EXPECT_EQ(items.Lookup("refs", "w")->GetTypeName(), "web_page");
    ASSERT_NE(items.GetBlocks("refs"), nullptr);
    EXPECT_EQ(*items.GetBlocks("refs"), *doc.GetItems().GetBlocks("refs"));

    // A reader of the plain layout sees the catalogue part: the web page as
    // misc, no DOI.
    CQVNDoc plainReader;
    plainReader.LoadFromBytes(PlainPart(bytes));
    EXPECT_EQ(plainReader.GetItems().Lookup("refs", "w")->GetType(), kMisc);
    EXPECT_EQ(plainReader.GetItems().Lookup("refs", "a")->GetOtherFieldCount(), 0);
    EXPECT_EQ(plainReader.GetItems().Lookup("refs", "a")->GetValue(kFieldTitle), "{T}");
}

TEST(ProjectExtension, DroppingTheLastExtraDropsTheBlock) {
    CQVNDoc doc;
    Fill(doc);
    CBibTexMap& items = doc.GetItems();
    items.Lookup("refs", "a")->RemoveOtherField("doi");
    items.Lookup("refs", "w")->SetType(kMisc);
    items.SetBlocks("refs", {});
    const std::string bytes = doc.SaveToBytes();
    EXPECT_EQ(bytes.find("QVNEXTRA"), std::string::npos);
}

TEST(ProjectExtension, BadBlocksAreUnexpectedFileFormat) {
    CQVNDoc doc;
    Fill(doc);
    const std::string plain = PlainPart(doc.SaveToBytes());
    const std::string header = Bytes({1, 0}) + Str("refs") + Bytes({0, 0});
    const struct {
        const char* what;
        std::string block;
    } cases[] = {
        {"length beyond the file", "QVNEXTRA" + Le32(1) + Le64(1000) + FillRecords()},
        {"length shorter than the records", Block(FillRecords()).substr(0, 20 + 5)},
        {"bytes left inside the block", Block(FillRecords() + "x")},
        {"version 0", Block(FillRecords(), 0)},
        {"a billion file records", Block(Bytes({0xFF, 0xFF}) + Le32(1000000000))},
        {"unknown file",
         Block(Bytes({1, 0}) + Str("nofile") + Bytes({1, 0}) + Le32(0) + Str("x") + Bytes({0, 0}))},
        {"a file twice",
         Block(Bytes({2, 0}) + Str("refs") + Bytes({1, 0}) + Le32(0) + Str("x") + Bytes({0, 0}) +
               Str("refs") + Bytes({1, 0}) + Le32(0) + Str("y") + Bytes({0, 0}))},
        {"empty file record", Block(Bytes({1, 0}) + Str("refs") + Bytes({0, 0, 0, 0}))},
        {"block kind 7",
         Block(header.substr(0, 7) + Bytes({1, 0}) + Le32(7) + Str("x") + Bytes({0, 0}))},
        {"empty block",
         Block(header.substr(0, 7) + Bytes({1, 0}) + Le32(1) + Str("") + Bytes({0, 0}))},
        {"a million blocks", Block(header.substr(0, 7) + Bytes({0xFF, 0xFF}) + Le32(1000000))},
        {"unknown key", Block(header + Bytes({1, 0}) + Str("nokey") + Str("") + Bytes({1, 0}) +
                              Str("doi") + Str("{1}"))},
        {"an item twice",
         Block(header + Bytes({2, 0}) + Str("a") + Str("") + Bytes({1, 0}) + Str("doi") +
               Str("{1}") + Str("a") + Str("") + Bytes({1, 0}) + Str("pmid") + Str("{1}"))},
        {"empty item record", Block(header + Bytes({1, 0}) + Str("a") + Str("") + Bytes({0, 0}))},
        {"catalogue name as other field", Block(header + Bytes({1, 0}) + Str("a") + Str("") +
                                                Bytes({1, 0}) + Str("Title") + Str("{x}"))},
        {"invalid field name", Block(header + Bytes({1, 0}) + Str("a") + Str("") + Bytes({1, 0}) +
                                     Str("a b") + Str("{x}"))},
        {"field twice", Block(header + Bytes({1, 0}) + Str("a") + Str("") + Bytes({2, 0}) +
                              Str("doi") + Str("{x}") + Str("DOI") + Str("{y}"))},
        {"empty field value",
         Block(header + Bytes({1, 0}) + Str("a") + Str("") + Bytes({1, 0}) + Str("doi") + Str(""))},
        {"a billion fields", Block(header + Bytes({1, 0}) + Str("a") + Str("") +
                                   Bytes({0xFF, 0xFF}) + Le32(1000000000))},
        {"type name on an article",
         Block(header + Bytes({1, 0}) + Str("a") + Str("online") + Bytes({0, 0}))},
        {"catalogue type name",
         Block(header + Bytes({1, 0}) + Str("w") + Str("book") + Bytes({0, 0}))},
        {"invalid type name",
         Block(header + Bytes({1, 0}) + Str("w") + Str("a b") + Bytes({0, 0}))},
    };
    for (const auto& c : cases) {
        CQVNDoc reread;
        try {
            reread.LoadFromBytes(plain + c.block);
            ADD_FAILURE() << c.what << " was accepted";
        } catch (const CArchiveError& error) {
            EXPECT_EQ(error.GetKind(), CArchiveError::Kind::EndOfFile) << c.what;
        }
    }
    // Cut anywhere inside the block: never accepted. Up to the tag's end the
    // bytes are no block and are ignored, as any trailing bytes are.
    const std::string block = Block(FillRecords());
    for (std::size_t n = 8; n < block.size(); ++n) {
        CQVNDoc reread;
        EXPECT_THROW(reread.LoadFromBytes(plain + block.substr(0, n)), CArchiveError) << n;
    }
}

TEST(ProjectExtension, NewerBlockOpensWithoutItAndTellsWhatSavingDrops) {
    CQVNDoc doc;
    Fill(doc);
    const std::string plain = PlainPart(doc.SaveToBytes());
    testsupport::TempDir dir;
    const std::string path = dir.File("newer.qvp");
    testsupport::WriteBytes(path, plain + Block("records of a later version", 2) + "more");

    ScriptedUi ui;
    CQVNDoc reread(&ui);
    reread.NewProject();
    ASSERT_TRUE(reread.OpenProject(path));
    EXPECT_EQ(reread.GetExtensionRead(), CProjectExtension::ReadResult::Newer);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, CQVNDoc::kNewerExtension);
    EXPECT_EQ(ui.messages[0].icon, MsgIcon::Warning);
    EXPECT_EQ(reread.GetItems().Lookup("refs", "w")->GetType(), kMisc);
    EXPECT_EQ(reread.SaveToBytes(), plain);

    // A truncated block opens nothing and says so.
    testsupport::WriteBytes(path, plain + Block(FillRecords()).substr(0, 30));
    ScriptedUi failUi;
    CQVNDoc failed(&failUi);
    failed.NewProject();
    EXPECT_FALSE(failed.OpenProject(path));
    ASSERT_EQ(failUi.messages.size(), 1u);
    EXPECT_EQ(failUi.messages[0].text, "Unexpected file format.");
    EXPECT_EQ(failed.GetItems().GetTotalCount(), 0);
}

} // namespace
