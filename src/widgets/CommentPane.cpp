#include "widgets/CommentPane.h"

#include <QLabel>
#include <QVBoxLayout>

ECommentPane::ECommentPane(QWidget* parent)
    : QFrame(parent), m_title(new QLabel(this)), m_comment(new QLabel(this)) {
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    const int margin = fontMetrics().height() / 2;
    layout->setContentsMargins(margin, margin / 2 + 1, margin, margin / 2 + 1);
    layout->setSpacing(2);
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_title->setTextFormat(Qt::PlainText);
    m_comment->setTextFormat(Qt::PlainText);
    m_comment->setWordWrap(true);
    m_comment->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_comment->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_title);
    layout->addWidget(m_comment, 1);
}

void ECommentPane::SetComment(const QString& title, const QString& comment) {
    m_title->setText(title);
    m_comment->setText(comment);
}

QString ECommentPane::GetTitle() const {
    return m_title->text();
}

QString ECommentPane::GetComment() const {
    return m_comment->text();
}

QSize ECommentPane::sizeHint() const {
    // A title and two lines of help.
    const int lines = 3;
    return {QFrame::sizeHint().width(),
            lines * fontMetrics().lineSpacing() + fontMetrics().height() + 2 * frameWidth()};
}

QSize ECommentPane::minimumSizeHint() const {
    return {0, fontMetrics().lineSpacing() * 2 + 2 * frameWidth()};
}
