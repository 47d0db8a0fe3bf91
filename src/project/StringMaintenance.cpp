#include "project/StringMaintenance.h"

#include "model/BibTexString.h"
#include "model/TextUtil.h"
#include "project/QVNDoc.h"

#include <unordered_map>
#include <unordered_set>

using namespace stringtext;

bool IsValidAbbreviation(std::string_view abbreviation) {
    if (abbreviation.empty() || CTexObject::ContainsTexSpecial(abbreviation)) {
        return false;
    }
    if (abbreviation.front() >= '0' && abbreviation.front() <= '9') {
        return false;
    }
    return abbreviation.find_first_of("#,=%'\t\n\r\v\f") == std::string_view::npos;
}

namespace {

using ReplacementMap =
    std::unordered_map<std::string, std::string, qvn::StringHash, std::equal_to<>>;

// The texts that replace the references to every string of a table when
// all strings go at once. A value that names other strings (an alias, or a
// concatenation such as acm # { Press}) has them resolved too, so that no
// reference to a deleted string is left behind.
class CStringResolver {
public:
    CStringResolver(const CStringMaintenance& maintenance, const CBibTexStringTable& strings)
        : m_maintenance(maintenance), m_strings(strings) {}

    ReplacementMap ResolveAll() {
        for (const auto& [abbreviation, value] : m_strings) {
            Resolve(abbreviation, 0);
        }
        return std::move(m_done);
    }

private:
    static constexpr int kMaxDepth = 64;

    const std::string& Resolve(const std::string& abbreviation, int depth) {
        if (const auto it = m_done.find(abbreviation); it != m_done.end()) {
            return it->second;
        }
        std::string text = m_maintenance.ResolvedStringValue(abbreviation);
        // A cycle (a = b, b = a) or a very deep chain keeps the plain value.
        if (depth < kMaxDepth && m_active.insert(abbreviation).second) {
            std::string value;
            m_strings.LookupString(abbreviation, value);
            if (text == value && !CTexObject::IsNumber(value)) {
                if (m_strings.HasString(value)) {
                    text = Resolve(value, depth + 1);
                } else if (CTexObject::IsConcatenation(value)) {
                    text = ResolveParts(value, depth);
                }
            }
            m_active.erase(abbreviation);
        }
        return m_done.insert_or_assign(abbreviation, std::move(text)).first->second;
    }

    // The parts of a concatenation with their string names resolved.
    std::string ResolveParts(std::string_view value, int depth) {
        std::string out;
        std::size_t pos = 0;
        while (pos <= value.size()) {
            const std::size_t hash = std::min(value.find('#', pos), value.size());
            const std::string part = qvn::Trim(value.substr(pos, hash - pos));
            pos = hash + 1;
            if (part.empty()) {
                continue;
            }
            if (!out.empty()) {
                out += " # ";
            }
            if (m_strings.HasString(part)) {
                out += Resolve(part, depth + 1);
            } else {
                out += part;
            }
        }
        return out;
    }

    const CStringMaintenance& m_maintenance;
    const CBibTexStringTable& m_strings;
    ReplacementMap m_done;
    std::unordered_set<std::string> m_active;
};

} // namespace

CStringMaintenance::CStringMaintenance(CQVNDoc& doc)
    : m_doc(doc), m_strings(doc.GetStrings()), m_items(doc.GetItems()) {}

IUserInterface* CStringMaintenance::Ui() const {
    return m_doc.GetUserInterface();
}

MsgResult CStringMaintenance::Message(const std::string& text, const std::string& caption,
                                      MsgIcon icon, MsgButtons buttons) const {
    return ShowMessage(Ui(), text, caption, icon, buttons);
}

// ---------------------------------------------------------------------------
// Deleting strings

std::string CStringMaintenance::ResolvedStringValue(std::string_view abbreviation) const {
    std::string value;
    m_strings.LookupString(abbreviation, value);
    // An empty value becomes empty braces: an empty text would erase the
    // referring fields instead of keeping them empty.
    return value.empty() ? std::string("{}") : CTexObject::FormatValue(value);
}

