// One row of the property grid, and the list a host fills with them.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class EProperty {
public:
    enum class Kind {
        Group,    // a caption that starts a group of properties
        Text,     // a text value, edited in a line edit
        Choice,   // an index into a list of texts, edited with a drop-down
        TexField, // a text value, edited with the host's editor, with a "..." button
    };

    Kind GetKind() const { return m_kind; }
    bool IsGroup() const { return m_kind == Kind::Group; }
    // The host's tag for the value the property is bound to; -1 when none
    // was given.
    int GetId() const { return m_id; }
    // The name in the left column; the caption of a group.
    const QString& GetName() const { return m_name; }
    // The help line shown in the comment pane while the property is selected.
    const QString& GetComment() const { return m_comment; }

    // Text and TeX field properties.
    const QString& GetText() const { return m_text; }
    // Choice properties: the index (may be out of range: nothing is shown)
    // and the texts it chooses from.
    int GetIndex() const { return m_index; }
    const QStringList& GetChoices() const { return m_choices; }

    // The value as the host gets it: a QString, or an int for a choice.
    QVariant GetValue() const;
    // The text of the value column.
    QString GetDisplayText() const;

    // The group header the property belongs to; null for groups and for
    // properties added before the first group.
    const EProperty* GetGroup() const { return m_group; }

private:
    friend class EPropList;
    friend class EPropModel;

    EProperty(Kind kind, int id, QString name, QString comment)
        : m_kind(kind), m_id(id), m_name(std::move(name)), m_comment(std::move(comment)) {}
    // Stores an accepted value (converted as GetValue() gives it).
    void SetValue(const QVariant& value);

    Kind m_kind;
    int m_id;
    QString m_name;
    QString m_comment;
    QString m_text;
    int m_index = -1;
    QStringList m_choices;

    // Tree links, kept by the model.
    EProperty* m_group = nullptr;
    std::vector<EProperty*> m_children;
    int m_row = 0;
};

// The host adds its properties here, in the order they are shown. Each
// property after a group header belongs to that group.
class EPropList {
public:
    EPropList() = default;
    EPropList(const EPropList&) = delete;
    EPropList& operator=(const EPropList&) = delete;

    const EProperty& AddGroup(const QString& caption, int id = -1);
    const EProperty& AddText(int id, const QString& name, const QString& value,
                             const QString& comment = {});
    const EProperty& AddChoice(int id, const QString& name, int index, const QStringList& choices,
                               const QString& comment = {});
    const EProperty& AddTexField(int id, const QString& name, const QString& value,
                                 const QString& comment = {});

    int GetCount() const { return static_cast<int>(m_props.size()); }

private:
    friend class EPropModel;
    EProperty& Add(EProperty::Kind kind, int id, const QString& name, const QString& comment);

    std::vector<std::unique_ptr<EProperty>> m_props;
};
