#include "views/QVNView.h"

#include "project/CommandIds.h"
#include "project/QVNDoc.h"

#include <QKeyEvent>

CQVNView::CQVNView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_host(host) {
    m_doc.AddObserver(this);
}

CQVNView::~CQVNView() {
    Detach();
}

void CQVNView::Detach() {
    if (m_attached) {
        m_doc.RemoveObserver(this);
        m_attached = false;
    }
}

void CQVNView::OnInitialUpdate() {
    OnUpdate(nullptr, UpdateHint::Contents, {});
}

void CQVNView::OnUpdate(IDocObserver*, UpdateHint, const HintObject&) {}

bool CQVNView::OnCommand(int) {
    return false;
}

bool CQVNView::UpdateCommand(int, CommandState&) {
    return false;
}

QString CQVNView::HelpTopic() const {
    return QStringLiteral("index.htm");
}

int CQVNView::ClipboardCommandOfKey(const QKeyEvent& event) {
    if (event.matches(QKeySequence::Copy)) {
        return ID_EDIT_COPY;
    }
    if (event.matches(QKeySequence::Cut)) {
        return ID_EDIT_CUT;
    }
    if (event.matches(QKeySequence::Paste)) {
        return ID_EDIT_PASTE;
    }
    return 0;
}
