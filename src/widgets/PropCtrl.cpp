#include "widgets/PropCtrl.h"

#include "widgets/CommentPane.h"
#include "widgets/PropListCtrl.h"
#include "widgets/PropModel.h"
#include "widgets/PropWnd.h"

#include <QSplitter>
#include <QVBoxLayout>

EPropCtrl::EPropCtrl(QWidget* parent)
    : QWidget(parent), m_splitter(new QSplitter(Qt::Vertical, this)),
      m_list(new EPropListCtrl(m_splitter)), m_commentPane(new ECommentPane(m_splitter)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    setFocusProxy(m_list);
    connect(m_list, &EPropListCtrl::CurrentPropertyChanged, this, [this](const EProperty* prop) {
        UpdateComment(prop);
        Q_EMIT SelectionChanged(prop);
    });
    connect(m_list->GetModel(), &EPropModel::PropertyAccepted, this, &EPropCtrl::PropertyChanged);
}

void EPropCtrl::SetHost(EPropHost* host) {
    m_list->SetHost(host);
    UpdateComment(m_list->GetCurrentProperty());
}

EPropHost* EPropCtrl::GetHost() const {
    return m_list->GetHost();
}

void EPropCtrl::Refresh() {
    // Enabled states are asked of the host as rows are painted.
    m_list->viewport()->update();
    UpdateComment(m_list->GetCurrentProperty());
}

void EPropCtrl::ShowCommentPane(bool show) {
    m_commentPane->setVisible(show);
}

bool EPropCtrl::IsCommentPaneVisible() const {
    return !m_commentPane->isHidden();
}

void EPropCtrl::SetEmptyText(const QString& text) {
    m_list->SetEmptyText(text);
}

QString EPropCtrl::GetEmptyText() const {
    return m_list->GetEmptyText();
}

void EPropCtrl::SetTexEditorFactory(TexEditorFactory factory) {
    m_list->GetDelegate()->SetTexEditorFactory(std::move(factory));
}

bool EPropCtrl::CommitValue(int id, const QVariant& value) {
    const EProperty* prop = m_list->GetModel()->FindById(id);
    if (prop == nullptr) {
        return false;
    }
    // An open edit of the same value is overruled by the committed one.
    if (m_list->IsEditing()) {
        const EPropWnd* open = m_list->GetDelegate()->GetEditor();
        if (open != nullptr && m_list->GetModel()->GetProperty(open->GetOrdinal()) == prop) {
            m_list->EndEdit(false);
        }
    }
    return m_list->GetModel()->Commit(prop, value);
}

const EProperty* EPropCtrl::FindProperty(int id) const {
    return m_list->GetModel()->FindById(id);
}

int EPropCtrl::GetPropertyCount() const {
    return m_list->GetModel()->GetCount();
}

const EProperty* EPropCtrl::GetProperty(int ordinal) const {
    return m_list->GetModel()->GetProperty(ordinal);
}

const EProperty* EPropCtrl::GetSelectedProperty() const {
    return m_list->GetCurrentProperty();
}

void EPropCtrl::SelectProperty(const EProperty* prop) {
    m_list->SelectProperty(prop);
}

bool EPropCtrl::StartEdit(const EProperty* prop) {
    return m_list->StartEdit(prop);
}

bool EPropCtrl::IsEditing() const {
    return m_list->IsEditing();
}

void EPropCtrl::EndEdit(bool commit) {
    m_list->EndEdit(commit);
}

void EPropCtrl::UpdateComment(const EProperty* prop) {
    if (prop == nullptr) {
        m_commentPane->Clear();
    } else {
        m_commentPane->SetComment(prop->GetName(), prop->GetComment());
    }
}
