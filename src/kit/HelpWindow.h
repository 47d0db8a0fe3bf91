// The help window: the pages shipped under :/help/ in a browser with back,
// forward and contents buttons.
#pragma once

#include <QMainWindow>

class QTextBrowser;

class CHelpWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr const char* kContents = "index.htm";
    static constexpr const char* kSearchTopic = "qvn_fast_search.htm";

    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows a page such as "qvn_fast_search.htm"; an unknown page shows the
    // contents.
    void ShowTopic(const QString& page);
    QTextBrowser* GetBrowser() const { return m_browser; }
    static bool TopicExists(const QString& page);

private:
    QTextBrowser* m_browser;
};
