#include "ui/PresetList.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QMenu>
#include <QToolButton>

#include "ui/Dialogs.h"

namespace pixoral {

PresetList::PresetList(PresetFile& file, Dialogs& dialogs, const PresetListSetup& setup, QWidget* parent)
    : QWidget(parent), file_(file), dialogs_(dialogs), setup_(setup) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);

    list_ = new QComboBox(this);
    list_->setObjectName(setup_.names.list);
    list_->setPlaceholderText(setup_.placeholder);
    list_->setToolTip(setup_.listToolTip);
    list_->setMinimumWidth(120);
    list_->installEventFilter(this);
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (syncing_ || i < 0) return;
        justChanged_ = true;
        emit chosen(i);
    });
    connect(list_, &QComboBox::activated, this, [this](int i) {
        if (syncing_) return;
        if (justChanged_) {
            justChanged_ = false;
            return;
        }
        emit chosen(i);
    });
    row->addWidget(list_, 1);

    popup_ = new QMenu(this);
    popup_->setObjectName(setup_.names.popup);
    auto command = [this](QAction*& a, const QString& text, const QString& name, void (PresetList::*handler)()) {
        a = popup_->addAction(text);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    command(add_, setup_.addItem, setup_.names.add, &PresetList::addClick);
    command(delete_, setup_.deleteItem, setup_.names.remove, &PresetList::deleteClick);
    command(update_, setup_.updateItem, setup_.names.update, &PresetList::updateClick);
    // The same commands on a right click on the list and behind a button beside it.
    list_->setContextMenuPolicy(Qt::ActionsContextMenu);
    list_->addActions(commands());
    menuButton_ = new QToolButton(this);
    menuButton_->setObjectName(setup_.names.menuButton);
    menuButton_->setText(setup_.menuButtonText);
    menuButton_->setToolTip(setup_.menuButtonToolTip);
    menuButton_->setMenu(popup_);
    menuButton_->setPopupMode(QToolButton::InstantPopup);
    row->addWidget(menuButton_);

    refresh(-1);
}

PresetList::~PresetList() {
    // Nothing may reach the window while the widget's own parts go away.
    syncing_ = true;
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

QList<QAction*> PresetList::commands() const { return {add_, delete_, update_}; }

int PresetList::currentIndex() const { return list_->currentIndex(); }

void PresetList::refresh(int select) {
    syncing_ = true;
    list_->clear();
    list_->addItems(file_.names());
    list_->setCurrentIndex(select >= 0 && select < list_->count() ? select : -1);
    syncing_ = false;
}

void PresetList::say(const QString& text) {
    if (!text.isEmpty()) dialogs_.message(text);
}

void PresetList::report(const PresetFile::Edit& e, const QString& name) {
    using O = PresetFile::Outcome;
    switch (e.outcome) {
        case O::Done: say(e.writeError); break;
        case O::NameHasEquals: say(setup_.nameHasEquals); break;
        case O::NameNotOneLine: say(setup_.nameNotOneLine); break;
        case O::ValueNotOneLine: say(setup_.valueNotOneLine); break;
        case O::Duplicate:
            say(setup_.duplicateName.contains(QLatin1String("%1")) ? setup_.duplicateName.arg(name.trimmed())
                                                                    : setup_.duplicateName);
            break;
        case O::EmptyName:  // the user changed their mind
        case O::NoSuchEntry: break;
    }
}

std::optional<QString> PresetList::valuesToStore() {
    std::optional<QString> v = currentValues ? currentValues() : QString();
    if (!v) say(setup_.valueRefused);
    return v;
}

void PresetList::addClick() {
    const std::optional<QString> values = valuesToStore();
    if (!values) return;
    const QString name = dialogs_.inputBox(setup_.caption, setup_.prompt, QString());
    const PresetFile::Edit e = file_.add(name, *values);
    if (e.changed()) refresh(e.index);
    report(e, name);
}

void PresetList::deleteClick() {
    const int i = currentIndex();
    if (i < 0) return;
    const PresetFile::Edit e = file_.remove(i);
    if (e.changed()) refresh(-1);
    report(e, QString());
}

void PresetList::updateClick() {
    const int i = currentIndex();
    if (i < 0 || i >= file_.count()) {
        say(setup_.noSelection);
        return;
    }
    const std::optional<QString> values = valuesToStore();
    if (!values) return;
    const QString name = dialogs_.inputBox(setup_.caption, setup_.prompt, file_.name(i));
    const PresetFile::Edit e = file_.update(i, name, *values);
    if (e.changed()) refresh(e.index);
    report(e, name);
}

bool PresetList::eventFilter(QObject* watched, QEvent* e) {
    // A new press or key starts a new pick: forget the index change of the last one.
    if (watched == list_ && (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::KeyPress))
        justChanged_ = false;
    return QWidget::eventFilter(watched, e);
}

}  // namespace pixoral
