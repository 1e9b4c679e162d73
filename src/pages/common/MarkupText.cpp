#include "MarkupText.h"
#include "draw/Markup.h"
#include "platform/ErrorGuard.h"
#include <QScopeGuard>

void MarkupText(DialogService& dialogs, OutputObject& o, FontSet& fonts, double x, double y,
                const Variant& text, int ah, int av, MarkupTextRules rules)
{
    Guarded(dialogs, RoutineBox(QStringLiteral("Sub TEXT, Klassenmodul clsGRAFIK")), [&](Guard& g) {
        g.step([&] { fonts[0] = o.Font(); });
        QString T;
        g.step([&] { T = text.isNull() ? QString() : CStr(text); });
        double W = 0, H = 0;
        g.step([&] {
            const QString measured = MarkupMeasuringText(T);
            W = o.TextWidth(measured);
            H = o.TextHeight(measured);
        });
        double x0 = x, y0 = y;
        g.step([&] {
            x0 = ah == 1 ? x - W / 2 : ah == 2 ? x - W : x;
            y0 = av == 1 ? y - H / 2 : av == 2 ? y - H : y;
        });
        const MarkupParse parse = ParseMarkup(T);
        int font = 0;
        for (const MarkupRun& run : parse.runs) {
            double w = 0;
            g.step([&] {
                // Font 0 comes back when the run is drawn, or fails.
                const auto baseFont = qScopeGuard([&] { o.setFont(fonts[0]); });
                MarkupStyle style = MarkupStyleOf(run);
                if (!rules.raiseGreek && run.code == QLatin1String("g"))
                    style.factor = 0.0;
                font = style.font.value_or(font);
                o.setFont(fonts[std::size_t(font)]);
                const QString heightOf = style.ofRun ? run.text : run.code.left(1);
                const double offset = style.factor == 0.0 ? 0.0 : style.factor * o.TextHeight(heightOf);
                if (rules.printerCharShift && o.kind() == SurfaceKind::Printer && run.code == QLatin1String("c"))
                    x0 += 0.35 * o.TextHeight(run.text);
                o.setCurrentX(x0 - o.ScaleLeft());
                o.setCurrentY(y0 - offset - o.ScaleTop());
                if (!run.text.isEmpty())
                    o.Print(run.text);
                w = o.TextWidth(run.text);
            });
            if (run.end < T.size())
                x0 += w;
        }
        // A group without a comma is reported as error 0 without a text.
        if (parse.missingComma)
            g.report(VbError(0, QString()));
        else if (parse.error)
            g.report(*parse.error);
    });
}
