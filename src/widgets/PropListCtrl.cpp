#include "widgets/PropListCtrl.h"

#include "widgets/PropHost.h"
#include "widgets/PropModel.h"
#include "widgets/PropWnd.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

QColor Blend(const QColor& from, const QColor& to, qreal amount) {
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * amount,
                            from.greenF() + (to.greenF() - from.greenF()) * amount,
                            from.blueF() + (to.blueF() - from.blueF()) * amount);
}

bool HasFocusInside(const QWidget* widget) {
    const QWidget* focus = QApplication::focusWidget();
    return widget != nullptr && focus != nullptr &&
           (focus == widget || widget->isAncestorOf(focus));
}

} // namespace

EPropListCtrl::EPropListCtrl(QWidget* parent)
    : QTreeView(parent), m_model(new EPropModel(this)),
      m_delegate(new EPropDelegate(this, m_model)), m_emptyText(tr("No properties available.")) {
    setModel(m_model);
    setItemDelegate(m_delegate);
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setExpandsOnDoubleClick(false);
    setTextElideMode(Qt::ElideRight);
    setAnimated(false);
    setIndentation(qMax(12, fontMetrics().height()));
    header()->setStretchLastSection(true);
    header()->setSectionResizeMode(EPropModel::NameColumn, QHeaderView::Interactive);
    header()->setMinimumSectionSize(fontMetrics().averageCharWidth() * 4);
    viewport()->setMouseTracking(true);
    // A repopulation takes the open editor down without a commit.
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        if (EPropWnd* wnd = m_delegate->GetEditor()) {
            wnd->SetClosing();
        }
    });
}

EPropListCtrl::~EPropListCtrl() = default;

EPropHost* EPropListCtrl::GetHost() const {
    return m_model->GetHost();
}

const EProperty* EPropListCtrl::PropertyAt(const QModelIndex& index) const {
    return m_model->PropertyAt(index);
}

void EPropListCtrl::SetHost(EPropHost* host) {
    QSet<QString> collapsed;
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, EPropModel::NameColumn);
        if (m_model->rowCount(index) > 0 && !isExpanded(index)) {
            collapsed.insert(PropertyAt(index)->GetName());
        }
    }
    bool hadCurrent = false;
    EProperty::Kind kind = EProperty::Kind::Group;
    int id = -1;
    QString name;
    if (const EProperty* current = GetCurrentProperty()) {
        hadCurrent = true;
        kind = current->GetKind();
        id = current->GetId();
        name = current->GetName();
    }
    const int scroll = verticalScrollBar()->value();

    m_model->SetHost(host);
    ApplyGroupLayout(collapsed);

    // The same property stays selected when the host shows another object of
    // the same kind: its tag says which one it is, else its name.
    const EProperty* match = nullptr;
    for (int i = 0; hadCurrent && i < m_model->GetCount() && match == nullptr; ++i) {
        const EProperty* prop = m_model->GetProperty(i);
        if (prop->GetKind() == kind && (id != -1 ? prop->GetId() == id : prop->GetName() == name)) {
            match = prop;
        }
    }
    if (match != nullptr) {
        SelectProperty(match);
    } else {
        Q_EMIT CurrentPropertyChanged(nullptr);
    }
    verticalScrollBar()->setValue(scroll);
    if (!m_userSizedColumns) {
        FitNameColumn();
    }
    viewport()->update();
}

void EPropListCtrl::ApplyGroupLayout(const QSet<QString>& collapsed) {
    for (int row = 0; row < m_model->rowCount(); ++row) {
        const QModelIndex index = m_model->index(row, EPropModel::NameColumn);
        const EProperty* prop = PropertyAt(index);
        if (prop->IsGroup()) {
            setFirstColumnSpanned(row, QModelIndex(), true);
            setExpanded(index, !collapsed.contains(prop->GetName()));
        }
    }
}

void EPropListCtrl::SetEmptyText(const QString& text) {
    m_emptyText = text;
    viewport()->update();
}

const EProperty* EPropListCtrl::GetCurrentProperty() const {
    return PropertyAt(currentIndex());
}

void EPropListCtrl::SelectProperty(const EProperty* prop) {
    if (prop == nullptr) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
        return;
    }
    const QModelIndex index = m_model->IndexOf(prop, EPropModel::NameColumn);
    if (index.parent().isValid() && !isExpanded(index.parent())) {
        expand(index.parent());
    }
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
    scrollTo(index);
}

