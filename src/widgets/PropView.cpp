#include "widgets/PropView.h"

#include "widgets/PropCtrl.h"

#include <QVBoxLayout>

EPropView::EPropView(QWidget* parent) : QWidget(parent), m_ctrl(new EPropCtrl(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_ctrl);
    setFocusProxy(m_ctrl);
    connect(m_ctrl, &EPropCtrl::PropertyChanged, this, [this](int id) {
        OnPropertyChanged(id);
        Q_EMIT PropertyChanged(id);
    });
}

void EPropView::SetHost(EPropHost* host) {
    m_ctrl->SetHost(host);
}

EPropHost* EPropView::GetHost() const {
    return m_ctrl->GetHost();
}

void EPropView::ShowCommentPane(bool show) {
    m_ctrl->ShowCommentPane(show);
}

void EPropView::Refresh() {
    m_ctrl->Refresh();
}

void EPropView::SetEmptyText(const QString& text) {
    m_ctrl->SetEmptyText(text);
}
