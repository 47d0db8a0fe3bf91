// Every command of the program in one table: its id, its menu text exactly as
// shown ("&" marks the access key, "\t" starts the key text), its keys, its
// prompt ("status line\ntool tip") and the image of its toolbar button.
#pragma once

#include <QString>

#include <array>
#include <span>

struct CommandInfo {
    int id;
    const char* menuText;            // null for commands without a menu item
    const char* prompt;              // null when the command has none
    std::array<const char*, 2> keys; // portable key sequences, null when unused
    const char* buttonName;          // tool tip of a toolbar button whose prompt has none
    const char* icon;                // image under :/icons/, null for none
    bool checkable;
};

std::span<const CommandInfo> CommandTable();
// Null for an id that is not in the table.
const CommandInfo* FindCommand(int id);

// The prompt's text before "\n" (the status line), and after it (the tool tip).
QString StatusText(const CommandInfo& info);
QString ToolTipText(const CommandInfo& info);

// The number of entries of the recent-file list under File.
inline constexpr int kRecentFileCount = 4;
