#include "clsFLX.h"

#include "ImportPostProcessing.h"
#include "MeasurementFile.h"
#include "MeasurementPresets.h"
#include "TitleLine.h"
#include "platform/Wertpruefung.h"
#include "draw/Markup.h"
#include "platform/Colors.h"
#include "platform/Format.h"
#include "platform/PainterSurface.h"
#include "platform/Twips.h"
#include "platform/VbError.h"
#include "platform/Yield.h"

#include <optional>

namespace {

constexpr float TwipsPerMmSingle = 56.7f;
constexpr double HalfMm = 28.35;             // twips
constexpr double ScrollBarRoom = 311.85;     // twips, 5.5 mm

int16_t add16(int a, int b)
{
    return CInt(Variant(int32_t(a + b)));
}

// A list of n empty elements.
Dynamic emptyList(int n)
{
    return Dynamic::Array(std::vector<Dynamic>(size_t(std::max(n, 0))));
}

// Ends a row operation's repetition on coupled tables when it comes back round.
class Reentry {
public:
    explicit Reentry(bool& flag) : flag_(flag), entered_(!flag) { flag_ = true; }
    ~Reentry()
    {
        if (entered_)
            flag_ = false;
    }
    bool entered() const { return entered_; }

private:
    bool& flag_;
    bool entered_;
};

} // namespace

clsFLX::clsFLX(Context& ctx) : ctx_(ctx) {}

GuardSpec clsFLX::spec(const QString& label) const
{
    GuardSpec s;
    s.title = label;
    return s;
}

FlexGrid& clsFLX::grid() const
{
    if (!grid_)
        throw VbError(VbErr::ObjectNotSet);
    return *grid_;
}

int16_t clsFLX::columnType(int col) const
{
    return CInt(ELSTYP_[col].value());
}

clsFLX* clsFLX::mirror() const
{
    return coupled_ && coupled_->grid_ ? coupled_.get() : nullptr;
}

// ---------------------------------------------------------------- binding

void clsFLX::EFLX(FlexGrid* grid)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / FLX")), [&](Guard& g) {
        g.step([&] { grid_ = grid; });
        Dynamic widths;
        g.step([&] {
            std::vector<Dynamic> elements(size_t(this->grid().Cols()), Dynamic(Variant(int16_t(15))));
            widths = Dynamic::Array(std::move(elements));
        });
        g.step([&] { this->grid().setRows(this->grid().FixedRows() + 1); });
        g.step([&] { ELSB(widths); });
        g.step([&] { EDET_ = -1; });
    });
}

std::shared_ptr<clsFLX> clsFLX::EFLXK()
{
    if (!coupled_)
        coupled_ = std::make_shared<clsFLX>(ctx_);
    return coupled_;
}

void clsFLX::EFLXK(std::shared_ptr<clsFLX> table)
{
    coupled_ = std::move(table);
}

void clsFLX::ETXT(TextBox* txt)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / TXT")), [&](Guard& g) {
        g.step([&] { txt_ = txt; });
        g.step([&] { txt_->setFrame(true); });
        g.step([&] { txt_->setText(QString()); });
        g.step([&] { txt_->hide(); });
    });
}

void clsFLX::ECBO(ComboBox* cbo)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / CBO")), [&](Guard& g) {
        g.step([&] { cbo_ = cbo; });
        g.step([&] { cbo_->setFrame(true); });
        g.step([&] { SetComboText(*cbo_, QString()); });
        g.step([&] { cbo_->hide(); });
    });
}

void clsFLX::EPIC(PictureBox* pic)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / PIC")), [&](Guard& g) {
        g.step([&] { pic_ = pic; });
        g.step([&] { pic_->move(PixelsOfTwips(grid().Left() + HalfMm), pic_->y()); });
        g.step([&] { pic_->setScaleMode(ScaleModes::Twips); });
        g.step([&] { pic_->move(pic_->x(), PixelsOfTwips(grid().Top() + HalfMm)); });
        g.step([&] { pic_->raise(); });
    });
}

// ---------------------------------------------------------------- lists