bool EPropListCtrl::IsEditing() const {
    return state() == QAbstractItemView::EditingState && m_delegate->GetEditor() != nullptr;
}

bool EPropListCtrl::StartEdit(const EProperty* prop, bool openList) {
    if (prop == nullptr) {
        prop = GetCurrentProperty();
    }
    if (prop == nullptr || prop->IsGroup() || !m_model->IsEnabled(prop)) {
        return false;
    }
    if (IsEditing()) {
        EPropWnd* open = m_delegate->GetEditor();
        if (open->GetGeneration() == m_model->GetGeneration() &&
            open->GetOrdinal() == m_model->GetOrdinal(prop)) {
            return true;
        }
        // Committing the other edit may repopulate the grid: find the
        // property again by its position.
        const int ordinal = m_model->GetOrdinal(prop);
        EndEdit(true);
        prop = m_model->GetProperty(ordinal);
        if (prop == nullptr || prop->IsGroup() || !m_model->IsEnabled(prop)) {
            return false;
        }
    }
    SelectProperty(prop);
    if (!edit(m_model->IndexOf(prop, EPropModel::ValueColumn), QAbstractItemView::AllEditTriggers,
              nullptr)) {
        return false;
    }
    if (openList && m_delegate->GetEditor() != nullptr) {
        m_delegate->GetEditor()->ShowPopup();
    }
    return true;
}

void EPropListCtrl::EndEdit(bool commit) {
    if (!IsEditing()) {
        return;
    }
    m_delegate->FinishEdit(m_delegate->GetEditor(), commit,
                           commit ? QAbstractItemDelegate::SubmitModelCache
                                  : QAbstractItemDelegate::RevertModelCache);
}

void EPropListCtrl::PressTexButton(const EProperty* prop) {
    EPropHost* host = m_model->GetHost();
    if (host == nullptr || prop == nullptr || prop->GetKind() != EProperty::Kind::TexField ||
        !m_model->IsEnabled(prop)) {
        return;
    }
    host->OnTexFieldButton(*prop);
}

void EPropListCtrl::OnEditorButton(EPropWnd* wnd) {
    const int ordinal = wnd->GetOrdinal();
    m_delegate->FinishEdit(wnd, true, QAbstractItemDelegate::NoHint);
    if (m_model->LastCommitRefused()) {
        return;
    }
    const EProperty* prop = m_model->GetProperty(ordinal);
    if (prop != nullptr && prop->GetKind() == EProperty::Kind::TexField) {
        SelectProperty(prop);
        PressTexButton(prop);
    }
}

void EPropListCtrl::MoveCurrentRow(int step) {
    QModelIndex index = currentIndex().siblingAtColumn(EPropModel::NameColumn);
    if (!index.isValid()) {
        index = m_model->index(0, EPropModel::NameColumn);
    } else {
        for (int i = 0; i < qAbs(step); ++i) {
            const QModelIndex next = step > 0 ? indexBelow(index) : indexAbove(index);
            if (!next.isValid()) {
                break;
            }
            index = next;
        }
    }
    if (index.isValid()) {
        SelectProperty(PropertyAt(index));
    }
}

QModelIndex EPropListCtrl::FindEditable(const QModelIndex& from, bool forward) const {
    QModelIndex index = from.siblingAtColumn(EPropModel::NameColumn);
    while (index.isValid()) {
        index = forward ? indexBelow(index) : indexAbove(index);
        const EProperty* prop = PropertyAt(index);
        if (prop != nullptr && !prop->IsGroup() && m_model->IsEnabled(prop)) {
            return index;
        }
    }
    return {};
}

void EPropListCtrl::commitData(QWidget* editor) {
    auto* wnd = qobject_cast<EPropWnd*>(editor);
    m_committedOrdinal = wnd != nullptr ? wnd->GetOrdinal() : -1;
    m_editorHadFocus = HasFocusInside(editor);
    QTreeView::commitData(editor);
}

void EPropListCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    auto* wnd = qobject_cast<EPropWnd*>(editor);
    const int ordinal = wnd != nullptr ? wnd->GetOrdinal() : m_committedOrdinal;
    const bool move = hint == QAbstractItemDelegate::EditNextItem ||
                      hint == QAbstractItemDelegate::EditPreviousItem;
    const bool refused = m_committedOrdinal >= 0 && m_model->LastCommitRefused();
    // A repopulation during the commit hides the editor and moves the focus
    // away; it belongs back in the grid.
    const bool hadFocus = HasFocusInside(editor) || (m_committedOrdinal >= 0 && m_editorHadFocus);
    m_committedOrdinal = -1;
    m_editorHadFocus = false;

    // An editor of rows that a repopulation replaced is already taken down.
    const bool stale = wnd != nullptr && wnd->GetGeneration() != m_model->GetGeneration();
    if (wnd != nullptr) {
        wnd->SetClosing();
    }
    if (!stale) {
        QTreeView::closeEditor(editor, move ? QAbstractItemDelegate::NoHint : hint);
    }
    if (hadFocus) {
        setFocus(Qt::OtherFocusReason);
    }
    // A refused value stays on its row: the old value is back and the user
    // sees where the refusal happened.
    if (!move || refused) {
        return;
    }
    const EProperty* from = m_model->GetProperty(ordinal);
    const QModelIndex start = from != nullptr ? m_model->IndexOf(from) : currentIndex();
    const QModelIndex next = FindEditable(start, hint == QAbstractItemDelegate::EditNextItem);
    if (next.isValid()) {
        StartEdit(PropertyAt(next));
    }
}

void EPropListCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeView::currentChanged(current, previous);
    Q_EMIT CurrentPropertyChanged(PropertyAt(current));
}

void EPropListCtrl::keyPressEvent(QKeyEvent* event) {
    const EProperty* prop = GetCurrentProperty();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (prop == nullptr || mods & (Qt::ControlModifier | Qt::MetaModifier)) {
        QTreeView::keyPressEvent(event);
        return;
    }
    const QModelIndex index = m_model->IndexOf(prop);
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (prop->IsGroup()) {
            setExpanded(index, !isExpanded(index));
        } else {
            StartEdit(prop);
        }
        event->accept();
        return;
    case Qt::Key_F2:
        StartEdit(prop);
        event->accept();
        return;
    case Qt::Key_Left:
        if (prop->IsGroup()) {
            collapse(index);
        } else if (prop->GetGroup() != nullptr) {
            SelectProperty(prop->GetGroup());
        }
        event->accept();
        return;
    case Qt::Key_Right:
        if (prop->IsGroup()) {
            expand(index);
        }
        event->accept();
        return;
    case Qt::Key_F4:
        PressTexButton(prop);
        event->accept();
        return;
    case Qt::Key_Down:
        if (mods == Qt::AltModifier) {
            if (prop->GetKind() == EProperty::Kind::Choice) {
                StartEdit(prop, true);
            } else {
                PressTexButton(prop);
            }
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QTreeView::keyPressEvent(event);
}

bool EPropListCtrl::NearSplitter(const QPoint& pos) const {
    const EProperty* prop = PropertyAt(indexAt(pos));
    if (prop == nullptr || prop->IsGroup()) {
        return false;
    }
    const int grip = qMax(3, indentation() / 4);
    return qAbs(pos.x() - GetSplitterPos()) <= grip;
}

int EPropListCtrl::GetSplitterPos() const {
    return header()->sectionViewportPosition(EPropModel::ValueColumn);
}

void EPropListCtrl::SetSplitterPos(int x) {
    const int minimum = header()->minimumSectionSize();
    const int width =
        qBound(minimum, x + header()->offset(), qMax(minimum, viewport()->width() - 2 * minimum));
    header()->resizeSection(EPropModel::NameColumn, width);
    m_userSizedColumns = true;
}

void EPropListCtrl::FitNameColumn() {
    const QFontMetrics fm = fontMetrics();
    int widest = 0;
    for (int i = 0; i < m_model->GetCount(); ++i) {
        const EProperty* prop = m_model->GetProperty(i);
        if (!prop->IsGroup()) {
            widest = qMax(widest, fm.horizontalAdvance(prop->GetName()));
        }
    }
    // Room for the longest name, and never so little that the columns look
    // lopsided in a wide pane.
    const int wanted =
        qMax(widest + indentation() + 2 * fm.averageCharWidth() + 8, viewport()->width() * 3 / 10);
    const int limit = qMax(header()->minimumSectionSize(), viewport()->width() / 2);
    header()->resizeSection(EPropModel::NameColumn,
                            qBound(header()->minimumSectionSize(), wanted, limit));
}

void EPropListCtrl::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    m_pressedButtonOrdinal = -1;
    m_pressIndex = QPersistentModelIndex();
    if (event->button() == Qt::LeftButton && NearSplitter(pos)) {
        m_draggingSplitter = true;
        m_dragOffset = pos.x() - GetSplitterPos();
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(pos);
    const EProperty* prop = PropertyAt(index);
    if (event->button() == Qt::LeftButton && prop != nullptr) {
        if (prop->IsGroup()) {
            SelectProperty(prop);
            const QModelIndex group = m_model->IndexOf(prop);
            setExpanded(group, !isExpanded(group));
            event->accept();
            return;
        }
        if (index.column() == EPropModel::ValueColumn && prop == GetCurrentProperty() &&
            prop->GetKind() == EProperty::Kind::TexField && m_model->IsEnabled(prop) &&
            m_delegate->ButtonRect(visualRect(index)).contains(pos)) {
            m_pressedButtonOrdinal = m_model->GetOrdinal(prop);
            event->accept();
            return;
        }
    }
    QTreeView::mousePressEvent(event);
    m_pressIndex = index;
}

void EPropListCtrl::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_draggingSplitter) {
        m_draggingSplitter = false;
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(pos);
    if (m_pressedButtonOrdinal >= 0) {
        const EProperty* prop = m_model->GetProperty(m_pressedButtonOrdinal);
        m_pressedButtonOrdinal = -1;
        if (prop != nullptr && PropertyAt(index) == prop &&
            m_delegate->ButtonRect(visualRect(index)).contains(pos)) {
            PressTexButton(prop);
        }
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
    // A click on a value starts editing it.
    if (event->button() == Qt::LeftButton && index.isValid() && index == m_pressIndex &&
        index.column() == EPropModel::ValueColumn && !IsEditing()) {
        const EProperty* prop = PropertyAt(index);
        StartEdit(prop, prop != nullptr && prop->GetKind() == EProperty::Kind::Choice);
    }
    m_pressIndex = QPersistentModelIndex();
}

void EPropListCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (m_draggingSplitter) {
        SetSplitterPos(pos.x() - m_dragOffset);
        event->accept();
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (NearSplitter(pos)) {
            viewport()->setCursor(Qt::SplitHCursor);
        } else {
            viewport()->unsetCursor();
        }
    }
    QTreeView::mouseMoveEvent(event);
}

void EPropListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const EProperty* prop = PropertyAt(indexAt(event->position().toPoint()));
    // The press already opened or closed the group.
    if (prop != nullptr && prop->IsGroup()) {
        event->accept();
        return;
    }
    QTreeView::mouseDoubleClickEvent(event);
}

void EPropListCtrl::resizeEvent(QResizeEvent* event) {
    QTreeView::resizeEvent(event);
    if (!m_userSizedColumns) {
        FitNameColumn();
    } else if (GetSplitterPos() > viewport()->width() - header()->minimumSectionSize()) {
        SetSplitterPos(viewport()->width() - header()->minimumSectionSize());
    }
}

QColor EPropListCtrl::GroupColor() const {
    return Blend(palette().color(QPalette::Base), palette().color(QPalette::Text), 0.07);
}

QColor EPropListCtrl::GridColor() const {
    return Blend(palette().color(QPalette::Base), palette().color(QPalette::Text), 0.13);
}

void EPropListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    const EProperty* prop = PropertyAt(index);
    const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
    if (prop != nullptr && prop->IsGroup()) {
        painter->fillRect(row, GroupColor());
    }
    QTreeView::drawRow(painter, option, index);
    painter->save();
    painter->setPen(QPen(GridColor(), 0));
    if (prop != nullptr && !prop->IsGroup()) {
        const int x = GetSplitterPos() - 1;
        painter->drawLine(x, row.top(), x, row.bottom());
    }
    const int left = prop != nullptr && prop->GetGroup() != nullptr ? indentation() : 0;
    painter->drawLine(left, row.bottom(), row.right(), row.bottom());
    painter->restore();
}

void EPropListCtrl::drawBranches(QPainter* painter, const QRect& rect,
                                 const QModelIndex& index) const {
    // Properties of a group sit beside a shaded margin in the group's colour;
    // group rows draw their own arrow.
    const EProperty* prop = PropertyAt(index);
    if (prop != nullptr && prop->GetGroup() != nullptr) {
        painter->fillRect(rect, GroupColor());
    }
}

void EPropListCtrl::paintEvent(QPaintEvent* event) {
    QTreeView::paintEvent(event);
    if (m_model->rowCount() > 0 || m_emptyText.isEmpty()) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const int margin = fontMetrics().height();
    painter.drawText(viewport()->rect().adjusted(margin, margin, -margin, -margin),
                     Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, m_emptyText);
}
