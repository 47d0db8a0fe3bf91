#include "dialogs/EditStrDlg.h"

#include "app/QtText.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "platform/UserInterface.h"
#include "project/QVNDoc.h"

#include <QDialogButtonBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CEditStrDlg::CEditStrDlg(CQVNDoc& doc, IUserInterface& ui, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_ui(ui), m_abbreviation(new QLineEdit(this)),
      m_value(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("stringEditor"));
    setWindowTitle(QStringLiteral("String editor"));

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/new_string.svg")).pixmap(QSize(32, 32)));
    auto* title = new QLabel(QStringLiteral("<b>Define a new BibTeX string</b><br>"
                                            "Use this dialog to create a new string definition."),
                             this);
    auto* header = new QHBoxLayout;
    header->addWidget(icon);
    header->addWidget(title, 1);

    auto* abbreviationLabel = new QLabel(
        QStringLiteral("&Abbreviation (insert the abbreviated form of a string, e.g. a short form "
                       "for the name of a journal):"),
        this);
    abbreviationLabel->setWordWrap(true);
    abbreviationLabel->setBuddy(m_abbreviation);
    auto* valueLabel = new QLabel(
        QStringLiteral("&String (insert the string which is represented by the abbreviation):"),
        this);
    valueLabel->setWordWrap(true);
    valueLabel->setBuddy(m_value);
    m_value->setTabChangesFocus(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_abbreviation, &QLineEdit::textChanged, this, &CEditStrDlg::UpdateOk);
    connect(m_value, &QPlainTextEdit::textChanged, this, &CEditStrDlg::UpdateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(header);
    layout->addSpacing(8);
    layout->addWidget(abbreviationLabel);
    layout->addWidget(m_abbreviation);
    layout->addWidget(valueLabel);
    layout->addWidget(m_value, 1);
    layout->addWidget(buttons);
    resize(480, 320);
    UpdateOk();
    m_abbreviation->setFocus();
}

void CEditStrDlg::UpdateOk() {
    m_ok->setEnabled(!m_abbreviation->text().isEmpty() && !m_value->toPlainText().isEmpty());
}

void CEditStrDlg::accept() {
    const std::string abbreviation = qvn::FromQString(m_abbreviation->text());
    const std::string value = qvn::FromQString(m_value->toPlainText());
    if (abbreviation.empty() || value.empty()) {
        return;
    }
    if (CTexObject::ContainsTexSpecial(abbreviation)) {
        m_ui.MessageBox("Invalid string format (use of illegal characters).",
                        "Illegal abbreviation name", MsgIcon::Warning, MsgButtons::Ok);
        m_abbreviation->setFocus();
        return;
    }
    std::string existing;
    if (m_doc.LookupString(abbreviation, existing)) {
        const std::string text = qvn::Format(
            "There is already an abbreviation '%s' in the list\nof strings. It's value is \n  "
            "'%s'.\n\nDo you want to overwrite it?",
            abbreviation.c_str(), existing.c_str());
        if (m_ui.MessageBox(text, "Duplicate name", MsgIcon::Warning, MsgButtons::YesNo) !=
            MsgResult::Yes) {
            return;
        }
    }
    m_doc.AddString(abbreviation, value, true);
    QDialog::accept();
}
