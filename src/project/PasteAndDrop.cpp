// Pasting and dropping BibTeX text: what is read from it, whether items are
// copied or moved, and what is refused.
#include "model/BibTexReader.h"
#include "model/TextUtil.h"
#include "project/QVNDoc.h"

namespace {

// The first `count` characters of a UTF-8 text (a byte that is not UTF-8
// counts as one character).
std::string FirstChars(std::string_view text, int count) {
    std::size_t pos = 0;
    for (int i = 0; i < count && pos < text.size(); ++i) {
        const qvn::Utf8Char c = qvn::DecodeChar(text, pos);
        pos += c.length == 0 ? 1 : c.length;
    }
    return std::string(text.substr(0, pos));
}

} // namespace

bool CQVNDoc::IsItemText(std::string_view text) {
    CBibTexReader reader(std::string{});
    return reader.ParseItem(std::string{}, text) != nullptr;
}

bool CQVNDoc::IsStringText(std::string_view text) {
    CBibTexReader reader(std::string{});
    std::string abbreviation;
    std::string value;
    return reader.ParseString(text, abbreviation, value);
}

bool CQVNDoc::HoldsItems(std::string_view data) {
    const std::string_view text = qvn::TrimView(data);
    // An empty text would make the reader read a file instead.
    if (text.empty()) {
        return false;
    }
    CBibTexReader reader;
    return reader.ReadText(text) == 1 && reader.GetItems().GetTotalCount() > 0;
}

bool CQVNDoc::PasteItems(std::string_view data, std::string_view fileName,
                         std::vector<CBibTexEntry*>& added) {
    added.clear();
    if (fileName.empty()) {
        Message(kSelectFileMessage, {}, MsgIcon::Warning);
        return false;
    }
    const std::string_view text = qvn::TrimView(data);
    // An empty text would make the reader read a file of that name.
    if (text.empty()) {
        return false;
    }
    // The reader files its items under the name of its source path without
    // the extension: "name.bib" gives the file name even when the name holds
    // a period.
    CBibTexReader reader(std::string(fileName) + ".bib");
    if (reader.ReadText(text) != 1) {
        return false;
    }
    CUndoStep step(*this, "Paste");
    return CopyItemsFrom(reader.GetItems(), added);
}

std::vector<std::pair<std::string, std::string>> CQVNDoc::PasteStrings(std::string_view data) {
    std::vector<std::pair<std::string, std::string>> added;
    const std::string_view text = qvn::TrimView(data);
    if (text.empty()) {
        return added;
    }
    CBibTexReader reader;
    if (reader.ReadText(text) != 1) {
        return added;
    }
    std::string failures;
    CUndoStep step(*this, "Paste");
    for (const auto& [abbreviation, value] : reader.GetStrings()) {
        std::string full(CTexObject::StripOneGroup(value));
        if (AddString(abbreviation, full, false)) {
            added.emplace_back(abbreviation, std::move(full));
        } else {
            if (!failures.empty()) {
                failures += ", ";
            }
            failures += abbreviation;
        }
    }
    if (!failures.empty()) {
        Message(InsertFailureText(failures), kInsertFailureCaption, MsgIcon::Warning);
    }
    return added;
}

std::string CQVNDoc::InsertFailureText(std::string_view failures) {
    return qvn::Format(kInsertFailure, FirstChars(failures, kFailureListChars).c_str());
}

bool CQVNDoc::DropItems(std::string_view data, ItemTextOrigin origin, std::string_view sourceFile,
                        std::string_view targetFile) {
    if (targetFile.empty() || (origin == ItemTextOrigin::ProjectList && sourceFile == targetFile)) {
        return false;
    }
    // An empty text would make the reader read a file instead.
    const std::string_view text = qvn::TrimView(data);
    if (text.empty()) {
        return false;
    }
    CBibTexReader reader(std::string{});
    if (reader.ReadText(text) != 1) {
        return false;
    }
    // Items of a search stay where they are; text from another program may
    // carry keys of unrelated items of this project, so it is copied too.
    const bool copy = origin != ItemTextOrigin::ProjectList;
    bool changed = false;
    CUndoStep step(*this, copy ? "Drop (Copy)" : "Drop (Move)");
    reader.GetItems().ForEachItem([&](const CBibTexEntry& item) {
        if (copy) {
            auto duplicate = std::make_unique<CBibTexEntry>(item);
            duplicate->SetFileName(std::string(targetFile));
            changed = AddItem(std::move(duplicate)) || changed;
            return;
        }
        std::string fileName;
        CBibTexEntry* own = FindItem(item.GetKey(), fileName);
        if (own != nullptr && fileName != targetFile) {
            changed = MoveItem(own, targetFile) || changed;
        }
    });
    // Every view shows the new places.
    UpdateAllViews(nullptr, UpdateHint::Change);
    return changed;
}
