// The pattern list beside the workspace, its popup menu and File > Open/Save Pattern.
#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QStyledItemDelegate>

#include "files/ImageFile.h"
#include "workspace/PatternLibrary.h"
#include "workspace/TPixoralF.h"

namespace pixoral {

namespace {

// Owner drawing: every item shows its pattern instead of its number.
class PatListDelegate : public QStyledItemDelegate {
public:
    PatListDelegate(TPixoralF& window, QObject* parent) : QStyledItemDelegate(parent), window_(window) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        window_.PatListDrawItem(*painter, index.row(), option.rect, option.state & QStyle::State_Selected);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override { return {25, 16}; }

private:
    TPixoralF& window_;
};

QString patternFilePath(const QString& folder) { return folder + QStringLiteral("patterns.bmp"); }

}  // namespace

void TPixoralF::setUpPatList() {
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
    connect(PatList, &QListWidget::itemClicked, this, [this] { PatListClick(); });
    connect(PatList, &QListWidget::currentRowChanged, this, [this] { PatListClick(); });

    auto* patpopup = new QMenu(PatList);
    patpopup->setObjectName(QStringLiteral("patpopup"));
    auto* update = patpopup->addAction(QStringLiteral("Update"));
    update->setObjectName(QStringLiteral("UpdatePattern1"));
    connect(update, &QAction::triggered, this, [this] { UpdatePattern1Click(); });
    auto* edit = patpopup->addAction(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("EditPattern1"));
    connect(edit, &QAction::triggered, this, [this] { EditPattern1Click(); });
    PatList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PatList, &QWidget::customContextMenuRequested, this,
            [this, patpopup](const QPoint& at) { patpopup->popup(PatList->viewport()->mapToGlobal(at)); });
}

void TPixoralF::loadPatterns() {
    patternStrip_ = emptyPatternStrip();
    brushPattern_ = Bitmap(kPatternSide, kPatternSide, PixelFormat::pf4bit);
    patternsChanged_ = false;
    patternFileUnreadable_ = false;
    if (programFolder_.isEmpty()) return;
    const QString path = patternFilePath(programFolder_);
    // A missing strip is normal in a fresh folder; start with empty patterns.
    if (!QFileInfo::exists(path)) return;
    Bitmap loaded;
    QString err;
    if (loadPatternStrip(path, &loaded, &err)) {
        patternStrip_ = loaded;
    } else {
        patternFileUnreadable_ = true;
        dialogs().message(QStringLiteral("%1. The pattern list starts empty.").arg(err));
    }
    if (PatList) PatList->viewport()->update();
}

void TPixoralF::storePatterns() {
    if (!patternsChanged_ || programFolder_.isEmpty()) return;
    const QString path = patternFilePath(programFolder_);
    // A strip that could not be read is kept aside rather than lost under the new one.
    if (patternFileUnreadable_ && QFileInfo::exists(path)) {
        const QString aside = path + QStringLiteral(".bak");
        QFile::remove(aside);
        QFile::rename(path, aside);
    }
    QString err;
    if (patternStrip_.saveToFile(path, &err)) {
        patternsChanged_ = false;
        patternFileUnreadable_ = false;
    } else {
        dialogs().message(err);
    }
}

void TPixoralF::PatListDrawItem(QPainter& painter, int index, const QRect& rect, bool selected) {
    if (index < 0 || index >= kPatternCount) return;
    const Bitmap cell = patternFromStrip(patternStrip_, index);
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

void TPixoralF::selectPattern(int n) {
    brushPattern_ = patternFromStrip(patternStrip_, n);
    // Cleared first, so the brush takes the new content rather than keeping the old one.
    canvas().brush().setBitmap(nullptr);
    canvas().brush().setBitmap(std::make_shared<const Bitmap>(brushPattern_));
}

void TPixoralF::PatListClick() {
    const int n = PatList->currentRow();
    if (n < 0 || n >= kPatternCount) return;
    selectPattern(n);
}

void TPixoralF::UpdatePattern1Click() {
    const int n = PatList->currentRow();
    if (n < 0 || n >= kPatternCount) return;
    putPatternInStrip(patternStrip_, n, samplePattern(workspace_));
    patternsChanged_ = true;
    if (QListWidgetItem* item = PatList->item(n)) item->setText(QString::number(n));
    PatList->viewport()->update();
    selectPattern(n);
}

void TPixoralF::EditPattern1Click() {
    const std::shared_ptr<const Bitmap> pattern = canvas().brush().bitmap();
    if (!pattern) return;
    canvas().stretchDraw(Rect{0, 0, workspace_.width(), workspace_.height()}, *pattern);
    repaintWorkspace();
}

void TPixoralF::SavePattern1Click() {
    const auto path = dialogs().savePicture(QStringLiteral("Save Pattern"), saveFilter(), 2);
    if (!path) return;
    // Always a 4-bit bitmap file, whatever the name's extension.
    QString err;
    if (!reduceToPattern(workspace_, kPatternSide).saveToFile(*path, &err)) fail(err);
}

void TPixoralF::OpenPattern1Click() {
    const auto path = dialogs().openPicture(QStringLiteral("Open Pattern"), openFilter(), 5);
    if (!path) return;
    Bitmap picture;
    QString err;
    switch (readImageFile(*path, &picture, &err)) {
        case FileResult::Done:
            canvas().stretchDraw(Rect{0, 0, workspace_.width(), workspace_.height()}, picture);
            repaintWorkspace();
            break;
        case FileResult::Skipped:
            fail(QStringLiteral("Cannot open \"%1\": patterns are opened from .bmp, .gif, .jpg, .jpeg, .png, .ico, "
                                ".wmf and .emf files.")
                     .arg(QFileInfo(*path).fileName()));
            break;
        case FileResult::Failed: fail(err); break;
    }
}

}  // namespace pixoral
