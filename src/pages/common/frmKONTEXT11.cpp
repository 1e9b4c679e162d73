#include "frmKONTEXT11.h"
#include "PageForm.h"
#include "PageHost.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/SymbolFont.h"
#include "platform/Twips.h"
#include "platform/Variant.h"
#include <QGuiApplication>
#include <QScreen>

namespace {

// The section diagram's allowed lower bounds and ranges.
std::vector<int> lowerBounds()
{
    std::vector<int> v;
    for (int x = -100; x <= -20; x += 10)
        v.push_back(x);
    for (int x = -19; x <= 20; ++x)
        v.push_back(x);
    for (int x = 25; x <= 100; x += 5)
        v.push_back(x);
    return v;
}

std::vector<int> ranges()
{
    std::vector<int> v{1, 2, 3, 4, 5, 6};
    for (int x = 8; x <= 28; ++x)
        v.push_back(x);
    for (int x : {30, 35, 40, 45, 50, 60, 70, 75, 80, 90, 100, 125, 150, 175, 200})
        v.push_back(x);
    return v;
}

void fill(QComboBox& list, const std::vector<int>& entries)
{
    list.clear();
    for (int e : entries)
        AddItem(list, CStr(Variant(int32_t(e))));
}

// Selects the first entry showing the value's text; none when no entry does.
void preselect(QComboBox& list, float value)
{
    const QString text = CStr(Variant(value));
    SetListIndex(list, int(list.findText(text, Qt::MatchExactly)));
}

// The number the selected entry shows; without a selection the value kept.
float chosen(const QComboBox& list, float kept)
{
    return ListIndex(list) < 0 ? kept : float(Val(ComboText(list)));
}

const QString kKey = QStringLiteral("IDOBJEKT");
const Variant kDiagram = Variant(int16_t(11));

} // namespace

frmKONTEXT11::frmKONTEXT11(PageHost& host, PageForm& opener)
    : QDialog(host.Owner()), host_(host), opener_(&opener)
{
    setObjectName(QStringLiteral("frmKONTEXT11"));
    setWindowTitle(QString::fromUtf8("Kontextmenü Diagramm"));
    setFixedSize(3690 / TwipsPerPixel, 4275 / TwipsPerPixel);
    QFont plain(QStringLiteral("Arial"));
    plain.setPointSizeF(9);
    setFont(plain);
    QFont bold = plain;
    bold.setBold(true);

    fraREITER = new QGroupBox(this);
    fraREITER->setObjectName(QStringLiteral("fraREITER"));
    fraREITER->setGeometry(TwipsToPixels(30, 30, 3615, 3675));
    const auto label = [](QWidget* in, const QString& name, const QString& text, QRect place) {
        auto* l = new QLabel(text, in);
        l->setObjectName(name);
        l->setGeometry(place);
        return l;
    };
    const auto list = [](QWidget* in, const QString& name, QRect place) {
        auto* c = new QComboBox(in);
        c->setObjectName(name);
        c->setGeometry(place);
        SetComboStyle(*c, 2);
        return c;
    };
    const QString delta = SymbolToUnicode(QStringLiteral("D"));
    lblXACHSE = label(fraREITER, QStringLiteral("lblXACHSE"), QStringLiteral("x-Achse"), TwipsToPixels(360, 390, 795, 225));
    lblXMIN = label(fraREITER, QStringLiteral("lblXMIN"), QStringLiteral("Xmin"), TwipsToPixels(1110, 750, 435, 225));
    cboXMIN = list(fraREITER, QStringLiteral("cboXMIN"), TwipsToPixels(1635, 675, 1005, 345));
    lblDEX = label(fraREITER, QStringLiteral("lblDEX"), delta, TwipsToPixels(1260, 1140, 135, 225));
    lblXDIFF = label(fraREITER, QStringLiteral("lblXDIFF"), QStringLiteral("X"), TwipsToPixels(1380, 1155, 135, 225));
    cboXDIFF = list(fraREITER, QStringLiteral("cboXDIFF"), TwipsToPixels(1635, 1095, 1005, 345));
    lblYACHSE = label(fraREITER, QStringLiteral("lblYACHSE"), QStringLiteral("y-Achse"), TwipsToPixels(300, 1635, 795, 225));
    lblYMIN = label(fraREITER, QStringLiteral("lblYMIN"), QStringLiteral("Ymin"), TwipsToPixels(1110, 1995, 435, 225));
    cboYMIN = list(fraREITER, QStringLiteral("cboYMIN"), TwipsToPixels(1635, 1935, 1005, 345));
    lblDEY = label(fraREITER, QStringLiteral("lblDEY"), delta, TwipsToPixels(1290, 2400, 135, 225));
    lblYDIFF = label(fraREITER, QStringLiteral("lblYDIFF"), QStringLiteral("Y"), TwipsToPixels(1410, 2400, 135, 225));
    cboYDIFF = list(fraREITER, QStringLiteral("cboYDIFF"), TwipsToPixels(1635, 2355, 1005, 345));
    lblXACHSE->setFont(bold);
    lblYACHSE->setFont(bold);

    fraMSP = new QGroupBox(QString::fromUtf8("Spannungsmaßstab"), fraREITER);
    fraMSP->setObjectName(QStringLiteral("fraMSP"));
    fraMSP->setFont(bold);
    fraMSP->setGeometry(TwipsToPixels(90, 2790, 3375, 795));
    lblMSP[0] = nullptr;
    lblMSP[1] = label(fraMSP, QStringLiteral("lblMSP_1"), QStringLiteral("10 mm ="), TwipsToPixels(750, 390, 735, 225));
    txtMSP = new QLineEdit(fraMSP);
    txtMSP->setObjectName(QStringLiteral("txtMSP"));
    txtMSP->setGeometry(TwipsToPixels(1560, 300, 975, 405));
    lblMSP[2] = label(fraMSP, QStringLiteral("lblMSP_2"), QString::fromUtf8("kN/m²"), TwipsToPixels(2640, 390, 495, 225));
    for (QWidget* w : {static_cast<QWidget*>(lblMSP[1]), static_cast<QWidget*>(txtMSP), static_cast<QWidget*>(lblMSP[2])})
        w->setFont(plain);

    fraSCHALTFLAECHEN = new QGroupBox(this);
    fraSCHALTFLAECHEN->setObjectName(QStringLiteral("fraSCHALTFLAECHEN"));
    fraSCHALTFLAECHEN->setGeometry(TwipsToPixels(0, 3750, 3645, 495));
    cmdOK = new QPushButton(QStringLiteral("OK"), fraSCHALTFLAECHEN);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsToPixels(90, 30, 1600, 400));
    cmdOK->setDefault(true);
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), fraSCHALTFLAECHEN);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdABBRECHEN->setGeometry(TwipsToPixels(1920, 30, 1600, 400));
    connect(cmdOK, &QPushButton::clicked, this, &frmKONTEXT11::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);

    for (QWidget* form : host.Forms())
        if (form->objectName() == QLatin1String("mdiSEITE1"))
            BOSEITE1 = true;
    if (!BOSEITE1)
        fraMSP->hide();
    DATENG0 = std::make_shared<clsDATEN>(host.context());
    DATENG0->ETABELLE(QStringLiteral("G0"));
    fill(*cboXMIN, lowerBounds());
    fill(*cboXDIFF, ranges());
    fill(*cboYMIN, lowerBounds());
    fill(*cboYDIFF, ranges());
    DATENG0->DTVS(QStringLiteral("XMIN"), XMIN, kKey, kDiagram);
    DATENG0->DTVS(QStringLiteral("XMAX"), XMAX, kKey, kDiagram);
    DATENG0->DTVS(QStringLiteral("YMIN"), YMIN, kKey, kDiagram);
    DATENG0->DTVS(QStringLiteral("YMAX"), YMAX, kKey, kDiagram);
    if (BOSEITE1) {
        DATENG0->DTVS(QStringLiteral("MSP"), MSP, kKey, kDiagram);
        txtMSP->setText(CStr(Variant(Round(double(MSP * 10), 2))));
    }
    preselect(*cboXDIFF, XMAX - XMIN);
    preselect(*cboXMIN, XMIN);
    preselect(*cboYDIFF, YMAX - YMIN);
    preselect(*cboYMIN, YMIN);
}

