#include "mdiEINGABE.h"

#include "TitleLine.h"
#include "platform/Wertpruefung.h"
#include "platform/Colors.h"
#include "platform/ErrorGuard.h"
#include "platform/Format.h"
#include "platform/InputCodes.h"
#include "platform/Twips.h"
#include "platform/Variant.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QTabBar>
#include <QTimer>
#include <limits>
#include <optional>
#include <utility>

namespace {

// Design sizes in twips.
constexpr int TabWidth = 10380, TabHeight = 4800;
constexpr int FrameHeight = 1000;
constexpr int Margin = 240;
constexpr int SideWidth = 4920, SideHeight = 4140;
constexpr int GridLeft = 120, GridTop = 300, GridWidth = 3060, GridHeight = 3660;
constexpr int ButtonLeft = 3300, ButtonWidth = 1500, ButtonHeight = 375, ButtonStep = 435;

const QString KenFehlt = QStringLiteral("Datensatzkennzeichnung fehlt!");
const QString DatenfehlerTitel = QStringLiteral("Datenfehler");

// Every value of the window is stored as a Single: the value columns take the range of
// a Single as their limits, so that an edit is refused when it is no number or does
// not fit (without limits a cell would take any text), and a save refuses the same.
constexpr float SingleMax = std::numeric_limits<float>::max();
// The range of a groundwater level, in metres.
constexpr float SpiegelGrenze = 1000.0f;

bool Speicherbar(const QString& text)
{
    QString kopie = text;
    return Wertpruefung(kopie, -SingleMax, SingleMax, false, false) == Wertfehler::Keiner;
}

// The column model of the layer tables (grids 0 and 1) and of the polygon tables.
struct Spaltenmodell {
    Dynamic ELSB, ELST1, ELST2, ELSTTT, ELFORMAT;
};

const Spaltenmodell& Modell(int grid)
{
    static const Spaltenmodell schichten{
        Dynamic::Integers({12, 15, 20}),
        Dynamic::Texts({"Lfd.", "z", "k{t,1}f"}),
        Dynamic::Texts({"Nr.", "[m]", "[m/s]"}),
        Dynamic::Texts({"laufende Nr. der Schichtkote", "z-Koordinate der Schichtkote",
                        "k-Wert des darüberliegenden Abschnittes"}),
        Dynamic::Texts({"#0", "#0.00", "0.00E+00"})};
    static const Spaltenmodell polygone{
        Dynamic::Integers({12, 15, 15}),
        Dynamic::Texts({"Lfd.", "x", "z"}),
        Dynamic::Texts({"Nr.", "[m]", "[m]"}),
        Dynamic::Texts({"laufende Nr. des Polygonpunktes", "x-Koordinate des Polygonpunktes",
                        "z-Koordinate des Polygonpunktes"}),
        Dynamic::Texts({"#0", "#0.00", "#0.00"})};
    return grid < 2 ? schichten : polygone;
}

// Where each grid's rows are kept: table and the columns of grid columns 0, 1, 2
// (the first one numbers the rows). Grid 2t is the left side (K 1), 2t + 1 the right.
struct Tabelle {
    int view;   // index into the views on E1 to E5
    std::array<const char*, 3> spalten;
};
const std::array<Tabelle, 3> Tabellen{{
    {2, {"I1", "Z", "KF"}},
    {3, {"I2", "X", "Z"}},
    {4, {"I3", "X", "Z"}},
}};

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& text, const QRect& place)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    return label;
}

TextBox* NewTextBox(QWidget* parent, const QString& name, int maxLength, const QRect& place)
{
    auto* box = new TextBox(parent);
    box->setObjectName(name);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    box->setGeometry(place);
    return box;
}

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& text, const QRect& place)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(place);
    return button;
}

GuardSpec Kasten(const QString& title)
{
    GuardSpec spec;
    spec.title = title;
    spec.prefix = QStringLiteral("VB-Fehler: ");
    return spec;
}

} // namespace

