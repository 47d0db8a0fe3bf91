// Where the main frame gets its views: the main view of each kind, and the
// views hosted by the explorer and property panes.
#pragma once

#include "views/ViewHost.h"

class CQVNDoc;
class CQVNView;
class QWidget;

// A new main view of `kind`, or null while that kind is not available.
CQVNView* CreateMainView(MainViewKind kind, CQVNDoc& doc, IViewHost& host, QWidget* parent);
// The widgets the "Project-Explorer" and "Properties" panes host.
QWidget* CreateExplorerPane(CQVNDoc& doc, IViewHost& host, QWidget* parent);
QWidget* CreatePropertyPane(CQVNDoc& doc, IViewHost& host, QWidget* parent);
