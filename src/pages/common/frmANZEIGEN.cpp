#include "frmANZEIGEN.h"
#include "PageForm.h"
#include "PageHost.h"
#include "PageList.h"
#include "platform/Context.h"
#include "platform/Variant.h"
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

frmANZEIGEN& frmANZEIGEN::instance(PageHost& host)
{
    return LoadedForm<frmANZEIGEN>([&] { return new frmANZEIGEN(host); });
}

frmANZEIGEN::frmANZEIGEN(PageHost& host) : UnloadingDialog(host.Owner())
{
    setObjectName(QStringLiteral("frmANZEIGEN"));
    setFixedSize(3300 / TwipsPerPixel, 1875 / TwipsPerPixel);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    setFont(font);
    const int sprache = host.context().SPRACHE;
    setWindowTitle(Caption(sprache, "Show", "Anzeigen"));

    lblSEITEN[0] = Control<QLabel>(this, QStringLiteral("lblSEITEN_0"), {240, 300, 1905, 255},
                                   Caption(sprache, "Available Pages:", "Vorhandene Seiten:"));
    lblSEITEN[1] = Control<QLabel>(this, QStringLiteral("lblSEITEN_1"), {2820, 300, 270, 255});
    QFont bold = font;
    bold.setBold(true);
    lblSEITEN[1]->setFont(bold);
    // As wide as the label above it: the English text does not fit the German width.
    lblSEITE = Control<QLabel>(this, QStringLiteral("lblSEITE"), {240, 660, 1905, 255},
                               Caption(sprache, "Show Page Nr.: ", "Anzeigen: "));
    txtSEITE = Control<QLineEdit>(this, QStringLiteral("txtSEITE"), {2670, 600, 405, 375});
    txtSEITE->setAlignment(Qt::AlignRight);
    txtSEITE->setMaxLength(1);
    txtSEITE->installEventFilter(this);
    Line1 = Control<QFrame>(this, QStringLiteral("Line1"), {240, 1200, 3060 - 240, 30});
    Line1->setFrameShape(QFrame::HLine);
    cmdOK = Control<QPushButton>(this, QStringLiteral("cmdOK"), {210, 1320, 1400, 400}, QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdABBRECHEN = Control<QPushButton>(this, QStringLiteral("cmdABBRECHEN"), {1710, 1320, 1400, 400},
                                        Caption(sprache, "Cancel", "Abbrechen"));
    connect(cmdOK, &QPushButton::clicked, this, &frmANZEIGEN::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);

    const QList<QWidget*> pages = PageList(host);
    for (QWidget* page : pages)
        pages_.emplace_back(page);
    if (const int active = ActivePageNumber(pages, host.ActiveForm()))
        txtSEITE->setText(CStr(Variant(int32_t(active))));
    lblSEITEN[1]->setText(CStr(Variant(int32_t(pages_.size()))));
}

void frmANZEIGEN::Show()
{
    show();
    raise();
    activateWindow();
    // The lower right of the screen, in the window's outer size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        const QRect outer = frameGeometry();
        move(s.left() + s.width() - qRound(1.5 * outer.width()), s.top() + s.height() - 2 * outer.height());
    }
    txtSEITE->setFocus();
    txtSEITE->setSelection(0, 1);
}

void frmANZEIGEN::txtSEITE_LostFocus()
{
    QString text = txtSEITE->text();
    if (!IsNumeric(Variant(text)))
        text = QStringLiteral("1");
    int number = CInt(Variant(text));
    const int count = int(pages_.size());
    if (number > count)
        number = count;
    if (number < 1)
        number = 1;
    txtSEITE->setText(CStr(Variant(int32_t(number))));
}

void frmANZEIGEN::cmdOK_Click()
{
    txtSEITE_LostFocus();
    const std::size_t chosen = std::size_t(CInt(Variant(txtSEITE->text())) - 1);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        if (!pages_[i])
            continue;
        if (i == chosen)
            ShowMaximized(pages_[i]);
        else
            HideForm(pages_[i]);
    }
    accept();
}

bool frmANZEIGEN::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtSEITE && event->type() == QEvent::FocusOut)
        txtSEITE_LostFocus();
    return QDialog::eventFilter(watched, event);
}
