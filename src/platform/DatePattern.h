#pragma once
// Dates and times read from text by a pattern in Qt's notation, as calendar values: the
// program's dates carry no time zone, so reading one never asks the system's time-zone
// database (Qt's own reader takes every date and time as a local time and looks the
// zone up for each text, which costs far more than the reading, and refuses or shifts
// a time that a change to summer time skips).
//
// The patterns and their rules are those of Qt's reader: d and M one or two digits, dd
// and MM exactly two; ddd and dddd the short and long day names, MMM and MMMM the short
// and long month names of the locale (letter case ignored, and a day name must be the
// date's); yy two digits of a year of the 1900s, yyyy four digits; H and h hours with one
// or two digits, HH and hh with two (up to 12 with AP or ap, which read the locale's AM
// and PM texts, letter case ignored); m, mm, s, ss the same for minutes and seconds; z
// the fraction of a second, zzz its three digits; text between single quotes and
// every other character stand for themselves. A part the pattern lacks is taken from
// 1 January 1900, 00:00:00.
#include <QDate>
#include <QLocale>
#include <QString>
#include <QTime>
#include <optional>
#include <vector>

class DatePattern {
public:
    DatePattern(const QString& pattern, const QLocale& locale);

    struct Value {
        QDate date;
        QTime time;
    };
    // The date and time the whole text gives, or nullopt when it does not fit.
    std::optional<Value> read(QStringView text) const;
    // Whether the year is read with four digits (the others are of the 1900s).
    bool fullYear() const { return fullYear_; }

private:
    enum class Part { Literal, Day, DayName, Month, MonthName, Year, Hour, Minute, Second, Milli, AmPm };
    struct Token {
        Part part = Part::Literal;
        int digits = 0;       // most digits read (fewest: the same when exact)
        bool exact = false;   // exactly that many digits
        bool longName = false;
        QChar literal;
    };
    static Token field(Part part, int digits = 0, bool exact = false, bool longName = false)
    {
        return {part, digits, exact, longName, QChar()};
    }
    static Token literal(QChar c) { return {Part::Literal, 0, false, false, c}; }
    std::vector<Token> tokens_;
    bool fullYear_ = false;
    // Lower-case names of the locale: months 1 to 12 and days 1 (Monday) to 7, each in
    // the format and the standalone form.
    std::vector<QString> monthNames_[2], dayNames_[2];
    QString am_, pm_;
};
