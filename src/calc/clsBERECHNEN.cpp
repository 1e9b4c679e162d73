#include "clsBERECHNEN.h"
#include "BaseLayerCheck.h"
#include "Geometry.h"
#include "PressurePolygon.h"
#include "SeepagePath.h"
#include "SingleMath.h"
#include "data/clsDATEN.h"
#include "platform/App.h"
#include "platform/ErrorGuard.h"

namespace {

const QString InputTitle = QStringLiteral("Eingabefehler");
// Boxes without a title of their own carry the program title.
const QString RunLabel = QStringLiteral("Auswerten/Neuberechnen");

}

clsBERECHNEN::clsBERECHNEN(Context& ctx) : ctx_(ctx) {}

clsBERECHNEN::~clsBERECHNEN() = default;

bool clsBERECHNEN::BERECHNUNG()
{
    ctx_.progress(0);
    bool result = false;
    run_ = ctx_;
    try {
        auto view = [this](const char* table) { return ViewOn(run_, QString::fromLatin1(table)); };
        E2_ = view("E2");
        E3_ = view("E3");
        E4_ = view("E4");
        E5_ = view("E5");
        A1_ = view("A1");
        A2_ = view("A2");
        A3_ = view("A3");
        result = calculate();
    } catch (const RoutineError& e) {
        runtimeError(e.routine(), e);
    } catch (const VbError& e) {
        runtimeError(RunLabel, e);
    }
    E2_.reset();
    E3_.reset();
    E4_.reset();
    E5_.reset();
    A1_.reset();
    A2_.reset();
    A3_.reset();
    run_ = Context{};
    return result;
}

bool clsBERECHNEN::calculate()
{
    if (!readInput())
        return false;
    if (!BaseWithinOneLayer(in_)) {
        message(QStringLiteral("Die Bauwerkssohle muß jedenfalls innerhalb einer Schicht\n"
                               "(linke oder rechte Seite) liegen! Bitte Überprüfen Sie die Eingabe!"),
                App::Title());
        return false;
    }
    // Everything is computed and checked before the first write.
    PressurePolygons poly = BuildPolygons(in_);
    const SeepagePath path = ComputeSeepagePath(in_);
    ComputePressures(poly, path, in_.ZGWLS);
    const BaseCorners base = ComputeBaseCorners(poly.XPL.back(), poly.ZPL.back(), poly.PL.back(),
                                                poly.XPR.back(), poly.ZPR.back(), poly.PR.back());
    if (!base.valid) {
        message(QStringLiteral("Bitte überprüfen Sie die Eingabe! Sie haben eine\n"
                               "vertikale oder nach oben gerichtete Sohlfläche!"),
                QStringLiteral("EINGABEFEHLER!"));
        return false;
    }
    std::vector<SectionRow> rows = ComputeSectionRows(LeftSide, poly.XPL, poly.ZPL, poly.PL);
    const std::vector<SectionRow> right = ComputeSectionRows(RightSide, poly.XPR, poly.ZPR, poly.PR);
    rows.insert(rows.end(), right.begin(), right.end());
    return writeResults(base, rows);
}

QString clsBERECHNEN::sideName(int16_t K)
{
    return K == LeftSide ? QStringLiteral("linken") : QStringLiteral("rechten");
}

bool clsBERECHNEN::readInput()
{
    if (!readLevel("ZGWLS", LeftSide, in_.ZGWLS) || !readLevel("ZGWRS", RightSide, in_.ZGWRS))
        return false;
    // The k-value of the first layer boundary belongs to no section above it: it may be empty.
    const ListSpec layers{*E3_, "I1", 2, "der Schichten", {"Z", "z"}, {"KF", "kf"}, false, true};
    const ListSpec flowLine{*E4_, "I2", 1, "der Stromlinie", {"Z", "z"}, {"X", "x"}, true, false};
    const ListSpec structure{*E5_, "I3", 1, "des Bauwerkes", {"Z", "z"}, {"X", "x"}, true, false};
    // The groups in their fixed order: the first failing one is reported, and
    // nothing of a later group is read.
    return readList(layers, LeftSide, in_.L.ZS, in_.L.KFS) && readList(layers, RightSide, in_.R.ZS, in_.R.KFS)
        && readList(flowLine, LeftSide, in_.L.ZST, in_.L.XST) && readList(flowLine, RightSide, in_.R.ZST, in_.R.XST)
        && readList(structure, LeftSide, in_.L.ZB, in_.L.XB) && readList(structure, RightSide, in_.R.ZB, in_.R.XB);
}

bool clsBERECHNEN::readLevel(const char* column, int16_t K, float& level)
{
    // A level saved empty would be computed as z = 0, a plausible wrong result.
    Variant value;
    if (!E2_->DTVV(QString::fromLatin1(column), value))
        return false;
    if (value.isEmpty()) {
        message(QStringLiteral("Überprüfen Sie die Eingabedaten der Tremolspiegelkote auf der %1 Seite: "
                               "der Wert z fehlt!")
                    .arg(sideName(K)),
                InputTitle);
        return false;
    }
    level = CSng(value);
    return true;
}

bool clsBERECHNEN::readList(const ListSpec& spec, int16_t K, std::vector<float>& first,
                            std::vector<float>& second)
{
    const QString index = QString::fromLatin1(spec.index);
    const QString side = QStringLiteral("K");
    int16_t MINI = 0, MAXI = 0, AN = 0;
    spec.view.INDEX(MINI, MAXI, AN, side, Variant(K), index);
    const QString check = QStringLiteral("Überprüfen Sie die Eingabedaten %1 auf der %2 Seite")
                              .arg(QString::fromUtf8(spec.group), sideName(K));
    if (AN < spec.minimumRows) {
        message(check + QLatin1Char('!'), InputTitle);
        return false;
    }
    if (!plausible(spec, K, AN, check))
        return false;
    // One element per row in running-number order, so that numbering with gaps or
    // starting above 0 adds no stray elements.
    first.assign(AN, 0.0f);
    second.assign(AN, 0.0f);
    return spec.view.DTVSF(QString::fromLatin1(spec.column1.name), first, side, Variant(K), index)
        && spec.view.DTVSF(QString::fromLatin1(spec.column2.name), second, side, Variant(K), index);
}

