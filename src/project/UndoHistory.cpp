#include "project/UndoHistory.h"

#include "model/BibTexStringTable.h"

#include <algorithm>

namespace {

std::unique_ptr<CBibTexEntry> Snapshot(const CBibTexEntry& item) {
    auto copy = std::make_unique<CBibTexEntry>();
    copy->RestoreFrom(item);
    return copy;
}

constexpr std::size_t kStringOverhead = sizeof(std::string);

} // namespace

CUndoHistory::CUndoHistory(CBibTexMap& items, CBibTexStringTable& strings,
                           CProjectSettings& settings)
    : m_items(items), m_strings(strings), m_settings(settings) {
    Enable(true);
}

CUndoHistory::~CUndoHistory() {
    Enable(false);
}

void CUndoHistory::Enable(bool enabled) {
    m_enabled = enabled;
    m_items.SetChangeRecorder(enabled ? this : nullptr);
    m_strings.SetChangeRecorder(enabled ? this : nullptr);
    if (!enabled) {
        Clear();
    }
}

void CUndoHistory::SetLimits(std::size_t maxSteps, std::size_t maxBytes) {
    m_maxSteps = std::max<std::size_t>(1, maxSteps);
    m_maxBytes = maxBytes;
    Trim();
}

void CUndoHistory::Clear() {
    m_steps.clear();
    m_position = 0;
    m_savedPosition.reset();
    m_bytes = 0;
    if (m_open) {
        // The open step can no longer be taken back either.
        m_open = std::make_unique<Step>(Step{m_open->name, {}, {}, {}, {}, {}, 0});
        m_openFiles.clear();
        m_settingsAtBegin = m_settings;
    }
}

void CUndoHistory::Invalidate() {
    if (!m_steps.empty() || m_savedPosition) {
        Clear();
    }
}