mdiEINGABE::mdiEINGABE(Context& ctx, Hauptfenster hauptfenster, QWidget* parent)
    : QWidget(parent), ctx_(ctx), hauptfenster_(std::move(hauptfenster))
{
    setObjectName(QStringLiteral("mdiEINGABE"));
    setWindowTitle(QStringLiteral("Eingabe"));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    setFont(font);

    fraKEN = new QGroupBox(this);
    fraKEN->setObjectName(QStringLiteral("fraKEN"));
    fraKEN->setGeometry(PixelRect(Margin, 350, TabWidth, FrameHeight));
    lblKEN = NewLabel(fraKEN, QStringLiteral("lblKEN"), QStringLiteral("Datensatz"), PixelRect(240, 270, 1000, 255));
    txtKEN = NewTextBox(fraKEN, QStringLiteral("txtKEN"), 12, PixelRect(1320, 225, 1800, 315));
    lblKOM = NewLabel(fraKEN, QStringLiteral("lblKOM"), QStringLiteral("Kommentar"), PixelRect(240, 645, 1000, 255));
    txtKOM = NewTextBox(fraKEN, QStringLiteral("txtKOM"), 50, PixelRect(1320, 600, 6600, 315));

    SSTab = new QTabWidget(this);
    SSTab->setObjectName(QStringLiteral("SSTab"));
    SSTab->setGeometry(PixelRect(Margin, 1500, TabWidth, TabHeight));
    const char* const tabs[] = {"Tremolspiegelkoten", "Schichten", "Stromlinie", "Bauwerk"};
    for (int t = 0; t < 4; ++t) {
        fraREITER[t] = new QWidget;
        fraREITER[t]->setObjectName(QStringLiteral("fraREITER_%1").arg(t));
        SSTab->addTab(fraREITER[t], QString::fromUtf8(tabs[t]));
    }
    ControlsOfTab0(fraREITER[0]);
    for (int i = 0; i < 6; ++i)
        ControlsOfSide(i, fraREITER[1 + i / 2], i % 2 == 0 ? 120 : 240 + SideWidth);

    Form_Load();
    geladen_ = Eingabestand();

    qApp->installEventFilter(this);
    resize(sizeHint());
    txtKEN->setFocus();
}

mdiEINGABE::~mdiEINGABE()
{
    // The controls go after this: their last events are none of ours.
    qApp->removeEventFilter(this);
}

QSize mdiEINGABE::sizeHint() const
{
    return QSize(PixelsOfTwips(TabWidth + 2 * Margin), PixelsOfTwips(1500 + TabHeight + Margin));
}

void mdiEINGABE::ControlsOfTab0(QWidget* page)
{
    const struct {
        const char* name;
        const char* caption;
        const char* seite;
        TextBox** box;
        std::array<QLabel*, 2>* labels;
        int top;
    } rows[] = {
        {"ZGWLS", "links:   z =", "linken", &txtZGWLS, &lblZGWLS, 480},
        {"ZGWRS", "rechts: z =", "rechten", &txtZGWRS, &lblZGWRS, 960},
    };
    for (const auto& row : rows) {
        const QString name = QString::fromLatin1(row.name);
        const QString tip = QStringLiteral("Z-Koordinate des Grundtremols auf der %1 Seite").arg(QLatin1String(row.seite));
        auto& labels = *row.labels;
        labels[0] = NewLabel(page, QStringLiteral("lbl%1_0").arg(name), QString::fromLatin1(row.caption),
                             PixelRect(480, row.top + 40, 1000, 255));
        *row.box = NewTextBox(page, QStringLiteral("txt") + name, 0, PixelRect(1560, row.top, 1200, 315));
        (*row.box)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        labels[1] = NewLabel(page, QStringLiteral("lbl%1_1").arg(name), QStringLiteral("[m]"),
                             PixelRect(2880, row.top + 40, 400, 255));
        for (QWidget* w : {static_cast<QWidget*>(labels[0]), static_cast<QWidget*>(*row.box),
                           static_cast<QWidget*>(labels[1])})
            w->setToolTip(tip);
    }
}

void mdiEINGABE::ControlsOfSide(int i, QWidget* page, int left)
{
    auto* frame = new QGroupBox(i % 2 == 0 ? QStringLiteral("Linke Seite") : QStringLiteral("Rechte Seite"), page);
    frame->setObjectName(QStringLiteral("fraSEITE_%1").arg(i));
    frame->setGeometry(PixelRect(left, 120, SideWidth, SideHeight));
    fraSEITE[i] = frame;

    msgFLX[i] = new FlexGrid(frame);
    msgFLX[i]->setObjectName(QStringLiteral("msgFLX_%1").arg(i));
    msgFLX[i]->setIndex(int16_t(i));
    msgFLX[i]->setGeometry(PixelRect(GridLeft, GridTop, GridWidth, GridHeight));

    txtFLX[i] = new TextBox(frame);
    txtFLX[i]->setObjectName(QStringLiteral("txtFLX_%1").arg(i));
    txtFLX[i]->setFocusPolicy(Qt::ClickFocus);   // no tab stop
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(9);
    txtFLX[i]->setFont(arial);
    txtFLX[i]->hide();

    picFLX[i] = new PictureBox(1.0, 1.0, TwipsDpi, frame);
    picFLX[i]->setObjectName(QStringLiteral("picFLX_%1").arg(i));

    const auto button = [&](const char* name, const char* text, int n) {
        return NewButton(frame, QStringLiteral("%1_%2").arg(QLatin1String(name)).arg(i), QString::fromUtf8(text),
                         PixelRect(ButtonLeft, GridTop + n * ButtonStep, ButtonWidth, ButtonHeight));
    };
    cmdH[i] = button("cmdH", "Zeile einfügen", 0);
    cmdW[i] = button("cmdW", "Zeile entfernen", 1);
    cmdK[i] = button("cmdK", "Kopieren", 2);
    cmdE[i] = button("cmdE", "Einfügen", 3);
}

