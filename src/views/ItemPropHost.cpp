#include "views/ItemPropHost.h"

#include "kit/QtText.h"
#include "model/BibTexEntry.h"
#include "model/FieldRef.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "project/ProblemCheck.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"
#include "widgets/Property.h"

#include <QStringList>

#include <algorithm>

namespace {

QString Latin(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

const QStringList& TypeNames() {
    static const QStringList names = [] {
        QStringList list;
        for (int type = 0; type < kEntryTypeCount; ++type) {
            list << Latin(EntryTypeName(type));
        }
        return list;
    }();
    return names;
}

constexpr const char* kOtherTypeComment =
    "An entry type outside the catalogue: it has no required or optional fields; all its fields "
    "are listed under Other fields.";
constexpr const char* kOtherFieldComment =
    "A field outside the catalogue. It is kept as it is and written after the catalogue fields.";

bool IsValidType(int type) {
    return type >= 0 && type < kEntryTypeCount;
}

} // namespace

CItemPropHost::CItemPropHost(CQVNDoc& doc, const CQVNSettings& settings)
    : m_doc(doc), m_settings(settings) {}

void CItemPropHost::Load(const CBibTexEntry& item) {
    m_marksValid = false;
    m_identity = &item;
    m_itemKey = item.GetKey();
    m_key = qvn::ToQString(item.GetKey());
    m_type = item.GetType();
    m_setFields.clear();
    for (int field = 0; field < kFieldCount; ++field) {
        m_values[static_cast<size_t>(field)] = ShownValue(item, field);
        if (!item.GetValue(field).empty()) {
            m_setFields.push_back(field);
        }
    }
    m_otherType = item.HasOtherType() ? qvn::ToQString(item.GetTypeName()) : QString();
    m_others.clear();
    item.ForEachOtherField([this](std::string_view name, std::string_view value) {
        m_others.push_back(
            {qvn::ToQString(name), qvn::ToQString(std::string(CTexObject::StripOneGroup(value)))});
    });
    m_typeChanged = false;
}

void CItemPropHost::Unload() {
    m_identity = nullptr;
    m_itemKey.clear();
    m_key.clear();
    m_type = -1;
    m_values.fill(QString());
    m_setFields.clear();
    m_otherType.clear();
    m_others.clear();
    m_typeChanged = false;
}

CBibTexEntry* CItemPropHost::GetItem() const {
    if (m_identity == nullptr) {
        return nullptr;
    }
    // Keys are unique over the project: the item found under the key is the
    // loaded one unless that was deleted (and perhaps another took its key).
    std::string fileName;
    CBibTexEntry* item = m_doc.FindItem(m_itemKey, fileName);
    return item == m_identity ? item : nullptr;
}

QString CItemPropHost::ShownValue(const CBibTexEntry& item, int field) {
    return qvn::ToQString(item.GetField(field));
}

QString CItemPropHost::GetPropertyMark(const EProperty& prop) const {
    if (m_check == nullptr) {
        return {};
    }
    if (!m_marksValid) {
        m_marks.clear();
        if (const CBibTexEntry* item = GetItem()) {
            for (const ItemProblem& problem : m_check->GetProblems(*item)) {
                m_marks.emplace_back(problem.field, problem.text);
            }
        }
        m_marksValid = true;
    }
    const int id = prop.GetId();
    const auto shown = [this](const std::string& field) {
        const int index = FindField(field);
        if (index < 0) {
            // A field outside the catalogue has a row of its own.
            return std::any_of(m_others.begin(), m_others.end(), [&field](const OtherField& other) {
                return qvn::EqualsNoCase(qvn::FromQString(other.name), field);
            });
        }
        return IsFieldUsed(m_type, index) ||
               (m_settings.GetShowIgnoredFields() && m_settings.IsIgnoredFieldShown(index));
    };
    QString mark;
    for (const auto& [field, text] : m_marks) {
        const bool here = id == kKeyId ? !shown(field)
                          : id >= kOtherFieldId
                              ? qvn::EqualsNoCase(qvn::FromQString(prop.GetName()), field)
                              : id >= 0 && id < kFieldCount && field == FieldName(id);
        if (here) {
            if (!mark.isEmpty()) {
                mark += QLatin1Char('\n');
            }
            mark += qvn::ToQString(text);
        }
    }
    return mark;
}

void CItemPropHost::Populate(EPropList& list) {
    if (!m_doc.IsProjectActive() || GetItem() == nullptr) {
        return;
    }
    list.AddGroup(QStringLiteral("General"));
    list.AddText(kKeyId, QStringLiteral("key"), m_key,
                 QStringLiteral("A unique key for this entry."));
    // An entry type the catalogue lacks is offered as a 17th choice; it has
    // no required or optional fields: all its fields are other fields.
    const bool validType = IsValidType(m_type);
    if (!m_otherType.isEmpty()) {
        QStringList names = TypeNames();
        names << m_otherType;
        list.AddChoice(kTypeId, QStringLiteral("type"), kEntryTypeCount, names,
                       QString::fromLatin1(kOtherTypeComment));
        AddOtherFields(list);
        return;
    }
    list.AddChoice(kTypeId, QStringLiteral("type"), m_type, TypeNames(),
                   validType ? Latin(EntryTypeDescription(m_type)) : QString());

    list.AddGroup(QStringLiteral("Required fields"));
    if (validType) {
        for (const int field : RequiredFields(m_type)) {
            AddField(list, field);
        }
    }
    list.AddGroup(QStringLiteral("Optional fields"));
    if (validType) {
        for (const int field : OptionalFields(m_type)) {
            AddField(list, field);
        }
    }
    if (m_settings.GetShowIgnoredFields()) {
        list.AddGroup(QStringLiteral("Ignored fields"));
        for (int field = 0; field < kFieldCount; ++field) {
            if (!IsFieldUsed(m_type, field) && m_settings.IsIgnoredFieldShown(field)) {
                AddField(list, field);
            }
        }
    }
    AddOtherFields(list);
}

void CItemPropHost::AddOtherFields(EPropList& list) const {
    // An item of the catalogue without other fields is shown as it always
    // was; the group comes with the first other field.
    if (m_others.empty() && m_otherType.isEmpty()) {
        return;
    }
    list.AddGroup(QStringLiteral("Other fields"), kOtherGroupId);
    if (!m_otherType.isEmpty()) {
        // The catalogue fields an item of another type holds.
        for (const int field : m_setFields) {
            AddField(list, field);
        }
    }
    for (std::size_t i = 0; i < m_others.size(); ++i) {
        list.AddTexField(kOtherFieldId + static_cast<int>(i), m_others[i].name, m_others[i].value,
                         QString::fromLatin1(kOtherFieldComment));
    }
}

QString CItemPropHost::OtherGroupFieldName(int id) const {
    if (id >= kOtherFieldId && id - kOtherFieldId < static_cast<int>(m_others.size())) {
        return m_others[static_cast<size_t>(id - kOtherFieldId)].name;
    }
    if (!m_otherType.isEmpty() && id >= 0 && id < kFieldCount) {
        return Latin(FieldName(id));
    }
    return {};
}

void CItemPropHost::AddField(EPropList& list, int field) const {
    list.AddTexField(field, Latin(FieldName(field)), m_values[static_cast<size_t>(field)],
                     Latin(FieldDescription(field)));
}

bool CItemPropHost::OnPropertyChanged(const EProperty& prop, const QVariant& value) {
    m_typeChanged = false;
    if (!m_doc.IsProjectActive() || m_doc.IsReadOnly()) {
        return false;
    }
    CBibTexEntry* item = GetItem();
    if (item == nullptr) {
        return false;
    }
    const int id = prop.GetId();
    if (id == kKeyId) {
        return ChangeKey(*item, value.toString());
    }
    if (id == kTypeId) {
        const int type = value.toInt();
        if (!m_otherType.isEmpty() && type == kEntryTypeCount) {
            return true; // its own type chosen again
        }
        if (!IsValidType(type)) {
            return false;
        }
        m_otherType.clear();
        // The values stay: only their grouping follows the new type.
        CUndoStep step(m_doc, "Change Type");
        m_doc.NoteItemChange(*item);
        item->SetType(type);
        m_doc.SetModifiedFlag();
        m_type = type;
        m_typeChanged = true;
        return true;
    }
    if (id >= kOtherFieldId) {
        const std::size_t i = static_cast<std::size_t>(id - kOtherFieldId);
        if (i >= m_others.size()) {
            return false;
        }
        // Found again by name: the item may have changed since it was shown.
        const QString text = value.toString();
        if (!m_doc.AcceptTypedValue(qvn::FromQString(m_others[i].name), qvn::FromQString(text))) {
            return false;
        }
        CUndoStep step(m_doc, "Change '" + qvn::FromQString(m_others[i].name) + "'");
        m_doc.NoteItemChange(*item);
        CFieldRef::FromName(qvn::FromQString(m_others[i].name))
            .StoreTyped(*item, qvn::FromQString(text));
        m_doc.SetModifiedFlag();
        m_others[i].value = text;
        return true;
    }
    if (id < 0 || id >= kFieldCount) {
        return false;
    }
    const QString text = value.toString();
    if (!m_doc.AcceptTypedValue(FieldName(id), qvn::FromQString(text))) {
        return false;
    }
    CUndoStep step(m_doc, "Change '" + std::string(FieldName(id)) + "'");
    m_doc.NoteItemChange(*item);
    item->SetField(id, qvn::FromQString(text), false);
    m_doc.SetModifiedFlag();
    m_values[static_cast<size_t>(id)] = text;
    return true;
}

bool CItemPropHost::IsPropertyEnabled(const EProperty&) const {
    return !m_doc.IsReadOnly();
}

bool CItemPropHost::ChangeKey(CBibTexEntry& item, const QString& text) {
    const std::string key = qvn::FromQString(text);
    // A key BibTeX cannot read back (a blank, a comma, a brace ...) or an
    // empty one would spoil the exported file: refused as the new-item
    // wizard refuses it.
    const KeyCheck check = m_doc.CheckItemKey(key);
    IUserInterface* ui = m_doc.GetUserInterface();
    switch (check.problem) {
    case KeyProblem::None:
        break;
    case KeyProblem::Illegal:
        ShowMessage(ui, IllegalKeyMessage(), ruletext::kIllegalKeyCaption, MsgIcon::Error);
        return false;
    case KeyProblem::Duplicate:
        ShowMessage(ui, qvn::Format(ruletext::kKeyInUse, key.c_str(), check.holderFile.c_str()), {},
                    MsgIcon::Error);
        return false;
    case KeyProblem::Empty:
        ShowMessage(ui, ruletext::kNoKey, ruletext::kNoKeyCaption, MsgIcon::Error);
        return false;
    }
    if (!m_doc.ChangeItemKey(&item, key)) {
        return false;
    }
    m_itemKey = key;
    m_key = text;
    return true;
}

void CItemPropHost::OnTexFieldButton(const EProperty& prop) {
    if (m_buttonHandler) {
        m_buttonHandler(prop);
    }
}
