#include "frmKONTEXT11.h"
#include "DialogControls.h"
#include "PageForm.h"
#include "PageHost.h"
#include "SectionDiagram.h"
#include "data/clsDATEN.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/DialogService.h"
#include "platform/SymbolFont.h"
#include "platform/Variant.h"
#include "platform/Wertpruefung.h"
#include <QGuiApplication>
#include <QScreen>
#include <limits>

namespace {

// The section diagram's allowed lower bounds or ranges.
void fill(QComboBox& list, const AxisTable& entries)
{
    list.clear();
    for (float e : entries.value())
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

// The pressure 10 mm of ordinate stand for: at least what the field and the legend
// show with their two decimals, so that the ordinates neither vanish nor turn over,
// and small enough that ten times its stored tenth is still a Single.
constexpr float MinScale = 0.01f;
constexpr float MaxScale = std::numeric_limits<float>::max() / 10;

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

    fraREITER = Control<QGroupBox>(this, QStringLiteral("fraREITER"), {30, 30, 3615, 3675});
    const auto list = [this](const QString& name, QRect twips) {
        auto* c = Control<QComboBox>(fraREITER, name, twips);
        SetComboStyle(*c, 2);
        return c;
    };
    const QString delta = SymbolToUnicode(QStringLiteral("D"));
    lblXACHSE = Control<QLabel>(fraREITER, QStringLiteral("lblXACHSE"), {360, 390, 795, 225}, QStringLiteral("x-Achse"));
    lblXMIN = Control<QLabel>(fraREITER, QStringLiteral("lblXMIN"), {1110, 750, 435, 225}, QStringLiteral("Xmin"));
    cboXMIN = list(QStringLiteral("cboXMIN"), {1635, 675, 1005, 345});
    lblDEX = Control<QLabel>(fraREITER, QStringLiteral("lblDEX"), {1260, 1140, 135, 225}, delta);
    lblXDIFF = Control<QLabel>(fraREITER, QStringLiteral("lblXDIFF"), {1380, 1155, 135, 225}, QStringLiteral("X"));
    cboXDIFF = list(QStringLiteral("cboXDIFF"), {1635, 1095, 1005, 345});
    lblYACHSE = Control<QLabel>(fraREITER, QStringLiteral("lblYACHSE"), {300, 1635, 795, 225}, QStringLiteral("y-Achse"));
    lblYMIN = Control<QLabel>(fraREITER, QStringLiteral("lblYMIN"), {1110, 1995, 435, 225}, QStringLiteral("Ymin"));
    cboYMIN = list(QStringLiteral("cboYMIN"), {1635, 1935, 1005, 345});
    lblDEY = Control<QLabel>(fraREITER, QStringLiteral("lblDEY"), {1290, 2400, 135, 225}, delta);
    lblYDIFF = Control<QLabel>(fraREITER, QStringLiteral("lblYDIFF"), {1410, 2400, 135, 225}, QStringLiteral("Y"));
    cboYDIFF = list(QStringLiteral("cboYDIFF"), {1635, 2355, 1005, 345});
    lblXACHSE->setFont(bold);
    lblYACHSE->setFont(bold);

    fraMSP = Control<QGroupBox>(fraREITER, QStringLiteral("fraMSP"), {90, 2790, 3375, 795},
                                QString::fromUtf8("Spannungsmaßstab"));
    fraMSP->setFont(bold);
    lblMSP[0] = nullptr;
    lblMSP[1] = Control<QLabel>(fraMSP, QStringLiteral("lblMSP_1"), {750, 390, 735, 225}, QStringLiteral("10 mm ="));
    txtMSP = Control<QLineEdit>(fraMSP, QStringLiteral("txtMSP"), {1560, 300, 975, 405});
    lblMSP[2] = Control<QLabel>(fraMSP, QStringLiteral("lblMSP_2"), {2640, 390, 495, 225}, QString::fromUtf8("kN/m²"));
    for (QWidget* w : {static_cast<QWidget*>(lblMSP[1]), static_cast<QWidget*>(txtMSP), static_cast<QWidget*>(lblMSP[2])})
        w->setFont(plain);

    fraSCHALTFLAECHEN = Control<QGroupBox>(this, QStringLiteral("fraSCHALTFLAECHEN"), {0, 3750, 3645, 495});
    cmdOK = Control<QPushButton>(fraSCHALTFLAECHEN, QStringLiteral("cmdOK"), {90, 30, 1600, 400}, QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdABBRECHEN = Control<QPushButton>(fraSCHALTFLAECHEN, QStringLiteral("cmdABBRECHEN"), {1920, 30, 1600, 400},
                                        QStringLiteral("Abbrechen"));
    connect(cmdOK, &QPushButton::clicked, this, &frmKONTEXT11::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);
    WidenForTitle(*this);

    for (QWidget* form : host.Forms())
        if (form->objectName() == QLatin1String("mdiSEITE1"))
            BOSEITE1 = true;
    if (!BOSEITE1)
        fraMSP->hide();
    DATENG0 = ViewOn(host.context(), QStringLiteral("G0"));
    const AxisTables& axes = SectionAxisTables();
    fill(*cboXMIN, axes.MIN);
    fill(*cboXDIFF, axes.DIFF);
    fill(*cboYMIN, axes.MIN);
    fill(*cboYDIFF, axes.DIFF);
    DATENG0->DTVS(QStringLiteral("XMIN"), XMIN, kKey, kDiagram);
    DATENG0->DTVS(QStringLiteral("XMAX"), XMAX, kKey, kDiagram);
    DATENG0->DTVS(QStringLiteral("YMIN"), YMIN, kKey, kDiagram);
    DATENG0->DTVS(QStringLiteral("YMAX"), YMAX, kKey, kDiagram);
    if (BOSEITE1) {
        DATENG0->DTVS(QStringLiteral("MSP"), MSP, kKey, kDiagram);
        txtMSP->setText(CStr(Variant(Round(double(MSP) * 10, 2))));
        SetLoadedValue(*txtMSP, Variant(MSP));   // a text left as shown keeps the stored scale
    }
    preselect(*cboXDIFF, XMAX - XMIN);
    preselect(*cboXMIN, XMIN);
    preselect(*cboYDIFF, YMAX - YMIN);
    preselect(*cboYMIN, YMIN);
}

frmKONTEXT11::~frmKONTEXT11() = default;

bool frmKONTEXT11::ScaleAccepted(std::optional<float>& typed)
{
    if (LoadedValue(*txtMSP))
        return true;   // as shown: the stored scale stays, whatever it is
    QString text = txtMSP->text();
    Wertfehler fehler = Wertpruefung(text, MinScale, MaxScale, false, false);
    if (fehler == Wertfehler::Keiner && text.isEmpty())
        fehler = Wertfehler::KeineZahl;   // an empty field is no scale either
    if (fehler == Wertfehler::Keiner) {
        typed = CSng(Variant(text));
        return true;
    }
    host_.context().dlg().MsgBox(Wertmeldung(fehler, 3, MinScale, MaxScale), MsgButtons::OK, MsgIcon::Exclamation,
                                 fraMSP->title());
    txtMSP->setFocus();
    txtMSP->selectAll();
    return false;
}

void frmKONTEXT11::cmdOK_Click()
{
    // The scale is checked before anything is written: a refused one leaves the row
    // as it was and the dialog open.
    std::optional<float> scale;
    if (BOSEITE1 && !ScaleAccepted(scale))
        return;
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
    if (scale) {
        MSP = *scale / 10;
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