bool clsBERECHNEN::plausible(const ListSpec& spec, int16_t K, int16_t AN, const QString& check)
{
    // A row stored without a value (a window saved unfinished, an import, an edit from
    // outside) would be computed as if it held 0, and a slip no soil can have as if it
    // were one: both are refused, naming the row by its running number and the column
    // as the input window titles it.
    const QString index = QString::fromLatin1(spec.index);
    const QString side = QStringLiteral("K");
    const size_t rows = size_t(AN);
    std::vector<Variant> numbers(rows), first(rows), second(rows);
    if (!spec.view.DTVVF(index, numbers, side, Variant(K), index)
        || !spec.view.DTVVF(QString::fromLatin1(spec.column1.name), first, side, Variant(K), index)
        || !spec.view.DTVVF(QString::fromLatin1(spec.column2.name), second, side, Variant(K), index))
        return false;
    const auto row = [&](size_t i) { return numbers[i].isEmpty() ? CStr(Variant(int32_t(i))) : CStr(numbers[i]); };
    const auto refuse = [&](const QString& fault) {
        message(check + QStringLiteral(": ") + fault + QLatin1Char('!'), InputTitle);
        return false;
    };
    for (size_t i = 0; i < rows; ++i) {
        const bool needs2 = i > 0 || spec.firstRowNeedsColumn2;
        if (first[i].isEmpty() && second[i].isEmpty())
            return refuse(QStringLiteral("die Zeile %1 ist leer").arg(row(i)));
        const char* missing = first[i].isEmpty()            ? spec.column1.title
                              : second[i].isEmpty() && needs2 ? spec.column2.title
                                                              : nullptr;
        if (missing)
            return refuse(QStringLiteral("in der Zeile %1 fehlt der Wert %2").arg(row(i), QLatin1String(missing)));
        if (!spec.layers)
            continue;
        // Layers grow downward from the first boundary, and no soil lets water through
        // at a negative rate (k = 0, a section that loses no head, stays allowed).
        if (i > 0 && CSng(first[i]) < CSng(first[i - 1]))
            return refuse(QStringLiteral("die Schichtkote der Zeile %1 (z = %2) liegt über der der Zeile %3 (z = %4)")
                              .arg(row(i), CStr(first[i]), row(i - 1), CStr(first[i - 1])));
        if (i > 0 && CSng(second[i]) < 0.0f)
            return refuse(QStringLiteral("in der Zeile %1 ist der Wert %2 negativ").arg(row(i), QLatin1String(spec.column2.title)));
    }
    return true;
}

void clsBERECHNEN::message(const QString& text, const QString& title)
{
    run_.dlg().MsgBox(text, MsgButtons::OK, MsgIcon::None, title);
}

void clsBERECHNEN::runtimeError(const QString& routine, const VbError& e)
{
    GuardSpec spec;
    spec.title = routine;
    spec.prefix = QStringLiteral("VB-Fehler:");
    // Whatever the answer, the run ends: its values would be incomplete.
    ShowErrorBox(run_.dlg(), spec, e);
}

bool clsBERECHNEN::writeResults(const BaseCorners& base, const std::vector<SectionRow>& rows)
{
    // One transaction: a failed write leaves the earlier results as they were, and
    // the thousands of single-column writes are not each committed to disk.
    Transaction transaction(run_.cnnX);
    if (!writeAll(base, rows))
        return false;
    transaction.Commit();
    return true;
}

bool clsBERECHNEN::writeAll(const BaseCorners& base, const std::vector<SectionRow>& rows)
{
    // Rows of an earlier, longer run would otherwise stay and be shown as current.
    if (!A2_->LOESCHEN() || !A3_->LOESCHEN())
        return false;
    if (!A1_->DVTS(QStringLiteral("WHL"), base.WHL) || !A1_->DVTS(QStringLiteral("WVL"), base.WVL)
        || !A1_->DVTS(QStringLiteral("WHR"), base.WHR) || !A1_->DVTS(QStringLiteral("WVR"), base.WVR))
        return false;
    // Writing the rows is most of the run: the bar moves on to where the page takes over.
    ProgressSpan bar(run_, 0.0f, 15.0f, rows.size());
    for (const SectionRow& row : rows) {
        if (!writeRow(row))
            return false;
        bar.next();
    }
    return true;
}

bool clsBERECHNEN::writeRow(const SectionRow& row)
{
    clsDATEN& view = row.horizontal ? *A3_ : *A2_;
    const QString key2 = row.horizontal ? QStringLiteral("I5I") : QStringLiteral("OU");
    const QString key3 = row.horizontal ? QStringLiteral("I5") : QStringLiteral("I4");
    const QString K = QStringLiteral("K");
    auto single = [&](const char* column, float value) {
        return view.DVTS(QString::fromLatin1(column), value, K, Variant(row.K), key2, Variant(row.key2), key3,
                         Variant(row.index));
    };
    return view.DVTI(key3, row.index, K, Variant(row.K), key2, Variant(row.key2), key3, Variant(row.index))
        && single("X", row.X) && single("Z", row.Z) && single("WH", row.WH) && single("WV", row.WV);
}
