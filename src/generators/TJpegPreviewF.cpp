#include "generators/TJpegPreviewF.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

#include "files/ImageFile.h"
#include "generators/JpegPreview.h"
#include "ui/PictureView.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::generators {

namespace {
const QString kSizeCaption = QStringLiteral("Size=");
}  // namespace

TJpegPreviewF::TJpegPreviewF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), host_(host) {
    setObjectName(QStringLiteral("TJpegPreviewF"));
    setWindowTitle(QStringLiteral("JPEG Preview"));
    buildControls();
}

TJpegPreviewF::~TJpegPreviewF() {
    // Nothing may reach the owner while the window's own parts go away.
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TJpegPreviewF::buildControls() {
    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(6);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    jpg = new PictureView(ScrollBox1);
    jpg->setObjectName(QStringLiteral("jpg"));
    ScrollBox1->setWidget(jpg);
    ScrollBox1->setMinimumSize(PictureView::kEmptySide + 4, PictureView::kEmptySide + 4);
    outer->addWidget(ScrollBox1, 1);

    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    outer->addLayout(column);

    lblquality = new QLabel(QStringLiteral("Quality"), this);
    lblquality->setObjectName(QStringLiteral("lblquality"));
    column->addWidget(lblquality);
    Quality = new QSpinBox(this);
    Quality->setObjectName(QStringLiteral("Quality"));
    Quality->setRange(kJpegQualityMin, kJpegQualityMax);
    Quality->setValue(kJpegPreviewQuality);
    Quality->setToolTip(QStringLiteral("JPEG quality, 1 (smallest) to 100 (best)"));
    lblquality->setBuddy(Quality);
    column->addWidget(Quality);

    jpgGray = new QCheckBox(QStringLiteral("Grayscale"), this);
    jpgGray->setObjectName(QStringLiteral("jpgGray"));
    jpgGray->setToolTip(QStringLiteral("Show compresses to grey (Save always writes colour)"));
    column->addWidget(jpgGray);

    auto button = [&](QPushButton*& b, const char* name, const char* text, const char* tip,
                      void (TJpegPreviewF::*handler)()) {
        b = new QPushButton(QString::fromLatin1(text), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(tip));
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        column->addWidget(b);
    };
    button(jpegShow, "jpegShow", "Show", "Compress the image and show the result", &TJpegPreviewF::jpegShowClick);
    button(jpegSave, "jpegSave", "Save", "Save the image as a JPEG file at this quality", &TJpegPreviewF::jpegSaveClick);
    button(jpegAssign, "jpegAssign", "Assign", "Assign to Drawing", &TJpegPreviewF::jpegAssignClick);

    jpegsize = new QLabel(kSizeCaption, this);
    jpegsize->setObjectName(QStringLiteral("jpegsize"));
    jpegsize->setMinimumWidth(90);
    column->addWidget(jpegsize);
    column->addStretch(1);

    resize(PictureView::kEmptySide + 130, PictureView::kEmptySide + 16);
}

void TJpegPreviewF::jpegShowClick() {
    JpegPreview result;
    QString error;
    if (!compressJpeg(host_.workspace(), Quality->value(), jpgGray->isChecked(), &result, &error)) {
        host_.fail(error);
        return;
    }
    jpegsize->setText(kSizeCaption + QString::number(result.stream.size()));
    preview_ = result.picture;
    jpg->setImage(preview_.toImage());
}

void TJpegPreviewF::jpegSaveClick() {
    const auto chosen = host_.dialogs().savePicture(QStringLiteral("Save JPEG"),
                                                    QStringLiteral("JPEG Files|*.jpg;*.jpeg"), 1);
    if (!chosen) return;
    ImageSaveOptions options;
    options.jpegQuality = Quality->value();
    options.jpegGrayscale = false;  // the greyscale check is for Show only
    QString error;
    if (saveImageFile(jpegSaveName(*chosen), host_.workspace(), options, &error) != FileResult::Done) {
        host_.fail(error.isEmpty() ? QStringLiteral("Cannot save the JPEG file.") : error);
        return;
    }
    jpegsize->setText(QStringLiteral("jpeg size"));
}

void TJpegPreviewF::jpegAssignClick() {
    if (!preview_.isEmpty()) host_.replaceWorkspace(preview_);
}

}  // namespace pixoral::generators
