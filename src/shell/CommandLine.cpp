#include "shell/CommandLine.h"

#include "shell/Listings.h"

namespace pixoral {

namespace {

using O = CommandLineOption;

const std::vector<CommandLineOption> kOptions = {
    {"--batch", nullptr, O::RunSetting, O::Nothing,
     "build the window without showing it, run the actions, exit"},
    {"--open", "FILE", O::Action, O::File, "File > Open with FILE as the dialog's answer"},
    {"--save", "FILE", O::Action, O::File,
     "File > Save As with FILE as the answer; under --each a pattern:\n"
     "%n the input's base name, %e its extension, %i its number in the\n"
     "list (from 1), %% a percent sign"},
    {"--do", "PATH", O::Action, O::CommandPath,
     "run the menu item or toolbar control at PATH: captions joined by\n"
     "'>', '&' and a trailing '...' left out, letter case ignored, e.g.\n"
     "\"File>New\", \"Toolbar>Undo\", \"Toolbar>Set Pen Mode>Xor\"\n"
     "(--list-commands prints them all); a gadget's popup item as\n"
     "Gadget>NAME>ITEM, e.g. \"Gadget>GadLabel1>Paint\""},
    {"--answer", "TEXT", O::Answer, O::Nothing,
     "an answer for a dialog: text for input boxes, a colour word (clRed,\n"
     "$0000FF, 255) for colour dialogs, Name,size[,bold][,italic][,underline]\n"
     "for font dialogs, FontName,text for the symbol picker, a path for\n"
     "file dialogs, yes/no/cancel for questions, :cancel to cancel the\n"
     "dialog"},
    {"--drag", "X,Y:X,Y[:X,Y...]", O::Action, O::Nothing,
     "press at the first point, move through the middle ones, release at\n"
     "the last, in image pixels at any zoom; NAME:X,Y:X,Y... drags gadget\n"
     "NAME (the first point on the gadget)"},
    {"--click", "X,Y", O::Action, O::Nothing,
     "press and release at one point (NAME:X,Y on gadget NAME; with\n"
     "--button right it opens the gadget's popup)"},
    {"--mods", "shift,ctrl,alt", O::Action, O::Nothing, "keys held during the next drag or click"},
    {"--button", "left|right|middle", O::Action, O::Nothing, "the mouse button of the next drag or click"},
    {"--set", "WINDOW.CONTROL=VALUE", O::Action, O::Control,
     "set a control of a window by name, as a user would, and run what\n"
     "the change runs even when the control already holds VALUE (a colour\n"
     "grid: N clicks cell N, N,right right-clicks it; TPixoralF.GADGET=TEXT\n"
     "a label's or button's caption, '|' for line breaks, or the picture\n"
     "file of an image gadget; --list-controls)"},
    {"--press", "WINDOW.CONTROL", O::Action, O::Control, "press a button of a window"},
    {"--run", "TEXT", O::Action, O::Nothing, "run turtle script text on the image"},
    {"--script", "FILE", O::Action, O::File, "run the turtle script in FILE"},
    {"--max-steps", "N", O::Action, O::Nothing, "stop later scripts after N steps (0: no limit)"},
    {"--state", "FILE|-", O::Action, O::File,
     "write the observable state as JSON (- for standard output; under\n"
     "--each a pattern as for --save)"},
    {"--data-dir", "DIR", O::RunSetting, O::Directory,
     "the program folder for this run (settings, patterns, presets); it\n"
     "holds for the whole run wherever it stands"},
    {"--seed", "N", O::Action, O::Nothing, "seed the random generator"},
    {"--each", "FILE...", O::Each, O::File,
     "run the actions that follow once per FILE, each from a fresh start:\n"
     "the actions before --each, then File > Open FILE, then the rest.\n"
     "FILE may be a quoted pattern (\"photos/*.jpg\") that Pixoral expands.\n"
     "The files are shared out over worker processes; a file that fails is\n"
     "named and the others still run"},
    {"--jobs", "N", O::RunSetting, O::Nothing,
     "worker processes for --each (default: one per core)"},
    {"--help", nullptr, O::Standalone, O::Nothing, "print this help"},
    {"--list-commands", nullptr, O::Standalone, O::Nothing,
     "print every menu and toolbar path --do takes, whether it is\n"
     "enabled, and the prompts it asks"},
    {"--list-controls", "[WINDOW]", O::Standalone, O::Window,
     "print the controls of WINDOW that --set and --press reach; without\n"
     "WINDOW the windows"},
    {"--man", nullptr, O::Standalone, O::Nothing, "print the manual page pixoral(1) in roff"},
    {"--completion", "bash|zsh", O::Standalone, O::Shell, "print a completion script for the shell"},
    {"--worker", "N", O::Internal, O::Nothing, ""},
    {"--each-file", "FILE", O::Internal, O::File, ""},
};

const char* kUsage =
    "Usage: pixoral [FILE]\n"
    "       pixoral --batch ACTION...\n"
    "       pixoral [--batch] [ACTION...] --each FILE... ACTION...\n"
    "\n"
    "Without --batch the window opens, with FILE (any image it opens) loaded when given.\n"
    "With --batch the window is built without showing it and the actions run left to right\n"
    "through the same commands the menus use; then the program exits as closing the window\n"
    "would (the pattern strip is stored; nothing asks to save the image).\n";

const char* kAnswersAndStatus =
    "Answers: before an action runs, the --answer values standing directly after it (up to\n"
    "the next other action) join the end of the answer queue; --answer values standing\n"
    "before an action were queued earlier. So both of these give a 50 by 100 image:\n"
    "  pixoral --batch --do File>New --answer 100 --answer 50 --save out.bmp\n"
    "  pixoral --batch --answer 100 --answer 50 --do File>New --save out.bmp\n"
    "A dialog that finds no answer, and an answer left unused at the end, are errors.\n"
    "\n"
    "Every message box text goes to standard error as \"message: TEXT\" (under --each as\n"
    "\"FILE: message: TEXT\").\n";

const char* kExitStatus =
    "0 when every action ran; 1 when a script ended with a message other than \"ready\"\n"
    "(the message and the word where it stopped are printed) or, under --each, when any\n"
    "file failed; 2 when an action could not run (unknown or disabled path, a dialog with no\n"
    "answer queued, an unreadable file), with a one-line reason.\n";

QString leftColumn(const O& o) {
    QString s = QString::fromLatin1(o.name);
    if (o.argument) s += QLatin1Char(' ') + QString::fromLatin1(o.argument);
    return s;
}

// roff text: backslashes and hyphens escaped, no line starting with a control character.
QString roff(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char('\\'), QLatin1String("\\e"));
    s.replace(QLatin1Char('-'), QLatin1String("\\-"));
    QStringList lines = s.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.startsWith(QLatin1Char('.')) || l.startsWith(QLatin1Char('\''))) l.prepend(QLatin1String("\\&"));
    return lines.join(QLatin1Char('\n'));
}

