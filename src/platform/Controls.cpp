#include "Controls.h"
#include "VbError.h"
#include <QApplication>
#include <QFontMetrics>

#include <QButtonGroup>

namespace {

const char* const IndexProperty = "Index";
const char* const TagProperty = "Tag";

void requireListIndex(int index, int count)
{
    if (index < -1 || index >= count)
        throw VbError(VbErr::InvalidProperty);
}

void requireEntry(int index, int count)
{
    if (index < 0 || index >= count)
        throw VbError(VbErr::InvalidArrayIndex);
}

// The entry at index: "" for -1 (nothing selected), error 381 outside the list.
template <class Entry>
QString entryAt(int index, int count, Entry entry)
{
    if (index == -1)
        return {};
    requireEntry(index, count);
    return entry(index);
}

// What a box was filled with, and the text it showed then.
class LoadedValueHolder : public QObject {
public:
    LoadedValueHolder(QLineEdit& txt, const Variant& value) : QObject(&txt), shown(txt.text()), value(value) {}
    const QString shown;
    const Variant value;
};

LoadedValueHolder* loadedValueOf(const QLineEdit& txt)
{
    for (QObject* child : txt.children())
        if (auto* loaded = dynamic_cast<LoadedValueHolder*>(child))
            return loaded;
    return nullptr;
}

} // namespace

int16_t CheckValue(const QCheckBox& chk)
{
    switch (chk.checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

void SetCheckValue(QCheckBox& chk, int value)
{
    static const Qt::CheckState states[] = {Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked};
    if (value < 0 || value > 2)
        throw VbError(VbErr::InvalidProperty);
    chk.setTristate(true);
    chk.setCheckState(states[value]);
}

bool OptionValue(const QRadioButton& opt)
{
    return opt.isChecked();
}

void SetOptionValue(QRadioButton& opt, bool value)
{
    if (value) {
        opt.setChecked(true);   // the others of its group go off
        return;
    }
    // Qt keeps the checked button of an exclusive group checked; an option button
    // can be switched off by its program.
    QButtonGroup* group = opt.group();
    const bool groupExclusive = group && group->exclusive();
    const bool autoExclusive = opt.autoExclusive();
    if (groupExclusive)
        group->setExclusive(false);
    opt.setAutoExclusive(false);
    opt.setChecked(false);
    opt.setAutoExclusive(autoExclusive);
    if (groupExclusive)
        group->setExclusive(true);
}

int16_t LabelIndex(const QLabel& lbl)
{
    const QVariant index = lbl.property(IndexProperty);
    if (!index.isValid())
        throw VbError(VbErr::NotAnArray);
    return int16_t(index.toInt());
}

void SetLabelIndex(QLabel& lbl, int16_t index)
{
    lbl.setProperty(IndexProperty, int(index));
}

QString Tag(const QWidget& w)
{
    return w.property(TagProperty).toString();
}

void SetTag(QWidget& w, const QString& tag)
{
    w.setProperty(TagProperty, tag);
}

int ListIndex(const QListWidget& lst)
{
    return lst.currentRow();
}

int ListIndex(const QComboBox& cbo)
{
    return cbo.currentIndex();
}

void SetListIndex(QListWidget& lst, int index)
{
    requireListIndex(index, lst.count());
    lst.setCurrentRow(index);
}

void SetListIndex(QComboBox& cbo, int index)
{
    requireListIndex(index, cbo.count());
    cbo.setCurrentIndex(index);
}

int ListCount(const QListWidget& lst)
{
    return lst.count();
}

int ListCount(const QComboBox& cbo)
{
    return cbo.count();
}

QString List(const QListWidget& lst, int index)
{
    return entryAt(index, lst.count(), [&](int i) { return lst.item(i)->text(); });
}

QString List(const QComboBox& cbo, int index)
{
    return entryAt(index, cbo.count(), [&](int i) { return cbo.itemText(i); });
}

void AddItem(QListWidget& lst, const QString& item)
{
    lst.addItem(item);
}

void AddItem(QComboBox& cbo, const QString& item)
{
    cbo.addItem(item);
}

int32_t ItemData(const QListWidget& lst, int index)
{
    requireEntry(index, lst.count());
    return lst.item(index)->data(Qt::UserRole).toInt();
}

int32_t ItemData(const QComboBox& cbo, int index)
{
    requireEntry(index, cbo.count());
    return cbo.itemData(index, Qt::UserRole).toInt();
}

void SetItemData(QListWidget& lst, int index, int32_t data)
{
    requireEntry(index, lst.count());
    lst.item(index)->setData(Qt::UserRole, data);
}

void SetItemData(QComboBox& cbo, int index, int32_t data)
{
    requireEntry(index, cbo.count());
    cbo.setItemData(index, data, Qt::UserRole);
}

int ComboStyle(const QComboBox& cbo)
{
    return cbo.isEditable() ? 0 : 2;
}

void SetComboStyle(QComboBox& cbo, int style)
{
    cbo.setEditable(style != 2);
}

QString ComboText(const QComboBox& cbo)
{
    return cbo.currentText();
}

void SetComboText(QComboBox& cbo, const QString& text)
{
    if (!cbo.isEditable())
        throw VbError(VbErr::ReadOnlyProperty);
    cbo.setEditText(text);
}

int TitleBarWidth(const QString& title)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    return metrics.horizontalAdvance(title) + 8 * metrics.height();
}

void WidenForTitle(QWidget& window)
{
    const int wider = TitleBarWidth(window.windowTitle()) - window.width();
    if (wider <= 0)
        return;
    for (QWidget* child : window.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        child->move(child->x() + wider / 2, child->y());
    window.setFixedWidth(window.width() + wider);
}

void SetLoadedValue(QLineEdit& txt, const Variant& value)
{
    delete loadedValueOf(txt);
    new LoadedValueHolder(txt, value);
}

std::optional<Variant> LoadedValue(const QLineEdit& txt)
{
    const LoadedValueHolder* loaded = loadedValueOf(txt);
    if (!loaded || loaded->shown != txt.text())
        return std::nullopt;
    return loaded->value;
}
