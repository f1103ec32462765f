#include "files/TPaintPreviewF.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSaveFile>
#include <QScrollArea>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "files/PrintPage.h"
#include "ui/PictureView.h"
#include "ui/WorkspaceHost.h"

namespace pixoral::files {

TPaintPreviewF::TPaintPreviewF(WorkspaceHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), host_(host), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName(QStringLiteral("TPaintPreviewF"));
    setWindowTitle(QStringLiteral("Pixoral Preview"));
    setWindowModality(Qt::ApplicationModal);
    buildControls();
    setPrintTarget(QPrinterInfo::availablePrinters().isEmpty() ? PrintTarget::PdfFile : PrintTarget::Printer);
}

TPaintPreviewF::~TPaintPreviewF() {
    // Nothing may reach the owner while the window's own parts go away.
    for (QObject* c : findChildren<QObject*>()) c->disconnect(this);
}

void TPaintPreviewF::buildControls() {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("Panel1"));
    top->setFixedHeight(41);
    auto* row = new QHBoxLayout(top);
    row->setContentsMargins(6, 4, 6, 4);
    row->setSpacing(6);
    outer->addWidget(top);

    auto speed = [&](QToolButton*& b, const char* name, const char* text, const char* tip, void (TPaintPreviewF::*handler)()) {
        b = new QToolButton(top);
        b->setObjectName(QString::fromLatin1(name));
        b->setText(QString::fromLatin1(text));
        b->setToolTip(QString::fromLatin1(tip));
        b->setFixedSize(28, 28);
        connect(b, &QToolButton::clicked, this, [this, handler] { (this->*handler)(); });
        row->addWidget(b);
    };
    speed(goplus, "goplus", "+", "Print larger (double the scale)", &TPaintPreviewF::goplusClick);
    speed(gominus, "gominus", "-", "Print smaller (halve the scale)", &TPaintPreviewF::gominusClick);
    Label1 = new QLabel(top);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setMinimumWidth(40);
    Label1->setToolTip(QStringLiteral("Printer pixels per image pixel"));
    row->addWidget(Label1);

    auto button = [&](QPushButton*& b, const char* name, const char* text, QStyle::StandardPixmap icon, const char* tip,
                      void (TPaintPreviewF::*handler)()) {
        b = new QPushButton(style()->standardIcon(icon), QString::fromLatin1(text), top);
        b->setObjectName(QString::fromLatin1(name));
        b->setToolTip(QString::fromLatin1(tip));
        connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        row->addWidget(b);
    };
    button(gosetup, "gosetup", "Setup...", QStyle::SP_FileDialogDetailedView, "Printer setup", &TPaintPreviewF::gosetupClick);
    button(goprint, "goprint", "Print", QStyle::SP_DialogApplyButton, "Print the image", &TPaintPreviewF::goprintClick);
    button(goclose, "goclose", "Close", QStyle::SP_DialogCloseButton, "Close the preview", &TPaintPreviewF::gocloseClick);
    row->addStretch(1);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    auto* holder = new QWidget;
    auto* at = new QVBoxLayout(holder);
    at->setContentsMargins(16, 16, 16, 16);  // the page sits at (16, 16)
    at->setSizeConstraint(QLayout::SetFixedSize);
    Image1 = new PictureView(holder);
    Image1->setObjectName(QStringLiteral("Image1"));
    at->addWidget(Image1);
    ScrollBox1->setWidget(holder);
    outer->addWidget(ScrollBox1, 1);
    resize(sizeHint());
}

void TPaintPreviewF::setPrintTarget(PrintTarget target) {
    target_ = target;
    if (target == PrintTarget::PdfFile) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setResolution(kPdfResolution);
        // The picture keeps its own margin; a PDF page has no edge a printer cannot reach.
        printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    } else {
        printer_->setOutputFormat(QPrinter::NativeFormat);
    }
}

void TPaintPreviewF::drawPreview() {
    Label1->setText(QString::number(scale_));
    page_ = previewPage(printer_->pageRect(QPrinter::DevicePixel).size().toSize(), host_.workspace().toImage(), scale_);
    Image1->setImage(page_);
}

void TPaintPreviewF::Print1Click() {
    if (host_.workspace().isEmpty()) return;
    scale_ = kPrintScaleStart;
    drawPreview();
    show();
    raise();
    activateWindow();
}

void TPaintPreviewF::goplusClick() {
    scale_ = doubledPrintScale(scale_);
    drawPreview();
}

void TPaintPreviewF::gominusClick() {
    scale_ = halvedPrintScale(scale_);
    drawPreview();
}

void TPaintPreviewF::gosetupClick() {
    if (host_.dialogs().printerSetup(*printer_)) drawPreview();
}

void TPaintPreviewF::gocloseClick() { close(); }

void TPaintPreviewF::goprintClick() {
    if (target_ == PrintTarget::PdfFile) printToPdf();
    else printToPrinter();
}

bool TPaintPreviewF::printToPrinter() {
    QPainter painter;
    if (!painter.begin(printer_.get())) {
        host_.fail(QStringLiteral("The printer \"%1\" cannot start the print job.").arg(printer_->printerName()));
        return false;
    }
    const Bitmap& image = host_.workspace();
    drawPrintPicture(painter, image.toImage(), printRect(image.width(), image.height(), scale_));
    if (!painter.end()) {
        host_.fail(QStringLiteral("The print job on \"%1\" failed.").arg(printer_->printerName()));
        return false;
    }
    return true;
}

bool TPaintPreviewF::printToPdf() {
    auto chosen = host_.dialogs().saveFile(QStringLiteral("Print to PDF File"), QStringLiteral("PDF Files|*.pdf"));
    if (!chosen) return false;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    const QString name = QFileInfo(path).fileName();
    // Written beside the old file and renamed over it, so a failed print leaves it whole.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        host_.fail(QStringLiteral("Cannot print to \"%1\": %2.").arg(name, file.errorString()));
        return false;
    }
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Pixoral"));
    writer.setResolution(printer_->resolution());
    writer.setPageLayout(printer_->pageLayout());
    QPainter painter;
    if (!painter.begin(&writer)) {
        file.cancelWriting();
        host_.fail(QStringLiteral("Cannot print to \"%1\".").arg(name));
        return false;
    }
    const Bitmap& image = host_.workspace();
    drawPrintPicture(painter, image.toImage(), printRect(image.width(), image.height(), scale_));
    painter.end();
    if (!file.commit()) {
        host_.fail(QStringLiteral("Cannot print to \"%1\": %2.").arg(name, file.errorString()));
        return false;
    }
    return true;
}

}  // namespace pixoral::files
