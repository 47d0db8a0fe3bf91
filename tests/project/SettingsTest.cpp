// Project settings and the per-user appearance settings with their storage.
#include "MemorySettingsStore.h"
#include "project/ProjectSettings.h"
#include "project/QVNSettings.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kKey = CQVNSettings::kStoreKey;

TEST(ProjectSettings, DerivedValues) {
    CProjectSettings s;
    EXPECT_EQ(s.GetProjectName(), "< unnamed >");
    s.SetName("Thesis");
    EXPECT_EQ(s.GetProjectName(), "Thesis");
    s.SetLocation("/bib");
    EXPECT_EQ(s.GetExportFolder(), "/bib");
    s.SetLastExportFolder("/out");
    EXPECT_EQ(s.GetExportFolder(), "/out");

    struct Case {
        const char* stored;
        const char* with;
        const char* without;
    } cases[] = {
        {"", "strings.bib", "strings"},
        {"strings.bib", "strings.bib", "strings"},
        {"refs.BIB", "refs.BIB", "refs"},
        {"refs", "refs.bib", "refs"},
        {".bib", ".bib", ""},
        {"a.txt", "a.txt.bib", "a.txt"},
    };
    for (const Case& c : cases) {
        s.SetStringsFile(c.stored);
        EXPECT_EQ(s.GetStringsFileName(true), c.with) << c.stored;
        EXPECT_EQ(s.GetStringsFileName(false), c.without) << c.stored;
    }
}

TEST(ProjectSettings, ResetAndAssignCoverAllSixValues) {
    CProjectSettings a;
    a.SetFallbackName("fb");
    a.SetName("n");
    a.SetLocation("l");
    a.SetStringsFile("s.bib");
    a.SetLastExportFolder("e");
    a.SetReserved(7);
    CProjectSettings b;
    b.Assign(a);
    EXPECT_EQ(a, b);
    b.Reset();
    EXPECT_EQ(b, CProjectSettings());
    EXPECT_EQ(b.GetStringsFile(), "strings.bib");
    EXPECT_EQ(b.GetReserved(), 0);
}

TEST(AppearanceSettings, Defaults) {
    CQVNSettings s;
    ASSERT_EQ(s.GetColumnCount(), 3);
    EXPECT_EQ(s.GetColumnField(0), kFieldAuthor);
    EXPECT_EQ(s.GetColumnWidth(0), 120);
    EXPECT_EQ(s.GetColumnField(1), kFieldTitle);
    EXPECT_EQ(s.GetColumnWidth(1), 150);
    EXPECT_EQ(s.GetColumnField(2), kFieldKeywords);
    EXPECT_EQ(s.GetColumnWidth(2), 80);
    EXPECT_EQ(s.GetColumnWidth(3), -1);
    EXPECT_FALSE(s.GetShowIgnoredFields());
    EXPECT_FALSE(s.IsIgnoredFieldShown(kFieldLccn));
    EXPECT_FALSE(s.IsIgnoredFieldShown(kFieldPrice));
    EXPECT_TRUE(s.IsIgnoredFieldShown(kFieldUrl));
    EXPECT_FALSE(s.IsIgnoredFieldShown(38));
    EXPECT_FALSE(s.AddColumn(38));
    EXPECT_FALSE(s.AddColumn(-1));
}

TEST(AppearanceSettings, SavedDefaultsAndTheNextStart) {
    CMemorySettingsStore store;
    CQVNSettings s;
    s.Save(store);
    EXPECT_EQ(store.ReadString(kKey, "author"), "1,120,1");
    EXPECT_EQ(store.ReadString(kKey, "title"), "1,150,1");
    EXPECT_EQ(store.ReadString(kKey, "keywords"), "1,80,1");
    EXPECT_EQ(store.ReadString(kKey, "lccn"), "0,200,0");
    EXPECT_EQ(store.ReadString(kKey, "price"), "0,200,0");
    EXPECT_EQ(store.ReadString(kKey, "abstract"), "0,200,1");
    EXPECT_EQ(store.ReadDWord(kKey, "ShowIF"), 0u);

    CQVNSettings next;
    next.Load(store);
    // Only membership is stored: the columns come back in field index order.
    ASSERT_EQ(next.GetColumnCount(), 3);
    EXPECT_EQ(next.GetColumnField(0), kFieldAuthor);
    EXPECT_EQ(next.GetColumnField(1), kFieldKeywords);
    EXPECT_EQ(next.GetColumnField(2), kFieldTitle);
}

