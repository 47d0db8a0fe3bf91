// For Qt Test classes whose every test function starts from a fresh
// application session (clean settings, scripted dialogs, an application not
// yet started), with a temporary folder shared by the whole class. The test
// class derives from QObject and from this, and calls StartSession from its
// init() and EndSession from its cleanup().
#pragma once

#include "support/GuiTestSupport.h"

#include <QTemporaryDir>

#include <memory>

class AppTestCase {
protected:
    std::unique_ptr<AppSession> m_session;
    ScriptedDialogs* m_dialogs = nullptr;
    CQVNApp* m_app = nullptr;
    QTemporaryDir m_dir;

    void StartSession();
    void EndSession();
};
