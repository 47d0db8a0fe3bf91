#include "views/ViewFactory.h"

#include "views/QVNBibTeXView.h"
#include "views/QVNProjectView.h"
#include "views/QVNPropertyView.h"
#include "views/QVNSearchView.h"
#include "views/QVNStringView.h"
#include "views/QVNTreeView.h"

CQVNView* CreateMainView(MainViewKind kind, CQVNDoc& doc, IViewHost& host, QWidget* parent) {
    switch (kind) {
    case MainViewKind::Files:
        return new CQVNProjectView(doc, host, parent);
    case MainViewKind::Items:
        return new CQVNBibTeXView(doc, host, parent);
    case MainViewKind::Strings:
        return new CQVNStringView(doc, host, parent);
    case MainViewKind::SearchResults:
        return new CQVNSearchView(doc, host, parent);
    }
    return nullptr;
}

QWidget* CreateExplorerPane(CQVNDoc& doc, IViewHost& host, QWidget* parent) {
    return new CQVNTreeView(doc, host, parent);
}

QWidget* CreatePropertyPane(CQVNDoc& doc, IViewHost& host, QWidget* parent) {
    return new CQVNPropertyView(doc, host, parent);
}
