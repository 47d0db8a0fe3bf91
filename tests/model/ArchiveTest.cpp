#include "model/Archive.h"

#include "TestSupport.h"
#include "model/BibTexMap.h"
#include "model/BibTexStringTable.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <new>
#include <string>
#include <vector>

using testsupport::Bytes;
using testsupport::Le32;
using testsupport::Le64;

// Records the largest single allocation while a probe is active, to show that
// hostile counts are refused before anything is allocated for them.
namespace {
std::atomic<bool> g_probing{false};
std::atomic<std::size_t> g_largest{0};
} // namespace

// The replacements pair malloc with free on purpose.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
    if (g_probing.load(std::memory_order_relaxed)) {
        std::size_t seen = g_largest.load(std::memory_order_relaxed);
        while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
        }
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

// Runs `load` on `data`, expecting an archive error of `kind`; returns the
// largest single allocation made meanwhile.
std::size_t ExpectArchiveError(const std::string& data, CArchiveError::Kind kind,
                               const std::function<void(CArchive&)>& load,
                               const std::string& label) {
    CArchive in(data);
    g_largest = 0;
    g_probing = true;
    try {
        load(in);
        ADD_FAILURE() << label << ": no error";
    } catch (const CArchiveError& error) {
        EXPECT_EQ(error.GetKind(), kind) << label << ": " << error.what();
    }
    g_probing = false;
    return g_largest;
}

TEST(Archive, StringLengthPrefixAtEveryBoundary) {
    const struct {
        std::uint64_t length;
        std::string prefix;
    } cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {256, Bytes({0xFF, 0x00, 0x01})},
        {65533, Bytes({0xFF, 0xFD, 0xFF})},
        {65534, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {65535, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {0xFFFFFFFEull, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF})},
        {0xFFFFFFFFull, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                               0x00, 0x00, 0x00, 0x00})},
        {0x100000000ull, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,
                                0x01, 0x00, 0x00, 0x00})},
    };
    for (const auto& c : cases) {
        std::string out;
        CArchive::WriteStringLength(out, c.length);
        EXPECT_EQ(out, c.prefix) << c.length;
    }
}

TEST(Archive, StringsRoundTripAtEveryBoundary) {
    for (std::size_t length : {0u, 1u, 254u, 255u, 256u, 65533u, 65534u, 65535u, 70000u}) {
        std::string text(length, 'x');
        if (length > 0) {
            text.front() = '\0'; // any byte may stand in a string
            text.back() = '\xFF';
        }
        CArchive out;
        out.WriteString(text);
        std::string expected;
        CArchive::WriteStringLength(expected, length);
        EXPECT_EQ(out.Buffer().substr(0, expected.size()), expected) << length;
        CArchive in(out.Buffer());
        EXPECT_EQ(in.ReadString(), text) << length;
        EXPECT_EQ(in.Remaining(), 0u);
    }
}

TEST(Archive, CountsAndIntegers) {
    const struct {
        std::uint32_t count;
        std::string bytes;
    } counts[] = {
        {0, Bytes({0x00, 0x00})},
        {38, Bytes({0x26, 0x00})},
        {0xFFFE, Bytes({0xFE, 0xFF})},
        {0xFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00})},
        {0x10000, Bytes({0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00})},
        {0xFFFFFFFF, Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF})},
    };
    for (const auto& c : counts) {
        CArchive out;
        out.WriteCount(c.count);
        EXPECT_EQ(out.Buffer(), c.bytes) << c.count;
        CArchive in(c.bytes);
        EXPECT_EQ(in.ReadCount(), c.count);
    }
    const struct {
        std::int32_t value;
        std::string bytes;
    } ints[] = {
        {0, Bytes({0, 0, 0, 0})},
        {-1, Bytes({0xFF, 0xFF, 0xFF, 0xFF})},
        {0x12345678, Bytes({0x78, 0x56, 0x34, 0x12})},
        {INT32_MIN, Bytes({0x00, 0x00, 0x00, 0x80})},
    };
    for (const auto& c : ints) {
        CArchive out;
        out.WriteInt32(c.value);
        EXPECT_EQ(out.Buffer(), c.bytes) << c.value;
        CArchive in(c.bytes);
        EXPECT_EQ(in.ReadInt32(), c.value);
    }
}

