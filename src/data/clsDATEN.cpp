#include "clsDATEN.h"

#include "platform/ErrorGuard.h"
#include "platform/FlexGrid.h"
#include "platform/VbError.h"
#include "platform/Yield.h"

#include <QDir>
#include <QPointer>
#include <QFileInfo>

// Every member hands its index arguments on unchanged.
#define INDEX_PARAMS                                                                                   \
    const QString &SPI1, OptVariant SPI1W, const QString &SPI2, OptVariant SPI2W, const QString &SPI3, \
        OptVariant SPI3W, const QString &SPI4, OptVariant SPI4W
#define INDEX_ARGS SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4, SPI4W
#define INDEXES (IndexArgs{{SPI1, SPI2, SPI3, SPI4}, {SPI1W, SPI2W, SPI3W, SPI4W}})
// The grid members take no value for the fourth column.
#define GRID_PARAMS                                                                                    \
    const QString &SPI1, OptVariant SPI1W, const QString &SPI2, OptVariant SPI2W, const QString &SPI3, \
        OptVariant SPI3W, const QString &SPI4
#define GRID_ARGS SPI1, SPI1W, SPI2, SPI2W, SPI3, SPI3W, SPI4
// The counting members, the whole-list read and the grid members take no value for the fourth column.
#define COUNT_INDEXES (IndexArgs{{SPI1, SPI2, SPI3, SPI4}, {SPI1W, SPI2W, SPI3W, {}}})

namespace {

const QString DataErrorTitle = QStringLiteral("Datenfehler");
// The row counter of the column routines is a 16-bit Integer.
constexpr size_t MaxRows = 32768;

// The error box of a guarded member: "VB-Error: ", OK and Cancel, titled as given.
GuardSpec titled(const QString& title)
{
    GuardSpec spec;
    spec.title = title;
    return spec;
}

// Whether a column name names the same column as another: letter case does not count.
bool names(const QString& column, const QString& other)
{
    return column.compare(other, Qt::CaseInsensitive) == 0;
}

// A value as text in a message: Null reads as nothing, like an empty value.
QString messageText(const Variant& v)
{
    return v.isNull() ? QString() : CStr(v);
}

template <class T>
std::vector<Variant> variants(const std::vector<T>& values)
{
    return std::vector<Variant>(values.begin(), values.end());
}

// A value read from a column into an array element: element i must exist.
template <class T, class Convert>
std::function<void(size_t, const Variant&)> storeInto(std::vector<T>& array, Convert convert)
{
    return [&array, convert](size_t i, const Variant& v) {
        if (i >= array.size())
            throw VbError(VbErr::Subscript);
        array[i] = convert(v);
    };
}

// A drop-down list selects its first entry equal to the value (letter case counts) and
// keeps its selection when there is none; other combo boxes take the value as text.
void selectOrSetText(QComboBox& cbo, const Variant& v)
{
    const QString text = CStr(v);
    if (ComboStyle(cbo) != 2) {
        SetComboText(cbo, text);
        return;
    }
    for (int i = 0; i < ListCount(cbo); ++i) {
        if (List(cbo, i) == text) {
            SetListIndex(cbo, i);
            return;
        }
    }
}

} // namespace

std::shared_ptr<clsDATEN> ViewOn(Context& ctx, const QString& table)
{
    auto view = std::make_shared<clsDATEN>(ctx);
    view->ETABELLE(table);
    return view;
}

clsDATEN::clsDATEN(Context& ctx) : ctx_(ctx)
{
    Guarded(ctx_.dlg(), titled(DataErrorTitle), [&](Guard& g) {
        Recordset rs;
        g.step([&] { open(rs, ActiveRecordStatement(f_)); });
        if (g.test([&] { return rs.Eof(); })) {
            f_.ESPIDW = 0;
        } else {
            g.step([&] { rs.MoveFirst(); });
            g.step([&] { f_.ESPIDW = CLng(rs.Fields(QStringLiteral("ID")).Value()); });
        }
        g.step([&] { rs.Close(); });
    });
}

void clsDATEN::EBOV(bool value)
{
    source_ = value && !ctx_.developmentMode() ? Source::Presets : Source::Main;
    own_.reset();
}

void clsDATEN::EINFMDB(bool& BOINF, const QString& name)
{
    databaseName_ = name;
    const QString path = ctx_.developmentMode()
        ? QDir(ctx_.PROJEKTSPFAD).filePath(ctx_.PROJEKT + QLatin1Char('/') + name + QStringLiteral(".mdb"))
        : QDir(ctx_.DATENBANKPFAD).filePath(name + QStringLiteral(".mdb"));
    if (!QFileInfo::exists(path)) {
        BOINF = false;
        return;
    }
    // A database that fails to open leaves the view on its connection.
    std::shared_ptr<Connection> opened;
    Guarded(ctx_.dlg(), titled(QStringLiteral("Datenzugriff - Datenbank ") + name),
            [&](Guard& g) { g.step([&] { opened = OpenDatabase(path); }); });
    BOINF = opened != nullptr;
    if (opened) {
        own_ = std::move(opened);
        source_ = Source::Own;
    }
}

