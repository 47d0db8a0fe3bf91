#include "app/DocHintRelay.h"

#include "project/QVNDoc.h"

CDocHintRelay::CDocHintRelay(CQVNDoc& doc, QObject* parent) : QObject(parent), m_doc(doc) {
    m_doc.AddObserver(this);
}

CDocHintRelay::~CDocHintRelay() {
    m_doc.RemoveObserver(this);
}

void CDocHintRelay::OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) {
    Q_EMIT updated(sender, hint, object);
}
