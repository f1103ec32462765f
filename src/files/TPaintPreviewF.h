#pragma once
// The print preview ("Pixoral Preview"): the printer page at one fifth with the workspace
// picture at its top-left, "+" and "-" to double or halve the print scale, printer set-up,
// print and close. The layout and the drawing are PrintPage's; this window holds the printer
// and the scale.
//
// Printing always does something real: where the system has no printer (or the target is set
// to PDF), the page goes to a PDF file whose name the save dialog asks for.
#include <QImage>
#include <QWidget>
#include <memory>

class QLabel;
class QPrinter;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace pixoral {
class PictureView;
class WorkspaceHost;
}

namespace pixoral::files {

class TPaintPreviewF : public QWidget {
    Q_OBJECT
public:
    enum class PrintTarget { Printer, PdfFile };
    // Printer PDF files are made at this resolution (printer pixels per inch).
    static constexpr int kPdfResolution = 300;

    // The host must outlive the window. The target starts as the system printer when there is
    // one, else a PDF file.
    explicit TPaintPreviewF(WorkspaceHost& host, QWidget* parent = nullptr);
    ~TPaintPreviewF() override;

    void setPrintTarget(PrintTarget target);
    PrintTarget printTarget() const { return target_; }
    int scale() const { return scale_; }
    // The preview page as last drawn.
    const QImage& page() const { return page_; }
    // The window opens 651 by 498, whatever the page inside it.
    QSize sizeHint() const override { return QSize(651, 498); }

    // ---- handlers ----
    // File > Print...: scale 2, the page taken from the printer, the preview drawn, the window
    // shown modal (without blocking the caller). Nothing happens for an empty workspace.
    void Print1Click();
    void goplusClick();
    void gominusClick();
    // The printer set-up dialog; the preview follows the page it leaves.
    void gosetupClick();
    // Prints the workspace at the scale; the window stays open. A job that cannot start or
    // finish is reported.
    void goprintClick();
    void gocloseClick();

private:
    void buildControls();
    void drawPreview();
    bool printToPdf();
    bool printToPrinter();

    WorkspaceHost& host_;
    std::unique_ptr<QPrinter> printer_;
    PrintTarget target_ = PrintTarget::PdfFile;
    int scale_ = 2;
    QImage page_;

    QToolButton* goplus = nullptr;
    QToolButton* gominus = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* gosetup = nullptr;
    QPushButton* goprint = nullptr;
    QPushButton* goclose = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    PictureView* Image1 = nullptr;
};

}  // namespace pixoral::files