std::shared_ptr<Connection> clsDATEN::connection() const
{
    switch (source_) {
    case Source::Presets: return ctx_.cnnX_V;
    case Source::Own: return own_;
    default: return ctx_.cnnX;   // reached anew each time: compaction reopens it in place
    }
}

void clsDATEN::open(Recordset& rs, const QString& sql) const
{
    rs.Open(sql, connection(), 3, 3, -1);
}

void clsDATEN::open(Recordset& rs, const SqlStatement& statement) const
{
    rs.Open(statement.text, statement.values, connection());
}

std::shared_ptr<Recordset> clsDATEN::DT(const QString& SPV, INDEX_PARAMS)
{
    auto rs = std::make_shared<Recordset>();
    open(*rs, DTStatement_(f_, SPV, INDEXES));
    return rs;
}

std::vector<std::pair<QString, Variant>> clsDATEN::rowValues(const QString& SPV, const Variant& value,
                                                            const IndexArgs& idx, bool adding) const
{
    // Every row written ends as the value, then the ID, the index values and the keys
    // make it. A matched row holds its ID and index values already (it was selected by
    // them): they are written again only where one names the value column, as writing
    // them all would only rewrite the table's index.
    std::vector<std::pair<QString, Variant>> values;
    const bool emptyText = value.type() == VarType::String && value.asString().isEmpty();
    values.emplace_back(SPV, emptyText ? Variant::Null() : value);
    if (adding || names(f_.ESPID, SPV))
        values.emplace_back(f_.ESPID, Variant(f_.ESPIDW));
    for (size_t k = 0; k < idx.SPI.size(); ++k)
        if (idx.SPIW[k] && (adding || names(idx.SPI[k], SPV)))
            values.emplace_back(idx.SPI[k], *idx.SPIW[k]);
    for (size_t k = 0; k < f_.ESPK.size(); ++k)
        if (!f_.ESPK[k].isEmpty() && !f_.ESPKW[k].isEmpty())
            values.emplace_back(f_.ESPK[k], Variant(f_.ESPKW[k]));
    return values;
}

bool clsDATEN::sameSelection(const LastRow& last, const IndexArgs& idx) const
{
    // The same names and the same values, so the same statement: compared without
    // building it.
    const ViewFilter& f = last.filter;
    if (f.ETABELLE != f_.ETABELLE || f.ESPID != f_.ESPID || f.ESPIDW != f_.ESPIDW || f.ESPK != f_.ESPK
        || f.ESPKW != f_.ESPKW)
        return false;
    for (size_t k = 0; k < idx.SPI.size(); ++k) {
        const std::optional<Variant>& value = idx.SPIW[k];
        const std::optional<Variant>& then = last.idx.SPIW[k];
        if (value.has_value() != then.has_value() || (value && (idx.SPI[k] != last.idx.SPI[k] || !(*value == *then))))
            return false;
    }
    return true;
}

bool clsDATEN::rewriteLastRow(const QString& SPV, const Variant& value, const IndexArgs& idx)
{
    if (!lastRow_)
        return false;
    const std::shared_ptr<Connection> cnn = connection();
    const LastRow& last = *lastRow_;
    if (!cnn || last.connection.lock() != cnn || !cnn->isOpen() || cnn->session() != last.session
        || !cnn->inTransaction() || cnn->transactionEnds() != last.transactionEnds
        || cnn->totalChanges() != last.changes)
        return false;
    if (!sameSelection(last, idx))
        return false;
    // The row still has to meet the selection: a value that its column converts may
    // have taken it out.
    if (!cnn->UpdateRow(f_.ETABELLE, last.rowid, rowValues(SPV, value, idx, false), last.condition.text,
                        last.condition.values))
        return false;
    lastRow_->changes = cnn->totalChanges();
    return true;
}

void clsDATEN::rememberRow(int64_t rowid, const IndexArgs& idx)
{
    const std::shared_ptr<Connection> cnn = connection();
    if (!cnn->inTransaction())
        return;   // outside a transaction another program may change the rows at any time
    lastRow_ = LastRow{cnn, cnn->session(), cnn->transactionEnds(), cnn->totalChanges(), f_, idx,
                       MatchCondition(f_, idx), rowid};
}

