#include "dialogs/ReplaceDlg.h"

#include "dialogs/DialogSupport.h"
#include "kit/QtText.h"
#include "model/Catalogue.h"
#include "project/QVNDoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CReplaceDlg::CReplaceDlg(QWidget* parent, const QStringList& otherFields)
    : QDialog(parent), m_field(new QComboBox(this)), m_find(new QLineEdit(this)),
      m_replace(new QLineEdit(this)),
      m_wholeWord(new QCheckBox(QStringLiteral("Match &whole word only"), this)),
      m_matchCase(new QCheckBox(QStringLiteral("Match &case"), this)) {
    setObjectName(QStringLiteral("replaceDialog"));
    setWindowTitle(QStringLiteral("Replace"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/replace.svg")));
    m_field->setObjectName(QStringLiteral("field"));
    m_find->setObjectName(QStringLiteral("find"));
    m_replace->setObjectName(QStringLiteral("replace"));
    for (int field = 0; field < kFieldCount; ++field) {
        m_field->addItem(qvn::CatalogueText(FieldName(field)));
    }
    m_field->addItems(otherFields);
    m_field->setMaxVisibleItems(16);
    m_field->setPlaceholderText(QStringLiteral("Select a field"));
    m_field->setCurrentIndex(-1);
    // Whole-word matching is not offered.
    m_wholeWord->setChecked(false);
    m_wholeWord->setEnabled(false);

    auto* group = new QGroupBox(QStringLiteral(" Replace "), this);
    auto* form = new QFormLayout(group);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setVerticalSpacing(8);
    form->addRow(new QLabel(QStringLiteral("In &BibTeX field:"), group), m_field);
    form->addRow(new QLabel(QStringLiteral("Fi&nd what:"), group), m_find);
    form->addRow(new QLabel(QStringLiteral("Re&place with:"), group), m_replace);
    for (int row = 0; row < form->rowCount(); ++row) {
        auto* label = qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget());
        label->setBuddy(form->itemAt(row, QFormLayout::FieldRole)->widget());
    }
    auto* checks = new QVBoxLayout;
    checks->setSpacing(4);
    checks->addWidget(m_wholeWord);
    checks->addWidget(m_matchCase);
    form->addRow(QString(), checks);

    QDialogButtonBox* buttons = qvn::CreateButtonBox(this, QDialogButtonBox::Help);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_help = buttons->button(QDialogButtonBox::Help);
    qvn::ConnectHelp(buttons, this, QStringLiteral("strings.htm"));
    connect(m_find, &QLineEdit::textChanged, this, &CReplaceDlg::UpdateOk);
    connect(m_replace, &QLineEdit::textChanged, this, &CReplaceDlg::UpdateOk);
    connect(m_field, &QComboBox::currentIndexChanged, this, &CReplaceDlg::UpdateOk);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(12);
    layout->addWidget(group);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    resize(440, sizeHint().height());
    UpdateOk();
    m_field->setFocus();
}

void CReplaceDlg::UpdateOk() {
    const ReplaceRequest request = GetRequest();
    m_ok->setEnabled(
        CQVNDoc::IsReplaceRequestComplete(request.field, request.find, request.replace));
}

ReplaceRequest CReplaceDlg::GetRequest() const {
    const int index = m_field->currentIndex();
    const CFieldRef field = index < kFieldCount
                                ? CFieldRef(index)
                                : CFieldRef::FromName(qvn::FromQString(m_field->currentText()));
    return {field, qvn::FromQString(m_find->text()), qvn::FromQString(m_replace->text()),
            m_matchCase->isChecked()};
}

void CReplaceDlg::accept() {
    if (m_ok->isEnabled()) {
        QDialog::accept();
    }
}
