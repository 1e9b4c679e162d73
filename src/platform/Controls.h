#pragma once
// The intrinsic controls of the program's forms are plain Qt widgets; these functions
// give them the properties the program uses, with the runtime's errors for values a
// control refuses (380 invalid property value, 381 invalid list index, 383 read-only).
#include "Variant.h"
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <optional>

using TextBox = QLineEdit;
using Label = QLabel;
using CheckBox = QCheckBox;        // tristate: Value 0 unticked, 1 ticked, 2 greyed
using ListBox = QListWidget;       // unsorted; ItemData in Qt::UserRole
using ComboBox = QComboBox;        // Style 2 (drop-down list) when not editable
using OptionButton = QRadioButton;

// CheckBox Value: 0, 1 or 2; setting any other value is error 380.
int16_t CheckValue(const QCheckBox& chk);
void SetCheckValue(QCheckBox& chk, int value);

// OptionButton Value; False unticks it even when it is the checked one of its group.
bool OptionValue(const QRadioButton& opt);
void SetOptionValue(QRadioButton& opt, bool value);

// The index of a label within its control array; reading it on a label that belongs
// to none is error 343.
int16_t LabelIndex(const QLabel& lbl);
void SetLabelIndex(QLabel& lbl, int16_t index);

// Tag: a free text every control carries.
QString Tag(const QWidget& w);
void SetTag(QWidget& w, const QString& tag);

// List boxes and combo boxes: ListIndex -1 selects nothing; setting an index outside
// -1..ListCount-1 is error 380. List(-1) is ""; any other index outside the list is 381.
int ListIndex(const QListWidget& lst);
int ListIndex(const QComboBox& cbo);
void SetListIndex(QListWidget& lst, int index);
void SetListIndex(QComboBox& cbo, int index);
int ListCount(const QListWidget& lst);
int ListCount(const QComboBox& cbo);
QString List(const QListWidget& lst, int index);
QString List(const QComboBox& cbo, int index);
void AddItem(QListWidget& lst, const QString& item);
void AddItem(QComboBox& cbo, const QString& item);
int32_t ItemData(const QListWidget& lst, int index);
int32_t ItemData(const QComboBox& cbo, int index);
void SetItemData(QListWidget& lst, int index, int32_t data);
void SetItemData(QComboBox& cbo, int index, int32_t data);

// ComboBox Style: 0 drop-down combo (editable text), 2 drop-down list.
int ComboStyle(const QComboBox& cbo);
void SetComboStyle(QComboBox& cbo, int style);
// ComboBox Text: the edit text, or the selected entry of a drop-down list, whose Text
// cannot be set (error 383).
QString ComboText(const QComboBox& cbo);
void SetComboText(QComboBox& cbo, const QString& text);

// TextBox: the value it was filled with from a table, kept as long as the box shows
// the text it showed then: a save writes that value back as it was, where the box shows
// it cut to its length or rounded. Setting it ties it to the box's text of the moment.
void SetLoadedValue(QLineEdit& txt, const Variant& value);
std::optional<Variant> LoadedValue(const QLineEdit& txt);

// The width a window needs to show its whole title in a title bar: the title in the
// desktop's font made bold, with room for the bar's icon and buttons.
int TitleBarWidth(const QString& title);
// A window of a fixed size narrower than its title needs grows to that width, its
// controls kept in the middle.
void WidenForTitle(QWidget& window);
