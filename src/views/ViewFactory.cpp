#include "views/ViewFactory.h"

#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "views/QVNBibTeXView.h"
#include "views/QVNProjectView.h"
#include "views/QVNPropertyView.h"
#include "views/QVNSearchView.h"
#include "views/QVNStringView.h"
#include "views/QVNTreeView.h"

CQVNView* CreateMainView(MainViewKind kind, CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    switch (kind) {
    case MainViewKind::Files:
        return new CQVNProjectView(doc, frame, parent);
    case MainViewKind::Items:
        return new CQVNBibTeXView(doc, frame, parent);
    case MainViewKind::Strings:
        return new CQVNStringView(doc, frame, parent);
    case MainViewKind::SearchResults:
        return new CQVNSearchView(doc, frame, parent);
    }
    return nullptr;
}

QWidget* CreateExplorerPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    return new CQVNTreeView(doc, frame, parent);
}

QWidget* CreatePropertyPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    return new CQVNPropertyView(doc, frame->GetApp().GetAppearance(), frame, parent);
}
