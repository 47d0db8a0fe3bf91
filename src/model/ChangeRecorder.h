// Told before the project's items, files and strings change, so that the
// state they had can be kept (the undo history). The model calls it at the
// places where it changes; whoever changes an item in place from outside
// the model tells it first as well.
#pragma once

#include <string_view>

class CBibTexEntry;

class IChangeRecorder {
public:
    virtual ~IChangeRecorder() = default;
    // An item is about to change in place or to leave the map.
    virtual void OnItemChanging(const CBibTexEntry& item) = 0;
    // A key was just entered into the map for a new item.
    virtual void OnKeyAdded(std::string_view key) = 0;
    // A BibTeX file is about to be created, removed, renamed or to change
    // its items' membership or order, or its @preamble and @comment texts.
    virtual void OnFileChanging(std::string_view fileName) = 0;
    // The string table is about to change.
    virtual void OnStringsChanging() = 0;
};
