// Helpers of the list tests: items made from a few fields, the texts a list
// shows, a recorder of the hints other views receive, and simulated drags.
#pragma once

#include "HintRecorder.h"
#include "app/MainFrame.h"
#include "model/BibTexEntry.h"
#include "model/BibTexString.h"
#include "model/Catalogue.h"
#include "project/QVNDoc.h"
#include "support/FakeViewHost.h"
#include "support/GuiTestSupport.h"
#include "views/QVNBibTeXView.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QItemSelectionModel>
#include <QMenu>
#include <QMimeData>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QWidget>

#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace listtest {

// An item of `type` ("article", ...) with field values as stored.
inline std::unique_ptr<CBibTexEntry>
Item(const std::string& file, const std::string& key, const char* type,
     std::initializer_list<std::pair<int, const char*>> values = {}) {
    auto item = std::make_unique<CBibTexEntry>(file, key, FindEntryType(type));
    for (const auto& [field, value] : values) {
        item->SetField(field, value, true);
    }
    return item;
}

// Makes the document an active project without dialogs.
inline void StartProject(CQVNDoc& doc) {
    doc.NewProject();
    doc.StartProject({"Lists", "", "strings.bib"});
}

// The texts of one column, top to bottom as shown.
inline QStringList Column(const QAbstractItemModel& model, int column) {
    QStringList texts;
    for (int row = 0; row < model.rowCount(); ++row) {
        texts << model.index(row, column).data().toString();
    }
    return texts;
}

// The texts of the first column of a list, top to bottom as shown.
inline QStringList Keys(const CQVNListView& view) {
    return Column(*view.GetProxy(), 0);
}

// Selects exactly these rows, as shown.
inline void SelectRows(CQVNListView& view, std::initializer_list<int> rows) {
    view.GetSelectionModel()->clearSelection();
    for (int row : rows) {
        view.GetSelectionModel()->select(view.GetProxy()->index(row, 0),
                                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

// Starts the program on a project of `files` BibTeX files named file0,
// file1 ... of `items` items each (WriteProject).
inline bool StartProgram(AppSession& session, const QTemporaryDir& dir, int files, int items) {
    return session.app.Start(
        {QStringLiteral("quorvane"), WriteProject(dir, QStringLiteral("p.qvp"), files, items, 0)});
}

// Shows the items list of `file` (empty: all files) as the project
// explorer does: a new main view, its file, then UpdateHint::Change.
inline CQVNBibTeXView* ShowItems(CQVNApp& app, const std::string& file) {
    auto* view =
        qobject_cast<CQVNBibTeXView*>(app.GetMainFrame()->SwitchMainView(MainViewKind::Items));
    view->SetFileName(file);
    app.GetDocument().UpdateAllViews(nullptr, UpdateHint::Change);
    return view;
}

// The entries of a menu as "text|command id".
inline QStringList MenuEntries(const QMenu& menu) {
    QStringList entries;
    for (const QAction* action : menu.actions()) {
        entries << action->text() + QLatin1Char('|') + action->data().toString();
    }
    return entries;
}

using testsupport::HintRecorder;

// Whether `target` accepts plain text dragged onto it.
inline bool AcceptsDrag(QWidget* target, const QString& text) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    return enter.isAccepted();
}

} // namespace listtest
