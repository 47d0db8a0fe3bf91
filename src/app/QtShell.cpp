#include "app/QtShell.h"

#include "kit/QtText.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {

bool StartOpener(const QString& opener, const QString& target, IShell::FailedLater failedLater) {
    // No parent: an opener that still waits for its application when the
    // program ends is left running, never killed with the application it
    // started.
    auto* process = new QProcess();
    process->setProgram(opener);
    process->setArguments({target});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, failedLater](int code, QProcess::ExitStatus status) {
                         if ((status != QProcess::NormalExit || code != 0) && failedLater) {
                             failedLater();
                         }
                         process->deleteLater();
                     });
    process->start();
    if (!process->waitForStarted()) {
        delete process;
        return false;
    }
    return true;
}

} // namespace

bool CQtShell::Open(const std::string& documentOrAddress, FailedLater failedLater) {
    const QString text = qvn::ToQString(documentOrAddress);
    if (text.isEmpty()) {
        return false;
    }
    const QUrl url(text, QUrl::StrictMode);
    QUrl target;
    // A single letter before the colon is a drive, not a scheme.
    if (url.isValid() && url.scheme().size() > 1 && !url.isLocalFile()) {
        target = url;
    } else {
        const QFileInfo file(url.isLocalFile() ? url.toLocalFile() : text);
        if (!file.exists()) {
            return false;
        }
        target = QUrl::fromLocalFile(file.absoluteFilePath());
    }
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        return QDesktopServices::openUrl(target);
    }
    return StartOpener(opener, target.isLocalFile() ? target.toLocalFile() : target.toString(),
                       std::move(failedLater));
}
