// The results of one search: the items list, read-only, filled from the
// search whose label it holds. Copying and dragging work; cut, paste,
// delete and drops do not.
#pragma once

#include "views/QVNBibTeXView.h"

#include <string>

class CQVNSearchView : public CQVNBibTeXView {
    Q_OBJECT
public:
    CQVNSearchView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);

    // The label of the search to show (set by whoever shows the list).
    void SetSearchLabel(const std::string& label) { m_label = label; }
    const std::string& GetSearchLabel() const { return m_label; }

    // The search's results in result order; without such a search the rows
    // stay, less any whose item left the project.
    void Refill(const std::string& key = {}) override;
    bool CanDropText(const std::string& text) const override;
    std::optional<std::string> GetCountText() const override;
    QString HelpTopic() const override;

private:
    std::string m_label;
};
