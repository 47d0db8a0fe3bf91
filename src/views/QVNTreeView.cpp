#include "views/QVNTreeView.h"

#include "kit/QtText.h"
#include "model/FileIO.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "views/ExplorerTree.h"
#include "views/QVNListView.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <span>
#include <unordered_set>

namespace {

constexpr const char* kRemoveQuestion =
    "Do you really want to delete file '%s' and \nall it's BibTeX items?";
constexpr const char* kRemoveCaption = "Delete BibTeX items?";
constexpr const char* kStringsLabel = "@strings";
constexpr const char* kFilesLabel = "BibTeX files";
constexpr const char* kSearchesLabel = "Search results";

// One entry of a context menu; a null text is a separator.
struct MenuEntry {
    const char* text;
    int id;
};

constexpr MenuEntry kRootMenu[] = {
    {"Save &as... (BibTeX)", ID_BIBTEX_SAVE_AS},
    {nullptr, 0},
    {"New &string...", ID_NEW_STRING},
    {"New &BibTeX item...\tCtrl+N", ID_NEW_BIBTEX_ITEM},
    {"Add &existing BibTeX-files...\tCtrl+Shft+O", ID_BIBTEX_IMPORT},
    {nullptr, 0},
    {"&Project settings...", ID_PROJECT_SETTINGS},
};
constexpr MenuEntry kStringsMenu[] = {
    {"Add new string...", ID_NEW_STRING},
    {"Delete all strings...", ID_DELETE_ALL_STRINGS},
    {nullptr, 0},
    {"&Save (BibTeX)", ID_SAVE_SELECTION},
};
constexpr MenuEntry kFilesMenu[] = {
    {"New BibTeX-&file...", ID_NEW_BIBTEX_FILE},
    {"Add &existing BibTeX-files...\tCtrl+Shft+O", ID_BIBTEX_IMPORT},
    {nullptr, 0},
    {"&Save (BibTeX)\tCtrl+Shft+S", ID_SAVE_SELECTION},
    {"Save &as... (BibTeX)", ID_BIBTEX_SAVE_AS},
};
constexpr MenuEntry kFileMenu[] = {
    {"New &BibTeX item...\tCtrl+N", ID_NEW_BIBTEX_ITEM},
    {nullptr, 0},
    {"&Save (BibTeX) \tCtrl+Shft+S", ID_SAVE_SELECTION},
    {"Save &As... (BibTeX)", ID_SAVE_FILE_AS},
    {nullptr, 0},
    {"New file...", ID_NEW_BIBTEX_FILE},
    {"Re&name...\tF2", ID_RENAME_FILE},
    {nullptr, 0},
    {"&Remove from project...", ID_REMOVE_FILE},
};
constexpr MenuEntry kSearchMenu[] = {
    {"Delete", ID_DELETE_SEARCH},
};

ExplorerSelection SelectionOf(const QModelIndex& node) {
    if (!node.isValid()) {
        return ExplorerSelection::Other;
    }
    switch (CExplorerModel::Kind(node)) {
    case ExplorerNodeKind::Strings:
        return ExplorerSelection::Strings;
    case ExplorerNodeKind::FilesGroup:
        return ExplorerSelection::Files;
    case ExplorerNodeKind::File:
        return ExplorerSelection::File;
    default:
        return ExplorerSelection::Other;
    }
}

bool IsKind(const QModelIndex& node, ExplorerNodeKind kind) {
    return node.isValid() && CExplorerModel::Kind(node) == kind;
}

} // namespace

namespace {

CExplorerTree* TreeOf(QTreeView* tree) {
    return static_cast<CExplorerTree*>(tree);
}

} // namespace

