#include "views/QVNListView.h"

#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "app/QtText.h"
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
#include <QPrintDialog>
#include <QPrintPreviewDialog>
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
// The ruler that fixes the printed text block's width: 81 characters.
constexpr const char* kRuler =
    "---------1---------2---------3---------4---------5---------6---------7---------8-";
constexpr int kHeaderWidth = 81;
constexpr int kMaxTitleLength = 68;

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

CQVNListView::CQVNListView(CQVNDoc& doc, CMainFrame* frame, QWidget* parent)
    : CQVNView(doc, frame, parent), m_proxy(new CListSortProxy(this)),
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

std::vector<int> CQVNListView::GetSelectedRows() const {
    std::vector<int> proxyRows;
    if (GetSelectionModel() == nullptr) {
        return proxyRows;
    }
    for (const QModelIndex& index : GetSelectionModel()->selectedRows()) {
        proxyRows.push_back(index.row());
    }
    std::sort(proxyRows.begin(), proxyRows.end());
    std::vector<int> rows;
    rows.reserve(proxyRows.size());
    for (int row : proxyRows) {
        rows.push_back(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    }
    return rows;
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
    std::vector<int> proxyRows;
    for (const QModelIndex& index : GetSelectionModel()->selectedRows()) {
        proxyRows.push_back(index.row());
    }
    if (proxyRows.empty()) {
        return;
    }
    std::sort(proxyRows.begin(), proxyRows.end());
    const int first = proxyRows.front();
    std::vector<int> rows;
    rows.reserve(proxyRows.size());
    for (int row : proxyRows) {
        rows.push_back(m_proxy->mapToSource(m_proxy->index(row, 0)).row());
    }
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
    if (GetFrame() != nullptr) {
        GetFrame()->SetPreviewText(QString::fromLatin1(kNoPreview));
    }
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
    if (GetFrame() != nullptr) {
        GetFrame()->updateActions();
    }
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
    if (GetFrame() != nullptr) {
        GetFrame()->AttachPrompts(menu);
    }
    return menu;
}

CommandState CQVNListView::QueryCommand(int id) {
    if (GetFrame() != nullptr) {
        GetFrame()->SetActiveView(this);
        return GetFrame()->QueryCommand(id);
    }
    CommandState state;
    if (UpdateCommand(id, state)) {
        return state;
    }
    bool handled = false;
    state.enabled = GetDocument().IsCommandEnabled(id, handled) && handled;
    return state;
}

bool CQVNListView::ExecuteCommand(int id) {
    if (GetFrame() != nullptr) {
        GetFrame()->SetActiveView(this);
        return GetFrame()->RouteCommand(id);
    }
    if (!QueryCommand(id).enabled) {
        return false;
    }
    const bool done = OnCommand(id) || GetDocument().OnCommand(id);
    Q_EMIT commandStateChanged();
    return done;
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
        if (GetFrame() == nullptr) {
            return false;
        }
        if (id == ID_FILE_PRINT_PREVIEW) {
            PrintPreview(GetFrame()->GetApp().GetPrinter());
        } else {
            Print(GetFrame()->GetApp().GetPrinter(), id == ID_FILE_PRINT);
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
        // Printing needs the application's printer.
        state.enabled = GetFrame() != nullptr;
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

QString CQVNListView::FormatPageHeader(const QString& title, const QString& fallbackTitle,
                                       int page) {
    const QString pageText = QStringLiteral("Seite %1").arg(page);
    QString shown = title.size() > kMaxTitleLength ? fallbackTitle : title;
    // At least one blank keeps title and page apart when they are long.
    const qsizetype blanks = std::max<qsizetype>(1, kHeaderWidth - shown.size() - pageText.size());
    return shown + QString(blanks, QLatin1Char(' ')) + pageText;
}

void CQVNListView::Print(QPrinter& printer, bool askFirst) {
    if (askFirst) {
        QPrintDialog dialog(&printer, this);
        if (dialog.exec() != QDialog::Accepted) {
            return;
        }
    }
    RenderPages(printer);
}

void CQVNListView::PrintPreview(QPrinter& printer) {
    QPrintPreviewDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("%1 - %2").arg(qvn::ToQString(GetDocument().GetTitle()),
                                                        QString::fromLatin1(CQVNDoc::kAppTitle)));
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this,
            [this](QPrinter* target) { RenderPages(*target); });
    dialog.exec();
}

ListPrintMetrics CQVNListView::BeginPrintMetrics(QPainter& painter) {
    // "Courier New" where it exists, else the system's monospace face.
    QFont font(QStringLiteral("Courier New"));
    font.setFamilies({QStringLiteral("Courier New"), QStringLiteral("monospace")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(10);
    painter.setFont(font);
    const QFontMetrics fm(font, painter.device());
    ListPrintMetrics metrics;
    metrics.lineHeight = std::max(1, fm.height() + fm.leading());
    metrics.blockWidth = fm.horizontalAdvance(QString::fromLatin1(kRuler));
    const QRect page = painter.viewport();
    metrics.leftMargin = std::max(0, (page.width() - metrics.blockWidth) / 2);
    metrics.linesPerPage = std::max(1, page.height() / metrics.lineHeight - 7);
    metrics.bodyLineCount = GetBodyLineCount();
    metrics.pageCount =
        std::max(1, (metrics.bodyLineCount + metrics.linesPerPage - 1) / metrics.linesPerPage);
    return metrics;
}

void CQVNListView::RenderPages(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    const ListPrintMetrics metrics = BeginPrintMetrics(painter);
    m_printColumns = LayOutPrintColumns();
    for (int p = 1; p <= metrics.pageCount; ++p) {
        if (p > 1) {
            printer.newPage();
        }
        PrintHeader(painter, metrics, p);
        PrintBody(painter, metrics, p);
        PrintFooter(painter, metrics, p);
    }
    painter.end();
    m_printColumns.clear();
}

int CQVNListView::GetBodyLineCount() const {
    return m_proxy->rowCount();
}

std::vector<int> CQVNListView::PrintColumnChars(const std::vector<PrintColumnNeed>& needs,
                                                int lineWidth) {
    // A text column cut to fewer than four characters would show its cut
    // ("...") and nothing of its text.
    static constexpr int kMinChars = 4;
    const auto least = [&needs](std::size_t i) {
        return needs[i].number ? needs[i].chars : std::min(needs[i].chars, kMinChars);
    };
    std::size_t count = needs.size();
    for (;;) {
        int total = count > 0 ? static_cast<int>(count) - 1 : 0;
        for (std::size_t i = 0; i < count; ++i) {
            total += least(i);
        }
        if (total <= lineWidth) {
            break;
        }
        --count;
    }
    std::vector<int> chars;
    int room = lineWidth - (count > 0 ? static_cast<int>(count) - 1 : 0);
    int wanted = 0;
    for (std::size_t i = 0; i < count; ++i) {
        chars.push_back(needs[i].chars);
        wanted += needs[i].chars;
    }
    if (wanted <= room) {
        return chars;
    }
    // Numbers keep their width; the text columns share what is left, the
    // narrowest first, each taking no more than it needs.
    std::vector<std::size_t> texts;
    for (std::size_t i = 0; i < count; ++i) {
        if (needs[i].number) {
            room -= needs[i].chars;
        } else {
            texts.push_back(i);
        }
    }
    std::stable_sort(texts.begin(), texts.end(), [&needs](std::size_t a, std::size_t b) {
        return needs[a].chars < needs[b].chars;
    });
    std::size_t whole = 0;
    while (whole < texts.size()) {
        const int share = room / static_cast<int>(texts.size() - whole);
        if (needs[texts[whole]].chars > share) {
            break;
        }
        room -= needs[texts[whole]].chars;
        ++whole;
    }
    std::vector<std::size_t> cut(texts.begin() + static_cast<std::ptrdiff_t>(whole), texts.end());
    std::sort(cut.begin(), cut.end());
    if (!cut.empty()) {
        const int share = room / static_cast<int>(cut.size());
        int extra = room % static_cast<int>(cut.size());
        for (const std::size_t i : cut) {
            chars[i] = share + (extra > 0 ? 1 : 0);
            --extra;
        }
    }
    return chars;
}

QString CQVNListView::FormatPrintLine(const QStringList& cells, const std::vector<int>& chars) {
    static const QString kCut = QStringLiteral("...");
    QString line;
    const qsizetype count = std::min<qsizetype>(cells.size(), static_cast<qsizetype>(chars.size()));
    for (qsizetype i = 0; i < count; ++i) {
        QString cell = cells.at(i);
        for (QChar& c : cell) {
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t')) {
                c = QLatin1Char(' ');
            }
        }
        const int width = chars[static_cast<std::size_t>(i)];
        if (cell.size() > width) {
            cell = width > kCut.size() ? cell.left(width - kCut.size()) + kCut : kCut.left(width);
        }
        if (i > 0) {
            line += QLatin1Char(' ');
        }
        line += i + 1 < count ? cell.leftJustified(width, QLatin1Char(' ')) : cell;
    }
    return line;
}

namespace {

// A value printed whole however narrow the page: digits, perhaps signed,
// no longer than a 64-bit number.
bool IsNumber(const QString& text) {
    const qsizetype start = text.startsWith(QLatin1Char('-')) ? 1 : 0;
    if (text.size() <= start || text.size() > 20) {
        return false;
    }
    for (qsizetype i = start; i < text.size(); ++i) {
        if (!text.at(i).isDigit()) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<CQVNListView::PrintColumn> CQVNListView::LayOutPrintColumns() const {
    std::vector<int> columns;
    QHeaderView* header = m_details->header();
    const auto* rowsModel = qobject_cast<const CListRowsModel*>(m_source);
    if (m_mode == ListDisplayMode::Details) {
        for (int visual = 0; visual < header->count(); ++visual) {
            const int logical = header->logicalIndex(visual);
            if (!header->isSectionHidden(logical) &&
                (rowsModel == nullptr || rowsModel->IsPrintedColumn(logical))) {
                columns.push_back(logical);
            }
        }
    } else if (m_proxy->columnCount() > 0) {
        // The icon displays show the first column only.
        columns.push_back(0);
    }
    // Each column as wide as its longest text, whatever its width on the
    // screen (where the last column takes the room that is left).
    std::vector<PrintColumnNeed> needs;
    const int rows = m_proxy->rowCount();
    for (const int column : columns) {
        PrintColumnNeed need;
        need.chars =
            static_cast<int>(m_proxy->headerData(column, Qt::Horizontal).toString().size());
        bool anyValue = false;
        bool allNumbers = true;
        for (int row = 0; row < rows; ++row) {
            const QString text = m_proxy->index(row, column).data().toString();
            need.chars = std::max(need.chars, static_cast<int>(text.size()));
            if (!text.isEmpty()) {
                anyValue = true;
                allNumbers = allNumbers && IsNumber(text);
            }
        }
        need.number = anyValue && allNumbers;
        needs.push_back(need);
    }
    const std::vector<int> chars = PrintColumnChars(needs);
    std::vector<PrintColumn> layout;
    for (std::size_t i = 0; i < chars.size(); ++i) {
        layout.push_back({columns[i], chars[i]});
    }
    return layout;
}

QString CQVNListView::PrintLineOfRow(const std::vector<PrintColumn>& layout, int proxyRow) const {
    QStringList cells;
    std::vector<int> chars;
    for (const PrintColumn& column : layout) {
        cells << (proxyRow < 0 ? m_proxy->headerData(column.column, Qt::Horizontal).toString()
                               : m_proxy->index(proxyRow, column.column).data().toString());
        chars.push_back(column.chars);
    }
    return FormatPrintLine(cells, chars);
}

QStringList CQVNListView::PrintedBody() const {
    const std::vector<PrintColumn> layout = LayOutPrintColumns();
    QStringList lines;
    for (int row = -1; row < m_proxy->rowCount(); ++row) {
        lines << PrintLineOfRow(layout, row);
    }
    return lines;
}

void CQVNListView::PrintHeader(QPainter& painter, const ListPrintMetrics& metrics, int page) {
    const QString line =
        FormatPageHeader(GetPrintTitle(), qvn::ToQString(GetDocument().GetTitle()), page);
    const QFontMetrics fm(painter.font(), painter.device());
    painter.drawText(metrics.leftMargin, 2 * metrics.lineHeight + fm.ascent(), line);
    const int ruleY = metrics.lineHeight * 7 / 2;
    painter.drawLine(metrics.leftMargin, ruleY, metrics.leftMargin + metrics.blockWidth, ruleY);
}

void CQVNListView::PrintBody(QPainter& painter, const ListPrintMetrics& metrics, int page) {
    const QFontMetrics fm(painter.font(), painter.device());
    const int first = (page - 1) * metrics.linesPerPage;
    const int last = std::min(metrics.bodyLineCount, first + metrics.linesPerPage);
    if (first >= last) {
        return;
    }
    // The column titles stand between the rule and the first body line.
    const QFont plain = painter.font();
    QFont bold = plain;
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(metrics.leftMargin, 4 * metrics.lineHeight + fm.ascent(),
                     PrintLineOfRow(m_printColumns, -1));
    painter.setFont(plain);
    for (int row = first; row < last; ++row) {
        const int line = 5 + row - first;
        painter.drawText(metrics.leftMargin, line * metrics.lineHeight + fm.ascent(),
                         PrintLineOfRow(m_printColumns, row));
    }
}

void CQVNListView::PrintFooter(QPainter&, const ListPrintMetrics&, int) {}
