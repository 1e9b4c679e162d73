// The grid table's editing: the in-cell editors, their commit (tested and formatted by
// the column), copy and paste, appending by Enter and the fill drag.
#include "clsFLX.h"

#include "TitleLine.h"
#include "platform/Format.h"
#include "platform/Twips.h"
#include "platform/Wertpruefung.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QTimer>
#include <optional>
#include <utility>

namespace {

constexpr int16_t FillArmed = 2;

} // namespace

// ---------------------------------------------------------------- editing

void clsFLX::BEARBEITEN(int16_t BOB, float X)
{
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / Bearbeiten")), [&](Guard& g) {
        if (BOB == 0 || BOB > 32) {
            openEditors(g, BOB);
        } else if (BOB == 13) {
            appendRow(g);
        } else if (BOB == -1) {
            g.step([&] { QGuiApplication::clipboard()->clear(); });
            g.step([&] { QGuiApplication::clipboard()->setText(grid().Clip()); });
        } else if (BOB == -2) {
            g.step([&] {
                const float left = float(grid().CellLeft()), width = float(grid().CellWidth());
                const bool inZone = left + 0.85f * width < X && X < left + width;
                grid().setMousePointer(inZone ? FillArmed : 0);
            });
        }
    });
}

void clsFLX::openEditors(Guard& g, int16_t code)
{
    const QString typed = code > 32 ? QString(QChar(char16_t(code))) : QString();
    auto place = [&](QWidget& editor, bool withHeight) {
        FlexGrid& gr = grid();
        const int left = PixelsOfTwips(gr.Left() + gr.CellLeft()), top = PixelsOfTwips(gr.Top() + gr.CellTop());
        editor.setGeometry(left, top, PixelsOfTwips(gr.CellWidth()),
                           withHeight ? PixelsOfTwips(gr.CellHeight()) : editor.height());
        editor.show();
        editor.raise();
        editor.setFocus(Qt::OtherFocusReason);
    };
    if (g.test([&] { return txt_ && txt_->isHidden() && columnType(grid().Col()) < List; })) {
        g.step([&] { place(*txt_, true); });
        g.step([&] {
            const bool numeric = IsNumeric(Variant(grid().Text()));
            txt_->setAlignment((numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
        });
        g.step([&] {
            if (code == 0) {
                txt_->setText(grid().Text());
                txt_->selectAll();
            } else {
                txt_->setText(typed);
                txt_->end(false);
            }
        });
        g.step([&] { EZNR_ = int16_t(grid().Row()); });
        g.step([&] { ESNR_ = int16_t(grid().Col()); });
    }
    if (g.test([&] { return cbo_ && cbo_->isHidden() && columnType(grid().Col()) == List; })) {
        g.step([&] {
            cbo_->clear();
            const Dynamic& items = ELCBO_[grid().Col()];
            for (int i = 0; i <= items.UBound(); ++i)
                AddItem(*cbo_, items[i].text());
        });
        g.step([&] { place(*cbo_, false); });
        g.step([&] {
            SetComboText(*cbo_, code == 0 ? grid().Text() : grid().Text() + typed);
            if (code == 0)
                cbo_->lineEdit()->selectAll();
            else
                cbo_->lineEdit()->end(false);
        });
        g.step([&] { EZNR_ = int16_t(grid().Row()); });
        g.step([&] { ESNR_ = int16_t(grid().Col()); });
    }
}

void clsFLX::appendRow(Guard& g)
{
    if (!g.test([&] {
            const FlexGrid& gr = grid();
            return gr.Col() == gr.Cols() - 1 && gr.Row() == gr.Rows() - 1 && EBOH_;
        }))
        return;
    auto append = [&](FlexGrid& gr) {
        g.step([&] { gr.setRows(gr.Rows() + 1); });
        g.step([&] { gr.setRow(gr.Rows() - 1); });
        g.step([&] { gr.setCol(gr.FixedCols()); });
    };
    append(grid());
    g.step([&] { grid().setLeftCol(grid().FixedCols()); });
    if (clsFLX* other = mirror()) {
        append(other->grid());
        g.step([&] { other->NUMMERIEREN(); });
    }
    g.step([&] { NUMMERIEREN(); });
}

bool clsFLX::EINFUEGEN(int16_t BOE)
{
    const bool afterRefusedFill = std::exchange(*fillRefused_, false);
    bool committed = true;
    Guarded(ctx_.dlg(), spec(QStringLiteral("MSFlexGrid / Einfügen")), [&](Guard& g) {
        if (BOE == 0 && afterRefusedFill) {
            // The click that ends a fill drag whose commit was refused would only refuse
            // the same text again: one drag, one box.
            committed = false;
        } else if (BOE == 0 || BOE == 13 || BOE == -1) {
            committed = commitEditors(g);
        }
        if (BOE == 27) {
            cancel(g, false);
            cancel(g, true);
        } else if (BOE == -1 && committed) {
            paste(g);
        } else if (BOE == -2) {
            committed = fill(g);
        }
    });
    return committed;
}

bool clsFLX::commitEditors(Guard& g)
{
    if (commit(g, false))
        commit(g, true);
    // Whatever stopped the commit (a refused text, an error box), the editor
    // still open holds the text being corrected.
    return !editorOpen(g, false) && !editorOpen(g, true);
}

bool clsFLX::commit(Guard& g, bool list)
{
    if (!editorOpen(g, list))
        return true;
    QWidget* editor = this->editor(list);
    const QString typed = g.value<QString>([&] { return list ? ComboText(*cbo_) : txt_->text(); }, QString());
    const std::optional<QString> text = committedText(g, ESNR_, typed, false);
    if (!text) {
        // Whatever took the keyboard (a click on another cell, a command key), it
        // goes back to the text being corrected.
        g.step([&] { editor->setFocus(); });
        return false;
    }
    g.step([&] { grid().setTextMatrix(EZNR_, ESNR_, *text); });
    close(g, list);
    return true;
}

std::optional<QString> clsFLX::committedText(Guard& g, int col, const QString& text, bool pasted)
{
    if (text.isEmpty())
        return text;
    bool limitsGiven = false;
    float min = 0, max = 0;
    g.step([&] {
        // A list column reads only numeric limits, the others limits unless one is left out.
        const Dynamic& lo = ELMIN_[col];
        const Dynamic& hi = ELMAX_[col];
        limitsGiven = columnType(col) == List ? IsNumeric(lo.value()) && IsNumeric(hi.value())
                                              : !lo.isMissing() && !hi.isMissing();
        if (limitsGiven) {
            min = CSng(lo.value());
            max = CSng(hi.value());
        }
    });
    if (!testValue(g, col, text, limitsGiven, min, max, pasted))
        return std::nullopt;
    QString formatted = text;
    g.step([&] {
        if (!ELFORMAT_[col].isMissing())
            formatted = Format(Variant(text), ELFORMAT_[col].text());
    });
    return formatted;
}

void clsFLX::paste(Guard& g)
{
    std::vector<FlexGrid::ClipCell> cells;
    g.step([&] {
        // An empty table takes no paste: what it showed would not be saved.
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (grid().Enabled() && data && data->hasText())
            cells = grid().ClipCells(QGuiApplication::clipboard()->text());
    });
    // Every cell takes what a commit of its text would write; one refused text pastes
    // nothing, so that no block is pasted in part.
    for (FlexGrid::ClipCell& cell : cells) {
        const std::optional<QString> text = committedText(g, cell.col, cell.text, true);
        if (!text)
            return;
        cell.text = *text;
    }
    g.step([&] { grid().setCells(cells); });
}

QWidget* clsFLX::editor(bool list) const
{
    return list ? static_cast<QWidget*>(cbo_.data()) : static_cast<QWidget*>(txt_.data());
}

bool clsFLX::editorOpen(Guard& g, bool list)
{
    return g.test([&] {
        const QWidget* editor = this->editor(list);
        const int16_t type = columnType(ESNR_);
        return editor && !editor->isHidden() && (list ? type == List : type < List);
    });
}

void clsFLX::cancel(Guard& g, bool list)
{
    if (editorOpen(g, list))
        close(g, list);
}

void clsFLX::close(Guard& g, bool list)
{
    g.step([&] {
        if (list)
            SetComboText(*cbo_, QString());
        else
            txt_->setText(QString());
    });
    g.step([&] { editor(list)->hide(); });
    g.step([&] { grid().SetFocus(); });
}

bool clsFLX::testValue(Guard& g, int col, const QString& text, bool limitsGiven, float min, float max, bool named)
{
    // The test works on a copy: the cell takes the text as typed.
    QString copy = text;
    const bool ranged = limitsGiven && min < max;
    return g.test([&] {
        const QString title = PlainTitle(ELST1_[col].text());   // as the title picture shows it
        switch (columnType(col)) {
        case Index1:
        case Index2:
        case Index3:
            return !ranged || WERTPRUEFUNG(copy, min, max, true, false, QStringLiteral("Indexspalte ") + title, named);
        case Date:
            return WERTPRUEFUNG(copy, min, max, false, true, QStringLiteral("Datumsspalte ") + title, named);
        case Time:
            return WERTPRUEFUNG(copy, min, max, false, true, QStringLiteral("Uhrzeitspalte ") + title, named);
        default:
            return !ranged || WERTPRUEFUNG(copy, min, max, false, false, QStringLiteral("Spalte ") + title, named);
        }
    });
}

bool clsFLX::WERTPRUEFUNG(QString& text, float min, float max, bool whole, bool date, const QString& label,
                          bool named)
{
    const Wertfehler fehler = Wertpruefung(text, min, max, whole, date);
    if (fehler == Wertfehler::Keiner)
        return true;
    const QString name = named ? QStringLiteral("\"") + text + QStringLiteral("\"\n") : QString();
    ctx_.dlg().MsgBox(name + Wertmeldung(fehler, 3, min, max), MsgButtons::OK, MsgIcon::Exclamation,
                      QStringLiteral("MSFlexGrid / ") + label);
    return false;
}

bool clsFLX::fill(Guard& g)
{
    if (!g.test([&] { return grid().MousePointer() == FillArmed; }))
        return true;
    // The open editor goes into its cell first; a text it refuses stops the fill.
    const bool committed = commitEditors(g);
    if (committed) {
        g.step([&] {
            FlexGrid& gr = grid();
            const QString text = gr.Text();
            for (int r = gr.Row(); r <= gr.RowSel(); ++r)
                for (int c = gr.Col(); c <= gr.ColSel(); ++c)
                    gr.setTextMatrix(r, c, text);
        });
    } else {
        // Noted for the click that ends this release only, should one come.
        *fillRefused_ = true;
        QTimer::singleShot(0, [refused = fillRefused_] { *refused = false; });
    }
    g.step([&] { grid().setMousePointer(0); });
    return committed;
}