void mdiEINGABE::Form_Load()
{
    sprache_ = ctx_.SPRACHE;
    for (int i = 0; i < 6; ++i)
        FLX_[i] = std::make_shared<clsFLX>(ctx_);
    for (int i = 0; i < 6; ++i) {
        ConfigureTable(i);
        ForwardEvents(i);
    }
    // A grid knows which columns are in view only once it is laid out, which happens
    // when its tab is first shown: the titles are drawn again then.
    connect(SSTab, &QTabWidget::currentChanged, this, [this](int tab) {
        for (int i = 2 * tab - 2; tab > 0 && i < 2 * tab; ++i)
            Melden(QStringLiteral("SSTab_Click"), [&] { FLX_[i]->BESCHRIFTEN(); });
    });
    for (int v = 0; v < 5; ++v) {
        vE_[v] = std::make_shared<clsDATEN>(ctx_);
        vE_[v]->ETABELLE(QStringLiteral("E%1").arg(v + 1));
    }
    SSTab->setCurrentIndex(0);
}

void mdiEINGABE::ConfigureTable(int i)
{
    const Spaltenmodell& m = Modell(i);
    clsFLX& t = *FLX_[i];
    t.EFLX(msgFLX[i]);
    t.ETXT(txtFLX[i]);
    t.EPIC(picFLX[i]);
    t.ELSB(m.ELSB);
    t.ELST1(m.ELST1);
    t.ELST2(m.ELST2);
    t.ELSTTT(m.ELSTTT);
    t.ELSTYP(Dynamic::Integers({1, 0, 0}));
    t.ELFORMAT(m.ELFORMAT);
    t.ELA(Dynamic::Integers({1, 2, 2}));
    const Dynamic keine = Dynamic::Missing();   // the running number is the table's own
    t.ELMIN(Dynamic::Array({keine, Dynamic(Variant(-SingleMax)), Dynamic(Variant(-SingleMax))}));
    t.ELMAX(Dynamic::Array({keine, Dynamic(Variant(SingleMax)), Dynamic(Variant(SingleMax))}));
    t.SCHRIFTEINSTELLUNGEN(QString(), 9, false, false, false, 0);
    // The title picture lies over the header row in its colour.
    picFLX[i]->setBackColor(LongFromColor(msgFLX[i]->BackColorFixed()));
    Melden(QStringLiteral("Form_Load"), [&] { t.BESCHRIFTEN(); });
}

void mdiEINGABE::ForwardEvents(int i)
{
    clsFLX* t = FLX_[i].get();
    FlexGrid* g = msgFLX[i];
    connect(g, &FlexGrid::dblClick, this, [t] { t->BEARBEITEN(0, 0); });
    connect(g, &FlexGrid::keyPress, this, [this, t](int code) {
        t->BEARBEITEN(int16_t(code), 0);
        ERSTERKWERT();
    });
    connect(g, &FlexGrid::click, this, [this, t] {
        t->EINFUEGEN(0);
        ERSTERKWERT();
    });
    connect(g, &FlexGrid::mouseDown, this, [t](int, int, float x, float) { t->BEARBEITEN(-2, x); });
    connect(g, &FlexGrid::mouseUp, this, [t](int, int, float, float) { t->EINFUEGEN(-2); });
    connect(g, &FlexGrid::scroll, this, [this, t] {
        t->EINFUEGEN(0);
        Melden(QStringLiteral("msgFLX_Scroll"), [t] { t->BESCHRIFTEN(); });
    });
    connect(g, &FlexGrid::mouseMove, this, [t](int, int, float x, float y) { t->TOOLTIP(x, y); });
    connect(picFLX[i], &PictureBox::mouseMove, this, [t](int, int, float x, float y) { t->TOOLTIP(x, y); });
    OnKeyPress(txtFLX[i], [this, t](int code) {
        t->EINFUEGEN(int16_t(code));
        if (code == 13)
            ERSTERKWERT();
    });
    // A refused commit stops the row command: the text being corrected keeps its row.
    connect(cmdH[i], &QPushButton::clicked, this, [t] {
        if (t->EINFUEGEN(0))
            t->ZEILEEINFUEGEN();
    });
    connect(cmdW[i], &QPushButton::clicked, this, [t] {
        if (t->EINFUEGEN(0))
            t->ZEILEENTFERNEN();
    });
    connect(cmdK[i], &QPushButton::clicked, this, [t] { t->BEARBEITEN(-1, 0); });
    connect(cmdE[i], &QPushButton::clicked, this, [t] { t->EINFUEGEN(-1); });
}

