#include "views/QVNListView.h"

#include "kit/QtText.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "views/ListRowsModel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPrinter>
#include <QSortFilterProxyModel>
#include <QStackedWidget>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr const char* kNoPreview = "No preview available.";

// The hosted item views hand the user's clicks, keys, drags and drops to the
// list that owns them.
template <typename Base> class CListItemView : public Base {
public:
    explicit CListItemView(CQVNListView* owner) : Base(owner), m_owner(owner) {
        this->setSelectionMode(QAbstractItemView::ExtendedSelection);
        this->setSelectionBehavior(QAbstractItemView::SelectRows);
        this->setDragEnabled(true);
        this->setAcceptDrops(true);
        this->viewport()->setAcceptDrops(true);
        this->setDropIndicatorShown(false);
        this->setContextMenuPolicy(Qt::DefaultContextMenu);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (const int id = CQVNView::ClipboardCommandOfKey(*event); id != 0) {
            m_owner->ExecuteCommand(id);
            event->accept();
            return;
        }
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            if (event->key() == Qt::Key_Delete) {
                m_owner->OnDeleteKey();
                event->accept();
                return;
            }
            if (event->key() == Qt::Key_Insert) {
                m_owner->OnInsertKey();
                event->accept();
                return;
            }
        }
        Base::keyPressEvent(event);
    }
    void startDrag(Qt::DropActions) override { m_owner->StartDrag(); }
    void dragEnterEvent(QDragEnterEvent* event) override { Accept(event); }
    void dragMoveEvent(QDragMoveEvent* event) override { Accept(event); }
    void dropEvent(QDropEvent* event) override {
        if (!Acceptable(event)) {
            event->ignore();
            return;
        }
        event->setDropAction(Qt::CopyAction);
        event->accept();
        m_owner->PasteData(qvn::FromQString(event->mimeData()->text()));
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        m_owner->ShowContextMenu(event->globalPos());
    }

private:
    bool Acceptable(const QDropEvent* event) const {
        return !m_owner->IsDragging() && !m_owner->GetDocument().IsReadOnly() &&
               event->mimeData()->hasText() &&
               m_owner->CanDropText(qvn::FromQString(event->mimeData()->text()));
    }
    void Accept(QDropEvent* event) {
        if (Acceptable(event)) {
            event->setDropAction(Qt::CopyAction);
            event->accept();
        } else {
            event->ignore();
        }
    }

    CQVNListView* m_owner;
};

// Sorting compares the display texts character by character, ignoring case,
// in the same way over every list (no numeric order: "10" before "9").
class CListSortProxy : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void SetAccept(std::function<bool(int)> accept) {
        m_accept = std::move(accept);
        // One pass over the rows and one layout change: removing the rows
        // that no longer pass one run at a time would cost far more.
        invalidate();
    }
    bool HasAccept() const { return static_cast<bool>(m_accept); }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override {
        return !m_accept || sourceParent.isValid() || m_accept(sourceRow);
    }

    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override {
        const QString a = left.data(Qt::DisplayRole).toString();
        const QString b = right.data(Qt::DisplayRole).toString();
        return qvn::CompareNoCase(qvn::FromQString(a), qvn::FromQString(b)) < 0;
    }

private:
    std::function<bool(int)> m_accept;
};

// Report display with grid lines, as a table draws them: a line at the right
// and at the bottom of every cell.
class CGridDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyledItemDelegate::paint(painter, option, index);
        const QWidget* widget = option.widget;
        const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
        const auto color =
            static_cast<QRgb>(style->styleHint(QStyle::SH_Table_GridLineColor, &option, widget));
        painter->save();
        painter->setPen(QColor::fromRgba(color));
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->restore();
    }
};

} // namespace

