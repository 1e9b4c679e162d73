#include "DatePattern.h"

namespace {

bool isPatternLetter(QChar c)
{
    switch (c.unicode()) {
    case 'd':
    case 'M':
    case 'y':
    case 'H':
    case 'h':
    case 'm':
    case 's':
    case 'z':
        return true;
    default:
        return false;
    }
}

// Up to most digits (exactly that many when exact) from pos on, as a number.
std::optional<int> digitsAt(QStringView text, qsizetype& pos, int most, bool exact)
{
    int value = 0, n = 0;
    while (n < most && pos + n < text.size() && text[pos + n].isDigit() && text[pos + n].unicode() < 128) {
        value = value * 10 + (text[pos + n].unicode() - '0');
        ++n;
    }
    if (n == 0 || (exact && n != most))
        return std::nullopt;
    pos += n;
    return value;
}

// The number (from 1) of the longest name that the text continues with at pos.
std::optional<int> nameAt(QStringView text, qsizetype& pos, const std::vector<QString>& names, int count)
{
    int found = 0;
    qsizetype length = 0;
    for (size_t i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        if (!name.isEmpty() && name.size() > length && text.mid(pos).startsWith(name, Qt::CaseInsensitive)) {
            found = int(i) % count + 1;
            length = name.size();
        }
    }
    if (found == 0)
        return std::nullopt;
    pos += length;
    return found;
}

bool sameCharacter(QChar pattern, QChar text)
{
    // A blank of the pattern (some locales use no-break ones) matches any blank.
    return pattern == text || (pattern.isSpace() && text.isSpace());
}

} // namespace

DatePattern::DatePattern(const QString& pattern, const QLocale& locale)
{
    for (qsizetype i = 0; i < pattern.size();) {
        const QChar c = pattern[i];
        if (c == QLatin1Char('\'')) {
            // Quoted text stands for itself; two quotes stand for one.
            const QChar quote = c;
            qsizetype j = i + 1;
            if (j < pattern.size() && pattern[j] == quote) {
                tokens_.push_back(literal(quote));
                i = j + 1;
                continue;
            }
            for (; j < pattern.size(); ++j) {
                if (pattern[j] == quote) {
                    if (j + 1 == pattern.size() || pattern[j + 1] != quote)
                        break;
                    ++j;
                }
                tokens_.push_back(literal(pattern[j]));
            }
            i = j + 1;
            continue;
        }
        if (c == QLatin1Char('A') || c == QLatin1Char('a')) {
            // AP, ap, A or a
            const bool pair = i + 1 < pattern.size() && pattern[i + 1].toLower() == QLatin1Char('p');
            tokens_.push_back(field(Part::AmPm));
            i += pair ? 2 : 1;
            continue;
        }
        if (!isPatternLetter(c)) {
            tokens_.push_back(literal(c));
            ++i;
            continue;
        }
        qsizetype n = 1;
        while (i + n < pattern.size() && pattern[i + n] == c)
            ++n;
        i += n;
        const int count = int(n);
        switch (c.unicode()) {
        case 'd':
            if (count <= 2)
                tokens_.push_back(field(Part::Day, 2, count == 2));
            else
                tokens_.push_back(field(Part::DayName, 0, false, count >= 4));
            break;
        case 'M':
            if (count <= 2)
                tokens_.push_back(field(Part::Month, 2, count == 2));
            else
                tokens_.push_back(field(Part::MonthName, 0, false, count >= 4));
            break;
        case 'y':
            fullYear_ = count != 2;
            tokens_.push_back(field(Part::Year, count == 2 ? 2 : 4, true));
            break;
        case 'H':
        case 'h':
            tokens_.push_back(field(Part::Hour, 2, count >= 2));
            break;
        case 'm':
            tokens_.push_back(field(Part::Minute, 2, count >= 2));
            break;
        case 's':
            tokens_.push_back(field(Part::Second, 2, count >= 2));
            break;
        default:   // z: the fraction of the second, zzz: three digits of it
            tokens_.push_back(field(Part::Milli, 3, count >= 3));
            break;
        }
    }

    // Each list: the format names, then the standalone names.
    for (const auto form : {QLocale::ShortFormat, QLocale::LongFormat}) {
        const int k = form == QLocale::LongFormat ? 1 : 0;
        for (int m = 1; m <= 12; ++m)
            monthNames_[k].push_back(locale.monthName(m, form).toLower());
        for (int m = 1; m <= 12; ++m)
            monthNames_[k].push_back(locale.standaloneMonthName(m, form).toLower());
        for (int d = 1; d <= 7; ++d)
            dayNames_[k].push_back(locale.dayName(d, form).toLower());
        for (int d = 1; d <= 7; ++d)
            dayNames_[k].push_back(locale.standaloneDayName(d, form).toLower());
    }
    am_ = locale.amText().toLower();
    pm_ = locale.pmText().toLower();
}

std::optional<DatePattern::Value> DatePattern::read(QStringView text) const
{
    int year = 1900, month = 1, day = 1, hour = 0, minute = 0, second = 0, milli = 0;
    std::optional<int> weekday, pm;
    qsizetype pos = 0;
    for (const Token& t : tokens_) {
        std::optional<int> v;
        switch (t.part) {
        case Part::Literal:
            if (pos >= text.size() || !sameCharacter(t.literal, text[pos]))
                return std::nullopt;
            ++pos;
            continue;
        case Part::AmPm:
            if (!am_.isEmpty() && text.mid(pos).startsWith(am_, Qt::CaseInsensitive)) {
                pm = 0;
                pos += am_.size();
            } else if (!pm_.isEmpty() && text.mid(pos).startsWith(pm_, Qt::CaseInsensitive)) {
                pm = 1;
                pos += pm_.size();
            } else {
                return std::nullopt;
            }
            continue;
        case Part::DayName:
            // Both lists are tried, the pattern's own first.
            v = nameAt(text, pos, dayNames_[t.longName ? 1 : 0], 7);
            if (!v)
                v = nameAt(text, pos, dayNames_[t.longName ? 0 : 1], 7);
            weekday = v;
            break;
        case Part::MonthName:
            v = nameAt(text, pos, monthNames_[t.longName ? 1 : 0], 12);
            if (!v)
                v = nameAt(text, pos, monthNames_[t.longName ? 0 : 1], 12);
            if (v)
                month = *v;
            break;
        default: {
            const qsizetype from = pos;
            v = digitsAt(text, pos, t.digits, t.exact);
            if (!v)
                return std::nullopt;
            if (t.part == Part::Milli)   // a fraction: "5" is 500 milliseconds
                for (qsizetype n = pos - from; n < 3; ++n)
                    *v *= 10;
            switch (t.part) {
            case Part::Day: day = *v; break;
            case Part::Month: month = *v; break;
            case Part::Year: year = t.digits == 2 ? 1900 + *v : *v; break;
            case Part::Hour: hour = *v; break;
            case Part::Minute: minute = *v; break;
            case Part::Second: second = *v; break;
            default: milli = *v; break;
            }
            break;
        }
        }
        if (!v)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    if (pm) {
        // 12 AM is midnight, 12 PM noon; a 12-hour clock reads no hour above 12.
        if (hour > 12)
            return std::nullopt;
        hour = hour % 12 + 12 * *pm;
    }
    if (hour > 23 || minute > 59 || second > 59 || !QDate::isValid(year, month, day))
        return std::nullopt;
    const QDate date(year, month, day);
    if (weekday && date.dayOfWeek() != *weekday)
        return std::nullopt;
    return Value{date, QTime(hour, minute, second, milli)};
}