void mdiEINGABE::Melden(const QString& routine, const std::function<void()>& step)
{
    Guarded(ctx_.dlg(), Kasten(routine), [&](Guard& g) { g.step(step); });
}

void mdiEINGABE::ERSTERKWERT()
{
    if (SSTab->currentIndex() != 1)
        return;
    // In the column's format, as every other value of the column shows after a load.
    for (int i : {0, 1})
        msgFLX[i]->setTextMatrix(1, 2, Format(Variant(int16_t(0)), FLX_[i]->ELFORMAT()[2].text()));
}

// ---------------------------------------------------------------- size

void mdiEINGABE::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void mdiEINGABE::Form_Resize()
{
    const QWidget* frame = parentWidget() ? parentWidget() : this;
    if (frame->isMinimized())
        return;
    const double frameHeight = fraKEN->height() * TwipsPerPixel;
    const double tabTop = 1.5 * frameHeight;
    const double tabLeft = (width() * TwipsPerPixel - SSTab->width() * TwipsPerPixel) / 2.0;
    SSTab->move(PixelsOfTwips(tabLeft), PixelsOfTwips(tabTop));
    fraKEN->move(PixelsOfTwips(tabLeft), PixelsOfTwips(tabTop - 1.15 * frameHeight));
}

// ---------------------------------------------------------------- checks

bool mdiEINGABE::WERTPRUEFUNG(QString& text, float min, float max, bool ganz, bool datum, const QString& titel)
{
    const Wertfehler fehler = Wertpruefung(text, min, max, ganz, datum);
    if (fehler == Wertfehler::Keiner)
        return true;
    if (sprache_ == 1 || sprache_ == 3) {
        ctx_.dlg().MsgBox(Wertmeldung(fehler, sprache_, min, max), MsgButtons::OK,
                          fehler == Wertfehler::KeinDatum ? MsgIcon::Exclamation : MsgIcon::None, titel);
    }
    return false;
}

void mdiEINGABE::txtKEN_Validate(bool& Cancel)
{
    if (!Trim(txtKEN->text()).isEmpty())
        return;
    ctx_.dlg().MsgBox(KenFehlt, MsgButtons::OK, MsgIcon::Exclamation, QStringLiteral("Datenfehler"));
    Cancel = true;
}

void mdiEINGABE::txtZGWLS_Validate(bool& Cancel)
{
    QString text = txtZGWLS->text();
    Cancel = !WERTPRUEFUNG(text, -SpiegelGrenze, SpiegelGrenze, false, false,
                           QStringLiteral("z-Koordinate des GW links; Wert außerhalb der Schranken"));
}

void mdiEINGABE::txtZGWRS_Validate(bool& Cancel)
{
    QString text = txtZGWRS->text();
    Cancel = !WERTPRUEFUNG(text, -SpiegelGrenze, SpiegelGrenze, false, false,
                           QStringLiteral("z-Koordinate des GW rechts; Wert außerhalb der Schranken"));
}

bool mdiEINGABE::Geprueft(const QWidget* w) const
{
    return w && (w == txtKEN || w == txtZGWLS || w == txtZGWRS);
}

bool mdiEINGABE::Pruefen(QWidget* box)
{
    // Only locals after the box: the window may be gone when it closes.
    bool Cancel = false;
    if (box == txtKEN)
        txtKEN_Validate(Cancel);
    else if (box == txtZGWLS)
        txtZGWLS_Validate(Cancel);
    else if (box == txtZGWRS)
        txtZGWRS_Validate(Cancel);
    return !Cancel;
}

bool mdiEINGABE::Mausklick(QWidget* receiver, QWidget* verlassen)
{
    // A press on the tab bar takes no focus but would hide the box.
    QWidget* focus = QApplication::focusWidget();
    if (!verlassen && receiver == SSTab->tabBar() && Geprueft(focus))
        verlassen = focus;
    if (!verlassen || Pruefen(verlassen))
        return false;
    verlassen->setFocus(Qt::OtherFocusReason);
    return true;
}

// ---------------------------------------------------------------- keys

int mdiEINGABE::ActiveGrid() const
{
    const QWidget* focus = QApplication::focusWidget();
    for (int i = 0; i < 6; ++i)
        if (focus && (focus == msgFLX[i] || msgFLX[i]->isAncestorOf(focus)))
            return i;
    return -1;
}

