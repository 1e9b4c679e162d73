#include "frmANZEIGEN.h"
#include "PageForm.h"
#include "PageHost.h"
#include "platform/Context.h"
#include "platform/Twips.h"
#include "platform/Variant.h"
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>

namespace {

QPointer<frmANZEIGEN>& loaded()
{
    static QPointer<frmANZEIGEN> form;
    return form;
}

} // namespace

frmANZEIGEN& frmANZEIGEN::instance(PageHost& host)
{
    if (!loaded())
        loaded() = new frmANZEIGEN(host);
    return *loaded();
}

frmANZEIGEN::frmANZEIGEN(PageHost& host) : QDialog(host.Owner())
{
    setObjectName(QStringLiteral("frmANZEIGEN"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(3300 / TwipsPerPixel, 1875 / TwipsPerPixel);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(11.25);
    setFont(font);

    const auto label = [this](const QString& name, QRect place) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setGeometry(place);
        return l;
    };
    lblSEITEN[0] = label(QStringLiteral("lblSEITEN_0"), TwipsToPixels(240, 300, 1905, 255));
    lblSEITEN[1] = label(QStringLiteral("lblSEITEN_1"), TwipsToPixels(2820, 300, 270, 255));
    QFont bold = font;
    bold.setBold(true);
    lblSEITEN[1]->setFont(bold);
    lblSEITE = label(QStringLiteral("lblSEITE"), TwipsToPixels(240, 660, 1020, 255));
    txtSEITE = new QLineEdit(this);
    txtSEITE->setObjectName(QStringLiteral("txtSEITE"));
    txtSEITE->setGeometry(TwipsToPixels(2670, 600, 405, 375));
    txtSEITE->setAlignment(Qt::AlignRight);
    txtSEITE->setMaxLength(1);
    txtSEITE->installEventFilter(this);
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setGeometry(TwipsToPixels(240, 1200, 3060 - 240, 30));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(TwipsToPixels(210, 1320, 1400, 400));
    cmdOK->setDefault(true);
    cmdABBRECHEN = new QPushButton(this);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdABBRECHEN->setGeometry(TwipsToPixels(1710, 1320, 1400, 400));
    connect(cmdOK, &QPushButton::clicked, this, &frmANZEIGEN::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &QDialog::reject);

    const bool english = host.context().SPRACHE == 1;
    const auto T = [english](const char* en, const char* de) { return QString::fromUtf8(english ? en : de); };
    setWindowTitle(T("Show", "Anzeigen"));
    lblSEITEN[0]->setText(T("Available Pages:", "Vorhandene Seiten:"));
    lblSEITE->setText(T("Show Page Nr.: ", "Anzeigen: "));
    cmdABBRECHEN->setText(T("Cancel", "Abbrechen"));

    // The pages in the order of their name parts, each part over the forms in order.
    const QList<QWidget*> forms = host.Forms();
    for (const char* part : {"mdiESEITE", "mdiSEITE", "mdiPSEITE", "mdiMSEITE"})
        for (QWidget* form : forms)
            if (form->objectName().contains(QLatin1String(part)))
                pages_.emplace_back(form);
    const QWidget* active = host.ActiveForm();
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (active && pages_[i]->objectName() == active->objectName())
            txtSEITE->setText(CStr(Variant(int32_t(i + 1))));
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

void frmANZEIGEN::done(int result)
{
    QDialog::done(result);
    close();
}

void frmANZEIGEN::closeEvent(QCloseEvent* event)
{
    if (loaded() == this)
        loaded().clear();
    QDialog::closeEvent(event);
}
