#include "Variant.h"

#include "DatePattern.h"
#include "Locale.h"
#include "VbError.h"

#include <QRegularExpression>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <optional>

namespace {
// OLE dates the runtime accepts: 1.1.100 to 31.12.9999.
constexpr double MinDateDays = -657434.0;
constexpr double MaxDateDays = 2958466.0;
const QDate& oleEpoch()
{
    static const QDate epoch(1899, 12, 30);
    return epoch;
}

// A text read as a number by the program's locale; error 13 when it is none. Group
// separators are refused: a German "1.500" is no number, so a point typed out of habit
// is never taken for a thousands separator and the value stored 1000 times too large.
double numberFromText(const QString& text)
{
    QLocale locale = ProgramLocale();
    locale.setNumberOptions(locale.numberOptions() | QLocale::RejectGroupSeparator);
    bool ok = false;
    const double x = locale.toDouble(text.trimmed(), &ok);
    if (!ok) {
        if (std::isinf(x))   // a well-formed number beyond the range of Double
            throw VbError(VbErr::Overflow);
        throw VbError(VbErr::TypeMismatch);
    }
    if (!std::isfinite(x))   // "inf" and "nan" are no numbers of the runtime
        throw VbError(VbErr::TypeMismatch);
    return x;
}

double wholeNumber(const Variant& v, double min, double max)
{
    const double r = std::nearbyint(CDbl(v));   // FE_TONEAREST: halves to even
    if (!(r >= min && r <= max))
        throw VbError(VbErr::Overflow);
    return r;
}

// printf's %G with the given significant digits and "." as the decimal point, made
// without the C library's locale.
QString generalNumberC(double x, int digits)
{
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, x == 0.0 ? 0.0 : x,   // no "-0"
                                   std::chars_format::general, digits).ptr;
    return QString::fromLatin1(buf, end - buf).toUpper();
}

// The same in the program's decimal separator.
QString generalNumber(double x, int digits)
{
    QString s = generalNumberC(x, digits);
    s.replace(QLatin1Char('.'), DecimalSeparatorOf(ProgramLocale()));
    return s;
}

QString dateText(VbDate d)
{
    const QLocale& locale = ProgramLocale();
    const QDateTime t = ToDateTime(d);
    const bool hasDate = std::trunc(d.days) != 0.0;
    const bool hasTime = t.time() != QTime(0, 0);
    QString text;
    if (hasDate || !hasTime)
        text = locale.toString(t.date(), ShortDatePattern(locale));
    if (hasTime) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += locale.toString(t.time(), LongTimePattern(locale));
    }
    return text;
}

// A Qt pattern that also reads single-digit days, months and hours ("1.3.2023 8:05").
QString lenient(QString pattern)
{
    static const QRegularExpression pairs(QStringLiteral("(?<![dMHh])(dd|MM|HH|hh)(?![dMHh])"));
    QString result;
    qsizetype last = 0;
    for (auto it = pairs.globalMatch(pattern); it.hasNext();) {
        const auto m = it.next();
        result += pattern.mid(last, m.capturedStart() - last) + m.captured().left(1);
        last = m.capturedEnd();
    }
    return result + pattern.mid(last);
}

// The patterns a text is read by as a date, in the order they are tried: each date
// pattern alone and followed by each time pattern, then each time pattern alone. Made
// once for each locale the program is set to.
struct DatePatterns {
    QLocale locale;
    std::vector<DatePattern> dates;   // date patterns, and dates with times
    std::vector<DatePattern> times;
};