bool mdiEINGABE::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (!watched->isWidgetType())
        return false;
    auto* receiver = static_cast<QWidget*>(watched);
    // A press gives the focus before anyone sees it: the box it took the focus from is
    // noted when the focus leaves, and checked when the press itself comes by.
    if (type == QEvent::FocusOut && Geprueft(receiver)
        && static_cast<const QFocusEvent&>(*event).reason() == Qt::MouseFocusReason)
        verlassen_ = receiver;
    if (type == QEvent::MouseButtonPress) {
        QWidget* verlassen = std::exchange(verlassen_, nullptr);
        return isAncestorOf(receiver) && Mausklick(receiver, verlassen);
    }
    if (type != QEvent::KeyPress)
        return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    // Ctrl+Tab belongs to the tabs, wherever in the window (its frame included) it is
    // typed: the main window's area would switch to another window with it.
    if (ReiterTaste(key) && (receiver == parentWidget() || isAncestorOf(receiver)))
        return Reiterwechsel(receiver, key);
    if (!isAncestorOf(receiver))
        return false;
    // A key travels up from the focused control; it is seen once, on its first stop.
    QWidget* focus = QApplication::focusWidget();
    if (receiver != (focus ? focus : this))
        return false;
    return Form_KeyDown(receiver, key);
}

bool mdiEINGABE::ReiterTaste(const QKeyEvent& key)
{
    return (key.modifiers() & Qt::ControlModifier) && (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab);
}

bool mdiEINGABE::Reiterwechsel(QWidget* receiver, const QKeyEvent& key)
{
    // Another tab hides the box being left: its check runs first, as for a click on a tab.
    const QPointer<mdiEINGABE> self(this);
    if (Geprueft(receiver) && (!Pruefen(receiver) || !self))
        return true;
    const bool zurueck = key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
    const int n = SSTab->count();
    SSTab->setCurrentIndex((SSTab->currentIndex() + (zurueck ? n - 1 : 1)) % n);
    return true;
}

bool mdiEINGABE::Form_KeyDown(QWidget* receiver, const QKeyEvent& key)
{
    const Qt::KeyboardModifiers mods = key.modifiers();
    const bool ctrl = mods & Qt::ControlModifier;
    if ((mods & Qt::KeypadModifier) && (key.key() == Qt::Key_Period || key.key() == Qt::Key_Comma)) {
        // The pad's key types the locale's separator, whatever it is labelled.
        const QString separator = ctx_.DEZIMALPUNKT;
        QKeyEvent ersatz(QEvent::KeyPress, separator == QStringLiteral(",") ? Qt::Key_Comma : Qt::Key_Period,
                         Qt::NoModifier, separator);
        QCoreApplication::sendEvent(receiver, &ersatz);
        return true;
    }
    if (key.key() == Qt::Key_Q && (mods & Qt::AltModifier)) {
        Befehl(hauptfenster_.mnuBEENDEN_Click);
        return true;   // a command key, never a letter typed into a box
    }
    if (key.key() == Qt::Key_C && ctrl && ActiveGrid() >= 0)
        FLX_[ActiveGrid()]->BEARBEITEN(-1, 0);
    if (key.key() == Qt::Key_S && ctrl)
        Befehl(hauptfenster_.Speichern);
    if (key.key() == Qt::Key_V && ctrl && ActiveGrid() >= 0)
        FLX_[ActiveGrid()]->EINFUEGEN(-1);
    // Keys that move the focus or show another tab leave a checked box.
    const bool weiter = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab
                        || (ctrl && (key.key() == Qt::Key_PageUp || key.key() == Qt::Key_PageDown));
    if (weiter && Geprueft(receiver))
        return !Pruefen(receiver);
    return false;
}

void mdiEINGABE::Befehl(const std::function<void()>& command)
{
    if (command)
        QTimer::singleShot(0, window(), command);
}

void mdiEINGABE::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Befehl(hauptfenster_.Verwerfen);
}

// ---------------------------------------------------------------- the record

bool mdiEINGABE::PRUEFEN()
{
    // A record without a designation could never be found again.
    if (Trim(txtKEN->text()).isEmpty()) {
        ctx_.dlg().MsgBox(KenFehlt, MsgButtons::OK, MsgIcon::Exclamation, DatenfehlerTitel);
        txtKEN->setFocus();
        return false;
    }
    // A value still in a cell's editor belongs to the record.
    for (int i = 0; i < 6; ++i) {
        if (!FLX_[i]->EINFUEGEN(0)) {
            // Refused: the text being corrected is shown, with the keyboard in it.
            SSTab->setCurrentIndex(1 + i / 2);
            txtFLX[i]->setFocus();
            return false;
        }
    }
    return AllesSpeicherbar() && Vollstaendig();
}

