#pragma once
// Looking into the files the page buttons write, as a reader would: the sheets of a
// PDF file as images and as text, and the parts of an OpenDocument text.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <QtGui/private/qzipreader_p.h>
#include <gtest/gtest.h>
#include <vector>

// The standard output of a tool run to its end. A tool that is missing or fails is a
// failure of the test that names it, rather than an empty output that fails further on.
inline QString RunTool(const QString& program, const QStringList& args)
{
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        ADD_FAILURE() << program.toStdString() << " is not installed (scripts/install-deps installs it)";
        return {};
    }
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " " << args.join(QLatin1Char(' ')).toStdString()
                      << " failed: " << p.readAllStandardError().toStdString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

// The sheets of a PDF file rendered at dpi dots per inch, in order (through files named
// from prefix, removed after).
inline std::vector<QImage> PdfSheets(const QString& pdf, const QString& prefix, int dpi)
{
    RunTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), pdf, prefix});
    std::vector<QImage> sheets;
    for (int n = 1;; ++n) {
        const QString png = prefix + QStringLiteral("-%1.png").arg(n);
        if (!QFile::exists(png))
            break;
        sheets.emplace_back(png);
        QFile::remove(png);
    }
    return sheets;
}

// The first sheet of a PDF file rendered at dpi dots per inch.
inline QImage PdfSheet(const QString& pdf, int dpi = 100)
{
    const QFileInfo file(pdf);
    std::vector<QImage> sheets = PdfSheets(pdf, file.dir().filePath(file.completeBaseName() + QStringLiteral("-sheet")), dpi);
    return sheets.empty() ? QImage() : sheets.front();
}

// The text of one sheet of a PDF file, laid out as printed.
inline QString PdfText(const QString& pdf, int sheet)
{
    const QString n = QString::number(sheet);
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

// A member of an OpenDocument file (a zip archive); a file that is no readable archive,
// or lacks the member, fails the test that asked.
inline QByteArray OdfMember(const QString& odt, const QString& name)
{
    QZipReader zip(odt);
    if (!zip.isReadable() || zip.status() != QZipReader::NoError) {
        ADD_FAILURE() << odt.toStdString() << " is no readable zip archive";
        return {};
    }
    const QByteArray member = zip.fileData(name);
    if (member.isEmpty())
        ADD_FAILURE() << odt.toStdString() << " has no member " << name.toStdString();
    return member;
}

// A paragraph of a document's content: its text, or the picture it holds with its
// size.
struct Paragraph {
    QString text;
    QString picture;
    double widthMm = 0, heightMm = 0;
};

inline std::vector<Paragraph> OdfParagraphs(const QByteArray& content)
{
    const auto mm = [](QStringView pt) { return pt.chopped(2).toDouble() * 25.4 / 72.0; };
    std::vector<Paragraph> paragraphs;
    QXmlStreamReader xml(content);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isCharacters() && !xml.isWhitespace() && !paragraphs.empty())
            paragraphs.back().text += xml.text();
        if (!xml.isStartElement())
            continue;
        if (xml.qualifiedName() == QLatin1String("text:p")) {
            paragraphs.emplace_back();
        } else if (xml.qualifiedName() == QLatin1String("draw:frame") && !paragraphs.empty()) {
            paragraphs.back().widthMm = mm(xml.attributes().value(QStringLiteral("svg:width")));
            paragraphs.back().heightMm = mm(xml.attributes().value(QStringLiteral("svg:height")));
        } else if (xml.qualifiedName() == QLatin1String("draw:image") && !paragraphs.empty()) {
            paragraphs.back().picture = xml.attributes().value(QStringLiteral("xlink:href")).toString();
        }
    }
    return paragraphs;
}