const DatePatterns& datePatterns(const QLocale& locale)
{
    static std::optional<DatePatterns> made;
    if (made && made->locale == locale)
        return *made;
    DatePatterns p{locale, {}, {}};
    const QString dates[] = {lenient(ShortDatePattern(locale)), lenient(locale.dateFormat(QLocale::ShortFormat)),
                             lenient(locale.dateFormat(QLocale::LongFormat))};
    const QString times[] = {lenient(LongTimePattern(locale)), lenient(locale.timeFormat(QLocale::ShortFormat)),
                             QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")};
    for (const QString& date : dates) {
        p.dates.emplace_back(date, locale);
        for (const QString& time : times)
            p.dates.emplace_back(date + QLatin1Char(' ') + time, locale);
    }
    for (const QString& time : times)
        p.times.emplace_back(time, locale);
    made = std::move(p);
    return *made;
}

// A decimal number too small or too large for a Double: 0 when it is tiny, else the
// runtime's overflow. Decided by the decimal exponent of its first significant digit.
double outOfRange(const std::string& number)
{
    const auto e = number.find('E');
    const std::string digits = number.substr(0, e);
    const auto point = std::min(digits.find('.'), digits.size());
    const auto first = digits.find_first_of("123456789");
    long long exponent = first < point ? static_cast<long long>(point - first) - 1
                                       : -static_cast<long long>(first - point);
    if (e != std::string::npos) {
        const char* from = number.data() + e + 1 + (number[e + 1] == '+');
        long long written = 0;
        if (std::from_chars(from, number.data() + number.size(), written).ec == std::errc::result_out_of_range)
            written = *from == '-' ? LLONG_MIN / 2 : LLONG_MAX / 2;
        exponent += written;
    }
    if (exponent < 0)
        return 0.0;
    throw VbError(VbErr::Overflow);
}

std::optional<VbDate> dateFromText(const QString& text)
{
    const DatePatterns& patterns = datePatterns(ProgramLocale());
    const QStringView s = QStringView(text).trimmed();
    for (const DatePattern& pattern : patterns.dates) {
        if (auto v = pattern.read(s)) {
            // Two-digit years as the runtime reads them: 00 to 29 are 2000 to 2029.
            if (!pattern.fullYear() && v->date.year() < 1930)
                v->date = v->date.addYears(100);
            return FromDateAndTime(v->date, v->time);
        }
    }
    for (const DatePattern& pattern : patterns.times)
        if (const auto v = pattern.read(s))
            return VbDate{v->time.msecsSinceStartOfDay() / 86400000.0};
    return std::nullopt;
}
}

VarType Variant::type() const
{
    static constexpr VarType byIndex[] = {VarType::Empty,  VarType::Null,   VarType::Integer,
                                          VarType::Long,   VarType::Single, VarType::Double,
                                          VarType::Date,   VarType::Boolean, VarType::String};
    return byIndex[v_.index()];
}

bool Variant::isNumber() const
{
    switch (type()) {
    case VarType::Integer:
    case VarType::Long:
    case VarType::Single:
    case VarType::Double:
        return true;
    default:
        return false;
    }
}

int16_t CInt(const Variant& v)
{
    return static_cast<int16_t>(wholeNumber(v, -32768.0, 32767.0));
}

int32_t CLng(const Variant& v)
{
    return static_cast<int32_t>(wholeNumber(v, -2147483648.0, 2147483647.0));
}

float CSng(const Variant& v)
{
    if (v.type() == VarType::Single)
        return v.asSingle();
    const double x = CDbl(v);
    if (std::fabs(x) > FLT_MAX)
        throw VbError(VbErr::Overflow);
    return static_cast<float>(x);
}

double CDbl(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
        return 0.0;
    case VarType::Null:
        throw VbError(VbErr::InvalidNull);
    case VarType::Integer:
        return v.asInteger();
    case VarType::Long:
        return v.asLong();
    case VarType::Single:
        return CheckedFinite(v.asSingle());
    case VarType::Double:
        return CheckedFinite(v.asDouble());
    case VarType::Date:
        return v.asDate().days;
    case VarType::Boolean:
        return v.asBoolean() ? -1.0 : 0.0;
    case VarType::String:
        return numberFromText(v.asString());
    }
    throw VbError(VbErr::TypeMismatch);
}

