// The "Saving" tab of the appearance dialog: whether each save keeps the
// previous project file as a backup.
#pragma once

#include <QWidget>

class CQVNDoc;
class CQVNSettings;
class QCheckBox;

class CAppearanceSavingPP : public QWidget {
    Q_OBJECT
public:
    CAppearanceSavingPP(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent = nullptr);

    // Writes the setting and hands it to the document.
    void OnOK();

    QCheckBox* GetKeepBackupBox() const { return m_keepBackup; }

Q_SIGNALS:
    void Changed();

private:
    CQVNDoc& m_doc;
    CQVNSettings& m_settings;
    QCheckBox* m_keepBackup;
};
