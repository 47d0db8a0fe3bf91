#include "dialogs/NewEntryPage2.h"

#include "dialogs/DialogSupport.h"
#include "dialogs/NewEntryPage1.h"
#include "kit/QtText.h"
#include "kit/TexEdit.h"
#include "model/Catalogue.h"
#include "model/TextUtil.h"
#include "platform/UserInterface.h"
#include "project/QVNDoc.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWizard>

CNewEntryPage2::CNewEntryPage2(const CNewEntryPage1& first, bool required, IUserInterface& ui,
                               QWidget* parent)
    : QWizardPage(parent), m_first(first), m_ui(ui), m_required(required) {
    setObjectName(required ? QStringLiteral("requiredFieldsPage")
                           : QStringLiteral("optionalFieldsPage"));
    setTitle(required ? QStringLiteral("Required fields") : QStringLiteral("Optional fields"));
    setSubTitle(QStringLiteral("Enter the values for the BibTeX fields."));
    setPixmap(QWizard::LogoPixmap, qvn::WizardHeaderPixmap());

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    grid->setColumnStretch(1, 1);
    for (int row = 0; row < kRowCount; ++row) {
        QLineEdit* edit = qvn::CreateTexEdit(this);
        edit->setObjectName(QStringLiteral("value%1").arg(row));
        auto* label = new QLabel(this);
        label->setBuddy(edit);
        // As wide as the longest field name, so the boxes line up on every type.
        label->setMinimumWidth(
            label->fontMetrics().horizontalAdvance(QStringLiteral("organization")) + 8);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        m_labels[static_cast<std::size_t>(row)] = label;
        m_edits[static_cast<std::size_t>(row)] = edit;
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch(1);
}

std::span<const int> CNewEntryPage2::GetFields() const {
    const int type = m_first.GetEntryType();
    if (type < 0 || type >= kEntryTypeCount) {
        return {};
    }
    return m_required ? RequiredFields(type) : OptionalFields(type);
}

std::vector<std::pair<int, std::string>> CNewEntryPage2::GetValues() const {
    std::vector<std::pair<int, std::string>> values;
    const std::span<const int> fields = GetFields();
    for (std::size_t row = 0; row < fields.size() && row < m_edits.size(); ++row) {
        values.emplace_back(fields[row], qvn::FromQString(m_edits[row]->text()));
    }
    return values;
}

void CNewEntryPage2::initializePage() {
    const std::span<const int> fields = GetFields();
    for (std::size_t row = 0; row < m_edits.size(); ++row) {
        const bool shown = row < fields.size();
        if (shown) {
            m_labels[row]->setText(qvn::CatalogueText(FieldName(fields[row])));
            if (auto* tex = qobject_cast<CTexEdit*>(m_edits[row])) {
                tex->setFieldName(qvn::CatalogueText(FieldName(fields[row])));
            }
        }
        m_labels[row]->setVisible(shown);
        m_edits[row]->setVisible(shown);
    }
    if (!fields.empty()) {
        m_edits[0]->setFocus();
    }
}

bool CNewEntryPage2::validatePage() {
    const std::span<const int> fields = GetFields();
    for (std::size_t row = 0; row < fields.size() && row < m_edits.size(); ++row) {
        if (!m_first.GetDocument().AcceptTypedValue(FieldName(fields[row]),
                                                    qvn::FromQString(m_edits[row]->text()))) {
            m_edits[row]->setFocus();
            m_edits[row]->selectAll();
            return false;
        }
    }
    if (!m_required) {
        return true;
    }
    for (std::size_t row = 0; row < fields.size() && row < m_edits.size(); ++row) {
        QLineEdit* edit = m_edits[row];
        if (!edit->text().isEmpty()) {
            continue;
        }
        const std::string text = qvn::Format(
            "There is no value defined for the required\nfield '%s'. Do you want to continue "
            "anyway?",
            std::string(FieldName(fields[row])).c_str());
        if (m_ui.MessageBox(text, "Required field", MsgIcon::Warning, MsgButtons::YesNo) !=
            MsgResult::Yes) {
            edit->setFocus();
            edit->selectAll();
            return false;
        }
    }
    return true;
}
