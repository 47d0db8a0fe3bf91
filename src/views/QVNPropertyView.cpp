#include "views/QVNPropertyView.h"

#include "dialogs/AbbrDlg.h"
#include "model/BibTexEntry.h"
#include "project/QVNDoc.h"
#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "views/ItemPropHost.h"
#include "views/ProblemCheckRunner.h"
#include "views/StringPropHost.h"
#include "views/TexEdit.h"
#include "widgets/PropCtrl.h"
#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/PropView.h"
#include "widgets/Property.h"

#include <QVBoxLayout>

CQVNPropertyView::CQVNPropertyView(CQVNDoc& doc, const CQVNSettings& settings, CMainFrame* frame,
                                   QWidget* parent)
    : CQVNView(doc, frame, parent), m_propView(new EPropView(this)),
      m_itemHost(std::make_unique<CItemPropHost>(doc, settings)),
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
    if (frame != nullptr) {
        CProblemCheckRunner& problems = frame->GetApp().GetProblemCheck();
        m_itemHost->SetProblemCheck(&problems.GetCheck());
        connect(&problems, &CProblemCheckRunner::problemsChanged, this, [this] {
            m_itemHost->ProblemsChanged();
            m_propView->Refresh();
        });
    }
    connect(m_propView, &EPropView::PropertyChanged, this, &CQVNPropertyView::OnPropertyAccepted);
}

CQVNPropertyView::~CQVNPropertyView() {
    ClosePicker();
    // The grid goes before the hosts it shows: an editor closing on its way
    // out must find no host to commit to.
    m_propView->SetHost(nullptr);
    delete m_propView;
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
