#include "mdiAUTOSTART.h"
#include "Pictures.h"
#include "platform/Twips.h"
#include "clsADRESSE.h"
#include <QCloseEvent>
#include <QFontMetricsF>

mdiAUTOSTART::mdiAUTOSTART(int sprache, QWidget* parent) : QWidget(parent), sprache_(sprache)
{
    setObjectName(QStringLiteral("mdiAUTOSTART"));
    setWindowTitle(QString());
    setAutoFillBackground(true);

    fraKOPF = new QFrame(this);
    fraKOPF->setObjectName(QStringLiteral("fraKOPF"));
    fraKOPF->setFrameShape(QFrame::Box);
    fraKOPF->setFrameShadow(QFrame::Sunken);
    Place(fraKOPF, {150, 0, 11685, 1710});

    const double kopfSizes[4] = {12, 9.75, 9.75, 8.25};
    const bool kopfBold[4] = {true, true, true, false};
    const float kopfTops[4] = {240, 600, 930, 1380};
    for (int i = 0; i < 4; ++i) {
        lblKOPF[i] = NewLabel(fraKOPF, QStringLiteral("lblKOPF_%1").arg(i), kopfSizes[i], kopfBold[i]);
        Place(lblKOPF[i], {120, kopfTops[i], 0, 0});
    }
    Place(lblKOPF[1], {120, 600, 4425, 315});   // fixed size: it does not follow its text

    imgMIRL = new QLabel(fraKOPF);
    imgMIRL->setObjectName(QStringLiteral("imgMIRL"));
    imgMIRL->setScaledContents(true);
    imgMIRL->setPixmap(InstitutionLogo());
    Place(imgMIRL, {0, 0, 1500, 1500});

    lblTITEL = NewLabel(this, QStringLiteral("lblTITEL"), 33, true);
    lblUNTERTITEL = NewLabel(this, QStringLiteral("lblUNTERTITEL"), 33, true);

    imgDIA = new QLabel(this);
    imgDIA->setObjectName(QStringLiteral("imgDIA"));
    imgDIA->setScaledContents(true);
    imgDIA->setPixmap(SheetPileWallPicture());
    Place(imgDIA, {0, 0, 3675, 3555});

    lblVERSION = NewLabel(this, QStringLiteral("lblVERSION"), 18, false);

    pgbBERECHNEN = new QProgressBar(this);
    pgbBERECHNEN->setObjectName(QStringLiteral("pgbBERECHNEN"));
    pgbBERECHNEN->setRange(0, 100);
    pgbBERECHNEN->setValue(0);
    Place(pgbBERECHNEN, {0, 0, 0, 345});
}

QLabel* mdiAUTOSTART::NewLabel(QWidget* parent, const QString& name, double pointSize, bool bold)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    label->setFont(font);
    label->setAttribute(Qt::WA_TranslucentBackground);
    return label;
}

void mdiAUTOSTART::SetTextSized(QLabel* label, const QString& text)
{
    label->setText(text);
    label->adjustSize();
}

TwipsRect mdiAUTOSTART::SizeOf(QLabel* label) const
{
    const QSize s = label->sizeHint();
    return {0, 0, float(s.width()) * TwipsPerPixel, float(s.height()) * TwipsPerPixel};
}

void mdiAUTOSTART::Place(QWidget* w, TwipsRect r)
{
    twips_[w->objectName()] = r;
    w->setGeometry(qRound(r.Left / TwipsPerPixel), qRound(r.Top / TwipsPerPixel),
                   qRound(r.Width / TwipsPerPixel), qRound(r.Height / TwipsPerPixel));
}

void mdiAUTOSTART::Form_Load(double W, double H)
{
    designed_ = QSize(PixelsOfTwips(W), PixelsOfTwips(H));
    SetTextSized(lblVERSION, QStringLiteral("Version "));
    {
        const clsADRESSE adresse([this] { return sprache_; });
        SetTextSized(lblKOPF[0], adresse.FIRMA1());
        lblKOPF[1]->setText(adresse.PLZ() + QStringLiteral(", ") + adresse.STR());
        const bool english = sprache_ == 1;
        SetTextSized(lblKOPF[2], (english ? QStringLiteral("Head of Found.: ")
                                          : QStringLiteral("Vorsitzender: "))
                                     + adresse.VORSITZ());
        SetTextSized(lblKOPF[3], (english ? QStringLiteral("Phone: ") : QStringLiteral("Telefon: "))
                                     + adresse.TEL() + QStringLiteral(", ") + QStringLiteral("E-Mail: ")
                                     + adresse.EMAIL() + QStringLiteral(", ")
                                     + QStringLiteral("Internet: ") + adresse.URL());
        SetTextSized(lblTITEL, QStringLiteral("Tremola"));
        SetTextSized(lblUNTERTITEL, QString());
        SetTextSized(lblVERSION, lblVERSION->text()
                                     + (english ? QStringLiteral("March 2003") : QStringLiteral("März 2003")));
    }
    for (int i : {0, 2, 3}) {
        TwipsRect r = SizeOf(lblKOPF[i]);
        r.Left = twips_[lblKOPF[i]->objectName()].Left;
        r.Top = twips_[lblKOPF[i]->objectName()].Top;
        Place(lblKOPF[i], r);
    }

    TwipsRect kopf = twips_[fraKOPF->objectName()];
    kopf.Width = float(0.98 * W);
    kopf.Left = float((W - kopf.Width) / 2);
    Place(fraKOPF, kopf);

    TwipsRect mirl = twips_[imgMIRL->objectName()];
    mirl.Height = float(0.85 * kopf.Height);
    mirl.Top = float(0.1 * kopf.Height);
    mirl.Left = float(kopf.Width - mirl.Width - mirl.Top / 2.0);
    Place(imgMIRL, mirl);

    TwipsRect titel = SizeOf(lblTITEL);
    titel.Left = float((W - titel.Width) / 2);
    titel.Top = float((H - titel.Height) / 2.75);
    Place(lblTITEL, titel);

    TwipsRect untertitel = SizeOf(lblUNTERTITEL);
    untertitel.Left = float((W - untertitel.Width) / 2);
    untertitel.Top = float(titel.Top + 1.15 * untertitel.Height);
    Place(lblUNTERTITEL, untertitel);

    // t: the version text's height in the form's own font, not the label's.
    const double t = QFontMetricsF(font()).height() * TwipsPerPixel;
    TwipsRect dia = twips_[imgDIA->objectName()];
    dia.Left = float(W - dia.Width - 1000);
    dia.Top = float(H - dia.Height - 1000 + t);
    Place(imgDIA, dia);

    TwipsRect version = SizeOf(lblVERSION);
    version.Top = float(H - 1000);
    version.Left = 200;
    Place(lblVERSION, version);

    TwipsRect bar = twips_[pgbBERECHNEN->objectName()];
    bar.Top = float(version.Top - 3 * bar.Height);
    bar.Left = 200;
    bar.Width = float(W / 4);
    Place(pgbBERECHNEN, bar);
    pgbBERECHNEN->hide();
}

void mdiAUTOSTART::closeEvent(QCloseEvent* event)
{
    event->ignore();
}
