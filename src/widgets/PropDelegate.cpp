#include "widgets/PropDelegate.h"

#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/PropWnd.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QToolButton>

EPropDelegate::EPropDelegate(EPropListCtrl* view, EPropModel* model)
    : QStyledItemDelegate(view), m_view(view), m_model(model) {}

int EPropDelegate::GetRowHeight() const {
    const QFontMetrics fm = m_view->fontMetrics();
    return fm.height() + 2 * qMax(4, fm.height() / 4);
}

QRect EPropDelegate::ButtonRect(const QRect& cell) const {
    const int width =
        qMax(cell.height(), m_view->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 12);
    return QRect(cell.right() - width + 1, cell.top(), width, cell.height()).adjusted(1, 1, -1, -1);
}

bool EPropDelegate::ShowsButton(const QModelIndex& index,
                                const QStyleOptionViewItem& option) const {
    const EProperty* prop = m_model->PropertyAt(index);
    return index.column() == EPropModel::ValueColumn && prop != nullptr &&
           prop->GetKind() == EProperty::Kind::TexField &&
           (option.state & QStyle::State_Selected) && m_model->IsEnabled(prop);
}

void EPropDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const {
    QStyledItemDelegate::initStyleOption(option, index);
    const EProperty* prop = m_model->PropertyAt(index);
    if (prop != nullptr && prop->IsGroup()) {
        option->font.setBold(true);
    }
    if (prop != nullptr && !prop->IsGroup() && !m_model->IsEnabled(prop)) {
        option->state &= ~QStyle::State_Enabled;
    }
    // The whole row is highlighted; a focus frame around one cell is noise.
    option->state &= ~QStyle::State_HasFocus;
}

void EPropDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    const EProperty* prop = m_model->PropertyAt(index);
    if (prop != nullptr && prop->IsGroup()) {
        PaintGroup(painter, option, index);
        return;
    }
    if (!ShowsButton(index, option)) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = m_view->style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, m_view);
    const QRect button = ButtonRect(option.rect);
    opt.rect.setRight(button.left() - 2);
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, m_view);
    PaintButton(painter, option);
}

void EPropDelegate::PaintGroup(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    QStyle* style = m_view->style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, m_view);

    const int arrowWidth = m_view->indentation();
    QStyleOption branch;
    branch.initFrom(m_view);
    branch.rect = QRect(opt.rect.left(), opt.rect.top(), arrowWidth, opt.rect.height());
    branch.state = QStyle::State_Children | QStyle::State_Item | QStyle::State_Enabled;
    if (m_view->isExpanded(index.siblingAtColumn(EPropModel::NameColumn))) {
        branch.state |= QStyle::State_Open;
    }
    if (opt.state & QStyle::State_Selected) {
        branch.state |= QStyle::State_Selected;
    }
    style->drawPrimitive(QStyle::PE_IndicatorBranch, &branch, painter, m_view);

    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 1;
    const QRect textRect = opt.rect.adjusted(arrowWidth + margin, 0, -margin, 0);
    const QFontMetrics fm(opt.font);
    const QPalette::ColorGroup group =
        m_view->isActiveWindow() ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(
        group, (opt.state & QStyle::State_Selected) ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(textRect, Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                      fm.elidedText(opt.text, Qt::ElideRight, textRect.width()));
    painter->restore();
}

void EPropDelegate::PaintButton(QPainter* painter, const QStyleOptionViewItem& option) const {
    QStyleOptionButton button;
    button.initFrom(m_view);
    button.rect = ButtonRect(option.rect);
    button.text = QStringLiteral("...");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    m_view->style()->drawControl(QStyle::CE_PushButton, &button, painter, m_view);
}

QSize EPropDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(GetRowHeight());
    return size;
}

QWidget* EPropDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
    const EProperty* prop = m_model->PropertyAt(index);
    if (prop == nullptr || prop->IsGroup() || index.column() != EPropModel::ValueColumn) {
        return nullptr;
    }
    QLineEdit* editor = nullptr;
    if (prop->GetKind() == EProperty::Kind::TexField && m_texEditorFactory) {
        editor = m_texEditorFactory(parent, *prop);
    }
    auto* wnd = new EPropWnd(*prop, editor, parent);
    wnd->SetOrigin(m_model->GetOrdinal(prop), m_model->GetGeneration());
    if (QToolButton* button = wnd->GetButton()) {
        button->setFixedWidth(ButtonRect(option.rect).width() + 2);
    }
    auto* self = const_cast<EPropDelegate*>(this);
    wnd->GetEditor()->installEventFilter(self);
    connect(wnd, &EPropWnd::ButtonClicked, m_view,
            [view = m_view, wnd] { view->OnEditorButton(wnd); });
    connect(wnd, &EPropWnd::ChoicePicked, self,
            [self, wnd] { self->FinishEdit(wnd, true, SubmitModelCache); });
    m_editor = wnd;
    return wnd;
}

void EPropDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* wnd = qobject_cast<EPropWnd*>(editor)) {
        wnd->SetValue(index.data(Qt::EditRole));
    }
}

void EPropDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
    auto* wnd = qobject_cast<EPropWnd*>(editor);
    // An editor left over from before a repopulation has nothing to commit to.
    if (wnd == nullptr || model != m_model || wnd->GetGeneration() != m_model->GetGeneration()) {
        return;
    }
    model->setData(index, wnd->GetValue(), Qt::EditRole);
}

void EPropDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex&) const {
    // The grid line under the row stays visible.
    editor->setGeometry(option.rect.adjusted(0, 0, 0, -1));
}

void EPropDelegate::FinishEdit(EPropWnd* wnd, bool commit, EndEditHint hint) {
    const QPointer<EPropWnd> guard(wnd);
    if (commit) {
        Q_EMIT commitData(wnd);
    }
    if (guard) {
        Q_EMIT closeEditor(wnd, hint);
    }
}

bool EPropDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(object);
    EPropWnd* wnd = widget ? qobject_cast<EPropWnd*>(widget->parentWidget()) : nullptr;
    if (wnd == nullptr || wnd->GetEditor() != widget) {
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress:
        return HandleKey(wnd, static_cast<QKeyEvent*>(event));
    case QEvent::FocusOut:
        return HandleFocusOut(wnd, static_cast<QFocusEvent*>(event));
    default:
        return false;
    }
}

bool EPropDelegate::HandleKey(EPropWnd* wnd, QKeyEvent* event) {
    QComboBox* combo = wnd->GetComboBox();
    if (combo != nullptr && combo->view()->isVisible()) {
        return false; // the open list handles its own keys
    }
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    switch (event->key()) {
    case Qt::Key_Tab:
        FinishEdit(wnd, true, (mods & Qt::ShiftModifier) ? EditPreviousItem : EditNextItem);
        return true;
    case Qt::Key_Backtab:
        FinishEdit(wnd, true, EditPreviousItem);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        FinishEdit(wnd, true, SubmitModelCache);
        return true;
    case Qt::Key_Escape:
        FinishEdit(wnd, false, RevertModelCache);
        return true;
    case Qt::Key_F4:
        if (wnd->GetButton() != nullptr) {
            wnd->GetButton()->click();
            return true;
        }
        return false;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        if (wnd->GetButton() != nullptr && mods == Qt::AltModifier &&
            event->key() == Qt::Key_Down) {
            wnd->GetButton()->click();
            return true;
        }
        if (combo != nullptr || mods != Qt::NoModifier) {
            return false; // a closed drop-down steps through its entries
        }
        const int step = event->key() == Qt::Key_Up ? -1 : 1;
        const QPointer<EPropListCtrl> view(m_view);
        FinishEdit(wnd, true, NoHint);
        if (view) {
            view->MoveCurrentRow(step);
        }
        return true;
    }
    default:
        return false;
    }
}

bool EPropDelegate::HandleFocusOut(EPropWnd* wnd, QFocusEvent* event) {
    // The drop-down list, a context menu or a completer took the focus: the
    // edit goes on.
    if (event->reason() == Qt::PopupFocusReason || QApplication::activePopupWidget() != nullptr) {
        return false;
    }
    // The focus moved inside the editor, or into a window the editor owns
    // (its picker): window activation arrives late, sometimes after such a
    // dialog has already left its modal state.
    for (QWidget* focus = QApplication::focusWidget(); focus != nullptr;
         focus = focus->parentWidget()) {
        if (focus == wnd) {
            return false;
        }
    }
    // A dialog opened over the editor (the editor's own picker, or the host's
    // message about a refused value): the edit goes on when it closes.
    if (QWidget* modal = QApplication::activeModalWidget();
        modal != nullptr && modal != wnd->window()) {
        return false;
    }
    if (wnd->IsClosing() || !wnd->isVisible()) {
        return false; // being taken down by the view
    }
    FinishEdit(wnd, true, NoHint);
    return false;
}
