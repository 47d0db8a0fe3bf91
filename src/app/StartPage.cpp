#include "app/StartPage.h"

#include "project/CommandIds.h"

#include <QCommandLinkButton>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

constexpr int kColumnWidth = 520;

QString Escaped(QString text) {
    // A button reads "&" as the mark of its access key.
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

QString ShownFolder(const QString& path) {
    QString folder = QDir::toNativeSeparators(QFileInfo(path).absolutePath());
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && (folder == home || folder.startsWith(home + QDir::separator()))) {
        folder = QLatin1Char('~') + folder.mid(home.size());
    }
    return folder;
}

} // namespace

CStartPage::CStartPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("startPage"));
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);

    auto* column = new QWidget(this);
    // As wide as the window allows, up to a column that reads well.
    column->setMaximumWidth(kColumnWidth);
    column->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    auto* layout = new QVBoxLayout(column);
    layout->setSpacing(4);

    auto* title = new QLabel(QStringLiteral("Quorvane"), column);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2);
    titleFont.setBold(true);
    title->setFont(titleFont);
    layout->addWidget(title);
    auto* intro = new QLabel(QStringLiteral("No project is open. Start a new project, open one "
                                            "you have, or open a .bib file to make a project "
                                            "of it."),
                             column);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    layout->addSpacing(12);

    m_new = AddButton(layout, QStringLiteral("New project"),
                      QStringLiteral("Name the project and choose the folder of its BibTeX "
                                     "files."),
                      ID_FILE_NEW);
    m_open =
        AddButton(layout, QStringLiteral("Open project"),
                  QStringLiteral("Open a Quorvane project (*.qvp), or a BibTeX file (*.bib) to "
                                 "start one from."),
                  ID_FILE_OPEN);

    layout->addSpacing(12);
    m_recentHeading = new QLabel(QStringLiteral("Recent files"), column);
    QFont headingFont = m_recentHeading->font();
    headingFont.setBold(true);
    m_recentHeading->setFont(headingFont);
    layout->addWidget(m_recentHeading);
    m_recentLayout = new QVBoxLayout;
    m_recentLayout->setSpacing(0);
    layout->addLayout(m_recentLayout);
    m_recentHeading->hide();

    // The column stands near the top, in the middle.
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(column, 2);
    row->addStretch(1);
    auto* outer = new QVBoxLayout(this);
    outer->addSpacing(40);
    outer->addLayout(row);
    outer->addStretch(1);
    setFocusProxy(m_new);
}

QAbstractButton* CStartPage::AddButton(QVBoxLayout* layout, const QString& text,
                                       const QString& description, int id) {
    auto* button = new QCommandLinkButton(Escaped(text), description, this);
    // Enter presses the button with the focus, as in a dialog.
    button->setAutoDefault(true);
    button->setFocusPolicy(Qt::StrongFocus);
    // The button with the keyboard focus shows it, as the page is made to
    // be used with Tab.
    button->setStyleSheet(
        QStringLiteral("QCommandLinkButton { border: 1px solid transparent; border-radius: 3px; }"
                       "QCommandLinkButton:focus { border-color: palette(highlight); }"));
    connect(button, &QAbstractButton::clicked, this, [this, id] { Q_EMIT commandRequested(id); });
    layout->addWidget(button);
    return button;
}

void CStartPage::SetRecentFiles(const QStringList& paths) {
    for (QAbstractButton* button : m_recent) {
        delete button;
    }
    m_recent.clear();
    for (int i = 0; i < paths.size(); ++i) {
        const QString& path = paths.at(i);
        QAbstractButton* button = AddButton(m_recentLayout, QFileInfo(path).fileName(),
                                            ShownFolder(path), ID_FILE_MRU_FILE1 + i);
        button->setToolTip(QDir::toNativeSeparators(path));
        m_recent.push_back(button);
    }
    m_recentHeading->setVisible(!paths.isEmpty());
    // Tab goes down the page in the order it shows.
    QWidget* previous = m_open;
    for (QAbstractButton* button : m_recent) {
        setTabOrder(previous, button);
        previous = button;
    }
}

std::vector<QAbstractButton*> CStartPage::GetButtons() const {
    std::vector<QAbstractButton*> buttons{m_new, m_open};
    buttons.insert(buttons.end(), m_recent.begin(), m_recent.end());
    return buttons;
}

void CStartPage::FocusFirst() {
    m_new->setFocus(Qt::OtherFocusReason);
}