CQVNTreeView::CQVNTreeView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNView(doc, host, parent), m_model(new CExplorerModel(this)),
      m_delegate(new CExplorerDelegate(this)) {
    setObjectName(QStringLiteral("projectExplorer"));
    auto* tree = new CExplorerTree(this, m_delegate);
    m_tree = tree;
    m_tree->setObjectName(QStringLiteral("explorerTree"));
    auto* style = new CExplorerStyle;
    style->setParent(m_tree);
    m_tree->setStyle(style);
    m_tree->setModel(m_model);
    m_tree->setItemDelegate(m_delegate);
    m_tree->setHeaderHidden(true);
    m_tree->header()->setStretchLastSection(true);
    m_tree->setIndentation(kIndent);
    m_tree->setIconSize(QSize(16, 16));
    m_tree->setUniformRowHeights(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setItemsExpandable(true);
    m_tree->setExpandsOnDoubleClick(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setSelectionBehavior(QAbstractItemView::SelectItems);
    // Labels are edited through F2, Ins and the menus, and by clicking the
    // label of the selected file again.
    m_tree->setEditTriggers(QAbstractItemView::SelectedClicked);
    m_tree->setAcceptDrops(true);
    m_tree->viewport()->setAcceptDrops(true);
    m_tree->setDropIndicatorShown(false);
    m_tree->setDragDropMode(QAbstractItemView::DropOnly);
    m_tree->setContextMenuPolicy(Qt::DefaultContextMenu);
    m_tree->setWhatsThis(QStringLiteral("The project explorer: the project, its strings, its "
                                        "BibTeX files and its searches."));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_tree);
    setFocusProxy(m_tree);

    connect(m_tree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { OnCurrentChanged(current); });
}

CQVNTreeView::~CQVNTreeView() {
    // The tree's last signals must not reach a half-destroyed view.
    disconnect(m_tree->selectionModel(), nullptr, this, nullptr);
}

// ---------------------------------------------------------------------------
// Building the tree from the document

void CQVNTreeView::showEvent(QShowEvent* event) {
    CQVNView::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        if (m_model->rowCount() == 0) {
            OnInitialUpdate();
        }
    }
}

void CQVNTreeView::OnInitialUpdate() {
    m_model->Clear();
    Rebuild(UpdateHint::Contents, {});
}

void CQVNTreeView::OnUpdate(IDocObserver*, UpdateHint hint, const HintObject& object) {
    Rebuild(hint, object);
}

void CQVNTreeView::DropNodesOfGoneFiles() {
    if (!m_files.isValid()) {
        return;
    }
    for (int row = m_model->rowCount(m_files) - 1; row >= 0; --row) {
        const QModelIndex node = m_model->index(row, 0, m_files);
        if (QPersistentModelIndex(node) != m_newNode &&
            !GetDocument().HasFile(CExplorerModel::Label(node))) {
            RemoveNodeKeepingSelection(node);
        }
    }
}

