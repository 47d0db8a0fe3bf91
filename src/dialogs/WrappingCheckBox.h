// A check box whose long text wraps: a box and a label beside it. Clicking
// the text or pressing its "&" key toggles the box, as with a plain check
// box.
#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;

class CWrappingCheckBox : public QWidget {
    Q_OBJECT
public:
    explicit CWrappingCheckBox(const QString& text, QWidget* parent = nullptr);

    QCheckBox* GetCheckBox() const { return m_box; }
    QLabel* GetLabel() const { return m_label; }
    QString GetText() const;
    bool IsChecked() const;
    void SetChecked(bool checked);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* m_box;
    QLabel* m_label;
};
