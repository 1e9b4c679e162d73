#include "PrinterSurface.h"
#include "FileOps.h"
#include "Locale.h"
#include "VbError.h"
#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <cerrno>
#include <unistd.h>

namespace {
[[noreturn]] void PrinterError()
{
    throw VbError(482, QStringLiteral("Druckerfehler"));
}

// A new file that keeps the first failure of its writes, with the system's cause.
class CheckedFile : public QIODevice {
public:
    explicit CheckedFile(const QString& path)
    {
        fd_ = CreateNewFile(path, 0666);
        if (fd_ < 0)
            error_ = errno;
        else
            QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    ~CheckedFile() override { closeFile(); }
    int error() const { return error_; }
    void closeFile()
    {
        if (fd_ >= 0 && ::close(fd_) != 0 && error_ == 0)
            error_ = errno;
        fd_ = -1;
        QIODevice::close();
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 length) override
    {
        qint64 done = 0;
        while (error_ == 0 && done < length) {
            const ssize_t n = ::write(fd_, data + done, size_t(length - done));
            if (n < 0 && errno != EINTR)
                error_ = errno;
            else if (n > 0)
                done += n;
        }
        return error_ == 0 ? done : -1;
    }

private:
    int fd_ = -1;
    int error_ = 0;
};

[[noreturn]] void FileError(const QString& target, int systemError)
{
    throw VbError(482, ProgramText("Printer error: the file ", "Druckerfehler: Die Datei ") + target
                           + ProgramText(" cannot be written. ", " kann nicht geschrieben werden. ")
                           + WriteFailureText(systemError));
}

// The temporary name a print into target writes first, beside the file it replaces
// (the one a link names). What earlier prints into it left when cut short goes, once
// it is too old to be another run's print in progress.
QString PartialOfPrint(const QString& target)
{
    try {
        FileToReplace(target);
    } catch (const VbError&) {
        FileError(target, EACCES);   // the user may not write that file
    }
    RemoveLeftOverPartials(target);
    return PartialName(target);
}
}

// A PDF file of the printer's settings, written under a temporary name beside its own.
struct PrinterSurface::PdfFile {
    PdfFile(const QString& target, const QPrinter& printer)
        : target(target), partial(PartialOfPrint(target)), file(partial), writer(&file)
    {
        if (file.error())
            fail();
        writer.setResolution(printer.resolution());
        writer.setPdfVersion(printer.pdfVersion());
        writer.setCreator(printer.creator());
        writer.setTitle(printer.docName());
    }
    ~PdfFile()
    {
        if (!done)
            QFile::remove(partial);
    }
    // The document is complete: the file takes its name.
    void finish()
    {
        file.closeFile();
        if (file.error())
            fail();
        PutInPlace(partial, target);
        done = true;
    }
    [[noreturn]] void fail() const { FileError(target, file.error()); }

    QString target;
    QString partial;
    CheckedFile file;
    QPdfWriter writer;
    bool done = false;
};

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
    if (pdf_)
        pdf_->writer.setPageLayout(printer_->pageLayout());   // the sheet as the page set it up
    if (document_.isActive()) {
        try {
            endDocument();
        } catch (const VbError&) {
            // Nobody is left to tell: a file that could not be written is not left behind.
        }
    }
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
    if (pdf_)
        pdf_->writer.setPageLayout(printer_->pageLayout());   // the sheet as the page set it up
    if (document_.isActive()) {
        if (!(pdf_ ? pdf_->writer.newPage() : printer_->newPage()))
            PrinterError();
    } else if (!document_.begin(documentDevice())) {
        pdf_.reset();
        PrinterError();
    }
    // A picture plays itself scaled from its own resolution to the device's; it was
    // drawn in the printer's pixels already.
    const QPaintDevice* device = document_.device();
    document_.save();
    document_.scale(double(sheet_.logicalDpiX()) / device->logicalDpiX(),
                    double(sheet_.logicalDpiY()) / device->logicalDpiY());
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

QPaintDevice* PrinterSurface::documentDevice()
{
    const bool file = printer_->outputFormat() == QPrinter::PdfFormat && !printer_->outputFileName().isEmpty();
    if (!file)
        return printer_.get();
    if (!pdf_) {
        pdf_ = std::make_unique<PdfFile>(printer_->outputFileName(), *printer_);
        pdf_->writer.setPageLayout(printer_->pageLayout());
    }
    return &pdf_->writer;
}

void PrinterSurface::BeginRun()
{
    fileWithoutMargins();   // the print dialog may have chosen a file
    documentDevice();       // a file that cannot be made is told before anything is drawn
    run_ = true;
}

void PrinterSurface::EndRun()
{
    run_ = false;
    if (document_.isActive())
        endDocument();
    pdf_.reset();   // a run that printed nothing makes no file
}

void PrinterSurface::endDocument()
{
    const bool ended = document_.end();
    const std::unique_ptr<PdfFile> pdf = std::move(pdf_);
    if (!ended)
        PrinterError();
    if (pdf)
        pdf->finish();
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
