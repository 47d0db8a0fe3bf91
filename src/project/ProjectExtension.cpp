#include "project/ProjectExtension.h"

#include "model/Archive.h"
#include "model/BibTexMap.h"
#include "model/TextUtil.h"

#include <string>
#include <unordered_set>
#include <vector>

namespace {

constexpr int kMiscType = 10;

bool HasExtras(const CBibTexEntry& item) {
    return item.HasOtherType() || item.GetOtherFieldCount() > 0;
}

[[noreturn]] void Inconsistent(const char* what) {
    throw CArchiveError(CArchiveError::Kind::EndOfFile, what);
}

void WriteFileRecord(CArchive& out, std::string_view name, const CBibTexMap::KeyMap& items,
                     const std::vector<CBibTexBlock>* blocks) {
    out.WriteString(name);
    out.WriteCount(blocks == nullptr ? 0 : static_cast<std::uint32_t>(blocks->size()));
    if (blocks != nullptr) {
        for (const CBibTexBlock& block : *blocks) {
            out.WriteInt32(static_cast<std::int32_t>(block.kind));
            out.WriteString(block.text);
        }
    }
    std::uint32_t count = 0;
    for (const auto& [key, item] : items) {
        count += HasExtras(*item) ? 1 : 0;
    }
    out.WriteCount(count);
    for (const auto& [key, item] : items) {
        if (!HasExtras(*item)) {
            continue;
        }
        out.WriteString(key);
        out.WriteString(item->HasOtherType() ? item->GetTypeName() : std::string_view());
        out.WriteCount(static_cast<std::uint32_t>(item->GetOtherFieldCount()));
        item->ForEachOtherField([&](std::string_view field, std::string_view value) {
            out.WriteString(field);
            out.WriteString(value);
        });
    }
}

// Room for the texts of one item record, kept from item to item: most
// texts are views into the file's bytes, a converted one lives here.
struct RecordScratch {
    std::string key;
    std::vector<std::string> converted;
    std::vector<CFieldValues::Part> parts;
};

void ReadItemRecord(CArchive& in, CBibTexEntry& item, RecordScratch& scratch) {
    const std::string typeName = in.ReadString();
    if (!typeName.empty()) {
        // Stored as misc in the plain layout; the name must be one the
        // catalogue lacks.
        if (item.GetType() != kMiscType || !item.SetTypeName(typeName) || !item.HasOtherType()) {
            Inconsistent("entry type of the extension block");
        }
    }
    const std::uint32_t fields = in.ReadCount();
    in.CheckCount(fields, 2);
    if (typeName.empty() && fields == 0) {
        Inconsistent("empty item record");
    }
    // Sized before any view into it is taken.
    if (scratch.converted.size() < 2 * std::size_t{fields}) {
        scratch.converted.resize(2 * std::size_t{fields});
    }
    scratch.parts.clear();
    for (std::uint32_t i = 0; i < fields; ++i) {
        const std::string_view name = in.ReadStringView(scratch.converted[2 * i]);
        const std::string_view value = in.ReadStringView(scratch.converted[2 * i + 1]);
        if (!IsBibTexName(name) || FindField(name) >= 0 || value.empty()) {
            Inconsistent("field of the extension block");
        }
        for (std::size_t j = 0; j < scratch.parts.size(); j += 2) {
            if (qvn::EqualsNoCase(scratch.parts[j].text, name)) {
                Inconsistent("field of the extension block");
            }
        }
        scratch.parts.push_back({CFieldValues::kOtherNameTag, name});
        scratch.parts.push_back({CFieldValues::kOtherValueTag, value});
    }
    item.AppendOtherFields(scratch.parts);
}

void ReadRecords(CArchive& in, CBibTexMap& items) {
    const std::uint32_t files = in.ReadCount();
    in.CheckCount(files, 5);
    std::unordered_set<std::string> seenFiles;
    RecordScratch scratch;
    for (std::uint32_t f = 0; f < files; ++f) {
        const std::string name = in.ReadString();
        if (!items.HasFile(name) || !seenFiles.insert(name).second) {
            Inconsistent("file of the extension block");
        }
        const std::uint32_t blockCount = in.ReadCount();
        in.CheckCount(blockCount, 5);
        std::vector<CBibTexBlock> blocks;
        blocks.reserve(blockCount);
        for (std::uint32_t b = 0; b < blockCount; ++b) {
            const std::int32_t kind = in.ReadInt32();
            if (kind != static_cast<std::int32_t>(CBibTexBlock::Kind::Preamble) &&
                kind != static_cast<std::int32_t>(CBibTexBlock::Kind::Comment)) {
                Inconsistent("block kind");
            }
            std::string text = in.ReadString();
            if (text.empty()) {
                Inconsistent("empty block");
            }
            blocks.push_back({static_cast<CBibTexBlock::Kind>(kind), std::move(text)});
        }
        const std::uint32_t itemCount = in.ReadCount();
        in.CheckCount(itemCount, 4);
        if (blockCount == 0 && itemCount == 0) {
            Inconsistent("empty file record");
        }
        items.SetBlocks(name, std::move(blocks));
        for (std::uint32_t i = 0; i < itemCount; ++i) {
            const std::string_view key = in.ReadStringView(scratch.key);
            CBibTexEntry* item = items.Lookup(name, key);
            // The plain layout gives no item anything beyond the catalogue:
            // one that has it already was named twice.
            if (item == nullptr || HasExtras(*item)) {
                Inconsistent("item of the extension block");
            }
            ReadItemRecord(in, *item, scratch);
        }
    }
}

} // namespace