bool clsDATEN::SPALTESCHREIBEN(const QString& SPV, const std::vector<Variant>& WERTE, const IndexArgs& idx)
{
    // The message loop runs after every row: nothing in use may go away meanwhile.
    const auto keepView = weak_from_this().lock();
    try {
        if (WERTE.size() > MaxRows)
            throw VbError(VbErr::Overflow);
        if (f_.ESPID.isEmpty())
            throw VbError(VbErr::ItemNotFound);   // no row can be given its ID
        // A single value after a single value with the same selection, nothing changed
        // meanwhile: the one matched row is the one written then, and is written again
        // without being looked for.
        if (WERTE.size() == 1 && rewriteLastRow(SPV, WERTE[0], idx)) {
            DoEvents();
            return true;
        }
        lastRow_.reset();
        Recordset rs;
        open(rs, DTStatement_(f_, SPV, idx));
        int64_t written = 0;
        for (size_t i = 0; i < WERTE.size(); ++i) {
            const bool adding = rs.Eof();
            if (adding)
                rs.AddNew();
            else if (i == 0)
                rs.MoveFirst();
            for (const auto& [column, value] : rowValues(SPV, WERTE[i], idx, adding))
                rs.Fields(column) = value;
            rs.Update();
            written = rs.RowId();
            if (!rs.Eof())
                rs.MoveNext();
            DoEvents();
        }
        while (!rs.Eof()) {
            rs.Delete(1);
            rs.MoveNext();
        }
        rs.Close();
        if (WERTE.size() == 1)
            rememberRow(written, idx);
        return true;
    } catch (const std::exception&) {
        return false;   // the caller reports it
    }
}

bool clsDATEN::SPALTELESEN(const QString& SPV, std::vector<Variant>& WERTE, const IndexArgs& idx)
{
    try {
        Recordset rs;
        open(rs, DTStatement_(f_, SPV, idx));
        if (!rs.Eof()) {
            rs.MoveFirst();
            for (size_t i = 0; i < WERTE.size() && !rs.Eof(); ++i) {
                const Variant value = rs.Fields(SPV).Value();
                if (!value.isNull())
                    WERTE[i] = value;
                rs.MoveNext();
            }
        }
        rs.Close();
        return true;
    } catch (const std::exception&) {
        return false;   // the caller reports it
    }
}

void clsDATEN::dataError(const QString& text) const
{
    ctx_.dlg().MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, DataErrorTitle);
}

bool clsDATEN::writeSingle(const QString& SPV, const Variant& value, const IndexArgs& idx)
{
    // The writer yields: the view must outlive its report too.
    const auto keepView = weak_from_this().lock();
    if (SPALTESCHREIBEN(SPV, {value}, idx))
        return true;
    dataError(QStringLiteral("Wert ") + messageText(value) + QStringLiteral(" kann nicht in die Spalte ") + SPV
              + QStringLiteral(" der Tabelle ") + f_.ETABELLE + QStringLiteral(" gespeichert werden!"));
    return false;
}

bool clsDATEN::readSingle(const QString& SPV, const IndexArgs& idx, const std::function<void(const Variant&)>& assign)
{
    std::vector<Variant> WERTE(1);
    if (!SPALTELESEN(SPV, WERTE, idx)) {
        dataError(QStringLiteral("Wert ") + messageText(WERTE[0]) + QStringLiteral(" kann nicht aus der Spalte ") + SPV
                  + QStringLiteral(" der Tabelle ") + f_.ETABELLE + QStringLiteral(" eingelesen werden!"));
        return false;
    }
    assign(WERTE[0]);
    return true;
}

bool clsDATEN::writeArray(const QString& SPV, const std::vector<Variant>& WERTE, const IndexArgs& idx)
{
    const auto keepView = weak_from_this().lock();   // as in writeSingle
    // An array without an element 0 cannot be written.
    if (!WERTE.empty() && SPALTESCHREIBEN(SPV, WERTE, idx))
        return true;
    dataError(QStringLiteral("Werte können nicht in Spalte ") + SPV + QStringLiteral(" der Tabelle ") + f_.ETABELLE
              + QStringLiteral(" gespeichert werden!"));
    return false;
}

bool clsDATEN::readArray(const QString& SPV, const IndexArgs& idx,
                         const std::function<void(size_t, const Variant&)>& store)
{
    GuardSpec spec = titled(DataErrorTitle);
    spec.prefix = QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + f_.ETABELLE
        + QStringLiteral(" können nicht aus der Spalte ") + SPV + QStringLiteral(" eingelesen werden!\nVB-Error: ");
    return Guarded(ctx_.dlg(), spec, [&](Guard& g) {
        Recordset rs;
        g.step([&] { open(rs, DTStatement_(f_, SPV, idx)); });
        if (!g.test([&] { return rs.Eof(); })) {
            g.step([&] { rs.MoveFirst(); });
            int16_t i = 0;
            do {
                g.step([&] {
                    const Variant value = rs.Fields(SPV).Value();
                    if (!value.isNull())
                        store(size_t(i), value);
                });
                g.step([&] { rs.MoveNext(); });
                g.step([&] {
                    if (i == INT16_MAX)
                        throw VbError(VbErr::Overflow);
                    ++i;
                });
            } while (g.loop([&] { return !rs.Eof(); }));
        }
        g.step([&] { rs.Close(); });
    });
}

