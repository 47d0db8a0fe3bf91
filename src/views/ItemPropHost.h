// Presents one BibTeX item to the property grid: its key and entry type under
// "General", then its fields grouped into the required, optional and (when
// the appearance settings say so) ignored fields of its type. Each accepted
// value is written into the item at once.
#pragma once

#include "model/Catalogue.h"
#include "widgets/PropHost.h"

#include <QString>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class CBibTexEntry;
class CProblemCheck;
class CQVNDoc;
class CQVNSettings;

class CItemPropHost : public EPropHost {
public:
    // Property tags: the field properties carry their field index, the
    // fields outside the catalogue kOtherFieldId + their position.
    static constexpr int kKeyId = 100;
    static constexpr int kTypeId = 101;
    static constexpr int kOtherGroupId = 102;
    static constexpr int kOtherFieldId = 1000;

    CItemPropHost(CQVNDoc& doc, const CQVNSettings& settings);

    // Takes the item's key, type and values. The item is not kept as a
    // pointer to use: it is looked up again by its key before each use, so
    // that an item deleted meanwhile is never touched.
    void Load(const CBibTexEntry& item);
    void Unload();
    bool IsLoaded() const { return m_identity != nullptr; }
    // The loaded item while it is still in the project; null otherwise.
    CBibTexEntry* GetItem() const;
    // Whether `item` is the loaded one (no lookup).
    bool Holds(const CBibTexEntry* item) const { return item != nullptr && item == m_identity; }

    // Whether the last accepted change was one of the entry type.
    bool TypeChanged() const { return m_typeChanged; }

    // The working values the grid shows.
    const QString& GetKey() const { return m_key; }
    int GetType() const { return m_type; }
    const QString& GetValue(int field) const { return m_values.at(static_cast<size_t>(field)); }
    // The type name of an item whose entry type the catalogue lacks; empty
    // for a catalogue type.
    const QString& GetOtherTypeName() const { return m_otherType; }
    // The fields outside the catalogue: names as written, shown values.
    int GetOtherFieldCount() const { return static_cast<int>(m_others.size()); }
    const QString& GetOtherFieldName(int i) const {
        return m_others.at(static_cast<size_t>(i)).name;
    }
    const QString& GetOtherFieldValue(int i) const {
        return m_others.at(static_cast<size_t>(i)).value;
    }
    // The name of the field a property shows when it lies in the group
    // "Other fields" (a field outside the catalogue, or a catalogue field of
    // an item whose type the catalogue lacks); empty otherwise.
    QString OtherGroupFieldName(int id) const;

    // The value of a field as the grid shows it: the stored text without its
    // outer delimiters when they enclose the whole value. A value such as
    // "A" # "B" or {IEEE} {INFOCOM} is shown whole: stripping would change
    // its meaning when the text is stored again.
    static QString ShownValue(const CBibTexEntry& item, int field);

    // The check whose problems mark the fields (null: no marks); it must
    // outlive the host.
    void SetProblemCheck(const CProblemCheck* check) { m_check = check; }
    // The check has new results: the marks are looked up again.
    void ProblemsChanged() { m_marksValid = false; }

    void Populate(EPropList& list) override;
    // A field's problems; the key shows the problems of fields that are
    // not shown.
    QString GetPropertyMark(const EProperty& prop) const override;
    bool OnPropertyChanged(const EProperty& prop, const QVariant& value) override;
    // Nothing is editable while the project is read-only.
    bool IsPropertyEnabled(const EProperty& prop) const override;
    void OnTexFieldButton(const EProperty& prop) override;

    // Called for the "..." button of a field property.
    void SetButtonHandler(std::function<void(const EProperty&)> handler) {
        m_buttonHandler = std::move(handler);
    }

private:
    void AddField(EPropList& list, int field) const;
    void AddOtherFields(EPropList& list) const;
    bool ChangeKey(CBibTexEntry& item, const QString& text);

    CQVNDoc& m_doc;
    const CQVNSettings& m_settings;
    // Compared, never dereferenced: the item itself is found by its key.
    const CBibTexEntry* m_identity = nullptr;
    std::string m_itemKey;

    QString m_key;
    int m_type = -1;
    std::array<QString, kFieldCount> m_values;
    // The catalogue fields the item holds a value for, when it was loaded.
    std::vector<int> m_setFields;
    QString m_otherType;
    struct OtherField {
        QString name;
        QString value;
    };
    std::vector<OtherField> m_others;
    bool m_typeChanged = false;
    std::function<void(const EProperty&)> m_buttonHandler;
    const CProblemCheck* m_check = nullptr;
    // The loaded item's problems by field name, looked up once per change.
    mutable std::vector<std::pair<std::string, std::string>> m_marks;
    mutable bool m_marksValid = false;
};
