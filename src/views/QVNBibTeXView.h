// The items list: the BibTeX items of one file, or of all files when its
// file name is empty. Rows follow the document's hints; the selection feeds
// the preview pane and the property window; items are copied, cut, pasted
// and dragged as BibTeX text. All items lists and the search results share
// one sort state for the whole run.
#pragma once

#include "search/QuickFilter.h"
#include "views/QVNListView.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class CBibTexEntry;
class CItemsListModel;
class CQVNSettings;
class QLineEdit;
class QTimer;

class CQVNBibTeXView : public CQVNListView {
    Q_OBJECT
public:
    static constexpr const char* kContextMenu = "IDR_CONTEXT_BIBTEXENRIES";
    // The preview shows the texts of this many selected items at most, then
    // this line with the number of the others.
    static constexpr std::size_t kPreviewItems = 1000;
    static constexpr const char* kPreviewMore = "... %d more selected items\n";
    // The longest step of making the filter's texts ahead of need.
    static constexpr int kPrepareStepMilliseconds = 15;

    CQVNBibTeXView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);
    ~CQVNBibTeXView() override;

    // The items lists and the search results share one sort state for the
    // run; back to descending, never sorted.
    static void ResetSharedSortState();

    void OnInitialUpdate() override;
    void Detach() override;
    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;

    // Removes all rows and sets the columns from the appearance settings.
    virtual void SetupColumns();
    // Lists the items again (of the view's file, or of all files in file
    // order); `key` names the row to select, if any.
    virtual void Refill(const std::string& key = {});
    void FillFromFile(const std::string& key = {});
    // Sets the texts of the row with exactly the item's key; without such a
    // row the list is refilled selecting it.
    void UpdateObjectRow(CBibTexEntry* item, bool select);

    bool CanPaste() const override { return true; }
    void DeleteSelection() override;
    std::string CreateClipboardData() const override;
    void PasteData(const std::string& text) override;
    bool CanDropText(const std::string& text) const override;
    void SelectionChanged(bool notify) override;

    std::optional<std::string> GetCountText() const override;
    QString GetPrintTitle() const override;

    CItemsListModel* GetModel() const { return m_model; }

    // The quick filter above the list: the rows shown are the items that
    // hold every word typed (Ctrl+L goes there, Escape clears it).
    QLineEdit* GetFilterBox() const { return m_filterBox; }
    // Applies the filter box's text now (typing applies it once the keys
    // typed meanwhile are in).
    void ApplyFilter();
    // Rows shown, and rows in the list.
    int GetShownCount() const;
    int GetRowCount() const;
    // The row of the item with exactly this key, or -1.
    int FindRow(const std::string& key) const;

protected:
    // A field column's width set by the user becomes the field's width in
    // the appearance settings, which every items list shows and the
    // program keeps.
    void OnColumnResized(int column, int width) override;
    QMenu* CreateContextMenu() override;
    int GetNewCommand() const override;
    // Replaces the rows; selects and shows the row of `key` when given.
    void ShowItems(std::vector<CBibTexEntry*> items, const std::string& key);
    void SelectKey(const std::string& key);
    bool IsFilled() const { return m_filled; }

    // The count pane's text: the entries of `fileName` (all without a
    // name), or how many of them the filter shows.
    std::string CountText(std::string_view fileName = {}) const;

private:
    void MoveProblemColumnFirst();

    CItemsListModel* m_model;
    QLineEdit* m_filterBox;
    QTimer* m_filterTimer;
    QTimer* m_prepareTimer;
    CQuickFilter m_filter;
    // While a filter that narrows the last one is applied: the source rows
    // the last one showed.
    std::vector<char> m_shownBefore;
    bool m_filled = false;
    // The last text dragged over the list and whether it reads as items:
    // the drag asks on every move of the pointer.
    mutable std::string m_dropText;
    mutable bool m_dropTextOk = false;
};
