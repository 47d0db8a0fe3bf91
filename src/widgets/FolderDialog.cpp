#include "widgets/FolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QUrl>

CFolderDialog::CFolderDialog(QString title, QString initialFolder, QWidget* owner, Options options)
    : m_request{std::move(title), std::move(initialFolder), owner, options} {}

CFolderDialog::Result CFolderDialog::Exec() {
    m_folder.clear();
    const Chooser& chooser = EChooserHook<CFolderDialog>::Get();
    Answer answer = chooser ? chooser(m_request) : RunDialog(m_request);
    if (answer.result != Result::Ok) {
        return answer.result;
    }
    // The caller gets a local folder or a failure, never a half-valid path.
    if (answer.folder.isEmpty()) {
        return Result::Failed;
    }
    const QFileInfo info(answer.folder);
    if ((m_request.options & FileSystemOnly) && !info.isDir()) {
        return Result::Failed;
    }
    m_folder = QDir::cleanPath(info.absoluteFilePath());
    return Result::Ok;
}

CFolderDialog::Answer CFolderDialog::RunDialog(const Request& request) {
    QFileDialog dialog(request.owner, request.title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.initialFolder.isEmpty()) {
        const QFileInfo start(request.initialFolder);
        if (start.isDir()) {
            // Open in the parent with the folder itself selected.
            const QDir parent = start.absoluteDir();
            dialog.setDirectory(start.isRoot() ? start.absoluteFilePath() : parent.absolutePath());
            dialog.selectFile(start.absoluteFilePath());
        } else if (start.absoluteDir().exists()) {
            dialog.setDirectory(start.absolutePath());
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {Result::Cancelled, {}};
    }
    const QList<QUrl> urls = dialog.selectedUrls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) {
        return {Result::Failed, {}};
    }
    return {Result::Ok, urls.first().toLocalFile()};
}
