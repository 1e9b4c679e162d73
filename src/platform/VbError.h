#pragma once
#include <QString>
#include <cstdint>
#include <exception>

// A runtime error with a BASIC-style number and its text.
class VbError : public std::exception {
public:
    VbError(int32_t number, QString text);
    explicit VbError(int32_t number);   // text from the runtime's table of messages
    int32_t number() const { return number_; }
    const QString& text() const { return text_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int32_t number_;
    QString text_;
    std::string what_;
};

// Error numbers in use.
namespace VbErr {
constexpr int32_t InvalidCall = 5;
constexpr int32_t Overflow = 6;
constexpr int32_t OutOfMemory = 7;
constexpr int32_t Subscript = 9;
constexpr int32_t DivisionByZero = 11;
constexpr int32_t TypeMismatch = 13;
constexpr int32_t Internal = 51;          // a fault of the program itself, not of its data
constexpr int32_t BadFileName = 52;
constexpr int32_t FileNotFound = 53;
constexpr int32_t PermissionDenied = 70;
constexpr int32_t FileAccess = 75;
constexpr int32_t PathNotFound = 76;
constexpr int32_t ObjectNotSet = 91;
constexpr int32_t InvalidNull = 94;
constexpr int32_t NotAnArray = 343;
constexpr int32_t InvalidProperty = 380;
constexpr int32_t InvalidArrayIndex = 381;
constexpr int32_t ReadOnlyProperty = 383;
constexpr int32_t CannotCreateObject = 429;
constexpr int32_t NoCurrentRecord = 3021;
constexpr int32_t ItemNotFound = 3265;
constexpr int32_t ObjectClosed = 3704;
constexpr int32_t DialogCancelled = 32755;
// Database errors, numbered as the data provider numbers them.
constexpr int32_t DbUnknownColumn = -2147217904;
constexpr int32_t DbUnknownTable = -2147217865;
constexpr int32_t DbSyntax = -2147217900;
constexpr int32_t DbConversion = -2147217887;
constexpr int32_t DbGeneral = -2147467259;
}

// The runtime's text for an error number, in the program's language.
QString VbErrorText(int32_t number);
// Checked arithmetic used where the runtime raised errors: division by zero is
// error 11 (0/0 error 6, as the runtime has it), a non-finite result error 6.
double CheckedDiv(double a, double b);
double CheckedFinite(double x);
// A value stored as a Single: rounded to float, beyond the float range error 6.
float CheckedSng(double x);
// The one Single quotient of the program: CheckedDiv, stored as a Single.
float SngDiv(double a, double b);
