// The About box: the program icon, the version line and the maker's details.
#pragma once

#include <QDialog>

class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // "Quorvane Version 0.9.0.6", from the numbers the program was built with.
    static QString VersionLine();
    QLabel* GetVersionLabel() const { return m_version; }

private:
    QLabel* m_version;
};
