#include "frmAUSWAHL.h"
#include "Pictures.h"
#include "frmMAIN.h"
#include "platform/Ado.h"
#include "platform/Controls.h"
#include "platform/ErrorGuard.h"
#include "platform/Twips.h"
#include "platform/Yield.h"
#include <QKeyEvent>
#include <map>
#include <optional>

namespace {

// The comment of an entry, beside its record's ID.
constexpr int KommentarRolle = Qt::UserRole + 1;

QString Text(const Variant& v)
{
    return v.isNull() ? QString() : CStr(v);
}

} // namespace

frmAUSWAHL::frmAUSWAHL(frmMAIN& main) : QDialog(&main), main_(main)
{
    setObjectName(QStringLiteral("frmAUSWAHL"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Auswahl"));
    setWindowIcon(SuiteIcon());
    setFixedSize(PixelsOfTwips(2565), PixelsOfTwips(4560));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    setFont(font);

    lstKEN = new QListWidget(this);
    lstKEN->setObjectName(QStringLiteral("lstKEN"));
    lstKEN->setSelectionMode(QAbstractItemView::SingleSelection);
    lstKEN->setGeometry(PixelRect(240, 330, 2070, 2865));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(PixelRect(570, 3390, 1440, 400));
    cmdOK->setDefault(true);
    cmdABBRECHEN = new QPushButton(QStringLiteral("Abbrechen"), this);
    cmdABBRECHEN->setObjectName(QStringLiteral("cmdABBRECHEN"));
    cmdABBRECHEN->setGeometry(PixelRect(570, 3870, 1440, 400));

    connect(lstKEN, &QListWidget::currentRowChanged, this, &frmAUSWAHL::lstKEN_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmAUSWAHL::cmdOK_Click);
    connect(cmdABBRECHEN, &QPushButton::clicked, this, &frmAUSWAHL::cmdABBRECHEN_Click);

    Form_Load();
}

GuardSpec frmAUSWAHL::Kasten() const
{
    GuardSpec spec;
    spec.title = windowTitle();
    return spec;
}

void frmAUSWAHL::Form_Load()
{
    laden_ = true;
    const bool en = main_.SPRACHE() == 1;
    const bool complete = Guarded(main_.context().dlg(), Kasten(), [&](Guard& g) {
        g.step([&] {
            const QString modus = main_.Tag;
            if (modus == QLatin1String("A"))
                setWindowTitle(en ? QStringLiteral("File/Select") : QStringLiteral("Datei/Auswahl"));
            else if (modus == QLatin1String("O"))
                setWindowTitle(en ? QStringLiteral("File/Open") : QStringLiteral("Datei/Öffnen"));
            else if (modus == QLatin1String("L"))
                setWindowTitle(en ? QStringLiteral("File/Delete") : QStringLiteral("Datei/Löschen"));
            if (en)
                cmdABBRECHEN->setText(QStringLiteral("Cancel"));
            WidenForTitle(*this);
        });
        g.setTitle(windowTitle());
        g.step([&] { SetMousePointer(11); });
        Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE ID>0 ORDER BY [KEN]"), main_.cnnX()); });
        while (g.loop([&] { return !rs.Eof(); })) {
            g.step([&] {
                AddItem(*lstKEN, Text(rs.Fields(QStringLiteral("KEN")).Value()));
                const int neu = ListCount(*lstKEN) - 1;
                SetItemData(*lstKEN, neu, CLng(rs.Fields(QStringLiteral("ID")).Value()));
                lstKEN->item(neu)->setData(KommentarRolle, Text(rs.Fields(QStringLiteral("KOM")).Value()));
                if (CBool(rs.Fields(QStringLiteral("AKT")).Value()))
                    SetListIndex(*lstKEN, neu);
            });
            g.step([&] { rs.MoveNext(); });
        }
        g.step([&] { rs.Close(); });
        g.step([&] {
            const double left = main_.ScaleWidth() / 5.0;
            const double top = (main_.ScaleHeight() - frameGeometry().height() * TwipsPerPixel) / 3.0;
            move(PixelsOfTwips(left), PixelsOfTwips(top));
        });
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
    laden_ = false;
}

void frmAUSWAHL::lstKEN_Click()
{
    if (laden_)
        return;
    Guarded(main_.context().dlg(), Kasten(), [&](Guard& g) {
        g.step([&] {
            const int i = ListIndex(*lstKEN);
            lstKEN->setToolTip(i < 0 ? QString() : lstKEN->item(i)->data(KommentarRolle).toString());
        });
    });
}

void frmAUSWAHL::cmdOK_Click()
{
    const bool complete = Guarded(main_.context().dlg(), Kasten(), [&](Guard& g) {
        g.step([&] { SetMousePointer(11); });
        // Each listed record by its ID, so that no difference of order between the list
        // and the table can put the choice on another record.
        std::map<int32_t, bool> gewaehlt;
        g.step([&] {
            for (int i = 0; i < ListCount(*lstKEN); ++i)
                gewaehlt[ItemData(*lstKEN, i)] = lstKEN->item(i)->isSelected();
        });
        std::optional<Transaction> auswahl;
        g.step([&] { auswahl.emplace(main_.cnnX()); });
        Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT [ID],[AKT] FROM [E1] WHERE ID>0"), main_.cnnX()); });
        while (g.loop([&] { return !rs.Eof(); })) {
            g.step([&] {
                const auto entry = gewaehlt.find(CLng(rs.Fields(QStringLiteral("ID")).Value()));
                if (entry != gewaehlt.end()) {
                    rs.Fields(QStringLiteral("AKT")) = Variant(entry->second);
                    rs.Update();
                }
            });
            g.step([&] { rs.MoveNext(); });
        }
        g.step([&] { rs.Close(); });
        g.step([&] {
            if (auswahl)
                auswahl->Commit();
        });
        g.step([&] { main_.Tag = QStringLiteral("OK"); });
        g.step([&] { accept(); });
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
}

void frmAUSWAHL::cmdABBRECHEN_Click()
{
    main_.Tag = QStringLiteral("Abbrechen");
    reject();
}

void frmAUSWAHL::keyPressEvent(QKeyEvent* event)
{
    // Escape is the cancel button; a close through the window frame leaves the Tag.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        cmdABBRECHEN_Click();
    else
        QDialog::keyPressEvent(event);
}
