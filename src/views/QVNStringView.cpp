#include "views/QVNStringView.h"

#include "kit/QtText.h"
#include "model/BibTexString.h"
#include "model/TexObject.h"
#include "model/TextUtil.h"
#include "project/CommandIds.h"
#include "project/QVNDoc.h"
#include "views/StringsListModel.h"

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QSortFilterProxyModel>
#include <QTreeView>

namespace {

ListSortState& StringsSortState() {
    static ListSortState state;
    return state;
}

} // namespace

CQVNStringView::CQVNStringView(CQVNDoc& doc, IViewHost& host, QWidget* parent)
    : CQVNListView(doc, host, parent), m_model(new CStringsListModel(this)) {
    SetSourceModel(m_model);
    SetHandlesSortCommands(true);
    ShareSortState(StringsSortState());
    GetDetailsView()->setAlternatingRowColors(true);
    SetupColumns();
    if (QClipboard* clipboard = QApplication::clipboard()) {
        connect(clipboard, &QClipboard::dataChanged, this, [this] {
            m_clipboardKnown = false;
            Q_EMIT commandStateChanged();
        });
    }
}

CQVNStringView::~CQVNStringView() = default;

void CQVNStringView::ResetSharedSortState() {
    StringsSortState() = {};
}

void CQVNStringView::OnInitialUpdate() {
    Refill();
    SelectionChanged(false);
}

void CQVNStringView::OnUpdate(IDocObserver*, UpdateHint hint, const HintObject& object) {
    if (hint == UpdateHint::IgnoredFields) {
        return;
    }
    // Shown, not announced back to the views that sent the hint.
    CQuietSelection quiet(*this);
    if (const auto* const* string = std::get_if<const CBibTexString*>(&object)) {
        if (*string != nullptr) {
            UpdateObjectRow(**string, true);
        }
    } else if (std::holds_alternative<std::monostate>(object)) {
        Refill();
    }
    // Items, searches and files are no rows of this list.
    SelectionChanged(false);
    Q_EMIT commandStateChanged();
}

void CQVNStringView::SetupColumns() {
    m_model->SetRows({});
    for (int column = 0; column < CStringsListModel::ColumnCount; ++column) {
        SetColumnWidth(column, CStringsListModel::ColumnWidth(column));
    }
}

void CQVNStringView::Refill(const std::string& abbreviation) {
    std::vector<CStringsListModel::Row> rows;
    rows.reserve(static_cast<std::size_t>(GetDocument().GetStrings().GetCount()));
    for (const auto& [abbr, value] : GetDocument().GetStrings()) {
        // Delimiters that do not enclose the whole value ("A" # "B") stay.
        rows.push_back({abbr, std::string(CTexObject::StripOneGroup(value)), 0});
    }
    m_model->SetRows(std::move(rows));
    Resort();
    if (!abbreviation.empty()) {
        const int row = m_model->FindAbbreviation(abbreviation);
        if (row >= 0) {
            SelectRow(row);
        }
    }
}

