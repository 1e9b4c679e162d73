#pragma once
// The institution behind the program: nine lines for the start window and the
// about box. Name, parent institution and postal line follow the language code
// read at each call (1 English, 3 German, any other value the empty text).
#include <QString>
#include <functional>

class clsADRESSE {
public:
    explicit clsADRESSE(std::function<int()> sprache) : sprache_(std::move(sprache)) {}
    QString FIRMA1() const;
    QString FIRMA2() const;
    QString PLZ() const;
    QString STR() const;
    QString VORSITZ() const;
    QString TEL() const;
    QString FAX() const;
    QString EMAIL() const;
    QString URL() const;

private:
    QString ByLanguage(const char* english, const char* german) const;
    std::function<int()> sprache_;
};