bool clsDATEN::DTVCOL(const QString& SPV, std::optional<Collection>& X, INDEX_PARAMS)
{
    try {
        Recordset rs;
        open(rs, DTStatement_(f_, SPV, INDEXES));
        if (!rs.Eof()) {
            rs.MoveFirst();
            X = Collection{};
            for (; !rs.Eof(); rs.MoveNext()) {
                const Variant value = rs.Fields(SPV).Value();
                if (!value.isNull())
                    X->push_back(value);
            }
        }
        rs.Close();
        return true;
    } catch (const std::exception&) {
        return false;   // a trap without a message
    }
}

bool clsDATEN::DTFMM(const QString& SPV, ComboBox& cboX, const QString& SPI1, OptVariant SPI1W, const QString& SPI2,
                     OptVariant SPI2W, const QString& SPI3, OptVariant SPI3W, const QString& SPI4)
{
    // One fixed message for every error, without its number.
    GuardSpec spec = titled(DataErrorTitle);
    spec.fixedText = QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + f_.ETABELLE
        + QStringLiteral(" eingelesen werden!");
    return Guarded(ctx_.dlg(), spec, [&](Guard& g) {
        Recordset rs;
        g.step([&] { open(rs, DTStatement_(f_, SPV, COUNT_INDEXES)); });
        if (g.test([&] { return !rs.Eof(); })) {
            g.step([&] { rs.MoveFirst(); });
            while (g.loop([&] { return !rs.Eof(); })) {
                g.step([&] {
                    const Variant value = rs.Fields(SPV).Value();
                    if (!value.isNull())
                        AddItem(cboX, CStr(value));
                });
                g.step([&] { rs.MoveNext(); });
            }
        }
        g.step([&] { rs.Close(); });
    });
}

void clsDATEN::count(const QString& title, const IndexArgs& idx, const std::function<void(const Variant&)>& setMINI,
                     const std::function<void(const Variant&)>& setMAXI, const std::function<void(long)>& setAN)
{
    Guarded(ctx_.dlg(), titled(title), [&](Guard& g) {
        Recordset rs;
        g.step([&] { open(rs, INDEXStatement(f_, idx)); });
        if (g.test([&] { return rs.Eof(); })) {
            g.step([&] { setAN(0); });
            g.step([&] { setMINI(Variant(int16_t(0))); });
            g.step([&] { setMAXI(Variant(int16_t(0))); });
        } else {
            g.step([&] { rs.MoveFirst(); });
            g.step([&] { setMINI(rs.Fields(0).Value()); });
            g.step([&] { rs.MoveLast(); });
            g.step([&] { setMAXI(rs.Fields(0).Value()); });
            g.step([&] { setAN(rs.RecordCount()); });
        }
        g.step([&] { rs.Close(); });
    });
}

void clsDATEN::INDEX(int16_t& MINI, int16_t& MAXI, int16_t& AN, const QString& SPI1, OptVariant SPI1W,
                     const QString& SPI2, OptVariant SPI2W, const QString& SPI3, OptVariant SPI3W, const QString& SPI4)
{
    count(QStringLiteral("Index"), COUNT_INDEXES,
          [&](const Variant& v) { MINI = CInt(v); }, [&](const Variant& v) { MAXI = CInt(v); },
          [&](long n) { AN = CInt(Variant(int32_t(n))); });
}

void clsDATEN::INDEXL(int32_t& MINI, int32_t& MAXI, int32_t& AN, const QString& SPI1, OptVariant SPI1W,
                      const QString& SPI2, OptVariant SPI2W, const QString& SPI3, OptVariant SPI3W, const QString& SPI4)
{
    count(DataErrorTitle, COUNT_INDEXES,
          [&](const Variant& v) { MINI = CLng(v); }, [&](const Variant& v) { MAXI = CLng(v); },
          [&](long n) { AN = int32_t(n); });
}

void clsDATEN::INDEXV(Variant& MINI, Variant& MAXI, int16_t& AN, const QString& SPI1, OptVariant SPI1W,
                      const QString& SPI2, OptVariant SPI2W, const QString& SPI3, OptVariant SPI3W, const QString& SPI4)
{
    count(QStringLiteral("Index"), COUNT_INDEXES,
          [&](const Variant& v) { MINI = v; }, [&](const Variant& v) { MAXI = v; },
          [&](long n) { AN = CInt(Variant(int32_t(n))); });
}

void clsDATEN::list(const QString& column, bool AKT, const std::function<void(const Variant&)>& append)
{
    Recordset rs;
    open(rs, ListStatement(f_, column, AKT));
    if (!rs.Eof()) {
        rs.MoveFirst();
        for (; !rs.Eof(); rs.MoveNext())
            append(rs.Fields(0).Value());
    }
    rs.Close();
}

void clsDATEN::LID(std::vector<int32_t>& ID, bool AKT)
{
    std::vector<int32_t> ids;
    list(f_.ESPID, AKT, [&](const Variant& v) { ids.push_back(CLng(v)); });
    if (!ids.empty())
        ID = std::move(ids);
}

