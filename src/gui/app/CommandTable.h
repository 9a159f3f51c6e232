// Captions, status-bar prompts, tool tips and key bindings of the program's commands.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

namespace dualvex {

struct CommandInfo {
    int id = 0;
    QString caption;          // menu caption with "&" mnemonic and "\t" accelerator hint
    QString prompt;           // status-bar text while the command is highlighted
    QString toolTip;          // tool tip of the tool bar button
    QList<QKeySequence> keys; // accelerators
};

// The entry for a command id; an empty entry (id 0) for unknown ids.
const CommandInfo& LookupCommand(int id);
// All commands that have an entry, in menu order.
const QList<CommandInfo>& AllCommands();

} // namespace dualvex
