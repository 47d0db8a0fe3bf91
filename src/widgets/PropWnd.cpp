#include "widgets/PropWnd.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QToolButton>

namespace {

// Remembers whether its list was opened: keys that step through the entries
// of a closed drop-down only choose, picking from the open list commits.
class PropComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    bool WasPopupShown() const { return m_popupShown; }
    void showPopup() override {
        m_popupShown = true;
        QComboBox::showPopup();
    }

private:
    bool m_popupShown = false;
};

} // namespace

EPropWnd::EPropWnd(const EProperty& prop, QLineEdit* editor, QWidget* parent)
    : QWidget(parent), m_kind(prop.GetKind()) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setAutoFillBackground(true);
    if (m_kind == EProperty::Kind::Choice) {
        auto* combo = new PropComboBox(this);
        combo->setFrame(false);
        combo->addItems(prop.GetChoices());
        combo->setMaxVisibleItems(qMax(10, static_cast<int>(prop.GetChoices().size())));
        m_comboBox = combo;
        layout->addWidget(combo);
        connect(combo, &QComboBox::activated, this, [this, combo] {
            if (combo->WasPopupShown()) {
                Q_EMIT ChoicePicked();
            }
        });
    } else {
        m_lineEdit = editor != nullptr ? editor : new QLineEdit;
        m_lineEdit->setParent(this);
        m_lineEdit->setFrame(false);
        layout->addWidget(m_lineEdit, 1);
        if (m_kind == EProperty::Kind::TexField) {
            m_button = new QToolButton(this);
            m_button->setText(QStringLiteral("..."));
            m_button->setToolTip(tr("Select a string (F4)"));
            // Pressing the button must not take the focus from the edit: a
            // focus loss would end the edit before the click arrives.
            m_button->setFocusPolicy(Qt::NoFocus);
            m_button->setAutoRaise(false);
            m_button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
            layout->addWidget(m_button);
            connect(m_button, &QToolButton::clicked, this, &EPropWnd::ButtonClicked);
        }
    }
    setFocusProxy(GetEditor());
}

QWidget* EPropWnd::GetEditor() const {
    return m_comboBox != nullptr ? static_cast<QWidget*>(m_comboBox)
                                 : static_cast<QWidget*>(m_lineEdit);
}

QVariant EPropWnd::GetValue() const {
    if (m_comboBox != nullptr) {
        return m_comboBox->currentIndex();
    }
    return m_lineEdit->text();
}

void EPropWnd::SetValue(const QVariant& value) {
    if (m_comboBox != nullptr) {
        m_comboBox->setCurrentIndex(value.toInt());
    } else if (m_lineEdit->text() != value.toString()) {
        m_lineEdit->setText(value.toString());
        m_lineEdit->selectAll();
    }
}

void EPropWnd::ShowPopup() {
    if (m_comboBox != nullptr) {
        m_comboBox->showPopup();
    }
}
