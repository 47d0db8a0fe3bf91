#include "views/QVNBibTeXView.h"

#include "kit/QtText.h"
#include "model/BibTexEntry.h"
#include "model/Catalogue.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"
#include "views/ItemsListModel.h"
#include "views/ProblemCheckRunner.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <functional>
#include <unordered_set>

namespace {

// The filter box: Escape clears it, or, when it is empty, goes back to the
// list; Down goes to the list as well.
class CFilterBox : public QLineEdit {
public:
    CFilterBox(QWidget* list, QWidget* parent) : QLineEdit(parent), m_list(list) {}
    // Called when the box gets the focus: the user is about to filter.
    std::function<void()> onFocus;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        if (onFocus) {
            onFocus();
        }
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            if (text().isEmpty()) {
                m_list->setFocus(Qt::ShortcutFocusReason);
            } else {
                clear();
            }
            event->accept();
            return;
        }
        if (event->key() == Qt::Key_Down && event->modifiers() == Qt::NoModifier) {
            m_list->setFocus(Qt::TabFocusReason);
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    QWidget* m_list;
};

// A sort chosen in one items list applies to every items list.
ListSortState& ItemsSortState() {
    static ListSortState state;
    return state;
}

} // namespace

CQVNBibTeXView::CQVNBibTeXView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNListView(doc, host, parent), m_model(new CItemsListModel(&doc, this)),
      m_filterBox(new CFilterBox(GetDetailsView(), this)), m_filterTimer(new QTimer(this)),
      m_prepareTimer(new QTimer(this)) {
    CProblemCheckRunner& problems = host.GetProblemCheck();
    m_model->SetProblemCheck(&problems.GetCheck());
    connect(&problems, &CProblemCheckRunner::problemsChanged, m_model,
            &CItemsListModel::ProblemsChanged);
    SetSourceModel(m_model);
    SetHandlesSortCommands(true);
    ShareSortState(ItemsSortState());
    GetDetailsView()->setAlternatingRowColors(true);

    m_filterBox->setObjectName(QStringLiteral("quickFilter"));
    m_filterBox->setClearButtonEnabled(true);
    m_filterBox->setPlaceholderText(QStringLiteral("Filter (Ctrl+L)"));
    m_filterBox->setToolTip(QStringLiteral(
        "Shows the items that hold every word typed, in any order, in the key, the type "
        "or any field; letter case and accents do not matter"));
    AddAboveList(m_filterBox);
    // Keys typed in a row are taken together: the list follows once they
    // are in, so typing never waits for the list.
    m_filterTimer->setSingleShot(true);
    m_filterTimer->setInterval(0);
    connect(m_filterTimer, &QTimer::timeout, this, &CQVNBibTeXView::ApplyFilter);
    // The texts the filter reads are made in short steps as soon as the
    // user goes to the box, so that the first key finds them ready.
    m_prepareTimer->setSingleShot(true);
    m_prepareTimer->setInterval(0);
    connect(m_prepareTimer, &QTimer::timeout, this, [this] {
        if (!m_model->PrepareFilterTexts(kPrepareStepMilliseconds)) {
            m_prepareTimer->start();
        }
    });
    static_cast<CFilterBox*>(m_filterBox)->onFocus = [this] { m_prepareTimer->start(); };
    connect(m_filterBox, &QLineEdit::textChanged, m_filterTimer,
            static_cast<void (QTimer::*)()>(&QTimer::start));
    auto* focusFilter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_L), this);
    focusFilter->setContext(Qt::WindowShortcut);
    connect(focusFilter, &QShortcut::activated, this, [this] {
        m_filterBox->setFocus(Qt::ShortcutFocusReason);
        m_filterBox->selectAll();
    });
    SetupColumns();
}

