// The strings list: the project's BibTeX strings, one row per abbreviation.
// Strings are copied, pasted and dragged as "@string" lines, deleted through
// the document (which may ask about strings in use), and the selected string
// is shown in the preview pane and the property window. All strings lists
// share one sort state for the whole run, apart from the items lists'.
#pragma once

#include "views/QVNListView.h"

#include <string>

class CBibTexString;
class CStringsListModel;

class CQVNStringView : public CQVNListView {
    Q_OBJECT
public:
    static constexpr const char* kContextMenu = "IDR_CONTEXT_STRINGS";

    CQVNStringView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);
    ~CQVNStringView() override;

    // All strings lists share one sort state for the run, apart from the
    // items lists'; back to descending, never sorted.
    static void ResetSharedSortState();

    void OnInitialUpdate() override;
    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;

    void SetupColumns();
    // Lists the strings in the table's order, sorted again by the stored
    // sort; selects the row of `abbreviation` when given.
    void Refill(const std::string& abbreviation = {});
    // Shows the string in the row of its abbreviation (its full string as
    // stored); without such a row the list is refilled selecting it.
    void UpdateObjectRow(const CBibTexString& string, bool select);

    bool CanPaste() const override;
    void DeleteSelection() override;
    std::string CreateClipboardData() const override;
    void PasteData(const std::string& text) override;
    bool CanDropText(const std::string& text) const override;
    void SelectionChanged(bool notify) override;

    std::optional<std::string> GetCountText() const override;
    QString HelpTopic() const override;

    CStringsListModel* GetModel() const { return m_model; }

protected:
    QMenu* CreateContextMenu() override;
    int GetNewCommand() const override;

private:
    CStringsListModel* m_model;
    // Whether the clipboard holds a string definition, asked once per
    // change of the clipboard: command states are computed often, and
    // another program's clipboard may be slow to answer.
    mutable bool m_clipboardKnown = false;
    mutable bool m_clipboardIsString = false;
};
