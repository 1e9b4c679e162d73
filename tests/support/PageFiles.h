#pragma once
// Looking into the files the page buttons write, as a reader would: the sheets of a
// PDF file as images and as text, and the parts of an OpenDocument text.
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>
#include <vector>

// The standard output of a tool run to its end.
inline QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(30000);
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

// The text of one sheet of a PDF file, laid out as printed.
inline QString PdfText(const QString& pdf, int sheet)
{
    const QString n = QString::number(sheet);
    return RunTool(QStringLiteral("pdftotext"),
                   {QStringLiteral("-layout"), QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, QStringLiteral("-")});
}

// A member of an OpenDocument file (a zip archive).
inline QByteArray OdfMember(const QString& odt, const QString& name)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), odt, name});
    unzip.waitForFinished(30000);
    return unzip.readAllStandardOutput();
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
