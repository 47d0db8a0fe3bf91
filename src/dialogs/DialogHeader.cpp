#include "dialogs/DialogHeader.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

CDialogHeader::CDialogHeader(const QString& title, const QString& description,
                             const QString& iconPath, QWidget* parent)
    : QWidget(parent), m_title(new QLabel(title, this)),
      m_description(new QLabel(description, this)) {
    setObjectName(QStringLiteral("dialogHeader"));
    QFont titleFont = m_title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.15);
    m_title->setFont(titleFont);
    m_title->setObjectName(QStringLiteral("headerTitle"));
    m_description->setObjectName(QStringLiteral("headerDescription"));
    m_description->setWordWrap(true);
    // The header is painted light; its text follows the base colours so that
    // it stays readable in a dark theme too.
    QPalette text = palette();
    text.setColor(QPalette::WindowText, palette().color(QPalette::Text));
    m_title->setPalette(text);
    m_description->setPalette(text);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("headerIcon"));
    icon->setPixmap(QIcon(iconPath).pixmap(QSize(40, 40)));
    icon->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(m_title);
    texts->addWidget(m_description);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->setSpacing(16);
    layout->addLayout(texts, 1);
    layout->addWidget(icon);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QString CDialogHeader::GetTitle() const {
    return m_title->text();
}

QString CDialogHeader::GetDescription() const {
    return m_description->text();
}

void CDialogHeader::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Base));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(rect().bottomLeft(), rect().bottomRight());
}