TEST(Archive, WideStringsAreReadAsUtf8) {
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {Bytes({0xFF, 0xFE, 0xFF, 0x02, 'h', 0, 'i', 0}), "hi"},
        {Bytes({0xFF, 0xFE, 0xFF, 0x01, 0xE4, 0x00}), "\xC3\xA4"},     // ä
        {Bytes({0xFF, 0xFE, 0xFF, 0x01, 0xAC, 0x20}), "\xE2\x82\xAC"}, // €
        {Bytes({0xFF, 0xFE, 0xFF, 0x02, 0x3D, 0xD8, 0x00, 0xDE}), "\xF0\x9F\x98\x80"},
        {Bytes({0xFF, 0xFE, 0xFF, 0x01, 0x00, 0xD8}), "\xEF\xBF\xBD"}, // lone surrogate
        {Bytes({0xFF, 0xFE, 0xFF, 0x00}), ""},
        // 16-bit and 32-bit lengths after the wide marker.
        {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0x03, 0x00, 'a', 0, 'b', 0, 'c', 0}), "abc"},
        {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + Le32(2) + Bytes({'o', 0, 'k', 0}), "ok"},
        {Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}) + Le32(0xFFFFFFFF) + Le64(1) + Bytes({'z', 0}),
         "z"},
    };
    for (const auto& c : cases) {
        const std::string data = c.bytes + "rest"; // the archive only views its data
        CArchive in(data);
        EXPECT_EQ(in.ReadString(), c.text);
        EXPECT_EQ(in.Remaining(), 4u);
    }
}