void clsFLX::ELSB(const Dynamic& list)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / LSB")), [&](Guard& g) {
        g.step([&] { ELSB_ = list; });
        g.step([&] { grid().setCols(ELSB_.UBound() + 1); });
        const int cols = g.value<int>([&] { return grid().Cols(); }, 0);
        for (int c = 0; c < cols; ++c) {
            g.step([&] {
                // The factor is a Single: 15 mm give 850.5 twips, rounded to 850.
                const float twips = CSng(ELSB_[c].value()) * TwipsPerMmSingle;
                grid().setColWidth(c, CLng(Variant(twips)));
            });
            g.step([&] { grid().setFixedAlignment(c, 4); });
        }
        g.step([&] {
            for (Dynamic* l : {&ELST1_, &ELSTTT_, &ELSTYP_, &ELFORMAT_, &ELA_, &ELMIN_, &ELMAX_, &ELCBO_})
                *l = emptyList(cols);
        });
        for (int c = 0; c < cols; ++c) {
            g.step([&] {
                const QString n = CStr(Variant(int16_t(c + 1)));
                ELST1_[c] = Dynamic(QStringLiteral("I") + n);
                ELSTTT_[c] = Dynamic(QStringLiteral("SpaltenNr.") + n);
                ELSTYP_[c] = Dynamic(Variant(int16_t(0)));
                ELA_[c] = Dynamic(Variant(int16_t(2)));
            });
        }
        g.step([&] { ELST1(ELST1_); });
        g.step([&] { ELSTYP(ELSTYP_); });
        g.step([&] { ELA(ELA_); });
        g.step([&] { EBOH_ = true; });
        g.step([&] { EDETE_ = QStringLiteral("mm"); });
        g.step([&] { SCHRIFTEINSTELLUNGEN(QString(), 0, false, false, false, 0); });
    });
}

void clsFLX::ELST1(const Dynamic& list)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / LST1")), [&](Guard& g) {
        g.step([&] { ELST1_ = list; });
        const int cols = g.value<int>([&] { return grid().Cols(); }, 0);
        for (int c = 0; c < cols; ++c)
            g.step([&] { grid().setTextMatrix(0, c, ELST1_[c].text()); });
    });
}

void clsFLX::ELSTYP(const Dynamic& list)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("LSTYP - FlexGrid")), [&](Guard& g) {
        g.step([&] { ELSTYP_ = list; });
        g.step([&] { TYPSPALTE_.fill(-1); });
        const int cols = g.value<int>([&] { return grid().Cols(); }, 0);
        for (int c = 0; c < cols; ++c) {
            g.step([&] {
                const int16_t type = columnType(c);
                if (type >= Index1 && type <= Elapsed)
                    TYPSPALTE_[size_t(type - 1)] = int16_t(c);
            });
        }
        g.step([&] {
            const int fixed = TYPSPALTE_[0] < 0 ? 0 : TYPSPALTE_[1] < 0 ? 1 : TYPSPALTE_[2] < 0 ? 2 : 3;
            grid().setFixedCols(fixed);
        });
        g.step([&] { INDEXMIN_.fill(0); });
        // A Long matches none of the forms the end values take: they stay, the
        // stored value becomes 0 and the table is renumbered.
        g.step([&] { ELINDEXMAX(Dynamic(Variant(int32_t(0)))); });
    });
}

void clsFLX::ELCBO(int16_t INDEX, const Dynamic& list)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / LCBO")),
            [&](Guard& g) { g.step([&] { ELCBO_[INDEX] = list; }); });
}

void clsFLX::ELA(const Dynamic& list)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / LA ")), [&](Guard& g) {
        g.step([&] { ELA_ = list; });
        const int cols = g.value<int>([&] { return grid().Cols(); }, 0);
        for (int c = 0; c < cols; ++c) {
            g.step([&] { grid().setFixedAlignment(c, 4); });
            g.step([&] {
                static const int alignments[] = {1, 4, 7};
                const int16_t a = CInt(ELA_[c].value());
                if (a >= 0 && a <= 2)
                    grid().setColAlignment(c, alignments[a]);
            });
        }
    });
}

