// All BibTeX items of a project, grouped by BibTeX file. Citation keys are
// unique over all files; one index of all keys keeps Add, FindKey and
// MakeUniqueKey independent of the number of files. Files and the items of a
// file keep their insertion order.
#pragma once

#include "model/BibTexEntry.h"
#include "model/ChangeRecorder.h"
#include "model/FieldRef.h"
#include "model/OrderedMap.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CArchive;

// A @preamble or @comment of a BibTeX file, kept as written: the whole
// command from its '@' to its closing delimiter.
struct CBibTexBlock {
    enum class Kind : std::uint8_t { Preamble = 0, Comment = 1 };
    Kind kind = Kind::Comment;
    std::string text;

    bool operator==(const CBibTexBlock&) const = default;
};

// Told before the map deletes items it owns, so that references to them (the
// results of searches) can be dropped. Items handed out by Detach are the
// caller's.
class IItemDeletionObserver {
public:
    virtual ~IItemDeletionObserver() = default;
    virtual void OnItemDeleting(const CBibTexEntry& item) = 0;
    virtual void OnAllItemsDeleting() = 0;
};

class CBibTexMap {
public:
    using KeyMap = qvn::OrderedMap<std::unique_ptr<CBibTexEntry>>;

    CBibTexMap() = default;
    CBibTexMap(const CBibTexMap&) = delete;
    CBibTexMap& operator=(const CBibTexMap&) = delete;
    virtual ~CBibTexMap() = default;

    virtual void Serialize(CArchive& archive);

    bool HasFile(std::string_view name) const { return m_files.contains(name); }
    bool AddFile(std::string_view name);
    void MakeUniqueFileName(std::string& name) const;
    // False (nothing changes) for an empty new name.
    bool RenameFile(std::string_view oldName, std::string_view newName);
    bool RemoveFile(std::string_view name);
    void RemoveAll();
    // Exchanges files, items and blocks with `other`; each map keeps its
    // deletion observer, and no item is deleted.
    void SwapContents(CBibTexMap& other) noexcept;

    int GetFileCount() const { return static_cast<int>(m_files.size()); }
    int GetTotalCount() const { return static_cast<int>(m_keys.size()); }
    int GetCount(std::string_view name) const;

    CBibTexEntry* Lookup(std::string_view fileName, std::string_view key) const;
    CBibTexEntry* FindKey(std::string_view key, std::string& fileName) const;
    CBibTexEntry* FindKey(std::string_view key) const;

    // On success the map owns the item (its key may have a letter appended).
    // On failure the caller keeps it.
    bool Add(std::unique_ptr<CBibTexEntry>& item);
    bool Add(std::unique_ptr<CBibTexEntry>&& item);
    std::unique_ptr<CBibTexEntry> Detach(std::string_view key);
    bool Delete(std::string_view key);
    bool MoveItem(CBibTexEntry* item, std::string_view newFileName);
    // Appends one letter a..z to a key that is taken; false when all are.
    bool MakeUniqueKey(std::string& key) const;

    bool IsValueInUse(std::string_view text) const;
    void ReplaceValueEverywhere(std::string_view oldText, std::string_view newText);
    // A field outside the catalogue keeps its name and place in each item.
    int ReplaceInField(const CFieldRef& field, std::string_view find, std::string_view replace,
                       bool matchCase);
    // The items whose value of `field` ReplaceInField would leave with braces
    // that do not balance (CTexObject::HasBalancedBraces): how many, and the
    // key of the first.
    struct Unbalanced {
        int count = 0;
        std::string firstKey;
    };
    Unbalanced FindUnbalancedReplacement(const CFieldRef& field, std::string_view find,
                                         std::string_view replace, bool matchCase) const;

