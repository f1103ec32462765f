#pragma once
// The command line as one table: the parser, --help, the man page and the shell completion
// scripts all read it, so an option added here shows up everywhere at once.
#include <QString>
#include <QStringList>
#include <vector>

namespace pixoral {

struct CommandListing;

struct CommandLineOption {
    enum Kind {
        Action,      // runs in order with the others (--do, --save, --set ...)
        Answer,      // queued for a dialog (--answer)
        Each,        // --each FILE...: the files the actions run on, one by one
        RunSetting,  // holds for the whole run wherever it stands (--jobs)
        Standalone,  // does its one job and exits (--help, --list-commands, --man ...)
        Internal,    // between the program and its own worker processes; never shown
    };
    // What the shell completes for the argument.
    enum Completes { Nothing, File, Directory, CommandPath, Control, Window, Shell };

    const char* name;
    const char* argument;  // nullptr: the option takes none
    Kind kind;
    Completes completes;
    const char* help;      // lines joined by '\n'
};

const std::vector<CommandLineOption>& commandLineOptions();
// Null for a name the table does not hold.
const CommandLineOption* findOption(const QString& name);

// --help: usage, the options of the table and the rules for answers and exit codes.
QString commandLineHelp();

// pixoral(1) in roff, from the options table and the command listing.
QString manPage(const std::vector<CommandListing>& commands);

// A completion script for "bash" or "zsh"; empty for another shell. Menu paths and control
// names are asked of the installed program when completing, so they are always its own.
QString completionScript(const QString& shell);

}  // namespace pixoral
