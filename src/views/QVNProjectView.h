// The files list: the main view while the project itself is selected. It
// shows how many strings, BibTeX files and items the project has and where
// they are saved; it has no clipboard data, no paste and no status text.
#pragma once

#include "views/QVNListView.h"

class CProjectFilesModel;

class CQVNProjectView : public CQVNListView {
    Q_OBJECT
public:
    CQVNProjectView(CQVNDoc& doc, IViewHost& host, QWidget* parent = nullptr);

    void OnUpdate(IDocObserver* sender, UpdateHint hint, const HintObject& object) override;
    bool UpdateCommand(int id, CommandState& state) override;
    QString HelpTopic() const override;

    CProjectFilesModel* GetModel() const { return m_model; }

private:
    CProjectFilesModel* m_model;
};
