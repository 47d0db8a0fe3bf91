#include "project/ProjectSettings.h"

#include "model/Archive.h"
#include "model/TextUtil.h"

void CProjectSettings::Reset() {
    m_fallbackName = kDefaultFallbackName;
    m_name.clear();
    m_location.clear();
    m_stringsFile = kDefaultStringsFileName;
    m_lastExportFolder.clear();
    m_reserved = 0;
}

void CProjectSettings::Assign(const CProjectSettings& other) {
    m_fallbackName = other.m_fallbackName;
    m_name = other.m_name;
    m_location = other.m_location;
    m_stringsFile = other.m_stringsFile;
    m_lastExportFolder = other.m_lastExportFolder;
    m_reserved = other.m_reserved;
}

std::string CProjectSettings::GetProjectName() const {
    return m_name.empty() ? m_fallbackName : m_name;
}

const std::string& CProjectSettings::GetExportFolder() const {
    return m_lastExportFolder.empty() ? m_location : m_lastExportFolder;
}

std::string CProjectSettings::GetStringsFileName(bool withExtension) const {
    if (m_stringsFile.empty()) {
        return withExtension ? "strings.bib" : "strings";
    }
    const bool hasBib = m_stringsFile.size() >= 4 &&
                        qvn::ToLowerAscii(m_stringsFile.substr(m_stringsFile.size() - 4)) == ".bib";
    if (hasBib) {
        return withExtension ? m_stringsFile : m_stringsFile.substr(0, m_stringsFile.size() - 4);
    }
    return withExtension ? m_stringsFile + ".bib" : m_stringsFile;
}

void CProjectSettings::Serialize(CArchive& ar) {
    if (ar.IsStoring()) {
        ar.WriteString(GetProjectName());
        ar.WriteString(m_location);
        ar.WriteString(m_stringsFile);
        ar.WriteString(m_lastExportFolder);
        ar.WriteInt32(m_reserved);
        return;
    }
    m_name = ar.ReadString();
    m_location = ar.ReadString();
    m_stringsFile = ar.ReadString();
    m_lastExportFolder = ar.ReadString();
    m_reserved = ar.ReadInt32();
}

bool CProjectSettings::operator==(const CProjectSettings& other) const {
    return m_fallbackName == other.m_fallbackName && m_name == other.m_name &&
           m_location == other.m_location && m_stringsFile == other.m_stringsFile &&
           m_lastExportFolder == other.m_lastExportFolder && m_reserved == other.m_reserved;
}