int CStringMaintenance::DeleteString(std::string_view abbreviationView) {
    // A copy: the caller's text may live in the table or in an item.
    const std::string abbreviation(abbreviationView);
    if (!m_strings.HasString(abbreviation)) {
        return 0;
    }
    CUndoStep step(m_doc, "Delete String '" + abbreviation + "'");
    if (m_doc.IsStringInUse(abbreviation)) {
        switch (Message(qvn::Format(kInUse, abbreviation.c_str()), kInUseCaption, MsgIcon::Question,
                        MsgButtons::YesNoCancel)) {
        case MsgResult::Yes:
            m_items.ReplaceValueEverywhere(abbreviation, ResolvedStringValue(abbreviation));
            m_doc.SetModifiedFlag();
            break;
        case MsgResult::No:
            return 1;
        default:
            return 0;
        }
    }
    m_strings.RemoveString(abbreviation);
    m_doc.SetModifiedFlag();
    return 1;
}

bool CStringMaintenance::OnDeleteAllStrings() {
    if (Message(kDeleteAll, kDeleteAllCaption, MsgIcon::Warning, MsgButtons::YesNo) !=
        MsgResult::Yes) {
        return false;
    }
    {
        CUndoStep step(m_doc, "Delete All Strings");
        CBusyCursor busy(Ui());
        // One pass over the items, each value looked up among the
        // replacements, instead of one pass per string.
        const ReplacementMap replacements = CStringResolver(*this, m_strings).ResolveAll();
        if (!replacements.empty()) {
            std::vector<std::pair<int, const std::string*>> changes;
            std::vector<std::pair<std::string, const std::string*>> otherChanges;
            for (const auto& [name, items] : m_items.Files()) {
                for (const auto& [key, item] : *items) {
                    changes.clear();
                    otherChanges.clear();
                    item->ForEachValue([&](int index, std::string_view text) {
                        if (const auto it = replacements.find(text); it != replacements.end()) {
                            changes.emplace_back(index, &it->second);
                        }
                    });
                    // Fields outside the catalogue refer to strings too.
                    item->ForEachOtherField([&](std::string_view field, std::string_view text) {
                        if (const auto it = replacements.find(text); it != replacements.end()) {
                            otherChanges.emplace_back(std::string(field), &it->second);
                        }
                    });
                    if (!changes.empty() || !otherChanges.empty()) {
                        m_doc.NoteItemChange(*item);
                    }
                    for (const auto& [index, text] : changes) {
                        item->SetField(index, *text, true);
                    }
                    for (const auto& [field, text] : otherChanges) {
                        item->SetOtherField(field, *text);
                    }
                }
            }
        }
        if (m_strings.GetCount() > 0) {
            m_strings.RemoveAll();
            m_doc.SetModifiedFlag();
        }
    }
    m_doc.UpdateAllViews(nullptr, UpdateHint::Bulk);
    return true;
}

// ---------------------------------------------------------------------------
// Changing strings

bool CStringMaintenance::OnStringPropertyChanged(CBibTexString& string, StringProperty property,
                                                 std::string_view newText) {
    if (!m_doc.IsProjectActive()) {
        return false;
    }
    const std::string text(newText);
    CUndoStep step(m_doc, property == StringProperty::FullString
                              ? "Change String '" + string.GetAbbreviation() + "'"
                              : "Rename String '" + string.GetAbbreviation() + "'");
    if (property == StringProperty::FullString) {
        if (!m_doc.AcceptTypedValue(string.GetAbbreviation(), text)) {
            return false;
        }
        // Stored as typed; the references in the items stay valid.
        m_doc.AddString(string.GetAbbreviation(), text, true);
        string.SetValue(text);
        return true;
    }
    const std::string oldName = string.GetAbbreviation();
    std::string existing;
    if (m_strings.LookupString(text, existing)) {
        Message(qvn::Format(kDuplicateKey, text.c_str(), existing.c_str()), {}, MsgIcon::Error);
        return false;
    }
    // The new name will stand bare in the items: it must be a valid name.
    if (!IsValidAbbreviation(text)) {
        Message(kIllegal, kIllegalCaption, MsgIcon::Warning);
        return false;
    }
    if (m_doc.IsStringInUse(oldName)) {
        if (Message(qvn::Format(kRenameInUse, oldName.c_str(), text.c_str()), {}, MsgIcon::Warning,
                    MsgButtons::YesNo) != MsgResult::Yes) {
            return false;
        }
        m_items.ReplaceValueEverywhere(oldName, text);
    }
    m_strings.RemoveString(oldName);
    m_strings.AddString(text, string.GetValue(), true);
    m_doc.SetModifiedFlag();
    string.SetAbbreviation(text);
    return true;
}