QStringList visibleOptionNames() {
    QStringList names;
    for (const O& o : kOptions)
        if (o.kind != O::Internal) names << QString::fromLatin1(o.name);
    return names;
}

QStringList optionsCompleting(O::Completes what) {
    QStringList names;
    for (const O& o : kOptions)
        if (o.kind != O::Internal && o.completes == what) names << QString::fromLatin1(o.name);
    return names;
}

QString bashScript() {
    QString s = QStringLiteral(
        "# bash completion for pixoral; menu paths and control names come from the program itself\n"
        "# The lines of standard input that start with $1, each with PREFIX before it.\n"
        "_pixoral_match() {\n"
        "    local line\n"
        "    while IFS= read -r line; do\n"
        "        [[ $line == \"$1\"* ]] && COMPREPLY+=(\"$2$line\")\n"
        "    done\n"
        "}\n"
        "_pixoral() {\n"
        "    local cur prev words cword\n"
        "    if declare -F _init_completion >/dev/null; then\n"
        "        _init_completion -n '>=:,' || return\n"
        "    else\n"
        "        cur=${COMP_WORDS[COMP_CWORD]}\n"
        "        prev=${COMP_WORDS[COMP_CWORD-1]}\n"
        "    fi\n"
        "    local prog=${COMP_WORDS[0]} i\n"
        "    COMPREPLY=()\n"
        "    case $prev in\n"
        "        %1)\n"
        "            compopt -o filenames 2>/dev/null\n"
        "            COMPREPLY=($(compgen -f -- \"$cur\")); return ;;\n"
        "        %2)\n"
        "            compopt -o filenames 2>/dev/null\n"
        "            COMPREPLY=($(compgen -d -- \"$cur\")); return ;;\n"
        "        %3)\n"
        "            _pixoral_match \"$cur\" \"\" < <(\"$prog\" --list-commands 2>/dev/null | cut -f1)\n"
        "            for i in \"${!COMPREPLY[@]}\"; do COMPREPLY[i]=$(printf '%q' \"${COMPREPLY[i]}\"); done\n"
        "            return ;;\n"
        "        %4)\n"
        "            _pixoral_match \"$cur\" \"\" < <(\"$prog\" --list-controls 2>/dev/null); return ;;\n"
        "        %5)\n"
        "            if [[ $cur == *.* ]]; then\n"
        "                _pixoral_match \"${cur#*.}\" \"${cur%%.*}.\" < <(\"$prog\" --list-controls \"${cur%%.*}\" 2>/dev/null | cut -f1)\n"
        "            else\n"
        "                _pixoral_match \"$cur\" \"\" < <(\"$prog\" --list-controls 2>/dev/null | sed 's/$/./')\n"
        "                compopt -o nospace 2>/dev/null\n"
        "            fi\n"
        "            return ;;\n"
        "        %6)\n"
        "            COMPREPLY=($(compgen -W 'bash zsh' -- \"$cur\")); return ;;\n"
        "    esac\n"
        "    if [[ $cur == -* ]]; then\n"
        "        COMPREPLY=($(compgen -W '%7' -- \"$cur\"))\n"
        "    else\n"
        "        compopt -o filenames 2>/dev/null\n"
        "        COMPREPLY=($(compgen -f -- \"$cur\"))\n"
        "    fi\n"
        "}\n"
        "complete -F _pixoral pixoral\n");
    return s.arg(optionsCompleting(O::File).join(QLatin1Char('|')), optionsCompleting(O::Directory).join(QLatin1Char('|')),
                 optionsCompleting(O::CommandPath).join(QLatin1Char('|')), optionsCompleting(O::Window).join(QLatin1Char('|')),
                 optionsCompleting(O::Control).join(QLatin1Char('|')), optionsCompleting(O::Shell).join(QLatin1Char('|')),
                 visibleOptionNames().join(QLatin1Char(' ')));
}

