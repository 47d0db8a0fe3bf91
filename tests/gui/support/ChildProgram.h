// The desktop program in a child process, started by a test and killed by
// it as a crash or a power cut would end it. The child is the test program
// itself run again with a child command, so it runs the program's own
// libraries: the application object, its windows (offscreen), its timers.
//
//   --window-child PROJECT         opens the project and waits ("opened")
//   --edit-child FOLDER PROJECT    opens the project with recovery copies in
//                                  FOLDER (restoring one that is offered),
//                                  prints "opened HASH" or "restored HASH"
//                                  (the hash of the project's bytes), then
//                                  edits in bursts with pauses and prints
//                                  "copy" once a recovery copy is on disk
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <optional>

// Call first in main(): runs the child command the arguments name, if any,
// and returns its exit status.
std::optional<int> RunChildProgram(int argc, char** argv);

class CChildProgram {
public:
    CChildProgram();
    ~CChildProgram();
    // Starts this test program with a child command and its arguments.
    bool Start(const QStringList& arguments);
    // The next line the child prints that starts with `prefix` (without
    // it); nullopt when the child ended or printed nothing for `timeoutMs`.
    std::optional<QString> WaitForLine(const QString& prefix, int timeoutMs = 180000);
    // Kills the child and everything it started (its recovery writer too).
    void KillAll();
    qint64 ProcessId() const { return m_process.processId(); }

private:
    QProcess m_process;
    QByteArray m_pending;
};
