#include "RecordCommands.h"
#include "Datensatz.h"
#include "Pictures.h"
#include "frmAUSWAHL.h"
#include "frmMAIN.h"
#include "input/mdiEINGABE.h"
#include "pages/common/PageForm.h"
#include "platform/Ado.h"
#include "platform/ErrorGuard.h"
#include "platform/SessionEnd.h"
#include "platform/Yield.h"
#include <QMdiArea>
#include <QMdiSubWindow>
#include <optional>

mdiEINGABE* RecordCommands::EINGABE() const
{
    return eingabe_;
}

bool RecordCommands::Auswahl(const QString& modus)
{
    main_.Tag = modus;
    frmAUSWAHL dialog(main_);
    const OutsideUnloadDeferral modal;
    dialog.exec();
    return main_.Tag == QStringLiteral("OK");
}

mdiEINGABE& RecordCommands::ShowEingabe()
{
    if (!eingabe_) {
        frmMAIN& main = main_;
        mdiEINGABE::Hauptfenster hauptfenster{
            [&main] { main.mnuBEENDEN_Click(); },
            [&main] { main.stbMAIN_PanelClick(8); },
            [&main] { main.stbMAIN_PanelClick(9); },
        };
        auto* form = new mdiEINGABE(main_.context(), std::move(hauptfenster));
        QMdiSubWindow* sub = main_.mdiArea->addSubWindow(form);
        sub->setObjectName(QStringLiteral("mdiEINGABE_Window"));
        sub->setWindowIcon(SuiteIcon());
        eingabe_ = form;
    }
    ShowMaximized(eingabe_);
    return *eingabe_;
}

void RecordCommands::Eingabestatus(bool an)
{
    if (!an && eingabe_) {
        // Deleted later: the window's own key may be what ends the input.
        QWidget* sub = eingabe_->parentWidget();
        eingabe_ = nullptr;
        sub->hide();
        sub->deleteLater();
        if (main_.StartWindowLoaded())
            main_.StartWindowToFront();
    }
    main_.stbMAIN->Panels(8).SetVisible(an);
    main_.stbMAIN->Panels(9).SetVisible(an);
    main_.MenusEnabled(!an);
}

void RecordCommands::mnuNEU_Click()
{
    Guarded(main_.context().dlg(), RoutineBox(main_.Caption(QStringLiteral("mnuNEU"))), [&](Guard& g) {
        geoeffnet_ = 0;
        g.step([&] { ShowEingabe(); });
        g.step([&] {
            main_.stbMAIN->Panels(6).setText(QStringLiteral("-"));
            main_.stbMAIN->Panels(6).setToolTip(QString());
        });
        g.step([&] { Eingabestatus(true); });
    });
}

void RecordCommands::mnuOEFFNEN_Click()
{
    Context& ctx = main_.context();
    const QString title = main_.Caption(QStringLiteral("mnuOEFFNEN"));
    const bool complete = Guarded(ctx.dlg(), RoutineBox(title), [&](Guard& g) {
        int32_t id = 0;
        for (;;) {
            if (!Auswahl(QStringLiteral("O")))
                return;
            long count = 0;
            g.step([&] {
                Recordset rs;
                rs.Open(QStringLiteral("SELECT [ID],[KEN] FROM [E1] WHERE [AKT]=true and [ID]>0 ORDER BY [KEN]"),
                        ctx.cnnX);
                count = rs.RecordCount();
                if (count == 1)
                    id = CLng(rs.Fields(QStringLiteral("ID")).Value());
                rs.Close();
            });
            if (count == 1)
                break;
            const QString text = count == 0
                ? main_.T("There is no selected file!", "Es gibt keinen aktuellen Datensatz!")
                : main_.T("Only one file can be opened!", "Es kann nur ein aktueller Datensatz geöffnet werden!");
            if (ctx.dlg().MsgBox(text, MsgButtons::OKCancel, MsgIcon::Exclamation, title) != MsgResult::OK)
                return;
        }
        g.step([&] { SetMousePointer(11); });
        g.step([&] { ShowEingabe(); });
        g.step([&] { DoEvents(); });
        g.step([&] { main_.AKTIVANZEIGE(); });
        // The window is reached anew after each yield.
        g.step([&] {
            if (!eingabe_)
                throw VbError(VbErr::ObjectNotSet);
            geoeffnet_ = id;
            eingabe_->OEFFNEN(id);
        });
        g.step([&] { DoEvents(); });
        g.step([&] { Eingabestatus(true); });
        g.step([&] { SetMousePointer(0); });
    });
    if (!complete)
        SetMousePointer(0);
}

void RecordCommands::mnuAUSWAHL_Click()
{
    Guarded(main_.context().dlg(), RoutineBox(main_.Caption(QStringLiteral("mnuAUSWAHL"))), [&](Guard& g) {
        if (!Auswahl(QStringLiteral("A")))
            return;
        g.step([&] { main_.AKTIVANZEIGE(); });
        g.step([&] { main_.MarkChanged(); });
    });
}

