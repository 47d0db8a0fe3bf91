// The pane under the property grid: the selected property's name in bold and
// its help line.
#pragma once

#include <QFrame>

class QLabel;

class ECommentPane : public QFrame {
    Q_OBJECT
public:
    explicit ECommentPane(QWidget* parent = nullptr);

    void SetComment(const QString& title, const QString& comment);
    void Clear() { SetComment({}, {}); }

    QString GetTitle() const;
    QString GetComment() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    QLabel* m_title;
    QLabel* m_comment;
};