bool CProjectExtension::IsNeeded(const CBibTexMap& items) {
    if (items.HasBlocks()) {
        return true;
    }
    for (const auto& [name, file] : items.Files()) {
        for (const auto& [key, item] : *file) {
            if (HasExtras(*item)) {
                return true;
            }
        }
    }
    return false;
}

void CProjectExtension::Write(CArchive& archive, const CBibTexMap& items) {
    if (!IsNeeded(items)) {
        return; // the plain layout, byte for byte
    }
    CArchive records;
    std::uint32_t fileCount = 0;
    for (const auto& [name, file] : items.Files()) {
        bool needed = items.GetBlocks(name) != nullptr;
        for (const auto& [key, item] : *file) {
            needed = needed || HasExtras(*item);
        }
        fileCount += needed ? 1 : 0;
    }
    records.WriteCount(fileCount);
    for (const auto& [name, file] : items.Files()) {
        const std::vector<CBibTexBlock>* blocks = items.GetBlocks(name);
        bool needed = blocks != nullptr;
        for (const auto& [key, item] : *file) {
            needed = needed || HasExtras(*item);
        }
        if (needed) {
            WriteFileRecord(records, name, *file, blocks);
        }
    }
    archive.WriteRaw(kTag);
    archive.WriteInt32(kVersion);
    archive.WriteUInt64(records.Buffer().size());
    archive.WriteRaw(records.Buffer());
}

CProjectExtension::ReadResult CProjectExtension::Read(std::string_view rest, CBibTexMap& items) {
    // Whatever else follows the reserved value is ignored, as by every
    // reader of the plain layout.
    if (rest.substr(0, kTag.size()) != kTag) {
        return ReadResult::None;
    }
    CArchive in(rest.substr(kTag.size()));
    const std::int32_t version = in.ReadInt32();
    const std::uint64_t length = in.ReadUInt64();
    const std::string_view records = in.ReadRaw(length); // truncated: end of data
    if (version < 1) {
        Inconsistent("extension block version");
    }
    if (version > kVersion) {
        return ReadResult::Newer;
    }
    CArchive recordArchive(records);
    ReadRecords(recordArchive, items);
    if (recordArchive.Remaining() != 0) {
        Inconsistent("extension block length");
    }
    return ReadResult::Read;
}
