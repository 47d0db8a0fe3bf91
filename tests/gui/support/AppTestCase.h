// A Qt Test class whose every test function gets a fresh application
// session (clean settings, scripted dialogs, an application not yet started)
// and a temporary folder shared by the whole class.
#pragma once

#include "support/GuiTestSupport.h"

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class AppTestCase : public QObject {
    Q_OBJECT

protected:
    std::unique_ptr<AppSession> m_session;
    ScriptedDialogs* m_dialogs = nullptr;
    CQVNApp* m_app = nullptr;
    QTemporaryDir m_dir;

    // Found by name by the test runner; protected, so never run as tests.
protected Q_SLOTS:
    void init();
    void cleanup();
};
