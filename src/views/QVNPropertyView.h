// The property window: the editor of one BibTeX item or one BibTeX string,
// in the "Properties" pane. It follows the object the other views announce
// with their update hints, writes every accepted value into the project at
// once and announces it in turn with UpdateHint::Change.
#pragma once

#include "views/QVNView.h"

#include <QPointer>

#include <memory>

class CAbbrDlg;
class CBibTexEntry;
class CBibTexString;
class CItemPropHost;
class CQVNSettings;
class CStringPropHost;
class EPropCtrl;
class EPropHost;
class EPropView;
class EProperty;

class CQVNPropertyView : public CQVNView {
    Q_OBJECT
public:
    static constexpr const char* kEmptyText = "No item selected.";

    // The window's appearance settings say which ignored fields show.
    CQVNPropertyView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);
    ~CQVNPropertyView() override;

    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;
    QString HelpTopic() const override;

    EPropView* GetPropView() const { return m_propView; }
    EPropCtrl* GetPropCtrl() const;
    // The item shown while it is still in the project; null otherwise.
    CBibTexEntry* GetItem() const;
    // The copy of the string shown; null while no string is shown.
    const CBibTexString* GetString() const;
    // The "Select a string" dialog opened by the "..." button, while open.
    CAbbrDlg* GetPicker() const;

    // Adds a field to the item shown (the "Add field" dialog); true when
    // one was added. Insert and the grid's context menu call it.
    bool AddField();
    // The field outside the catalogue the selected row shows (for an item
    // whose type the catalogue lacks, any field under "Other fields");
    // empty when there is none.
    QString SelectedOtherField() const;
    // Deletes that field after asking; true when it was deleted. Delete and
    // the grid's context menu call it.
    bool DeleteSelectedField();

private:
    void ShowItem(CBibTexEntry& item, bool commitOpenEdit);
    void ShowString(const CBibTexString& string);
    void Clear();
    void SetHost(EPropHost* host);
    // Commits what the user is typing before another object is shown; the
    // host refuses it silently when its object is gone.
    void CommitOpenEdit();
    // Clears the window when the object shown has left the project.
    void DropVanishedObject();
    void OnPropertyAccepted(int id);
    void OpenPicker(const EProperty& prop);
    void ShowContextMenu(const QPoint& pos);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Shows the item again after a field came or went, selects the row of
    // `fieldName` and tells the other views; false when no row shows it.
    bool ItemFieldsChanged(CBibTexEntry& item, const QString& fieldName);
    void ClosePicker();

    EPropView* m_propView;
    std::unique_ptr<CItemPropHost> m_itemHost;
    std::unique_ptr<CStringPropHost> m_stringHost;
    EPropHost* m_host = nullptr;
    // Set while an accepted change is being announced: hints coming back
    // then must not commit the edit that is just being finished.
    bool m_announcing = false;
    QPointer<CAbbrDlg> m_picker;
};
