#include "dialogs/MultiExportDlg.h"

#include "dialogs/DialogHeader.h"
#include "dialogs/DialogSupport.h"
#include "dialogs/MultiExportModel.h"
#include "dialogs/WrappingCheckBox.h"
#include "kit/QtText.h"
#include "project/QVNDoc.h"
#include "widgets/FileEditCtrl.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

CMultiExportDlg::CMultiExportDlg(CQVNDoc& doc, QWidget* parent)
    : QDialog(parent), m_doc(doc),
      m_header(new CDialogHeader(
          QStringLiteral("Save BibTeX files..."),
          QStringLiteral("Use this dialog to save some or all of your BibTeX files to an "
                         "arbitrary location."),
          QStringLiteral(":/icons/save_all.svg"), this)),
      m_destination(new CFileEditCtrl(this)),
      m_mainFile(new CWrappingCheckBox(
          QStringLiteral("Create an example LaTeX &main file 'main.tex' showing how to integrate "
                         "the bibliography to your LaTeX document."),
          this)),
      m_comments(new CWrappingCheckBox(
          QStringLiteral("Add some Quorvane specific &comments to the BibTeX files."), this)),
      m_model(new CMultiExportModel(doc, this)), m_list(new QTableView(this)),
      m_all(new QPushButton(QStringLiteral("&All"), this)),
      m_none(new QPushButton(QStringLiteral("&None"), this)) {
    setObjectName(QStringLiteral("multiExportDialog"));
    setWindowTitle(QStringLiteral("Save BibTeX files..."));
    setWindowIcon(QIcon(QStringLiteral(":/icons/save_all.svg")));
    m_destination->setObjectName(QStringLiteral("destination"));
    m_destination->SetFolderMode(QStringLiteral("Select a destination path for the BibTex files:"));
    m_destination->SetText(qvn::ToQString(doc.GetSettings().GetExportFolder()));
    m_mainFile->setObjectName(QStringLiteral("mainFile"));
    m_comments->setObjectName(QStringLiteral("comments"));
    m_list->setObjectName(QStringLiteral("fileList"));
    m_list->setModel(m_model);
    qvn::SetupReportView(m_list);
    for (int column = 0; column < CMultiExportModel::ColumnCount; ++column) {
        m_list->setColumnWidth(column, CMultiExportModel::ColumnWidth(column));
    }
    // The file column's width is for its text; the check box and the icon
    // come on top.
    const int decoration = m_list->style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                           m_list->style()->pixelMetric(QStyle::PM_SmallIconSize) + 12;
    m_list->setColumnWidth(CMultiExportModel::FileColumn,
                           CMultiExportModel::ColumnWidth(CMultiExportModel::FileColumn) +
                               decoration);
    m_list->horizontalHeader()->setStretchLastSection(false);
    m_list->setMinimumHeight(150);
    if (m_model->rowCount() > 0) {
        m_list->selectRow(0);
    }
    for (QPushButton* b : {m_all, m_none}) {
        b->setAutoDefault(false);
    }
    connect(m_all, &QPushButton::clicked, this, [this] { m_model->SetAllChecked(true); });
    connect(m_none, &QPushButton::clicked, this, [this] { m_model->SetAllChecked(false); });

    auto* destinationGroup =
        new QGroupBox(QStringLiteral(" (1.) Select the destination path "), this);
    auto* destinationLayout = new QVBoxLayout(destinationGroup);
    destinationLayout->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("Specity the location where you want to store the BibTeX files selected "
                       "below (see 'Set your saving options'):"),
        destinationGroup, m_destination));
    destinationLayout->addWidget(m_destination);

    auto* optionsGroup = new QGroupBox(QStringLiteral(" (2.) Set your saving options "), this);
    auto* listButtons = new QVBoxLayout;
    listButtons->addWidget(m_all);
    listButtons->addWidget(m_none);
    listButtons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_list, 1);
    listRow->addLayout(listButtons);
    auto* optionsLayout = new QVBoxLayout(optionsGroup);
    optionsLayout->setSpacing(8);
    optionsLayout->addWidget(m_mainFile);
    optionsLayout->addWidget(m_comments);
    optionsLayout->addSpacing(4);
    optionsLayout->addWidget(qvn::CreateWrappedLabel(
        QStringLiteral("&Select the BibTeX files to be saved in the destination path selected "
                       "above:"),
        optionsGroup, m_list));
    optionsLayout->addLayout(listRow, 1);

    QDialogButtonBox* buttons = qvn::CreateButtonBox(this);
    QVBoxLayout* body = qvn::CreateHeaderLayout(this, m_header);
    body->addWidget(destinationGroup);
    body->addWidget(optionsGroup, 1);
    body->addWidget(buttons);
    setTabOrder(m_destination, m_destination->GetButton());
    setTabOrder(m_destination->GetButton(), m_mainFile);
    setTabOrder(m_mainFile, m_comments);
    setTabOrder(m_comments, m_list);
    setTabOrder(m_list, m_all);
    setTabOrder(m_all, m_none);
    setMinimumWidth(520);
    resize(560, 580);
    m_destination->setFocus();
}

MultiExportOptions CMultiExportDlg::GetOptions() const {
    MultiExportOptions options;
    options.destination = qvn::FromQString(m_destination->GetText());
    options.checkedRows = m_model->GetCheckedRows();
    options.comments = m_comments->IsChecked();
    options.mainFile = m_mainFile->IsChecked();
    return options;
}

void CMultiExportDlg::accept() {
    const MultiExportOptions options = GetOptions();
    if (options.destination.empty()) {
        m_destination->setFocus();
        return;
    }
    if (m_doc.MultiExport(options, &m_counts)) {
        QDialog::accept();
    }
}
