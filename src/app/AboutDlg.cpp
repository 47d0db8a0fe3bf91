#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_version(new QLabel(this)) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QStringLiteral("About Quorvane"));

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("aboutIcon"));
    icon->setPixmap(QIcon(QStringLiteral(":/icons/quorvane.svg")).pixmap(QSize(64, 64)));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    // The version is taken from the build each time the box opens.
    m_version->setObjectName(QStringLiteral("aboutVersion"));
    m_version->setText(VersionLine());
    QFont bold = font();
    bold.setWeight(QFont::Bold); // 700
    m_version->setFont(bold);

    auto* details = new QLabel(this);
    details->setObjectName(QStringLiteral("aboutDetails"));
    details->setText(QStringLiteral("A manager for BibTeX bibliographies.\n"
                                    "Made by Tavelmark.\n"
                                    "Copyright (C) Tavelmark. All rights reserved."));
    details->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(m_version);
    text->addSpacing(6);
    text->addWidget(details);
    text->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addSpacing(12);
    row->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QString CAboutDlg::VersionLine() {
    return QStringLiteral("Quorvane Version %1.%2.%3.%4")
        .arg(QVN_VERSION_MAJOR)
        .arg(QVN_VERSION_MINOR)
        .arg(QVN_VERSION_PATCH)
        .arg(QVN_VERSION_TWEAK);
}