QString zshScript() {
    QString s = QStringLiteral(
        "#compdef pixoral\n"
        "# zsh completion for pixoral; menu paths and control names come from the program itself\n"
        "_pixoral_paths() {\n"
        "    local -a paths\n"
        "    paths=(${(f)\"$(_call_program commands ${words[1]} --list-commands 2>/dev/null | cut -f1)\"})\n"
        "    compadd -a paths\n"
        "}\n"
        "_pixoral_windows() {\n"
        "    local -a wins\n"
        "    wins=(${(f)\"$(_call_program windows ${words[1]} --list-controls 2>/dev/null)\"})\n"
        "    compadd -a wins\n"
        "}\n"
        "_pixoral_controls() {\n"
        "    if [[ $PREFIX == *.* ]]; then\n"
        "        local win=${PREFIX%%.*}\n"
        "        local -a names\n"
        "        names=(${(f)\"$(_call_program controls ${words[1]} --list-controls $win 2>/dev/null | cut -f1)\"})\n"
        "        compadd -p \"$win.\" -a names\n"
        "    else\n"
        "        local -a wins\n"
        "        wins=(${(f)\"$(_call_program windows ${words[1]} --list-controls 2>/dev/null)\"})\n"
        "        compadd -S . -a wins\n"
        "    fi\n"
        "}\n"
        "_arguments -s \\\n");
    for (const O& o : kOptions) {
        if (o.kind == O::Internal) continue;
        QString help = QString::fromLatin1(o.help).replace(QLatin1Char('\n'), QLatin1Char(' '));
        help.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
        help.replace(QLatin1Char('['), QLatin1String("\\["));
        help.replace(QLatin1Char(']'), QLatin1String("\\]"));
        help.replace(QLatin1Char('\''), QLatin1String("'\\''"));
        QString arg;
        if (o.argument) {
            QString label = QString::fromLatin1(o.argument);
            label.replace(QLatin1Char(':'), QLatin1String("\\:"));
            label.replace(QLatin1Char('\''), QLatin1String("'\\''"));
            const char* action = "";
            switch (o.completes) {
                case O::File: action = "_files"; break;
                case O::Directory: action = "_files -/"; break;
                case O::CommandPath: action = "_pixoral_paths"; break;
                case O::Control: action = "_pixoral_controls"; break;
                case O::Window: action = "_pixoral_windows"; break;
                case O::Shell: action = "(bash zsh)"; break;
                case O::Nothing: action = " "; break;
            }
            // An argument in brackets may be left out.
            const bool optional = label.startsWith(QLatin1Char('['));
            arg = QStringLiteral("%1%2:%3").arg(optional ? QStringLiteral("::") : QStringLiteral(":"), label,
                                                QString::fromLatin1(action));
        }
        s += QStringLiteral("    '*%1[%2]%3' \\\n").arg(QString::fromLatin1(o.name), help, arg);
    }
    s += QStringLiteral("    '*:image file:_files'\n");
    return s;
}

}  // namespace