TEST(AppearanceSettings, LoadWithoutKeyKeepsDefaults) {
    CMemorySettingsStore store;
    CQVNSettings s;
    s.ClearColumns();
    s.Load(store);
    EXPECT_EQ(s.GetColumnCount(), 0); // Load alone does not reset
    CQVNSettings fresh;
    fresh.Load(store);
    EXPECT_EQ(fresh, CQVNSettings());
}

TEST(AppearanceSettings, ParsingFieldTexts) {
    struct Case {
        const char* text;
        bool column;
        int width;
        bool shown;
    } cases[] = {
        {"1,120,1", true, 120, true}, {"0,200", false, 200, false},
        {"1", true, 0, false},        {"1;120,1", true, 0, false},
        {"", false, 0, false},        {"1,,1", true, 0, true},
        {"2,50,1", false, 50, true},  {"1,99999999999,1", true, 0x7FFFFFFF, true},
    };
    for (const Case& c : cases) {
        CQVNSettings s;
        s.ClearColumns();
        s.ParseFieldSetting(kFieldUrl, c.text);
        EXPECT_EQ(s.GetColumnCount(), c.column ? 1 : 0) << c.text;
        EXPECT_EQ(s.GetFieldWidth(kFieldUrl), c.width) << c.text;
        EXPECT_EQ(s.IsIgnoredFieldShown(kFieldUrl), c.shown) << c.text;
    }
}

TEST(AppearanceSettings, MissingValuesAreNotColumns) {
    CMemorySettingsStore store;
    store.CreateKey(kKey);
    store.WriteString(kKey, "year", "1,60,1");
    store.WriteDWord(kKey, "ShowIF", 1);
    CQVNSettings s;
    s.Load(store);
    ASSERT_EQ(s.GetColumnCount(), 1);
    EXPECT_EQ(s.GetColumnField(0), kFieldYear);
    EXPECT_EQ(s.GetColumnWidth(0), 60);
    EXPECT_EQ(s.GetFieldWidth(kFieldAuthor), 120); // default kept
    EXPECT_TRUE(s.GetShowIgnoredFields());
}

TEST(AppearanceSettings, TheBackupIsKeptUnlessStoredOff) {
    CMemorySettingsStore store;
    CQVNSettings off;
    off.SetKeepBackup(false);
    off.Save(store);
    EXPECT_EQ(store.ReadDWord(kKey, "KeepBackup"), 0u);
    CQVNSettings loaded;
    loaded.Load(store);
    EXPECT_FALSE(loaded.GetKeepBackup());
    loaded.Reset();
    EXPECT_TRUE(loaded.GetKeepBackup());

    // Settings written before the value existed keep the backup.
    CMemorySettingsStore older;
    older.CreateKey(kKey);
    older.WriteDWord(kKey, "ShowIF", 0);
    loaded.SetKeepBackup(false);
    loaded.Load(older);
    EXPECT_TRUE(loaded.GetKeepBackup());
}

TEST(AppearanceSettings, SaveStopsAtTheFirstFailedWrite) {
    CMemorySettingsStore store;
    store.FailWritesAfter(2);
    CQVNSettings s;
    s.SetShowIgnoredFields(true);
    s.Save(store);
    EXPECT_TRUE(store.ReadString(kKey, "address").has_value());
    EXPECT_FALSE(store.ReadString(kKey, "affiliation").has_value());
    EXPECT_FALSE(store.ReadDWord(kKey, "ShowIF").has_value());

    CMemorySettingsStore locked;
    locked.FailCreate(true);
    s.Save(locked);
    EXPECT_TRUE(locked.Values().empty());
}

} // namespace