void CQVNTreeView::Rebuild(UpdateHint hint, const HintObject& object) {
    if (hint == UpdateHint::IgnoredFields) {
        return;
    }
    CQVNDoc& doc = GetDocument();
    if (!doc.IsProjectActive()) {
        if (m_model->rowCount() > 0) {
            m_model->Clear();
        }
        m_commandNode = QPersistentModelIndex();
        m_newNode = QPersistentModelIndex();
        return;
    }

    const QPersistentModelIndex before = GetSelectedNode();
    // Qt paints once the events are done: no need to stop redrawing.
    m_rebuilding = true;
    const bool hadRoot = m_root.isValid();

    const std::string projectName = doc.GetSettings().GetProjectName();
    if (!hadRoot) {
        m_root = m_model->InsertNode({}, 0, ExplorerNodeKind::Root, projectName);
    } else {
        m_model->SetLabel(m_root, projectName);
    }
    if (!m_strings.isValid()) {
        m_strings = m_model->InsertNode(m_root, -1, ExplorerNodeKind::Strings, kStringsLabel);
    }
    if (!m_files.isValid()) {
        m_files = m_model->InsertNode(m_root, -1, ExplorerNodeKind::FilesGroup, kFilesLabel);
    }
    // Nodes of files that are gone stay: removing and renaming take care of
    // their nodes, and a new node has no file until its edit ends.
    std::unordered_set<std::string> present;
    for (int row = 0; row < m_model->rowCount(m_files); ++row) {
        present.insert(CExplorerModel::Label(m_model->index(row, 0, m_files)));
    }
    for (const auto& [name, items] : doc.GetItems().Files()) {
        const std::string label(name);
        if (present.insert(label).second) {
            m_model->InsertNode(m_files, m_model->SortedRow(m_files, label), ExplorerNodeKind::File,
                                label);
        }
    }

    CSearchManager& searches = doc.GetSearches();
    if (searches.GetCount() == 0) {
        if (m_searchGroup.isValid()) {
            RemoveNodeKeepingSelection(m_searchGroup);
        }
    } else {
        if (!m_searchGroup.isValid()) {
            m_searchGroup =
                m_model->InsertNode({}, -1, ExplorerNodeKind::SearchGroup, kSearchesLabel);
        }
        for (int i = 0; i < searches.GetCount(); ++i) {
            const std::string& label = searches.GetAt(i)->GetLabel();
            if (!m_model->FindChild(m_searchGroup, label).isValid()) {
                m_model->InsertNode(m_searchGroup, -1, ExplorerNodeKind::Search, label);
            }
        }
    }

    if (!hadRoot) {
        m_tree->expand(m_searchGroup);
        m_tree->expand(m_files);
        m_tree->expand(m_root);
    }
    if (hint == UpdateHint::Search && std::holds_alternative<const CSearch*>(object)) {
        const CSearch* made = std::get<const CSearch*>(object);
        for (int i = 0; i < searches.GetCount(); ++i) {
            if (searches.GetAt(i) == made) {
                const QModelIndex node =
                    m_model->FindChild(m_searchGroup, searches.GetAt(i)->GetLabel());
                if (node.isValid()) {
                    SelectNode(node);
                }
                break;
            }
        }
    }
    if (!GetSelectedNode().isValid()) {
        SelectNode(m_root);
    }
    m_rebuilding = false;

    const QModelIndex selected = GetSelectedNode();
    if (selected.isValid() && QPersistentModelIndex(selected) != before) {
        OnSelectionChanged(selected);
    }
}

QModelIndex CQVNTreeView::GetFileNode(const std::string& name) const {
    return m_files.isValid() ? m_model->FindChild(m_files, name) : QModelIndex();
}

// ---------------------------------------------------------------------------
// Selection

QModelIndex CQVNTreeView::GetSelectedNode() const {
    QItemSelectionModel* selection = m_tree->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isSelected(current)) {
        return current;
    }
    const QModelIndexList selected = selection->selectedIndexes();
    return selected.isEmpty() ? QModelIndex() : selected.first();
}

void CQVNTreeView::SelectNode(const QModelIndex& node) {
    if (!node.isValid()) {
        return;
    }
    m_tree->selectionModel()->setCurrentIndex(node, QItemSelectionModel::ClearAndSelect);
    m_tree->scrollTo(node);
}

void CQVNTreeView::OnCurrentChanged(const QModelIndex& current) {
    if (!current.isValid()) {
        return;
    }
    // The current node is the selected one, also when the model moved the
    // current node because the selected one went away.
    if (!m_tree->selectionModel()->isSelected(current)) {
        m_tree->selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }
    if (!m_rebuilding) {
        OnSelectionChanged(current);
    }
}

