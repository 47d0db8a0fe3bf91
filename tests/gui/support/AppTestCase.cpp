#include "support/AppTestCase.h"

#include <QTest>

void AppTestCase::StartSession() {
    QVERIFY(m_dir.isValid());
    m_session = std::make_unique<AppSession>();
    m_dialogs = &m_session->dialogs;
    m_app = &m_session->app;
}

void AppTestCase::EndSession() {
    m_session.reset();
}
