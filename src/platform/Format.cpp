#include "Format.h"

#include "Locale.h"
#include "VbError.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

// ---- Sections and tokens ---------------------------------------------------------

// A format splits into up to four sections at ";" (positive, negative, zero, Null);
// quoted text and characters after "\" are literal everywhere.
QStringList sectionsOf(const QString& format)
{
    QStringList sections{QString()};
    bool quoted = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char('\\') && !quoted && i + 1 < format.size()) {
            sections.back() += c;
            sections.back() += format[++i];
            continue;
        } else if (c == QLatin1Char(';') && !quoted) {
            sections.append(QString());
            continue;
        }
        sections.back() += c;
    }
    return sections;
}

// Walks a section, handing quoted and escaped text as literals and other characters
// one by one to the callback (which may consume more through the index).
template <class F>
void scan(const QString& s, F&& onChar, const std::function<void(const QString&)>& onLiteral)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c == QLatin1Char('"')) {
            const qsizetype end = s.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype stop = end < 0 ? s.size() : end;
            onLiteral(s.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < s.size())
                onLiteral(QString(s[++i]));
        } else {
            onChar(i);
        }
    }
}

// ---- Numbers --------------------------------------------------------------------

// A non-negative number as decimal digits: value = 0.digits x 10^exp10, no trailing
// zeros; no digits means zero.
struct Decimal {
    std::string digits;
    int exp10 = 0;

    // Rounds halves away from zero, keeping the given number of decimals.
    void roundTo(int decimals)
    {
        const int keep = exp10 + decimals;
        if (digits.empty() || keep >= static_cast<int>(digits.size()))
            return;
        if (keep < 0) {
            digits.clear();
            return;
        }
        const bool up = digits[keep] >= '5';
        digits.resize(keep);
        if (up) {
            int k = keep - 1;
            while (k >= 0 && digits[k] == '9')
                digits[k--] = '0';
            if (k >= 0)
                ++digits[k];
            else {
                digits.insert(digits.begin(), '1');
                ++exp10;
            }
        }
        trim();
    }
    void trim()
    {
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
    }
    // Digit at a position counted from the decimal point (0 the first decimal,
    // -1 the units).
    char digitAt(int decimal) const
    {
        const int p = exp10 + decimal;
        return p >= 0 && p < static_cast<int>(digits.size()) ? digits[p] : '0';
    }
    std::string integerDigits() const
    {
        std::string r;
        for (int p = 0; p < exp10; ++p)
            r += digitAt(p - exp10);
        return r;
    }
};

// The digits the runtime sees of a number: 7 significant ones for a Single, 15 for
// anything else, so that a Single 0.1 is 0.1 and not 0.100000001.
Decimal decimalOf(double x, int significant)
{
    Decimal d;
    if (x == 0.0)
        return d;
    char buf[64];
    // "d.ddde+xx", made without the C library's locale.
    char* const end = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific,
                                    significant - 1).ptr;
    const std::string s(buf, end);
    const auto e = s.find('e');
    d.digits = s.substr(0, 1) + (e > 2 ? s.substr(2, e - 2) : std::string());
    int exponent = 0;
    std::from_chars(s.data() + e + 1 + (s[e + 1] == '+'), end, exponent);
    d.exp10 = exponent + 1;
    d.trim();
    return d;
}

enum class Tok { Zero, Hash, Point, Comma, Exponent, Literal };
struct Token {
    Tok kind;
    QString text;   // literal text, or the exponent's sign character
};

struct NumberPattern {
    std::vector<Token> tokens;
    bool percent = false;
    bool grouping = false;
    int decimals = 0;       // placeholders after the point
    int integers = 0;       // placeholders before the point
    int exponentZeros = 0;  // "0" placeholders of the exponent
    bool hasExponent = false;
};

