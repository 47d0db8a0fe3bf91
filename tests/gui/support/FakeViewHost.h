// A window for a view under test, in place of the main frame: it keeps the
// preview text and the main view kinds asked for, routes commands to the
// active view and then the document, and has a printer, an appearance and
// a problem check of its own.
#pragma once

#include "project/QVNSettings.h"
#include "views/ViewHost.h"

#include <QString>

#include <memory>
#include <vector>

class CQVNDoc;

class CFakeViewHost : public IViewHost {
public:
    explicit CFakeViewHost(CQVNDoc& doc);
    ~CFakeViewHost();
    CFakeViewHost(const CFakeViewHost&) = delete;
    CFakeViewHost& operator=(const CFakeViewHost&) = delete;

    void SetPreviewText(const QString& text) override { previewText = text; }
    CQVNView* GetMainView() const override { return mainView; }
    CQVNView* SwitchMainView(MainViewKind kind) override;
    void SetActiveView(CQVNView* view) override { activeView = view; }
    bool RouteCommand(int id) override;
    CommandState QueryCommand(int id) override;
    void UpdateCommandStates() override { ++commandStateUpdates; }
    void AttachPrompts(QMenu*) override {}
    QPrinter& GetPrinter() override;
    CQVNSettings& GetAppearance() override { return appearance; }
    CProblemCheckRunner& GetProblemCheck() override { return *m_problems; }

    QString previewText;
    // The kinds of main view asked for, in order; no view is made.
    std::vector<MainViewKind> switchedTo;
    CQVNView* mainView = nullptr;
    CQVNView* activeView = nullptr;
    int commandStateUpdates = 0;
    CQVNSettings appearance;

private:
    CQVNDoc& m_doc;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<CProblemCheckRunner> m_problems;
};
