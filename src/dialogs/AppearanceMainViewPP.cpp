#include "dialogs/AppearanceMainViewPP.h"

#include "dialogs/DialogSupport.h"
#include "kit/QtText.h"
#include "model/Catalogue.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <vector>

CAppearanceMainViewPP::CAppearanceMainViewPP(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_available(new QListWidget(this)),
      m_selected(new QListWidget(this)), m_add(new QPushButton(QStringLiteral("-->"), this)),
      m_remove(new QPushButton(QStringLiteral("<--"), this)),
      m_addAll(new QPushButton(QStringLiteral("->>"), this)),
      m_removeAll(new QPushButton(QStringLiteral("<<-"), this)),
      m_texAsText(new QCheckBox(QStringLiteral("Show TeX as text"), this)) {
    setObjectName(QStringLiteral("mainWindowPage"));
    m_available->setObjectName(QStringLiteral("availableFields"));
    m_selected->setObjectName(QStringLiteral("selectedFields"));
    m_available->setSortingEnabled(true);
    for (QListWidget* list : {m_available, m_selected}) {
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setMinimumSize(150, 220);
    }

    std::vector<bool> shown(kFieldCount, false);
    for (int i = 0; i < m_settings.GetColumnCount(); ++i) {
        const int field = m_settings.GetColumnField(i);
        if (field >= 0 && field < kFieldCount && !shown[static_cast<std::size_t>(field)]) {
            shown[static_cast<std::size_t>(field)] = true;
            m_selected->addItem(qvn::CatalogueText(FieldName(field)));
        }
    }
    for (int field = 0; field < kFieldCount; ++field) {
        if (!shown[static_cast<std::size_t>(field)]) {
            m_available->addItem(qvn::CatalogueText(FieldName(field)));
        }
    }

    const std::pair<QPushButton*, const char*> tips[] = {
        {m_add, "Show the selected field as a column"},
        {m_remove, "Do not show the selected field"},
        {m_addAll, "Show every field"},
        {m_removeAll, "Show no field"}};
    for (const auto& [button, tip] : tips) {
        button->setAutoDefault(false);
        button->setToolTip(QString::fromLatin1(tip));
    }
    connect(m_add, &QPushButton::clicked, this, &CAppearanceMainViewPP::Add);
    connect(m_remove, &QPushButton::clicked, this, &CAppearanceMainViewPP::Remove);
    connect(m_addAll, &QPushButton::clicked, this, &CAppearanceMainViewPP::AddAll);
    connect(m_removeAll, &QPushButton::clicked, this, &CAppearanceMainViewPP::RemoveAll);
    connect(m_available, &QListWidget::itemDoubleClicked, this, &CAppearanceMainViewPP::Add);
    connect(m_selected, &QListWidget::itemDoubleClicked, this, &CAppearanceMainViewPP::Remove);

    auto* group = new QGroupBox(QStringLiteral(" Columns for BibTeX fields "), this);
    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* b : {m_add, m_remove}) {
        middle->addWidget(b);
    }
    middle->addSpacing(12);
    for (QPushButton* b : {m_addAll, m_removeAll}) {
        middle->addWidget(b);
    }
    middle->addStretch(1);
    auto* grid = new QGridLayout(group);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    grid->addWidget(
        qvn::CreateWrappedLabel(
            QStringLiteral("Each BibTeX field is shown as a column in the main window. Here you "
                           "can specify the fields and the order of the fields to be shown in "
                           "this view."),
            group),
        0, 0, 1, 3);
    grid->addWidget(
        qvn::CreateWrappedLabel(
            QStringLiteral("The first column is always the BibTeX key of the corresponding "
                           "BibTeX item. You cannot change this."),
            group),
        1, 0, 1, 3);
    grid->setRowMinimumHeight(2, 6);
    grid->addWidget(new QLabel(QStringLiteral("Available field names:"), group), 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("Selected field names:"), group), 3, 2);
    grid->addWidget(m_available, 4, 0);
    grid->addLayout(middle, 4, 1);
    grid->addWidget(m_selected, 4, 2);
    grid->setRowStretch(4, 1);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(2, 1);
    m_texAsText->setObjectName(QStringLiteral("showTexAsText"));
    m_texAsText->setChecked(m_settings.GetShowTexAsText());
    m_texAsText->setToolTip(QStringLiteral(
        "Lists and print-outs show TeX accents and commands such as {\\\"u}, \\ss or -- as "
        "the letters and signs they stand for. The values themselves are never changed."));
    connect(m_texAsText, &QCheckBox::toggled, this, &CAppearanceMainViewPP::Changed);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(group);
    layout->addWidget(m_texAsText);
    setTabOrder(m_available, m_add);
    setTabOrder(m_add, m_remove);
    setTabOrder(m_remove, m_addAll);
    setTabOrder(m_addAll, m_removeAll);
    setTabOrder(m_removeAll, m_selected);
}

void CAppearanceMainViewPP::Move(QListWidget* from, QListWidget* to) {
    const QList<QListWidgetItem*> selection = from->selectedItems();
    if (selection.isEmpty()) {
        return;
    }
    const int row = from->row(selection.first());
    QListWidgetItem* item = from->takeItem(row);
    // The left list sorts itself on insertion; the right one appends.
    to->addItem(item);
    to->setCurrentItem(item);
    to->scrollToItem(item);
    if (from->count() > 0) {
        from->setCurrentRow(std::min(row, from->count() - 1));
    }
    Q_EMIT Changed();
}

void CAppearanceMainViewPP::Add() {
    Move(m_available, m_selected);
}

void CAppearanceMainViewPP::Remove() {
    Move(m_selected, m_available);
}

void CAppearanceMainViewPP::FillOneSide(QListWidget* target) {
    m_available->clear();
    m_selected->clear();
    for (int field = 0; field < kFieldCount; ++field) {
        target->addItem(qvn::CatalogueText(FieldName(field)));
    }
    target->setCurrentRow(0);
    Q_EMIT Changed();
}

void CAppearanceMainViewPP::AddAll() {
    FillOneSide(m_selected);
}

void CAppearanceMainViewPP::RemoveAll() {
    FillOneSide(m_available);
}

void CAppearanceMainViewPP::OnOK() {
    m_settings.ClearColumns();
    for (int i = 0; i < m_selected->count(); ++i) {
        m_settings.AddColumn(FindField(qvn::FromQString(m_selected->item(i)->text())));
    }
    m_settings.SetShowTexAsText(m_texAsText->isChecked());
    m_doc.UpdateAllViews(nullptr, UpdateHint::Columns);
}
