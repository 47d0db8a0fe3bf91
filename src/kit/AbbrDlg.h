// "Select a string": picks one of the project's BibTeX strings, for the
// field a TeX edit box or the property window edits. Shown modally from the
// edit box and modeless from the property window's "..." button.
#pragma once

#include <QDialog>
#include <QString>

class CBibTexStringTable;
class CStringPickModel;
class QLabel;
class QModelIndex;
class QPushButton;
class QTreeView;

class CAbbrDlg : public QDialog {
    Q_OBJECT
public:
    // `currentText` preselects the string of that abbreviation, if any.
    CAbbrDlg(const CBibTexStringTable& strings, const QString& fieldName,
             const QString& currentText, QWidget* parent = nullptr);

    // The abbreviation chosen with OK; empty before OK, after Cancel, or
    // when no row was selected.
    const QString& GetAbbreviation() const { return m_abbreviation; }

    QLabel* GetCaptionLabel() const { return m_caption; }
    QTreeView* GetListView() const { return m_list; }
    QPushButton* GetOkButton() const { return m_ok; }
    CStringPickModel* GetModel() const { return m_model; }

    void accept() override;

private:
    int SelectedRow() const;
    void UpdateOk();
    void OnActivated(const QModelIndex& index);

    CStringPickModel* m_model;
    QLabel* m_caption;
    QTreeView* m_list;
    QPushButton* m_ok;
    QString m_abbreviation;
};
