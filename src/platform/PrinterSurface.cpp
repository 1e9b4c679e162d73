#include "PrinterSurface.h"
#include "VbError.h"
#include <QFile>
#include <QPageLayout>
#include <QPageSize>

PrinterSurface::PrinterSurface(const QString& pdfFile)
    : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Landscape);
    if (!pdfFile.isEmpty()) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(pdfFile);
        // A file has no unprintable edge: the printable area is the whole sheet.
        printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    }
    printer_->setFullPage(false);
}

PrinterSurface::~PrinterSurface()
{
    if (painter_.isActive())
        painter_.end();
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
    if (!painter_.isActive() && !painter_.begin(printer_.get()))
        throw VbError(482, QStringLiteral("Druckerfehler"));
    f(painter_);
}

void PrinterSurface::NewPage()
{
    if (painter_.isActive())
        printer_->newPage();
}

void PrinterSurface::EndDoc()
{
    if (painter_.isActive())
        painter_.end();
}

void PrinterSurface::KillDoc()
{
    if (!painter_.isActive())
        return;
    printer_->abort();
    painter_.end();
    // A file holds the discarded sheet until it is removed.
    if (printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty())
        QFile::remove(printer_->outputFileName());
}
