#include "dialogs/NewEntryPage1.h"

#include "dialogs/DialogSupport.h"
#include "kit/QtText.h"
#include "model/Catalogue.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "platform/UserInterface.h"
#include "project/QVNDoc.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWizard>

CNewEntryPage1::CNewEntryPage1(CQVNDoc& doc, IUserInterface& ui, const std::string& preselectedFile,
                               QWidget* parent)
    : QWizardPage(parent), m_doc(doc), m_ui(ui), m_key(qvn::CreateTexEdit(this)),
      m_type(new QComboBox(this)), m_description(new QLabel(this)), m_file(new QComboBox(this)) {
    setObjectName(QStringLiteral("newEntryPage1"));
    setPixmap(QWizard::WatermarkPixmap, qvn::WizardSidePixmap());
    m_key->setObjectName(QStringLiteral("keyEdit"));
    m_type->setObjectName(QStringLiteral("typeBox"));
    m_description->setObjectName(QStringLiteral("typeDescription"));
    m_file->setObjectName(QStringLiteral("fileBox"));

    for (int type = 0; type < kOfferedTypes; ++type) {
        m_type->addItem(qvn::CatalogueText(EntryTypeName(type)));
    }
    m_type->setCurrentIndex(0);
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(m_description->fontMetrics().lineSpacing() * 2);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    qvn::MakeSecondaryText(m_description);
    const auto describe = [this](int type) {
        m_description->setText(type >= 0 ? qvn::CatalogueText(EntryTypeDescription(type))
                                         : QString());
    };
    connect(m_type, &QComboBox::currentIndexChanged, this, describe);
    describe(m_type->currentIndex());

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

    auto* intro = qvn::CreateWrappedLabel(
        QStringLiteral("This Wizard will guide you through the process of creating a new BibTeX "
                       "item."),
        this);
    QFont bold = intro->font();
    bold.setBold(true);
    intro->setFont(bold);
    auto* keyLabel = qvn::CreateWrappedLabel(
        QStringLiteral("Insert a unique key for the new BibTeX item:"), this, m_key);
    auto* keyHint = qvn::CreateWrappedLabel(
        QStringLiteral("This key will be used with the \\cite command in LaTeX."), this);
    qvn::MakeSecondaryText(keyHint);
    auto* typeLabel = qvn::CreateWrappedLabel(
        QStringLiteral("Select the &type of document for the new item:"), this, m_type);
    auto* fileLabel = qvn::CreateWrappedLabel(
        QStringLiteral("Select the &file to which the new BibTeX item should be added (you can "
                       "select an existing or define a new file):"),
        this, m_file);

    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(6);
    layout->addWidget(intro);
    layout->addSpacing(12);
    layout->addWidget(keyLabel);
    layout->addWidget(m_key);
    layout->addWidget(keyHint);
    layout->addSpacing(12);
    layout->addWidget(typeLabel);
    layout->addWidget(m_type);
    layout->addWidget(m_description);
    layout->addSpacing(12);
    layout->addWidget(fileLabel);
    layout->addWidget(m_file);
    layout->addStretch(1);
}

std::string CNewEntryPage1::GetKey() const {
    return qvn::FromQString(m_key->text());
}

int CNewEntryPage1::GetEntryType() const {
    return m_type->currentIndex();
}

std::string CNewEntryPage1::GetFileName() const {
    return qvn::FromQString(m_file->currentText());
}

void CNewEntryPage1::initializePage() {
    m_key->setFocus();
}

bool CNewEntryPage1::RefuseKey(const std::string& text, const char* caption) {
    m_ui.MessageBox(text, caption, MsgIcon::Error, MsgButtons::Ok);
    m_key->setFocus();
    m_key->selectAll();
    return false;
}

bool CNewEntryPage1::RefuseFile(const std::string& text, const char* caption) {
    m_ui.MessageBox(text, caption, MsgIcon::Error, MsgButtons::Ok);
    m_file->setFocus();
    return false;
}

bool CNewEntryPage1::validatePage() {
    const std::string key = GetKey();
    const std::string file = GetFileName();
    const KeyCheck check = m_doc.CheckItemKey(key);
    if (check.problem == KeyProblem::Illegal) {
        return RefuseKey(IllegalKeyMessage(), ruletext::kIllegalKeyCaption);
    }
    if (!IsLegalBibTexFileName(file)) {
        return RefuseFile("Please do not use one of the following characters in\nthe file name: " +
                              std::string(kForbiddenFileNameChars),
                          "Illegal filename");
    }
    if (check.problem == KeyProblem::Duplicate) {
        return RefuseKey(
            qvn::Format(ruletext::kDuplicateEntry, key.c_str(), check.holderFile.c_str()),
            ruletext::kDuplicateEntryCaption);
    }
    if (check.problem == KeyProblem::Empty) {
        return RefuseKey(ruletext::kNoKey, ruletext::kNoKeyCaption);
    }
    if (file.empty()) {
        return RefuseFile("Select an existing file or create a new file for this BibTex item.",
                          "No file specified");
    }
    return true;
}
