// One pane of the status bar, as wide as its sizing text. A text that starts
// with a tab is centred; text after a second tab is right-aligned.
#pragma once

#include <QLabel>

class CStatusPane : public QLabel {
    Q_OBJECT
public:
    CStatusPane(const QString& sizingText, QWidget* parent = nullptr);

    // The text as given, tabs included.
    void SetPaneText(const QString& text);
    const QString& GetPaneText() const { return m_text; }
    const QString& GetSizingText() const { return m_sizingText; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void UpdateWidth();

    QString m_sizingText;
    QString m_text;
};