void clsDATEN::LKEN(std::vector<QString>& KEN, bool AKT)
{
    std::vector<QString> names;
    list(QStringLiteral("KEN"), AKT, [&](const Variant& v) { names.push_back(CStr(v)); });
    if (!names.empty())
        KEN = std::move(names);
}

bool clsDATEN::LOESCHEN(INDEX_PARAMS)
{
    return Guarded(ctx_.dlg(), titled(DataErrorTitle), [&](Guard& g) {
        Recordset rs;
        g.step([&] { open(rs, DTStatement_(f_, f_.ESPID, INDEXES)); });
        // The rows the recordset found go in one statement, rather than one by one; none
        // go when it could not be opened.
        if (g.test([&] { return !rs.Eof(); }) && rs.isOpen()) {
            g.step([&] {
                const SqlStatement remove = DeleteStatement(f_, INDEXES);
                connection()->Execute(remove.text, remove.values);
            });
        }
        g.step([&] { rs.Close(); });
    });
}

bool clsDATEN::IDKRIT(std::vector<int32_t>& IDKR, const QString& SPF1, OptVariant SPF1W, QString& SPO1,
                      const QString& SPF2, OptVariant SPF2W, QString* SPO2, const QString& SPF3, OptVariant SPF3W,
                      QString* SPO3, const QString& SPF4, OptVariant SPF4W, QString* SPO4)
{
    std::array<Criterion, 4> criteria{Criterion{SPF1, SPF1W, SPO1}, Criterion{SPF2, SPF2W, SPO2 ? *SPO2 : QString()},
                                      Criterion{SPF3, SPF3W, SPO3 ? *SPO3 : QString()},
                                      Criterion{SPF4, SPF4W, SPO4 ? *SPO4 : QString()}};
    bool found = false;
    Guarded(ctx_.dlg(), titled(DataErrorTitle), [&](Guard& g) {
        g.step([&] {
            NormaliseOperators(criteria);
            SPO1 = criteria[0].SPO;
            for (auto [k, SPO] : {std::pair{1, SPO2}, std::pair{2, SPO3}, std::pair{3, SPO4}})
                if (SPO)
                    *SPO = criteria[size_t(k)].SPO;
        });
        Recordset rs;
        g.step([&] { open(rs, IDKRITStatement(f_.ETABELLE, criteria)); });
        if (!g.test([&] { return rs.Eof(); })) {
            found = true;
            std::vector<int32_t> ids;
            g.step([&] { rs.MoveFirst(); });
            while (g.loop([&] { return !rs.Eof(); })) {
                g.step([&] { ids.push_back(CLng(rs.Fields(QStringLiteral("ID")).Value())); });
                g.step([&] { rs.MoveNext(); });
            }
            IDKR = std::move(ids);
        }
        g.step([&] { rs.Close(); });
    });
    return found;
}
bool clsDATEN::DFTCV(const QString& SPV, const CheckBox& chkX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(CheckValue(chkX)), INDEXES);
}

bool clsDATEN::DFTCC(const QString& SPV, const CheckBox& chkX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(chkX.text()), INDEXES);
}

bool clsDATEN::DFTIS(const QString& SPV, const ListBox& lstX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(List(lstX, ListIndex(lstX))), INDEXES);
}

bool clsDATEN::DFTIL(const QString& SPV, const ListBox& lstX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(int16_t(ListIndex(lstX))), INDEXES);
}

bool clsDATEN::DFTLC(const QString& SPV, const Label& lblX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(lblX.text()), INDEXES);
}

bool clsDATEN::DFTLI(const QString& SPV, const Label& lblX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(LabelIndex(lblX)), INDEXES);
}

bool clsDATEN::DFTMT(const QString& SPV, const ComboBox& cboX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(ComboText(cboX)), INDEXES);
}

bool clsDATEN::DFTML(const QString& SPV, const ComboBox& cboX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(int16_t(ListIndex(cboX))), INDEXES);
}

bool clsDATEN::DFTMS(const QString& SPV, const ComboBox& cboX, INDEX_PARAMS)
{
    return writeSingle(SPV, ListIndex(cboX) >= 0 ? Variant(List(cboX, ListIndex(cboX))) : Variant(), INDEXES);
}

bool clsDATEN::DFTOV(const QString& SPV, const OptionButton& optX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(OptionValue(optX)), INDEXES);
}

bool clsDATEN::DFTOC(const QString& SPV, const OptionButton& optX, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(optX.text()), INDEXES);
}

bool clsDATEN::DFTTT(const QString& SPV, const TextBox& txtX, INDEX_PARAMS)
{
    return writeSingle(SPV, LoadedValue(txtX).value_or(Variant(txtX.text())), INDEXES);
}

bool clsDATEN::DTFCV(const QString& SPV, CheckBox& chkX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { SetCheckValue(chkX, CInt(v)); });
}

bool clsDATEN::DTFCC(const QString& SPV, CheckBox& chkX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { chkX.setText(CStr(v)); });
}

