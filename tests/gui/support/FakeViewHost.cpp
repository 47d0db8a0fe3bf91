#include "support/FakeViewHost.h"

#include "project/QVNDoc.h"
#include "views/ProblemCheckRunner.h"
#include "views/QVNView.h"

#include <QPrinter>

CFakeViewHost::CFakeViewHost(CQVNDoc& doc)
    : m_doc(doc), m_problems(std::make_unique<CProblemCheckRunner>(doc)) {}

CFakeViewHost::~CFakeViewHost() = default;

CQVNView* CFakeViewHost::SwitchMainView(MainViewKind kind) {
    switchedTo.push_back(kind);
    return nullptr;
}

CommandState CFakeViewHost::QueryCommand(int id) {
    CommandState state;
    if (activeView != nullptr && activeView->UpdateCommand(id, state)) {
        return state;
    }
    bool handled = false;
    state.enabled = m_doc.IsCommandEnabled(id, handled) && handled;
    return state;
}

bool CFakeViewHost::RouteCommand(int id) {
    if (!QueryCommand(id).enabled) {
        return false;
    }
    const bool done = (activeView != nullptr && activeView->OnCommand(id)) || m_doc.OnCommand(id);
    if (activeView != nullptr) {
        Q_EMIT activeView->commandStateChanged();
    }
    return done;
}

QPrinter& CFakeViewHost::GetPrinter() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}
