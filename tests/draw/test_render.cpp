// Drawings rendered with the installed Liberation fonts: what a person sees on the
// screen's picture and on the printed PDF page.
#include "DrawFixture.h"
#include "ImageProbe.h"
#include "SectionAxes.h"
#include "platform/PictureBox.h"
#include "platform/PrinterSurface.h"
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

int px(double mm)
{
    return int(std::lround(mm * 96 / 25.4));
}

// The first content stream of a PDF file, inflated.
QString pdfContent(const QByteArray& pdf)
{
    const auto start = pdf.indexOf("stream", pdf.indexOf("/Length"));
    const auto end = pdf.indexOf("endstream", start);
    QByteArray data = pdf.mid(start + 6, end - start - 6);
    while (data.startsWith('\r') || data.startsWith('\n'))
        data.remove(0, 1);
    const quint32 n = 1u << 24;   // qUncompress wants the expected size first
    QByteArray sized(4, '\0');
    sized[0] = char(n >> 24); sized[1] = char(n >> 16); sized[2] = char(n >> 8); sized[3] = char(n);
    const QByteArray raw = qUncompress(sized + data);
    return QString::fromLatin1(raw.isEmpty() ? data : raw);
}

} // namespace

TEST_F(DrawTest, SectionDiagramOnThePicture)
{
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, MYMX, MX, MY, XMIN, XMAX, YMIN, YMAX",
        "1, -1, 11, 7, 7, 11, 1, 0, 0, -4, 4, 0, 14");
    PictureBox picture(124, 115, 96);
    clsGRAFIK g(project.ctx());
    g.EOBJEKT(&picture);
    SetSectionAxes(g);
    g.SKALEN(3, std::vector<float>{-7.5f, 7.5f}, std::vector<float>{0, 14});
    const QImage& img = picture.Image();
    // The x axis along y 99.75 mm from x 11 to 117 mm, and nothing beyond the frame.
    int onAxis = 0;
    for (int x = px(11); x <= px(117); ++x)
        onAxis += inked(img, x, px(99.75)) || inked(img, x, px(99.75) - 1) || inked(img, x, px(99.75) + 1);
    EXPECT_GT(onAxis, (px(117) - px(11)) * 95 / 100);
    EXPECT_TRUE(inkBox(img, QRect(QPoint(px(118), px(20)), QPoint(px(123), px(90)))).isNull());
    // The label "0.0" under the middle tick, the title below the labels.
    const QRect label = inkBox(img, QRect(QPoint(px(60), px(101.5)), QPoint(px(68), px(105))));
    ASSERT_FALSE(label.isNull());
    EXPECT_NEAR((label.left() + label.right()) / 2.0, px(64), 3);
    EXPECT_FALSE(inkBox(img, QRect(QPoint(px(55), px(105.5)), QPoint(px(73), px(110)))).isNull());
    // The z title turned upright left of the axis: taller than wide.
    const QRect title = inkBox(img, QRect(QPoint(px(4), px(40)), QPoint(px(10.5), px(66))));
    ASSERT_FALSE(title.isNull());
    EXPECT_GT(title.height(), title.width());
}

TEST_F(DrawTest, PrintedPageInPdf)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("page.pdf");
    {
        PrinterSurface printer(file);
        EXPECT_NEAR(printer.TextHeight("x"), 3.17, 0.06);
        clsGRAFIK g(project.ctx());
        g.EOBJEKT(&printer);
        EXPECT_NEAR(g.ELX(), 297, 0.01);
        EXPECT_NEAR(g.ELY(), 210, 0.01);
        g.LINIE(10, 10, 100, 10, std::nullopt, 1);
        g.TEXT(20, 30, QStringLiteral("k{t,1}f = 1{h,1}2 {g,1}a"));
        g.LINIENEINSTELLUNGEN(1);
        g.LINIE(10, 50, 100, 50, std::nullopt, 1);
        printer.EndDoc();
    }
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pdf = f.readAll();
    const auto mb = QRegularExpression(R"(/MediaBox\s*\[\s*0\s+0\s+([\d.]+)\s+([\d.]+)\s*\])")
                        .match(QString::fromLatin1(pdf));
    ASSERT_TRUE(mb.hasMatch());
    EXPECT_NEAR(mb.captured(1).toDouble(), 842, 1);   // 297 mm in points: landscape A4
    EXPECT_NEAR(mb.captured(2).toDouble(), 595, 1);   // 210 mm
    const QString content = pdfContent(pdf);
    // The page's content is scaled from device pixels to points.
    const auto cm = QRegularExpression(R"(([\d.]+) 0 0 -?([\d.]+) [-\d.]+ [-\d.]+ cm)").match(content);
    ASSERT_TRUE(cm.hasMatch()) << content.left(300).toStdString();
    const auto seg = QRegularExpression(R"(([-\d.]+) ([-\d.]+) m\s+([-\d.]+) ([-\d.]+) l)").match(content);
    ASSERT_TRUE(seg.hasMatch());
    const double lengthPt = std::abs(seg.captured(3).toDouble() - seg.captured(1).toDouble()) * cm.captured(1).toDouble();
    EXPECT_NEAR(lengthPt * 25.4 / 72.0, 90.0, 0.5);
    // The dashed line's dashes are as long as on the screen (4.76 mm).
    const auto dash = QRegularExpression(R"(\[\s*([\d.]+)\s+([\d.]+)\s*\]\s*[\d.]+\s+d)").match(content);
    ASSERT_TRUE(dash.hasMatch()) << content.toStdString();
    EXPECT_NEAR(dash.captured(1).toDouble() * cm.captured(1).toDouble() * 25.4 / 72.0, 18 * 25.4 / 96, 0.1);
    // The text's runs are set in two sizes of the base face and the Greek face.
    EXPECT_GE(content.count(QRegularExpression(R"(\bTf\b)")), 3);
    EXPECT_GE(content.count(QRegularExpression(R"(\bT[jJ]\b)")), 4);
}
