#include "app/StatusPane.h"

#include <QEvent>
#include <QFontMetrics>

namespace {
constexpr int kPadding = 12;
}

CStatusPane::CStatusPane(const QString& sizingText, QWidget* parent)
    : QLabel(parent), m_sizingText(sizingText) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setContentsMargins(4, 0, 4, 0);
    UpdateWidth();
}

void CStatusPane::SetPaneText(const QString& text) {
    if (text == m_text) {
        return;
    }
    m_text = text;
    QString shown = text;
    Qt::Alignment alignment = Qt::AlignLeft;
    if (shown.startsWith(QLatin1Char('\t'))) {
        shown.remove(0, 1);
        alignment = Qt::AlignHCenter;
        if (shown.startsWith(QLatin1Char('\t'))) {
            shown.remove(0, 1);
            alignment = Qt::AlignRight;
        }
    }
    shown.replace(QLatin1Char('\t'), QLatin1Char(' '));
    setAlignment(alignment | Qt::AlignVCenter);
    setText(shown);
    setToolTip(shown.size() > m_sizingText.size() / 2 ? shown : QString());
}

void CStatusPane::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        UpdateWidth();
    }
}

void CStatusPane::UpdateWidth() {
    setFixedWidth(fontMetrics().horizontalAdvance(m_sizingText) + kPadding);
}