void CQVNStringView::UpdateObjectRow(const CBibTexString& string, bool select) {
    const int row = m_model->FindAbbreviation(string.GetAbbreviation());
    if (row < 0) {
        Refill(string.GetAbbreviation());
        return;
    }
    m_model->SetRow(row, string.GetAbbreviation(), string.GetValue());
    if (select) {
        const QModelIndex index = GetProxy()->mapFromSource(m_model->index(row, 0));
        GetSelectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

bool CQVNStringView::CanPaste() const {
    if (!m_clipboardKnown) {
        const QClipboard* clipboard = QApplication::clipboard();
        m_clipboardIsString =
            clipboard != nullptr &&
            CQVNDoc::IsStringText(qvn::TrimView(qvn::FromQString(clipboard->text())));
        m_clipboardKnown = true;
    }
    return m_clipboardIsString;
}

void CQVNStringView::DeleteSelection() {
    const std::vector<int> rows = GetSelectedRows();
    if (rows.empty()) {
        return;
    }
    int first = GetProxy()->mapFromSource(m_model->index(rows.front(), 0)).row();
    std::vector<std::string> abbreviations;
    for (int row : rows) {
        abbreviations.push_back(m_model->GetRow(row)->abbreviation);
    }
    // Top to bottom until a deletion is refused or cancelled.
    for (const std::string& abbreviation : abbreviations) {
        if (!abbreviation.empty() && GetDocument().DeleteString(abbreviation) == 0) {
            break;
        }
    }
    // The change refills this list too.
    GetDocument().UpdateAllViews(nullptr, UpdateHint::Change);
    // The row that took the place of the first one keeps the selection.
    const int count = GetProxy()->rowCount();
    if (count > 0) {
        first = std::min(first, count - 1);
        CQuietSelection quiet(*this);
        SelectRow(GetProxy()->mapToSource(GetProxy()->index(first, 0)).row());
    }
    SelectionChanged(true);
}

std::string CQVNStringView::CreateClipboardData() const {
    std::string text;
    std::string full;
    for (int row : GetSelectedRows()) {
        const std::string& abbreviation = m_model->GetRow(row)->abbreviation;
        if (abbreviation.empty()) {
            continue;
        }
        if (!GetDocument().LookupString(abbreviation, full)) {
            break;
        }
        text += qvn::Format("@string{%s = %s}\n", abbreviation.c_str(), full.c_str());
    }
    return text;
}

void CQVNStringView::PasteData(const std::string& data) {
    for (auto& [abbreviation, full] : GetDocument().PasteStrings(data)) {
        m_model->AppendRow({std::move(abbreviation), std::move(full), 1});
    }
    Q_EMIT commandStateChanged();
}

bool CQVNStringView::CanDropText(const std::string& text) const {
    return CQVNDoc::IsStringText(qvn::TrimView(text));
}

void CQVNStringView::SelectionChanged(bool notify) {
    std::string text;
    std::string full;
    std::string firstAbbreviation;
    std::string firstFull;
    bool any = false;
    for (int row : GetSelectedRows()) {
        const std::string& abbreviation = m_model->GetRow(row)->abbreviation;
        if (abbreviation.empty()) {
            continue;
        }
        if (!GetDocument().LookupString(abbreviation, full)) {
            full.clear();
        }
        text += qvn::Format("@string{%s = \"%s\"}\n", abbreviation.c_str(), full.c_str());
        if (!any) {
            any = true;
            firstAbbreviation = abbreviation;
            firstFull = full;
        }
    }
    GetHost().SetPreviewText(qvn::ToQString(text));
    if (notify) {
        if (any) {
            // A temporary: the other views copy what they need of it.
            const CBibTexString selected(firstAbbreviation, firstFull);
            GetDocument().UpdateAllViews(this, UpdateHint::Change, &selected);
        } else {
            GetDocument().UpdateAllViews(this, UpdateHint::Change);
        }
    }
}

std::optional<std::string> CQVNStringView::GetCountText() const {
    return qvn::Format("\t%d strings", GetDocument().GetStrings().GetCount());
}

QString CQVNStringView::HelpTopic() const {
    return QStringLiteral("strings.htm");
}

QMenu* CQVNStringView::CreateContextMenu() {
    return BuildContextMenu(kContextMenu, {{ID_NEW_STRING, "&New...\tIns"},
                                           {ID_EDIT_CUT, "Cu&t\tCtrl+X"},
                                           {ID_EDIT_COPY, "&Copy\tCtrl+C"},
                                           {ID_EDIT_PASTE, "&Paste\tCtrl+V"},
                                           {ID_EDIT_CLEAR, "&Delete\tDel"},
                                           {ID_EDIT_SELECT_ALL, "Select &All\tCtrl+A"}});
}

int CQVNStringView::GetNewCommand() const {
    return ID_NEW_STRING;
}
