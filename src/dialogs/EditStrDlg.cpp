#include "dialogs/EditStrDlg.h"

#include "dialogs/DialogHeader.h"
#include "dialogs/DialogSupport.h"
#include "kit/QtText.h"
#include "project/QVNDoc.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CEditStrDlg::CEditStrDlg(CQVNDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc),
      m_header(
          new CDialogHeader(QStringLiteral("Define a new BibTeX string"),
                            QStringLiteral("Use this dialog to create a new string definition."),
                            QStringLiteral(":/icons/new_string.svg"), this)),
      m_abbreviation(new QLineEdit(this)), m_value(qvn::CreateTexEdit(this)) {
    setObjectName(QStringLiteral("stringEditor"));
    setWindowTitle(QStringLiteral("String editor"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/new_string.svg")));
    m_abbreviation->setObjectName(QStringLiteral("abbreviation"));
    m_value->setObjectName(QStringLiteral("fullString"));

    QDialogButtonBox* buttons = qvn::CreateButtonBox(this, QDialogButtonBox::Help);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_help = buttons->button(QDialogButtonBox::Help);
    qvn::ConnectHelp(buttons, this, QStringLiteral("strings.htm"));
    connect(m_abbreviation, &QLineEdit::textChanged, this, &CEditStrDlg::UpdateOk);
    connect(m_value, &QLineEdit::textChanged, this, &CEditStrDlg::UpdateOk);

    QVBoxLayout* body = qvn::CreateHeaderLayout(this, m_header);
    body->setSpacing(6);
    body->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("&Abbreviation (insert the abbreviated form of a string, e.g. a short form "
                       "for the name of a journal):"),
        this, m_abbreviation));
    body->addWidget(m_abbreviation);
    body->addSpacing(10);
    body->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("&String (insert the string which is represented by the abbreviation):"),
        this, m_value));
    body->addWidget(m_value);
    body->addSpacing(12);
    body->addStretch(1);
    body->addWidget(buttons);
    setMinimumWidth(460);
    resize(500, sizeHint().height());
    UpdateOk();
    m_abbreviation->setFocus();
}

void CEditStrDlg::UpdateOk() {
    m_ok->setEnabled(CQVNDoc::IsStringEditorComplete(qvn::FromQString(m_abbreviation->text()),
                                                     qvn::FromQString(m_value->text())));
}

void CEditStrDlg::accept() {
    const std::string abbreviation = qvn::FromQString(m_abbreviation->text());
    const std::string value = qvn::FromQString(m_value->text());
    if (!CQVNDoc::IsStringEditorComplete(abbreviation, value)) {
        return;
    }
    switch (m_doc.EditStringOk(abbreviation, value)) {
    case EditStringResult::Stored:
        QDialog::accept();
        break;
    case EditStringResult::IllegalAbbreviation:
        m_abbreviation->setFocus();
        m_abbreviation->selectAll();
        break;
    case EditStringResult::Declined:
        break;
    }
}
