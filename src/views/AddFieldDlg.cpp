#include "views/AddFieldDlg.h"

#include "kit/QtText.h"
#include "kit/TexEdit.h"
#include "model/TexObject.h"
#include "project/QVNDoc.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CAddFieldDlg::CAddFieldDlg(CQVNDoc& doc, CBibTexEntry& item, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_item(item), m_name(new QLineEdit(this)),
      m_value(new CTexEdit(this, CTexObject::ActiveStringTable(), {})) {
    setObjectName(QStringLiteral("addFieldDialog"));
    setWindowTitle(QStringLiteral("Add a field"));
    m_name->setObjectName(QStringLiteral("fieldName"));
    m_value->setObjectName(QStringLiteral("fieldValue"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAddFieldDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAddFieldDlg::reject);
    connect(m_name, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_ok->setEnabled(!text.trimmed().isEmpty()); });

    auto* layout = new QVBoxLayout(this);
    auto* hint = new QLabel(
        QStringLiteral("A field of the catalogue goes to its place among the item's fields; any "
                       "other field (such as doi or urldate) is listed under Other fields."),
        this);
    hint->setWordWrap(true);
    layout->addWidget(hint);
    auto* form = new QFormLayout;
    form->addRow(new QLabel(QStringLiteral("&Name:"), this), m_name);
    form->addRow(new QLabel(QStringLiteral("&Value:"), this), m_value);
    for (int row = 0; row < form->rowCount(); ++row) {
        if (auto* label =
                qobject_cast<QLabel*>(form->itemAt(row, QFormLayout::LabelRole)->widget())) {
            label->setBuddy(form->itemAt(row, QFormLayout::FieldRole)->widget());
        }
    }
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    m_ok->setEnabled(false);
    m_name->setFocus();
}

QString CAddFieldDlg::GetFieldName() const {
    return m_name->text().trimmed();
}

void CAddFieldDlg::accept() {
    const std::string name = qvn::FromQString(GetFieldName());
    const CQVNDoc::AddFieldResult result =
        m_doc.AddItemField(m_item, name, qvn::FromQString(m_value->text()));
    if (result == CQVNDoc::AddFieldResult::Added) {
        QDialog::accept();
        return;
    }
    const auto [text, caption] = CQVNDoc::AddFieldMessage(result, name);
    if (IUserInterface* ui = m_doc.GetUserInterface()) {
        ui->MessageBox(text, caption, MsgIcon::Warning, MsgButtons::Ok);
    }
    m_name->setFocus();
    m_name->selectAll();
}