CQVNListView::CQVNListView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNView(doc, host, parent), m_proxy(new CListSortProxy(this)),
      m_stack(new QStackedWidget(this)), m_details(new CListItemView<QTreeView>(this)),
      m_icons(new CListItemView<QListView>(this)) {
    m_proxy->setDynamicSortFilter(false);
    m_details->setRootIsDecorated(false);
    m_details->setUniformRowHeights(true);
    m_details->setItemsExpandable(false);
    m_details->setAllColumnsShowFocus(true);
    m_details->header()->setSectionsClickable(true);
    m_details->header()->setSortIndicatorShown(false);
    m_details->header()->setStretchLastSection(false);
    m_details->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_details->setItemDelegate(new CGridDelegate(m_details));
    m_icons->setUniformItemSizes(true);
    // Keys often differ at their end (smith2001a, smith2001b).
    m_icons->setTextElideMode(Qt::ElideMiddle);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setWrapping(true);

    m_stack->addWidget(m_details);
    m_stack->addWidget(m_icons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_stack);
    setFocusProxy(m_details);

    // A click on a column header toggles the direction, whatever column was
    // sorted before, and sorts by the clicked column.
    connect(m_details->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { SortItems(column, !GetSortAscending()); });

    // The columns use the list's whole width: the last one takes the room
    // that is left. The header's mouse tells a width the user set from one
    // the list sets itself.
    QHeaderView* header = m_details->header();
    connect(header, &QHeaderView::sectionResized, this,
            [this](int column, int, int width) { OnSectionResized(column, width); });
    connect(header, &QHeaderView::sectionCountChanged, this, &CQVNListView::FitLastColumn);
    connect(header, &QHeaderView::sectionMoved, this, &CQVNListView::FitLastColumn);
    header->viewport()->installEventFilter(this);
    m_details->viewport()->installEventFilter(this);
}

CQVNListView::~CQVNListView() = default;

void CQVNListView::SetSourceModel(QAbstractItemModel* model) {
    m_source = model;
    m_proxy->setSourceModel(model);
    m_details->setModel(m_proxy);
    m_icons->setModel(m_proxy);
    // Both displays share one selection.
    QItemSelectionModel* iconSelection = m_icons->selectionModel();
    QItemSelectionModel* shared = m_details->selectionModel();
    m_icons->setSelectionModel(shared);
    delete iconSelection;
    connect(shared, &QItemSelectionModel::selectionChanged, this,
            &CQVNListView::OnSelectionModelChanged);
}

void CQVNListView::SetRowFilter(std::function<bool(int sourceRow)> accept) {
    static_cast<CListSortProxy*>(m_proxy)->SetAccept(std::move(accept));
}

bool CQVNListView::HasRowFilter() const {
    return static_cast<const CListSortProxy*>(m_proxy)->HasAccept();
}

void CQVNListView::AddAboveList(QWidget* widget) {
    static_cast<QVBoxLayout*>(layout())->insertWidget(0, widget);
}

QAbstractItemView* CQVNListView::GetCurrentView() const {
    return m_mode == ListDisplayMode::Details ? static_cast<QAbstractItemView*>(m_details)
                                              : static_cast<QAbstractItemView*>(m_icons);
}

QItemSelectionModel* CQVNListView::GetSelectionModel() const {
    return m_details->selectionModel();
}

void CQVNListView::SetDisplayMode(ListDisplayMode mode) {
    m_mode = mode;
    switch (mode) {
    case ListDisplayMode::Details:
        m_stack->setCurrentWidget(m_details);
        setFocusProxy(m_details);
        break;
    case ListDisplayMode::LargeIcons:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setIconSize(QSize(32, 32));
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setGridSize(QSize(128, 72));
        m_icons->setMovement(QListView::Snap);
        break;
    case ListDisplayMode::SmallIcons:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setGridSize(QSize(200, 22));
        m_icons->setMovement(QListView::Snap);
        break;
    case ListDisplayMode::List:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setFlow(QListView::TopToBottom);
        // Uniform items would all take the first item's width: a grid of
        // a fixed width shows most keys whole.
        m_icons->setGridSize(QSize(220, 20));
        m_icons->setMovement(QListView::Static);
        break;
    }
    if (mode != ListDisplayMode::Details) {
        m_icons->setWrapping(true);
        m_stack->setCurrentWidget(m_icons);
        setFocusProxy(m_icons);
    }
    Q_EMIT commandStateChanged();
}

void CQVNListView::SetColumnWidth(int column, int width) {
    if (column < 0) {
        return;
    }
    if (static_cast<std::size_t>(column) >= m_columnWidths.size()) {
        m_columnWidths.resize(static_cast<std::size_t>(column) + 1, 0);
    }
    m_columnWidths[static_cast<std::size_t>(column)] = width;
    m_fittingColumns = true;
    m_details->header()->resizeSection(column, width);
    m_fittingColumns = false;
    FitLastColumn();
}

int CQVNListView::OwnColumnWidth(int column) const {
    const auto index = static_cast<std::size_t>(column);
    if (index < m_columnWidths.size() && m_columnWidths[index] > 0) {
        return m_columnWidths[index];
    }
    return m_details->header()->defaultSectionSize();
}

