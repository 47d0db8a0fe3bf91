// The document's place in the command routing: carries out the commands the
// document handles and asks it which of them (and of the commands it gates)
// are enabled.
#pragma once

#include "kit/CommandTarget.h"

class CQVNDoc;

class CDocCommandTarget : public ICommandTarget {
public:
    explicit CDocCommandTarget(CQVNDoc& doc) : m_doc(doc) {}

    bool OnCommand(int id) override;
    bool UpdateCommand(int id, CommandState& state) override;

private:
    CQVNDoc& m_doc;
};
