// Scripts the "Select a string" dialog that a TeX edit box opens modally on
// a double click.
#pragma once

#include "kit/AbbrDlg.h"
#include "kit/TexEdit.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

// Runs `step` on the picker of `edit` once it is shown (by the double click
// that follows), then makes sure it is closed.
inline void OnPicker(CTexEdit& edit, std::function<void(CAbbrDlg*)> step) {
    auto* timer = new QTimer(&edit);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, &edit, [&edit, timer, step] {
        CAbbrDlg* dlg = edit.picker();
        if (dlg == nullptr || !dlg->isVisible()) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        const bool modal = QApplication::activeModalWidget() == dlg;
        step(dlg);
        // A failed check in `step` must not leave the test waiting.
        if (dlg->isVisible()) {
            dlg->reject();
        }
        QVERIFY(modal);
    });
    timer->start();
}