void clsFLX::ELINDEXMIN(const Dynamic& value)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / LINDEXMIN")), [&](Guard& g) {
        g.step([&] { ELINDEXMIN_ = value; });
        g.step([&] {
            const Dynamic& v = ELINDEXMIN_;
            if (v.isEmpty()) {
                INDEXMIN_ = {0, 0, 0};
            } else if (!v.isArray() && !v.isMissing() && v.value().type() == VarType::Integer) {
                INDEXMIN_ = {v.value().asInteger(), 0, 0};
            } else if (v.isArray() && v.UBound() == 1) {
                INDEXMIN_ = {CInt(v[0].value()), CInt(v[1].value()), 0};
            } else if (v.isArray() && v.UBound() == 2) {
                INDEXMIN_ = {CInt(v[0].value()), CInt(v[1].value()), CInt(v[2].value())};
            }
        });
        g.step([&] { NUMMERIEREN(); });
    });
}

void clsFLX::ELINDEXMAX(const Dynamic& value)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / ELINDEXMAX")), [&](Guard& g) {
        g.step([&] { ELINDEXMAX_ = value; });
        g.step([&] {
            const Dynamic& v = ELINDEXMAX_;
            // The range arithmetic is 16-bit: an overflow leaves the row count as it was.
            auto span = [](int16_t max, int16_t min) { return add16(add16(max, -min), 1); };
            if (v.isEmpty()) {
                INDEXMAX2_ = INDEXMAX3_ = 0;
                grid().setRows(grid().FixedRows() + 1);
            } else if (!v.isArray() && !v.isMissing() && v.value().type() == VarType::Integer) {
                INDEXMAX2_ = v.value().asInteger();
                INDEXMAX3_ = 0;
                grid().setRows(add16(grid().FixedRows(), span(INDEXMAX2_, INDEXMIN_[1])));
            } else if (v.isArray()) {
                INDEXMAX2_ = CInt(v[0].value());
                INDEXMAX3_ = CInt(v[1].value());
                const int16_t rows = CInt(Variant(int32_t(span(INDEXMAX2_, INDEXMIN_[1]) * span(INDEXMAX3_, INDEXMIN_[2]))));
                grid().setRows(add16(grid().FixedRows(), rows));
            }
        });
        g.step([&] { NUMMERIEREN(); });
    });
}

QString clsFLX::EMATRIX(int16_t SPALTENR, int16_t ZEILENR)
{
    QString text;
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / EMATRIX")),
            [&](Guard& g) { g.step([&] { text = grid().TextMatrix(SPALTENR, ZEILENR); }); });
    return text;
}

void clsFLX::EMATRIX(int16_t SPALTENR, int16_t ZEILENR, const Dynamic& array)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / EMATRIX")), [&](Guard& g) {
        g.step([&] { grid().setTextMatrix(SPALTENR, ZEILENR, array[SPALTENR][ZEILENR].text()); });
    });
}

// ---------------------------------------------------------------- numbering and refresh

void clsFLX::NUMMERIEREN()
{
    if (TYPSPALTE_[0] < 0)
        return;
    FlexGrid& g = grid();
    const int16_t c1 = TYPSPALTE_[0], c2 = TYPSPALTE_[1], c3 = TYPSPALTE_[2];
    // Counted in 32 bits: a 16-bit start plus as many rows as a grid holds fits, so that
    // every row a table takes gets its number.
    int32_t r1 = INDEXMIN_[0], r2 = INDEXMIN_[1], r3 = INDEXMIN_[2];
    auto write = [&](int row, int16_t col, int32_t value) { g.setTextMatrix(row, col, CStr(Variant(value))); };
    for (int row = g.FixedRows(); row < g.Rows(); ++row) {
        if (c2 < 0) {
            write(row, c1, r1++);
        } else if (c3 < 0) {
            if (r2 > INDEXMAX2_) {
                r2 = INDEXMIN_[1];
                ++r1;
            }
            write(row, c1, r1);
            write(row, c2, r2++);
        } else {
            if (r3 > INDEXMAX3_) {
                r3 = INDEXMIN_[2];
                if (++r2 > INDEXMAX2_) {
                    r2 = INDEXMIN_[1];
                    ++r1;
                }
            }
            write(row, c1, r1);
            write(row, c2, r2);
            write(row, c3, r3++);
        }
    }
}

float clsFLX::ZEITDIFFERENZ(const RowTime& from, const RowTime& to)
{
    const bool dates = from.date && to.date, times = from.time && to.time;
    const float days = dates ? float(ToDateTime(*from.date).date().daysTo(ToDateTime(*to.date).date())) : 0.0f;
    const float seconds = times ? float(ToDateTime(*from.time).time().secsTo(ToDateTime(*to.time).time())) : 0.0f;
    if (dates && times)
        return days * 86400.0f + seconds;
    if (dates)
        return days;
    return seconds;
}

