// Where the main frame gets its views: the main view of each kind, and the
// views hosted by the explorer and property panes. Each kind of list is
// added here once its class exists.
#pragma once

class CMainFrame;
class CQVNDoc;
class CQVNView;
class QWidget;

enum class MainViewKind { Files, Items, Strings, SearchResults };

// A new main view of `kind`, or null while that kind is not available.
CQVNView* CreateMainView(MainViewKind kind, CQVNDoc& doc, CMainFrame* frame, QWidget* parent);
// The widgets the "Project-Explorer" and "Properties" panes host.
QWidget* CreateExplorerPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent);
QWidget* CreatePropertyPane(CQVNDoc& doc, CMainFrame* frame, QWidget* parent);
