#include "app/DocCommandTarget.h"

#include "project/CommandIds.h"
#include "project/QVNDoc.h"

bool CDocCommandTarget::OnCommand(int id) {
    switch (id) {
    case ID_FILE_SAVE:
        m_doc.OnFileSave();
        return true;
    case ID_FILE_SAVE_AS:
        m_doc.OnFileSaveAs();
        return true;
    case ID_BIBTEX_IMPORT:
        m_doc.OnImportBibTex();
        return true;
    case ID_VIEW_UPDATE:
        m_doc.OnUpdate();
        return true;
    case ID_NEW_STRING:
        m_doc.OnNewString();
        return true;
    case ID_PROJECT_SETTINGS:
        m_doc.OnProjectSettings();
        return true;
    case ID_APPEARANCE:
        m_doc.OnAppearance();
        return true;
    // Saving all BibTeX files, the multi-export, replace and deleting all
    // strings are carried out by the document's command handler.
    case ID_BIBTEX_SAVE_ALL:
    case ID_BIBTEX_SAVE_AS:
    case ID_EDIT_REPLACE:
    case ID_DELETE_ALL_STRINGS:
        return m_doc.OnCommand(id);
    default:
        return false;
    }
}

bool CDocCommandTarget::UpdateCommand(int id, CommandState& state) {
    bool handled = false;
    const bool enabled = m_doc.IsCommandEnabled(id, handled);
    if (handled) {
        state.enabled = enabled;
    }
    return handled;
}
