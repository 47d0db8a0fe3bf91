// The undo history of a project: each step is one user action, kept as the
// state before and after it of just the objects it touched (items by key,
// BibTeX files with their order and @preamble/@comment texts, the strings,
// the project settings), so that a step's memory follows what it changed.
// The model tells the history before anything changes (IChangeRecorder);
// a change made while no step is open cannot be taken back, so it clears
// the history instead of leaving steps that would undo it half.
#pragma once

#include "model/BibTexEntry.h"
#include "model/BibTexMap.h"
#include "model/ChangeRecorder.h"
#include "model/OrderedMap.h"
#include "project/ProjectSettings.h"

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CBibTexStringTable;

// What an undo or redo changed, for the views to show it.
struct UndoOutcome {
    bool done = false;
    std::string name;                  // the step's name
    std::vector<std::string> itemKeys; // keys of touched items that exist now
    bool files = false;                // BibTeX files or their order changed
    bool strings = false;
    bool settings = false;
};

class CUndoHistory : public IChangeRecorder {
public:
    static constexpr std::size_t kDefaultMaxSteps = 200;
    static constexpr std::size_t kDefaultMaxBytes = std::size_t{256} << 20;

    CUndoHistory(CBibTexMap& items, CBibTexStringTable& strings, CProjectSettings& settings);
    ~CUndoHistory() override;
    CUndoHistory(const CUndoHistory&) = delete;
    CUndoHistory& operator=(const CUndoHistory&) = delete;

    // Recording on or off (off: the model is not watched at all).
    void Enable(bool enabled);
    bool IsEnabled() const { return m_enabled; }
    void SetLimits(std::size_t maxSteps, std::size_t maxBytes);

    // Opens a step (or joins the one open: the outermost name counts) and
    // closes it; a step that touched nothing is dropped, a new one clears
    // the redo list.
    void BeginStep(std::string_view name);
    void EndStep();
    bool IsStepOpen() const { return m_depth > 0; }

    bool CanUndo() const { return m_position > 0 && m_depth == 0; }
    bool CanRedo() const { return m_position < m_steps.size() && m_depth == 0; }
    // The name of the step Undo or Redo would take back or carry out again.
    std::string UndoName() const;
    std::string RedoName() const;
    UndoOutcome Undo();
    UndoOutcome Redo();

    // Forgets every step (a project opened or created).
    void Clear();
    // The current state is the one saved on disk.
    void MarkSaved() { m_savedPosition = m_position; }
    // Whether the current state is the one last saved.
    bool IsAtSavedState() const { return m_savedPosition && *m_savedPosition == m_position; }

    std::size_t GetStepCount() const { return m_steps.size(); }
    // How many steps Undo can take back.
    std::size_t GetUndoCount() const { return m_position; }
    // Bytes the kept steps hold (an estimate of their own data).
    std::size_t GetBytes() const { return m_bytes; }

    // IChangeRecorder
    void OnItemChanging(const CBibTexEntry& item) override;
    void OnKeyAdded(std::string_view key) override;
    void OnFileChanging(std::string_view fileName) override;
    void OnStringsChanging() override;

private:
    struct FileState {
        bool exists = false;
        std::size_t size = 0;
        // The places of the step's items in the file; the file's other items
        // fill the remaining places in their order.
        std::vector<std::pair<std::size_t, std::string>> placed;
        std::vector<CBibTexBlock> blocks;
    };
    using Strings = std::vector<std::pair<std::string, std::string>>;
    struct Side {
        std::vector<std::unique_ptr<CBibTexEntry>> items; // per key, null: absent
        std::vector<FileState> files;                     // per file
        std::optional<std::vector<std::string>> fileNames;
        std::optional<Strings> strings;
        std::optional<CProjectSettings> settings;
    };
    struct Step {
        std::string name;
        std::vector<std::string> keys;
        qvn::OrderedMap<std::size_t> keyIndex;
        std::vector<std::string> fileNames;
        Side before;
        Side after;
        std::size_t bytes = 0;
    };
    // While a step is open: the full item order of its files at their first
    // touch, turned into places when the step closes.
    struct OpenFile {
        bool exists = false;
        std::vector<std::string> order;
        std::vector<CBibTexBlock> blocks;
    };

    void Invalidate();
    bool Recording();
    FileState CloseFile(const Step& step, bool exists, const std::vector<std::string>& order,
                        std::vector<CBibTexBlock> blocks) const;
    std::vector<std::string> CurrentOrder(std::string_view fileName) const;
    void Apply(const Step& step, const Side& target, UndoOutcome& outcome);
    void Trim();
    static std::size_t BytesOf(const Step& step);

    CBibTexMap& m_items;
    CBibTexStringTable& m_strings;
    CProjectSettings& m_settings;
    bool m_enabled = false;
    bool m_applying = false;
    std::size_t m_maxSteps = kDefaultMaxSteps;
    std::size_t m_maxBytes = kDefaultMaxBytes;

    std::deque<Step> m_steps;
    std::size_t m_position = 0; // steps before it are done, from it on undone
    std::optional<std::size_t> m_savedPosition = std::size_t{0};
    std::size_t m_bytes = 0;

    int m_depth = 0;
    std::unique_ptr<Step> m_open;
    std::vector<OpenFile> m_openFiles;
    std::optional<CProjectSettings> m_settingsAtBegin;
};
