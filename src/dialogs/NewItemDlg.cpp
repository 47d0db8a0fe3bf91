#include "dialogs/NewItemDlg.h"

#include "app/QtText.h"
#include "model/BibTexEntry.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "platform/UserInterface.h"
#include "project/QVNDoc.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

QString Latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void ClearForm(QFormLayout* form) {
    while (form->rowCount() > 0) {
        QFormLayout::TakeRowResult row = form->takeRow(0);
        if (row.labelItem != nullptr) {
            delete row.labelItem->widget();
            delete row.labelItem;
        }
        if (row.fieldItem != nullptr) {
            if (QWidget* w = row.fieldItem->widget()) {
                w->hide();
            }
            delete row.fieldItem;
        }
    }
}

} // namespace

CNewItemDlg::CNewItemDlg(CQVNDoc& doc, IUserInterface& ui, const std::string& preselectedFile,
                         QWidget* parent)
    : QDialog(parent), m_doc(doc), m_ui(ui), m_key(new QLineEdit(this)),
      m_type(new QComboBox(this)), m_typeDescription(new QLabel(this)), m_file(new QComboBox(this)),
      m_required(new QFormLayout), m_optional(new QFormLayout) {
    setObjectName(QStringLiteral("newItemDialog"));
    setWindowTitle(QStringLiteral("BibTeX Wizard"));
    for (int type = 0; type < kOfferedTypes; ++type) {
        m_type->addItem(Latin1(EntryTypeName(type)));
    }
    m_file->setEditable(true);
    m_file->setInsertPolicy(QComboBox::NoInsert);
    int preselected = -1;
    for (const auto& [name, items] : doc.GetItems().Files()) {
        if (name == preselectedFile) {
            preselected = m_file->count();
        }
        m_file->addItem(qvn::ToQString(name));
    }
    m_file->setCurrentIndex(preselected);
    if (preselected < 0) {
        m_file->setEditText(QString());
    }
    m_typeDescription->setWordWrap(true);
    for (int field = 0; field < kFieldCount; ++field) {
        m_values[static_cast<std::size_t>(field)] = new QLineEdit(this);
        m_values[static_cast<std::size_t>(field)]->hide();
    }

    auto* top = new QFormLayout;
    top->addRow(QStringLiteral("&Key:"), m_key);
    top->addRow(QStringLiteral("&Type:"), m_type);
    top->addRow(QString(), m_typeDescription);
    top->addRow(QStringLiteral("&File:"), m_file);
    auto* keyHint =
        new QLabel(QStringLiteral("This key will be used with the \\cite command in LaTeX."), this);
    top->insertRow(1, QString(), keyHint);

    auto* fields = new QWidget;
    auto* fieldsLayout = new QVBoxLayout(fields);
    auto* requiredGroup = new QGroupBox(QStringLiteral("Required fields"), fields);
    requiredGroup->setLayout(m_required);
    auto* optionalGroup = new QGroupBox(QStringLiteral("Optional fields"), fields);
    optionalGroup->setLayout(m_optional);
    fieldsLayout->addWidget(requiredGroup);
    fieldsLayout->addWidget(optionalGroup);
    fieldsLayout->addStretch(1);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(fields);
    scroll->setFrameShape(QFrame::NoFrame);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_type, &QComboBox::currentIndexChanged, this, &CNewItemDlg::ShowFieldsOfType);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
    resize(560, 600);
    ShowFieldsOfType();
    m_key->setFocus();
}

QLineEdit* CNewItemDlg::GetFieldEdit(int field) const {
    if (field < 0 || field >= kFieldCount) {
        return nullptr;
    }
    QLineEdit* edit = m_values[static_cast<std::size_t>(field)];
    return edit->isHidden() ? nullptr : edit;
}

void CNewItemDlg::ShowFieldsOfType() {
    const int type = m_type->currentIndex();
    m_typeDescription->setText(Latin1(EntryTypeDescription(type)));
    ClearForm(m_required);
    ClearForm(m_optional);
    for (int field : RequiredFields(type)) {
        QLineEdit* edit = m_values[static_cast<std::size_t>(field)];
        m_required->addRow(Latin1(FieldName(field)), edit);
        edit->show();
    }
    for (int field : OptionalFields(type)) {
        QLineEdit* edit = m_values[static_cast<std::size_t>(field)];
        m_optional->addRow(Latin1(FieldName(field)), edit);
        edit->show();
    }
}

bool CNewItemDlg::CheckFirstPage() {
    const std::string key = qvn::FromQString(m_key->text());
    const std::string file = qvn::FromQString(m_file->currentText());
    auto refuseKey = [this](const std::string& text, const char* caption) {
        m_ui.MessageBox(text, caption, MsgIcon::Error, MsgButtons::Ok);
        m_key->setFocus();
        m_key->selectAll();
        return false;
    };
    if (qvn::ContainsAnyOf(key, kForbiddenKeyChars)) {
        return refuseKey(
            "Please do not use one of the folling characters in\nthe reference's name: " +
                std::string(kForbiddenKeyChars),
            "Illegal name");
    }
    if (qvn::ContainsAnyOf(file, kForbiddenFileNameChars)) {
        m_ui.MessageBox("Please do not use one of the following characters in\nthe file name: " +
                            std::string(kForbiddenFileNameChars),
                        "Illegal filename", MsgIcon::Error, MsgButtons::Ok);
        m_file->setFocus();
        return false;
    }
    std::string holder;
    if (!key.empty() && m_doc.FindItem(key, holder) != nullptr) {
        return refuseKey(qvn::Format("There is already an entry with name '%s'\ndefined in file "
                                     "'%s'. Please select another name.",
                                     key.c_str(), holder.c_str()),
                         "Duplicate name");
    }
    if (key.empty()) {
        return refuseKey("Define a name for this BibTex item.", "No name specified");
    }
    if (file.empty()) {
        m_ui.MessageBox("Select an existing file or create a new file for this BibTex item.",
                        "No file specified", MsgIcon::Error, MsgButtons::Ok);
        m_file->setFocus();
        return false;
    }
    return true;
}

bool CNewItemDlg::CheckRequiredFields() {
    for (int field : RequiredFields(m_type->currentIndex())) {
        QLineEdit* edit = m_values[static_cast<std::size_t>(field)];
        if (!edit->text().isEmpty()) {
            continue;
        }
        const std::string text = qvn::Format(
            "There is no value defined for the required\nfield '%s'. Do you want to continue "
            "anyway?",
            std::string(FieldName(field)).c_str());
        if (m_ui.MessageBox(text, "Required field", MsgIcon::Warning, MsgButtons::YesNo) !=
            MsgResult::Yes) {
            edit->setFocus();
            return false;
        }
    }
    return true;
}

void CNewItemDlg::accept() {
    if (!CheckFirstPage() || !CheckRequiredFields()) {
        return;
    }
    const int type = m_type->currentIndex();
    auto item = std::make_unique<CBibTexEntry>(qvn::FromQString(m_file->currentText()),
                                               qvn::FromQString(m_key->text()), type);
    for (auto list : {RequiredFields(type), OptionalFields(type)}) {
        for (int field : list) {
            item->SetField(
                field, qvn::FromQString(m_values[static_cast<std::size_t>(field)]->text()), false);
        }
    }
    // A refused item is reported by nothing, as with the wizard.
    m_doc.AddItem(std::move(item));
    QDialog::accept();
}
