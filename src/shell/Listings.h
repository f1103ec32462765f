#pragma once
// What a batch user can reach, read from the program itself: every command path of the menu
// and toolbar tables with its state and prompts, and the named controls of each window.
#include <QString>
#include <QStringList>
#include <vector>

namespace pixoral {

class TPixoralF;
struct PromptRow;

struct CommandListing {
    QString path;     // as --do takes it: captions joined by '>', without '&'
    bool enabled = false;
    QString prompts;  // what the command asks, in words
};

// Every command row of the menu bar and toolbar tables, in table order, with the state of
// its action in `window`.
std::vector<CommandListing> listCommands(TPixoralF& window);
// One line a command: path, "enabled" or "disabled", prompts; tab-separated.
QString commandListingText(const std::vector<CommandListing>& commands);

// A prompt row in words: caption, text and the answers it takes.
QString describePrompt(const PromptRow& p);

// The names of the top-level windows --set and --press reach.
QStringList windowNames();
// The controls of a window, one line each: name, what --set or --press takes, its value now.
// Empty with `error` set for a window that does not exist.
QString controlListingText(const QString& window, QString& error);

}  // namespace pixoral
