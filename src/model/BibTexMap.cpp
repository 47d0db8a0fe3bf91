#include "model/BibTexMap.h"

#include "model/Archive.h"
#include "model/TextUtil.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <utility>

CBibTexMap::KeyMap* CBibTexMap::FindFile(std::string_view name) const {
    const auto* file = m_files.find(name);
    return file == nullptr ? nullptr : file->get();
}

const CBibTexMap::KeyMap* CBibTexMap::Items(std::string_view fileName) const {
    return FindFile(fileName);
}

CBibTexMap::KeyMap& CBibTexMap::CreateFile(std::string_view name) {
    FileChanging(name);
    return *m_files.set(name, std::make_unique<KeyMap>());
}

bool CBibTexMap::AddFile(std::string_view name) {
    if (m_files.contains(name)) {
        return false;
    }
    CreateFile(name);
    return true;
}

void CBibTexMap::MakeUniqueFileName(std::string& name) const {
    if (name.empty()) {
        name = "New File";
    }
    if (!HasFile(name)) {
        return;
    }
    for (int n = 1;; ++n) {
        std::string candidate = name + " (" + std::to_string(n) + ")";
        if (!HasFile(candidate)) {
            name = std::move(candidate);
            return;
        }
    }
}

bool CBibTexMap::RenameFile(std::string_view oldName, std::string_view newName) {
    // No item can be filed under an empty name (see Add), so no file gets it.
    if (newName.empty()) {
        return false;
    }
    const bool sameIgnoringCase = qvn::EqualsNoCase(oldName, newName);
    if (HasFile(newName)) {
        return sameIgnoringCase;
    }
    if (HasFile(oldName)) {
        if (sameIgnoringCase) {
            return true; // a change of letter case alone is not carried out
        }
        FileChanging(oldName);
        FileChanging(newName);
        for (const auto& [key, item] : *FindFile(oldName)) {
            ItemChanging(*item);
        }
        m_files.rename(oldName, newName);
        m_blocks.rename(oldName, newName);
        for (const auto& [key, item] : *FindFile(newName)) {
            item->SetFileName(std::string(newName));
        }
        return true;
    }
    CreateFile(newName);
    return true;
}

bool CBibTexMap::RemoveFile(std::string_view name) {
    KeyMap* items = FindFile(name);
    if (items == nullptr) {
        return false;
    }
    FileChanging(name);
    for (const auto& [key, item] : *items) {
        ItemChanging(*item);
        if (m_deletionObserver != nullptr) {
            m_deletionObserver->OnItemDeleting(*item);
        }
        UnindexKey(key);
    }
    m_files.erase(name);
    m_blocks.erase(name);
    return true;
}

void CBibTexMap::RemoveAll() {
    if (m_deletionObserver != nullptr) {
        m_deletionObserver->OnAllItemsDeleting();
    }
    m_keys.clear();
    m_files.clear();
    m_blocks.clear();
}

int CBibTexMap::GetCount(std::string_view name) const {
    if (name.empty()) {
        return GetTotalCount();
    }
    const KeyMap* items = FindFile(name);
    return items == nullptr ? 0 : static_cast<int>(items->size());
}

CBibTexEntry* CBibTexMap::Lookup(std::string_view fileName, std::string_view key) const {
    const KeyMap* items = FindFile(fileName);
    if (items == nullptr) {
        return nullptr;
    }
    const auto* item = items->find(key);
    return item == nullptr ? nullptr : item->get();
}

CBibTexEntry* CBibTexMap::FindKey(std::string_view key, std::string& fileName) const {
    fileName.clear();
    CBibTexEntry* item = FindKey(key);
    if (item != nullptr) {
        fileName = item->GetFileName();
    }
    return item;
}

CBibTexEntry* CBibTexMap::FindKey(std::string_view key) const {
    const KeyRecord* record = m_keys.find(key);
    return record == nullptr ? nullptr : record->item;
}

bool CBibTexMap::MakeUniqueKey(std::string& key) const {
    const KeyRecord* record = m_keys.find(key);
    if (record == nullptr) {
        return true;
    }
    std::string candidate = key + 'a';
    for (int letter = record->suffixesTaken; letter < 26; ++letter) {
        candidate.back() = static_cast<char>('a' + letter);
        if (!m_keys.contains(candidate)) {
            key = std::move(candidate);
            return true;
        }
    }
    return false;
}