NumberPattern numberPattern(const QString& section)
{
    NumberPattern p;
    bool point = false, exponent = false;
    const auto literal = [&](const QString& text) { p.tokens.push_back({Tok::Literal, text}); };
    scan(
        section,
        [&](qsizetype& i) {
            const QChar c = section[i];
            if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                const bool zero = c == QLatin1Char('0');
                if (exponent)
                    p.exponentZeros += zero ? 1 : 0;
                else if (point)
                    ++p.decimals;
                else
                    ++p.integers;
                p.tokens.push_back({zero ? Tok::Zero : Tok::Hash, {}});
            } else if (c == QLatin1Char('.') && !point && !exponent) {
                point = true;
                p.tokens.push_back({Tok::Point, {}});
            } else if (c == QLatin1Char(',') && !point && !exponent) {
                p.tokens.push_back({Tok::Comma, {}});
            } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && !exponent && i + 1 < section.size()
                       && (section[i + 1] == QLatin1Char('+') || section[i + 1] == QLatin1Char('-'))) {
                exponent = p.hasExponent = true;
                p.tokens.push_back({Tok::Exponent, QString(c) + section[++i]});
            } else {
                if (c == QLatin1Char('%'))
                    p.percent = true;
                literal(QString(c));
            }
        },
        literal);
    // A comma between integer placeholders groups thousands.
    bool seenDigit = false;
    for (std::size_t k = 0; k < p.tokens.size() && p.tokens[k].kind != Tok::Point
                            && p.tokens[k].kind != Tok::Exponent; ++k) {
        if (p.tokens[k].kind == Tok::Zero || p.tokens[k].kind == Tok::Hash)
            seenDigit = true;
        else if (p.tokens[k].kind == Tok::Comma && seenDigit) {
            for (std::size_t j = k + 1; j < p.tokens.size() && p.tokens[j].kind != Tok::Point; ++j)
                if (p.tokens[j].kind == Tok::Zero || p.tokens[j].kind == Tok::Hash)
                    p.grouping = true;
        }
    }
    return p;
}

QString groupThousands(const QString& digits)
{
    const QString separator = ProgramLocale().groupSeparator();
    QString r;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            r += separator;
        r += digits[i];
    }
    return r;
}

// Renders a magnitude with one section's pattern; tells whether it rounded to zero.
QString formatMagnitude(double magnitude, int significant, const NumberPattern& p, bool* zero = nullptr)
{
    Decimal m = decimalOf(p.percent ? magnitude * 100.0 : magnitude, significant);
    int exponent = 0;
    if (p.hasExponent && !m.digits.empty()) {
        exponent = m.exp10 - p.integers;
        m.exp10 = p.integers;
        m.roundTo(p.decimals);
        if (m.exp10 > p.integers) {   // 9.999 rounded up to 10.00
            m.exp10 = p.integers;
            ++exponent;
        }
    } else {
        m.roundTo(p.decimals);
    }
    if (zero)
        *zero = m.digits.empty();

    // Integer placeholders are filled from the right; the leftmost one takes every
    // remaining digit; "0" shows a zero where no digit is left, "#" nothing.
    const std::string intDigits = m.integerDigits();
    std::vector<QString> parts(p.tokens.size());
    std::vector<std::size_t> intSlots, decSlots;
    bool afterPoint = false;
    for (std::size_t k = 0; k < p.tokens.size(); ++k) {
        const Tok kind = p.tokens[k].kind;
        if (kind == Tok::Point || kind == Tok::Exponent)
            afterPoint = true;
        if (kind == Tok::Exponent)
            break;
        if (kind == Tok::Zero || kind == Tok::Hash)
            (afterPoint ? decSlots : intSlots).push_back(k);
    }
    if (p.grouping && !intSlots.empty()) {
        int zeros = 0;
        for (std::size_t k : intSlots)
            zeros += p.tokens[k].kind == Tok::Zero ? 1 : 0;
        QString digits = QString::fromStdString(intDigits);
        if (digits.size() < zeros)
            digits = QString(zeros - digits.size(), QLatin1Char('0')) + digits;
        parts[intSlots.front()] = groupThousands(digits);
    } else {
        int next = static_cast<int>(intDigits.size()) - 1;
        for (std::size_t s = intSlots.size(); s-- > 0;) {
            const std::size_t k = intSlots[s];
            if (s == 0 && next >= 0)
                parts[k] = QString::fromStdString(intDigits.substr(0, next + 1));
            else if (next >= 0)
                parts[k] = QChar::fromLatin1(intDigits[next--]);
            else if (p.tokens[k].kind == Tok::Zero)
                parts[k] = QStringLiteral("0");
        }
    }
    std::size_t shown = decSlots.size();
    while (shown > 0 && p.tokens[decSlots[shown - 1]].kind == Tok::Hash && m.digitAt(static_cast<int>(shown) - 1) == '0')
        --shown;
    for (std::size_t s = 0; s < shown; ++s)
        parts[decSlots[s]] = QChar::fromLatin1(m.digitAt(static_cast<int>(s)));

    // Without integer placeholders the integer digits still show, before the point.
    QString unplaced = intSlots.empty() ? QString::fromStdString(intDigits) : QString();
    QString out;
    for (std::size_t k = 0; k < p.tokens.size(); ++k) {
        const Token& t = p.tokens[k];
        if (!unplaced.isEmpty() && (t.kind == Tok::Point || t.kind == Tok::Exponent)) {
            out += unplaced;
            unplaced.clear();
        }
        switch (t.kind) {
        case Tok::Zero:
        case Tok::Hash:
        case Tok::Comma:
            out += parts[k];
            break;
        case Tok::Point:
            out += DecimalSeparatorOf(ProgramLocale());
            break;
        case Tok::Literal:
            out += t.text;
            break;
        case Tok::Exponent: {
            out += t.text[0];
            if (exponent < 0)
                out += QLatin1Char('-');
            else if (t.text[1] == QLatin1Char('+'))
                out += QLatin1Char('+');
            out += QString::number(std::abs(exponent)).rightJustified(p.exponentZeros, QLatin1Char('0'));
            // The exponent's placeholders were rendered here; skip them.
            while (k + 1 < p.tokens.size() && (p.tokens[k + 1].kind == Tok::Zero || p.tokens[k + 1].kind == Tok::Hash))
                ++k;
            break;
        }
        }
    }
    return out + unplaced;
}

