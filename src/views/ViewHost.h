// What a view asks of the window that holds it: the preview pane, the main
// view, command routing and command states, the status prompts of a popup
// menu, the printer, the appearance and the problem check. The main frame
// implements it; a test passes a fake. Views never see the main frame's
// class, so nothing in views/ reaches up into app/.
#pragma once

#include "kit/CommandTarget.h"

class CProblemCheckRunner;
class CQVNSettings;
class CQVNView;
class QMenu;
class QPrinter;
class QString;

enum class MainViewKind { Files, Items, Strings, SearchResults };

class IViewHost {
public:
    // The text of the "Preview" pane.
    virtual void SetPreviewText(const QString& text) = 0;
    virtual CQVNView* GetMainView() const = 0;
    // Replaces the main view with a new one of `kind` and returns it; null
    // while that kind is not available.
    virtual CQVNView* SwitchMainView(MainViewKind kind) = 0;
    // The view whose commands come first in the routing.
    virtual void SetActiveView(CQVNView* view) = 0;
    // Runs command `id` through the active view, the document and the
    // application; false when nobody handled it or it is disabled.
    virtual bool RouteCommand(int id) = 0;
    virtual CommandState QueryCommand(int id) = 0;
    // Brings the window's menus and toolbars up to date with the command
    // states.
    virtual void UpdateCommandStates() = 0;
    // Gives the entries of a popup menu the window's status prompts.
    virtual void AttachPrompts(QMenu* menu) = 0;
    virtual QPrinter& GetPrinter() = 0;
    virtual CQVNSettings& GetAppearance() = 0;
    virtual CProblemCheckRunner& GetProblemCheck() = 0;

protected:
    ~IViewHost() = default;
};
