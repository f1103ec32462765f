#include "shell/Listings.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTextEdit>
#include <QWidget>
#include <climits>
#include <functional>

#include "ui/ColorGrid.h"
#include "workspace/Commands.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

QString shown(QString caption) { return caption.remove(QLatin1Char('&')); }

QString number(double v) { return QString::number(v, 'g', 10); }

QString refusedWord(NumberPrompt::Refused r, double fallback) {
    switch (r) {
        case NumberPrompt::Refused::Keep: return QStringLiteral("keeps the value");
        case NumberPrompt::Refused::Fallback: return QStringLiteral("gives %1").arg(number(fallback));
        case NumberPrompt::Refused::Clamp: return QStringLiteral("takes the nearest bound");
    }
    return QString();
}

// What a row does besides prompting; the prompts of handler rows live in code, not in the table.
QString describeRow(const MenuEntry& e) {
    if (!e.isBuilt()) return QStringLiteral("not built yet");
    QStringList parts;
    if (e.prompt) parts << describePrompt(*e.prompt);
    if (e.handler) parts << QStringLiteral("prompts not declared (its handler asks what it needs, if anything)");
    if (e.toggles) parts << QStringLiteral("toggles a setting; no prompt");
    if (!e.mode.isEmpty()) parts << QStringLiteral("selects the drawing mode \"%1\"; no prompt").arg(e.mode);
    if (e.effect && !e.prompt) parts << QStringLiteral("no prompt");
    return parts.join(QStringLiteral("; "));
}

void walkMenu(const MenuEntry& menu, const QString& path, const std::function<void(const QString&, const MenuEntry&)>& visit) {
    for (const MenuEntry& e : menu.children) {
        if (e.isSeparator()) continue;
        const QString p = path + QLatin1Char('>') + shown(e.caption);
        if (e.isSubmenu()) walkMenu(e, p, visit);
        else visit(p, e);
    }
}

QString className(const QObject* o) {
    QString n = QString::fromLatin1(o->metaObject()->className());
    return n.mid(n.lastIndexOf(QLatin1Char(':')) + 1);
}

// What --set or --press takes for a control, and its value now; empty for what neither reaches.
QString describeControl(QObject* o) {
    if (auto* s = qobject_cast<QAbstractSlider*>(o)) return QStringLiteral("--set %1..%2\t%3").arg(s->minimum()).arg(s->maximum()).arg(s->value());
    if (auto* s = qobject_cast<QSpinBox*>(o)) return QStringLiteral("--set %1..%2\t%3").arg(s->minimum()).arg(s->maximum()).arg(s->value());
    if (auto* s = qobject_cast<QDoubleSpinBox*>(o))
        return QStringLiteral("--set %1..%2\t%3").arg(number(s->minimum()), number(s->maximum()), number(s->value()));
    if (auto* e = qobject_cast<QLineEdit*>(o)) return QStringLiteral("--set TEXT\t%1").arg(e->text());
    if (qobject_cast<QPlainTextEdit*>(o) || qobject_cast<QTextEdit*>(o)) return QStringLiteral("--set TEXT\t");
    if (auto* c = qobject_cast<QComboBox*>(o))
        return QStringLiteral("--set item -1..%1\t%2 %3").arg(c->count() - 1).arg(c->currentIndex()).arg(c->currentText());
    if (auto* l = qobject_cast<QListWidget*>(o)) return QStringLiteral("--set row -1..%1\t%2").arg(l->count() - 1).arg(l->currentRow());
    if (auto* g = qobject_cast<ColorGrid*>(o))
        return QStringLiteral("--set cell 0..%1[,right]\t%2,%3").arg(ColorGrid::kColumns * ColorGrid::kRows - 1).arg(g->foregroundIndex()).arg(g->backgroundIndex());
    if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        if (b->isCheckable()) return QStringLiteral("--set 0|1, --press\t%1").arg(b->isChecked() ? 1 : 0);
        return QStringLiteral("--press\t");
    }
    if (auto* a = qobject_cast<QAction*>(o)) return a->isCheckable() ? QStringLiteral("--press\t%1").arg(a->isChecked() ? 1 : 0) : QStringLiteral("--press\t");
    return QString();
}

