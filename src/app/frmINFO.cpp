#include "frmINFO.h"
#include "Pictures.h"
#include "platform/Twips.h"
#include "clsADRESSE.h"
#include "mdiAUTOSTART.h"
#include "platform/App.h"
#include "platform/ErrorGuard.h"

QString Entwicklerzeile(const QString& d)
{
    if (d.size() <= 50)
        return d;
    const int p = d.indexOf(QLatin1Char(','), 49) + 1;   // position counted from 1
    return p > 0 ? d.left(p) + QStringLiteral(" ...") : d;
}

frmINFO::frmINFO(int sprache, const mdiAUTOSTART& start, DialogService& dialogs, QWidget* owner)
    : QDialog(owner), sprache_(sprache), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("frmINFO"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(8955 / TwipsPerPixel, 7290 / TwipsPerPixel);
    setWindowIcon(SuiteIcon());
    QFont formFont(QStringLiteral("Arial"));
    formFont.setPointSizeF(8.25);
    setFont(formFont);
    setAttribute(Qt::WA_DeleteOnClose, false);

    imgPALO = new QLabel(this);
    imgPALO->setObjectName(QStringLiteral("imgPALO"));
    imgPALO->setScaledContents(true);
    imgPALO->setPixmap(SuiteIcon().pixmap(32, 32));
    imgPALO->setGeometry(PixelRect(510, 540, 480, 480));

    const int paloTops[8] = {90, 330, 560, 810, 1140, 1320, 1500, 1680};
    for (int i = 0; i < 8; ++i)
        lblPALO[i] = NewLabel(QStringLiteral("lblPALO_%1").arg(i), 1800, paloTops[i], i < 4 ? 9.75 : 0, i < 4);

    imgMIRL = new QLabel(this);
    imgMIRL->setObjectName(QStringLiteral("imgMIRL"));
    imgMIRL->setScaledContents(true);
    imgMIRL->setPixmap(InstitutionLogo());
    imgMIRL->setGeometry(PixelRect(7050, 0, 1950, 1890));

    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setGeometry(PixelRect(90, 1920, 9030 - 90, 30));

    const int infoTops[8] = {2610, 2850, 3180, 3570, 3840, 4110, 4380, 4710};
    for (int i = 0; i < 8; ++i)
        lblINFO[i] = NewLabel(QStringLiteral("lblINFO_%1").arg(i), 1800, infoTops[i], (i == 1 || i == 2) ? 12 : 0,
                              i == 1 || i == 2);

    cmdSCHLIESSEN = new QPushButton(QStringLiteral("Schließen"), this);
    cmdSCHLIESSEN->setObjectName(QStringLiteral("cmdSCHLIESSEN"));
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPointSizeF(11.25);
    cmdSCHLIESSEN->setFont(buttonFont);
    cmdSCHLIESSEN->setGeometry(PixelRect(6330, 6420, 1600, 400));
    cmdSCHLIESSEN->setDefault(true);
    connect(cmdSCHLIESSEN, &QPushButton::clicked, this, &QDialog::accept);

    Form_Load(start);
}

QLabel* frmINFO::NewLabel(const QString& name, int left, int top, double pointSize, bool bold)
{
    auto* label = new QLabel(this);
    label->setObjectName(name);
    if (pointSize > 0) {
        QFont font(QStringLiteral("Arial"));
        font.setPointSizeF(pointSize);
        font.setBold(bold);
        label->setFont(font);
    }
    label->move(left / TwipsPerPixel, top / TwipsPerPixel);
    return label;
}

void frmINFO::Form_Load(const mdiAUTOSTART& start)
{
    const auto set = [](QLabel* label, const QString& text) {
        label->setText(text);
        label->adjustSize();
    };
    // An error ends the load; the box then shows the lines set so far.
    GuardSpec box;
    box.title = App::Title();
    box.buttons = MsgButtons::OK;
    Guarded(dialogs_, box, [&](Guard& g) {
        g.step([&] {
            const QString d = Entwicklerzeile(App::LegalTrademarks());
            const clsADRESSE adresse([this] { return sprache_; });
            set(lblPALO[0], adresse.FIRMA1());
            set(lblPALO[1], adresse.FIRMA2());
            set(lblPALO[2], adresse.PLZ() + QStringLiteral(", ") + adresse.STR());
            set(lblPALO[5], QStringLiteral("Fax: ") + adresse.FAX());
            set(lblPALO[6], QStringLiteral("E-Mail: ") + adresse.EMAIL());
            set(lblPALO[7], QStringLiteral("Internet: ") + adresse.URL());
            const bool english = sprache_ == 1;
            setWindowTitle((english ? QStringLiteral("Info of ") : QStringLiteral("Info zu ")) + App::Title());
            set(lblPALO[3], (english ? QStringLiteral("Head of Found.: ") : QStringLiteral("Vorsitzender: "))
                                + adresse.VORSITZ());
            set(lblPALO[4], (english ? QStringLiteral("Phone: ") : QStringLiteral("Telefon: ")) + adresse.TEL());
            set(lblINFO[0], QStringLiteral("Stratega"));
            set(lblINFO[1], start.lblTITEL->text());
            set(lblINFO[2], start.lblUNTERTITEL->text());
            set(lblINFO[3], QStringLiteral("(") + App::Title() + QStringLiteral(".exe)"));
            set(lblINFO[4], start.lblVERSION->text());
            set(lblINFO[5], App::LegalCopyright());
            set(lblINFO[6], (english ? QStringLiteral("Program developed by: ")
                                     : QStringLiteral("Programmentwicklung: "))
                                + d);
            set(lblINFO[7], QString());
            if (english)
                cmdSCHLIESSEN->setText(QStringLiteral("Done"));
        });
    });
}