QString formatNumber(double x, int significant, const QString& format)
{
    const QStringList sections = sectionsOf(format);
    const auto section = [&](int i) {
        return i < sections.size() && !sections[i].isEmpty() ? sections[i] : sections[0];
    };
    if (x == 0.0 && sections.size() > 2)
        return formatMagnitude(0.0, significant, numberPattern(section(2)));
    if (x < 0.0 && sections.size() > 1)
        return formatMagnitude(-x, significant, numberPattern(section(1)));
    bool zero = false;
    const QString text = formatMagnitude(std::fabs(x), significant, numberPattern(sections[0]), &zero);
    // A value shown as zero is shown without a sign: "-0,00" would read as a value.
    return x < 0.0 && !zero ? QLatin1Char('-') + text : text;
}

// ---- Dates and times -----------------------------------------------------------

bool isNamed(const QString& format, const char* name)
{
    return format.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

bool isDateFormat(const QString& format)
{
    for (const char* name : {"General Date", "Long Date", "Medium Date", "Short Date", "Long Time",
                             "Medium Time", "Short Time"})
        if (isNamed(format, name))
            return true;
    bool dateToken = false, digitToken = false;
    scan(
        format,
        [&](qsizetype& i) {
            const QChar c = format[i].toLower();
            if (c == QLatin1Char('0') || c == QLatin1Char('#'))
                digitToken = true;
            else if (QStringLiteral("dmyhnswqc").contains(c))
                dateToken = true;
        },
        [](const QString&) {});
    return dateToken && !digitToken;
}

QString dateSeparator(const QLocale& locale)
{
    for (const QChar c : locale.dateFormat(QLocale::ShortFormat))
        if (!c.isLetter())
            return QString(c);
    return QStringLiteral("/");
}

struct DateToken {
    QChar letter;   // lower case; 0 for a literal, 'a' for an AM/PM marker
    int count = 0;
    QString text;   // literal text, or the marker's spelling
};

std::vector<DateToken> dateTokens(const QString& format)
{
    std::vector<DateToken> tokens;
    const auto literal = [&](const QString& text) { tokens.push_back({QChar(), 0, text}); };
    scan(
        format,
        [&](qsizetype& i) {
            for (const char* marker : {"AM/PM", "A/P", "AMPM"}) {
                const QString m = QLatin1String(marker);
                if (format.mid(i, m.size()).compare(m, Qt::CaseInsensitive) == 0) {
                    tokens.push_back({QLatin1Char('a'), 0, format.mid(i, m.size())});
                    i += m.size() - 1;
                    return;
                }
            }
            const QChar c = format[i].toLower();
            if (QStringLiteral("dmyhnswqct").contains(c)) {
                int n = 1;
                while (i + 1 < format.size() && format[i + 1].toLower() == c) {
                    ++n;
                    ++i;
                }
                tokens.push_back({c, n, {}});
            } else {
                literal(QString(format[i]));
            }
        },
        literal);
    return tokens;
}

QString twoDigits(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString formatDate(VbDate d, const QString& format)
{
    const QLocale& locale = ProgramLocale();
    const QDateTime t = ToDateTime(d);
    if (isNamed(format, "General Date"))
        return CStr(Variant(d));
    if (isNamed(format, "Long Date"))
        return locale.toString(t.date(), QLocale::LongFormat);
    if (isNamed(format, "Medium Date"))
        return locale.toString(t.date(), QStringLiteral("dd-MMM-yy"));
    if (isNamed(format, "Short Date"))
        return locale.toString(t.date(), ShortDatePattern(locale));
    if (isNamed(format, "Long Time"))
        return locale.toString(t.time(), LongTimePattern(locale));
    if (isNamed(format, "Medium Time"))
        return locale.toString(t.time(), QStringLiteral("hh:mm AP"));
    if (isNamed(format, "Short Time"))
        return locale.toString(t.time(), QStringLiteral("HH:mm"));

    const std::vector<DateToken> tokens = dateTokens(format);
    bool twelveHours = false;
    for (const DateToken& k : tokens)
        twelveHours = twelveHours || k.letter == QLatin1Char('a');
    const QDate date = t.date();
    const QTime time = t.time();
    QString out;
    QChar previous;   // the last date or time token, to tell minutes from months
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const DateToken& k = tokens[i];
        const int n = k.count;
        const char c = k.letter.toLatin1();
        if (c == 0) {
            if (k.text == QLatin1String("/"))
                out += dateSeparator(locale);
            else
                out += k.text;
            continue;
        }
        switch (c) {
        case 'a': {
            const bool pm = time.hour() >= 12;
            if (k.text.size() == 3)   // A/P
                out += k.text[pm ? 2 : 0];
            else if (k.text.compare(QLatin1String("AMPM"), Qt::CaseInsensitive) == 0)
                out += pm ? locale.pmText() : locale.amText();
            else
                out += pm ? k.text.mid(3, 2) : k.text.left(2);
            break;
        }
        case 'd':
            out += n == 1   ? QString::number(date.day())
                   : n == 2 ? twoDigits(date.day())
                   : n == 3 ? locale.dayName(date.dayOfWeek(), QLocale::ShortFormat)
                   : n == 4 ? locale.dayName(date.dayOfWeek(), QLocale::LongFormat)
                   : n == 5 ? locale.toString(date, ShortDatePattern(locale))
                            : locale.toString(date, QLocale::LongFormat);
            break;
        case 'm': {
            bool minutes = previous == QLatin1Char('h');
            for (std::size_t j = i + 1; !minutes && j < tokens.size(); ++j)
                if (!tokens[j].letter.isNull()) {
                    minutes = tokens[j].letter == QLatin1Char('s');
                    break;
                }
            if (minutes && n <= 2)
                out += n == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            else
                out += n == 1   ? QString::number(date.month())
                       : n == 2 ? twoDigits(date.month())
                       : n == 3 ? locale.monthName(date.month(), QLocale::ShortFormat)
                                : locale.monthName(date.month(), QLocale::LongFormat);
            break;
        }
        case 'y':
            out += n == 1 ? QString::number(date.dayOfYear())
                   : n == 2 ? twoDigits(date.year() % 100)
                            : QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
            break;
        case 'h': {
            int hour = time.hour();
            if (twelveHours && (hour %= 12) == 0)
                hour = 12;
            out += n == 1 ? QString::number(hour) : twoDigits(hour);
            break;
        }
        case 'n':
            out += n == 1 ? QString::number(time.minute()) : twoDigits(time.minute());
            break;
        case 's':
            out += n == 1 ? QString::number(time.second()) : twoDigits(time.second());
            break;
        case 'w':
            out += n == 1 ? QString::number(date.dayOfWeek() % 7 + 1) : QString::number(date.weekNumber());
            break;
        case 'q':
            out += QString::number((date.month() - 1) / 3 + 1);
            break;
        case 'c':
            out += CStr(Variant(d));
            break;
        case 't':
            out += n == 5 ? locale.toString(time, LongTimePattern(locale)) : QString(n, QLatin1Char('t'));
            break;
        }
        previous = k.letter == QLatin1Char('n') ? QLatin1Char('h') : k.letter;
    }
    return out;
}

int significantDigits(const Variant& v)
{
    return v.type() == VarType::Single ? 7 : 15;
}

} // namespace

QString Format(const Variant& value, const QString& format)
{
    if (value.isNull()) {
        const QStringList sections = sectionsOf(format);
        return sections.size() > 3 ? formatNumber(0.0, 15, sections[3]) : QString();
    }
    if (format.isEmpty())
        return CStr(value);
    if (isDateFormat(format)) {
        if (value.type() == VarType::String) {
            try {
                return formatDate(CDate(value), format);
            } catch (const VbError&) {
                if (!IsNumeric(value))
                    return value.asString();   // neither date nor number: unchanged
                return formatDate(CDate(CDbl(value)), format);
            }
        }
        return formatDate(CDate(value), format);
    }
    if (value.type() == VarType::String && !IsNumeric(value))
        return value.asString();   // a text cell passes a numeric format unchanged
    return formatNumber(CDbl(value), significantDigits(value), format);
}