void CQVNBibTeXView::ApplyFilter() {
    m_filterTimer->stop();
    CQuickFilter filter(qvn::FromQString(m_filterBox->text()));
    if (filter.GetWords() == m_filter.GetWords()) {
        return;
    }
    // Typing on only takes rows away: the rows hidden now stay hidden
    // without a second look while this filter is applied.
    if (HasRowFilter() && filter.Narrows(m_filter)) {
        m_shownBefore.assign(static_cast<std::size_t>(m_model->rowCount()), 0);
        QSortFilterProxyModel* proxy = GetProxy();
        for (int row = 0; row < proxy->rowCount(); ++row) {
            const int source = proxy->mapToSource(proxy->index(row, 0)).row();
            if (source >= 0 && static_cast<std::size_t>(source) < m_shownBefore.size()) {
                m_shownBefore[static_cast<std::size_t>(source)] = 1;
            }
        }
    }
    m_filter = std::move(filter);
    {
        // The selection keeps the rows that stay; it is shown, not announced
        // row by row.
        CQuietSelection quiet(*this);
        if (m_filter.IsEmpty()) {
            SetRowFilter(nullptr);
        } else {
            SetRowFilter([this](int row) {
                const auto at = static_cast<std::size_t>(row);
                if (!m_shownBefore.empty() &&
                    (at >= m_shownBefore.size() || m_shownBefore[at] == 0)) {
                    return false;
                }
                return m_filter.Matches(m_model->FilterText(row));
            });
        }
        // The rows are sorted out now; later refills and sorts renumber them.
        GetProxy()->rowCount();
        m_shownBefore.clear();
    }
    SelectionChanged(true);
    Q_EMIT commandStateChanged();
}

int CQVNBibTeXView::GetShownCount() const {
    return GetProxy()->rowCount();
}

int CQVNBibTeXView::GetRowCount() const {
    return m_model->rowCount();
}

std::string CQVNBibTeXView::CountText(std::string_view fileName) const {
    return GetDocument().GetItemCountText(
        fileName, m_filter.IsEmpty() ? std::nullopt : std::optional<int>(GetShownCount()));
}

void CQVNBibTeXView::MoveProblemColumnFirst() {
    const int column = m_model->GetProblemColumn();
    if (column < 0) {
        return;
    }
    QHeaderView* header = GetDetailsView()->header();
    header->moveSection(header->visualIndex(column), 0);
    header->setSectionResizeMode(column, QHeaderView::Fixed);
    SetColumnWidth(column, 24);
}

CQVNBibTeXView::~CQVNBibTeXView() {
    // The rows point into the project: none may be read from here on.
    Detach();
    m_model->SetItems({});
}

void CQVNBibTeXView::ResetSharedSortState() {
    ItemsSortState() = {};
}

void CQVNBibTeXView::OnInitialUpdate() {
    // Whoever shows this list names its file (or search) next and sends the
    // hint that fills it; filling now would list all items for nothing. A
    // list that gets no hint fills itself once the events are processed.
    QTimer::singleShot(0, this, [this] {
        if (!m_filled) {
            CQuietSelection quiet(*this);
            Refill();
            SelectionChanged(false);
        }
    });
}

void CQVNBibTeXView::OnUpdate(IDocObserver*, UpdateHint hint, const HintObject& object) {
    if (hint == UpdateHint::IgnoredFields) {
        return;
    }
    // The selection follows the document here; it is shown, not announced
    // back to the views that sent the hint.
    CQuietSelection quiet(*this);
    switch (hint) {
    case UpdateHint::Columns: {
        // New columns, same rows: the selection stays with its items, so the
        // list keeps agreeing with the property window and the preview, and
        // the next key or click in the list does not announce "nothing".
        // One pass over the rows, whatever the size of the selection.
        std::unordered_set<const CBibTexEntry*> selected;
        for (const int row : GetSelectedRows()) {
            if (const CBibTexEntry* item = m_model->GetItem(row)) {
                selected.insert(item);
            }
        }
        SetupColumns();
        Refill();
        std::vector<int> rows;
        const std::vector<CBibTexEntry*>& items = m_model->GetItems();
        for (std::size_t row = 0; row < items.size() && !selected.empty(); ++row) {
            if (selected.contains(items[row])) {
                rows.push_back(static_cast<int>(row));
            }
        }
        SelectRows(rows);
        break;
    }
    case UpdateHint::Contents: {
        const std::vector<int> rows = GetSelectedRows();
        const int first =
            rows.empty() ? -1 : GetProxy()->mapFromSource(m_model->index(rows.front(), 0)).row();
        SetupColumns();
        Refill();
        if (first >= 0 && first < GetProxy()->rowCount()) {
            SelectRow(GetProxy()->mapToSource(GetProxy()->index(first, 0)).row());
        }
        break;
    }
    default:
        if (auto* const* item = std::get_if<CBibTexEntry*>(&object)) {
            UpdateObjectRow(*item, true);
        } else if (std::holds_alternative<std::monostate>(object)) {
            Refill();
        }
        // Strings, searches and files are not rows of this list.
        break;
    }
    SelectionChanged(false);
    Q_EMIT commandStateChanged();
}

