// Presents one BibTeX string to the property grid: its abbreviation and its
// full string under "General". The host works on its own copy of the string;
// the document's string maintenance decides every change.
#pragma once

#include "model/BibTexString.h"
#include "widgets/PropHost.h"

class CQVNDoc;

class CStringPropHost : public EPropHost {
public:
    static constexpr int kAbbreviationId = 200;
    static constexpr int kFullStringId = 201;

    explicit CStringPropHost(CQVNDoc& doc) : m_doc(doc) {}

    void Load(const CBibTexString& string);
    void Unload() { m_loaded = false; }
    bool IsLoaded() const { return m_loaded; }
    // The copy shown, after the accepted changes; null when none is loaded.
    const CBibTexString* GetString() const { return m_loaded ? &m_string : nullptr; }
    // Whether the shown string is still one of the project's strings.
    bool IsInProject() const;

    void Populate(EPropList& list) override;
    bool OnPropertyChanged(const EProperty& prop, const QVariant& value) override;
    // Nothing is editable while the project is read-only.
    bool IsPropertyEnabled(const EProperty& prop) const override;

private:
    CQVNDoc& m_doc;
    CBibTexString m_string;
    bool m_loaded = false;
};
