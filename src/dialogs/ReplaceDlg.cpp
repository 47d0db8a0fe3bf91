#include "dialogs/ReplaceDlg.h"

#include "app/QtText.h"
#include "model/Catalogue.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CReplaceDlg::CReplaceDlg(QWidget* parent)
    : QDialog(parent), m_field(new QComboBox(this)), m_find(new QLineEdit(this)),
      m_replace(new QLineEdit(this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)) {
    setObjectName(QStringLiteral("replaceDialog"));
    setWindowTitle(QStringLiteral("Replace"));
    for (int field = 0; field < kFieldCount; ++field) {
        const std::string_view name = FieldName(field);
        m_field->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_field->setCurrentIndex(-1);
    // Whole-word matching is not offered.
    m_wholeWord->setEnabled(false);

    auto* group = new QGroupBox(QStringLiteral(" Replace "), this);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("In &BibTeX field:"), m_field);
    form->addRow(QStringLiteral("Fi&nd what:"), m_find);
    form->addRow(QStringLiteral("Re&place with:"), m_replace);
    form->addRow(m_wholeWord);
    form->addRow(m_matchCase);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_find, &QLineEdit::textChanged, this, &CReplaceDlg::UpdateOk);
    connect(m_replace, &QLineEdit::textChanged, this, &CReplaceDlg::UpdateOk);
    connect(m_field, &QComboBox::currentIndexChanged, this, &CReplaceDlg::UpdateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    UpdateOk();
}

void CReplaceDlg::UpdateOk() {
    const QString find = m_find->text();
    const QString replace = m_replace->text();
    m_ok->setEnabled(!find.isEmpty() && !replace.isEmpty() && find != replace &&
                     m_field->currentIndex() >= 0);
}

ReplaceRequest CReplaceDlg::GetRequest() const {
    return {m_field->currentIndex(), qvn::FromQString(m_find->text()),
            qvn::FromQString(m_replace->text()), m_matchCase->isChecked()};
}
