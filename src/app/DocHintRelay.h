// The GUI side of the document's update channel: registered with the document
// as an observer, it re-emits every hint as a Qt signal for the windows that
// are not views themselves (the main frame's caption, status bar and command
// states).
#pragma once

#include "platform/DocObserver.h"

#include <QObject>

class CQVNDoc;

class CDocHintRelay : public QObject, public IDocObserver {
    Q_OBJECT
public:
    // Registers with `doc` for the relay's lifetime.
    explicit CDocHintRelay(CQVNDoc& doc, QObject* parent = nullptr);
    ~CDocHintRelay() override;

    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;

Q_SIGNALS:
    void updated(IDocObserver* sender, UpdateHint hint, const HintObject& object);

private:
    CQVNDoc& m_doc;
};
