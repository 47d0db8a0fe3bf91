#include "kit/TexEdit.h"

#include "kit/AbbrDlg.h"
#include "kit/QtText.h"
#include "model/BibTexStringTable.h"

#include <QMouseEvent>

CTexEdit::CTexEdit(QWidget* parent, const CBibTexStringTable* strings, const QString& fieldName)
    : QLineEdit(parent), m_strings(strings), m_fieldName(fieldName) {
    // setText() does not emit textEdited, so textChanged it is: a value put
    // in by the program is marked as one typed by the user.
    connect(this, &QLineEdit::textChanged, this, &CTexEdit::UpdateMark);
    // The colours are set once, so that the box is painted blue from the
    // start; UpdateMark only changes them when the state flips.
    m_marked = true;
    UpdateMark();
}

CAbbrDlg* CTexEdit::picker() const {
    return m_picker;
}

void CTexEdit::UpdateMark() {
    const QString current = text();
    const bool marked = m_strings != nullptr && !current.isEmpty() &&
                        m_strings->HasString(qvn::FromQString(current));
    if (marked == m_marked) {
        return;
    }
    m_marked = marked;
    QPalette colours = palette();
    colours.setColor(QPalette::Base, marked ? MarkedColor() : NormalColor());
    colours.setColor(QPalette::Text, Qt::black);
    setPalette(colours);
}

void CTexEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    if (m_strings == nullptr || event->button() != Qt::LeftButton || m_picker != nullptr) {
        QLineEdit::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    auto* picker = new CAbbrDlg(*m_strings, m_fieldName, text(), this);
    m_picker = picker;
    const QPointer<CTexEdit> self(this);
    const bool chosen = picker->exec() == QDialog::Accepted;
    // The box (and the picker with it) may have been taken down meanwhile.
    if (!self) {
        return;
    }
    const QString abbreviation = picker->GetAbbreviation();
    delete picker;
    if (chosen && !abbreviation.isEmpty()) {
        setText(abbreviation);
    }
    setFocus(Qt::OtherFocusReason);
}
