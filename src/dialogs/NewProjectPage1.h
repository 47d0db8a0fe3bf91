// First page of the new-project wizard: the project's name.
#pragma once

#include <QWizardPage>

class IUserInterface;
class QLineEdit;

class CNewProjectPage1 : public QWizardPage {
    Q_OBJECT
public:
    static constexpr const char* kDefaultName = "My Quorvane Project";

    explicit CNewProjectPage1(IUserInterface& ui, QWidget* parent = nullptr);

    QLineEdit* GetNameEdit() const { return m_name; }

    void initializePage() override;
    // Refuses an empty name.
    bool validatePage() override;

private:
    IUserInterface& m_ui;
    QLineEdit* m_name;
};