    // The @preamble and @comment texts of a file in their order; null when
    // the file has none.
    const std::vector<CBibTexBlock>* GetBlocks(std::string_view fileName) const;
    // Appends a block to a file, creating the file when it does not exist.
    void AddBlock(std::string_view fileName, CBibTexBlock block);
    // Replaces a file's blocks (an empty list removes them); creates the file.
    void SetBlocks(std::string_view fileName, std::vector<CBibTexBlock> blocks);
    // Whether any file has a block.
    bool HasBlocks() const { return !m_blocks.empty(); }
    int GetBlockCount() const;

    // Copies the items only: the blocks of a file stay with that file.
    int CopyAllFrom(const CBibTexMap& source, std::vector<CBibTexEntry*>& added);
    // Moves every item of `source` into this map as Add would (keys made
    // unique over all files), leaving `source` empty. The blocks of a file
    // are appended to those of the file of the same name, except for a
    // block of the same text that the file already holds. `prepare` is called
    // for each item before it is added. Returns the number added; an item
    // that cannot be added is deleted.
    int MoveAllFrom(CBibTexMap& source, const std::function<void(CBibTexEntry&)>& prepare);
    // Puts the items of a file in the order of `keys` (the file's keys), and
    // the files in the order of `names`; names or keys a list lacks keep
    // their order behind the others.
    void ReorderFile(std::string_view fileName, const std::vector<std::string>& keys);
    void ReorderFiles(const std::vector<std::string>& names);

    // Makes room for `additional` more items, all to be filed in `fileName`
    // (a bulk add then does not rehash as it grows).
    void Reserve(std::string_view fileName, std::size_t additional);

    // Iteration: files in order, then items of a file in order.
    using FileMap = qvn::OrderedMap<std::unique_ptr<KeyMap>>;
    const FileMap& Files() const { return m_files; }
    // The items of one file, or null when there is no such file.
    const KeyMap* Items(std::string_view fileName) const;
    template <typename F> void ForEachItem(F&& f) const {
        for (const auto& [name, items] : m_files) {
            for (const auto& [key, item] : *items) {
                f(*item);
            }
        }
    }

    void SetDeletionObserver(IItemDeletionObserver* observer) { m_deletionObserver = observer; }
    // Told before items and files change (not by RemoveAll, SwapContents
    // and loading's own bookkeeping); null for none.
    void SetChangeRecorder(IChangeRecorder* recorder) { m_recorder = recorder; }

    // Checks the invariants: keys unique over all files and indexed, every
    // item filed under its own key and file name, blocks only for files.
    bool IsConsistent() const;

private:
    // What the index knows of one key.
    struct KeyRecord {
        CBibTexEntry* item;
        KeyMap* file;
        // How many of the suffixes a, b, ... of this key are known to be
        // taken, so that the 25th item of one key does not try 24 taken keys
        // first.
        int suffixesTaken;
    };

    KeyMap* FindFile(std::string_view name) const;
    void ItemChanging(const CBibTexEntry& item) {
        if (m_recorder != nullptr) {
            m_recorder->OnItemChanging(item);
        }
    }
    void FileChanging(std::string_view name) {
        if (m_recorder != nullptr) {
            m_recorder->OnFileChanging(name);
        }
    }
    KeyMap& CreateFile(std::string_view name);
    // Enters `key` into the index for `item`, with the first free letter
    // appended when the key is taken; false (nothing changes) when all 26 are.
    bool IndexKey(std::string& key, CBibTexEntry* item, KeyMap* file);
    // Removes `key` from the index and keeps the suffix counts true.
    void UnindexKey(std::string_view key);

    // Key maps are held by pointer so that the index below stays valid while
    // files are added and removed.
    FileMap m_files;
    // Every key of every file, with its item and the file that holds it.
    qvn::OrderedMap<KeyRecord> m_keys;
    // The blocks of the files that have any.
    qvn::OrderedMap<std::vector<CBibTexBlock>> m_blocks;
    IItemDeletionObserver* m_deletionObserver = nullptr;
    IChangeRecorder* m_recorder = nullptr;
};
