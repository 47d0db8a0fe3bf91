#include "views/ExplorerTree.h"

#include "kit/QtText.h"
#include "model/TextUtil.h"
#include "project/QVNDoc.h"
#include "views/ExplorerModel.h"
#include "views/QVNListView.h"
#include "views/QVNTreeView.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDragLeaveEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

bool IsKind(const QModelIndex& node, ExplorerNodeKind kind) {
    return node.isValid() && CExplorerModel::Kind(node) == kind;
}

} // namespace

CExplorerDelegate::CExplorerDelegate(CQVNTreeView* owner)
    : QStyledItemDelegate(owner), m_owner(owner) {}

QWidget* CExplorerDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                         const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("labelEdit"));
    return edit;
}

void CExplorerDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    auto* edit = static_cast<QLineEdit*>(editor);
    QString text = m_owner->GetPendingEditText();
    if (text.isNull()) {
        text = index.data(Qt::EditRole).toString();
    }
    // A longer name that is already there stays whole; it only cannot
    // grow.
    edit->setMaxLength(std::max<int>(CQVNTreeView::kMaxLabelLength, int(text.size())));
    edit->setText(text);
    edit->selectAll();
}

void CExplorerDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                             const QModelIndex& index) const {
    // The box covers the label and leaves the image visible.
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QWidget* widget = option.widget;
    QStyle* style = widget != nullptr ? widget->style() : nullptr;
    QRect rect = option.rect;
    if (style != nullptr) {
        rect.setLeft(style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget).left());
    }
    const int wanted = editor->sizeHint().height();
    rect.setHeight(std::max(rect.height(), wanted));
    editor->setGeometry(rect);
}

QSize CExplorerDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // Rows are 18 pixels high unless the font needs more.
    size.setHeight(std::max(CQVNTreeView::kItemHeight, option.fontMetrics.height() + 2));
    return size;
}

QRect CExplorerDelegate::LabelRect(const QStyleOptionViewItem& base, const QModelIndex& index,
                                   bool withImage) const {
    QStyleOptionViewItem opt = base;
    initStyleOption(&opt, index);
    const QWidget* widget = opt.widget;
    QStyle* style = widget != nullptr ? widget->style() : nullptr;
    if (style == nullptr) {
        return opt.rect;
    }
    QRect text = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
    text.setWidth(
        std::min(text.width(), QFontMetrics(opt.font).horizontalAdvance(opt.text) + 2 * margin));
    if (!withImage) {
        return text;
    }
    return text.united(style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, widget));
}

void CExplorerDelegate::initStyleOption(QStyleOptionViewItem* option,
                                        const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const QModelIndex highlight = m_owner->GetDropHighlight();
    if (highlight.isValid() && highlight != m_owner->GetSelectedNode()) {
        if (index == highlight) {
            option->state |= QStyle::State_Selected;
        } else {
            option->state &= ~QStyle::State_Selected;
        }
    }
}

CExplorerTree::CExplorerTree(CQVNTreeView* owner, CExplorerDelegate* delegate)
    : QTreeView(owner), m_owner(owner), m_delegate(delegate) {}

QRect CExplorerTree::LabelRect(const QModelIndex& index, bool withImage) const {
    if (!index.isValid()) {
        return {};
    }
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    option.rect = visualRect(index);
    return m_delegate->LabelRect(option, index, withImage);
}

QModelIndex CExplorerTree::NodeAt(const QPoint& pos, bool withImage) const {
    const QModelIndex index = indexAt(pos);
    return LabelRect(index, withImage).contains(pos) ? index : QModelIndex();
}

QItemSelectionModel::SelectionFlags CExplorerTree::selectionCommand(const QModelIndex& index,
                                                                    const QEvent* event) const {
    if (!index.isValid()) {
        return QItemSelectionModel::NoUpdate;
    }
    const QItemSelectionModel::SelectionFlags flags = QTreeView::selectionCommand(index, event);
    return (flags & QItemSelectionModel::Deselect) ? QItemSelectionModel::NoUpdate : flags;
}

void CExplorerTree::drawBranches(QPainter* painter, const QRect& rect,
                                 const QModelIndex& index) const {
    const int indent = indentation();
    int depth = 0;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) {
        ++depth;
    }
    const auto column = [&](int level) { return rect.left() + level * indent + indent / 2; };
    const auto hasNext = [](const QModelIndex& node) {
        return node.row() + 1 < node.model()->rowCount(node.parent());
    };
    const int middle = rect.center().y();
    painter->save();
    QPen pen(palette().color(QPalette::Mid));
    pen.setStyle(Qt::DotLine);
    painter->setPen(pen);
    const int x = column(depth);
    const bool above = index.parent().isValid() || index.row() > 0;
    painter->drawLine(x, above ? rect.top() : middle, x, hasNext(index) ? rect.bottom() : middle);
    painter->drawLine(x, middle, rect.right(), middle);
    int level = depth - 1;
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent(), --level) {
        if (hasNext(up)) {
            painter->drawLine(column(level), rect.top(), column(level), rect.bottom());
        }
    }
    painter->restore();
    QTreeView::drawBranches(painter, rect, index);
}