frmKONTEXT11::~frmKONTEXT11() = default;

void frmKONTEXT11::cmdOK_Click()
{
    // A list left without a selection keeps what was stored: its bound, or its range.
    const float xMin = chosen(*cboXMIN, XMIN);
    const float xRange = chosen(*cboXDIFF, XMAX - XMIN);
    const float yMin = chosen(*cboYMIN, YMIN);
    const float yRange = chosen(*cboYDIFF, YMAX - YMIN);
    XMIN = xMin;
    XMAX = xMin + xRange;
    YMIN = yMin;
    YMAX = yMin + yRange;
    // Held across the writes, which yield.
    const std::shared_ptr<clsDATEN> view = DATENG0;
    // Scales of 0: the diagram computes them from the new ranges at its next drawing.
    view->DVTS(QStringLiteral("MX"), 0, kKey, kDiagram);
    view->DVTS(QStringLiteral("MY"), 0, kKey, kDiagram);
    view->DVTS(QStringLiteral("XMIN"), XMIN, kKey, kDiagram);
    view->DVTS(QStringLiteral("XMAX"), XMAX, kKey, kDiagram);
    view->DVTS(QStringLiteral("YMIN"), YMIN, kKey, kDiagram);
    view->DVTS(QStringLiteral("YMAX"), YMAX, kKey, kDiagram);
    if (BOSEITE1) {
        if (!IsNumeric(Variant(txtMSP->text())))
            txtMSP->setText(QStringLiteral("50"));
        MSP = CSng(Variant(txtMSP->text())) / 10;
        view->DVTS(QStringLiteral("MSP"), MSP, kKey, kDiagram);
    }
    // The page that opened the dialog redraws its diagram.
    if (opener_)
        opener_->Tag = QStringLiteral("OK");
    accept();
}

void frmKONTEXT11::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (isMinimized())
        return;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        move(s.left() + qRound(0.6 * s.width()), s.top() + qRound(0.1 * s.height()));
    }
}

void frmKONTEXT11::done(int result)
{
    DATENG0.reset();
    QDialog::done(result);
}
