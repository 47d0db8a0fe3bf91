// Records the update hints the document sends to its views: who sent each,
// what kind it is and its object.
#pragma once

#include "model/BibTexString.h"
#include "platform/DocObserver.h"

#include <optional>
#include <vector>

class CBibTexEntry;
class CQVNDoc;

namespace testsupport {

// A hint's kind and whether it carried an object, for compact comparisons.
struct SentHint {
    UpdateHint hint;
    bool withObject;
    bool operator==(const SentHint&) const = default;
};

class HintRecorder : public IDocObserver {
public:
    struct Hint {
        IDocObserver* sender = nullptr;
        UpdateHint hint = UpdateHint::Change;
        HintObject object;
        // The string of a string hint, copied at once: the string itself may
        // be gone when the test looks.
        std::optional<CBibTexString> string;

        bool HasObject() const { return !std::holds_alternative<std::monostate>(object); }
        // The item of an item hint, else null.
        const CBibTexEntry* Item() const;
    };

    // Records what it is sent; the test adds it to a document.
    HintRecorder() = default;
    // Records what `doc` sends for the recorder's lifetime.
    explicit HintRecorder(CQVNDoc& doc);
    ~HintRecorder() override;
    HintRecorder(const HintRecorder&) = delete;
    HintRecorder& operator=(const HintRecorder&) = delete;

    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;

    // The kinds of the hints, in order.
    std::vector<UpdateHint> Kinds() const;
    // The kinds of the hints with whether each carried an object.
    std::vector<SentHint> Sent() const;
    // The hints `sender` sent.
    std::vector<Hint> From(const IDocObserver* sender) const;
    // The string of the last string hint (an empty string when there was none).
    CBibTexString LastString() const;

    std::vector<Hint> hints;

private:
    CQVNDoc* m_doc = nullptr;
};

} // namespace testsupport
