#include "PrinterSurface.h"
#include "VbError.h"
#include <QPageLayout>
#include <QPageSize>

namespace {
[[noreturn]] void PrinterError()
{
    throw VbError(482, QStringLiteral("Druckerfehler"));
}
}

PrinterSurface::PrinterSurface(const QString& pdfFile)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Landscape);
    if (!pdfFile.isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfFile);
        fileWithoutMargins();
    }
    printer_->setFullPage(false);
}

void PrinterSurface::fileWithoutMargins()
{
    // A file has no unprintable edge: the printable area is the whole sheet.
    if (printer_->outputFormat() == QPrinter::PdfFormat)
        printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

PrinterSurface::~PrinterSurface()
{
    if (sheetPainter_.isActive())
        sheetPainter_.end();
    if (document_.isActive())
        document_.end();
}

double PrinterSurface::Width() const
{
    return printer_->pageLayout().fullRect(QPageLayout::Millimeter).width() * TwipsPerMm;
}

double PrinterSurface::Height() const
{
    return printer_->pageLayout().fullRect(QPageLayout::Millimeter).height() * TwipsPerMm;
}

QSizeF PrinterSurface::devicePixels() const
{
    return printer_->pageLayout().paintRectPixels(printer_->resolution()).size();
}

void PrinterSurface::paint(const std::function<void(QPainter&)>& f)
{
    if (!sheetPainter_.isActive()) {
        sheet_ = QPicture();
        if (!sheetPainter_.begin(&sheet_))
            PrinterError();
    }
    f(sheetPainter_);
}

void PrinterSurface::EndDoc()
{
    if (!sheetPainter_.isActive())
        return;   // nothing drawn: no sheet
    sheetPainter_.end();
    if (document_.isActive()) {
        if (!printer_->newPage())
            PrinterError();
    } else if (!document_.begin(printer_.get())) {
        PrinterError();
    }
    // A picture plays itself scaled from its own resolution to the device's; it was
    // drawn in the printer's pixels already.
    document_.save();
    document_.scale(double(sheet_.logicalDpiX()) / printer_->logicalDpiX(),
                    double(sheet_.logicalDpiY()) / printer_->logicalDpiY());
    document_.drawPicture(0, 0, sheet_);
    document_.restore();
    sheet_ = QPicture();
    if (!run_)
        endDocument();
}

void PrinterSurface::KillDoc()
{
    if (sheetPainter_.isActive())
        sheetPainter_.end();
    sheet_ = QPicture();
}

void PrinterSurface::BeginRun()
{
    fileWithoutMargins();   // the print dialog may have chosen a file
    run_ = true;
}

void PrinterSurface::EndRun()
{
    run_ = false;
    if (document_.isActive())
        endDocument();
}

void PrinterSurface::endDocument()
{
    if (!document_.end())
        PrinterError();
}

PrintRun::~PrintRun()
{
    if (ended_)
        return;
    try {
        printer_.EndRun();
    } catch (const VbError&) {
        // Left through an error already reported: the document is closed as it stands.
    }
}

void PrintRun::End()
{
    ended_ = true;
    printer_.EndRun();
}
