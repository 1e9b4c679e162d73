#include "Dynamic.h"

#include "platform/VbError.h"

Dynamic Dynamic::Missing()
{
    Dynamic d;
    d.kind_ = Kind::Missing;
    return d;
}

Dynamic Dynamic::Array(std::vector<Dynamic> elements)
{
    Dynamic d;
    d.kind_ = Kind::Array;
    d.elements_ = std::move(elements);
    return d;
}

Dynamic Dynamic::Integers(std::initializer_list<int> values)
{
    std::vector<Dynamic> elements;
    for (int v : values)
        elements.emplace_back(Variant(int16_t(v)));
    return Array(std::move(elements));
}

Dynamic Dynamic::Singles(std::initializer_list<float> values)
{
    std::vector<Dynamic> elements;
    for (float v : values)
        elements.emplace_back(Variant(v));
    return Array(std::move(elements));
}

Dynamic Dynamic::Texts(std::initializer_list<QString> values)
{
    std::vector<Dynamic> elements;
    for (const QString& v : values)
        elements.emplace_back(Variant(v));
    return Array(std::move(elements));
}

const Variant& Dynamic::value() const
{
    if (kind_ != Kind::Value)
        throw VbError(VbErr::TypeMismatch);
    return value_;
}

QString Dynamic::text() const
{
    return value().isEmpty() ? QString() : CStr(value());
}

int Dynamic::UBound() const
{
    if (kind_ != Kind::Array)
        throw VbError(VbErr::TypeMismatch);
    return int(elements_.size()) - 1;
}

const Dynamic& Dynamic::operator[](int i) const
{
    if (i < 0 || i > UBound())
        throw VbError(VbErr::Subscript);
    return elements_[size_t(i)];
}

Dynamic& Dynamic::operator[](int i)
{
    if (i < 0 || i > UBound())
        throw VbError(VbErr::Subscript);
    return elements_[size_t(i)];
}
