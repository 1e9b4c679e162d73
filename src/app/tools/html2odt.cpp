// Build step: writes an HTML document as an OpenDocument text (the read-me and
// notes documents installed beside the program).
#include <QFile>
#include <QGuiApplication>
#include <QTextDocument>
#include <QTextDocumentWriter>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: html2odt INPUT.html OUTPUT.odt\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "html2odt: cannot read %s\n", argv[1]);
        return 1;
    }
    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(in.readAll()));
    QTextDocumentWriter writer(QString::fromLocal8Bit(argv[2]), "odf");
    if (!writer.write(&doc)) {
        std::fprintf(stderr, "html2odt: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
