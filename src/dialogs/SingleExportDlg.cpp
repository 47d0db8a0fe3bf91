#include "dialogs/SingleExportDlg.h"

#include "dialogs/DialogHeader.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/WrappingCheckBox.h"
#include "kit/QtText.h"
#include "kit/StringPickModel.h"
#include "project/QVNDoc.h"
#include "widgets/FileEditCtrl.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

std::vector<UsedString> CollectWithBusyCursor(const CQVNDoc& doc, const std::string& fileName) {
    CBusyCursor busy(doc.GetUserInterface());
    return doc.CollectUsedStrings(fileName);
}

} // namespace

CSingleExportDlg::CSingleExportDlg(CQVNDoc& doc, const std::string& fileName, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_fileName(fileName),
      m_header(new CDialogHeader(
          QStringLiteral("Save a single BibTeX file as..."),
          QStringLiteral("Use this dialog to save a single BibTeX file with a user-defined "
                         "filename to an arbitrary location."),
          QStringLiteral(":/icons/save.svg"), this)),
      m_name(new QLineEdit(qvn::ToQString(fileName), this)), m_target(new CFileEditCtrl(this)),
      m_comments(new CWrappingCheckBox(
          QStringLiteral("Add some Quorvane specific &comments to the BibTeX files."), this)),
      m_addStrings(new CWrappingCheckBox(
          QStringLiteral("&Add all BibTeX strings used in the BibTeX items of the file selected "
                         "above. These strings are listed below:"),
          this)),
      m_model(new CStringPickModel(CollectWithBusyCursor(doc, fileName), this)),
      m_list(new QTableView(this)) {
    setObjectName(QStringLiteral("singleExportDialog"));
    setWindowTitle(QStringLiteral("Save BibTeX file as..."));
    setWindowIcon(QIcon(QStringLiteral(":/icons/save.svg")));

    m_name->setObjectName(QStringLiteral("fileName"));
    m_name->setReadOnly(true);
    m_name->setAlignment(Qt::AlignCenter);
    m_name->setFocusPolicy(Qt::NoFocus);
    QFont bold = m_name->font();
    bold.setBold(true);
    m_name->setFont(bold);
    m_target->setObjectName(QStringLiteral("target"));
    m_target->SetSaveFileMode(QStringLiteral("BibTeX files (*.bib)|*.bib||"),
                              QStringLiteral(".bib"));
    m_target->SetText(qvn::ToQString(doc.GetSingleExportPath(fileName)));
    m_comments->setObjectName(QStringLiteral("comments"));
    m_addStrings->setObjectName(QStringLiteral("addStrings"));
    m_list->setObjectName(QStringLiteral("stringsList"));
    m_list->setModel(m_model);
    qvn::SetupReportView(m_list);
    m_list->setColumnWidth(CStringPickModel::StringColumn, 100);
    m_list->setColumnWidth(CStringPickModel::ValueColumn, 200);
    m_list->setMinimumHeight(120);
    m_list->setEnabled(false);
    connect(m_addStrings->GetCheckBox(), &QCheckBox::toggled, m_list, &QWidget::setEnabled);

    auto* nameGroup =
        new QGroupBox(QStringLiteral(" (1.) Select the name and the destination path "), this);
    auto* nameLayout = new QVBoxLayout(nameGroup);
    nameLayout->setSpacing(6);
    nameLayout->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("In your Quorvane project the name of the BibTeX file to be saved is:"),
        nameGroup));
    nameLayout->addWidget(m_name);
    nameLayout->addSpacing(6);
    nameLayout->addWidget(
        qvn::CreateWrappedLabel(QStringLiteral("&Save this file as:"), nameGroup, m_target));
    nameLayout->addWidget(m_target);

    auto* optionsGroup = new QGroupBox(QStringLiteral(" (2.) Set the saving options "), this);
    auto* optionsLayout = new QVBoxLayout(optionsGroup);
    optionsLayout->setSpacing(8);
    optionsLayout->addWidget(m_comments);
    optionsLayout->addWidget(m_addStrings);
    optionsLayout->addWidget(m_list, 1);

    QDialogButtonBox* buttons = qvn::CreateButtonBox(this);
    QVBoxLayout* body = qvn::CreateHeaderLayout(this, m_header);
    body->addWidget(nameGroup);
    body->addWidget(optionsGroup, 1);
    body->addWidget(buttons);
    setTabOrder(m_target, m_target->GetButton());
    setTabOrder(m_target->GetButton(), m_comments);
    setTabOrder(m_comments, m_addStrings);
    setTabOrder(m_addStrings, m_list);
    setMinimumWidth(520);
    resize(560, 540);
    m_target->setFocus();
}

SingleExportOptions CSingleExportDlg::GetOptions() const {
    SingleExportOptions options;
    options.fileName = m_fileName;
    options.targetPath = qvn::FromQString(m_target->GetText());
    options.comments = m_comments->IsChecked();
    options.addUsedStrings = m_addStrings->IsChecked();
    return options;
}

void CSingleExportDlg::accept() {
    const SingleExportOptions options = GetOptions();
    if (options.targetPath.empty()) {
        m_target->setFocus();
        return;
    }
    if (m_doc.SingleExport(options)) {
        QDialog::accept();
    }
}
