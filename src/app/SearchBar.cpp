#include "app/SearchBar.h"

#include "kit/QtText.h"
#include "model/Catalogue.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"

#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <memory>

CSearchBar::CSearchBar(QWidget* parent)
    : QToolBar(QStringLiteral("Search"), parent), m_query(new QComboBox(this)),
      m_field(new QComboBox(this)) {
    setObjectName(QStringLiteral("searchBar"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("searchIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/search.svg")).pixmap(QSize(18, 18)));
    icon->setContentsMargins(4, 0, 4, 0);
    icon->setProperty("commandId", int(ID_SEARCH_ICON));
    addWidget(icon);

    m_query->setObjectName(QStringLiteral("searchQuery"));
    m_query->setEditable(true);
    m_query->setInsertPolicy(QComboBox::NoInsert);
    m_query->setFixedWidth(kQueryWidth);
    m_query->setToolTip(QStringLiteral("String to be searched for"));
    m_query->setStatusTip(QStringLiteral("String to be searched for"));
    m_query->setWhatsThis(QStringLiteral("String to be searched for"));
    m_query->setProperty("commandId", int(ID_SEARCH_QUERY));
    m_query->lineEdit()->setClearButtonEnabled(true);
    m_query->lineEdit()->setPlaceholderText(QStringLiteral("Search"));
    addWidget(m_query);

    m_field->setObjectName(QStringLiteral("searchField"));
    m_field->setFixedWidth(kFieldWidth);
    m_field->setToolTip(QStringLiteral("Field to be searched in"));
    m_field->setStatusTip(QStringLiteral("Field to be searched in"));
    m_field->setWhatsThis(QStringLiteral("Field to be searched in"));
    m_field->setProperty("commandId", int(ID_SEARCH_FIELD));
    for (int field = 0; field < kFieldCount; ++field) {
        const std::string_view name = FieldName(field);
        m_field->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    }
    m_field->setCurrentIndex(kFieldTitle);
    addWidget(m_field);

    // Both boxes use the classic small dialog face at 8 points; where that face
    // is missing the desktop's own interface font stands in at the same size.
    QFont small = m_query->font();
    small.setFamilies({QStringLiteral("MS Sans Serif"), small.family()});
    small.setPointSize(kFontPoints);
    m_query->setFont(small);
    m_field->setFont(small);

    m_query->installEventFilter(this);
    m_query->lineEdit()->installEventFilter(this);
    m_field->installEventFilter(this);
}

QString CSearchBar::GetQuery() const {
    return m_query->currentText();
}

CFieldRef CSearchBar::GetField() const {
    const int index = m_field->currentIndex();
    if (index < kFieldCount) {
        return index;
    }
    return CFieldRef::FromName(qvn::FromQString(m_field->currentText()));
}

void CSearchBar::RefreshOtherFields() {
    if (!m_otherFields) {
        return;
    }
    const QStringList names = m_otherFields();
    QStringList shown;
    for (int i = kFieldCount; i < m_field->count(); ++i) {
        shown << m_field->itemText(i);
    }
    if (names == shown) {
        return;
    }
    const QString chosen = m_field->currentText();
    const bool chosenOther = m_field->currentIndex() >= kFieldCount;
    const QSignalBlocker block(m_field);
    while (m_field->count() > kFieldCount) {
        m_field->removeItem(kFieldCount);
    }
    m_field->addItems(names);
    if (chosenOther) {
        // A field no item holds any more gives way to the title.
        const int again = m_field->findText(chosen, Qt::MatchFixedString);
        m_field->setCurrentIndex(again >= kFieldCount ? again : kFieldTitle);
    }
}

void CSearchBar::AddToHistory(const QString& query) {
    for (int i = 0; i < m_query->count(); ++i) {
        if (m_query->itemText(i).compare(query, Qt::CaseInsensitive) == 0) {
            return;
        }
    }
    // Adding must not change what is typed in the box.
    const QString typed = m_query->currentText();
    m_query->addItem(query);
    m_query->setEditText(typed);
}

void CSearchBar::FocusQuery() {
    m_query->setFocus(Qt::ShortcutFocusReason);
    m_query->lineEdit()->selectAll();
}

bool CSearchBar::eventFilter(QObject* watched, QEvent* event) {
    // The field box lists the other fields as the project holds them now.
    if ((watched == m_field && event->type() == QEvent::FocusIn) ||
        (watched == m_field && event->type() == QEvent::MouseButtonPress)) {
        RefreshOtherFields();
    }
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter in the query box searches. The key is taken where it arrives
        // first, so that the box does not pass it on to its line edit again.
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            (watched == m_query || watched == m_query->lineEdit())) {
            if (event->type() == QEvent::KeyPress) {
                Q_EMIT searchRequested();
            }
            event->accept();
            return true;
        }
        // F1 in the search bar opens its own help topic.
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            event->accept();
            if (event->type() == QEvent::KeyPress) {
                Q_EMIT helpRequested();
            }
            return true;
        }
    }
    return QToolBar::eventFilter(watched, event);
}
