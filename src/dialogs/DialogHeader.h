// The band across the top of a dialog: a bold title, a line of explanation
// and an icon, on the light background of a wizard's header.
#pragma once

#include <QWidget>

class QLabel;

class CDialogHeader : public QWidget {
    Q_OBJECT
public:
    CDialogHeader(const QString& title, const QString& description, const QString& iconPath,
                  QWidget* parent = nullptr);

    QString GetTitle() const;
    QString GetDescription() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QLabel* m_title;
    QLabel* m_description;
};
