#include "support/ChildProgram.h"

#include "app/QVNApp.h"
#include "model/BibTexEntry.h"
#include "model/FileSignature.h"
#include "project/QVNDoc.h"
#include "support/GuiTestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

void Say(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string HashText(const std::string& bytes) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(qvn::ContentHash(bytes)));
    return text;
}

// Settings of their own: the child must not clear the test's.
void UseChildSettings() {
    QStandardPaths::setTestModeEnabled(true);
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                           QStringLiteral("/quorvane-tests/child-") +
                           QString::number(QCoreApplication::applicationPid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder);
    QApplication::setQuitOnLastWindowClosed(false);
}

// One edit as the views make them, chosen by the edit's number.
void Edit(CQVNDoc& doc, int n) {
    switch (n % 4) {
    case 0:
        doc.AddString("soak" + std::to_string(n % 50), "Edit " + std::to_string(n), true);
        break;
    case 1: {
        std::string file;
        if (CBibTexEntry* item = doc.FindItem("key0_" + std::to_string(n % 10), file)) {
            // What the property window does with a typed value.
            item->SetField(kFieldNote, "Note " + std::to_string(n), false);
            doc.SetModifiedFlag();
        }
        break;
    }
    case 2: {
        auto item = std::make_unique<CBibTexEntry>("file0", "new" + std::to_string(n), 1);
        item->SetField(kFieldTitle, "Added in edit " + std::to_string(n), false);
        doc.AddItem(std::move(item));
        break;
    }
    default:
        doc.DeleteItem("new" + std::to_string(n - 5));
        break;
    }
}

// The program with scripted dialogs (every question gets its first answer:
// restore what is offered), recovery copies in `folder` (none when empty)
// and `project` opened; `run` goes on once it has started.
int RunProgram(int argc, char** argv, const QString& folder, const QString& project,
               const std::function<void(CQVNApp&)>& run) {
    QApplication qt(argc, argv);
    UseChildSettings();
    ScriptedDialogs dialogs;
    CQVNApp app;
    app.SetRecoveryFolder(folder);
    app.SetRecoveryTiming(std::chrono::milliseconds(20), std::chrono::milliseconds(60));
    if (!app.Start({QStringLiteral("quorvane"), project})) {
        return 3;
    }
    run(app);
    return QApplication::exec();
}

int RunWindowChild(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    return RunProgram(argc, argv, QString(), QString::fromLocal8Bit(argv[2]),
                      [](CQVNApp&) { Say("opened"); });
}

int RunEditChild(int argc, char** argv) {
    if (argc < 4) {
        return 2;
    }
    // Bursts of edits with pauses between them, so that copies are written
    // while the program keeps changing the project.
    int n = 0;
    bool announced = false;
    return RunProgram(argc, argv, QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                      [&](CQVNApp& app) {
                          CQVNDoc& doc = app.GetDocument();
                          Say((doc.IsModified() ? "restored " : "opened ") +
                              HashText(doc.SaveToBytes()));
                          auto* editor = new QTimer(&app);
                          editor->setInterval(8);
                          CQVNDoc* edited = &doc;
                          QObject::connect(editor, &QTimer::timeout, [&n, &announced, edited] {
                              if ((n / 12) % 2 == 0) {
                                  Edit(*edited, n);
                              }
                              ++n;
                              if (!announced && !edited->GetRecoveryCopyPath().empty()) {
                                  announced = true;
                                  Say("copy");
                              }
                          });
                          editor->start();
                      });
}

} // namespace

std::optional<int> RunChildProgram(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--window-child") == 0) {
        return RunWindowChild(argc, argv);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--edit-child") == 0) {
        return RunEditChild(argc, argv);
    }
    return std::nullopt;
}

CChildProgram::CChildProgram() {
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A process group of its own, so that the whole program can be killed;
    // and it goes with the test should the test itself die.
    m_process.setChildProcessModifier([] {
        ::setpgid(0, 0);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
}

CChildProgram::~CChildProgram() {
    KillAll();
}

bool CChildProgram::Start(const QStringList& arguments) {
    m_process.start(QCoreApplication::applicationFilePath(), arguments);
    return m_process.waitForStarted(60000);
}

std::optional<QString> CChildProgram::WaitForLine(const QString& prefix, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        qsizetype end = m_pending.indexOf('\n');
        while (end >= 0) {
            const QString line = QString::fromLocal8Bit(m_pending.left(end));
            m_pending.remove(0, end + 1);
            if (line.startsWith(prefix)) {
                return line.mid(prefix.size()).trimmed();
            }
            end = m_pending.indexOf('\n');
        }
        if (m_process.state() == QProcess::NotRunning || timer.elapsed() > timeoutMs) {
            return std::nullopt;
        }
        if (m_process.waitForReadyRead(500)) {
            m_pending += m_process.readAllStandardOutput();
        }
    }
}

void CChildProgram::KillAll() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    const qint64 pid = m_process.processId();
    if (pid > 0) {
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    }
    m_process.kill();
    m_process.waitForFinished(60000);
}
