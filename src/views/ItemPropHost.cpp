#include "views/ItemPropHost.h"

#include "app/QtText.h"
#include "model/BibTexEntry.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"
#include "widgets/Property.h"

#include <QStringList>

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

bool IsValidType(int type) {
    return type >= 0 && type < kEntryTypeCount;
}

} // namespace

CItemPropHost::CItemPropHost(CQVNDoc& doc, const CQVNSettings& settings)
    : m_doc(doc), m_settings(settings) {}

void CItemPropHost::Load(const CBibTexEntry& item) {
    m_identity = &item;
    m_itemKey = item.GetKey();
    m_key = qvn::ToQString(item.GetKey());
    m_type = item.GetType();
    for (int field = 0; field < kFieldCount; ++field) {
        m_values[static_cast<size_t>(field)] = ShownValue(item, field);
    }
    m_typeChanged = false;
}

void CItemPropHost::Unload() {
    m_identity = nullptr;
    m_itemKey.clear();
    m_key.clear();
    m_type = -1;
    m_values.fill(QString());
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

void CItemPropHost::Populate(EPropList& list) {
    if (!m_doc.IsProjectActive() || GetItem() == nullptr) {
        return;
    }
    list.AddGroup(QStringLiteral("General"));
    list.AddText(kKeyId, QStringLiteral("key"), m_key,
                 QStringLiteral("A unique key for this entry."));
    // A type outside the catalogue (from a damaged project file) shows no
    // type and lists every field as ignored.
    const bool validType = IsValidType(m_type);
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
    if (!m_settings.GetShowIgnoredFields()) {
        return;
    }
    list.AddGroup(QStringLiteral("Ignored fields"));
    for (int field = 0; field < kFieldCount; ++field) {
        if (!IsFieldUsed(m_type, field) && m_settings.IsIgnoredFieldShown(field)) {
            AddField(list, field);
        }
    }
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
        if (!IsValidType(type)) {
            return false;
        }
        // The values stay: only their grouping follows the new type.
        item->SetType(type);
        m_doc.SetModifiedFlag();
        m_type = type;
        m_typeChanged = true;
        return true;
    }
    if (id < 0 || id >= kFieldCount) {
        return false;
    }
    const QString text = value.toString();
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
