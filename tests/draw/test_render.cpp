// Drawings rendered with the installed Liberation fonts: what a person sees on the
// screen's picture and on the printed PDF page.
#include "DrawFixture.h"
#include "support/ImageProbe.h"
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

TEST_F(DrawTest, SmallSectionOnThePicture)
{
    // World in metres, 0.1 m per mm, margins 10 mm: (x, z) at page (10 + 10 (x + 5), 10 + 10 z).
    activeRecord(1);
    row(1, 11, "OX, OY, RL, RR, RO, RU, MYMX, MX, MY, XMIN, XMAX, YMIN, YMAX",
        "1, -1, 10, 10, 10, 10, 1, 0.1, 0.1, -5, 5, 0, 9.5");
    PictureBox picture(124, 115, 96);
    clsGRAFIK g(project.ctx());
    g.EOBJEKT(&picture);
    loadLayout(g);
    const float MX = 0.1f;
    g.POLYGON({-5, -1}, {3, 3});                       // ground surface at page y 40
    g.GELAENDESCHRAFFUR(-4.5f, 3, 2, 2, 0, 2);         // hatching from page (15, 40)
    g.KOTENDREIECK(-3, 2, 2 * MX, 0, 1, 0);            // water level at page (30, 30)
    g.POLYGON({0, 3}, {2, 6}, 0, 0, 0, QStringLiteral("Sickerlinie"), 0, 1);   // (60, 30) to (90, 70)
    EXPECT_TRUE(project.dialogs().boxes().empty());
    const QImage& img = picture.Image();
    const auto inkAt = [&](double x, double y) {
        const int cx = px(x), cy = px(y);
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (inked(img, cx + dx, cy + dy))
                    return true;
        return false;
    };

    // Hatching: strokes slanting down from the ground line and back up to it, a
    // repetition every 5.66 mm; nothing above the ground line.
    for (double t : {0.3, 0.6, 0.9})
        EXPECT_TRUE(inkAt(15 + 1.414 * t, 40 + 1.414 * t)) << t;
    EXPECT_TRUE(inkAt(15 + 5.657 + 0.7, 40.7));
    EXPECT_TRUE(inkAt(15 + 2.828 + 0.7, 40 + 1.414 + 0.7));
    EXPECT_TRUE(inkBox(img, QRect(QPoint(px(14), px(36)), QPoint(px(27), px(39.4)))).isNull());
    const QRect hatch = inkBox(img, QRect(QPoint(px(14), px(40.6)), QPoint(px(30), px(46))));
    ASSERT_FALSE(hatch.isNull());
    EXPECT_NEAR(hatch.bottom(), px(40 + 2.828), 2);

    // The water-level triangle stands on its tip with a 4 mm top side 2 mm above the
    // level, the level line 4 mm long, and two short lines below it.
    const QRect triangle = inkBox(img, QRect(QPoint(px(25), px(25)), QPoint(px(35), px(33))));
    ASSERT_FALSE(triangle.isNull());
    EXPECT_NEAR(triangle.width(), px(4), 2);
    EXPECT_NEAR(triangle.top(), px(28), 1);
    EXPECT_NEAR(triangle.bottom(), px(31), 1);
    EXPECT_TRUE(inkAt(29, 28) && inkAt(31, 28));    // top side
    EXPECT_TRUE(inkAt(29, 29) && inkAt(31, 29));    // the slanted sides
    EXPECT_FALSE(inkAt(30, 28.9));                  // hollow
    EXPECT_TRUE(inkAt(28.7, 30.5) && inkAt(31.3, 30.5) && !inkAt(28.0, 30.55));   // 3 mm
    EXPECT_TRUE(inkAt(30, 31) && !inkAt(28.9, 31.05));                             // 1 mm

    // The arrow head at the line's end: barbs either side of the line near the tip,
    // nothing there along the shaft.
    const QPointF dir(0.6, 0.8), across(-0.8, 0.6);
    const QPointF nearTip = QPointF(90, 70) - 2.0 * dir, shaft = QPointF(90, 70) - 45.0 * dir;
    EXPECT_TRUE(inkAt(nearTip.x() + 0.45 * across.x(), nearTip.y() + 0.45 * across.y()));
    EXPECT_TRUE(inkAt(nearTip.x() - 0.45 * across.x(), nearTip.y() - 0.45 * across.y()));
    EXPECT_FALSE(inkAt(shaft.x() + 0.6 * across.x(), shaft.y() + 0.6 * across.y()));
    EXPECT_FALSE(inkAt(shaft.x() - 0.6 * across.x(), shaft.y() - 0.6 * across.y()));

    // The label runs along the line on its upper side, around the middle (75, 50).
    int above = 0, below = 0;
    for (double t = -8; t <= 8; t += 0.25)
        for (double d = 0.8; d <= 2.6; d += 0.3) {
            const QPointF on = QPointF(75, 50) + t * dir;
            above += inked(img, px(on.x() - d * across.x()), px(on.y() - d * across.y()));
            below += inked(img, px(on.x() + d * across.x()), px(on.y() + d * across.y()));
        }
    EXPECT_GT(above, 40);
    EXPECT_EQ(below, 0);
}