QString mdiEINGABE::KEN() const
{
    const std::optional<Variant> loaded = LoadedValue(*txtKEN);
    return loaded ? CStr(*loaded) : txtKEN->text();
}

bool mdiEINGABE::OK(int32_t AKTID)
{
    // The views yield while they write: they and the connection are held until the end.
    const Views views = vE_;
    const std::shared_ptr<Connection> cnn = ctx_.cnnX;
    QString stelle;
    bool gespeichert = false;
    Guarded(ctx_.dlg(), Kasten(QStringLiteral("OK")), [&](Guard& g) {
        // The window is stored whole or not at all.
        std::optional<Transaction> speichern;
        g.step([&] { speichern.emplace(cnn); });
        if (!speichern || !Uebertragen(g, views, AKTID, true, stelle))
            return;
        g.step([&] {
            speichern->Commit();
            gespeichert = true;
        });
    });
    if (!gespeichert)
        NichtGespeichert(stelle);
    return gespeichert;
}

void mdiEINGABE::OEFFNEN(int32_t AKTID)
{
    const Views views = vE_;
    QString stelle;
    Guarded(ctx_.dlg(), Kasten(QStringLiteral("Datei/Öffnen")), [&](Guard& g) {
        if (!Uebertragen(g, views, AKTID, false, stelle))
            return;
        for (int i = 0; i < 6; ++i)
            g.step([&] { FLX_[i]->AKTUALISIEREN(); });
    });
    geladen_ = Eingabestand();
}

QStringList mdiEINGABE::Eingabestand() const
{
    QStringList stand{txtKEN->text(), txtKOM->text(), txtZGWLS->text(), txtZGWRS->text()};
    for (int i = 0; i < 6; ++i) {
        const FlexGrid& g = *msgFLX[size_t(i)];
        stand << (g.Enabled() ? QStringLiteral("+") : QStringLiteral("-"));
        for (int row = g.FixedRows(); row < g.FixedRows() + Gefuellt(i); ++row)
            for (int col = 1; col < g.Cols(); ++col)
                stand << g.TextMatrix(row, col);
    }
    return stand;
}

bool mdiEINGABE::Ungespeichert() const
{
    for (int i = 0; i < 6; ++i) {
        const FlexGrid& g = *msgFLX[size_t(i)];
        const TextBox& editor = *txtFLX[size_t(i)];
        if (!editor.isHidden() && editor.text() != g.TextMatrix(g.Row(), g.Col()))
            return true;
    }
    return Eingabestand() != geladen_;
}

