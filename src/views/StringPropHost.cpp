#include "views/StringPropHost.h"

#include "kit/QtText.h"
#include "project/QVNDoc.h"
#include "widgets/Property.h"

void CStringPropHost::Load(const CBibTexString& string) {
    m_string = string;
    m_loaded = true;
}

bool CStringPropHost::IsInProject() const {
    return m_loaded && m_doc.GetStrings().HasString(m_string.GetAbbreviation());
}

void CStringPropHost::Populate(EPropList& list) {
    if (!m_loaded) {
        return;
    }
    list.AddGroup(QStringLiteral("General"));
    list.AddText(kAbbreviationId, QStringLiteral("abbreviation"),
                 qvn::ToQString(m_string.GetAbbreviation()),
                 QStringLiteral("The abbreviated form of the full string."));
    list.AddText(kFullStringId, QStringLiteral("full string"), qvn::ToQString(m_string.GetValue()),
                 QStringLiteral("The full string (such as the name of a journal)."));
}

bool CStringPropHost::OnPropertyChanged(const EProperty& prop, const QVariant& value) {
    // A string deleted meanwhile must not come back through a change of its
    // text.
    if (!IsInProject() || m_doc.IsReadOnly()) {
        return false;
    }
    switch (prop.GetId()) {
    case kAbbreviationId:
        return m_doc.OnStringPropertyChanged(m_string, StringProperty::Abbreviation,
                                             qvn::FromQString(value.toString()));
    case kFullStringId:
        return m_doc.OnStringPropertyChanged(m_string, StringProperty::FullString,
                                             qvn::FromQString(value.toString()));
    default:
        return false;
    }
}

bool CStringPropHost::IsPropertyEnabled(const EProperty&) const {
    return !m_doc.IsReadOnly();
}
