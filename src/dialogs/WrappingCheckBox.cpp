#include "dialogs/WrappingCheckBox.h"

#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>

CWrappingCheckBox::CWrappingCheckBox(const QString& text, QWidget* parent)
    : QWidget(parent), m_box(new QCheckBox(this)), m_label(new QLabel(text, this)) {
    m_label->setWordWrap(true);
    m_label->setBuddy(m_box);
    m_label->installEventFilter(this);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // The box's own text would not wrap: the label carries it, and the
    // box is named after it for assistive tools.
    QString plain = text;
    m_box->setAccessibleName(plain.remove(QLatin1Char('&')));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing) + 2);
    layout->addWidget(m_box, 0, Qt::AlignTop);
    layout->addWidget(m_label, 1);
    setFocusProxy(m_box);
}

QString CWrappingCheckBox::GetText() const {
    return m_label->text();
}

bool CWrappingCheckBox::IsChecked() const {
    return m_box->isChecked();
}

void CWrappingCheckBox::SetChecked(bool checked) {
    m_box->setChecked(checked);
}

bool CWrappingCheckBox::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_label && isEnabled()) {
        if (event->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
            m_label->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            m_box->setFocus(Qt::MouseFocusReason);
            m_box->click();
            return true;
        }
        if (event->type() == QEvent::Shortcut) {
            // The label's "&" key: focus and toggle, as a check box's own key does.
            m_box->setFocus(Qt::ShortcutFocusReason);
            m_box->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
