#include "views/QVNPropertyView.h"

#include "kit/AbbrDlg.h"
#include "kit/QtText.h"
#include "kit/TexEdit.h"
#include "model/BibTexEntry.h"
#include "project/QVNDoc.h"
#include "views/AddFieldDlg.h"
#include "views/ItemPropHost.h"
#include "views/ProblemCheckRunner.h"
#include "views/StringPropHost.h"
#include "widgets/PropCtrl.h"
#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/PropView.h"
#include "widgets/Property.h"

#include <QKeyEvent>
#include <QMenu>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

CQVNPropertyView::CQVNPropertyView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNView(doc, host, parent), m_propView(new EPropView(this)),
      m_itemHost(std::make_unique<CItemPropHost>(doc, host.GetAppearance())),
      m_stringHost(std::make_unique<CStringPropHost>(doc)) {
    setObjectName(QStringLiteral("propertyView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_propView);
    setFocusProxy(m_propView);

    m_propView->SetEmptyText(QString::fromLatin1(kEmptyText));
    m_propView->ShowCommentPane(false);
    GetPropCtrl()->SetTexEditorFactory([this](QWidget* parent, const EProperty& prop) {
        return new CTexEdit(parent, &GetDocument().GetStrings(), prop.GetName());
    });
    m_itemHost->SetButtonHandler([this](const EProperty& prop) { OpenPicker(prop); });
    CProblemCheckRunner& problems = host.GetProblemCheck();
    m_itemHost->SetProblemCheck(&problems.GetCheck());
    connect(&problems, &CProblemCheckRunner::problemsChanged, this, [this] {
        m_itemHost->ProblemsChanged();
        m_propView->Refresh();
    });
    connect(m_propView, &EPropView::PropertyChanged, this, &CQVNPropertyView::OnPropertyAccepted);

    // Adding and deleting fields: the context menu, Insert and Delete.
    EPropListCtrl* grid = GetPropCtrl()->GetListCtrl();
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, &CQVNPropertyView::ShowContextMenu);
    grid->installEventFilter(this);
}

CQVNPropertyView::~CQVNPropertyView() {
    ClosePicker();
    // The grid goes before the hosts it shows: an editor closing on its way
    // out must find no host to commit to.
    m_propView->SetHost(nullptr);
    GetPropCtrl()->GetListCtrl()->removeEventFilter(this);
    delete std::exchange(m_propView, nullptr);
}

EPropCtrl* CQVNPropertyView::GetPropCtrl() const {
    return m_propView->GetPropCtrl();
}

CBibTexEntry* CQVNPropertyView::GetItem() const {
    return m_host == m_itemHost.get() ? m_itemHost->GetItem() : nullptr;
}

const CBibTexString* CQVNPropertyView::GetString() const {
    return m_host == m_stringHost.get() ? m_stringHost->GetString() : nullptr;
}

CAbbrDlg* CQVNPropertyView::GetPicker() const {
    return m_picker;
}

QString CQVNPropertyView::HelpTopic() const {
    return QStringLiteral("properties.htm");
}

void CQVNPropertyView::OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) {
    if (sender == this) {
        return;
    }
    // The appearance settings changed which ignored fields show: the item
    // is read again and shown with the new set.
    if (hint == UpdateHint::IgnoredFields) {
        if (m_host == m_itemHost.get()) {
            if (CBibTexEntry* item = m_itemHost->GetItem()) {
                ShowItem(*item, true);
            } else {
                Clear();
            }
        }
        return;
    }
    // The list columns are no concern of this window. (The appearance
    // dialog sends this hint right before the one above; clearing here would
    // leave nothing to show again.)
    if (hint == UpdateHint::Columns) {
        DropVanishedObject();
        m_propView->Refresh();
        return;
    }
    if (std::holds_alternative<std::monostate>(object)) {
        Clear();
    } else if (const auto* item = std::get_if<CBibTexEntry*>(&object)) {
        if (*item != nullptr) {
            ShowItem(**item, true);
        } else {
            Clear();
        }
    } else if (const auto* string = std::get_if<const CBibTexString*>(&object)) {
        if (*string != nullptr) {
            ShowString(**string);
        } else {
            Clear();
        }
    } else {
        // A BibTeX file or a search: the object shown stays.
        DropVanishedObject();
        m_propView->Refresh();
    }
}

