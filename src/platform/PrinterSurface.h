#pragma once
// The printer page: A4 landscape, scale in millimetres from the top-left corner of
// the printable area (the whole sheet in a PDF file), to a printer or to a PDF file.
// The document is open from the first drawing until EndDoc (printed) or KillDoc
// (discarded).
#include "PainterSurface.h"
#include <QPainter>
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
    void NewPage();
    void EndDoc();
    void KillDoc();

protected:
    QSizeF devicePixels() const override;
    double dpiX() const override { return printer_->resolution(); }
    double dpiY() const override { return printer_->resolution(); }
    void paint(const std::function<void(QPainter&)>& f) override;
    QPaintDevice* metricsDevice() const override { return printer_.get(); }

private:
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
};
