// The settings of one project, stored in its project file: its name, where
// its BibTeX files are saved by default, the strings file name and the folder
// of the last multi-export.
#pragma once

#include <cstdint>
#include <string>

class CArchive;

class CProjectSettings {
public:
    static constexpr const char* kDefaultFallbackName = "< unnamed >";
    static constexpr const char* kDefaultStringsFileName = "strings.bib";

    CProjectSettings() { Reset(); }
    virtual ~CProjectSettings() = default;
    CProjectSettings(const CProjectSettings& other) { Assign(other); }
    CProjectSettings& operator=(const CProjectSettings& other) {
        Assign(other);
        return *this;
    }

    virtual void Serialize(CArchive& archive);
    void Reset();
    void Assign(const CProjectSettings& other);

    // The project name, or the fallback name when it is empty.
    std::string GetProjectName() const;
    // The last export folder, or the BibTeX location when it is empty.
    const std::string& GetExportFolder() const;
    std::string GetStringsFileName(bool withExtension) const;

    const std::string& GetFallbackName() const { return m_fallbackName; }
    void SetFallbackName(std::string name) { m_fallbackName = std::move(name); }
    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    const std::string& GetLocation() const { return m_location; }
    void SetLocation(std::string location) { m_location = std::move(location); }
    // The strings file name exactly as stored.
    const std::string& GetStringsFile() const { return m_stringsFile; }
    void SetStringsFile(std::string name) { m_stringsFile = std::move(name); }
    const std::string& GetLastExportFolder() const { return m_lastExportFolder; }
    void SetLastExportFolder(std::string folder) { m_lastExportFolder = std::move(folder); }
    std::int32_t GetReserved() const { return m_reserved; }
    void SetReserved(std::int32_t value) { m_reserved = value; }

    bool operator==(const CProjectSettings& other) const;

private:
    std::string m_fallbackName;
    std::string m_name;
    std::string m_location;
    std::string m_stringsFile;
    std::string m_lastExportFolder;
    std::int32_t m_reserved = 0;
};