bool CBibTexMap::IndexKey(std::string& key, CBibTexEntry* item, KeyMap* file) {
    const auto [taken, inserted] = m_keys.insert(key, KeyRecord{item, file, 0});
    if (inserted) {
        return true;
    }
    std::string candidate = key + 'a';
    for (int letter = taken->suffixesTaken; letter < 26; ++letter) {
        candidate.back() = static_cast<char>('a' + letter);
        if (!m_keys.contains(candidate)) {
            taken->suffixesTaken = letter + 1; // before the insert moves records
            m_keys.insert(candidate, KeyRecord{item, file, 0});
            key = std::move(candidate);
            return true;
        }
    }
    taken->suffixesTaken = 26;
    return false;
}

void CBibTexMap::UnindexKey(std::string_view key) {
    // A freed suffix letter lowers its base key's count of taken suffixes.
    if (!key.empty() && key.back() >= 'a' && key.back() <= 'z') {
        KeyRecord* base = m_keys.find(key.substr(0, key.size() - 1));
        const int letter = key.back() - 'a';
        if (base != nullptr && base->suffixesTaken > letter) {
            base->suffixesTaken = letter;
        }
    }
    m_keys.erase(key);
}

bool CBibTexMap::Add(std::unique_ptr<CBibTexEntry>&& item) {
    std::unique_ptr<CBibTexEntry> owned = std::move(item);
    const bool added = Add(owned);
    item = std::move(owned);
    return added;
}

bool CBibTexMap::Add(std::unique_ptr<CBibTexEntry>& item) {
    if (!item || item->GetFileName().empty()) {
        return false;
    }
    FileChanging(item->GetFileName());
    KeyMap* items = FindFile(item->GetFileName());
    if (items == nullptr) {
        items = &CreateFile(item->GetFileName());
    }
    std::string key = item->GetKey();
    if (!IndexKey(key, item.get(), items)) {
        return false;
    }
    if (m_recorder != nullptr) {
        m_recorder->OnKeyAdded(key);
    }
    item->SetKey(key);
    items->set(key, std::move(item));
    return true;
}

std::unique_ptr<CBibTexEntry> CBibTexMap::Detach(std::string_view key) {
    const KeyRecord* record = m_keys.find(key);
    if (record == nullptr) {
        return nullptr;
    }
    KeyMap* items = record->file;
    ItemChanging(*record->item);
    FileChanging(record->item->GetFileName());
    UnindexKey(key);
    auto taken = items->take(key);
    return taken ? std::move(*taken) : nullptr;
}

bool CBibTexMap::Delete(std::string_view key) {
    std::unique_ptr<CBibTexEntry> item = Detach(key);
    if (!item) {
        return false;
    }
    if (m_deletionObserver != nullptr) {
        m_deletionObserver->OnItemDeleting(*item);
    }
    return true;
}

bool CBibTexMap::MoveItem(CBibTexEntry* item, std::string_view newFileName) {
    // No item can be filed under an empty name: refuse before detaching, so
    // that the item is neither lost nor moved within its own file.
    if (item == nullptr || newFileName.empty()) {
        return false;
    }
    // Copy the key: detaching may destroy the map's copy of it.
    const std::string key = item->GetKey();
    std::unique_ptr<CBibTexEntry> owned = Detach(key);
    if (!owned) {
        return false;
    }
    owned->SetFileName(std::string(newFileName));
    // Its own key was just freed, so the add cannot fail.
    return Add(owned);
}

bool CBibTexMap::IsValueInUse(std::string_view text) const {
    for (const auto& [name, items] : m_files) {
        for (const auto& [key, item] : *items) {
            if (item->HasValue(text)) {
                return true;
            }
        }
    }
    return false;
}

void CBibTexMap::ReplaceValueEverywhere(std::string_view oldText, std::string_view newText) {
    for (const auto& [name, items] : m_files) {
        for (const auto& [key, item] : *items) {
            if (m_recorder != nullptr && item->HasValue(oldText)) {
                m_recorder->OnItemChanging(*item);
            }
            item->ReplaceValue(oldText, newText);
        }
    }
}

