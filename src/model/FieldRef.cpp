#include "model/FieldRef.h"

#include "model/BibTexEntry.h"
#include "model/TextUtil.h"

CFieldRef CFieldRef::FromName(std::string_view name) {
    const int index = FindField(name);
    if (index >= 0) {
        return CFieldRef(index);
    }
    CFieldRef ref;
    ref.m_name = name;
    return ref;
}

bool CFieldRef::IsCatalogue() const {
    return m_index >= 0 && m_index < kFieldCount;
}

bool CFieldRef::IsValid() const {
    return IsCatalogue() || IsBibTexName(m_name);
}

std::string_view CFieldRef::GetName() const {
    return IsCatalogue() ? FieldName(m_index) : std::string_view(m_name);
}

std::string_view CFieldRef::ValueOf(const CBibTexEntry& item) const {
    if (IsCatalogue()) {
        return item.GetValue(m_index);
    }
    if (m_name.empty()) {
        return {};
    }
    const int at = item.FindOtherField(m_name);
    return at < 0 ? std::string_view() : item.GetOtherFieldValue(at);
}

void CFieldRef::StoreTyped(CBibTexEntry& item, std::string_view text) const {
    if (IsCatalogue()) {
        item.SetField(m_index, text, false);
        return;
    }
    if (!IsBibTexName(m_name)) {
        return;
    }
    const int at = item.FindOtherField(m_name);
    const std::string name(at < 0 ? std::string_view(m_name) : item.GetOtherFieldName(at));
    const std::string value = CBibTexEntry::FormatValue(text);
    item.SetOtherField(name, value.empty() ? std::string_view("{}") : std::string_view(value));
}

bool CFieldRef::operator==(const CFieldRef& other) const {
    if (IsCatalogue() || other.IsCatalogue()) {
        return IsCatalogue() && other.IsCatalogue() && m_index == other.m_index;
    }
    return qvn::EqualsNoCase(m_name, other.m_name);
}
