#include "app/QtShell.h"

#include "app/QtText.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool CQtShell::Open(const std::string& documentOrAddress) {
    const QString text = qvn::ToQString(documentOrAddress);
    if (text.isEmpty()) {
        return false;
    }
    const QUrl url(text, QUrl::StrictMode);
    // A single letter before the colon is a drive, not a scheme.
    if (url.isValid() && url.scheme().size() > 1 && !url.isLocalFile()) {
        return QDesktopServices::openUrl(url);
    }
    const QFileInfo file(url.isLocalFile() ? url.toLocalFile() : text);
    if (!file.exists()) {
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(file.absoluteFilePath()));
}