bool CUndoHistory::Recording() {
    if (!m_enabled || m_applying) {
        return false;
    }
    if (!m_open) {
        Invalidate();
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------
// Recording

void CUndoHistory::OnItemChanging(const CBibTexEntry& item) {
    if (!Recording()) {
        return;
    }
    Step& step = *m_open;
    if (step.keyIndex.insert(item.GetKey(), step.keys.size()).second) {
        step.keys.push_back(item.GetKey());
        step.before.items.push_back(Snapshot(item));
    }
}

void CUndoHistory::OnKeyAdded(std::string_view key) {
    if (!Recording()) {
        return;
    }
    Step& step = *m_open;
    if (step.keyIndex.insert(key, step.keys.size()).second) {
        step.keys.emplace_back(key);
        step.before.items.emplace_back();
    }
}

std::vector<std::string> CUndoHistory::CurrentOrder(std::string_view fileName) const {
    std::vector<std::string> order;
    if (const CBibTexMap::KeyMap* file = m_items.Items(fileName)) {
        order.reserve(file->size());
        for (const auto& [key, item] : *file) {
            order.push_back(key);
        }
    }
    return order;
}

void CUndoHistory::OnFileChanging(std::string_view fileName) {
    if (!Recording()) {
        return;
    }
    Step& step = *m_open;
    if (std::find(step.fileNames.begin(), step.fileNames.end(), fileName) != step.fileNames.end()) {
        return;
    }
    if (!step.before.fileNames) {
        std::vector<std::string> names;
        for (const auto& [name, file] : m_items.Files()) {
            names.push_back(name);
        }
        step.before.fileNames = std::move(names);
    }
    step.fileNames.emplace_back(fileName);
    OpenFile open;
    open.exists = m_items.HasFile(fileName);
    open.order = CurrentOrder(fileName);
    if (const auto* blocks = m_items.GetBlocks(fileName)) {
        open.blocks = *blocks;
    }
    m_openFiles.push_back(std::move(open));
}

void CUndoHistory::OnStringsChanging() {
    if (!Recording()) {
        return;
    }
    if (!m_open->before.strings) {
        m_open->before.strings = m_strings.GetAll();
    }
}

// ---------------------------------------------------------------------------
// Steps

void CUndoHistory::BeginStep(std::string_view name) {
    if (m_depth++ > 0 || !m_enabled) {
        // A step opened without a name takes the first name given inside.
        if (m_open && m_open->name.empty()) {
            m_open->name = name;
        }
        return;
    }
    m_open = std::make_unique<Step>();
    m_open->name = name;
    m_openFiles.clear();
    m_settingsAtBegin = m_settings;
}

CUndoHistory::FileState CUndoHistory::CloseFile(const Step& step, bool exists,
                                                const std::vector<std::string>& order,
                                                std::vector<CBibTexBlock> blocks) const {
    FileState state;
    state.exists = exists;
    state.size = order.size();
    state.blocks = std::move(blocks);
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (step.keyIndex.contains(order[i])) {
            state.placed.emplace_back(i, order[i]);
        }
    }
    return state;
}

void CUndoHistory::EndStep() {
    if (m_depth == 0 || --m_depth > 0 || !m_open) {
        return;
    }
    std::unique_ptr<Step> open = std::move(m_open);
    std::vector<OpenFile> openFiles = std::move(m_openFiles);
    m_openFiles.clear();
    Step& step = *open;
    if (m_settingsAtBegin && !(*m_settingsAtBegin == m_settings)) {
        step.before.settings = *m_settingsAtBegin;
        step.after.settings = m_settings;
    }
    m_settingsAtBegin.reset();
    if (step.keys.empty() && step.fileNames.empty() && !step.before.strings &&
        !step.before.settings) {
        return;
    }
    step.after.items.reserve(step.keys.size());
    for (const std::string& key : step.keys) {
        const CBibTexEntry* item = m_items.FindKey(key);
        step.after.items.push_back(item != nullptr ? Snapshot(*item) : nullptr);
    }
    for (std::size_t i = 0; i < step.fileNames.size(); ++i) {
        OpenFile& before = openFiles[i];
        step.before.files.push_back(
            CloseFile(step, before.exists, before.order, std::move(before.blocks)));
        const std::string& name = step.fileNames[i];
        std::vector<CBibTexBlock> blocks;
        if (const auto* held = m_items.GetBlocks(name)) {
            blocks = *held;
        }
        step.after.files.push_back(
            CloseFile(step, m_items.HasFile(name), CurrentOrder(name), std::move(blocks)));
    }
    if (step.before.fileNames) {
        std::vector<std::string> names;
        for (const auto& [name, file] : m_items.Files()) {
            names.push_back(name);
        }
        step.after.fileNames = std::move(names);
    }
    if (step.before.strings) {
        step.after.strings = m_strings.GetAll();
    }
    // A new step drops the steps that were undone.
    while (m_steps.size() > m_position) {
        m_bytes -= m_steps.back().bytes;
        m_steps.pop_back();
    }
    if (m_savedPosition && *m_savedPosition > m_position) {
        m_savedPosition.reset();
    }
    step.bytes = BytesOf(step);
    m_bytes += step.bytes;
    m_steps.push_back(std::move(step));
    ++m_position;
    Trim();
}

void CUndoHistory::Trim() {
    // The newest step stays, however large.
    while (m_steps.size() > 1 && (m_steps.size() > m_maxSteps || m_bytes > m_maxBytes) &&
           m_position > 0) {
        m_bytes -= m_steps.front().bytes;
        m_steps.pop_front();
        --m_position;
        if (m_savedPosition) {
            if (*m_savedPosition == 0) {
                m_savedPosition.reset();
            } else {
                --*m_savedPosition;
            }
        }
    }
}

std::size_t CUndoHistory::BytesOf(const Step& step) {
    std::size_t bytes = sizeof(Step) + step.name.size();
    auto itemBytes = [](const std::unique_ptr<CBibTexEntry>& item) -> std::size_t {
        return item ? sizeof(CBibTexEntry) + item->GetValueBytes() + item->GetKey().size() +
                          item->GetFileName().size()
                    : sizeof(item);
    };
    auto sideBytes = [&](const Side& side) {
        std::size_t n = 0;
        for (const auto& item : side.items) {
            n += itemBytes(item);
        }
        for (const FileState& file : side.files) {
            n += sizeof(FileState);
            for (const auto& [pos, key] : file.placed) {
                n += sizeof(pos) + kStringOverhead + key.size();
            }
            for (const CBibTexBlock& block : file.blocks) {
                n += sizeof(CBibTexBlock) + block.text.size();
            }
        }
        if (side.fileNames) {
            for (const std::string& name : *side.fileNames) {
                n += kStringOverhead + name.size();
            }
        }
        if (side.strings) {
            for (const auto& [abbreviation, value] : *side.strings) {
                n += 2 * kStringOverhead + abbreviation.size() + value.size();
            }
        }
        if (side.settings) {
            n += sizeof(CProjectSettings);
        }
        return n;
    };
    for (const std::string& key : step.keys) {
        // The key list and its index.
        bytes += 2 * kStringOverhead + 2 * key.size() + 16;
    }
    for (const std::string& name : step.fileNames) {
        bytes += kStringOverhead + name.size();
    }
    return bytes + sideBytes(step.before) + sideBytes(step.after);
}

// ---------------------------------------------------------------------------
// Undo and redo

std::string CUndoHistory::UndoName() const {
    return CanUndo() ? m_steps[m_position - 1].name : std::string();
}

std::string CUndoHistory::RedoName() const {
    return CanRedo() ? m_steps[m_position].name : std::string();
}

UndoOutcome CUndoHistory::Undo() {
    UndoOutcome outcome;
    if (!CanUndo()) {
        return outcome;
    }
    --m_position;
    Apply(m_steps[m_position], m_steps[m_position].before, outcome);
    return outcome;
}

UndoOutcome CUndoHistory::Redo() {
    UndoOutcome outcome;
    if (!CanRedo()) {
        return outcome;
    }
    Apply(m_steps[m_position], m_steps[m_position].after, outcome);
    ++m_position;
    return outcome;
}

void CUndoHistory::Apply(const Step& step, const Side& target, UndoOutcome& outcome) {
    m_applying = true;
    outcome.done = true;
    outcome.name = step.name;
    // Items first: those the target lacks go, those it holds take its
    // state in place (views keep pointing at them), the rest come back.
    for (std::size_t i = 0; i < step.keys.size(); ++i) {
        if (!target.items[i] && m_items.FindKey(step.keys[i]) != nullptr) {
            m_items.Delete(step.keys[i]);
        }
    }
    for (std::size_t i = 0; i < step.keys.size(); ++i) {
        const CBibTexEntry* state = target.items[i].get();
        if (state == nullptr) {
            continue;
        }
        if (CBibTexEntry* item = m_items.FindKey(step.keys[i])) {
            if (item->GetFileName() != state->GetFileName()) {
                m_items.MoveItem(item, state->GetFileName());
            }
            item->RestoreFrom(*state);
        } else {
            m_items.Add(Snapshot(*state));
        }
        outcome.itemKeys.push_back(step.keys[i]);
    }
    // Then the files: which exist and in what order, their texts and the
    // order of their items.
    if (target.fileNames) {
        outcome.files = true;
        for (const std::string& name : *target.fileNames) {
            m_items.AddFile(name);
        }
        std::vector<std::string> surplus;
        for (const auto& [name, file] : m_items.Files()) {
            if (std::find(target.fileNames->begin(), target.fileNames->end(), name) ==
                target.fileNames->end()) {
                surplus.push_back(name);
            }
        }
        for (const std::string& name : surplus) {
            m_items.RemoveFile(name);
        }
        m_items.ReorderFiles(*target.fileNames);
    }
    for (std::size_t i = 0; i < step.fileNames.size(); ++i) {
        const FileState& state = target.files[i];
        const std::string& name = step.fileNames[i];
        if (!state.exists || !m_items.HasFile(name)) {
            continue;
        }
        m_items.SetBlocks(name, state.blocks);
        const std::vector<std::string> current = CurrentOrder(name);
        std::vector<std::string> order;
        order.reserve(state.size);
        std::size_t next = 0; // the next of the file's other items
        std::size_t placed = 0;
        for (std::size_t pos = 0; pos < state.size; ++pos) {
            if (placed < state.placed.size() && state.placed[placed].first == pos) {
                order.push_back(state.placed[placed++].second);
                continue;
            }
            while (next < current.size() && step.keyIndex.contains(current[next])) {
                ++next;
            }
            if (next < current.size()) {
                order.push_back(current[next++]);
            }
        }
        if (order != current) {
            m_items.ReorderFile(name, order);
        }
    }
    if (target.strings) {
        outcome.strings = true;
        m_strings.Assign(*target.strings);
    }
    if (target.settings) {
        outcome.settings = true;
        m_settings = *target.settings;
    }
    m_applying = false;
}