const std::vector<CommandLineOption>& commandLineOptions() { return kOptions; }

const CommandLineOption* findOption(const QString& name) {
    for (const O& o : kOptions)
        if (name == QLatin1String(o.name)) return &o;
    return nullptr;
}

QString commandLineHelp() {
    QString s = QString::fromLatin1(kUsage) + QStringLiteral("\nOptions:\n");
    constexpr int kColumn = 24;
    for (const O& o : kOptions) {
        if (o.kind == O::Internal) continue;
        const QString left = QStringLiteral("  ") + leftColumn(o);
        const QStringList lines = QString::fromLatin1(o.help).split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size(); ++i) {
            if (i == 0 && left.size() < kColumn) s += left.leftJustified(kColumn) + lines[i] + QLatin1Char('\n');
            else {
                if (i == 0) s += left + QLatin1Char('\n');
                s += QString(kColumn, QLatin1Char(' ')) + lines[i] + QLatin1Char('\n');
            }
        }
    }
    s += QLatin1Char('\n') + QString::fromLatin1(kAnswersAndStatus) + QStringLiteral("\nExit status: ") +
         QString::fromLatin1(kExitStatus);
    return s;
}

QString manPage(const std::vector<CommandListing>& commands) {
    QString s;
    s += QStringLiteral(".TH PIXORAL 1 \"\" \"Pixoral %1\" \"User Commands\"\n").arg(QStringLiteral(PIXORAL_VERSION));
    s += QStringLiteral(".SH NAME\npixoral \\- raster paint program\n");
    s += QStringLiteral(".SH SYNOPSIS\n.B pixoral\n.RI [ FILE ]\n.br\n.B pixoral \\-\\-batch\n.IR ACTION ...\n"
                        ".br\n.B pixoral\n.RB [ \\-\\-batch ]\n.RI [ ACTION ...]\n.B \\-\\-each\n.IR FILE ...\n"
                        ".IR ACTION ...\n");
    s += QStringLiteral(".SH DESCRIPTION\n") + roff(QString::fromLatin1(kUsage).section(QLatin1Char('\n'), 4)) +
         QLatin1Char('\n');
    s += QStringLiteral(".SH OPTIONS\n");
    for (const O& o : kOptions) {
        if (o.kind == O::Internal) continue;
        const QString name = roff(QString::fromLatin1(o.name));
        if (o.argument) s += QStringLiteral(".TP\n.BI \"%1 \" \"%2\"\n").arg(name, roff(QString::fromLatin1(o.argument)));
        else s += QStringLiteral(".TP\n.B %1\n").arg(name);
        s += roff(QString::fromLatin1(o.help)) + QLatin1Char('\n');
    }
    s += QStringLiteral(".SH ANSWERS AND MESSAGES\n") + roff(QString::fromLatin1(kAnswersAndStatus)) + QLatin1Char('\n');
    s += QStringLiteral(".SH COMMANDS\nThe paths \\fB\\-\\-do\\fR takes, with the prompts each asks in order; "
                        "(disabled) marks one not available on a fresh start.\n");
    for (const CommandListing& c : commands) {
        s += QStringLiteral(".TP\n.B \"%1\"\n").arg(roff(c.path).replace(QLatin1Char('"'), QLatin1String("\\(dq")));
        QString what = c.enabled ? QString() : QStringLiteral("(disabled) ");
        s += roff(what + c.prompts) + QLatin1Char('\n');
    }
    s += QStringLiteral(".SH EXIT STATUS\n") + roff(QString::fromLatin1(kExitStatus)) + QLatin1Char('\n');
    s += QStringLiteral(".SH FILES\nThe program folder (the executable's folder when it is writable, otherwise the "
                        "per-user data folder) holds pixoral.ini, patterns.bmp, the script library PixoralLib.tip and "
                        "the preset files.\n");
    return s;
}

QString completionScript(const QString& shell) {
    if (shell == QLatin1String("bash")) return bashScript();
    if (shell == QLatin1String("zsh")) return zshScript();
    return QString();
}

}  // namespace pixoral
