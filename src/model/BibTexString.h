// One BibTeX string (abbreviation and value) as a self-contained object; it
// carries a string between views and is not an element of the string table.
#pragma once

#include "model/TexObject.h"

#include <string>

class CBibTexString : public CTexObject {
public:
    CBibTexString() = default;
    CBibTexString(std::string abbreviation, std::string value)
        : m_abbreviation(std::move(abbreviation)), m_value(std::move(value)) {}
    CBibTexString(const CBibTexString& other) : CTexObject() { CopyFrom(other); }
    CBibTexString& operator=(const CBibTexString& other) {
        CopyFrom(other);
        return *this;
    }

    void Serialize(CArchive& archive) override;
    virtual void CopyFrom(const CBibTexString& other) {
        m_abbreviation = other.m_abbreviation;
        m_value = other.m_value;
    }

    const std::string& GetAbbreviation() const { return m_abbreviation; }
    void SetAbbreviation(std::string text) { m_abbreviation = std::move(text); }
    const std::string& GetValue() const { return m_value; }
    void SetValue(std::string text) { m_value = std::move(text); }

private:
    std::string m_abbreviation;
    std::string m_value;
};
