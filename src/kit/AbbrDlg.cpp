#include "kit/AbbrDlg.h"

#include "kit/StringPickModel.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

CAbbrDlg::CAbbrDlg(const CBibTexStringTable& strings, const QString& fieldName,
                   const QString& currentText, QWidget* parent)
    : QDialog(parent), m_model(new CStringPickModel(strings, this)), m_caption(new QLabel(this)),
      m_list(new QTreeView(this)) {
    setObjectName(QStringLiteral("abbrDlg"));
    setWindowTitle(QStringLiteral("Select a string"));

    m_caption->setTextFormat(Qt::PlainText);
    m_caption->setText(fieldName.isEmpty() ? QStringLiteral("Select a string.")
                                           : QStringLiteral("Select a string for the field '") +
                                                 fieldName + QStringLiteral("':"));
    QFont bold = m_caption->font();
    bold.setBold(true);
    m_caption->setFont(bold);

    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(false);
    m_list->header()->setSectionsMovable(false);
    for (int column = 0; column < CStringPickModel::ColumnCount; ++column) {
        m_list->header()->resizeSection(column, CStringPickModel::ColumnWidth(column));
    }
    m_caption->setBuddy(m_list);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAbbrDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAbbrDlg::reject);
    connect(m_list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CAbbrDlg::UpdateOk);
    // A double click, or Enter on a row, chooses it.
    connect(m_list, &QTreeView::activated, this, &CAbbrDlg::OnActivated);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);

    // Both columns at their widths beside the scroll bar.
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_list);
    const int margins = layout->contentsMargins().left() + layout->contentsMargins().right();
    resize(CStringPickModel::ColumnWidth(0) + CStringPickModel::ColumnWidth(1) + scrollBar +
               2 * m_list->frameWidth() + margins + 4,
           360);

    if (const int row = currentText.isEmpty() ? -1 : m_model->FindRow(currentText); row >= 0) {
        const QModelIndex index = m_model->index(row, 0);
        m_list->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
        m_list->scrollTo(index);
    }
    m_list->setFocus();
    UpdateOk();
}

int CAbbrDlg::SelectedRow() const {
    const QModelIndexList rows = m_list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void CAbbrDlg::UpdateOk() {
    m_ok->setEnabled(SelectedRow() >= 0);
}

void CAbbrDlg::OnActivated(const QModelIndex& index) {
    if (index.isValid()) {
        m_list->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                    QItemSelectionModel::Rows);
        accept();
    }
}

void CAbbrDlg::accept() {
    const int row = SelectedRow();
    if (row < 0) {
        return;
    }
    m_abbreviation = m_model->GetAbbreviation(row);
    QDialog::accept();
}
