#include "frmKONTEXT.h"
#include "PageForm.h"
#include "PageHost.h"
#include "platform/Colors.h"
#include "platform/Context.h"
#include "platform/Controls.h"
#include "platform/Variant.h"
#include "platform/Yield.h"

namespace {

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
    return LoadedForm<frmKONTEXT>([&] { return new frmKONTEXT(host); });
}

frmKONTEXT::frmKONTEXT(PageHost& host) : UnloadingDialog(nullptr), host_(host)
{
    setObjectName(QStringLiteral("frmKONTEXT"));
    setFixedSize(3885 / TwipsPerPixel, 3780 / TwipsPerPixel);
    setFont(arial(9));
    // It has no owner, so it must not outlive the main window it reaches.
    connect(host.Owner(), &QObject::destroyed, this, &QWidget::close);
    const int sprache = host.context().SPRACHE;

    fraSKALEN = Control<QGroupBox>(this, QStringLiteral("fraSKALEN"), {120, 75, 3675, 2955},
                                   Caption(sprache, "page layout", "Seitenlayout"));
    fraSKALEN->setFont(arial(9.75, true));
    cdlFARBEN[0].DialogTitle = Caption(sprache, "color of page", "Seitenfarbe");
    cdlFARBEN[1].DialogTitle = Caption(sprache, "color of pictureboxes", "Pictureboxfarben");
    for (int i = 0; i < 2; ++i) {
        QPushButton*& button = cmdFARBEN[std::size_t(i)];
        button = Control<QPushButton>(fraSKALEN, QStringLiteral("cmdFARBEN_%1").arg(i), {360, i == 0 ? 480 : 1080, 2295, 375},
                                      cdlFARBEN[std::size_t(i)].DialogTitle);
        button->setFont(arial(9));
        connect(button, &QPushButton::clicked, this, [this, i] { cmdFARBEN_Click(i); });
    }
    chkBOKF = Control<QCheckBox>(fraSKALEN, QStringLiteral("chkBOKF"), {240, 1680, 2415, 375},
                                 Caption(sprache, "draw head and foot line ", "Kopf / Fußzeile darstellen"));
    chkBOKFS = Control<QCheckBox>(fraSKALEN, QStringLiteral("chkBOKFS"), {240, 2280, 3135, 375},
                                  Caption(sprache, "draw page numbering ", "Seitennummerierung darstellen"));
    for (QCheckBox* chk : {chkBOKF, chkBOKFS}) {
        chk->setFont(arial(9));
        chk->setTristate(true);
        SetCheckValue(*chk, 1);
    }
    // Programmatic changes count too, as the runtime's Click does.
    connect(chkBOKF, &QCheckBox::stateChanged, this, [this] { chkBOKF_Click(); });

    fraSCHALTFLAECHEN = Control<QGroupBox>(this, QStringLiteral("fraSCHALTFLAECHEN"), {120, 3150, 3645, 495});
    fraSCHALTFLAECHEN->setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    cmdOK = Control<QPushButton>(fraSCHALTFLAECHEN, QStringLiteral("cmdOK"), {90, 30, 1600, 400}, QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdABBRECHEN = Control<QPushButton>(fraSCHALTFLAECHEN, QStringLiteral("cmdABBRECHEN"), {1920, 30, 1600, 400},
                                        Caption(sprache, "Cancel", "Abbrechen"));
    connect(cmdOK, &QPushButton::clicked, this, &frmKONTEXT::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);
    setWindowTitle(Caption(sprache, "context menue of page", "Kontextmenü Seite"));
    WidenForTitle(*this);
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
