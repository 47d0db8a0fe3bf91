#include "dialogs/AppearancePropViewPP.h"

#include "dialogs/DialogSupport.h"
#include "model/Catalogue.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

CAppearancePropViewPP::CAppearancePropViewPP(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_settings(settings), m_showIgnored(nullptr), m_caption(nullptr),
      m_fields(nullptr), m_description(nullptr), m_all(nullptr), m_none(nullptr), m_reset(nullptr) {
    setObjectName(QStringLiteral("propertyWindowPage"));
    auto* group = new QGroupBox(QStringLiteral(" Ignored fields "), this);
    auto* intro = qvn::CreateWrappedLabel(
        QStringLiteral("Required and optional BibTeX fields are always shown in the property "
                       "window. Here you can setup how to handle the ignored BibTeX fields."),
        group);
    m_showIgnored =
        new QCheckBox(QStringLiteral("&Show ignored BibTeX fields in property window."), group);
    m_showIgnored->setObjectName(QStringLiteral("showIgnored"));
    m_fields = new QTreeWidget(group);
    m_fields->setObjectName(QStringLiteral("ignoredFields"));
    m_caption = qvn::CreateWrappedLabel(
        QStringLiteral("From the following list you can select which of the ignored BibTeX "
                       "fields should be shown in the property window:"),
        group, m_fields);
    m_fields->setColumnCount(1);
    m_fields->setHeaderLabels({QStringLiteral("Field name")});
    m_fields->setColumnWidth(0, 200);
    m_fields->setRootIsDecorated(false);
    m_fields->setUniformRowHeights(true);
    m_fields->setAllColumnsShowFocus(true);
    m_fields->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_fields->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fields->setMinimumHeight(180);
    for (int field = 0; field < kFieldCount; ++field) {
        auto* item = new QTreeWidgetItem(m_fields, {qvn::CatalogueText(FieldName(field))});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, Qt::Unchecked);
    }
    m_description = new QLabel(QStringLiteral(" "), group);
    m_description->setObjectName(QStringLiteral("fieldDescription"));
    m_description->setWordWrap(true);
    m_description->setMinimumHeight(m_description->fontMetrics().lineSpacing() * 2);
    m_description->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_description->setFrameShape(QFrame::StyledPanel);

    m_all = new QPushButton(QStringLiteral("&All"), group);
    m_none = new QPushButton(QStringLiteral("&None"), group);
    m_reset = new QPushButton(QStringLiteral("&Reset"), group);
    for (QPushButton* b : {m_all, m_none, m_reset}) {
        b->setAutoDefault(false);
    }
    connect(m_all, &QPushButton::clicked, this, [this] { SetAllChecked(true); });
    connect(m_none, &QPushButton::clicked, this, [this] { SetAllChecked(false); });
    connect(m_reset, &QPushButton::clicked, this, &CAppearancePropViewPP::Reset);
    connect(m_showIgnored, &QCheckBox::clicked, this, [this] {
        UpdateEnabling();
        m_description->setText(QStringLiteral(" "));
        Q_EMIT Changed();
    });
    connect(m_fields, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item != nullptr) {
            Describe(m_fields->indexOfTopLevelItem(item));
        }
    });
    connect(m_fields, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item) {
        if (!m_filling) {
            Describe(m_fields->indexOfTopLevelItem(item));
            Q_EMIT Changed();
        }
    });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_all);
    buttons->addWidget(m_none);
    buttons->addSpacing(12);
    buttons->addWidget(m_reset);
    buttons->addStretch(1);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(m_fields, 1);
    listRow->addLayout(buttons);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->setSpacing(6);
    groupLayout->addWidget(intro);
    groupLayout->addSpacing(4);
    groupLayout->addWidget(m_showIgnored);
    groupLayout->addSpacing(4);
    groupLayout->addWidget(m_caption);
    groupLayout->addLayout(listRow, 1);
    groupLayout->addWidget(m_description);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(group);
    Reset();
}

void CAppearancePropViewPP::Reset() {
    m_filling = true;
    m_showIgnored->setChecked(m_settings.GetShowIgnoredFields());
    for (int field = 0; field < kFieldCount; ++field) {
        m_fields->topLevelItem(field)->setCheckState(
            0, m_settings.IsIgnoredFieldShown(field) ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    UpdateEnabling();
    m_description->setText(QStringLiteral(" "));
}

void CAppearancePropViewPP::SetAllChecked(bool checked) {
    m_filling = true;
    for (int field = 0; field < kFieldCount; ++field) {
        m_fields->topLevelItem(field)->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
    m_filling = false;
    Q_EMIT Changed();
}

void CAppearancePropViewPP::UpdateEnabling() {
    const bool on = m_showIgnored->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_fields, m_caption, m_all, m_none, m_reset}) {
        w->setEnabled(on);
    }
}

void CAppearancePropViewPP::Describe(int field) {
    if (field >= 0 && field < kFieldCount) {
        m_description->setText(QLatin1Char(' ') + qvn::CatalogueText(FieldDescription(field)));
    }
}

void CAppearancePropViewPP::OnOK() {
    m_settings.SetShowIgnoredFields(m_showIgnored->isChecked());
    for (int field = 0; field < kFieldCount; ++field) {
        m_settings.SetIgnoredFieldShown(field, m_fields->topLevelItem(field)->checkState(0) ==
                                                   Qt::Checked);
    }
    m_doc.UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
}
