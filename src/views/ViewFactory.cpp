#include "views/ViewFactory.h"

#include "views/QVNBibTeXView.h"
#include "views/QVNProjectView.h"
#include "views/QVNSearchView.h"
#include "views/QVNStringView.h"

#include <QPalette>

namespace {

// An empty pane, painted like an empty list, until its view takes its place.
QWidget* EmptyPane(QWidget* parent, const char* name) {
    auto* pane = new QWidget(parent);
    pane->setObjectName(QString::fromLatin1(name));
    pane->setBackgroundRole(QPalette::Base);
    pane->setAutoFillBackground(true);
    return pane;
}

} // namespace

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

QWidget* CreateExplorerPane(CQVNDoc&, CMainFrame*, QWidget* parent) {
    return EmptyPane(parent, "explorerPlaceholder");
}

QWidget* CreatePropertyPane(CQVNDoc&, CMainFrame*, QWidget* parent) {
    return EmptyPane(parent, "propertyPlaceholder");
}