namespace {

// Replaces `find` in `value`, left to right without overlap; returns the count.
int ReplaceAll(std::string& value, std::string_view find, std::string_view replace,
               bool matchCase) {
    if (find.empty()) {
        return 0;
    }
    int count = 0;
    std::string out;
    if (matchCase) {
        std::size_t pos = 0;
        for (;;) {
            const std::size_t hit = value.find(find, pos);
            if (hit == std::string::npos) {
                break;
            }
            out.append(value, pos, hit - pos);
            out += replace;
            pos = hit + find.size();
            ++count;
        }
        if (count > 0) {
            out.append(value, pos);
            value = std::move(out);
        }
        return count;
    }
    // Without match case both sides are compared lower-cased, character by
    // character, so a match is always a whole number of characters of the
    // original value.
    const std::string lowerFind = qvn::ToLower(find);
    std::vector<std::size_t> starts; // byte offset in value of each character
    std::string lowerValue;
    std::vector<std::size_t> lowerStart; // offset in lowerValue of each character
    for (std::size_t pos = 0; pos < value.size();) {
        const qvn::Utf8Char c = qvn::DecodeChar(value, pos);
        starts.push_back(pos);
        lowerStart.push_back(lowerValue.size());
        lowerValue += qvn::ToLower(std::string_view(value).substr(pos, c.length));
        pos += c.length;
    }
    starts.push_back(value.size());
    lowerStart.push_back(lowerValue.size());
    std::size_t ci = 0;     // current character index
    std::size_t copied = 0; // bytes of value already copied or replaced
    while (ci < starts.size() - 1) {
        const std::size_t lpos = lowerStart[ci];
        if (lowerValue.compare(lpos, lowerFind.size(), lowerFind) == 0) {
            // Find the character where the match ends.
            std::size_t cj = ci;
            while (cj < lowerStart.size() && lowerStart[cj] < lpos + lowerFind.size()) {
                ++cj;
            }
            if (cj < lowerStart.size() && lowerStart[cj] == lpos + lowerFind.size()) {
                out.append(value, copied, starts[ci] - copied);
                out += replace;
                copied = starts[cj];
                ci = cj;
                ++count;
                continue;
            }
        }
        ++ci;
    }
    if (count > 0) {
        out.append(value, copied);
        value = std::move(out);
    }
    return count;
}

} // namespace

int CBibTexMap::ReplaceInField(const CFieldRef& field, std::string_view find,
                               std::string_view replace, bool matchCase) {
    int total = 0;
    for (const auto& [name, items] : m_files) {
        for (const auto& [key, item] : *items) {
            const std::string_view stored = field.ValueOf(*item);
            if (stored.empty()) {
                continue;
            }
            std::string value(CTexObject::StripOneGroup(stored));
            const int n = ReplaceAll(value, find, replace, matchCase);
            if (n > 0) {
                ItemChanging(*item);
                field.StoreTyped(*item, value);
                total += n;
            }
        }
    }
    return total;
}

CBibTexMap::Unbalanced CBibTexMap::FindUnbalancedReplacement(const CFieldRef& field,
                                                             std::string_view find,
                                                             std::string_view replace,
                                                             bool matchCase) const {
    Unbalanced result;
    for (const auto& [name, items] : m_files) {
        for (const auto& [key, item] : *items) {
            const std::string_view stored = field.ValueOf(*item);
            if (stored.empty()) {
                continue;
            }
            std::string value(CTexObject::StripOneGroup(stored));
            if (ReplaceAll(value, find, replace, matchCase) > 0 &&
                !CTexObject::HasBalancedBraces(value) && result.count++ == 0) {
                result.firstKey = key;
            }
        }
    }
    return result;
}

const std::vector<CBibTexBlock>* CBibTexMap::GetBlocks(std::string_view fileName) const {
    return m_blocks.find(fileName);
}

void CBibTexMap::AddBlock(std::string_view fileName, CBibTexBlock block) {
    FileChanging(fileName);
    if (!HasFile(fileName)) {
        CreateFile(fileName);
    }
    if (std::vector<CBibTexBlock>* blocks = m_blocks.find(fileName)) {
        blocks->push_back(std::move(block));
    } else {
        m_blocks.set(fileName, std::vector<CBibTexBlock>{std::move(block)});
    }
}

void CBibTexMap::SetBlocks(std::string_view fileName, std::vector<CBibTexBlock> blocks) {
    FileChanging(fileName);
    if (!HasFile(fileName)) {
        CreateFile(fileName);
    }
    if (blocks.empty()) {
        m_blocks.erase(fileName);
    } else {
        m_blocks.set(fileName, std::move(blocks));
    }
}

