#include "HintRecorder.h"

#include "project/QVNDoc.h"

namespace testsupport {

const CBibTexEntry* HintRecorder::Hint::Item() const {
    const auto* item = std::get_if<CBibTexEntry*>(&object);
    return item != nullptr ? *item : nullptr;
}

HintRecorder::HintRecorder(CQVNDoc& doc) : m_doc(&doc) {
    m_doc->AddObserver(this);
}

HintRecorder::~HintRecorder() {
    if (m_doc != nullptr) {
        m_doc->RemoveObserver(this);
    }
}

void HintRecorder::OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) {
    Hint h{sender, hint, object, std::nullopt};
    if (const auto* string = std::get_if<const CBibTexString*>(&object); string && *string) {
        h.string = **string;
    }
    hints.push_back(std::move(h));
}

std::vector<UpdateHint> HintRecorder::Kinds() const {
    std::vector<UpdateHint> kinds;
    for (const Hint& h : hints) {
        kinds.push_back(h.hint);
    }
    return kinds;
}

std::vector<SentHint> HintRecorder::Sent() const {
    std::vector<SentHint> sent;
    for (const Hint& h : hints) {
        sent.push_back({h.hint, h.HasObject()});
    }
    return sent;
}

std::vector<HintRecorder::Hint> HintRecorder::From(const IDocObserver* sender) const {
    std::vector<Hint> from;
    for (const Hint& h : hints) {
        if (h.sender == sender) {
            from.push_back(h);
        }
    }
    return from;
}

CBibTexString HintRecorder::LastString() const {
    for (auto it = hints.rbegin(); it != hints.rend(); ++it) {
        if (it->string) {
            return *it->string;
        }
    }
    return {};
}

} // namespace testsupport