TEST(Archive, LongLengthsAndTruncatedData) {
    using Kind = CArchiveError::Kind;
    const std::string long64 = Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    const std::string wide64 = Bytes({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    const struct {
        const char* label;
        std::string bytes;
        Kind kind;
    } cases[] = {
        {"64-bit above 0x7FFFFFFF", long64 + Le64(0x80000000ull) + "abc", Kind::Generic},
        {"64-bit all ones", long64 + Le64(~0ull), Kind::Generic},
        {"wide 64-bit above 0x7FFFFFFF", wide64 + Le64(0x80000000ull), Kind::Generic},
        {"64-bit 0x7FFFFFFF, data missing", long64 + Le64(0x7FFFFFFFull) + "abc", Kind::EndOfFile},
        {"empty", "", Kind::EndOfFile},
        {"fewer bytes than announced", Bytes({0x05}) + "abc", Kind::EndOfFile},
        {"16-bit length cut", Bytes({0xFF, 0x00}), Kind::EndOfFile},
        {"32-bit length cut", Bytes({0xFF, 0xFF, 0xFF, 0x01, 0x00}), Kind::EndOfFile},
        {"32-bit length, data missing", Bytes({0xFF, 0xFF, 0xFF}) + Le32(0xFFFFFFFE) + "abc",
         Kind::EndOfFile},
        {"wide, one unit missing", Bytes({0xFF, 0xFE, 0xFF, 0x02, 'h', 0}), Kind::EndOfFile},
        {"wide, half a unit", Bytes({0xFF, 0xFE, 0xFF, 0x01, 'h'}), Kind::EndOfFile},
        {"wide marker cut", Bytes({0xFF, 0xFE, 0xFF}), Kind::EndOfFile},
    };
    for (const auto& c : cases) {
        const std::size_t largest = ExpectArchiveError(
            c.bytes, c.kind, [](CArchive& in) { (void)in.ReadString(); }, c.label);
        EXPECT_LT(largest, 4096u) << c.label;
    }
    ExpectArchiveError(
        Bytes({1, 2, 3}), Kind::EndOfFile, [](CArchive& in) { in.ReadInt32(); }, "int cut");
    ExpectArchiveError(
        Bytes({0xFF, 0xFF, 1, 0}), Kind::EndOfFile, [](CArchive& in) { in.ReadCount(); },
        "count cut");
}

TEST(Archive, CheckCountAgainstTheRemainingBytes) {
    const std::string data(40, '\0');
    CArchive in(data);
    EXPECT_NO_THROW(in.CheckCount(40, 1));
    EXPECT_NO_THROW(in.CheckCount(4, 10));
    EXPECT_NO_THROW(in.CheckCount(0, 10));
    EXPECT_THROW(in.CheckCount(41, 1), CArchiveError);
    EXPECT_THROW(in.CheckCount(5, 10), CArchiveError);
    EXPECT_THROW(in.CheckCount(0xFFFFFFFFFFFFFFFFull, 1), CArchiveError);
}

// ---- The map and the string table in the project file ----

// A BibTeX files section written record by record, as a hostile or damaged
// project file might hold it.
class FilesSection {
public:
    explicit FilesSection(std::int32_t files) { m_ar.WriteInt32(files); }
    FilesSection& File(const std::string& name, std::int32_t items) {
        m_ar.WriteString(name);
        m_ar.WriteInt32(items);
        return *this;
    }
    // The map's key, then an item record of 38 values with a title.
    FilesSection& Item(const std::string& mapKey, const std::string& fileName,
                       const std::string& key, const std::string& title) {
        m_ar.WriteString(mapKey);
        m_ar.WriteString(fileName);
        m_ar.WriteString(key);
        m_ar.WriteInt32(0);
        m_ar.WriteCount(38);
        for (int field = 0; field < 38; ++field) {
            m_ar.WriteString(field == kFieldTitle ? title : std::string());
        }
        return *this;
    }
    FilesSection& Item(const std::string& key, const std::string& fileName,
                       const std::string& title) {
        return Item(key, fileName, key, title);
    }
    void LoadInto(CBibTexMap& map) const {
        CArchive in(m_ar.Buffer());
        map.Serialize(in);
    }

private:
    CArchive m_ar;
};

std::vector<std::string> KeysOf(const CBibTexMap& map, const std::string& file) {
    std::vector<std::string> keys;
    for (const auto& [key, item] : *map.Items(file)) {
        keys.push_back(key);
    }
    return keys;
}

TEST(ArchiveMap, LayoutOfOneFileWithOneArticle) {
    CBibTexMap map;
    const CBibTexEntry made("refs", "smith2000", 0);
    ASSERT_TRUE(map.Add(std::make_unique<CBibTexEntry>(made))); // a copy: 38 values
    CArchive out;
    map.Serialize(out);
    const std::string expected = Bytes({0x01, 0, 0, 0, 0x04, 'r', 'e', 'f', 's', 0x01, 0, 0, 0}) +
                                 "\x09smith2000" + "\x04refs" + "\x09smith2000" +
                                 Bytes({0, 0, 0, 0, 0x26, 0x00}) + std::string(38, '\0');
    EXPECT_EQ(out.Buffer(), expected);
}

TEST(ArchiveMap, RoundTripKeepsOrderValuesAndValueCounts) {
    CBibTexStringTable strings;
    strings.SetString("jacm", "{Journal of the ACM}");
    strings.SetString("q", "\"quoted\"");
    strings.SetString("long", "{" + std::string(300, 'l') + "}");

    CBibTexMap map;
    auto made = std::make_unique<CBibTexEntry>("zeta", "new1", 7); // 39 values
    made->SetField(kFieldTitle, "{\xC3\x84rger}", true);
    made->SetField(kFieldJournal, "jacm", true);
    made->SetField(38, "spare", true);
    ASSERT_TRUE(map.Add(made));
    CBibTexEntry original("alpha", "copy1", 0);
    original.SetField(kFieldAbstract, "{" + std::string(70000, 'a') + "}", true);
    original.SetField(kFieldYear, "2000", true);
    ASSERT_TRUE(map.Add(std::make_unique<CBibTexEntry>(original))); // 38 values
    ASSERT_TRUE(map.Add(std::make_unique<CBibTexEntry>("zeta", "b", 15)));
    ASSERT_TRUE(map.Add(std::make_unique<CBibTexEntry>("zeta", "b", 15))); // becomes ba
    map.AddFile("empty");

    CArchive out;
    strings.Serialize(out);
    map.Serialize(out);

    CArchive in(out.Buffer());
    CBibTexStringTable readStrings;
    CBibTexMap read;
    ASSERT_TRUE(read.AddFile("leftover")); // reading replaces what was there
    readStrings.Serialize(in);
    read.Serialize(in);
    EXPECT_EQ(in.Remaining(), 0u);
    EXPECT_TRUE(read.IsConsistent());

    std::vector<std::string> files;
    for (const auto& [name, items] : read.Files()) {
        files.push_back(name);
    }
    EXPECT_EQ(files, (std::vector<std::string>{"zeta", "alpha", "empty"}));
    EXPECT_EQ(KeysOf(read, "zeta"), (std::vector<std::string>{"new1", "b", "ba"}));
    map.ForEachItem([&](const CBibTexEntry& item) {
        const CBibTexEntry* other = read.FindKey(item.GetKey());
        ASSERT_NE(other, nullptr) << item.GetKey();
        EXPECT_EQ(*other, item);
        EXPECT_EQ(other->GetValueCount(), item.GetValueCount()) << item.GetKey();
    });
    EXPECT_EQ(read.FindKey("new1")->GetValueCount(), 39);
    EXPECT_EQ(read.FindKey("new1")->GetValue(38), "spare");
    EXPECT_EQ(read.FindKey("copy1")->GetValueCount(), 38);
    EXPECT_EQ(readStrings.GetCount(), 3);
    EXPECT_EQ(*readStrings.FindString("q"), "\"quoted\"");

    CArchive again;
    readStrings.Serialize(again);
    read.Serialize(again);
    EXPECT_EQ(again.Buffer(), out.Buffer()); // byte for byte
}

TEST(ArchiveMap, ItemRecordsFollowTheFileAndKeyThatHoldThem) {
    CBibTexMap map;
    FilesSection(1)
        .File("refs", 2)
        .Item("k1", "elsewhere", "{A}")
        .Item("k2", "refs", "other key", "{B}")
        .LoadInto(map);
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_FALSE(map.HasFile("elsewhere"));
    EXPECT_EQ(map.Lookup("refs", "k1")->GetFileName(), "refs");
    EXPECT_EQ(map.Lookup("refs", "k2")->GetKey(), "k2");
    EXPECT_EQ(map.FindKey("other key"), nullptr);
}

TEST(ArchiveMap, RepeatedKeysAndFiles) {
    // The same key twice in one file: the later item wins.
    {
        CBibTexMap map;
        FilesSection(1)
            .File("refs", 3)
            .Item("k", "refs", "{first}")
            .Item("m", "refs", "{middle}")
            .Item("k", "refs", "{last}")
            .LoadInto(map);
        EXPECT_TRUE(map.IsConsistent());
        EXPECT_EQ(map.GetTotalCount(), 2);
        EXPECT_EQ(map.FindKey("k")->GetValue(kFieldTitle), "{last}");
    }
    // A key of another file gets one letter appended.
    {
        CBibTexMap map;
        FilesSection(2)
            .File("a", 1)
            .Item("k", "a", "{A}")
            .File("b", 1)
            .Item("k", "b", "{B}")
            .LoadInto(map);
        EXPECT_TRUE(map.IsConsistent());
        EXPECT_EQ(map.Lookup("a", "k")->GetValue(kFieldTitle), "{A}");
        EXPECT_EQ(map.Lookup("b", "ka")->GetValue(kFieldTitle), "{B}");
    }
    // A repeated file name replaces the earlier file and frees its keys.
    {
        CBibTexMap map;
        FilesSection(2)
            .File("a", 2)
            .Item("k", "a", "{old}")
            .Item("gone", "a", "{old}")
            .File("a", 1)
            .Item("k", "a", "{new}")
            .LoadInto(map);
        EXPECT_TRUE(map.IsConsistent());
        EXPECT_EQ(map.GetTotalCount(), 1);
        EXPECT_EQ(map.FindKey("k")->GetValue(kFieldTitle), "{new}");
        EXPECT_EQ(map.FindKey("gone"), nullptr);
    }
}

TEST(ArchiveMap, NoItemIsDroppedWhenAllOneLetterKeysAreTaken) {
    FilesSection section(2);
    section.File("a", 27).Item("k", "a", "{k}");
    for (char c = 'a'; c <= 'z'; ++c) {
        section.Item(std::string("k") + c, "a", "{x}");
    }
    section.File("b", 1).Item("k", "b", "{survivor}");
    CBibTexMap map;
    section.LoadInto(map);
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_EQ(map.GetTotalCount(), 28);
    ASSERT_EQ(map.GetCount("b"), 1);
    const CBibTexEntry& survivor = *(*map.Items("b")->begin()).second;
    EXPECT_EQ(survivor.GetValue(kFieldTitle), "{survivor}");
    EXPECT_EQ(survivor.GetKey(), "k-1");
}

TEST(ArchiveMap, ThousandsOfFilesWithOneKeyAllSurvive) {
    constexpr int kFiles = 3000;
    FilesSection section(kFiles);
    for (int f = 0; f < kFiles; ++f) {
        section.File("f" + std::to_string(f), 1).Item("k", "f", "{" + std::to_string(f) + "}");
    }
    CBibTexMap map;
    section.LoadInto(map);
    EXPECT_TRUE(map.IsConsistent());
    EXPECT_EQ(map.GetTotalCount(), kFiles);
    EXPECT_EQ(map.Lookup("f1", "ka")->GetValue(kFieldTitle), "{1}");
    EXPECT_EQ(map.Lookup("f27", "k-1")->GetValue(kFieldTitle), "{27}");
    EXPECT_EQ(map.Lookup("f2999", "k-2973")->GetValue(kFieldTitle), "{2999}");
}

TEST(ArchiveMap, HostileRecordsFailAtOnce) {
    using Kind = CArchiveError::Kind;
    const auto loadMap = [](CArchive& in) {
        CBibTexMap map;
        map.Serialize(in);
    };
    const std::string refs = Bytes({0x04, 'r', 'e', 'f', 's'});
    const std::string itemHead = Bytes({0x01, 'k', 0x04, 'r', 'e', 'f', 's', 0x01, 'k'});
    const std::string oneFileOneItem = Le32(1) + refs + Le32(1) + itemHead;
    const struct {
        const char* label;
        std::string bytes;
    } cases[] = {
        {"4 billion values",
         oneFileOneItem + Le32(0) + Bytes({0xFF, 0xFF}) + Le32(0xFFFFFFFF) + std::string(12, '\0')},
        {"2 billion files", Le32(0x7FFFFFFF) + std::string(36, '\0')},
        {"2 billion items", Le32(1) + refs + Le32(0x7FFFFFFF) + std::string(31, '\0')},
        {"negative file count", Le32(0xFFFFFFFF) + std::string(36, '\0')},
        {"negative item count", Le32(1) + refs + Le32(0x80000000) + std::string(31, '\0')},
        {"entry type 16", oneFileOneItem + Le32(16) + Bytes({0x26, 0}) + std::string(38, '\0')},
        {"entry type -1",
         oneFileOneItem + Le32(0xFFFFFFFF) + Bytes({0x26, 0}) + std::string(38, '\0')},
        {"values cut short", oneFileOneItem + Le32(0) + Bytes({0x26, 0}) + std::string(37, '\0')},
        {"file name runs past the end", Le32(1) + Bytes({0xFF, 0xFF, 0xFF}) + Le32(0xFFFFFFF0)},
    };
    for (const auto& c : cases) {
        ASSERT_LE(c.bytes.size(), 100u) << c.label;
        const std::size_t largest = ExpectArchiveError(c.bytes, Kind::EndOfFile, loadMap, c.label);
        EXPECT_LT(largest, 4096u) << c.label;
    }
    // The table of strings too.
    const std::size_t largest = ExpectArchiveError(
        Bytes({0xFF, 0xFF}) + Le32(0xFFFFFFFF) + std::string(34, '\0'), Kind::EndOfFile,
        [](CArchive& in) {
            CBibTexStringTable table;
            table.Serialize(in);
        },
        "4 billion strings");
    EXPECT_LT(largest, 4096u);
}

TEST(ArchiveMap, SmallestItemRecordsStillLoad) {
    // Nine bytes each: empty key, empty file name, empty key, type 0, no values.
    // The bound that guards against huge counts must still let these through.
    for (const int count : {1, 8, 9, 12}) {
        std::string bytes = Le32(1) + Bytes({0x01, 'f'}) + Le32(static_cast<std::uint32_t>(count));
        for (int i = 0; i < count; ++i) {
            bytes += Bytes({0x00, 0x00, 0x00}) + Le32(0) + Bytes({0x00, 0x00});
        }
        CArchive in(bytes);
        CBibTexMap map;
        ASSERT_NO_THROW(map.Serialize(in)) << count << " items";
        EXPECT_TRUE(map.IsConsistent());
        EXPECT_EQ(map.GetTotalCount(), 1); // one key in one file: the last record wins
    }
}

TEST(ArchiveMap, AFailedLoadLeavesAConsistentMap) {
    CBibTexMap map;
    FilesSection section(2);
    section.File("a", 1).Item("k", "a", "{A}").File("b", 5).Item("m", "b", "{B}");
    EXPECT_THROW(section.LoadInto(map), CArchiveError); // four of five items missing
    EXPECT_TRUE(map.IsConsistent());
}

} // namespace
