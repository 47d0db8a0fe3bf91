// Base of every view of the document: the main views (the lists), the project
// explorer and the property window. A view registers with the document for
// update hints while it exists, takes part in command routing when it is the
// active view, and may supply the status bar's location and count texts.
#pragma once

#include "kit/CommandTarget.h"
#include "platform/DocObserver.h"
#include "views/ViewHost.h"

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

class CQVNDoc;
class QKeyEvent;

class CQVNView : public QWidget, public IDocObserver, public ICommandTarget {
    Q_OBJECT
public:
    CQVNView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);
    ~CQVNView() override;

    CQVNDoc& GetDocument() const { return m_doc; }
    // The window that holds the view.
    IViewHost& GetHost() const { return m_host; }
    // Stops the hints (a replaced main view until it is destroyed).
    // Derived views also let go of what they hold of the document.
    virtual void Detach();

    // Runs once, when the view is shown for the first time in its place.
    virtual void OnInitialUpdate();
    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;

    bool OnCommand(int id) override;
    bool UpdateCommand(int id, CommandState& state) override;

    // Status bar texts; no answer leaves the pane to the document.
    virtual std::optional<std::string> GetLocationText() const { return std::nullopt; }
    virtual std::optional<std::string> GetCountText() const { return std::nullopt; }
    // The help page for F1 while this view is active.
    virtual QString HelpTopic() const;

    // The cut, copy or paste command of a key, 0 for other keys. The item
    // views inside views hand these keys to the command, so that a disabled
    // command does nothing (Qt's views would copy the current cell's text).
    static int ClipboardCommandOfKey(const QKeyEvent& event);

Q_SIGNALS:
    // The selection or anything else that command states depend on changed.
    void commandStateChanged();

private:
    CQVNDoc& m_doc;
    IViewHost& m_host;
    bool m_attached = true;
};
