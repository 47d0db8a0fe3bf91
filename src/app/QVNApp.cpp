#include "app/QVNApp.h"

#include "app/AboutDlg.h"
#include "app/CommandTable.h"
#include "app/MainFrame.h"
#include "app/RecentFileList.h"
#include "app/Resources.h"
#include "kit/QtText.h"
#include "project/CommandIds.h"
#include "views/ProblemCheckRunner.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QIcon>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>

namespace {

QSettings* MakeSettings() {
    qvn::InitResources();
    QCoreApplication::setOrganizationName(QString::fromLatin1(CQtSettingsStore::kOrganisation));
    QCoreApplication::setApplicationName(QString::fromLatin1(CQtSettingsStore::kApplication));
    return new QSettings(QSettings::NativeFormat, QSettings::UserScope,
                         QString::fromLatin1(CQtSettingsStore::kOrganisation),
                         QString::fromLatin1(CQtSettingsStore::kApplication));
}

} // namespace

CQVNApp::CQVNApp(QObject* parent)
    : QObject(parent), m_settings(MakeSettings()), m_store(m_settings.get()),
      m_recent(std::make_unique<CRecentFileList>(*m_settings, kRecentFileCount)), m_doc(&m_ui) {
    QApplication::setApplicationVersion(QString::fromLatin1(QVN_VERSION_STRING));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quorvane.svg")));
    QApplication::setDesktopFileName(QStringLiteral("quorvane"));
    m_ui.SetRecentFiles(m_recent.get());
    m_ui.SetAppearanceSettings(&m_appearance);
    m_problems = std::make_unique<CProblemCheckRunner>(m_doc);
    SetRecoveryFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                      QStringLiteral("/recovery"));
    // The recovery copy is looked after in the background of the event loop.
    m_recoveryTimer = new QTimer(this);
    m_recoveryTimer->setInterval(1000);
    connect(m_recoveryTimer, &QTimer::timeout, this, [this] { m_doc.MaintainRecoveryCopy(); });
    // Back from another program: the project file may have changed.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive) {
                    // Asked once the activation has been handled.
                    QMetaObject::invokeMethod(this, &CQVNApp::OnActivated, Qt::QueuedConnection);
                }
            });
}

void CQVNApp::SetRecoveryFolder(const QString& folder) {
    m_recoveryFolder = folder;
    if (m_frame) {
        m_doc.SetRecoveryFolder(qvn::FromQString(folder));
    }
}

QString CQVNApp::GetRecoveryFolder() const {
    return m_recoveryFolder;
}

void CQVNApp::SetRecoveryTiming(std::chrono::milliseconds pause,
                                std::chrono::milliseconds interval) {
    m_doc.SetRecoveryTiming(pause, interval);
    const auto tick = std::clamp<std::chrono::milliseconds::rep>(pause.count() / 2, 10, 1000);
    m_recoveryTimer->setInterval(static_cast<int>(tick));
}

void CQVNApp::OnActivated() {
    if (m_frame == nullptr || QApplication::activeModalWidget() != nullptr) {
        return;
    }
    m_doc.CheckForOutsideChange();
    m_frame->updateActions();
}

CQVNApp::~CQVNApp() {
    m_frame.reset();
    m_problems.reset();
    m_doc.SetUserInterface(nullptr);
}

bool CQVNApp::Start(const QStringList& arguments) {
    m_recent->Load();
    m_frame = std::make_unique<CMainFrame>(*this);
    m_ui.SetParentWidget(m_frame.get());

    // The command line: one optional project file, or BibTeX files to start
    // a new project from (opened once the window shows).
    std::vector<std::string> bibFiles;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const std::string path = qvn::FromQString(
            QDir::toNativeSeparators(QFileInfo(arguments.at(i)).absoluteFilePath()));
        if (CQVNDoc::IsBibTexPath(path)) {
            bibFiles.push_back(path);
        }
    }
    if (arguments.size() > 1 && !CQVNDoc::IsBibTexPath(qvn::FromQString(arguments.at(1)))) {
        // The document keeps the full path, as for a file chosen in a dialog.
        const QString path =
            QDir::toNativeSeparators(QFileInfo(arguments.at(1)).absoluteFilePath());
        if (!m_doc.OpenProject(qvn::FromQString(path))) {
            return false;
        }
    } else {
        m_doc.NewProject();
    }
    // Without a window manager the maximised state is only a wish: the
    // window takes the screen's work area itself.
    if (const QScreen* screen = m_frame->screen()) {
        m_frame->setGeometry(screen->availableGeometry());
    }
    m_frame->showMaximized();
    m_frame->updateActions();

    // The appearance settings are read once the project, the window and its
    // first views exist.
    m_appearance.Reset();
    m_appearance.Load(m_store);
    m_doc.SetKeepBackup(m_appearance.GetKeepBackup());
    if (!bibFiles.empty()) {
        m_doc.OpenBibTexFiles(bibFiles);
    }

    // Unsaved changes that an earlier run left behind when it ended without
    // closing its project, asked about over the window (so the project of
    // the command line was opened without recovery copies).
    m_doc.SetRecoveryFolder(qvn::FromQString(m_recoveryFolder));
    if (!m_doc.IsModified()) {
        m_doc.OfferRecovery();
    }
    m_frame->updateActions();
    m_recoveryTimer->start();
    return true;
}

int CQVNApp::Run(const QStringList& arguments) {
    if (!Start(arguments)) {
        return 1;
    }
    const int status = QApplication::exec();
    Shutdown();
    return status;
}

void CQVNApp::Shutdown() {
    m_appearance.Save(m_store);
    m_recent->Save();
}

QPrinter& CQVNApp::GetPrinter() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    }
    return *m_printer;
}

void CQVNApp::OpenRecentFile(int index) {
    const QStringList& entries = m_recent->Entries();
    if (index < 0 || index >= entries.size()) {
        return;
    }
    const QString path = entries.at(index);
    // An entry whose file is gone leaves the list.
    if (!m_doc.OnFileOpen(qvn::FromQString(path)) && !QFileInfo::exists(path)) {
        m_recent->Remove(static_cast<int>(m_recent->Entries().indexOf(path)));
    }
}

bool CQVNApp::OnCommand(int id) {
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
        OpenRecentFile(id - ID_FILE_MRU_FILE1);
        return true;
    }
    switch (id) {
    case ID_FILE_NEW:
        m_doc.OnFileNew();
        return true;
    case ID_FILE_OPEN:
        m_doc.OnFileOpen();
        return true;
    case ID_FILE_PRINT_SETUP: {
        QPageSetupDialog dialog(&GetPrinter(), m_frame.get());
        dialog.exec();
        return true;
    }
    case ID_APP_EXIT:
        if (m_frame) {
            m_frame->close();
        }
        return true;
    case ID_APP_ABOUT: {
        CAboutDlg dialog(m_frame.get());
        dialog.exec();
        return true;
    }
    default:
        return false;
    }
}

bool CQVNApp::UpdateCommand(int id, CommandState& state) {
    if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
        state.enabled = id - ID_FILE_MRU_FILE1 < m_recent->Entries().size();
        return true;
    }
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}
