#pragma once
// The value type in which records travel between rows, controls and variables,
// with the conversions of the BASIC runtime the program was designed around.
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <variant>

enum class VarType { Empty, Null, Integer, Long, Single, Double, Date, Boolean, String };

// An OLE date: days since 1899-12-30, the fraction being the time of day.
struct VbDate {
    double days = 0.0;
    bool operator==(const VbDate&) const = default;
};

class Variant {
public:
    struct NullTag { bool operator==(const NullTag&) const = default; };

    Variant() = default;                    // Empty
    Variant(int16_t v) : v_(v) {}
    Variant(int32_t v) : v_(v) {}
    Variant(float v) : v_(v) {}
    Variant(double v) : v_(v) {}
    Variant(bool v) : v_(v) {}
    Variant(VbDate v) : v_(v) {}
    Variant(const QString& v) : v_(v) {}
    Variant(const char* v) : v_(QString::fromUtf8(v)) {}
    static Variant Null() { Variant r; r.v_ = NullTag{}; return r; }

    VarType type() const;
    bool isEmpty() const { return type() == VarType::Empty; }
    bool isNull() const { return type() == VarType::Null; }
    bool isNumber() const;                  // Integer, Long, Single, Double

    // Raw access; the caller must know the type (see type()).
    int16_t asInteger() const { return std::get<int16_t>(v_); }
    int32_t asLong() const { return std::get<int32_t>(v_); }
    float asSingle() const { return std::get<float>(v_); }
    double asDouble() const { return std::get<double>(v_); }
    bool asBoolean() const { return std::get<bool>(v_); }
    VbDate asDate() const { return std::get<VbDate>(v_); }
    const QString& asString() const { return std::get<QString>(v_); }

    // Same type and same value (not VB's comparison; for tests and change checks).
    bool operator==(const Variant& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, NullTag, int16_t, int32_t, float, double, VbDate, bool, QString> v_;
};

// Conversions with the runtime's rules: Empty is 0 / False / "" / date 0, Null is
// error 94, whole numbers round halves to even, out of range is error 6 and a text
// that is no number is error 13. Text is read and written in the program's locale.
int16_t CInt(const Variant& v);
int32_t CLng(const Variant& v);
float CSng(const Variant& v);
double CDbl(const Variant& v);
bool CBool(const Variant& v);
VbDate CDate(const Variant& v);
QString CStr(const Variant& v);
// A value as it stands unquoted in SQL text: the runtime's text form, but numbers
// always with "." as the decimal point (a German "2,5" would split a statement).
QString SqlNumber(const Variant& v);
// A text as it stands in SQL: 'text' with every quote doubled.
QString SqlQuoted(const QString& text);
// Leading number of a text, always with "." as decimal point; 0 when none (or when it
// is too small for a Double), error 6 when it is too large.
double Val(const QString& s);
// True when CDbl would succeed (Empty counts as numeric, Null does not).
bool IsNumeric(const Variant& v);
// Removes leading and trailing blanks (U+0020) only.
QString Trim(const QString& s);
// The runtime's Round: half to even at the given number of decimals.
double Round(double x, int decimals = 0);

// A date value as a calendar date and time. Date values carry no time zone: the result
// is in UTC, whose date() and time() are those of the value, so that nothing is shifted
// by a local zone or looked up in the system's time-zone database.
QDateTime ToDateTime(VbDate d);
// The date value of a calendar date and time (of a QDateTime: its own date and time).
VbDate FromDateAndTime(QDate date, QTime time);
VbDate FromDateTime(const QDateTime& t);