void RecordCommands::mnuLOESCHEN_Click()
{
    Context& ctx = main_.context();
    const QString title = main_.Caption(QStringLiteral("mnuLOESCHEN"));
    Guarded(ctx.dlg(), RoutineBox(title), [&](Guard& g) {
        if (!Auswahl(QStringLiteral("L")))
            return;
        std::vector<std::pair<int32_t, QString>> aktive;
        Recordset rs;
        g.step([&] { rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [AKT]=true"), ctx.cnnX); });
        while (g.loop([&] { return !rs.Eof(); })) {
            g.step([&] {
                const Variant ken = rs.Fields(QStringLiteral("KEN")).Value();
                aktive.emplace_back(CLng(rs.Fields(QStringLiteral("ID")).Value()), ken.isNull() ? QString() : CStr(ken));
            });
            g.step([&] { rs.MoveNext(); });
        }
        g.step([&] { rs.Close(); });
        for (const auto& [id, ken] : aktive) {
            const QString text = main_.T("File ", "Datensatz ") + ken + main_.T(" will be deleted!", " wird gelöscht!");
            // A record goes with all its rows, so that a later record of its number
            // inherits no results or layouts.
            if (ctx.dlg().MsgBox(text, MsgButtons::OKCancel, MsgIcon::Exclamation, title) == MsgResult::OK)
                g.step([&] { LoescheDatensatz(ctx.cnnX, id); });
        }
        g.step([&] { main_.AKTIVANZEIGE(); });
        g.step([&] { main_.MarkChanged(); });
    });
}

void RecordCommands::EingabeSpeichern(Guard& g, const QString& title)
{
    const QPointer<mdiEINGABE> eingabe = eingabe_;
    if (!eingabe)
        return;
    Context& ctx = main_.context();
    // Every check and warning comes before the question whether to overwrite: a save the
    // user confirmed is not refused afterwards.
    // A check that fails with an error stops the save as a refusal does.
    if (!g.value<bool>([&] { return eingabe->PRUEFEN(); }, false) || !eingabe)
        return;
    const std::shared_ptr<Connection> cnn = ctx.cnnX;
    const QString d = eingabe->KEN();
    // The overwritten record's anchor row and every write of the save go together:
    // a save that fails leaves the stored record as it was.
    std::optional<Transaction> speichern;
    g.step([&] { speichern.emplace(cnn); });
    if (!speichern)
        return;
    int32_t id = 0;
    Recordset rs;
    // The opened record, saved under its own designation, is itself, not a namesake.
    g.step([&] {
        rs.Open(QStringLiteral("SELECT * FROM [E1] WHERE [KEN]=? ORDER BY [ID]=? DESC"), {Variant(d), Variant(geoeffnet_)},
                cnn);
    });
    if (g.test([&] { return rs.Eof(); })) {
        g.step([&] { rs.Close(); });
        g.step([&] { id = NeueDatensatzID(cnn); });
    } else {
        const QString frage = main_.T("Do you want to overwrite the file ", "Soll der vorhandene Datensatz ") + d
                              + main_.T("?", " überschrieben werden?");
        if (ctx.dlg().MsgBox(frage, MsgButtons::YesNo, MsgIcon::Question, title) == MsgResult::No)
            return;
        g.step([&] { rs.MoveFirst(); });
        g.step([&] { id = CLng(rs.Fields(QStringLiteral("ID")).Value()); });
        g.step([&] { rs.Delete(); });
        g.step([&] { rs.Close(); });
    }
    g.step([&] { SetMousePointer(11); });
    bool gespeichert = false;
    g.step([&] { gespeichert = eingabe && eingabe->OK(id); });
    if (!gespeichert)
        return;
    // The other records lose their selection in the same transaction: a save is
    // stored whole, with it, or not at all.
    bool festgeschrieben = false;
    g.step([&] {
        Recordset andere;
        andere.Open(QStringLiteral("SELECT * FROM [E1] WHERE [ID]<>? AND [AKT]=true"), {Variant(id)}, cnn);
        for (; !andere.Eof(); andere.MoveNext()) {
            andere.Fields(QStringLiteral("AKT")) = Variant(false);
            andere.Update();
        }
        andere.Close();
        speichern->Commit();
        festgeschrieben = true;
    });
    if (!festgeschrieben) {
        ctx.dlg().MsgBox(main_.T("The record was not saved.", "Der Datensatz wurde nicht gespeichert."),
                         MsgButtons::OK, MsgIcon::Exclamation, title);
        return;
    }
    g.step([&] { main_.AKTIVANZEIGE(); });
    g.step([&] { main_.MarkChanged(); });
    g.step([&] { Eingabestatus(false); });
    g.step([&] { SetMousePointer(0); });
}

void RecordCommands::EingabeVerwerfen(Guard& g)
{
    g.step([&] { SetMousePointer(11); });
    g.step([&] { Eingabestatus(false); });
    // A new record's window showed no selection: the panel shows the one that stays.
    g.step([&] { main_.AKTIVANZEIGE(); });
    g.step([&] { SetMousePointer(0); });
}

bool RecordCommands::EingabeAufgeben()
{
    if (!eingabe_ || !eingabe_->Ungespeichert())
        return true;
    MsgBoxRequest frage;
    frage.text = main_.T("The input in the input window has not been saved. Do you want to discard it?\r\n"
                         "Yes: discard the input and quit. No: back to the input window, which keeps the input "
                         "(OK saves it).",
                         "Die Eingabe im Eingabefenster ist nicht gespeichert. Soll sie verworfen werden?\r\n"
                         "Ja: die Eingabe verwerfen und beenden. Nein: zurück zum Eingabefenster, das die Eingabe "
                         "behält (OK speichert sie).");
    frage.buttons = MsgButtons::YesNo;
    frage.icon = MsgIcon::Question;
    frage.title = main_.Caption(QStringLiteral("mnuBEENDEN"));
    frage.defaultButton = MsgResult::No;
    return main_.context().dlg().MsgBox(frage) == MsgResult::Yes;
}
