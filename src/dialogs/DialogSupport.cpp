#include "dialogs/DialogSupport.h"

#include "kit/HelpWindow.h"
#include "kit/TexEdit.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"

#include <QDialog>
#include <QHeaderView>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTableView>
#include <QVBoxLayout>
#include <QWizard>

namespace qvn {

QLineEdit* CreateTexEdit(QWidget* parent, const QString& fieldName) {
    // The open project's strings: the box marks their abbreviations and
    // offers them on a double click.
    return new CTexEdit(parent, CTexObject::ActiveStringTable(), fieldName);
}

QString CatalogueText(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* CreateWrappedLabel(const QString& text, QWidget* parent, QWidget* buddy) {
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    // A compound box (an edit with a button) takes the focus through its
    // edit; the label's key only works on a widget that accepts the focus.
    while (buddy != nullptr && buddy->focusPolicy() == Qt::NoFocus &&
           buddy->focusProxy() != nullptr) {
        buddy = buddy->focusProxy();
    }
    if (buddy != nullptr) {
        label->setBuddy(buddy);
    }
    return label;
}

QDialogButtonBox* CreateButtonBox(QDialog* dialog, QDialogButtonBox::StandardButtons extra) {
    auto* buttons =
        new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | extra, dialog);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void MakeSecondaryText(QWidget* label) {
    QPalette muted = label->palette();
    muted.setColor(QPalette::WindowText, muted.color(QPalette::PlaceholderText));
    label->setPalette(muted);
}

QVBoxLayout* CreateHeaderLayout(QWidget* dialog, QWidget* header) {
    auto* outer = new QVBoxLayout(dialog);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(header);
    auto* body = new QVBoxLayout;
    body->setContentsMargins(16, 14, 16, 14);
    body->setSpacing(10);
    outer->addLayout(body, 1);
    return body;
}

void SetupReportView(QTableView* view) {
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSortingEnabled(false);
    view->setWordWrap(false);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setStretchLastSection(true);
}

void ShowDialogHelp(QWidget* dialog, const QString& topic) {
    auto* help = dialog->findChild<CHelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (help == nullptr) {
        help = new CHelpWindow(dialog);
    }
    help->ShowTopic(topic);
    help->show();
    help->raise();
    help->activateWindow();
}

void ConnectHelp(QDialogButtonBox* buttons, QWidget* dialog, const QString& topic) {
    QPushButton* help = buttons->button(QDialogButtonBox::Help);
    if (help != nullptr) {
        // Some desktop themes name it without an access key.
        help->setText(QStringLiteral("&Help"));
        help->setAutoDefault(false);
    }
    const auto show = [dialog, topic] { ShowDialogHelp(dialog, topic); };
    QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog, show);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, dialog);
    QObject::connect(f1, &QShortcut::activated, dialog, show);
}

void StartWizard(QWizard* wizard, int minimumWidth) {
    wizard->restart();
    const QSize hint = wizard->sizeHint();
    wizard->setMinimumWidth(minimumWidth);
    wizard->setFixedHeight(hint.height());
    wizard->resize(std::max(minimumWidth, hint.width()), hint.height());
}

QPixmap WizardSidePixmap() {
    return QIcon(QStringLiteral(":/icons/wizard/side.svg")).pixmap(QSize(164, 420));
}

QPixmap WizardHeaderPixmap() {
    return QIcon(QStringLiteral(":/icons/wizard/header.svg")).pixmap(QSize(48, 48));
}

} // namespace qvn
