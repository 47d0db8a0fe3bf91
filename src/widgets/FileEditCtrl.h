// An edit box with a "..." browse button beside it. The button chooses a
// folder (CFolderDialog) or a file to save (CFECFileDialog); the choice
// replaces the text of the box.
#pragma once

#include "widgets/FECFileDialog.h"
#include "widgets/FolderDialog.h"

#include <QWidget>

class QLineEdit;
class QToolButton;

class CFileEditCtrl : public QWidget {
    Q_OBJECT
public:
    enum class Mode { Folder, SaveFile };

    // Starts as a folder chooser without a title.
    explicit CFileEditCtrl(QWidget* parent = nullptr);

    // The button chooses a folder, starting at the box's text.
    void SetFolderMode(const QString& title,
                       CFolderDialog::Options options = CFolderDialog::ShowEditField |
                                                        CFolderDialog::FileSystemOnly);
    // The button chooses a file to save. `filter` in the
    // "Description|patterns||" form, `defaultExtension` such as ".bib".
    void SetSaveFileMode(const QString& filter, const QString& defaultExtension,
                         const QString& title = {},
                         CFECFileDialog::Options options = CFECFileDialog::OverwritePrompt |
                                                           CFECFileDialog::PathMustExist |
                                                           CFECFileDialog::HideReadOnly);
    Mode GetMode() const { return m_mode; }

    QString GetText() const;
    void SetText(const QString& text);

    QLineEdit* GetEdit() const { return m_edit; }
    QToolButton* GetButton() const { return m_button; }

public Q_SLOTS:
    // Runs the chooser as the button does. True when the user confirmed a
    // choice (the box then holds it).
    bool Browse();

Q_SIGNALS:
    // The text of the box changed, by typing, SetText() or a browse.
    void TextChanged(const QString& text);
    // A browse was confirmed: the box now shows `chosen`; `previous` is the
    // text it had before, for callers that refuse the choice.
    void BrowseConfirmed(const QString& chosen, const QString& previous);

private:
    Mode m_mode = Mode::Folder;
    QString m_title;
    CFolderDialog::Options m_folderOptions;
    QString m_filter;
    QString m_defaultExtension;
    CFECFileDialog::Options m_fileOptions;
    QLineEdit* m_edit;
    QToolButton* m_button;
};
