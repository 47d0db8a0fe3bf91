// The field pages of the new-item wizard: one for the required and one for
// the optional fields of the entry type chosen on the first page. Each has
// eight rows of a label and a value box; the rows follow the entry type each
// time the page becomes active, and typed texts stay in their boxes.
#pragma once

#include <QWizardPage>

#include <array>
#include <span>
#include <string>
#include <utility>
#include <vector>

class CNewEntryPage1;
class IUserInterface;
class QLabel;
class QLineEdit;

class CNewEntryPage2 : public QWizardPage {
    Q_OBJECT
public:
    // The longest field list of the catalogue.
    static constexpr int kRowCount = 8;

    CNewEntryPage2(const CNewEntryPage1& first, bool required, IUserInterface& ui,
                   QWidget* parent = nullptr);

    bool IsRequiredPage() const { return m_required; }
    // The fields the page shows, in catalogue order.
    std::span<const int> GetFields() const;
    // (field, text) of every shown row, in row order.
    std::vector<std::pair<int, std::string>> GetValues() const;

    QLabel* GetLabel(int row) const { return m_labels.at(static_cast<std::size_t>(row)); }
    QLineEdit* GetValueEdit(int row) const { return m_edits.at(static_cast<std::size_t>(row)); }

    void initializePage() override;
    // Going back keeps what was typed.
    void cleanupPage() override {}
    // On the required page: asks about each empty row.
    bool validatePage() override;

private:
    const CNewEntryPage1& m_first;
    IUserInterface& m_ui;
    bool m_required;
    std::array<QLabel*, kRowCount> m_labels{};
    std::array<QLineEdit*, kRowCount> m_edits{};
};
