#pragma once
// The dynamic value that the grid table's list properties take: empty, one value, the
// error value that stands for an element left out of a list, or an array of dynamic
// values indexed from 0. The grid table tells these forms apart (a 16-bit Integer
// from a Long, an array by its upper bound, a left-out element from an empty one).
#include "platform/Variant.h"
#include <QString>
#include <initializer_list>
#include <vector>

class Dynamic {
public:
    Dynamic() = default;   // empty
    Dynamic(const Variant& value) : value_(value) {}
    Dynamic(const char* text) : value_(Variant(text)) {}
    // The error value of a left-out element.
    static Dynamic Missing();
    static Dynamic Array(std::vector<Dynamic> elements);
    // Arrays of 16-bit Integers, Singles or texts, as a list written in the code gives them.
    static Dynamic Integers(std::initializer_list<int> values);
    static Dynamic Singles(std::initializer_list<float> values);
    static Dynamic Texts(std::initializer_list<QString> values);

    bool isEmpty() const { return kind_ == Kind::Value && value_.isEmpty(); }
    bool isMissing() const { return kind_ == Kind::Missing; }
    bool isArray() const { return kind_ == Kind::Array; }
    // The value; error 13 for an array or a left-out element.
    const Variant& value() const;
    // The value as text, "" when empty; error 13 for an array or a left-out element.
    QString text() const;

    // Arrays: the upper bound (-1 for an array without elements) and element i, which
    // must exist (error 9); error 13 for anything that is no array.
    int UBound() const;
    const Dynamic& operator[](int i) const;
    Dynamic& operator[](int i);

private:
    enum class Kind { Value, Missing, Array };
    Kind kind_ = Kind::Value;
    Variant value_;
    std::vector<Dynamic> elements_;
};