bool mdiEINGABE::Uebertragen(Guard& g, const Views& views, int32_t AKTID, bool schreiben, QString& stelle)
{
    const auto box = [&](clsDATEN& view, const QString& spalte, TextBox& txt, const QString& ort) {
        stelle = ort;
        return g.test([&] { return schreiben ? view.DFTTT(spalte, txt) : view.DTFTT(spalte, txt); });
    };
    clsDATEN& e1 = *views[0];
    g.step([&] { e1.ESPIDW(AKTID); });
    if (!box(e1, QStringLiteral("KEN"), *txtKEN, lblKEN->text()))
        return false;
    // A comment that cannot be read stops no load; one that cannot be written stops the
    // save, which is stored whole or not at all.
    if (!box(e1, QStringLiteral("KOM"), *txtKOM, lblKOM->text()) && schreiben)
        return false;
    stelle = lblKEN->text();
    if (schreiben && !g.test([&] { return e1.DVTB(QStringLiteral("AKT"), true); }))
        return false;
    clsDATEN& e2 = *views[1];
    g.step([&] { e2.ESPIDW(AKTID); });
    if (!box(e2, QStringLiteral("ZGWLS"), *txtZGWLS, Spiegelstelle(false))
        || !box(e2, QStringLiteral("ZGWRS"), *txtZGWRS, Spiegelstelle(true)))
        return false;
    for (size_t t = 0; t < Tabellen.size(); ++t) {
        clsDATEN& view = *views[size_t(Tabellen[t].view)];
        g.step([&] { view.ESPIDW(AKTID); });
        const QString index = QLatin1String(Tabellen[t].spalten[0]);
        for (int16_t k = 1; k <= 2; ++k) {
            const int i = int(2 * t) + k - 1;
            FlexGrid& grid = *msgFLX[size_t(i)];
            const int zeilen = schreiben ? Zeilen(i) : 0;
            for (int16_t c = 0; c < 3; ++c) {
                const QString spalte = QLatin1String(Tabellen[t].spalten[size_t(c)]);
                const QString nr = CStr(Variant(c));
                stelle = Tabellenstelle(i, c);
                const bool ok = g.test([&] {
                    return schreiben
                        ? view.DFTFM(spalte, grid, nr, QStringLiteral("K"), Variant(k), index, {}, {}, {}, {}, zeilen)
                        : view.DTFFM(spalte, grid, nr, QStringLiteral("K"), Variant(k), index);
                });
                if (!ok)
                    return false;
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------- checks of a save

QString mdiEINGABE::Spiegelstelle(bool rechts) const
{
    return SSTab->tabText(0) + (rechts ? QStringLiteral(", rechts") : QStringLiteral(", links"));
}

QString mdiEINGABE::Tabellenstelle(int i, int col, int row) const
{
    const bool en = sprache_ == 1;
    QString stelle = SSTab->tabText(1 + i / 2) + QStringLiteral(", ") + fraSEITE[size_t(i)]->title();
    if (row >= 0)   // the row as the table numbers it, in its running-number column
        stelle += (en ? QStringLiteral(", row ") : QStringLiteral(", Zeile ")) + msgFLX[size_t(i)]->TextMatrix(row, 0);
    if (col < 0)
        return stelle;
    return stelle + (en ? QStringLiteral(", column ") : QStringLiteral(", Spalte "))
           + PlainTitle(FLX_[size_t(i)]->ELST1()[col].text());
}

std::optional<mdiEINGABE::Zelle> mdiEINGABE::ErsteZelle(const std::function<bool(const Zelle&)>& test) const
{
    for (int i = 0; i < 6; ++i) {
        const FlexGrid& g = *msgFLX[size_t(i)];
        if (!g.Enabled())
            continue;   // the empty table: nothing of it is stored
        for (int row = g.FixedRows(); row < g.Rows(); ++row)
            for (int col = 1; col < g.Cols(); ++col)
                if (test(Zelle{i, row, col}))
                    return Zelle{i, row, col};
    }
    return std::nullopt;
}

QString mdiEINGABE::Zellentext(const Zelle& z) const
{
    return Trim(msgFLX[size_t(z.i)]->TextMatrix(z.row, z.col));
}

void mdiEINGABE::ZurZelle(const Zelle& z)
{
    SSTab->setCurrentIndex(1 + z.i / 2);
    FlexGrid& g = *msgFLX[size_t(z.i)];
    g.setRow(z.row);
    g.setCol(z.col);
    g.SetFocus();
}

void mdiEINGABE::ZumSpiegel(bool rechts)
{
    SSTab->setCurrentIndex(0);
    (rechts ? txtZGWRS : txtZGWLS)->setFocus();
}

bool mdiEINGABE::AllesSpeicherbar()
{
    const bool en = sprache_ == 1;
    const auto melden = [&](const QString& stelle, const QString& text, Wertfehler fehler, float min, float max) {
        ctx_.dlg().MsgBox(stelle + QStringLiteral(": \"") + Trim(text) + QStringLiteral("\"\n")
                              + Wertmeldung(fehler, sprache_, min, max) + QLatin1Char('\n')
                              + (en ? QStringLiteral("The record was not saved.")
                                    : QStringLiteral("Der Datensatz wurde nicht gespeichert.")),
                          MsgButtons::OK, MsgIcon::Exclamation, DatenfehlerTitel);
    };
    // The levels are tested as leaving their boxes tests them, whether or not they were left.
    for (const bool rechts : {false, true}) {
        const TextBox* box = rechts ? txtZGWRS : txtZGWLS;
        QString kopie = box->text();
        const Wertfehler fehler = Wertpruefung(kopie, -SpiegelGrenze, SpiegelGrenze, false, false);
        if (fehler != Wertfehler::Keiner) {
            melden(Spiegelstelle(rechts), box->text(), fehler, -SpiegelGrenze, SpiegelGrenze);
            ZumSpiegel(rechts);
            return false;
        }
    }
    const auto zelle = ErsteZelle([&](const Zelle& z) { return !Speicherbar(Zellentext(z)); });
    if (!zelle)
        return true;
    melden(Tabellenstelle(zelle->i, zelle->col, zelle->row), Zellentext(*zelle), Wertfehler::KeineZahl, 0, 0);
    ZurZelle(*zelle);
    return false;
}

bool mdiEINGABE::Zaehlt(const Zelle& z) const
{
    return z.i >= 2 || z.row > msgFLX[size_t(z.i)]->FixedRows() || z.col != 2;
}

bool mdiEINGABE::ZeileLeer(int i, int row) const
{
    for (int col = 1; col < msgFLX[size_t(i)]->Cols(); ++col) {
        const Zelle z{i, row, col};
        if (Zaehlt(z) && !Zellentext(z).isEmpty())
            return false;
    }
    return true;
}

int mdiEINGABE::Gefuellt(int i) const
{
    const FlexGrid& g = *msgFLX[size_t(i)];
    for (int row = g.Rows() - 1; row >= g.FixedRows(); --row)
        if (!ZeileLeer(i, row))
            return row - g.FixedRows() + 1;
    return 0;
}

int mdiEINGABE::Zeilen(int i) const
{
    const int gefuellt = Gefuellt(i);
    return gefuellt > 0 ? gefuellt : msgFLX[size_t(i)]->Rows() - msgFLX[size_t(i)]->FixedRows();
}

bool mdiEINGABE::Vollstaendig()
{
    const bool en = sprache_ == 1;
    const QString titel = en ? QStringLiteral("Incomplete input") : QStringLiteral("Unvollständige Eingabe");
    // What is missing, why it matters, and what the buttons do: true for OK.
    const auto warnen = [&](const QString& was, const QString& warum, const QString& knoepfe) {
        return ctx_.dlg().MsgBox(was + QLatin1Char('\n') + warum + QLatin1Char('\n') + knoepfe, MsgButtons::OKCancel,
                                 MsgIcon::Exclamation, titel)
            == MsgResult::OK;
    };
    const QString keinWert = en ? QStringLiteral("No value in ") : QStringLiteral("Kein Wert in ");
    for (const bool rechts : {false, true}) {
        if (!Trim((rechts ? txtZGWRS : txtZGWLS)->text()).isEmpty())
            continue;
        if (warnen(keinWert + Spiegelstelle(rechts) + QLatin1Char('.'),
                   en ? QStringLiteral("Without both groundwater levels the record cannot be calculated.")
                      : QStringLiteral("Ohne beide Tremolspiegelkoten kann der Datensatz nicht berechnet werden."),
                   en ? QStringLiteral("OK saves the record as it is, Cancel returns to the box.")
                      : QStringLiteral("OK speichert den Datensatz, wie er ist, Abbrechen kehrt zum Feld zurück.")))
            return true;
        ZumSpiegel(rechts);
        return false;
    }
    // A row with some of its values, or a wholly empty one before a filled row of its table.
    std::array<int, 6> gefuellt{};
    for (int i = 0; i < 6; ++i)
        gefuellt[size_t(i)] = Gefuellt(i);
    const auto zelle = ErsteZelle([&](const Zelle& z) {
        return Zaehlt(z) && Zellentext(z).isEmpty()
            && (!ZeileLeer(z.i, z.row) || z.row - msgFLX[size_t(z.i)]->FixedRows() < gefuellt[size_t(z.i)]);
    });
    if (!zelle)
        return true;
    const bool leer = ZeileLeer(zelle->i, zelle->row);
    const QString was = leer ? (en ? QStringLiteral("Empty row in ") : QStringLiteral("Leere Zeile in "))
                                   + Tabellenstelle(zelle->i, -1, zelle->row) + QLatin1Char('.')
                             : keinWert + Tabellenstelle(zelle->i, zelle->col, zelle->row) + QLatin1Char('.');
    const QString warum = leer ? (en ? QStringLiteral("An empty row between filled rows cannot be calculated.")
                                     : QStringLiteral("Eine leere Zeile zwischen gefüllten Zeilen kann nicht berechnet werden."))
                               : (en ? QStringLiteral("A row without all of its values cannot be calculated.")
                                     : QStringLiteral("Eine Zeile ohne alle ihre Werte kann nicht berechnet werden."));
    if (warnen(was, warum,
               en ? QStringLiteral("OK saves the record as it is, Cancel returns to the cell.")
                  : QStringLiteral("OK speichert den Datensatz, wie er ist, Abbrechen kehrt zur Zelle zurück.")))
        return true;
    ZurZelle(*zelle);
    return false;
}

void mdiEINGABE::NichtGespeichert(const QString& stelle)
{
    const bool en = sprache_ == 1;
    QString text = en ? QStringLiteral("The record was not saved.\n") : QStringLiteral("Der Datensatz wurde nicht gespeichert.\n");
    if (!stelle.isEmpty())
        text += (en ? QStringLiteral("Writing failed at: ") : QStringLiteral("Fehler beim Schreiben: ")) + stelle + QLatin1Char('\n');
    text += en ? QStringLiteral("What was saved before stays as it was.")
               : QStringLiteral("Gespeichert bleibt, was vorher gespeichert war.");
    ctx_.dlg().MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, DatenfehlerTitel);
}
