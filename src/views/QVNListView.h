// Base of the list family that fills the main window: the files list, the
// items lists, the strings list and the search results. A list shows a model
// of the document through a sorting proxy in one of four display modes
// (details, list, small and large icons), and offers the clipboard, drag and
// drop of BibTeX text, the selection preview and printing. Derived lists
// supply the model and the text behind the selection.
#pragma once

#include "views/ListPrinter.h"
#include "views/QVNView.h"

#include <QMimeData>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class QAbstractItemModel;
class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QMenu;
class QPrinter;
class QSortFilterProxyModel;
class QStackedWidget;
class QTreeView;

// What a drag out of a list carries: the text of its selection, marked as
// coming from one of this program's lists, whose items a drop may move.
// Text dragged from anywhere else is plain QMimeData.
class CListDragData : public QMimeData {
    Q_OBJECT
public:
    using QMimeData::QMimeData;
};

enum class ListDisplayMode { LargeIcons, SmallIcons, List, Details };

// The column and direction of the last sort.
struct ListSortState {
    bool ascending = false;
    int column = -1; // -1: never sorted
};

class CQVNListView : public CQVNView {
    Q_OBJECT
public:
    CQVNListView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);
    ~CQVNListView() override;

    // The model shown, owned by the derived view; set once, before the view
    // is shown.
    void SetSourceModel(QAbstractItemModel* model);
    QAbstractItemModel* GetSourceModel() const { return m_source; }
    QSortFilterProxyModel* GetProxy() const { return m_proxy; }
    // Shows only the source rows that `accept` lets through; null shows all.
    // Everything that works on the shown rows (selection, clipboard, drag,
    // print) then works on these.
    void SetRowFilter(std::function<bool(int sourceRow)> accept);
    bool HasRowFilter() const;
    QTreeView* GetDetailsView() const { return m_details; }
    QListView* GetIconView() const { return m_icons; }
    QAbstractItemView* GetCurrentView() const;
    QItemSelectionModel* GetSelectionModel() const;

    ListDisplayMode GetDisplayMode() const { return m_mode; }
    void SetDisplayMode(ListDisplayMode mode);
    // Lays the icons out on the grid again (icon modes only).
    void ArrangeIcons();
    // A column's own width in the details display. The last column shown
    // takes the room the others leave, and at least its own width.
    void SetColumnWidth(int column, int width);

    // Sort state; items lists share one state over all their instances.
    virtual bool GetSortAscending() const { return m_sortState->ascending; }
    virtual int GetSortColumn() const { return m_sortState->column; }
    virtual void SetSortAscending(bool ascending) { m_sortState->ascending = ascending; }
    virtual void SetSortColumn(int column) { m_sortState->column = column; }
    // Orders the rows by the column's text ignoring case and stores the order.
    virtual void SortItems(int column, bool ascending);
    // Sorts again by the stored column, when there is one.
    void Resort();

    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { m_readOnly = readOnly; }
    // The BibTeX file an items list shows; empty for all files.
    const std::string& GetFileName() const { return m_fileName; }
    void SetFileName(std::string name) { m_fileName = std::move(name); }
    // The search a search-results list shows (by its label); other lists
    // show no search and ignore it.
    virtual void SetSearchLabel(const std::string& /*label*/) {}
    virtual QString GetPrintTitle() const;

    // Source rows of the selection, top to bottom as displayed.
    std::vector<int> GetSelectedRows() const;
    bool HasSelection() const;
    // Selects one source row only and scrolls it into view.
    void SelectRow(int sourceRow);
    // Selects these source rows only; the topmost shown becomes current and
    // is scrolled into view. Rows out of range are passed over.
    void SelectRows(const std::vector<int>& sourceRows);
    void SelectAll();
    void InvertSelection();

    virtual bool CanPaste() const { return false; }
    // Removes the selected rows from the list (not from the project) and
    // selects the row that took the place of the first one, or the new last
    // row.
    virtual void DeleteSelection();
    // The text of the selection for the clipboard and dragging; empty: none.
    virtual std::string CreateClipboardData() const { return {}; }
    // The data a drag of the selection carries (the caller owns it); null
    // when there is nothing to drag.
    CListDragData* CreateDragData() const;
    virtual void PasteData(const std::string& text);
    // Whether text dragged over the list may be dropped on it.
    virtual bool CanDropText(const std::string& text) const;
    // The selection changed; `notify` announces it to the other views. The
    // base shows "No preview available.".
    virtual void SelectionChanged(bool notify);
    bool IsDragging() const { return m_dragging; }

    bool OnCommand(int id) override;
    bool UpdateCommand(int id, CommandState& state) override;
    QString HelpTopic() const override;

    // Printing through the shared printer: with the print dialog, directly,
    // or in the preview window.
    void Print(QPrinter& printer, bool askFirst);
    void PrintPreview(QPrinter& printer);
    // Draws every page of the list on `printer` (after its setup).
    void RenderPages(QPrinter& printer);
    // A printer of the list as it is shown now.
    CListPrinter MakePrinter() const;

    // Announces the selection now, as a change of it does.
    void OnUserSelection();
    // Called by the hosted item views.
    void StartDrag();
    void ShowContextMenu(const QPoint& globalPos);
    // The Delete and Insert keys: the delete command and the list's new
    // command, when they are enabled.
    void OnDeleteKey();
    void OnInsertKey();
    // Carries a command out as the active view, through the window's
    // routing; false when it is disabled.
    bool ExecuteCommand(int id);
    CommandState QueryCommand(int id);

