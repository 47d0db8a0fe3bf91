#include "widgets/FECFileDialog.h"

#include "widgets/FileFilters.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// Qt's own dialog, with the one check Qt leaves out: a file to be saved into
// a folder that does not exist keeps the dialog open.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* owner, const QString& title, bool folderMustExist)
        : QFileDialog(owner, title), m_folderMustExist(folderMustExist) {}

    void accept() override {
        if (m_folderMustExist && acceptMode() == AcceptSave) {
            const QStringList files = selectedFiles();
            if (!files.isEmpty() && !QFileInfo(files.first()).absoluteDir().exists()) {
                QMessageBox::warning(this, windowTitle(),
                                     tr("%1\nThe folder does not exist.\n"
                                        "Check that the correct path was given.")
                                         .arg(QDir::toNativeSeparators(files.first())));
                return;
            }
        }
        QFileDialog::accept();
    }

private:
    bool m_folderMustExist;
};

} // namespace

CFECFileDialog::CFECFileDialog(Mode mode, QString filter, QString defaultExtension,
                               QString initialPath, QWidget* owner, Options options) {
    m_request.mode = mode;
    m_request.initialPath = std::move(initialPath);
    m_request.filters = QtFiltersFromWindowsFilter(filter);
    m_request.defaultSuffix = QtDefaultSuffix(defaultExtension);
    m_request.owner = owner;
    m_request.options = options;
}

bool CFECFileDialog::Exec() {
    m_paths.clear();
    const Chooser& chooser = EChooserHook<CFECFileDialog>::Get();
    QStringList chosen = chooser ? chooser(m_request) : RunDialog(m_request);
    for (const QString& path : chosen) {
        if (path.isEmpty()) {
            continue;
        }
        const QString full = WithDefaultSuffix(QFileInfo(path).absoluteFilePath());
        if ((m_request.options & PathMustExist) && !QFileInfo(full).absoluteDir().exists()) {
            continue;
        }
        m_paths << QDir::cleanPath(full);
        if (m_request.mode != Mode::OpenMultiple) {
            break;
        }
    }
    return !m_paths.isEmpty();
}

QString CFECFileDialog::WithDefaultSuffix(const QString& path) const {
    if (m_request.mode != Mode::Save || m_request.defaultSuffix.isEmpty()) {
        return path;
    }
    return QFileInfo(path).suffix().isEmpty() ? path + QLatin1Char('.') + m_request.defaultSuffix
                                              : path;
}

QStringList CFECFileDialog::RunDialog(const Request& request) {
    FileDialog dialog(request.owner, request.title, request.options & PathMustExist);
    switch (request.mode) {
    case Mode::Open:
        dialog.setFileMode(QFileDialog::ExistingFile);
        break;
    case Mode::OpenMultiple:
        dialog.setFileMode(QFileDialog::ExistingFiles);
        break;
    case Mode::Save:
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !(request.options & OverwritePrompt));
        break;
    }
    dialog.setOption(QFileDialog::ReadOnly, false);
    if (!request.filters.isEmpty()) {
        dialog.setNameFilters(request.filters);
    }
    if (!request.defaultSuffix.isEmpty()) {
        dialog.setDefaultSuffix(request.defaultSuffix);
    }
    if (!request.initialPath.isEmpty()) {
        const QFileInfo start(request.initialPath);
        if (start.isDir()) {
            dialog.setDirectory(start.absoluteFilePath());
        } else {
            if (start.absoluteDir().exists()) {
                dialog.setDirectory(start.absolutePath());
            }
            dialog.selectFile(start.fileName());
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    return dialog.selectedFiles();
}