bool CBool(const Variant& v)
{
    if (v.type() == VarType::String) {
        const QString s = v.asString().trimmed();
        if (s.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (s.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (v.type() == VarType::Boolean)
        return v.asBoolean();
    return CDbl(v) != 0.0;
}

VbDate CDate(const Variant& v)
{
    switch (v.type()) {
    case VarType::Date:
        return v.asDate();
    case VarType::String: {
        if (const auto d = dateFromText(v.asString()))
            return *d;
        throw VbError(VbErr::TypeMismatch);
    }
    default: {
        const double days = CDbl(v);
        if (!(days >= MinDateDays && days < MaxDateDays))
            throw VbError(VbErr::Overflow);
        return VbDate{days};
    }
    }
}

QString CStr(const Variant& v)
{
    switch (v.type()) {
    case VarType::Empty:
        return QString();
    case VarType::Null:
        throw VbError(VbErr::InvalidNull);
    case VarType::Integer:
        return QString::number(v.asInteger());
    case VarType::Long:
        return QString::number(v.asLong());
    case VarType::Single:
        return generalNumber(v.asSingle(), 7);
    case VarType::Double:
        return generalNumber(v.asDouble(), 15);
    case VarType::Date:
        return dateText(v.asDate());
    case VarType::Boolean:
        return v.asBoolean() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::String:
        return v.asString();
    }
    throw VbError(VbErr::TypeMismatch);
}

QString SqlNumber(const Variant& v)
{
    switch (v.type()) {
    case VarType::Single:
        return generalNumberC(v.asSingle(), 7);
    case VarType::Double:
        return generalNumberC(v.asDouble(), 15);
    case VarType::String:
        if (IsNumeric(v))
            return generalNumberC(CDbl(v), 15);
        break;
    default:
        break;
    }
    return CStr(v);
}

QString SqlQuoted(const QString& text)
{
    QString doubled = text;
    doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

double Val(const QString& s)
{
    // Blanks, tabs and line feeds are skipped anywhere, as the runtime does.
    std::string t;
    for (const QChar c : s)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t') && c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            t += c.unicode() < 128 ? static_cast<char>(c.unicode()) : '\x7f';
    std::size_t i = 0;
    const auto digitsAt = [&](std::size_t from) {
        std::size_t k = from;
        while (k < t.size() && t[k] >= '0' && t[k] <= '9')
            ++k;
        return k - from;
    };
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    const std::size_t mantissa = i;
    std::size_t digits = digitsAt(i);
    i += digits;
    if (i < t.size() && t[i] == '.') {
        const std::size_t fraction = digitsAt(i + 1);
        digits += fraction;
        i += 1 + fraction;
    }
    if (digits == 0)
        return 0.0;
    std::string number(negative ? "-" : "");
    number.append(t, mantissa, i - mantissa);
    if (i < t.size() && std::strchr("EeDd", t[i])) {
        std::size_t k = i + 1;
        if (k < t.size() && (t[k] == '+' || t[k] == '-'))
            ++k;
        if (const std::size_t expDigits = digitsAt(k))
            number += 'E' + t.substr(i + 1, k + expDigits - i - 1);
    }
    double x = 0.0;
    if (std::from_chars(number.data(), number.data() + number.size(), x).ec == std::errc::result_out_of_range)
        return outOfRange(number);
    return x;
}

bool IsNumeric(const Variant& v)
{
    switch (v.type()) {
    case VarType::Null:
    case VarType::Date:
        return false;
    case VarType::String:
        try {
            CDbl(v);
            return true;
        } catch (const VbError&) {
            return false;
        }
    default:
        return true;
    }
}

QString Trim(const QString& s)
{
    qsizetype first = 0, last = s.size();
    while (first < last && s[first] == QLatin1Char(' '))
        ++first;
    while (last > first && s[last - 1] == QLatin1Char(' '))
        --last;
    return s.mid(first, last - first);
}

double Round(double x, int decimals)
{
    if (decimals < 0)
        throw VbError(VbErr::InvalidCall);
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0)   // 2^52: already whole
        return x;
    return std::nearbyint(scaled) / scale;
}

QDateTime ToDateTime(VbDate d)
{
    // Before the epoch the fraction still counts forward from midnight (-1.25 is
    // 29.12.1899 06:00), as OLE dates do.
    const double whole = std::trunc(d.days);
    const double fraction = std::fabs(d.days - whole);
    qint64 ms = std::llround(fraction * 86400000.0);
    qint64 day = static_cast<qint64>(whole);
    if (ms >= 86400000) {
        ms -= 86400000;
        ++day;   // the time of day always counts forward
    }
    return QDateTime(oleEpoch().addDays(day), QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms)), Qt::UTC);
}

VbDate FromDateAndTime(QDate date, QTime time)
{
    const double day = static_cast<double>(oleEpoch().daysTo(date));
    const double fraction = time.msecsSinceStartOfDay() / 86400000.0;
    return VbDate{day < 0 ? day - fraction : day + fraction};
}

VbDate FromDateTime(const QDateTime& t)
{
    return FromDateAndTime(t.date(), t.time());
}