int CBibTexMap::GetBlockCount() const {
    std::size_t count = 0;
    for (const auto& [name, blocks] : m_blocks) {
        count += blocks.size();
    }
    return static_cast<int>(count);
}

int CBibTexMap::CopyAllFrom(const CBibTexMap& source, std::vector<CBibTexEntry*>& added) {
    added.clear();
    for (const auto& [name, items] : source.m_files) {
        for (const auto& [key, item] : *items) {
            auto copy = std::make_unique<CBibTexEntry>(*item);
            CBibTexEntry* raw = copy.get();
            if (Add(copy)) {
                added.push_back(raw);
            }
        }
    }
    return static_cast<int>(added.size());
}

int CBibTexMap::MoveAllFrom(CBibTexMap& source, const std::function<void(CBibTexEntry&)>& prepare) {
    int added = 0;
    for (const auto& [name, file] : source.m_files) {
        auto& taken = const_cast<std::unique_ptr<KeyMap>&>(file);
        bool clash = false;
        for (const auto& [key, item] : *taken) {
            if (m_keys.contains(key)) {
                clash = true;
                break;
            }
        }
        if (!HasFile(name) && !clash) {
            // A new file whose keys are all free (the usual import): take
            // its key map whole instead of refiling item by item.
            KeyMap* map = taken.get();
            FileChanging(name);
            m_keys.reserve(m_keys.size() + map->size());
            for (const auto& [key, item] : *map) {
                prepare(*item);
                m_keys.insert(key, KeyRecord{item.get(), map, 0});
                if (m_recorder != nullptr) {
                    m_recorder->OnKeyAdded(key);
                }
            }
            added += static_cast<int>(map->size());
            m_files.set(name, std::move(taken));
            continue;
        }
        Reserve(name, taken->size());
        for (const auto& [key, item] : *taken) {
            auto owned = std::move(const_cast<std::unique_ptr<CBibTexEntry>&>(item));
            prepare(*owned);
            if (Add(owned)) {
                ++added;
            }
        }
    }
    for (const auto& [name, blocks] : source.m_blocks) {
        const std::vector<CBibTexBlock>* held = GetBlocks(name);
        for (const CBibTexBlock& block : blocks) {
            // The same file imported twice keeps its preamble once.
            if (held == nullptr || std::find(held->begin(), held->end(), block) == held->end()) {
                AddBlock(name, block);
                held = GetBlocks(name);
            }
        }
    }
    // The items now belong to this map or were deleted: nothing to tell.
    source.m_keys.clear();
    source.m_files.clear();
    source.m_blocks.clear();
    return added;
}

void CBibTexMap::ReorderFile(std::string_view fileName, const std::vector<std::string>& keys) {
    KeyMap* file = FindFile(fileName);
    if (file == nullptr) {
        return;
    }
    FileChanging(fileName);
    KeyMap ordered;
    ordered.reserve(file->size());
    for (const std::string& key : keys) {
        if (auto taken = file->take(key)) {
            ordered.set(key, std::move(*taken));
        }
    }
    // Keys the list lacks keep their order behind the others.
    std::vector<std::string> rest;
    for (const auto& [key, item] : *file) {
        rest.push_back(key);
    }
    for (const std::string& key : rest) {
        ordered.set(key, std::move(*file->take(key)));
    }
    // The index points at the key map itself: refill it in place.
    *file = std::move(ordered);
}

void CBibTexMap::ReorderFiles(const std::vector<std::string>& names) {
    FileMap files;
    qvn::OrderedMap<std::vector<CBibTexBlock>> blocks;
    auto takeOne = [&](const std::string& name) {
        if (auto taken = m_files.take(name)) {
            files.set(name, std::move(*taken));
        }
        if (auto taken = m_blocks.take(name)) {
            blocks.set(name, std::move(*taken));
        }
    };
    for (const std::string& name : names) {
        FileChanging(name);
        takeOne(name);
    }
    std::vector<std::string> rest;
    for (const auto& [name, file] : m_files) {
        rest.push_back(name);
    }
    for (const std::string& name : rest) {
        takeOne(name);
    }
    m_files = std::move(files);
    m_blocks = std::move(blocks);
}

