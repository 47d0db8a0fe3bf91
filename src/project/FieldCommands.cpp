// Adding and deleting the fields of one item by name, as the property window
// offers it.
#include "model/TextUtil.h"
#include "project/QVNDoc.h"

CQVNDoc::AddFieldResult CQVNDoc::AddItemField(CBibTexEntry& item, std::string_view name,
                                              std::string_view typedValue) {
    if (!IsBibTexName(name)) {
        return AddFieldResult::InvalidName;
    }
    if (!item.GetNamedValue(name).empty()) {
        return AddFieldResult::Exists;
    }
    if (!CTexObject::HasBalancedBraces(typedValue)) {
        return AddFieldResult::UnbalancedValue;
    }
    // A field added on purpose stays, with an empty value if need be.
    std::string value = CTexObject::FormatValue(typedValue);
    if (value.empty()) {
        value = "{}";
    }
    CUndoStep step(*this, "Add Field '" + std::string(name) + "'");
    NoteItemChange(item);
    item.SetNamedField(name, value, true);
    SetModifiedFlag();
    return AddFieldResult::Added;
}

std::pair<std::string, std::string> CQVNDoc::AddFieldMessage(AddFieldResult result,
                                                             std::string_view name) {
    const std::string shown(name);
    switch (result) {
    case AddFieldResult::InvalidName:
        return {qvn::Format("'%s' is not a valid BibTeX field name.\n\nA field name must not be "
                            "empty, must not start with a digit and must not hold a blank or one "
                            "of the characters \" # %% ' ( ) , = @ { }.",
                            shown.c_str()),
                "Illegal name"};
    case AddFieldResult::Exists:
        return {qvn::Format("This BibTeX item already has a field '%s'.", shown.c_str()),
                "Field exists"};
    case AddFieldResult::UnbalancedValue:
        return {CTexObject::UnbalancedBracesMessage(name), kUnbalancedBracesCaption};
    case AddFieldResult::Added:
        break;
    }
    return {};
}

bool CQVNDoc::DeleteItemField(CBibTexEntry& item, std::string_view name) {
    const int field = FindField(name);
    if (field >= 0 ? item.GetValue(field).empty() : item.FindOtherField(name) < 0) {
        return false;
    }
    CUndoStep step(*this, "Delete Field '" + std::string(name) + "'");
    NoteItemChange(item);
    if (field >= 0) {
        item.SetField(field, {}, true);
    } else {
        item.RemoveOtherField(name);
    }
    SetModifiedFlag();
    return true;
}

std::string CQVNDoc::DeleteFieldQuestion(std::string_view name) {
    return qvn::Format("Do you really want to delete the field '%s' of this BibTeX item?",
                       std::string(name).c_str());
}

std::string CQVNDoc::HiddenFieldMessage(std::string_view name) {
    return qvn::Format("The field '%s' was added. It is an ignored field of this entry type, and "
                       "the property window does not show it now.\n\nExtras > Appearance... "
                       "chooses the ignored fields that the property window shows.",
                       std::string(name).c_str());
}
