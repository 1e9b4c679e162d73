#pragma once
// The printer page: A4 landscape, scale in millimetres from the top-left corner of
// the printable area (the whole sheet in a PDF file), to a printer or to a PDF file.
// A sheet is drawn from its first drawing until EndDoc (printed) or KillDoc
// (discarded). It is kept until then, so a discarded sheet leaves nothing on paper
// or in the file. Each printed sheet is a document of its own, except while a print
// run is open: then the sheets go into one document (one job, one file with a sheet
// per page), which the run's end closes. A PDF file is written under a temporary name
// beside it and takes its name only when it is complete: a file that cannot be
// written (a full disk, a read-only folder) is error 482 with its cause, and leaves
// neither a broken file nor a changed one behind.
#include "PainterSurface.h"
#include <QPainter>
#include <QPicture>
#include <QPrinter>
#include <memory>

class PrinterSurface : public PainterSurface {
public:
    // An empty pdfFile prints on the default printer.
    explicit PrinterSurface(const QString& pdfFile = QString());
    ~PrinterSurface() override;

    SurfaceKind kind() const override { return SurfaceKind::Printer; }
    QString Name() const override { return QStringLiteral("Printer"); }
    // The paper size in twips (A4 landscape: 297 x 210 mm).
    double Width() const override;
    double Height() const override;
    double pixelsPerInchY() const override { return dpiY(); }

    // The printer, for the print dialog to configure before the first drawing.
    QPrinter& printer() { return *printer_; }
    // The sheet drawn goes to the printer; a printer or file that cannot take it is
    // error 482.
    void EndDoc();
    void KillDoc();
    // Opens and closes a print run (see above). The run prints on the printer as it is
    // set up when it opens; a PDF file that cannot be made is error 482 here.
    void BeginRun();
    void EndRun();

protected:
    QSizeF devicePixels() const override;
    double dpiX() const override { return printer_->resolution(); }
    double dpiY() const override { return printer_->resolution(); }
    void paint(const std::function<void(QPainter&)>& f) override;
    QPaintDevice* metricsDevice() const override { return printer_.get(); }

private:
    struct PdfFile;
    void fileWithoutMargins();
    // The device the document is drawn on: the printer, or the PDF file it names.
    QPaintDevice* documentDevice();
    void endDocument();

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<PdfFile> pdf_;
    QPicture sheet_;
    QPainter sheetPainter_;
    QPainter document_;
    bool run_ = false;
};

// A print run for the life of the object; End closes it where a failure can be
// reported, the destructor otherwise.
class PrintRun {
public:
    explicit PrintRun(PrinterSurface& printer) : printer_(printer) { printer_.BeginRun(); }
    ~PrintRun();
    PrintRun(const PrintRun&) = delete;
    PrintRun& operator=(const PrintRun&) = delete;
    void End();

private:
    PrinterSurface& printer_;
    bool ended_ = false;
};
