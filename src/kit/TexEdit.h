// The single-line edit box for TeX values: light blue, and light yellow while
// its whole text is the abbreviation of one of the project's BibTeX strings.
// A double click offers the strings in "Select a string".
#pragma once

#include <QColor>
#include <QLineEdit>
#include <QPointer>

class CAbbrDlg;
class CBibTexStringTable;

class CTexEdit : public QLineEdit {
    Q_OBJECT
public:
    static QColor NormalColor() { return {237, 246, 255}; }
    static QColor MarkedColor() { return {255, 253, 156}; }

    // `strings` (the open document's, or null for none) must outlive the
    // box; `fieldName` names the field in the picker's caption.
    CTexEdit(QWidget* parent, const CBibTexStringTable* strings, const QString& fieldName = {});

    // Whether the whole text is a string's abbreviation.
    bool isMarked() const { return m_marked; }
    const QString& fieldName() const { return m_fieldName; }
    void setFieldName(const QString& name) { m_fieldName = name; }
    // The picker while it is open (for the tests).
    CAbbrDlg* picker() const;

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void UpdateMark();

    const CBibTexStringTable* m_strings;
    QString m_fieldName;
    bool m_marked = false;
    QPointer<CAbbrDlg> m_picker;
};
