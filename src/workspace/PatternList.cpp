#include "workspace/PatternList.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include "files/ImageFile.h"
#include "workspace/Commands.h"
#include "workspace/PatternLibrary.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

// Owner drawing: every item shows its pattern instead of its number.
class PatListDelegate : public QStyledItemDelegate {
public:
    PatListDelegate(const PatternList& list, QObject* parent) : QStyledItemDelegate(parent), list_(list) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        list_.PatListDrawItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {25, 16}; }

private:
    const PatternList& list_;
};

QString patternFilePath(const QString& folder) { return folder + QStringLiteral("patterns.bmp"); }

}  // namespace

PatternList::PatternList(TPixoralF& window, QListWidget* list) : w_(window), PatList(list) {
    PatList->setItemDelegate(new PatListDelegate(*this, PatList));
    PatList->setSelectionMode(QAbstractItemView::SingleSelection);
    // No keyboard focus: focus would make item 0 current without anyone choosing it.
    PatList->setFocusPolicy(Qt::NoFocus);
    PatList->setUniformItemSizes(true);
    // The whole 25 pixels go to the patterns.
    PatList->setFrameShape(QFrame::NoFrame);
    PatList->setCurrentRow(-1);
    // A click selects even the item already current (the brush may have changed since);
    // a change of the current row (a right-click, batch mode) selects as well.
    QObject::connect(PatList, &QListWidget::itemClicked, PatList, [this] { PatListClick(); });
    QObject::connect(PatList, &QListWidget::currentRowChanged, PatList, [this] { PatListClick(); });

    auto* patpopup = new QMenu(PatList);
    patpopup->setObjectName(QStringLiteral("patpopup"));
    auto* update = patpopup->addAction(QStringLiteral("Update"));
    update->setObjectName(QStringLiteral("UpdatePattern1"));
    QObject::connect(update, &QAction::triggered, PatList, [this] { UpdatePattern1Click(); });
    auto* edit = patpopup->addAction(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("EditPattern1"));
    QObject::connect(edit, &QAction::triggered, PatList, [this] { EditPattern1Click(); });
    PatList->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(PatList, &QWidget::customContextMenuRequested, PatList,
                     [this, patpopup](const QPoint& at) { patpopup->popup(PatList->viewport()->mapToGlobal(at)); });
    load();
}

void PatternList::load() {
    strip_ = emptyPatternStrip();
    brushPattern_ = Bitmap(kPatternSide, kPatternSide, PixelFormat::pf4bit);
    changed_ = false;
    fileUnreadable_ = false;
    if (w_.programFolder().isEmpty()) return;
    const QString path = patternFilePath(w_.programFolder());
    // A missing strip is normal in a fresh folder; start with empty patterns.
    if (!QFileInfo::exists(path)) return;
    Bitmap loaded;
    QString err;
    if (loadPatternStrip(path, &loaded, &err)) {
        strip_ = loaded;
    } else {
        fileUnreadable_ = true;
        w_.dialogs().message(QStringLiteral("%1. The pattern list starts empty.").arg(err));
    }
    if (PatList) PatList->viewport()->update();
}

void PatternList::store() {
    if (!changed_ || w_.programFolder().isEmpty()) return;
    const QString path = patternFilePath(w_.programFolder());
    // A strip that could not be read is kept aside rather than lost under the new one.
    QString err;
    if (savePatternStrip(path, strip_, fileUnreadable_, &err)) {
        changed_ = false;
        fileUnreadable_ = false;
    } else {
        w_.dialogs().message(err);
    }
}

void PatternList::PatListDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) const {
    if (index < 0 || index >= kPatternCount) return;
    const Bitmap cell = patternFromStrip(strip_, index);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, cell.toImage());
    if (selected) {
        // A two-colour frame shows on any pattern.
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::black, 1));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(rect.adjusted(1, 1, -2, -2));
    }
    painter.restore();
}

void PatternList::select(int n) {
    brushPattern_ = patternFromStrip(strip_, n);
    // Cleared first, so the brush takes the new content rather than keeping the old one.
    w_.canvas().brush().setBitmap(nullptr);
    w_.canvas().brush().setBitmap(std::make_shared<const Bitmap>(brushPattern_));
}

void PatternList::PatListClick() {
    const int n = PatList->currentRow();
    if (n < 0 || n >= kPatternCount) return;
    select(n);
}

void PatternList::UpdatePattern1Click() {
    const int n = PatList->currentRow();
    if (n < 0 || n >= kPatternCount) return;
    putPatternInStrip(strip_, n, samplePattern(w_.workspace()));
    changed_ = true;
    if (QListWidgetItem* item = PatList->item(n)) item->setText(QString::number(n));
    PatList->viewport()->update();
    select(n);
}

void PatternList::EditPattern1Click() {
    const std::shared_ptr<const Bitmap> pattern = w_.canvas().brush().bitmap();
    if (!pattern) return;
    w_.canvas().stretchDraw(Rect{0, 0, w_.workspace().width(), w_.workspace().height()}, *pattern);
    w_.repaintWorkspace();
}

namespace {

void SavePattern1Click(TPixoralF& w) {
    const auto path = w.dialogs().savePicture(QStringLiteral("Save Pattern"), savePictureFilter(), 2);
    if (!path) return;
    // Always a 4-bit bitmap file, whatever the name's extension.
    QString err;
    if (!reduceToPattern(w.workspace(), kPatternSide).saveToFile(*path, &err)) w.fail(err);
}

void OpenPattern1Click(TPixoralF& w) {
    const auto path = w.dialogs().openPicture(QStringLiteral("Open Pattern"), openPictureFilter(), 5);
    if (!path) return;
    Bitmap picture;
    QString err;
    switch (readImageFile(*path, &picture, &err)) {
        case FileResult::Done:
            w.canvas().stretchDraw(Rect{0, 0, w.workspace().width(), w.workspace().height()}, picture);
            w.repaintWorkspace();
            break;
        case FileResult::Skipped:
            w.fail(QStringLiteral("Cannot open \"%1\": patterns are opened from .bmp, .gif, .jpg, .jpeg, .png, .ico, "
                                ".wmf and .emf files.")
                     .arg(QFileInfo(*path).fileName()));
            break;
        case FileResult::Failed: w.fail(err); break;
    }
}

}  // namespace

MenuEntry openPatternRow() { return rows::item("Open Pattern...", &OpenPattern1Click).named("OpenPattern1"); }
MenuEntry savePatternRow() { return rows::item("Save Pattern...", &SavePattern1Click).named("SavePattern1"); }

}  // namespace pixoral
