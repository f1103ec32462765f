#include "workspace/PictureDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "canvas/Bitmap.h"
#include "files/ImageFile.h"

namespace pixoral {

namespace {

// Previews decode the whole file, so very large ones are only named.
constexpr qint64 kMaxPreviewBytes = 64LL << 20;
constexpr int kPreviewSide = 180;

void selectEntry(QFileDialog& dialog, const QStringList& filters, int filterIndex) {
    if (filterIndex >= 1 && filterIndex <= filters.size()) dialog.selectNameFilter(filters[filterIndex - 1]);
}

class PreviewPane : public QWidget {
public:
    explicit PreviewPane(QWidget* parent) : QWidget(parent) {
        setObjectName(QStringLiteral("PicturePreview"));
        auto* col = new QVBoxLayout(this);
        col->setContentsMargins(6, 0, 0, 0);
        picture_ = new QLabel(this);
        picture_->setFixedSize(kPreviewSide, kPreviewSide);
        picture_->setAlignment(Qt::AlignCenter);
        picture_->setFrameShape(QFrame::StyledPanel);
        caption_ = new QLabel(this);
        caption_->setAlignment(Qt::AlignCenter);
        caption_->setWordWrap(true);
        caption_->setFixedWidth(kPreviewSide);
        col->addWidget(picture_);
        col->addWidget(caption_);
        col->addStretch(1);
    }

    void show(const QString& path) {
        picture_->clear();
        caption_->clear();
        const QFileInfo fi(path);
        if (path.isEmpty() || !fi.isFile()) return;
        if (fi.size() > kMaxPreviewBytes) {
            caption_->setText(QStringLiteral("too large to preview"));
            return;
        }
        Bitmap b;
        QString error;
        const FileResult r = readImageFile(path, &b, &error);
        if (r != FileResult::Done) {
            caption_->setText(r == FileResult::Skipped ? QStringLiteral("no preview") : QStringLiteral("cannot be read"));
            return;
        }
        QImage img = b.toImage();
        if (img.width() > kPreviewSide || img.height() > kPreviewSide) {
            img = img.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        } else {
            // Small pictures (patterns, icons) are enlarged in whole pixels so they can be seen.
            const int factor = std::min(8, std::min(kPreviewSide / img.width(), kPreviewSide / img.height()));
            if (factor > 1) img = img.scaled(img.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        }
        picture_->setPixmap(QPixmap::fromImage(img));
        caption_->setText(QStringLiteral("%1 x %2").arg(b.width()).arg(b.height()));
    }

private:
    QLabel* picture_ = nullptr;
    QLabel* caption_ = nullptr;
};

}  // namespace


std::optional<QString> runOpenPictureDialog(QWidget* parent, const QString& caption, const QString& filter, int filterIndex) {
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("OpenPictureDialog1"));
    // The preview pane needs Qt's own dialog; native ones take no extra widgets.
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = qtNameFilters(filter);
    dialog.setNameFilters(filters);
    selectEntry(dialog, filters, filterIndex);
    auto* preview = new PreviewPane(&dialog);
    if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    else
        dialog.layout()->addWidget(preview);
    QObject::connect(&dialog, &QFileDialog::currentChanged, preview, [preview](const QString& p) { preview->show(p); });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> runSaveDialog(QWidget* parent, const QString& caption, const QString& filter, int filterIndex) {
    QFileDialog dialog(parent, caption);
    dialog.setObjectName(QStringLiteral("SaveDialog1"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = qtNameFilters(filter);
    dialog.setNameFilters(filters);
    selectEntry(dialog, filters, filterIndex);
    // No default extension: the name's own extension chooses the writer.
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

}  // namespace pixoral