bool CStringMaintenance::IsStringEditorComplete(std::string_view abbreviation,
                                                std::string_view fullString) {
    return !abbreviation.empty() && !fullString.empty();
}

EditStringResult CStringMaintenance::EditStringOk(std::string_view abbreviation,
                                                  std::string_view fullString) {
    if (!IsValidAbbreviation(abbreviation)) {
        Message(kIllegal, kIllegalCaption, MsgIcon::Warning);
        return EditStringResult::IllegalAbbreviation;
    }
    if (!m_doc.AcceptTypedValue(abbreviation, fullString)) {
        return EditStringResult::UnbalancedValue;
    }
    std::string existing;
    if (m_doc.LookupString(abbreviation, existing) &&
        Message(qvn::Format(kDuplicate, std::string(abbreviation).c_str(), existing.c_str()),
                kDuplicateCaption, MsgIcon::Warning, MsgButtons::YesNo) != MsgResult::Yes) {
        return EditStringResult::Declined;
    }
    // Stored exactly as typed; the writers add braces where needed.
    CUndoStep step(m_doc, "Edit String '" + std::string(abbreviation) + "'");
    m_doc.AddString(abbreviation, fullString, true);
    return EditStringResult::Stored;
}

// ---------------------------------------------------------------------------
// Replace

bool CStringMaintenance::IsReplaceRequestComplete(const CFieldRef& field, std::string_view find,
                                                  std::string_view replace) {
    return field.IsValid() && !find.empty() && !replace.empty() && find != replace;
}

int CStringMaintenance::Replace(const ReplaceRequest& request) {
    if (!request.field.IsValid()) {
        return -1;
    }
    // All or nothing: one value left with an open brace would make BibTeX
    // read the following fields into it.
    const CBibTexMap::Unbalanced unbalanced = m_items.FindUnbalancedReplacement(
        request.field, request.find, request.replace, request.matchCase);
    if (unbalanced.count > 0) {
        Message(qvn::Format(kReplaceUnbalanced, request.find.c_str(), request.replace.c_str(),
                            std::string(request.field.GetName()).c_str(), unbalanced.count,
                            unbalanced.firstKey.c_str()),
                kReplaceCaption, MsgIcon::Warning);
        return -1;
    }
    // Marked also when nothing will be found.
    m_doc.SetModifiedFlag();
    int count = 0;
    {
        CUndoStep step(m_doc, "Replace in '" + std::string(request.field.GetName()) + "'");
        CBusyCursor busy(Ui());
        count =
            m_items.ReplaceInField(request.field, request.find, request.replace, request.matchCase);
    }
    Message(qvn::Format(kReplaced, std::string(request.field.GetName()).c_str(), count,
                        request.find.c_str(), request.replace.c_str()),
            kReplaceCaption, MsgIcon::Information);
    m_doc.UpdateAllViews(nullptr, UpdateHint::Change);
    return count;
}

void CStringMaintenance::OnReplace() {
    if (Ui() == nullptr) {
        return;
    }
    if (const std::optional<ReplaceRequest> request = Ui()->RunReplaceDialog(m_doc)) {
        Replace(*request);
    }
}
