#include "app/DocCommandTarget.h"

#include "project/QVNDoc.h"

bool CDocCommandTarget::OnCommand(int id) {
    // The document knows which commands it carries out (import, update, new
    // string, the settings dialogs, save, save all BibTeX files, the
    // multi-export, replace, delete all strings); it declines the rest.
    return m_doc.OnCommand(id);
}

bool CDocCommandTarget::UpdateCommand(int id, CommandState& state) {
    bool handled = false;
    const bool enabled = m_doc.IsCommandEnabled(id, handled);
    if (handled) {
        state.enabled = enabled;
    }
    return handled;
}