bool clsFLX::AKTUALISIEREN()
{
    bool complete = false;
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / Aktulisieren")), [&](Guard& g) {
        g.step([&] { NUMMERIEREN(); });
        const int cols = g.value<int>([&] { return grid().Cols(); }, 0);
        for (int c = 0; c < cols; ++c) {
            // A column without a readable format entry is reported once and left as it is.
            std::optional<QString> pattern;
            g.step([&] {
                if (!ELFORMAT_[c].isMissing())
                    pattern = ELFORMAT_[c].text();
            });
            if (!pattern)
                continue;
            for (int r = grid().FixedRows(); r < grid().Rows(); ++r) {
                g.step([&] {
                    const QString cell = grid().TextMatrix(r, c);
                    if (!cell.isEmpty())
                        grid().ReformatCell(r, c, Format(Variant(cell), *pattern));
                });
            }
        }
        elapsedTimes(g);
        complete = !g.failed();
    });
    return complete;
}

void clsFLX::elapsedTimes(Guard& g)
{
    const int16_t dateCol = TYPSPALTE_[Date - 1], timeCol = TYPSPALTE_[Time - 1], col = TYPSPALTE_[Elapsed - 1];
    if (col < 0)
        return;
    FlexGrid& grid = this->grid();
    const int first = grid.FixedRows();
    g.step([&] {
        if (!IsNumeric(Variant(grid.TextMatrix(first, col))))
            grid.setTextMatrix(first, col, QStringLiteral("0"));
    });
    auto text = [&](int row, int16_t c) { return c < 0 ? QString() : grid.TextMatrix(row, c); };
    // Each row's date and time are read once, when a row first needs them (a reference
    // row may lie anywhere above): reading them is most of the work.
    std::vector<std::optional<RowTime>> read(size_t(grid.Rows()));
    auto timeOf = [&](int row) -> const RowTime& {
        std::optional<RowTime>& r = read[size_t(row)];
        if (!r)
            r = RowTime{DatumOderZeit(text(row, dateCol)), DatumOderZeit(text(row, timeCol))};
        return *r;
    };
    for (int i = first + 1; i < grid.Rows(); ++i) {
        g.step([&] {
            // Reference row: the one before (also for modes below -1), row 1, or the
            // last row of the group before; the first group measures from row 1.
            int ref = i - 1;
            if (EDET_ == 0) {
                ref = 1;
            } else if (EDET_ > 0) {
                ref = 1;
                const QString key = grid.TextMatrix(i, EDET_);
                for (int k = i - 1; k >= 1; --k) {
                    if (grid.TextMatrix(k, EDET_) != key) {
                        ref = k;
                        break;
                    }
                }
            }
            const bool dateOnly = timeCol < 0;
            // With both columns, a pair of rows without two valid times has no sound
            // elapsed time: such a row is left as it is.
            const RowTime& from = timeOf(ref);
            const RowTime& to = timeOf(i);
            if (dateCol >= 0 && timeCol >= 0 && (!from.time || !to.time) && from.date && to.date)
                return;
            float t = ZEITDIFFERENZ(from, to);
            if (!dateOnly) {
                if (EDETE_ == QLatin1String("hh"))
                    t /= 3600.0f;
                else if (EDETE_ == QLatin1String("mm"))
                    t /= 60.0f;
            }
            if (!text(i, dateCol).isEmpty() || !text(i, timeCol).isEmpty()) {
                const Dynamic& f = ELFORMAT_[col];
                grid.setTextMatrix(i, col, f.isMissing() ? CStr(Variant(t)) : Format(Variant(t), f.text()));
            }
        });
    }
}

// ---------------------------------------------------------------- fonts and titles