void CQVNBibTeXView::SetupColumns() {
    const CQVNSettings& settings = GetHost().GetAppearance();
    std::vector<int> fields;
    std::vector<int> widths;
    for (int position = 0; position < settings.GetColumnCount(); ++position) {
        const int field = settings.GetColumnField(position);
        if (field >= 0 && field < kFieldCount) {
            fields.push_back(field);
            widths.push_back(settings.GetColumnWidth(position));
        }
    }
    m_model->SetColumns(std::move(fields), settings.GetShowTexAsText());
    m_filled = false;
    SetColumnWidth(0, CItemsListModel::kKeyColumnWidth);
    for (std::size_t i = 0; i < widths.size(); ++i) {
        SetColumnWidth(static_cast<int>(i) + 1, widths[i]);
    }
    MoveProblemColumnFirst();
    HideSortIndicator();
}

void CQVNBibTeXView::OnColumnResized(int column, int width) {
    const std::vector<int>& fields = m_model->GetColumnFields();
    // The key column has no field.
    if (column < 1 || column > static_cast<int>(fields.size())) {
        return;
    }
    GetHost().GetAppearance().SetFieldWidth(fields[static_cast<std::size_t>(column - 1)], width);
}

void CQVNBibTeXView::Refill(const std::string& key) {
    if (!GetFileName().empty()) {
        FillFromFile(key);
        return;
    }
    CBusyCursor busy(GetDocument().GetUserInterface());
    const CBibTexMap& items = GetDocument().GetItems();
    std::vector<CBibTexEntry*> rows;
    rows.reserve(static_cast<std::size_t>(items.GetTotalCount()));
    // Grouped by file, in the files' order and each file's item order; the
    // list of all items keeps this order (it is not sorted again).
    for (const auto& [name, fileItems] : items.Files()) {
        for (const auto& [itemKey, item] : *fileItems) {
            rows.push_back(item.get());
        }
    }
    ShowItems(std::move(rows), key);
    HideSortIndicator();
}

void CQVNBibTeXView::FillFromFile(const std::string& key) {
    CBusyCursor busy(GetDocument().GetUserInterface());
    std::vector<CBibTexEntry*> rows;
    if (const CBibTexMap::KeyMap* fileItems = GetDocument().GetItems().Items(GetFileName())) {
        rows.reserve(fileItems->size());
        for (const auto& [itemKey, item] : *fileItems) {
            rows.push_back(item.get());
        }
    }
    m_model->SetItems(std::move(rows));
    m_filled = true;
    // A file's list takes the order last chosen in any items list.
    Resort();
    SelectKey(key);
}

void CQVNBibTeXView::ShowItems(std::vector<CBibTexEntry*> items, const std::string& key) {
    m_model->SetItems(std::move(items));
    m_filled = true;
    SelectKey(key);
}

void CQVNBibTeXView::SelectKey(const std::string& key) {
    if (key.empty()) {
        return;
    }
    const int row = m_model->FindKey(key);
    if (row >= 0) {
        SelectRow(row);
    }
}

int CQVNBibTeXView::FindRow(const std::string& key) const {
    return m_model->FindKey(key);
}

