#include "VbError.h"

#include "Locale.h"

#include <cfloat>
#include <cmath>
#include <map>

namespace {
struct ErrorTexts {
    const char* english;
    const char* german;
};

const std::map<int32_t, ErrorTexts>& errorTable()
{
    static const std::map<int32_t, ErrorTexts> table = {
        {VbErr::InvalidCall, {"Invalid procedure call or argument",
                              "Unzulässiger Prozeduraufruf oder unzulässiges Argument"}},
        {VbErr::Overflow, {"Overflow", "Überlauf"}},
        {VbErr::OutOfMemory, {"Out of memory", "Nicht genügend Speicher"}},
        {VbErr::Subscript, {"Subscript out of range", "Index außerhalb des gültigen Bereichs"}},
        {VbErr::DivisionByZero, {"Division by zero", "Division durch Null"}},
        {VbErr::TypeMismatch, {"Type mismatch", "Typen unverträglich"}},
        {VbErr::Internal, {"Internal error", "Interner Fehler"}},
        {VbErr::BadFileName, {"Bad file name or number", "Dateiname oder -nummer falsch"}},
        {VbErr::FileNotFound, {"File not found", "Datei nicht gefunden"}},
        {VbErr::PermissionDenied, {"Permission denied", "Zugriff verweigert"}},
        {VbErr::FileAccess, {"Path/File access error", "Fehler beim Zugriff auf Pfad/Datei"}},
        {VbErr::PathNotFound, {"Path not found", "Pfad nicht gefunden"}},
        {VbErr::ObjectNotSet, {"Object variable or With block variable not set",
                               "Objektvariable oder With-Blockvariable nicht festgelegt"}},
        {VbErr::InvalidNull, {"Invalid use of Null", "Unzulässige Verwendung von Null"}},
        {VbErr::NotAnArray, {"Object not an array", "Objekt ist kein Datenfeld"}},
        {VbErr::InvalidProperty, {"Invalid property value", "Unzulässiger Eigenschaftswert"}},
        {VbErr::InvalidArrayIndex, {"Invalid property array index", "Unzulässiger Index für Eigenschaftenfeld"}},
        {VbErr::ReadOnlyProperty, {"Property is read-only", "Eigenschaft ist schreibgeschützt"}},
        {VbErr::CannotCreateObject, {"ActiveX component can't create object",
                                     "Objekterstellung durch ActiveX-Komponente nicht möglich"}},
        {VbErr::NoCurrentRecord,
         {"Either BOF or EOF is True, or the current record has been deleted. "
          "Requested operation requires a current record.",
          "Entweder BOF oder EOF ist True, oder der aktuelle Datensatz wurde gelöscht. "
          "Der angeforderte Vorgang erfordert einen aktuellen Datensatz."}},
        {VbErr::ItemNotFound,
         {"Item cannot be found in the collection corresponding to the requested name or ordinal.",
          "Das Objekt wurde in der Auflistung, die dem angeforderten Namen bzw. dem "
          "angeforderten Ordinalwert entspricht, nicht gefunden."}},
        {VbErr::ObjectClosed, {"Operation is not allowed when the object is closed.",
                               "Der Vorgang ist für ein geschlossenes Objekt nicht zulässig."}},
        {VbErr::DialogCancelled, {"Cancel was selected.", "Abbrechen wurde gewählt."}},
        {VbErr::DbUnknownColumn, {"Unknown column name.", "Unbekannter Spaltenname."}},
        {VbErr::DbUnknownTable, {"Unknown table name.", "Unbekannter Tabellenname."}},
        {VbErr::DbSyntax, {"Syntax error in SQL statement.", "Syntaxfehler in der SQL-Anweisung."}},
        {VbErr::DbConversion, {"Value cannot be converted to the column's type.",
                               "Der Wert kann nicht in den Typ der Spalte umgewandelt werden."}},
        {VbErr::DbGeneral, {"Unspecified database error.", "Nicht näher bezeichneter Datenbankfehler."}},
    };
    return table;
}

std::string whatOf(int32_t number, const QString& text)
{
    return (QString::number(number) + QLatin1String(": ") + text).toStdString();
}
}

VbError::VbError(int32_t number, QString text)
    : number_(number), text_(std::move(text)), what_(whatOf(number_, text_))
{
}

VbError::VbError(int32_t number) : VbError(number, VbErrorText(number)) {}

QString VbErrorText(int32_t number)
{
    const auto& table = errorTable();
    const auto it = table.find(number);
    if (it == table.end())
        return ProgramText("Application-defined or object-defined error", "Anwendungs- oder objektdefinierter Fehler");
    return ProgramText(it->second.english, it->second.german);
}

double CheckedDiv(double a, double b)
{
    // As the runtime: 0/0 overflows, any other division by zero is error 11.
    if (b == 0.0)
        throw VbError(a == 0.0 ? VbErr::Overflow : VbErr::DivisionByZero);
    return CheckedFinite(a / b);
}

float CheckedSng(double x)
{
    // Checked before converting: a double beyond the float range has no float value.
    if (!std::isfinite(x) || std::fabs(x) > FLT_MAX)
        throw VbError(VbErr::Overflow);
    return float(x);
}

float SngDiv(double a, double b)
{
    return CheckedSng(CheckedDiv(a, b));
}

double CheckedFinite(double x)
{
    if (!std::isfinite(x))
        throw VbError(VbErr::Overflow);
    return x;
}
