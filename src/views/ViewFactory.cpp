#include "views/ViewFactory.h"

#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "views/QVNProjectView.h"
#include "views/QVNPropertyView.h"
#include "views/QVNTreeView.h"

CQVNView* CreateMainView(MainViewKind kind, CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    switch (kind) {
    case MainViewKind::Files:
        return new CQVNProjectView(doc, frame, parent);
    case MainViewKind::Items:
    case MainViewKind::Strings:
    case MainViewKind::SearchResults:
        return nullptr;
    }
    return nullptr;
}

QWidget* CreateExplorerPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    return new CQVNTreeView(doc, frame, parent);
}

QWidget* CreatePropertyPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    return new CQVNPropertyView(doc, frame->GetApp().GetAppearance(), frame, parent);
}