void CQVNBibTeXView::UpdateObjectRow(CBibTexEntry* item, bool select) {
    if (item == nullptr) {
        return;
    }
    const int row = m_model->FindKey(item->GetKey());
    if (row < 0) {
        Refill(item->GetKey());
        return;
    }
    m_model->UpdateRow(row);
    if (select) {
        const QModelIndex index = GetProxy()->mapFromSource(m_model->index(row, 0));
        GetSelectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

void CQVNBibTeXView::DeleteSelection() {
    if (IsReadOnly()) {
        return;
    }
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) {
        return;
    }
    std::vector<std::string> keys;
    keys.reserve(rows.size());
    for (int row : rows) {
        if (const CBibTexEntry* item = m_model->GetItem(row)) {
            keys.push_back(item->GetKey());
        }
    }
    {
        CQuietSelection quiet(*this);
        CBusyCursor busy(GetDocument().GetUserInterface());
        // The rows go first: while rows are removed the item views read the
        // rows that remain (the current row moves), and a row must never
        // show an item that is already deleted.
        CQVNListView::DeleteSelection();
        // Top to bottom, until the first key the project does not hold.
        for (const std::string& key : keys) {
            if (!GetDocument().DeleteItem(key)) {
                break;
            }
        }
    }
    // The property window may show a deleted item: it follows the new
    // selection instead.
    SelectionChanged(true);
}

void CQVNBibTeXView::Detach() {
    m_model->DetachDocument();
    CQVNListView::Detach();
}

std::string CQVNBibTeXView::CreateClipboardData() const {
    std::string text;
    std::string fileName;
    for (int row : GetSelectedRows()) {
        const CBibTexEntry* shown = m_model->GetItem(row);
        if (shown == nullptr || shown->GetKey().empty()) {
            continue;
        }
        const std::string& key = shown->GetKey();
        const CBibTexEntry* item = GetFileName().empty()
                                       ? GetDocument().FindItem(key, fileName)
                                       : GetDocument().LookupItem(GetFileName(), key);
        if (item != nullptr) {
            item->AppendText(text);
        }
    }
    return text;
}

void CQVNBibTeXView::PasteData(const std::string& data) {
    if (IsReadOnly()) {
        return;
    }
    std::vector<CBibTexEntry*> added;
    if (GetDocument().PasteItems(data, GetFileName(), added)) {
        m_model->AppendItems(added);
    }
    Q_EMIT commandStateChanged();
}

bool CQVNBibTeXView::CanDropText(const std::string& data) const {
    if (IsReadOnly()) {
        return false;
    }
    if (data != m_dropText || m_dropText.empty()) {
        m_dropText = data;
        m_dropTextOk = CQVNDoc::HoldsItems(data);
    }
    return m_dropTextOk;
}

void CQVNBibTeXView::SelectionChanged(bool notify) {
    const std::vector<int> rows = GetSelectedRows();
    {
        // A preview of a hundred thousand items would take seconds and
        // hundreds of megabytes to lay out, and nobody reads it: the
        // preview shows the first ones and says how many more there are.
        std::string text;
        const std::size_t shown = std::min(rows.size(), kPreviewItems);
        for (std::size_t i = 0; i < shown; ++i) {
            if (const CBibTexEntry* item = m_model->GetItem(rows[i])) {
                item->AppendText(text);
            }
        }
        if (shown < rows.size()) {
            text += qvn::Format(kPreviewMore, static_cast<int>(rows.size() - shown));
        }
        GetHost().SetPreviewText(qvn::ToQString(text));
    }
    if (notify) {
        HintObject object;
        if (!rows.empty()) {
            if (CBibTexEntry* item = m_model->GetItem(rows.front())) {
                object = item;
            }
        }
        GetDocument().UpdateAllViews(this, UpdateHint::Change, object);
    }
}

std::optional<std::string> CQVNBibTeXView::GetCountText() const {
    return CountText(GetFileName());
}

QString CQVNBibTeXView::GetPrintTitle() const {
    if (GetFileName().empty()) {
        return qvn::ToQString(GetDocument().GetPathName());
    }
    return qvn::ToQString(GetFileName() + ".bib");
}

QMenu* CQVNBibTeXView::CreateContextMenu() {
    return BuildContextMenu(kContextMenu, {{ID_NEW_BIBTEX_ITEM, "&New...\tIns"},
                                           {ID_EDIT_CUT, "Cu&t\tCtrl+X"},
                                           {ID_EDIT_COPY, "&Copy\tCtrl+C"},
                                           {ID_EDIT_PASTE, "&Paste\tCtrl+V"},
                                           {ID_EDIT_CLEAR, "&Delete\tDel"},
                                           {ID_EDIT_SELECT_ALL, "Select all\tCtrl+A"}});
}

int CQVNBibTeXView::GetNewCommand() const {
    return ID_NEW_BIBTEX_ITEM;
}