bool CExplorerTree::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (state() == EditingState) {
        return false;
    }
    const bool started = QTreeView::edit(index, trigger, event);
    if (started) {
        m_editing = index;
    }
    return started;
}

void CExplorerTree::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const QPersistentModelIndex node = m_editing;
    m_editing = QPersistentModelIndex();
    auto* line = qobject_cast<QLineEdit*>(editor);
    const std::string text = line != nullptr ? qvn::FromQString(line->text()) : std::string();
    QTreeView::closeEditor(editor, hint);
    if (!node.isValid() || line == nullptr) {
        return;
    }
    // Escape leaves the name as it was; Enter and a click elsewhere take
    // the text of the box. Handled once the box is gone, so that a
    // message or a new edit does not run inside the old box's events.
    const bool cancelled = hint == QAbstractItemDelegate::RevertModelCache;
    m_owner->NoteEditEnded();
    QMetaObject::invokeMethod(
        m_owner,
        [owner = m_owner, node, text, cancelled] { owner->OnEndLabelEdit(node, text, cancelled); },
        Qt::QueuedConnection);
}

void CExplorerTree::keyPressEvent(QKeyEvent* event) {
    if (const int id = CQVNView::ClipboardCommandOfKey(*event);
        id != 0 && state() != EditingState) {
        m_owner->OnTreeCommandKey(id);
        event->accept();
        return;
    }
    if (state() != EditingState && event->modifiers() == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_F2:
        case Qt::Key_Insert:
        case Qt::Key_Delete:
            m_owner->OnTreeKey(event->key());
            break;
        default:
            break;
        }
    }
    QTreeView::keyPressEvent(event);
}

void CExplorerTree::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mousePressEvent(event);
}

void CExplorerTree::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        event->accept();
        return;
    }
    QTreeView::mouseReleaseEvent(event);
}

void CExplorerTree::contextMenuEvent(QContextMenuEvent* event) {
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QModelIndex node = m_owner->GetSelectedNode();
        const QRect label = LabelRect(node, false);
        if (label.isValid()) {
            m_owner->ShowContextMenuAt(label.center(), viewport()->mapToGlobal(label.bottomLeft()));
        }
    } else {
        m_owner->ShowContextMenuAt(viewport()->mapFromGlobal(event->globalPos()),
                                   event->globalPos());
    }
    event->accept();
}

void CExplorerTree::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* data = event->mimeData();
    m_dragText.clear();
    m_dragIsItems = false;
    if (data != nullptr && data->hasText()) {
        // Read once per drag: a drag of many items is a long text.
        m_dragText = qvn::Trim(qvn::FromQString(data->text()));
        m_dragIsItems = CQVNDoc::IsItemText(m_dragText);
    }
    if (!m_dragIsItems || !(event->possibleActions() & Qt::CopyAction)) {
        m_dragText.clear();
        m_owner->OnDragLeave();
        event->ignore();
        return;
    }
    // A tree that refuses the enter gets no moves for the rest of the
    // drag: item text is taken wherever it enters, on a node or beside
    // all of them, and each node is decided as the pointer moves.
    UpdateDrag(event);
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CExplorerTree::dragLeaveEvent(QDragLeaveEvent* event) {
    m_owner->OnDragLeave();
    m_dragText.clear();
    event->accept();
}

void CExplorerTree::dropEvent(QDropEvent* event) {
    const QModelIndex target = m_owner->GetDropHighlight();
    const bool acceptable = m_dragIsItems && IsKind(target, ExplorerNodeKind::File) &&
                            (event->possibleActions() & Qt::CopyAction);
    std::string text = std::move(m_dragText);
    m_dragText.clear();
    if (!acceptable) {
        m_owner->OnDragLeave();
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Items dragged out of one of our lists are moved; any other text
    // (another program, the preview, a text box) is copied.
    m_owner->DropItems(target, text,
                       qobject_cast<const CListDragData*>(event->mimeData()) != nullptr);
    m_owner->OnDragLeave();
}

void CExplorerTree::UpdateDrag(QDragMoveEvent* event) {
    const QModelIndex node = NodeAt(event->position().toPoint(), true);
    m_owner->OnDragOver(node);
    if (m_dragIsItems && IsKind(node, ExplorerNodeKind::File) &&
        (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept(LabelRect(node, true));
    } else {
        event->ignore();
    }
}

int CExplorerStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                              QStyleHintReturn* returnData) const {
    if (hint == SH_ItemView_ShowDecorationSelected) {
        return 0;
    }
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}
