#include "dialogs/AppearanceDlg.h"

#include "model/Catalogue.h"
#include "project/QVNDoc.h"
#include "project/QVNSettings.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString FieldText(int field) {
    const std::string_view name = FieldName(field);
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

} // namespace

CAppearanceDlg::CAppearanceDlg(CQVNDoc& doc, CQVNSettings& settings, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_settings(settings) {
    setObjectName(QStringLiteral("appearanceDialog"));
    setWindowTitle(QStringLiteral("Appearance"));
    auto* tabs = new QTabWidget(this);
    tabs->addTab(CreateMainWindowPage(), QStringLiteral("Main window"));
    tabs->addTab(CreatePropertyWindowPage(), QStringLiteral("Property window"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs);
    layout->addWidget(buttons);
    resize(560, 480);
}

QWidget* CAppearanceDlg::CreateMainWindowPage() {
    auto* page = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral(" Columns for BibTeX fields "), page);
    auto* intro = new QLabel(
        QStringLiteral("Each BibTeX field is shown as a column in the main window. Here you can "
                       "specify the fields and the order of the fields to be shown in this view.\n"
                       "The first column is always the BibTeX key of the corresponding BibTeX "
                       "item. You cannot change this."),
        group);
    intro->setWordWrap(true);
    m_available = new QListWidget(group);
    m_available->setObjectName(QStringLiteral("availableFields"));
    m_available->setSortingEnabled(true);
    m_selected = new QListWidget(group);
    m_selected->setObjectName(QStringLiteral("selectedFields"));
    std::vector<bool> shown(kFieldCount, false);
    for (int i = 0; i < m_settings.GetColumnCount(); ++i) {
        const int field = m_settings.GetColumnField(i);
        if (field >= 0 && field < kFieldCount && !shown[static_cast<std::size_t>(field)]) {
            shown[static_cast<std::size_t>(field)] = true;
            m_selected->addItem(FieldText(field));
        }
    }
    for (int field = 0; field < kFieldCount; ++field) {
        if (!shown[static_cast<std::size_t>(field)]) {
            m_available->addItem(FieldText(field));
        }
    }

    auto makeButton = [group](const char* text) {
        auto* button = new QPushButton(QString::fromLatin1(text), group);
        button->setAutoDefault(false);
        return button;
    };
    QPushButton* add = makeButton("-->");
    QPushButton* remove = makeButton("<--");
    QPushButton* addAll = makeButton("->>");
    QPushButton* removeAll = makeButton("<<-");
    connect(add, &QPushButton::clicked, this,
            [this] { MoveSelected(m_available, m_selected, false); });
    connect(remove, &QPushButton::clicked, this,
            [this] { MoveSelected(m_selected, m_available, true); });
    connect(m_available, &QListWidget::itemDoubleClicked, this,
            [this] { MoveSelected(m_available, m_selected, false); });
    connect(m_selected, &QListWidget::itemDoubleClicked, this,
            [this] { MoveSelected(m_selected, m_available, true); });
    // Every field on one side, in catalogue order.
    auto fill = [this](QListWidget* target) {
        m_available->clear();
        m_selected->clear();
        for (int field = 0; field < kFieldCount; ++field) {
            target->addItem(FieldText(field));
        }
        target->setCurrentRow(0);
    };
    connect(addAll, &QPushButton::clicked, this, [this, fill] { fill(m_selected); });
    connect(removeAll, &QPushButton::clicked, this, [this, fill] { fill(m_available); });

    auto* middle = new QVBoxLayout;
    middle->addStretch(1);
    for (QPushButton* b : {add, remove, addAll, removeAll}) {
        middle->addWidget(b);
    }
    middle->addStretch(1);
    auto* grid = new QGridLayout(group);
    grid->addWidget(intro, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Available field names:"), group), 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("Selected field names:"), group), 1, 2);
    grid->addWidget(m_available, 2, 0);
    grid->addLayout(middle, 2, 1);
    grid->addWidget(m_selected, 2, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    return page;
}

void CAppearanceDlg::MoveSelected(QListWidget* from, QListWidget* to, bool sorted) {
    const int row = from->currentRow();
    if (row < 0) {
        return;
    }
    QListWidgetItem* item = from->takeItem(row);
    to->addItem(item);
    if (sorted) {
        to->sortItems();
    }
    to->setCurrentItem(item);
    if (from->count() > 0) {
        from->setCurrentRow(std::min(row, from->count() - 1));
    }
}

QWidget* CAppearanceDlg::CreatePropertyWindowPage() {
    auto* page = new QWidget(this);
    auto* group = new QGroupBox(QStringLiteral(" Ignored fields "), page);
    auto* intro = new QLabel(
        QStringLiteral("Required and optional BibTeX fields are always shown in the property "
                       "window. Here you can setup how to handle the ignored BibTeX fields."),
        group);
    intro->setWordWrap(true);
    m_showIgnored =
        new QCheckBox(QStringLiteral("&Show ignored BibTeX fields in property window."), group);
    m_ignoredCaption = new QLabel(
        QStringLiteral("From the following list you can select which of the ignored BibTeX "
                       "fields should be shown in the property window:"),
        group);
    m_ignoredCaption->setWordWrap(true);
    m_ignored = new QListWidget(group);
    m_ignored->setObjectName(QStringLiteral("ignoredFields"));
    for (int field = 0; field < kFieldCount; ++field) {
        auto* item = new QListWidgetItem(FieldText(field), m_ignored);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    }
    m_description = new QLabel(QStringLiteral(" "), group);
    m_description->setWordWrap(true);

    auto* all = new QPushButton(QStringLiteral("&All"), group);
    auto* none = new QPushButton(QStringLiteral("&None"), group);
    auto* reset = new QPushButton(QStringLiteral("&Reset"), group);
    m_ignoredButtons = {all, none, reset};
    auto setAll = [this](Qt::CheckState state) {
        for (int i = 0; i < m_ignored->count(); ++i) {
            m_ignored->item(i)->setCheckState(state);
        }
    };
    connect(all, &QPushButton::clicked, this, [setAll] { setAll(Qt::Checked); });
    connect(none, &QPushButton::clicked, this, [setAll] { setAll(Qt::Unchecked); });
    connect(reset, &QPushButton::clicked, this, &CAppearanceDlg::ResetIgnored);
    connect(m_showIgnored, &QCheckBox::toggled, this, [this] {
        UpdateIgnoredEnabled();
        m_description->setText(QStringLiteral(" "));
    });
    auto describe = [this](QListWidgetItem* item) {
        if (item != nullptr) {
            const std::string_view text = FieldDescription(m_ignored->row(item));
            m_description->setText(
                QStringLiteral(" ") +
                QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        }
    };
    connect(m_ignored, &QListWidget::currentItemChanged, this, describe);
    connect(m_ignored, &QListWidget::itemChanged, this, describe);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(all);
    buttons->addWidget(none);
    buttons->addWidget(reset);
    buttons->addStretch(1);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(intro);
    groupLayout->addWidget(m_showIgnored);
    groupLayout->addWidget(m_ignoredCaption);
    groupLayout->addWidget(m_ignored, 1);
    groupLayout->addWidget(m_description);
    groupLayout->addLayout(buttons);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(group);
    ResetIgnored();
    return page;
}

void CAppearanceDlg::ResetIgnored() {
    m_showIgnored->setChecked(m_settings.GetShowIgnoredFields());
    for (int field = 0; field < kFieldCount; ++field) {
        m_ignored->item(field)->setCheckState(
            m_settings.IsIgnoredFieldShown(field) ? Qt::Checked : Qt::Unchecked);
    }
    UpdateIgnoredEnabled();
    m_description->setText(QStringLiteral(" "));
}

void CAppearanceDlg::UpdateIgnoredEnabled() {
    const bool on = m_showIgnored->isChecked();
    m_ignored->setEnabled(on);
    m_ignoredCaption->setEnabled(on);
    for (QPushButton* b : m_ignoredButtons) {
        b->setEnabled(on);
    }
}

void CAppearanceDlg::accept() {
    m_settings.ClearColumns();
    for (int i = 0; i < m_selected->count(); ++i) {
        m_settings.AddColumn(FindField(m_selected->item(i)->text().toStdString()));
    }
    m_doc.UpdateAllViews(nullptr, UpdateHint::Columns);
    m_settings.SetShowIgnoredFields(m_showIgnored->isChecked());
    for (int field = 0; field < kFieldCount; ++field) {
        m_settings.SetIgnoredFieldShown(field, m_ignored->item(field)->checkState() == Qt::Checked);
    }
    m_doc.UpdateAllViews(nullptr, UpdateHint::IgnoredFields);
    QDialog::accept();
}