void CQVNListView::OnSectionResized(int column, int width) {
    if (m_fittingColumns) {
        return;
    }
    if (m_headerPressed) {
        if (static_cast<std::size_t>(column) >= m_columnWidths.size()) {
            m_columnWidths.resize(static_cast<std::size_t>(column) + 1, 0);
        }
        m_columnWidths[static_cast<std::size_t>(column)] = width;
        OnColumnResized(column, width);
    }
    FitLastColumn();
}

void CQVNListView::FitLastColumn() {
    QHeaderView* header = m_details->header();
    if (m_fittingColumns || header->count() == 0) {
        return;
    }
    int last = -1;
    for (int visual = header->count() - 1; visual >= 0 && last < 0; --visual) {
        if (const int logical = header->logicalIndex(visual); !header->isSectionHidden(logical)) {
            last = logical;
        }
    }
    m_fittingColumns = true;
    // A column that filled the room before and is no longer last (moved,
    // or columns were added) goes back to its own width.
    if (m_filledColumn != last && m_filledColumn >= 0 && m_filledColumn < header->count()) {
        header->resizeSection(m_filledColumn, OwnColumnWidth(m_filledColumn));
    }
    m_filledColumn = last;
    if (last >= 0) {
        const int others = header->length() - header->sectionSize(last);
        const int room = m_details->viewport()->width() - others;
        const int width = std::max(OwnColumnWidth(last), room);
        if (header->sectionSize(last) != width) {
            header->resizeSection(last, width);
        }
    }
    m_fittingColumns = false;
}

bool CQVNListView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_details->header()->viewport()) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            m_headerPressed = true;
            break;
        case QEvent::MouseButtonRelease:
            m_headerPressed = false;
            break;
        default:
            break;
        }
    } else if (watched == m_details->viewport() && event->type() == QEvent::Resize) {
        FitLastColumn();
    }
    return CQVNView::eventFilter(watched, event);
}

void CQVNListView::ArrangeIcons() {
    if (m_mode == ListDisplayMode::LargeIcons || m_mode == ListDisplayMode::SmallIcons) {
        m_icons->doItemsLayout();
    }
}

