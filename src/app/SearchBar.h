// The search bar of the main window: an icon, the query box (an editable
// drop-down that keeps the queries typed in this run) and the field chooser
// with the 38 fields of the catalogue and the other fields the project's
// items hold. Enter in the query box asks for a search.
#pragma once

#include "model/FieldRef.h"

#include <QStringList>
#include <QToolBar>

#include <functional>
#include <string>

class IUserInterface;
class QComboBox;

class CSearchBar : public QToolBar {
    Q_OBJECT
public:
    static constexpr int kQueryWidth = 200;
    static constexpr int kFieldWidth = 100;
    static constexpr int kFontPoints = 8;

    explicit CSearchBar(QWidget* parent = nullptr);

    QComboBox* GetQueryBox() const { return m_query; }
    QComboBox* GetFieldBox() const { return m_field; }
    QString GetQuery() const;
    // The chosen field: a catalogue field, or one of the other field names.
    CFieldRef GetField() const;
    // Asked for the names of the fields outside the catalogue whenever the
    // field box opens or takes the focus; they are listed after the 38
    // catalogue names, and the chosen field stays chosen.
    void SetOtherFieldsSource(std::function<QStringList()> source) {
        m_otherFields = std::move(source);
    }
    void RefreshOtherFields();
    // Appends the query to the history unless an entry equal to it ignoring
    // case is there already.
    void AddToHistory(const QString& query);
    // Gives the keyboard focus to the query box.
    void FocusQuery();

Q_SIGNALS:
    void searchRequested();
    void helpRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QComboBox* m_query;
    QComboBox* m_field;
    std::function<QStringList()> m_otherFields;
};
