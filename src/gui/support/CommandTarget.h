// The part of the program that runs commands the frame does not handle itself
// (the view, which passes hex commands on to the pane that had the focus last).
#pragma once

namespace dualvex {

struct CommandState {
    bool enabled = true;
    bool checked = false;
};

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    // Runs the command; false when this target does not know it.
    virtual bool OnCommand(int id) = 0;
    // Fills the state of a command this target knows; false when it does not.
    virtual bool OnUpdateCommand(int id, CommandState& state) = 0;
};

} // namespace dualvex
