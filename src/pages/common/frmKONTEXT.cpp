#include "frmKONTEXT.h"
#include "PageForm.h"
#include "PageHost.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/Twips.h"
#include "platform/Variant.h"
#include "platform/Yield.h"
#include <QPointer>

namespace {

QPointer<frmKONTEXT>& loaded()
{
    static QPointer<frmKONTEXT> form;
    return form;
}

QFont arial(double points, bool bold = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

} // namespace

frmKONTEXT& frmKONTEXT::instance(PageHost& host)
{
    if (!loaded())
        loaded() = new frmKONTEXT(host);
    return *loaded();
}

frmKONTEXT::frmKONTEXT(PageHost& host) : QDialog(nullptr), host_(host)
{
    setObjectName(QStringLiteral("frmKONTEXT"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(3885 / TwipsPerPixel, 3780 / TwipsPerPixel);
    setFont(arial(9));
    // It has no owner, so it must not outlive the main window it reaches.
    connect(host.Owner(), &QObject::destroyed, this, &QWidget::close);

    fraSKALEN = new QGroupBox(this);
    fraSKALEN->setObjectName(QStringLiteral("fraSKALEN"));
    fraSKALEN->setFont(arial(9.75, true));
    fraSKALEN->setGeometry(TwipsToPixels(120, 75, 3675, 2955));
    const int tops[2] = {480, 1080};
    for (int i = 0; i < 2; ++i) {
        cmdFARBEN[std::size_t(i)] = new QPushButton(fraSKALEN);
        cmdFARBEN[std::size_t(i)]->setObjectName(QStringLiteral("cmdFARBEN_%1").arg(i));
        cmdFARBEN[std::size_t(i)]->setFont(arial(9));
        cmdFARBEN[std::size_t(i)]->setGeometry(TwipsToPixels(360, tops[i], 2295, 375));
        connect(cmdFARBEN[std::size_t(i)], &QPushButton::clicked, this, [this, i] { cmdFARBEN_Click(i); });
    }
    chkBOKF = new QCheckBox(fraSKALEN);
    chkBOKF->setObjectName(QStringLiteral("chkBOKF"));
    chkBOKF->setGeometry(TwipsToPixels(240, 1680, 2415, 375));
    chkBOKFS = new QCheckBox(fraSKALEN);
    chkBOKFS->setObjectName(QStringLiteral("chkBOKFS"));
    chkBOKFS->setGeometry(TwipsToPixels(240, 2280, 3135, 375));
    for (QCheckBox* chk : {chkBOKF, chkBOKFS}) {
        chk->setFont(arial(9));
        chk->setTristate(true);
        SetCheckValue(*chk, 1);
    }
    // Programmatic changes count too, as the runtime's Click does.
    connect(chkBOKF, &QCheckBox::stateChanged, this, [this] { chkBOKF_Click(); });

    fraSCHALTFLAECHEN = new QGroupBox(this);
    fraSCHALTFLAECHEN->setObjectName(QStringLiteral("fraSCHALTFLAECHEN"));
    fraSCHALTFLAECHEN->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    fraSCHALTFLAECHEN->setGeometry(TwipsToPixels(120, 3150, 3645, 495));
    cmdOK = new QPushButton(QStringLiteral("OK"), fraSCHALTFLAECHEN);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsToPixels(90, 30, 1600, 400));
    cmdOK->setDefault(true);
    cmdABBRECHEN = new QPushButton(fraSCHALTFLAECHEN);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdABBRECHEN->setGeometry(TwipsToPixels(1920, 30, 1600, 400));
    connect(cmdOK, &QPushButton::clicked, this, &frmKONTEXT::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);

    const bool english = host.context().SPRACHE == 1;
    const auto T = [english](const char* en, const char* de) { return QString::fromUtf8(english ? en : de); };
    setWindowTitle(T("context menue of page", "Kontextmenü Seite"));
    fraSKALEN->setTitle(T("page layout", "Seitenlayout"));
    cdlFARBEN[0].DialogTitle = T("color of page", "Seitenfarbe");
    cdlFARBEN[1].DialogTitle = T("color of pictureboxes", "Pictureboxfarben");
    for (int i = 0; i < 2; ++i)
        cmdFARBEN[std::size_t(i)]->setText(cdlFARBEN[std::size_t(i)].DialogTitle);
    chkBOKF->setText(T("draw head and foot line ", "Kopf / Fußzeile darstellen"));
    chkBOKFS->setText(T("draw page numbering ", "Seitennummerierung darstellen"));
    cmdABBRECHEN->setText(T("Cancel", "Abbrechen"));
}

void frmKONTEXT::Show()
{
    Form_Activate();
    show();
    place();
    raise();
    activateWindow();
}

void frmKONTEXT::Form_Activate()
{
    SetCheckValue(*chkBOKF, int(Val(Tag(*chkBOKF))));
    SetCheckValue(*chkBOKFS, int(Val(Tag(*chkBOKFS))));
}

void frmKONTEXT::chkBOKF_Click()
{
    // Page numbering goes with the header and footer.
    const int value = CheckValue(*chkBOKF);
    if (value == 0) {
        chkBOKFS->setEnabled(false);
        SetCheckValue(*chkBOKFS, 0);
    } else if (value == 1) {
        chkBOKFS->setEnabled(true);
        SetCheckValue(*chkBOKFS, 1);
    }
}

void frmKONTEXT::cmdFARBEN_Click(int index)
{
    ColorDialog& dialog = cdlFARBEN[std::size_t(index)];
    if (const auto chosen = host_.context().dlg().ShowColor(ColorFromLong(dialog.Color), dialog.DialogTitle))
        dialog.Color = LongFromColor(*chosen);
}

void frmKONTEXT::cmdOK_Click()
{
    SetMousePointer(11);
    int32_t FARBEMDI = cdlFARBEN[0].Color;
    int32_t FARBEPIC = cdlFARBEN[1].Color;
    bool HBOKF = CheckValue(*chkBOKF) == 1;
    bool HBOKFS = CheckValue(*chkBOKFS) == 1;
    // The active form may be no page by now (the pages closed meanwhile): then nothing.
    if (auto* page = dynamic_cast<PageForm*>(host_.ActiveForm()))
        page->KONTEXT(HBOKF, HBOKFS, FARBEMDI, FARBEPIC);
    SetMousePointer(0);
    accept();
}

void frmKONTEXT::place()
{
    // 20 mm and 35 mm from the screen's top left corner (1134 and 1984.5 twips).
    if (!isMinimized())
        move(qRound(1134 / double(TwipsPerPixel)), qRound(1984.5 / TwipsPerPixel));
}

void frmKONTEXT::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    place();
}

void frmKONTEXT::done(int result)
{
    QDialog::done(result);
    close();
}

void frmKONTEXT::closeEvent(QCloseEvent* event)
{
    if (loaded() == this)
        loaded().clear();
    QDialog::closeEvent(event);
}