void CQVNTreeView::OnSelectionChanged(const QModelIndex& node) {
    m_commandNode = QPersistentModelIndex();
    m_dropHighlight = node;
    m_tree->viewport()->update();
    IViewHost& host = GetHost();
    CQVNView* view = nullptr;
    const std::string label = CExplorerModel::Label(node);
    switch (CExplorerModel::Kind(node)) {
    case ExplorerNodeKind::Root:
        host.SwitchMainView(MainViewKind::Files);
        break;
    case ExplorerNodeKind::Strings:
        host.SwitchMainView(MainViewKind::Strings);
        break;
    case ExplorerNodeKind::FilesGroup:
        view = host.SwitchMainView(MainViewKind::Items);
        if (auto* list = qobject_cast<CQVNListView*>(view)) {
            list->SetFileName({});
        }
        break;
    case ExplorerNodeKind::File:
        view = host.SwitchMainView(MainViewKind::Items);
        if (auto* list = qobject_cast<CQVNListView*>(view)) {
            list->SetFileName(label);
        }
        break;
    case ExplorerNodeKind::Search:
        view = host.SwitchMainView(MainViewKind::SearchResults);
        if (auto* list = qobject_cast<CQVNListView*>(view)) {
            list->SetSearchLabel(label);
        }
        break;
    case ExplorerNodeKind::SearchGroup:
        break;
    }
    GetDocument().UpdateAllViews(this, UpdateHint::Change);
    m_tree->setFocus(Qt::OtherFocusReason);
    host.SetActiveView(this);
    host.UpdateCommandStates();
    Q_EMIT commandStateChanged();
}

void CQVNTreeView::RemoveNodeKeepingSelection(const QModelIndex& node) {
    if (!node.isValid()) {
        return;
    }
    const QPersistentModelIndex gone(node);
    // When the selected node goes, the node below it takes its place, else
    // the one above, else its parent.
    QModelIndex selected = GetSelectedNode();
    bool affected = false;
    for (QModelIndex up = selected; up.isValid(); up = up.parent()) {
        if (up == node) {
            affected = true;
            break;
        }
    }
    if (affected) {
        const QModelIndex parent = node.parent();
        const int row = node.row();
        QModelIndex next = m_model->index(row + 1, 0, parent);
        if (!next.isValid()) {
            next = row > 0 ? m_model->index(row - 1, 0, parent) : parent;
        }
        if (next.isValid()) {
            SelectNode(next);
        } else {
            m_tree->selectionModel()->clear();
        }
    }
    if (m_commandNode == gone) {
        m_commandNode = QPersistentModelIndex();
    }
    if (gone.isValid()) {
        m_model->RemoveNode(gone);
    }
}

void CQVNTreeView::SortFileNode(const QModelIndex& node) {
    if (!node.isValid()) {
        return;
    }
    const int row = node.row();
    const int target = m_model->SortedRow(node.parent(), CExplorerModel::Label(node), row);
    m_model->MoveNode(node.parent(), row, target);
}

// ---------------------------------------------------------------------------
// Commands

QModelIndex CQVNTreeView::GetCommandNode() {
    if (!m_commandNode.isValid()) {
        m_commandNode = GetSelectedNode();
    }
    return m_commandNode;
}

void CQVNTreeView::Route(int id) {
    GetHost().SetActiveView(this);
    GetHost().RouteCommand(id);
}

bool CQVNTreeView::UpdateCommand(int id, CommandState& state) {
    switch (id) {
    case ID_NEW_BIBTEX_ITEM:
    case ID_SAVE_FILE_AS:
    case ID_SAVE_SELECTION:
    case ID_REMOVE_FILE:
    case ID_DELETE_SEARCH:
    case ID_NEW_BIBTEX_FILE:
    case ID_RENAME_FILE:
    case ID_SORT_ASCENDING:
    case ID_SORT_DESCENDING:
        if (!GetDocument().IsProjectActive()) {
            state.enabled = false;
        } else if (id == ID_SAVE_SELECTION) {
            state.enabled = GetDocument().IsSaveSelectionEnabled(SelectionOf(GetCommandNode()));
        } else {
            state.enabled = true;
        }
        return true;
    default:
        return false;
    }
}

bool CQVNTreeView::OnCommand(int id) {
    switch (id) {
    case ID_NEW_BIBTEX_ITEM:
        OnNewItem();
        return true;
    case ID_SAVE_FILE_AS:
        OnSaveFileAs();
        return true;
    case ID_SAVE_SELECTION:
        OnSaveSelection();
        return true;
    case ID_REMOVE_FILE:
        OnRemoveFile();
        return true;
    case ID_DELETE_SEARCH:
        OnDeleteSearch();
        return true;
    case ID_NEW_BIBTEX_FILE:
        OnNewFile();
        return true;
    case ID_RENAME_FILE:
        OnRename();
        return true;
    case ID_SORT_ASCENDING:
    case ID_SORT_DESCENDING:
        OnSortMainList(id);
        return true;
    default:
        return false;
    }
}