bool clsDATEN::DTFIS(const QString& SPV, ListBox& lstX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { AddItem(lstX, CStr(v)); });
}

bool clsDATEN::DTFIL(const QString& SPV, ListBox& lstX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { if (ListCount(lstX) > 0) SetListIndex(lstX, CInt(v)); });
}

bool clsDATEN::DTFLC(const QString& SPV, Label& lblX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { lblX.setText(CStr(v)); });
}

bool clsDATEN::DTFM(const QString& SPV, ComboBox& cboX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { SetComboText(cboX, CStr(v)); });
}

bool clsDATEN::DTFML(const QString& SPV, ComboBox& cboX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { if (ListCount(cboX) > 0) SetListIndex(cboX, CInt(v)); });
}

bool clsDATEN::DTFMS(const QString& SPV, ComboBox& cboX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { AddItem(cboX, CStr(v)); });
}

bool clsDATEN::DTFMT(const QString& SPV, ComboBox& cboX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { selectOrSetText(cboX, v); });
}

bool clsDATEN::DTFOV(const QString& SPV, OptionButton& optX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { SetOptionValue(optX, CBool(v)); });
}

bool clsDATEN::DTFOC(const QString& SPV, OptionButton& optX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { optX.setText(CStr(v)); });
}

bool clsDATEN::DTFTT(const QString& SPV, TextBox& txtX, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) {
        txtX.setText(CStr(v));
        if (!v.isEmpty())   // no row, or Null: nothing stored to keep
            SetLoadedValue(txtX, v);
    });
}

bool clsDATEN::DFTC(const QString& SPV, const CheckBox& chkX, INDEX_PARAMS)
{
    return DFTCV(SPV, chkX, INDEX_ARGS);
}

bool clsDATEN::DFTI(const QString& SPV, const ListBox& lstX, INDEX_PARAMS)
{
    return DFTIS(SPV, lstX, INDEX_ARGS);
}

bool clsDATEN::DFTL(const QString& SPV, const Label& lblX, INDEX_PARAMS)
{
    return DFTLC(SPV, lblX, INDEX_ARGS);
}

bool clsDATEN::DFTM(const QString& SPV, const ComboBox& cboX, INDEX_PARAMS)
{
    return DFTMT(SPV, cboX, INDEX_ARGS);
}

bool clsDATEN::DFTO(const QString& SPV, const OptionButton& optX, INDEX_PARAMS)
{
    return DFTOV(SPV, optX, INDEX_ARGS);
}

bool clsDATEN::DFTT(const QString& SPV, const TextBox& txtX, INDEX_PARAMS)
{
    return DFTTT(SPV, txtX, INDEX_ARGS);
}

bool clsDATEN::DTFC(const QString& SPV, CheckBox& chkX, INDEX_PARAMS)
{
    return DTFCV(SPV, chkX, INDEX_ARGS);
}

bool clsDATEN::DTFI(const QString& SPV, ListBox& lstX, INDEX_PARAMS)
{
    return DTFIS(SPV, lstX, INDEX_ARGS);
}

bool clsDATEN::DTFL(const QString& SPV, Label& lblX, INDEX_PARAMS)
{
    return DTFLC(SPV, lblX, INDEX_ARGS);
}

bool clsDATEN::DTFO(const QString& SPV, OptionButton& optX, INDEX_PARAMS)
{
    return DTFOV(SPV, optX, INDEX_ARGS);
}

bool clsDATEN::DTFT(const QString& SPV, TextBox& txtX, INDEX_PARAMS)
{
    return DTFTT(SPV, txtX, INDEX_ARGS);
}

bool clsDATEN::DVTA(const QString& SPV, VbDate DTM, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(DTM), INDEXES);
}

bool clsDATEN::DVTB(const QString& SPV, bool BO, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(BO), INDEXES);
}

bool clsDATEN::DVTT(const QString& SPV, const QString& TXT, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(TXT), INDEXES);
}

bool clsDATEN::DVTI(const QString& SPV, int16_t I, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(I), INDEXES);
}

bool clsDATEN::DVTL(const QString& SPV, int32_t L, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(L), INDEXES);
}

bool clsDATEN::DVTS(const QString& SPV, float ZAHL, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(ZAHL), INDEXES);
}

bool clsDATEN::DVTD(const QString& SPV, double ZAHL, INDEX_PARAMS)
{
    return writeSingle(SPV, Variant(ZAHL), INDEXES);
}

bool clsDATEN::DVTV(const QString& SPV, const Variant& WERT, INDEX_PARAMS)
{
    return writeSingle(SPV, WERT, INDEXES);
}

bool clsDATEN::DVTBF(const QString& SPV, const std::vector<bool>& BO, INDEX_PARAMS)
{
    return writeArray(SPV, variants(BO), INDEXES);
}

bool clsDATEN::DVTTF(const QString& SPV, const std::vector<QString>& TXT, INDEX_PARAMS)
{
    return writeArray(SPV, variants(TXT), INDEXES);
}