void clsFLX::SCHRIFTEINSTELLUNGEN(const QString& SCHRIFTART, int16_t SCHRIFTGROESSE, bool FETT, bool UNTERSTRICHEN,
                                  bool KURSIV, int32_t FARBE)
{
    GuardSpec s = spec(QStringLiteral("MSFlexGrid / Schrifteinstellungen"));
    s.prefix = QStringLiteral("VB-Error:");
    Guarded(ctx_.dlg(), s, [&](Guard& g) {
        g.step([&] {
            FontSpec f = grid().Font();
            f.Name = SCHRIFTART.isEmpty() ? QStringLiteral("Arial") : SCHRIFTART;
            f.Size = SCHRIFTGROESSE < 1 ? 11.0f : float(SCHRIFTGROESSE);
            f.Bold = FETT;
            f.Italic = KURSIV;
            f.Underline = UNTERSTRICHEN;
            grid().setFontSpec(f);
        });
        g.step([&] { grid().setForeColor(FARBE < 1 ? QBColor(0) : ColorFromLong(FARBE)); });
        g.step([&] {
            if (ELST2_.isEmpty())
                grid().setRowHeight(0, grid().CellHeight());
            else if (ELST2_.isArray())
                grid().setRowHeight(0, 2 * grid().CellHeight());
        });
        for (QWidget* editor : {static_cast<QWidget*>(txt_.data()), static_cast<QWidget*>(cbo_.data())}) {
            if (!editor)
                continue;
            g.step([&] { editor->setFont(ResolveFont(grid().Font(), TwipsDpi)); });
            g.step([&] {
                QPalette p = editor->palette();
                p.setColor(QPalette::Text, grid().ForeColor());
                editor->setPalette(p);
            });
        }
        g.step([&] { DeriveFontSet(grid().Font(), fonts_); });
    });
}

void clsFLX::titleLine(double x, double y, const Dynamic& text)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / Text")),
            [&](Guard& g) { g.step([&] { DrawTitleLine(*pic_, fonts_, x, y, text.value(), 1, 0); }); });
}

void clsFLX::BESCHRIFTEN()
{
    if (!pic_ || !ELST1_.isArray())
        return;
    FlexGrid& g = grid();
    float w = 0.0f;
    for (int i = 0; i < g.Cols(); ++i) {
        if (!g.ColIsVisible(i))
            continue;
        w += float(g.ColWidth(i));
        if (w > float(g.Width())) {
            const bool allRows = g.RowIsVisible(g.Rows() - 1) && g.RowIsVisible(g.FixedRows());
            w = float(g.Width() - (allRows ? TwipsPerMm : ScrollBarRoom));
            break;
        }
    }
    const double height = g.RowHeight(0);
    pic_->setSizeMm(w / TwipsPerMm, height / TwipsPerMm);
    pic_->Cls();
    double x = TwipsPerMm;
    for (int i = 0; i < g.Cols(); ++i) {
        if (!g.ColIsVisible(i))
            continue;
        const double centre = x + g.ColWidth(i) / 2.0;
        titleLine(centre, 0.0, ELST1_[i]);
        if (ELST2_.isArray())
            titleLine(centre, height / 2, ELST2_[i]);
        x += g.ColWidth(i);
        if (x > g.Width())
            break;
    }
    ELA(ELA_);
}

// ---------------------------------------------------------------- rows and tooltips

void clsFLX::ZEILEEINFUEGEN()
{
    const Reentry once(mirroring_);
    if (!once.entered())
        return;
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / Zeile einfügen")), [&](Guard& g) {
        if (g.test([&] { return !grid().Enabled(); })) {
            // The empty table's one row becomes its first row.
            g.step([&] { grid().setBackColor(WindowBackgroundColor()); });
            g.step([&] { grid().setEnabledFlag(true); });
            g.step([&] { NUMMERIEREN(); });
        } else {
            g.step([&] { grid().AddItem(QString(), grid().Row()); });
            g.step([&] { NUMMERIEREN(); });
        }
        if (clsFLX* other = mirror()) {
            g.step([&] { other->grid().setRow(grid().Row()); });
            g.step([&] { other->ZEILEEINFUEGEN(); });
        }
    });
}

void clsFLX::ZEILEENTFERNEN()
{
    const Reentry once(mirroring_);
    if (!once.entered())
        return;
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / Zeile eintfernen")), [&](Guard& g) {
        if (g.test([&] { return grid().Rows() > grid().FixedRows() + 1; })) {
            g.step([&] { grid().RemoveItem(grid().Row()); });
            g.step([&] { NUMMERIEREN(); });
        } else {
            // The last row: the table becomes the empty table, unnumbered.
            g.step([&] {
                for (int c = 0; c < grid().Cols(); ++c)
                    grid().setTextMatrix(grid().FixedRows(), c, QString());
            });
            g.step([&] { grid().setBackColor(grid().BackColorFixed()); });
            g.step([&] { grid().setEnabledFlag(false); });
        }
        if (clsFLX* other = mirror()) {
            g.step([&] { other->grid().setRow(grid().Row()); });
            g.step([&] { other->ZEILEENTFERNEN(); });
        }
    });
}

