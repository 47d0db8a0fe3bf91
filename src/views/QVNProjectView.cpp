#include "views/QVNProjectView.h"

#include "project/CommandIds.h"
#include "views/ProjectFilesModel.h"

CQVNProjectView::CQVNProjectView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNListView(doc, host, parent), m_model(new CProjectFilesModel(doc, this)) {
    SetSourceModel(m_model);
    // The location, last, takes the room that is left, so that paths show
    // whole.
    for (int column = 0; column < CProjectFilesModel::ColumnCount; ++column) {
        SetColumnWidth(column, CProjectFilesModel::ColumnWidth(column));
    }
}

void CQVNProjectView::OnUpdate(IDocObserver*, UpdateHint hint, const HintObject&) {
    // Every hint but the property window's own refills the summary.
    if (hint == UpdateHint::IgnoredFields) {
        return;
    }
    m_model->Refill();
    Resort();
    Q_EMIT commandStateChanged();
}

bool CQVNProjectView::UpdateCommand(int id, CommandState& state) {
    switch (id) {
    // The rows are a summary: there is nothing to copy, cut or delete.
    case ID_EDIT_CUT:
    case ID_EDIT_COPY:
    case ID_EDIT_CLEAR:
        state.enabled = false;
        return true;
    default:
        return CQVNListView::UpdateCommand(id, state);
    }
}

QString CQVNProjectView::HelpTopic() const {
    return QStringLiteral("projects.htm");
}