bool clsDATEN::DVTIF(const QString& SPV, const std::vector<int16_t>& ZAHLEN, INDEX_PARAMS)
{
    return writeArray(SPV, variants(ZAHLEN), INDEXES);
}

bool clsDATEN::DVTSF(const QString& SPV, const std::vector<float>& ZAHLEN, INDEX_PARAMS)
{
    return writeArray(SPV, variants(ZAHLEN), INDEXES);
}

bool clsDATEN::DVTVF(const QString& SPV, const std::vector<bool>& FELD, INDEX_PARAMS)
{
    return DVTBF(SPV, FELD, INDEX_ARGS);
}

bool clsDATEN::DTVA(const QString& SPV, VbDate& DATUM, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { DATUM = CDate(v); });
}

bool clsDATEN::DTVB(const QString& SPV, bool& BO, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { BO = CBool(v); });
}

bool clsDATEN::DTVT(const QString& SPV, QString& TXT, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { TXT = CStr(v); });
}

bool clsDATEN::DTVI(const QString& SPV, int16_t& I, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { I = CInt(v); });
}

bool clsDATEN::DTVL(const QString& SPV, int32_t& L, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { L = CLng(v); });
}

bool clsDATEN::DTVS(const QString& SPV, float& ZAHL, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { ZAHL = CSng(v); });
}

bool clsDATEN::DTVD(const QString& SPV, double& ZAHL, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { ZAHL = CDbl(v); });
}

bool clsDATEN::DTVV(const QString& SPV, Variant& WERT, INDEX_PARAMS)
{
    return readSingle(SPV, INDEXES, [&](const Variant& v) { WERT = v; });
}

bool clsDATEN::DTVAF(const QString& SPV, std::vector<VbDate>& DATUM, INDEX_PARAMS)
{
    return readArray(SPV, INDEXES, storeInto(DATUM, CDate));
}

bool clsDATEN::DTVBF(const QString& SPV, std::vector<bool>& BO, INDEX_PARAMS)
{
    return readArray(SPV, INDEXES, storeInto(BO, CBool));
}

bool clsDATEN::DTVTF(const QString& SPV, std::vector<QString>& ZAHLEN, INDEX_PARAMS)
{
    return readArray(SPV, INDEXES, storeInto(ZAHLEN, CStr));
}

bool clsDATEN::DTVIF(const QString& SPV, std::vector<int16_t>& ZAHLEN, INDEX_PARAMS)
{
    return readArray(SPV, INDEXES, storeInto(ZAHLEN, CInt));
}

bool clsDATEN::DTVSF(const QString& SPV, std::vector<float>& ZAHLEN, INDEX_PARAMS)
{
    return readArray(SPV, INDEXES, storeInto(ZAHLEN, CSng));
}

bool clsDATEN::DTVVF(const QString& SPV, std::vector<Variant>& ZAHLEN, INDEX_PARAMS)
{
    return readArray(SPV, INDEXES, storeInto(ZAHLEN, [](const Variant& v) { return v; }));
}

// ---------------------------------------------------------------- grid columns

GuardSpec clsDATEN::gridSpec(const QString& SPV, const FlexGrid& msgFLX, const QString& SPNR,
                             const QString& done) const
{
    GuardSpec spec = titled(DataErrorTitle);
    spec.prefix = QStringLiteral("Werte der Spalte ") + SPV + QStringLiteral(" der Tabelle ") + f_.ETABELLE
        + QStringLiteral(" können nicht in die Spalte ") + SPNR + QStringLiteral("\nder FlexGrid-Tabelle ")
        + CStr(Variant(msgFLX.Index())) + QLatin1Char(' ') + done + QStringLiteral(" werden!\nVB-Error: ");
    return spec;
}