QWidget* topLevel(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->inherits("QMenu") && (w->objectName() == name || className(w) == name)) return w;
    return nullptr;
}

}  // namespace

QString describePrompt(const PromptRow& p) {
    if (p.kind == PromptRow::Kind::Color) return QStringLiteral("asks for a colour (colour dialog; :cancel stops the command)");
    const NumberPrompt& n = p.number;
    QString s = QStringLiteral("asks \"%1\" / \"%2\": ").arg(n.caption, n.text);
    const QString kind = n.integer ? QStringLiteral("an integer") : QStringLiteral("a number");
    const bool anyLo = n.lo <= INT_MIN, anyHi = n.hi >= INT_MAX && !p.upperBound;
    const QString hi = p.upperBound ? QStringLiteral("a bound taken from the image") : number(n.hi);
    if (anyLo && anyHi) s += kind;
    else if (anyHi) s += QStringLiteral("%1 from %2").arg(kind, number(n.lo));
    else if (anyLo) s += QStringLiteral("%1 %2 %3").arg(kind, n.hiExclusive ? QStringLiteral("below") : QStringLiteral("up to"), hi);
    else s += QStringLiteral("%1 from %2 to %3%4").arg(kind, number(n.lo), hi, n.hiExclusive ? QStringLiteral(" (exclusive)") : QString());
    s += QStringLiteral("; not a number %1").arg(refusedWord(n.notNumber, n.fallback));
    if (!(anyLo && anyHi)) s += QStringLiteral(", out of range %1").arg(refusedWord(n.outOfRange, n.fallback));
    if (!n.message.isEmpty()) s += QStringLiteral(" with the message \"%1\"").arg(n.message);
    return s;
}

std::vector<CommandListing> listCommands(TPixoralF& window) {
    std::vector<CommandListing> out;
    auto add = [&](const QString& path, const QString& prompts) {
        const QAction* a = window.actionForPath(path);
        out.push_back({path, a && a->isEnabled(), prompts});
    };
    for (const MenuEntry& top : menuBarTable())
        walkMenu(top, shown(top.caption), [&](const QString& p, const MenuEntry& e) { add(p, describeRow(e)); });
    for (const ToolButtonEntry& t : toolBarTable()) {
        const QString path = QStringLiteral("Toolbar>") + t.hint;
        if (!t.pressOpensMenu) {
            QString what = t.handler ? QStringLiteral("prompts not declared (its handler asks what it needs, if anything)")
                                     : QStringLiteral("selects a drawing mode; no prompt");
            add(path, what);
        }
        MenuEntry holder;
        holder.children = t.menu;
        walkMenu(holder, path, [&](const QString& p, const MenuEntry& e) { add(p, describeRow(e)); });
    }
    return out;
}

QString commandListingText(const std::vector<CommandListing>& commands) {
    QString s;
    for (const CommandListing& c : commands)
        s += c.path + QLatin1Char('\t') + (c.enabled ? QStringLiteral("enabled") : QStringLiteral("disabled")) +
             QLatin1Char('\t') + c.prompts + QLatin1Char('\n');
    return s;
}

QStringList windowNames() {
    QStringList names;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->inherits("QMenu") && !w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            names << w->objectName();
    names.sort();
    names.removeDuplicates();
    return names;
}

QString controlListingText(const QString& window, QString& error) {
    QWidget* top = topLevel(window);
    if (!top) {
        error = QStringLiteral("no window %1 (windows: %2)").arg(window, windowNames().join(QStringLiteral(", ")));
        return QString();
    }
    // The lookup --set and --press use finds the first object of a name, so each name once.
    QStringList seen;
    QString s;
    for (QObject* o : top->findChildren<QObject*>()) {
        const QString name = o->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || seen.contains(name)) continue;
        const QString what = describeControl(o);
        if (what.isEmpty()) continue;
        seen << name;
        const auto* w = qobject_cast<QWidget*>(o);
        const auto* a = qobject_cast<QAction*>(o);
        const bool enabled = w ? w->isEnabled() : (a ? a->isEnabled() : true);
        s += name + QLatin1Char('\t') + what + (enabled ? QString() : QStringLiteral("\t(disabled)")) + QLatin1Char('\n');
    }
    return s;
}

}  // namespace pixoral
