#include "widgets/Property.h"

QVariant EProperty::GetValue() const {
    if (m_kind == Kind::Choice) {
        return m_index;
    }
    return m_kind == Kind::Group ? QVariant() : QVariant(m_text);
}

QString EProperty::GetDisplayText() const {
    if (m_kind == Kind::Choice) {
        return m_index >= 0 && m_index < m_choices.size() ? m_choices.at(m_index) : QString();
    }
    return m_text; // empty for groups
}

void EProperty::SetValue(const QVariant& value) {
    if (m_kind == Kind::Choice) {
        m_index = value.toInt();
    } else if (m_kind != Kind::Group) {
        m_text = value.toString();
    }
}

EProperty& EPropList::Add(EProperty::Kind kind, int id, const QString& name,
                          const QString& comment) {
    m_props.push_back(std::unique_ptr<EProperty>(new EProperty(kind, id, name, comment)));
    return *m_props.back();
}

const EProperty& EPropList::AddGroup(const QString& caption, int id) {
    return Add(EProperty::Kind::Group, id, caption, {});
}

const EProperty& EPropList::AddText(int id, const QString& name, const QString& value,
                                    const QString& comment) {
    EProperty& prop = Add(EProperty::Kind::Text, id, name, comment);
    prop.m_text = value;
    return prop;
}

const EProperty& EPropList::AddChoice(int id, const QString& name, int index,
                                      const QStringList& choices, const QString& comment) {
    EProperty& prop = Add(EProperty::Kind::Choice, id, name, comment);
    prop.m_index = index;
    prop.m_choices = choices;
    return prop;
}

const EProperty& EPropList::AddTexField(int id, const QString& name, const QString& value,
                                        const QString& comment) {
    EProperty& prop = Add(EProperty::Kind::TexField, id, name, comment);
    prop.m_text = value;
    return prop;
}
