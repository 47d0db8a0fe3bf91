// Hostile and broken input: whatever bytes arrive, the program either reads
// them or says it cannot, and never crashes or half-loads a project.
#include "ScriptedUi.h"
#include "TestSupport.h"
#include "model/Archive.h"
#include "model/BibTexReader.h"
#include "model/FileIO.h"
#include "project/QVNDoc.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

// A real project with random bytes changed: counts, lengths, types and text
// all get hit, and every outcome must be a clean load or a clean failure.
TEST(HostileInput, MutatedProjectFilesLoadConsistentlyOrFail) {
    CQVNDoc source;
    source.StartProject({"P", "/bib", "strings.bib"});
    source.AddString("jacm", "{Journal of the ACM}", false);
    for (int i = 0; i < 4; ++i) {
        auto item = std::make_unique<CBibTexEntry>(i % 2 ? "a" : "b", "k" + std::to_string(i), i);
        item->SetField(kFieldTitle, "{Title}", true);
        item->SetField(kFieldYear, "1999", true);
        source.AddItem(std::move(item));
    }
    const std::string original = source.SaveToBytes();
    std::mt19937 random(20261208);
    int loaded = 0;
    for (int round = 0; round < 5000; ++round) {
        std::string bytes = original;
        const int changes = 1 + static_cast<int>(random() % 4);
        for (int c = 0; c < changes; ++c) {
            bytes[random() % bytes.size()] = static_cast<char>(random() & 0xFF);
        }
        CQVNDoc doc;
        try {
            doc.LoadFromBytes(bytes);
        } catch (const CArchiveError&) {
            continue;
        }
        ++loaded;
        ASSERT_TRUE(doc.GetItems().IsConsistent()) << "round " << round;
        // What was loaded saves and loads again to the same bytes.
        const std::string saved = doc.SaveToBytes();
        CQVNDoc again;
        again.LoadFromBytes(saved);
        EXPECT_EQ(again.SaveToBytes(), saved) << "round " << round;
    }
    EXPECT_GT(loaded, 0);
}

TEST(HostileInput, AFailedOpenNeverLeavesAHalfLoadedProject) {
    testsupport::TempDir dir;
    CQVNDoc good;
    good.StartProject({"P", dir.Path(), "strings.bib"});
    good.AddString("s", "v", false);
    auto item = std::make_unique<CBibTexEntry>("f", "k", 0);
    item->SetField(kFieldTitle, "{T}", true);
    good.AddItem(std::move(item));
    const std::string bytes = good.SaveToBytes();
    // The project cut off in the middle of its item record.
    const std::string path = dir.File("cut.qvp");
    qvn::WriteFileAtomically(path, bytes.substr(0, bytes.size() - 20));

    ScriptedUi ui;
    CQVNDoc doc(&ui);
    doc.NewProject();
    EXPECT_FALSE(doc.OpenProject(path));
    EXPECT_EQ(ui.messages.back().text, "Unexpected file format.");
    EXPECT_TRUE(doc.IsProjectEmpty());
    EXPECT_EQ(doc.GetItems().GetTotalCount(), 0);
    EXPECT_FALSE(doc.IsProjectActive());
}

// A single line of 100 MB (one item whose abstract never ends before the
// last byte) is read whole, in linear time.
TEST(HostileInput, AHundredMegabyteLineIsReadWhole) {
    std::string text = "@article{big, abstract = {";
    text.append(100u * 1024 * 1024, 'x');
    text += "}, year = 2000}";
    CBibTexReader reader("big.bib");
    reader.ReadFileContent(text);
    EXPECT_TRUE(reader.GetErrors().empty());
    const CBibTexEntry* item = reader.GetItems().FindKey("big");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->GetValue(kFieldAbstract).size(), 100u * 1024 * 1024 + 2);
    EXPECT_EQ(item->GetValue(kFieldYear), "2000");
}

} // namespace