void CQVNTreeView::OnNewItem() {
    const QModelIndex node = GetCommandNode();
    GetDocument().NewItem(IsKind(node, ExplorerNodeKind::File) ? CExplorerModel::Label(node)
                                                               : std::string());
}

void CQVNTreeView::OnSaveFileAs() {
    const QModelIndex node = GetCommandNode();
    GetDocument().SaveFileAs(IsKind(node, ExplorerNodeKind::File) ? CExplorerModel::Label(node)
                                                                  : std::string());
}

void CQVNTreeView::OnSaveSelection() {
    const QModelIndex node = GetCommandNode();
    GetDocument().OnSaveSelection(SelectionOf(node), CExplorerModel::Label(node));
}

void CQVNTreeView::OnRemoveFile() {
    const QPersistentModelIndex node = GetCommandNode();
    // Only a file node names a file: the project or the group may carry the
    // name of a file by chance, and that file must not go with them.
    if (!IsKind(node, ExplorerNodeKind::File)) {
        return;
    }
    const std::string name = CExplorerModel::Label(node);
    if (ShowMessage(GetDocument().GetUserInterface(), qvn::Format(kRemoveQuestion, name.c_str()),
                    kRemoveCaption, MsgIcon::Warning, MsgButtons::YesNo) != MsgResult::Yes) {
        return;
    }
    if (GetDocument().RemoveFile(name) && node.isValid()) {
        RemoveNodeKeepingSelection(node);
        m_commandNode = QPersistentModelIndex();
    }
}

void CQVNTreeView::OnDeleteSearch() {
    const QModelIndex node = GetCommandNode();
    if (IsKind(node, ExplorerNodeKind::Search) &&
        GetDocument().GetSearches().DeleteByLabel(CExplorerModel::Label(node))) {
        RemoveNodeKeepingSelection(node);
        m_commandNode = QPersistentModelIndex();
    }
    GetDocument().UpdateAllViews(nullptr, UpdateHint::Change);
}

void CQVNTreeView::OnNewFile() {
    if (!m_files.isValid() || TreeOf(m_tree)->IsEditing()) {
        return;
    }
    const QModelIndex node =
        m_model->InsertNode(m_files, -1, ExplorerNodeKind::File,
                            // A new node whose edit has not ended has no file
                            // yet; its name is taken all the same.
                            GetDocument().NewFileName([this](const std::string& name) {
                                return GetFileNode(name).isValid();
                            }));
    m_tree->expand(m_files);
    m_newNode = node;
    SelectNode(node);
    EditLabel(node);
}

void CQVNTreeView::OnRename() {
    EditLabel(GetCommandNode());
}

void CQVNTreeView::OnSortMainList(int id) {
    // The list decides whether it sorts on the toolbar's commands.
    if (auto* list = qobject_cast<CQVNListView*>(GetHost().GetMainView())) {
        list->OnCommand(id);
    }
}

void CQVNTreeView::OnTreeCommandKey(int id) {
    Route(id);
}