bool clsDATEN::DFTF(const QString& SPV, const FlexGrid& msgFLX, const QString& SPNR, GRID_PARAMS,
                    std::optional<int> ZEILEN)
{
    // The message loop runs after every row: nothing in use may go away meanwhile.
    const auto keepView = weak_from_this().lock();
    const IndexArgs idx = COUNT_INDEXES;
    // OK in the box goes on with the other rows, but a column with a row left out was
    // not written: the result says so, so that a save is not taken for complete.
    bool failed = false;
    const GuardSpec box = gridSpec(SPV, msgFLX, SPNR, QStringLiteral("geschrieben"));
    const bool completed = Guarded(ctx_.dlg(), box, [&](Guard& g) {
        // The grid's values are taken first, so that the rows need not reach back into it.
        std::optional<std::vector<Variant>> values;
        g.step([&] {
            const int col = CInt(Variant(SPNR));
            std::vector<Variant> column;
            if (msgFLX.Enabled()) {
                const int count = ZEILEN.value_or(msgFLX.Rows() - msgFLX.FixedRows());
                if (count < 1 || count > msgFLX.Rows() - msgFLX.FixedRows())
                    throw VbError(VbErr::Subscript);
                if (count >= int(MaxRows))
                    throw VbError(VbErr::Overflow);
                for (int j = 0; j < count; ++j) {
                    const int row = msgFLX.FixedRows() + j;
                    if (const auto loaded = msgFLX.LoadedValue(row, col)) {
                        column.push_back(*loaded);
                        continue;
                    }
                    const QString text = Trim(msgFLX.TextMatrix(row, col));
                    column.push_back(text.isEmpty() ? Variant::Null() : Variant(text));
                }
            }
            values = std::move(column);
        });
        failed = !values;
        if (!values)
            return;
        Recordset rs;
        g.step([&] { open(rs, DTStatement_(f_, SPV, idx)); });
        for (size_t j = 0; j < values->size(); ++j) {
            g.step([&] {
                if (rs.Eof())
                    rs.AddNew();
                else if (j == 0)
                    rs.MoveFirst();
            });
            g.step([&] { rs.Fields(SPV) = (*values)[j]; });
            g.step([&] {
                if (!f_.ESPID.isEmpty())
                    rs.Fields(f_.ESPID) = Variant(f_.ESPIDW);
            });
            g.step([&] {
                for (size_t k = 0; k < 3; ++k)
                    if (!idx.SPI[k].isEmpty() && idx.SPIW[k])
                        rs.Fields(idx.SPI[k]) = *idx.SPIW[k];
            });
            g.step([&] {
                for (size_t k = 0; k < f_.ESPK.size(); ++k)
                    if (!f_.ESPK[k].isEmpty())
                        rs.Fields(f_.ESPK[k]) = Variant(f_.ESPKW[k]);
            });
            g.step([&] { rs.Update(); });
            g.step([&] {
                if (!rs.Eof())
                    rs.MoveNext();
            });
            DoEvents();
        }
        while (g.loop([&] { return !rs.Eof(); })) {
            g.step([&] { rs.Delete(1); });
            g.step([&] { rs.MoveNext(); });
        }
        g.step([&] { rs.Close(); });
        failed = g.failed();
    });
    return completed && !failed;
}

bool clsDATEN::DFTFM(const QString& SPV, const FlexGrid& msgFLX, const QString& SPNR, GRID_PARAMS,
                     std::optional<int> ZEILEN)
{
    return DFTF(SPV, msgFLX, SPNR, GRID_ARGS, ZEILEN);
}

bool clsDATEN::DTFF(const QString& SPV, FlexGrid& msgFLX, const QString& SPNR, GRID_PARAMS, int16_t ZNR)
{
    const auto keepView = weak_from_this().lock();
    // The grid belongs to a window: after a yield it is reached only if it still exists.
    const QPointer<FlexGrid> held(&msgFLX);
    auto grid = [&]() -> FlexGrid& {
        if (!held)
            throw VbError(VbErr::ObjectNotSet);
        return *held;
    };
    const IndexArgs idx = COUNT_INDEXES;
    return Guarded(ctx_.dlg(), gridSpec(SPV, msgFLX, SPNR, QStringLiteral("eingelesen")), [&](Guard& g) {
        std::optional<int> col;
        g.step([&] { col = CInt(Variant(SPNR)); });
        if (!col)
            return;
        Recordset rs;
        g.step([&] { open(rs, DTStatement_(f_, SPV, idx)); });
        if (g.test([&] { return rs.Eof(); })) {
            g.step([&] { grid().setBackColor(grid().BackColorFixed()); });
            g.step([&] { grid().setEnabledFlag(false); });
        } else {
            g.step([&] { grid().setBackColor(WindowBackgroundColor()); });
            g.step([&] { grid().setEnabledFlag(true); });
            g.step([&] { rs.MoveLast(); });
            int16_t row = 0;
            g.step([&] { row = ZNR <= grid().FixedRows() ? int16_t(grid().FixedRows()) : CInt(Variant(int32_t(ZNR + 1))); });
            g.step([&] {
                if (grid().Rows() - row < rs.RecordCount())
                    grid().setRows(CInt(Variant(int32_t(row + rs.RecordCount()))));
            });
            g.step([&] { rs.MoveFirst(); });
            while (g.loop([&] { return !rs.Eof(); })) {
                g.step([&] {
                    const Variant value = rs.Fields(0).Value();
                    if (!value.isNull()) {
                        grid().setTextMatrix(row, *col, CStr(value));
                        grid().setLoadedValue(row, *col, value);
                    }
                });
                g.step([&] { rs.MoveNext(); });
                DoEvents();
                g.step([&] { row = CInt(Variant(int32_t(row + 1))); });
            }
        }
        g.step([&] { rs.Close(); });
    });
}

bool clsDATEN::DTFFM(const QString& SPV, FlexGrid& msgFLX, const QString& SPNR, GRID_PARAMS)
{
    return DTFF(SPV, msgFLX, SPNR, GRID_ARGS, 0);
}