void CQVNListView::SortItems(int column, bool ascending) {
    if (m_source == nullptr || column < 0 || column >= m_source->columnCount()) {
        return;
    }
    // The same rows stay selected in another order.
    CQuietSelection quiet(*this);
    CBusyCursor busy(GetDocument().GetUserInterface());
    // Models of many rows order themselves; the proxy then shows their order.
    if (auto* rows = qobject_cast<CListRowsModel*>(m_source)) {
        rows->SortRows(column, ascending);
    } else {
        m_proxy->sort(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
    SetSortColumn(column);
    SetSortAscending(ascending);
    UpdateSortIndicator();
}

void CQVNListView::Resort() {
    if (GetSortColumn() != -1) {
        SortItems(GetSortColumn(), GetSortAscending());
    }
}

void CQVNListView::HideSortIndicator() {
    m_details->header()->setSortIndicatorShown(false);
}

void CQVNListView::UpdateSortIndicator() {
    QHeaderView* header = m_details->header();
    if (GetSortColumn() < 0) {
        header->setSortIndicatorShown(false);
        return;
    }
    header->setSortIndicatorShown(true);
    header->setSortIndicator(GetSortColumn(),
                             GetSortAscending() ? Qt::AscendingOrder : Qt::DescendingOrder);
}

QString CQVNListView::GetPrintTitle() const {
    return QString::fromLatin1(CQVNDoc::kAppTitle);
}

std::vector<int> CQVNListView::SelectedProxyRows() const {
    std::vector<int> proxyRows;
    if (GetSelectionModel() == nullptr) {
        return proxyRows;
    }
    for (const QModelIndex& index : GetSelectionModel()->selectedRows()) {
        proxyRows.push_back(index.row());
    }
    std::sort(proxyRows.begin(), proxyRows.end());
    return proxyRows;
}

std::vector<int> CQVNListView::ToSourceRows(const std::vector<int>& proxyRows) const {
    std::vector<int> rows;
    rows.reserve(proxyRows.size());
    for (int row : proxyRows) {
        rows.push_back(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    }
    return rows;
}

std::vector<int> CQVNListView::GetSelectedRows() const {
    return ToSourceRows(SelectedProxyRows());
}

bool CQVNListView::HasSelection() const {
    return GetSelectionModel() != nullptr && GetSelectionModel()->hasSelection();
}

void CQVNListView::SelectRow(int sourceRow) {
    SelectRows({sourceRow});
}

void CQVNListView::SelectRows(const std::vector<int>& sourceRows) {
    if (m_source == nullptr) {
        return;
    }
    std::vector<int> shown;
    shown.reserve(sourceRows.size());
    for (const int row : sourceRows) {
        if (row >= 0 && row < m_source->rowCount()) {
            shown.push_back(m_proxy->mapFromSource(m_source->index(row, 0)).row());
        }
    }
    if (shown.empty()) {
        return;
    }
    // Runs of neighbouring rows become one range each, so selecting every row
    // of a long list stays cheap.
    std::sort(shown.begin(), shown.end());
    const QModelIndex first = m_proxy->index(shown.front(), 0);
    QItemSelection selection;
    for (std::size_t i = 0; i < shown.size();) {
        std::size_t end = i + 1;
        while (end < shown.size() && shown[end] <= shown[end - 1] + 1) {
            ++end;
        }
        selection.select(m_proxy->index(shown[i], 0), m_proxy->index(shown[end - 1], 0));
        i = end;
    }
    GetSelectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    GetSelectionModel()->select(selection,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    GetCurrentView()->scrollTo(first);
}

void CQVNListView::SelectAll() {
    if (m_proxy->rowCount() == 0) {
        return;
    }
    const QItemSelection all(m_proxy->index(0, 0), m_proxy->index(m_proxy->rowCount() - 1, 0));
    GetSelectionModel()->select(all,
                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void CQVNListView::InvertSelection() {
    if (m_proxy->rowCount() == 0) {
        return;
    }
    const QItemSelection all(m_proxy->index(0, 0), m_proxy->index(m_proxy->rowCount() - 1, 0));
    GetSelectionModel()->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

void CQVNListView::DeleteSelection() {
    if (m_source == nullptr) {
        return;
    }
    const std::vector<int> proxyRows = SelectedProxyRows();
    if (proxyRows.empty()) {
        return;
    }
    const int first = proxyRows.front();
    std::vector<int> rows = ToSourceRows(proxyRows);
    std::sort(rows.begin(), rows.end());
    if (auto* model = qobject_cast<CListRowsModel*>(m_source)) {
        model->RemoveRowSet(rows);
    } else {
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            m_source->removeRow(*it);
        }
    }
    // The row now at the first removed place takes the selection, or the
    // last row when the removed rows were the last ones.
    const int count = m_proxy->rowCount();
    if (count > 0) {
        SelectRow(m_proxy->mapToSource(m_proxy->index(std::min(first, count - 1), 0)).row());
    } else {
        GetSelectionModel()->clear();
    }
}

void CQVNListView::PasteData(const std::string&) {}

bool CQVNListView::CanDropText(const std::string&) const {
    return false;
}

void CQVNListView::SelectionChanged(bool) {
    GetHost().SetPreviewText(QString::fromLatin1(kNoPreview));
}

void CQVNListView::OnUserSelection() {
    SelectionChanged(true);
    Q_EMIT commandStateChanged();
}

void CQVNListView::OnSelectionModelChanged() {
    if (m_quietSelection == 0) {
        SelectionChanged(true);
    }
    Q_EMIT commandStateChanged();
}

CListDragData* CQVNListView::CreateDragData() const {
    const std::string text = CreateClipboardData();
    if (text.empty()) {
        return nullptr;
    }
    auto* data = new CListDragData;
    data->setText(qvn::ToQString(text));
    return data;
}

void CQVNListView::StartDrag() {
    CListDragData* data = CreateDragData();
    if (data == nullptr) {
        return;
    }
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    m_dragging = true;
    drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
    m_dragging = false;
}

void CQVNListView::ShowContextMenu(const QPoint& globalPos) {
    QMenu* menu = CreateContextMenu();
    if (menu == nullptr) {
        return;
    }
    GetHost().UpdateCommandStates();
    menu->exec(globalPos);
    menu->deleteLater();
}

QMenu* CQVNListView::BuildContextMenu(const char* name,
                                      std::initializer_list<std::pair<int, const char*>> entries) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    for (const auto& [id, text] : entries) {
        QAction* action = menu->addAction(QString::fromLatin1(text));
        action->setData(id);
        action->setEnabled(QueryCommand(id).enabled);
        const int command = id;
        connect(action, &QAction::triggered, this, [this, command] { ExecuteCommand(command); });
    }
    GetHost().AttachPrompts(menu);
    return menu;
}

CommandState CQVNListView::QueryCommand(int id) {
    GetHost().SetActiveView(this);
    return GetHost().QueryCommand(id);
}

bool CQVNListView::ExecuteCommand(int id) {
    GetHost().SetActiveView(this);
    return GetHost().RouteCommand(id);
}

void CQVNListView::OnDeleteKey() {
    ExecuteCommand(ID_EDIT_CLEAR);
}

void CQVNListView::OnInsertKey() {
    if (const int id = GetNewCommand(); id != 0) {
        ExecuteCommand(id);
    }
}

bool CQVNListView::CopyToClipboard() const {
    const std::string text = CreateClipboardData();
    if (text.empty()) {
        return false;
    }
    auto* data = new QMimeData;
    data->setText(qvn::ToQString(text));
    QApplication::clipboard()->setMimeData(data);
    return true;
}

bool CQVNListView::OnCommand(int id) {
    switch (id) {
    case ID_EDIT_CUT:
        if (CopyToClipboard()) {
            DeleteSelection();
        }
        return true;
    case ID_EDIT_COPY:
        CopyToClipboard();
        return true;
    case ID_EDIT_PASTE: {
        const QString text = QApplication::clipboard()->text();
        PasteData(std::string(qvn::TrimView(qvn::FromQString(text))));
        return true;
    }
    case ID_EDIT_CLEAR:
        DeleteSelection();
        return true;
    case ID_EDIT_SELECT_ALL:
        SelectAll();
        return true;
    case ID_INVERT_SELECTION:
        InvertSelection();
        return true;
    case ID_NEW_BIBTEX_ITEM:
        GetDocument().NewItem(m_fileName);
        return true;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        if (id == ID_FILE_PRINT_PREVIEW) {
            PrintPreview(GetHost().GetPrinter());
        } else {
            Print(GetHost().GetPrinter(), id == ID_FILE_PRINT);
        }
        return true;
    case ID_SORT_ASCENDING:
    case ID_SORT_DESCENDING:
        if (!m_handlesSortCommands) {
            return false;
        }
        SortItems(0, id == ID_SORT_ASCENDING);
        return true;
    default:
        return false;
    }
}

bool CQVNListView::UpdateCommand(int id, CommandState& state) {
    switch (id) {
    case ID_EDIT_CUT:
    case ID_EDIT_CLEAR:
        state.enabled = !m_readOnly && HasSelection();
        return true;
    case ID_EDIT_COPY:
        state.enabled = HasSelection();
        return true;
    case ID_EDIT_PASTE:
        state.enabled = !m_readOnly && CanPaste();
        return true;
    case ID_EDIT_SELECT_ALL:
    case ID_INVERT_SELECTION:
        state.enabled = true;
        return true;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_DIRECT:
    case ID_FILE_PRINT_PREVIEW:
        state.enabled = true;
        return true;
    case ID_SORT_ASCENDING:
    case ID_SORT_DESCENDING:
        if (!m_handlesSortCommands) {
            return false;
        }
        state.enabled = GetDocument().IsProjectActive();
        return true;
    default:
        // New BibTeX item: the document decides.
        return false;
    }
}

QString CQVNListView::HelpTopic() const {
    return QStringLiteral("lists.htm");
}

// ---------------------------------------------------------------------------
// Printing

CListPrinter CQVNListView::MakePrinter() const {
    CListPrinter printer(*m_proxy,
                         m_mode == ListDisplayMode::Details ? m_details->header() : nullptr,
                         GetPrintTitle(), qvn::ToQString(GetDocument().GetTitle()));
    if (const auto* rowsModel = qobject_cast<const CListRowsModel*>(m_source)) {
        printer.SetPrintedColumns(
            [rowsModel](int column) { return rowsModel->IsPrintedColumn(column); });
    }
    return printer;
}

void CQVNListView::Print(QPrinter& printer, bool askFirst) {
    MakePrinter().Print(printer, askFirst, this);
}

void CQVNListView::PrintPreview(QPrinter& printer) {
    MakePrinter().Preview(printer,
                          QStringLiteral("%1 - %2").arg(qvn::ToQString(GetDocument().GetTitle()),
                                                        QString::fromLatin1(CQVNDoc::kAppTitle)),
                          this);
}

void CQVNListView::RenderPages(QPrinter& printer) {
    MakePrinter().RenderPages(printer);
}
