// Keeps the problem check of the open project current in the desktop
// program: every change the document announces marks what it touched, and
// the check runs in short steps from the event loop, so the window never
// waits for it. `problemsChanged` tells the views to draw their marks again.
#pragma once

#include "model/BibTexMap.h"
#include "platform/DocObserver.h"
#include "project/ProblemCheck.h"

#include <QObject>

class CQVNDoc;
class QTimer;

class CProblemCheckRunner : public QObject, public IDocObserver, private IItemDeletionObserver {
    Q_OBJECT
public:
    // The longest step, so that typing and painting go on meanwhile.
    static constexpr int kStepMilliseconds = 20;

    // `doc` must outlive the runner.
    explicit CProblemCheckRunner(CQVNDoc& doc, QObject* parent = nullptr);
    ~CProblemCheckRunner() override;

    const CProblemCheck& GetCheck() const { return m_check; }
    // Runs what is due to the end at once (tests, and before a print-out).
    void Finish();

    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;

Q_SIGNALS:
    void problemsChanged();

private:
    void OnItemDeleting(const CBibTexEntry& item) override;
    void OnAllItemsDeleting() override;
    void Step();
    void Schedule();

    CQVNDoc& m_doc;
    CProblemCheck m_check;
    QTimer* m_timer;
};