void CQVNTreeView::OnTreeKey(int key) {
    switch (key) {
    case Qt::Key_F2:
        Route(ID_RENAME_FILE);
        break;
    case Qt::Key_Insert:
        Route(ID_NEW_BIBTEX_FILE);
        break;
    case Qt::Key_Delete:
        Route(ID_REMOVE_FILE);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------
// Label editing: creating and renaming BibTeX files

bool CQVNTreeView::EditLabel(const QModelIndex& node) {
    if (!IsKind(node, ExplorerNodeKind::File)) {
        return false;
    }
    m_tree->scrollTo(node);
    return TreeOf(m_tree)->StartEdit(node);
}

void CQVNTreeView::NoteEditEnded() {
    m_selectedAtEditEnd = GetSelectedNode();
}

void CQVNTreeView::FinishNewNode(const QModelIndex& node) {
    m_newNode = QPersistentModelIndex();
    const std::string name = CExplorerModel::Label(node);
    if (!GetDocument().HasFile(name) && GetDocument().AddFile(name)) {
        GetDocument().UpdateAllViews(this, UpdateHint::Change);
    }
    SortFileNode(node);
}

void CQVNTreeView::OnEndLabelEdit(const QModelIndex& index, const std::string& text,
                                  bool cancelled) {
    const QPersistentModelIndex node = index;
    if (!IsKind(node, ExplorerNodeKind::File)) {
        return;
    }
    const bool isNew = node == m_newNode;
    const std::string oldName = CExplorerModel::Label(node);
    RenameFileResult result = RenameFileResult::Renamed;
    bool renamed = false;
    if (cancelled || text == oldName) {
        if (isNew) {
            FinishNewNode(node);
        }
    } else {
        result = GetDocument().RenameBibTexFile(oldName, text);
        if (result == RenameFileResult::Renamed) {
            m_newNode = QPersistentModelIndex();
            m_model->SetLabel(node, text);
            SortFileNode(node);
            renamed = true;
        }
    }

    if (result != RenameFileResult::Renamed) {
        const MsgResult answer = ShowMessage(
            GetDocument().GetUserInterface(), RenameFileProblemText(result, oldName, text),
            ruletext::kRenameFileCaption, MsgIcon::Warning, MsgButtons::OkCancel);
        if (answer == MsgResult::Ok && node.isValid()) {
            // The same node again, with the rejected name to correct.
            m_pendingEditText = qvn::ToQString(text);
            EditLabel(node);
            m_pendingEditText = QString();
            return;
        }
        if (isNew && node.isValid()) {
            FinishNewNode(node);
        }
    }

    if (!node.isValid()) {
        return;
    }
    // The node is selected again, unless the edit ended because the user
    // chose another node.
    const QModelIndex selected = GetSelectedNode();
    if (!m_selectedAtEditEnd.isValid() || !selected.isValid() ||
        QPersistentModelIndex(selected) == m_selectedAtEditEnd) {
        if (selected != node) {
            SelectNode(node);
            return;
        }
    }
    if (renamed) {
        if (selected == node) {
            // The list of the selected node follows the file's new name.
            OnSelectionChanged(node);
        } else {
            GetDocument().UpdateAllViews(this, UpdateHint::Change);
        }
    }
}

// ---------------------------------------------------------------------------
// Context menus

QMenu* CQVNTreeView::CreateContextMenu(const QModelIndex& node) {
    std::span<const MenuEntry> entries;
    const char* name = nullptr;
    switch (CExplorerModel::Kind(node)) {
    case ExplorerNodeKind::Root:
        entries = kRootMenu;
        name = "IDR_CONTEXT_ROOT";
        break;
    case ExplorerNodeKind::Strings:
        entries = kStringsMenu;
        name = "IDR_CONTEXT_LSTRINGS";
        break;
    case ExplorerNodeKind::FilesGroup:
        entries = kFilesMenu;
        name = "IDR_CONTEXT_BIBTEXROOT";
        break;
    case ExplorerNodeKind::File:
        entries = kFileMenu;
        name = "IDR_CONTEXT_LBIBTEXENTRIES";
        break;
    case ExplorerNodeKind::Search:
        entries = kSearchMenu;
        name = "IDR_CONTEXT_SEARCH";
        break;
    case ExplorerNodeKind::SearchGroup:
        return nullptr;
    }
    if (!node.isValid()) {
        return nullptr;
    }
    auto* menu = new QMenu(this);
    menu->setObjectName(QLatin1String(name));
    IViewHost& host = GetHost();
    host.SetActiveView(this);
    for (const MenuEntry& entry : entries) {
        if (entry.text == nullptr) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(QString::fromLatin1(entry.text));
        const int id = entry.id;
        action->setData(id);
        action->setEnabled(host.QueryCommand(id).enabled);
        connect(action, &QAction::triggered, this, [this, id] { Route(id); });
    }
    host.AttachPrompts(menu);
    return menu;
}

void CQVNTreeView::ShowContextMenuAt(const QPoint& viewportPos, const QPoint& globalPos) {
    const QModelIndex node = TreeOf(m_tree)->NodeAt(viewportPos, false);
    if (!node.isValid()) {
        return;
    }
    m_commandNode = node;
    QMenu* menu = CreateContextMenu(node);
    if (menu == nullptr) {
        return;
    }
    // The node the menu belongs to is shown as the target while it is open.
    m_dropHighlight = node;
    m_tree->viewport()->update();
    menu->exec(globalPos);
    delete menu;
    // Its commands have run: keys act on the selected node again, not on a
    // node whose menu was dismissed.
    m_commandNode = QPersistentModelIndex();
    m_dropHighlight = GetSelectedNode();
    m_tree->viewport()->update();
}

// ---------------------------------------------------------------------------
// Dropping BibTeX items on a file node

bool CQVNTreeView::CanDrop(const QModelIndex& node, const std::string& text) const {
    return IsKind(node, ExplorerNodeKind::File) && CQVNDoc::IsItemText(qvn::TrimView(text));
}

void CQVNTreeView::OnDragOver(const QModelIndex& node) {
    const QModelIndex highlight = node.isValid() ? node : GetSelectedNode();
    if (highlight != m_dropHighlight) {
        m_dropHighlight = highlight;
        m_tree->viewport()->update();
    }
}

void CQVNTreeView::OnDragLeave() {
    OnDragOver({});
}

bool CQVNTreeView::DropItems(const QModelIndex& target, const std::string& text, bool fromOwnList) {
    if (!IsKind(target, ExplorerNodeKind::File)) {
        return false;
    }
    const QModelIndex source = GetSelectedNode();
    ItemTextOrigin origin = ItemTextOrigin::OtherProgram;
    if (fromOwnList) {
        origin = IsKind(source, ExplorerNodeKind::Search) ? ItemTextOrigin::SearchResults
                                                          : ItemTextOrigin::ProjectList;
    }
    const std::string sourceFile =
        IsKind(source, ExplorerNodeKind::File) ? CExplorerModel::Label(source) : std::string();
    const bool changed =
        GetDocument().DropItems(text, origin, sourceFile, CExplorerModel::Label(target));
    // The selection stays where it was.
    m_dropHighlight = GetSelectedNode();
    m_tree->viewport()->update();
    return changed;
}

// ---------------------------------------------------------------------------
// Status bar

std::optional<std::string> CQVNTreeView::GetLocationText() const {
    const CQVNDoc& doc = GetDocument();
    const std::string& folder = doc.GetSettings().GetExportFolder();
    const QModelIndex node = GetSelectedNode();
    if (folder.empty() || !node.isValid()) {
        return folder;
    }
    switch (CExplorerModel::Kind(node)) {
    case ExplorerNodeKind::Strings:
        return qvn::JoinPath(folder, doc.GetSettings().GetStringsFile());
    case ExplorerNodeKind::File:
        return qvn::JoinPath(folder, CExplorerModel::Label(node) + ".bib");
    default:
        return folder;
    }
}

std::optional<std::string> CQVNTreeView::GetCountText() const {
    const CQVNDoc& doc = GetDocument();
    const QModelIndex node = GetSelectedNode();
    if (!node.isValid()) {
        return std::nullopt;
    }
    switch (CExplorerModel::Kind(node)) {
    case ExplorerNodeKind::Strings:
        return qvn::Format("\t%d strings", doc.GetStrings().GetCount());
    case ExplorerNodeKind::File:
        return doc.GetItemCountText(CExplorerModel::Label(node));
    default:
        return doc.GetItemCountText();
    }
}

QString CQVNTreeView::HelpTopic() const {
    return QStringLiteral("explorer.htm");
}
