#include "kit/HelpWindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QIcon>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QUrl>

CHelpWindow::CHelpWindow(QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_browser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("helpWindow"));
    setWindowTitle(QStringLiteral("Quorvane Help"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane.svg")));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(760, 640);

    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_browser->setOpenLinks(true);
    m_browser->setOpenExternalLinks(true);
    m_browser->document()->setDocumentMargin(14);
    setCentralWidget(m_browser);

    auto* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setObjectName(QStringLiteral("helpNavigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    QAction* back =
        bar->addAction(QIcon(QStringLiteral(":/icons/back.svg")), QStringLiteral("Back"));
    QAction* forward =
        bar->addAction(QIcon(QStringLiteral(":/icons/forward.svg")), QStringLiteral("Forward"));
    QAction* contents =
        bar->addAction(QIcon(QStringLiteral(":/icons/help.svg")), QStringLiteral("Contents"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(contents, &QAction::triggered, this,
            [this] { ShowTopic(QString::fromLatin1(kContents)); });
    auto* close = new QAction(this);
    close->setShortcuts({QKeySequence::Close, QKeySequence(Qt::Key_Escape)});
    connect(close, &QAction::triggered, this, &QWidget::close);
    addAction(close);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_browser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Quorvane Help")
                                       : QStringLiteral("%1 - Quorvane Help").arg(title));
    });
}

bool CHelpWindow::TopicExists(const QString& page) {
    return QFile::exists(QStringLiteral(":/help/") + page);
}

void CHelpWindow::ShowTopic(const QString& page) {
    const QString shown = TopicExists(page) ? page : QString::fromLatin1(kContents);
    m_browser->setSource(QUrl(QStringLiteral("qrc:/help/") + shown));
}
