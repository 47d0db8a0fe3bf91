// The base of views that show an object's properties: a grid control filling
// the view. A derived view sets the host and reacts to accepted changes.
#pragma once

#include <QWidget>

class EPropCtrl;
class EPropHost;

class EPropView : public QWidget {
    Q_OBJECT
public:
    explicit EPropView(QWidget* parent = nullptr);

    EPropCtrl* GetPropCtrl() const { return m_ctrl; }

    void SetHost(EPropHost* host);
    EPropHost* GetHost() const;
    void ShowCommentPane(bool show);
    void Refresh();
    void SetEmptyText(const QString& text);

Q_SIGNALS:
    // After the host accepted a new value for the property tagged `id`.
    void PropertyChanged(int id);

protected:
    // Called after each accepted change, before PropertyChanged is emitted.
    virtual void OnPropertyChanged(int id) { Q_UNUSED(id); }

private:
    EPropCtrl* m_ctrl;
};