void CQVNPropertyView::ShowItem(CBibTexEntry& item, bool commitOpenEdit) {
    // The open edit belongs to the object shown until now.
    if (commitOpenEdit) {
        CommitOpenEdit();
    }
    if (m_host != m_itemHost.get() || !m_itemHost->Holds(&item)) {
        ClosePicker();
    }
    m_stringHost->Unload();
    m_itemHost->Load(item);
    m_propView->ShowCommentPane(true);
    SetHost(m_itemHost.get());
}

void CQVNPropertyView::ShowString(const CBibTexString& string) {
    CommitOpenEdit();
    ClosePicker();
    // A copy first: `string` may be the copy this window itself holds.
    const CBibTexString copy(string);
    m_itemHost->Unload();
    m_stringHost->Load(copy);
    SetHost(m_stringHost.get());
}

void CQVNPropertyView::Clear() {
    CommitOpenEdit();
    ClosePicker();
    m_propView->ShowCommentPane(false);
    SetHost(nullptr);
    m_itemHost->Unload();
    m_stringHost->Unload();
}

void CQVNPropertyView::SetHost(EPropHost* host) {
    m_host = host;
    m_propView->SetHost(host);
    // The grid keeps the row of the same property; for a first object the
    // first value is selected, so that the keyboard starts on a visible row
    // and the comment pane says something.
    EPropCtrl* ctrl = GetPropCtrl();
    if (ctrl->GetSelectedProperty() == nullptr) {
        for (int i = 0; i < ctrl->GetPropertyCount(); ++i) {
            if (!ctrl->GetProperty(i)->IsGroup()) {
                ctrl->SelectProperty(ctrl->GetProperty(i));
                break;
            }
        }
    }
}

void CQVNPropertyView::CommitOpenEdit() {
    // While a change is being decided or announced, the open editor is the
    // one being finished: repopulating the grid takes it down without a
    // second commit.
    EPropCtrl* ctrl = GetPropCtrl();
    if (!m_announcing && !ctrl->GetListCtrl()->GetModel()->IsCommitting() && ctrl->IsEditing()) {
        ctrl->EndEdit(true);
    }
}

void CQVNPropertyView::DropVanishedObject() {
    const bool itemGone = m_host == m_itemHost.get() && m_itemHost->GetItem() == nullptr;
    const bool stringGone = m_host == m_stringHost.get() && !m_stringHost->IsInProject();
    if (itemGone || stringGone) {
        Clear();
    }
}

void CQVNPropertyView::OnPropertyAccepted(int) {
    const bool wasAnnouncing = m_announcing;
    m_announcing = true;
    if (m_host == m_stringHost.get()) {
        if (const CBibTexString* string = m_stringHost->GetString()) {
            GetDocument().UpdateAllViews(this, UpdateHint::Change, string);
        }
    } else if (m_host == m_itemHost.get()) {
        if (CBibTexEntry* item = m_itemHost->GetItem()) {
            const bool typeChanged = m_itemHost->TypeChanged();
            GetDocument().UpdateAllViews(this, UpdateHint::Change, item);
            // The fields regroup under the new type at once. Another view
            // may have shown something else meanwhile.
            if (typeChanged && m_host == m_itemHost.get() && m_itemHost->GetItem() == item) {
                ShowItem(*item, false);
            }
        }
    }
    m_announcing = wasAnnouncing;
}

void CQVNPropertyView::OpenPicker(const EProperty& prop) {
    CBibTexEntry* item = m_itemHost->GetItem();
    if (m_host != m_itemHost.get() || item == nullptr) {
        return;
    }
    ClosePicker();
    const int field = prop.GetId();
    auto* picker =
        new CAbbrDlg(GetDocument().GetStrings(), prop.GetName(), prop.GetText(), window());
    picker->setAttribute(Qt::WA_DeleteOnClose);
    m_picker = picker;
    connect(picker, &QDialog::accepted, this, [this, picker, item, field] {
        // Only for the field of the item it was opened for.
        if (m_host == m_itemHost.get() && m_itemHost->GetItem() == item &&
            !picker->GetAbbreviation().isEmpty()) {
            GetPropCtrl()->CommitValue(field, picker->GetAbbreviation());
        }
    });
    picker->show();
    picker->raise();
    picker->activateWindow();
}

void CQVNPropertyView::ClosePicker() {
    if (m_picker != nullptr) {
        CAbbrDlg* picker = m_picker;
        m_picker = nullptr;
        picker->disconnect(this);
        delete picker;
    }
}

