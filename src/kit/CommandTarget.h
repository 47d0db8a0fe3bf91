// The command routing's participants: the active view, the document, the main
// frame and the application each answer whether they handle a command, carry
// it out, and decide its enabled and checked state.
#pragma once

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

class ICommandTarget {
public:
    virtual ~ICommandTarget() = default;
    // True when the target carried the command out.
    virtual bool OnCommand(int id) = 0;
    // True when the target decides the command's state (then `state` holds it).
    virtual bool UpdateCommand(int id, CommandState& state) = 0;
};