void clsFLX::TOOLTIP(float X, float)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / ToolTip")), [&](Guard& g) {
        g.step([&] {
            QString tip;
            float sum = 0.0f;
            for (int c = 0; c < grid().Cols(); ++c) {
                if (!grid().ColIsVisible(c))
                    continue;
                sum += float(grid().ColWidth(c));
                if (sum > X) {
                    tip = ELSTTT_[c].text();
                    break;
                }
            }
            grid().setToolTipText(tip);
            if (pic_)
                pic_->setToolTip(tip);
        });
    });
}

// ---------------------------------------------------------------- measurement data and row filter

namespace {

QString importTitle()
{
    return QStringLiteral("MSFlexGrid / Importieren");
}

QString filterTitle()
{
    return QStringLiteral("MSFlexGrid / Zeilenfilter");
}

// The grid as the table an import fills.
class GridCells : public ImportTable {
public:
    explicit GridCells(FlexGrid& grid) : grid_(grid) {}
    int Rows() const override { return grid_.Rows(); }
    void setRows(int rows) override
    {
        if (rows > FlexGrid::MaxRows)
            throw VbError(VbErr::OutOfMemory,
                          QStringLiteral("Die Datei hat mehr Zyklen, als die Tabelle noch Zeilen aufnimmt; eine Tabelle "
                                         "hat höchstens ")
                              + CStr(Variant(double(FlexGrid::MaxRows))) + QStringLiteral(" Zeilen."));
        grid_.setRows(rows);
    }
    QString TextMatrix(int row, int col) const override { return grid_.TextMatrix(row, col); }
    void setTextMatrix(int row, int col, const QString& text) override { grid_.setTextMatrix(row, col, text); }

private:
    FlexGrid& grid_;
};

// What an import may change of a grid: it appends rows and overwrites the last one
// first. Kept so that an import the grid cannot take leaves it as it was.
class GridBeforeImport {
public:
    explicit GridBeforeImport(FlexGrid& grid) : grid_(grid), rows_(grid.Rows())
    {
        for (int c = 0; c < grid.Cols(); ++c)
            last_.push_back({grid.TextMatrix(rows_ - 1, c), grid.LoadedValue(rows_ - 1, c)});
    }
    void restore() const
    {
        grid_.setRows(rows_);
        for (int c = 0; c < int(last_.size()); ++c) {
            grid_.setTextMatrix(rows_ - 1, c, last_[size_t(c)].text);
            if (last_[size_t(c)].loaded)
                grid_.setLoadedValue(rows_ - 1, c, *last_[size_t(c)].loaded);
        }
    }

private:
    struct Cell {
        QString text;
        std::optional<Variant> loaded;
    };
    FlexGrid& grid_;
    int rows_;
    std::vector<Cell> last_;
};

// The largest measurement file an import reads: the grid's most rows at a generous 256
// bytes a cycle. It is read whole into memory, so a larger one is refused beforehand.
constexpr int64_t MaxImportBytes = int64_t(FlexGrid::MaxRows) * 256;

// The hourglass while an import runs, the default pointer after it, however it ends.
class Hourglass {
public:
    Hourglass() { SetMousePointer(11); }
    ~Hourglass() { SetMousePointer(0); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

// Asks for a row number until the answer is one that accept takes; nullopt after Cancel
// in the refusal box. An answer is read by the locale and taken down to the whole number
// not above it; one beyond the rows a table may have is refused like any other (every row
// of a table, as many as an import fills, can be named).
std::optional<int32_t> askNumber(DialogService& dlg, const QString& prompt, const QString& defaultText,
                                 const QString& refusal, const std::function<bool(int32_t)>& accept)
{
    for (;;) {
        const Variant answer(dlg.InputBox(prompt, QStringLiteral("Zeilenfilter"), defaultText));
        if (IsNumeric(answer)) {
            const double x = std::floor(CDbl(answer));
            if (std::abs(x) <= FlexGrid::MaxRows && accept(int32_t(x)))
                return int32_t(x);
        }
        if (dlg.MsgBox(refusal, MsgButtons::OKCancel, MsgIcon::Exclamation, filterTitle()) == MsgResult::Cancel)
            return std::nullopt;
    }
}

} // namespace

bool clsFLX::IMPORTIEREN(const QString& AKVK, const QString& DATEI)
{
    // Failures that bring no box of their own end the import silently with False.
    try {
        if (!grid().Enabled())
            return false;
        const Hourglass pointer;
        ImportPlan plan;
        plan.layout = ReadImportLayout(ctx_, AKVK);
        // An unknown key reads as a layout without values: there is nothing to import.
        if (plan.layout.ZL < 1)
            return false;
        if (!ReadImportValues(ctx_, plan.layout.IDK, plan))
            return false;
        const int cols = grid().Cols();
        for (int c = 0; c < cols; ++c)
            plan.columnTypes.push_back(columnType(c));
        for (int m = 0; m < plan.n; ++m)
            for (int c = 0; c < cols; ++c)
                if (ELSELEK_[c].text() == plan.values[size_t(m)].SPALTE)
                    plan.columns[size_t(m)] = c;
        // The file is read whole before anything is written. One that cannot be read, or
        // whose cycles the table cannot take, shows the file's box and leaves the table
        // as it was.
        const GridBeforeImport before(grid());
        GridCells cells(grid());
        const ImportQuestion ask = [&](const QString& text) {
            return ctx_.dlg().MsgBox(text, MsgButtons::OKCancel, MsgIcon::Exclamation, importTitle()) == MsgResult::OK;
        };
        std::optional<int> startRow;
        bool filled = false;
        RunReporting(
            [&] {
                startRow = ReadMeasurementData(plan, ReadMeasurementFile(DATEI, MaxImportBytes), cells, ask);
                if (!startRow)
                    return;
                PostProcessImport(plan, *startRow, cells, [&](const QString& text) {
                    ctx_.dlg().MsgBox(text, MsgButtons::OK, MsgIcon::Exclamation, importTitle());
                });
                NUMMERIEREN();
                filled = true;
            },
            [&](const VbError& e) {
                before.restore();
                GuardSpec box = spec(importTitle());
                box.buttons = MsgButtons::OK;
                ShowErrorBox(ctx_.dlg(), box, e);
            });
        if (!filled)
            return false;
        // A refresh that fails has shown its box: the import is taken back.
        if (!AKTUALISIEREN()) {
            before.restore();
            return false;
        }
        return true;
    } catch (const VbError&) {
        return false;
    }
}

void clsFLX::ZEILENFILTER()
{
    Guarded(ctx_.dlg(), spec(filterTitle()), [&](Guard& g) {
        DialogService& dlg = ctx_.dlg();
        const auto first = askNumber(dlg, QStringLiteral("Erste Zeile: "), QStringLiteral("0"),
                                     QStringLiteral("Ungültige Angabe für die Nummer der ersten Zeile!"),
                                     [](int32_t) { return true; });
        if (!first)
            return;
        const QString lastRow = g.value<QString>([&] { return CStr(Variant(int32_t(grid().Rows() - 2))); }, QString());
        const auto last = askNumber(dlg, QStringLiteral("Letzte Zeile: "), lastRow,
                                    QStringLiteral("Ungültige Angabe für die Nummer der letzten Zeile!"),
                                    [](int32_t) { return true; });
        if (!last)
            return;
        const int32_t span = *last - *first;
        const auto count = askNumber(dlg, QStringLiteral("Reduzierte Zeilenanzahl: "), CStr(Variant(span)),
                                     QStringLiteral("Ungültige Angabe für die reduzierte Zeilenanzahl!"),
                                     [&](int32_t c) { return c >= 1 && c <= span; });
        if (!count)
            return;
        // Halves to even; at least 1, as the count is at most the span.
        const int step = int(std::nearbyint(double(span) / *count));
        // Downward, so that the rows still to visit keep their indices.
        for (int r = *last; r >= *first; --r)
            if (r % step != 0)
                g.step([&] { grid().RemoveItem(r); });
        g.step([&] { AKTUALISIEREN(); });
        g.step([&] { NUMMERIEREN(); });
    });
}
