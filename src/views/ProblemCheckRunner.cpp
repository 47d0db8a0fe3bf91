#include "views/ProblemCheckRunner.h"

#include "project/QVNDoc.h"

#include <QTimer>

#include <chrono>

CProblemCheckRunner::CProblemCheckRunner(CQVNDoc& doc, QObject* parent)
    : QObject(parent), m_doc(doc), m_check(doc.GetItems(), doc.GetStrings()),
      m_timer(new QTimer(this)) {
    m_timer->setSingleShot(true);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, &CProblemCheckRunner::Step);
    m_doc.AddObserver(this);
    m_doc.AddDeletionListener(this);
    Schedule();
}

CProblemCheckRunner::~CProblemCheckRunner() {
    m_doc.RemoveDeletionListener(this);
    m_doc.RemoveObserver(this);
}

void CProblemCheckRunner::OnUpdate(IDocObserver*, UpdateHint hint, const HintObject& object) {
    switch (hint) {
    case UpdateHint::Change:
        if (auto* const* item = std::get_if<CBibTexEntry*>(&object)) {
            // One item (changed, or only selected): checked again at once,
            // so that the property window shows its marks with it.
            if (*item != nullptr) {
                m_check.MarkChanged(**item);
                if (!m_check.IsPending() || m_check.Run(std::chrono::milliseconds(5))) {
                    Q_EMIT problemsChanged();
                    return;
                }
            }
        } else {
            // A string, a file or the whole project changed: values may
            // have changed anywhere.
            m_check.MarkAll();
        }
        break;
    case UpdateHint::Bulk:
    case UpdateHint::Contents:
        m_check.MarkAll();
        break;
    default:
        return;
    }
    Schedule();
}

void CProblemCheckRunner::OnItemDeleting(const CBibTexEntry& item) {
    m_check.Forget(item);
    Schedule();
}

void CProblemCheckRunner::OnAllItemsDeleting() {
    m_check.ForgetAll();
    Schedule();
}

void CProblemCheckRunner::Schedule() {
    if (!m_timer->isActive()) {
        m_timer->start();
    }
}

void CProblemCheckRunner::Step() {
    if (m_check.Run(std::chrono::milliseconds(kStepMilliseconds))) {
        Q_EMIT problemsChanged();
    } else {
        m_timer->start();
    }
}

void CProblemCheckRunner::Finish() {
    m_timer->stop();
    m_check.RunAll();
    Q_EMIT problemsChanged();
}
