// What the main window shows while no project is open: the first steps of a
// new user (a new project, opening a project) and the recently used files.
// Each is a button reached with Tab and pressed with Enter or Space; it asks
// for the command of the same name, which the window carries out.
#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

class QAbstractButton;
class QLabel;
class QVBoxLayout;

class CStartPage : public QWidget {
    Q_OBJECT
public:
    explicit CStartPage(QWidget* parent = nullptr);

    // One button per path, newest first; the heading goes with the last one.
    void SetRecentFiles(const QStringList& paths);
    // The buttons in Tab order: new, open, then the recent files.
    std::vector<QAbstractButton*> GetButtons() const;
    // Puts the keyboard focus on the first button.
    void FocusFirst();

Q_SIGNALS:
    void commandRequested(int id);

private:
    QAbstractButton* AddButton(QVBoxLayout* layout, const QString& text, const QString& description,
                               int id);

    QAbstractButton* m_new;
    QAbstractButton* m_open;
    QLabel* m_recentHeading;
    QVBoxLayout* m_recentLayout;
    std::vector<QAbstractButton*> m_recent;
};