protected:
    // While one lives, changes of the selection are part of an update of the
    // list (a refill, a hint, a deletion) and are not announced; whoever
    // makes it shows the selection afterwards.
    class CQuietSelection {
    public:
        explicit CQuietSelection(CQVNListView& list) : m_list(list) { ++m_list.m_quietSelection; }
        ~CQuietSelection() { --m_list.m_quietSelection; }
        CQuietSelection(const CQuietSelection&) = delete;
        CQuietSelection& operator=(const CQuietSelection&) = delete;

    private:
        CQVNListView& m_list;
    };

    // Puts `widget` above the list (the list's own bar).
    void AddAboveList(QWidget* widget);
    // Sorts from now on with a state that other lists share (it must outlive
    // the list).
    void ShareSortState(ListSortState& state) { m_sortState = &state; }
    // The items lists and the strings list sort by column 0 on the toolbar's
    // sort commands; the files list does not.
    void SetHandlesSortCommands(bool handles) { m_handlesSortCommands = handles; }
    // The user set a column's width with the mouse; `width` is the column's
    // own width from now on.
    virtual void OnColumnResized(int /*column*/, int /*width*/) {}
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The context menu of the list, or null for none; built on demand.
    virtual QMenu* CreateContextMenu() { return nullptr; }
    // A context menu named `name` with one entry per (command, text) that
    // runs the command through ExecuteCommand, enabled as routing says.
    QMenu* BuildContextMenu(const char* name,
                            std::initializer_list<std::pair<int, const char*>> entries);
    // The command of the Insert key (the context menu's "New..."), 0: none.
    virtual int GetNewCommand() const { return 0; }
    // Copies the selection's text to the clipboard; false when there is none.
    bool CopyToClipboard() const;

    // The header shows the stored sort, or no sort (a list shown in its
    // own order).
    void UpdateSortIndicator();
    void HideSortIndicator();

private:
    // The selected rows of the list as shown, in their order.
    std::vector<int> SelectedProxyRows() const;
    // The model's rows of the given rows of the list as shown.
    std::vector<int> ToSourceRows(const std::vector<int>& proxyRows) const;
    // Every change of the selection, by mouse, key or code, is announced
    // once: the preview and the property window follow what the list shows.
    void OnSelectionModelChanged();
    void OnSectionResized(int column, int width);
    void FitLastColumn();
    int OwnColumnWidth(int column) const;

    QAbstractItemModel* m_source = nullptr;
    QSortFilterProxyModel* m_proxy;
    QStackedWidget* m_stack;
    QTreeView* m_details;
    QListView* m_icons;
    ListDisplayMode m_mode = ListDisplayMode::Details;

    ListSortState m_ownSortState;
    ListSortState* m_sortState = &m_ownSortState;
    bool m_dragging = false;
    bool m_readOnly = false;
    bool m_handlesSortCommands = false;
    int m_quietSelection = 0;
    std::string m_fileName;
    // Own widths of the details display's columns (0: the header's).
    std::vector<int> m_columnWidths;
    int m_filledColumn = -1;
    bool m_fittingColumns = false;
    bool m_headerPressed = false;
};
