#include "views/ViewFactory.h"

#include "app/MainFrame.h"
#include "app/QVNApp.h"
#include "views/QVNProjectView.h"
#include "views/QVNPropertyView.h"

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
    case MainViewKind::Strings:
    case MainViewKind::SearchResults:
        return nullptr;
    }
    return nullptr;
}

QWidget* CreateExplorerPane(CQVNDoc&, CMainFrame*, QWidget* parent) {
    return EmptyPane(parent, "explorerPlaceholder");
}

QWidget* CreatePropertyPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent) {
    return new CQVNPropertyView(doc, frame->GetApp().GetAppearance(), frame, parent);
}