void CBibTexMap::Reserve(std::string_view fileName, std::size_t additional) {
    m_keys.reserve(m_keys.size() + additional);
    if (KeyMap* file = FindFile(fileName)) {
        file->reserve(file->size() + additional);
    }
}

void CBibTexMap::SwapContents(CBibTexMap& other) noexcept {
    std::swap(m_files, other.m_files);
    std::swap(m_keys, other.m_keys);
    std::swap(m_blocks, other.m_blocks);
}

void CBibTexMap::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteInt32(static_cast<std::int32_t>(m_files.size()));
        for (const auto& [name, items] : m_files) {
            ar.WriteString(name);
            ar.WriteInt32(static_cast<std::int32_t>(items->size()));
            for (const auto& [key, item] : *items) {
                ar.WriteString(key);
                item->Serialize(ar);
                ar.Tick();
            }
        }
        return;
    }
    RemoveAll();
    std::unordered_map<std::string, std::uint64_t> numbered; // last number per key
    const std::int32_t fileCount = ar.ReadInt32();
    // A file record takes at least 5 bytes, an item (key and record) 10.
    if (fileCount < 0) {
        throw CArchiveError(CArchiveError::Kind::EndOfFile, "negative file count");
    }
    ar.CheckCount(static_cast<std::uint64_t>(fileCount), 5);
    for (std::int32_t f = 0; f < fileCount; ++f) {
        const std::string name = ar.ReadString();
        // A repeated file name replaces the earlier file.
        RemoveFile(name);
        KeyMap& items = CreateFile(name);
        const std::int32_t itemCount = ar.ReadInt32();
        if (itemCount < 0) {
            throw CArchiveError(CArchiveError::Kind::EndOfFile, "negative item count");
        }
        // The smallest item record: three empty strings, the type and a count
        // of no values.
        ar.CheckCount(static_cast<std::uint64_t>(itemCount), 9);
        for (std::int32_t i = 0; i < itemCount; ++i) {
            std::string key = ar.ReadString();
            auto item = std::make_unique<CBibTexEntry>();
            item->Serialize(ar);
            ar.Tick();
            if (item->GetType() < 0 || item->GetType() >= kEntryTypeCount) {
                throw CArchiveError(CArchiveError::Kind::EndOfFile, "unknown entry type");
            }
            // The item is filed where it stands, under the key of the file
            // record; its own file name and key follow that place.
            item->SetFileName(name);
            if (const KeyRecord* held = m_keys.find(key); held != nullptr && held->file == &items) {
                // The same key twice in one file: the later item wins.
                if (m_deletionObserver != nullptr) {
                    m_deletionObserver->OnItemDeleting(*items.find(key)->get());
                }
                items.erase(key);
                UnindexKey(key);
            }
            if (!IndexKey(key, item.get(), &items)) {
                // Keys stay unique over all files. When every one-letter
                // suffix is taken, a numbered one keeps the item rather than
                // dropping it unseen; counting on from the last number used
                // keeps a hostile file from making this slow.
                std::uint64_t& number = numbered[key];
                std::string candidate;
                do {
                    candidate = key + '-' + std::to_string(++number);
                } while (!m_keys.insert(candidate, KeyRecord{item.get(), &items, 0}).second);
                key = std::move(candidate);
            }
            item->SetKey(key);
            items.set(key, std::move(item));
        }
    }
}

bool CBibTexMap::IsConsistent() const {
    std::size_t total = 0;
    for (const auto& [name, items] : m_files) {
        for (const auto& [key, item] : *items) {
            ++total;
            if (!item || item->GetKey() != key || item->GetFileName() != name) {
                return false;
            }
            const KeyRecord* record = m_keys.find(key);
            if (record == nullptr || record->item != item.get() || record->file != items.get()) {
                return false;
            }
        }
    }
    if (total != m_keys.size()) {
        return false;
    }
    for (const auto& [name, blocks] : m_blocks) {
        if (!HasFile(name) || blocks.empty()) {
            return false;
        }
    }
    // Every suffix that a key counts as taken is taken.
    for (const auto& [key, record] : m_keys) {
        for (int letter = 0; letter < record.suffixesTaken; ++letter) {
            if (!m_keys.contains(key + static_cast<char>('a' + letter))) {
                return false;
            }
        }
    }
    return true;
}
