// The update channel from the project document to its views: a numbered hint
// and an optional typed object.
#pragma once

#include <variant>

class CBibTexEntry;
class CBibTexString;
class CSearch;

enum class UpdateHint : int {
    Change = 0,        // a single change or a new selection
    Bulk = 2,          // items or strings added or removed in bulk
    Search = 3,        // a search was made or chosen again (object: the search)
    Contents = 4,      // the contents were cleared or redisplayed
    IgnoredFields = 5, // the property window's choice of ignored fields changed
    Columns = 6,       // the item lists' columns changed
};

// The object of a hint. A file name stands for "another kind of object".
struct HintFile {
    const char* name;
};
using HintObject =
    std::variant<std::monostate, CBibTexEntry*, const CBibTexString*, const CSearch*, HintFile>;

class IDocObserver {
public:
    virtual ~IDocObserver() = default;
    // `sender` is the view that caused the update (it is not notified), or
    // null for the document and dialogs.
    virtual void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) = 0;
};