bool CQVNPropertyView::AddField() {
    CBibTexEntry* item = GetItem();
    if (item == nullptr || !GetDocument().IsProjectActive()) {
        return false;
    }
    CommitOpenEdit();
    CAddFieldDlg dialog(GetDocument(), *item, window());
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    // The item may not be shown any more; it is still the project's (the
    // dialog was modal).
    if (!ItemFieldsChanged(*item, dialog.GetFieldName())) {
        // A catalogue field that this type ignores, while the window hides
        // it: said, so that the value does not seem lost.
        if (IUserInterface* ui = GetDocument().GetUserInterface()) {
            ui->MessageBox(CQVNDoc::HiddenFieldMessage(qvn::FromQString(dialog.GetFieldName())),
                           "Add a field", MsgIcon::Information, MsgButtons::Ok);
        }
    }
    return true;
}

QString CQVNPropertyView::SelectedOtherField() const {
    if (m_host != m_itemHost.get() || m_itemHost->GetItem() == nullptr) {
        return {};
    }
    const EProperty* prop = GetPropCtrl()->GetSelectedProperty();
    return prop == nullptr || prop->IsGroup() ? QString()
                                              : m_itemHost->OtherGroupFieldName(prop->GetId());
}

bool CQVNPropertyView::DeleteSelectedField() {
    const QString name = SelectedOtherField();
    CBibTexEntry* item = GetItem();
    if (name.isEmpty() || item == nullptr || !GetDocument().IsProjectActive()) {
        return false;
    }
    CommitOpenEdit();
    IUserInterface* ui = GetDocument().GetUserInterface();
    const std::string field = qvn::FromQString(name);
    if (ui != nullptr && ui->MessageBox(CQVNDoc::DeleteFieldQuestion(field), "Delete field",
                                        MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes) {
        return false;
    }
    // The row that takes the deleted one's place stays selected.
    EPropCtrl* ctrl = GetPropCtrl();
    int ordinal = 0;
    while (ordinal < ctrl->GetPropertyCount() &&
           ctrl->GetProperty(ordinal) != ctrl->GetSelectedProperty()) {
        ++ordinal;
    }
    if (!GetDocument().DeleteItemField(*item, field)) {
        return false;
    }
    ItemFieldsChanged(*item, {});
    if (ctrl->GetPropertyCount() > 0) {
        ctrl->SelectProperty(ctrl->GetProperty(std::min(ordinal, ctrl->GetPropertyCount() - 1)));
    }
    return true;
}

bool CQVNPropertyView::ItemFieldsChanged(CBibTexEntry& item, const QString& fieldName) {
    const bool wasAnnouncing = m_announcing;
    m_announcing = true;
    ShowItem(item, false);
    EPropCtrl* ctrl = GetPropCtrl();
    bool shown = false;
    for (int i = 0; i < ctrl->GetPropertyCount() && !fieldName.isEmpty(); ++i) {
        const EProperty* prop = ctrl->GetProperty(i);
        if (!prop->IsGroup() && prop->GetName().compare(fieldName, Qt::CaseInsensitive) == 0) {
            ctrl->SelectProperty(prop);
            shown = true;
            break;
        }
    }
    GetDocument().UpdateAllViews(this, UpdateHint::Change, &item);
    m_announcing = wasAnnouncing;
    return shown;
}

void CQVNPropertyView::ShowContextMenu(const QPoint& pos) {
    if (GetItem() == nullptr) {
        return;
    }
    EPropListCtrl* grid = GetPropCtrl()->GetListCtrl();
    const QModelIndex index = grid->indexAt(pos);
    if (index.isValid()) {
        grid->setCurrentIndex(index);
    }
    QMenu menu(this);
    menu.addAction(QStringLiteral("&Add field...\tIns"), this, [this] { AddField(); });
    const QString name = SelectedOtherField();
    QAction* remove =
        menu.addAction(name.isEmpty() ? QStringLiteral("&Delete field\tDel")
                                      : QStringLiteral("&Delete field '%1'\tDel").arg(name),
                       this, [this] { DeleteSelectedField(); });
    remove->setEnabled(!name.isEmpty());
    menu.exec(grid->viewport()->mapToGlobal(pos));
}

bool CQVNPropertyView::eventFilter(QObject* watched, QEvent* event) {
    // The grid sends events while it is taken down: look at key presses only.
    if (event->type() == QEvent::KeyPress && m_propView != nullptr &&
        watched == GetPropCtrl()->GetListCtrl() && !GetPropCtrl()->IsEditing()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Insert) {
            AddField();
            return true;
        }
        if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete &&
            !SelectedOtherField().isEmpty()) {
            DeleteSelectedField();
            return true;
        }
    }
    return CQVNView::eventFilter(watched, event);
}
