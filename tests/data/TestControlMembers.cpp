// Controls to columns and back, on real Qt widgets.
#include "DataFixture.h"
#include "platform/Controls.h"
#include "platform/VbError.h"
#include "support/TestHelpers.h"
#include <QButtonGroup>

namespace {

class ControlMembers : public DataTest {
protected:
    void SetUp() override { exec("CREATE TABLE TC (ID INTEGER NOT NULL, C SMALLINT, T TEXT, B BOOLEAN)"); }
    QStringList stored() { return rows("SELECT ID, C, T, B FROM TC ORDER BY rowid"); }
};

QString outcome(bool ok, const QString& state)
{
    return (ok ? QStringLiteral("ok: ") : QStringLiteral("failed: ")) + state;
}

QString entries(const QListWidget& lst)
{
    QStringList all;
    for (int i = 0; i < ListCount(lst); ++i)
        all << List(lst, i);
    return all.join(QLatin1Char(','));
}


struct WritePair {
    const char* name;
    std::function<bool(clsDATEN&, bool lettered)> write;
    QStringList stored;
};

const WritePair writePairs[] = {
    {"DFTC/DFTCV",
     [](clsDATEN& v, bool lettered) {
         QCheckBox chk;
         SetCheckValue(chk, 2);
         return lettered ? v.DFTCV("C", chk) : v.DFTC("C", chk);
     },
     {"7|2|Null|Null"}},
    {"DFTI/DFTIS",
     [](clsDATEN& v, bool lettered) {
         QListWidget lst;
         AddItem(lst, "a");
         AddItem(lst, "b");
         SetListIndex(lst, 1);
         return lettered ? v.DFTIS("T", lst) : v.DFTI("T", lst);
     },
     {"7|Null|b|Null"}},
    {"DFTL/DFTLC",
     [](clsDATEN& v, bool lettered) {
         QLabel lbl("Beschriftung");
         return lettered ? v.DFTLC("T", lbl) : v.DFTL("T", lbl);
     },
     {"7|Null|Beschriftung|Null"}},
    {"DFTM/DFTMT",
     [](clsDATEN& v, bool lettered) {
         QComboBox cbo;
         SetComboStyle(cbo, 0);
         SetComboText(cbo, "frei");
         return lettered ? v.DFTMT("T", cbo) : v.DFTM("T", cbo);
     },
     {"7|Null|frei|Null"}},
    {"DFTO/DFTOV",
     [](clsDATEN& v, bool lettered) {
         QRadioButton opt;
         SetOptionValue(opt, true);
         return lettered ? v.DFTOV("B", opt) : v.DFTO("B", opt);
     },
     {"7|Null|Null|True"}},
    {"DFTT/DFTTT",
     [](clsDATEN& v, bool lettered) {
         QLineEdit txt("Pfahl 1");
         return lettered ? v.DFTTT("T", txt) : v.DFTT("T", txt);
     },
     {"7|Null|Pfahl 1|Null"}},
};

TEST_F(ControlMembers, LetteredAndUnletteredWritesAreAlike)
{
    for (const WritePair& pair : writePairs) {
        for (bool lettered : {true, false}) {
            exec("DELETE FROM TC");
            auto v = view("TC");
            EXPECT_TRUE(pair.write(*v, lettered)) << pair.name;
            EXPECT_EQ(stored(), pair.stored) << pair.name << (lettered ? " lettered" : " unlettered");
        }
    }
    EXPECT_TRUE(boxes().empty());
}

struct ReadPair {
    const char* name;
    const char* row;
    std::function<QString(clsDATEN&, bool lettered)> read;
    QString shown;
    QString shownWithoutRow;
};

const ReadPair readPairs[] = {
    {"DTFC/DTFCV", "(7, 1, NULL, NULL)",
     [](clsDATEN& v, bool lettered) {
         QCheckBox chk;
         SetCheckValue(chk, 2);
         const bool ok = lettered ? v.DTFCV("C", chk) : v.DTFC("C", chk);
         return outcome(ok, CStr(Variant(CheckValue(chk))));
     },
     "ok: 1", "ok: 0"},
    {"DTFI/DTFIS", "(7, NULL, 'z', NULL)",
     [](clsDATEN& v, bool lettered) {
         QListWidget lst;
         AddItem(lst, "x");
         const bool ok = lettered ? v.DTFIS("T", lst) : v.DTFI("T", lst);
         return outcome(ok, entries(lst));
     },
     "ok: x,z", "ok: x,"},
    {"DTFL/DTFLC", "(7, NULL, 'Beschriftung', NULL)",
     [](clsDATEN& v, bool lettered) {
         QLabel lbl("alt");
         const bool ok = lettered ? v.DTFLC("T", lbl) : v.DTFL("T", lbl);
         return outcome(ok, lbl.text());
     },
     "ok: Beschriftung", "ok: "},
    {"DTFO/DTFOV", "(7, NULL, NULL, 1)",
     [](clsDATEN& v, bool lettered) {
         QRadioButton opt;
         QRadioButton other;
         QButtonGroup group;
         group.addButton(&opt);
         group.addButton(&other);
         const bool ok = lettered ? v.DTFOV("B", opt) : v.DTFO("B", opt);
         // Read again: True stays, a missing value switches the button off.
         const bool again = lettered ? v.DTFOV("B", opt) : v.DTFO("B", opt);
         return outcome(ok && again, OptionValue(opt) ? "on" : "off");
     },
     "ok: on", "ok: off"},
    {"DTFT/DTFTT", "(7, NULL, 'Pfahl 1', NULL)",
     [](clsDATEN& v, bool lettered) {
         QLineEdit txt("alt");
         const bool ok = lettered ? v.DTFTT("T", txt) : v.DTFT("T", txt);
         return outcome(ok, txt.text());
     },
     "ok: Pfahl 1", "ok: "},
};

// Both names read alike; a missing row and a Null column set the control from the
// empty value (cleared, unticked, switched off, an empty entry appended).
TEST_F(ControlMembers, LetteredAndUnletteredReadsAreAlike)
{
    for (const ReadPair& pair : readPairs) {
        for (bool lettered : {true, false}) {
            exec("DELETE FROM TC");
            auto v = view("TC");
            EXPECT_EQ(pair.read(*v, lettered), pair.shownWithoutRow) << pair.name << " without row";
            exec("INSERT INTO TC (ID) VALUES (7)");
            EXPECT_EQ(pair.read(*v, lettered), pair.shownWithoutRow) << pair.name << " Null";
            exec("DELETE FROM TC");
            exec(QStringLiteral("INSERT INTO TC (ID, C, T, B) VALUES ") + pair.row);
            EXPECT_EQ(pair.read(*v, lettered), pair.shown) << pair.name;
        }
    }
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ControlMembers, DesignationRoundTrip)
{
    auto v = view("E1");
    QLineEdit txtKEN("Pfahl 1");
    ASSERT_TRUE(v->DFTTT("KEN", txtKEN));
    QLineEdit shown("alt");
    ASSERT_TRUE(v->DTFTT("KEN", shown));
    EXPECT_EQ(shown.text(), QStringLiteral("Pfahl 1"));

    QLineEdit empty;
    ASSERT_TRUE(v->DFTTT("KEN", empty));
    EXPECT_EQ(rows("SELECT ID, KEN FROM E1"), QStringList{"7|Null"});
    ASSERT_TRUE(v->DTFTT("KEN", shown));
    EXPECT_EQ(shown.text(), QString());

    auto other = view("E1", 8);
    shown.setText("alt");
    EXPECT_TRUE(other->DTFTT("KEN", shown));
    EXPECT_EQ(shown.text(), QString());
}

// A level typed with the decimal comma is stored as the number and shown the same way.
TEST_F(ControlMembers, DecimalCommaInATextBox)
{
    auto v = view("E2");
    QLineEdit txtZGWLS("1,5");
    ASSERT_TRUE(v->DFTTT("ZGWLS", txtZGWLS));
    float z = 0;
    ASSERT_TRUE(v->DTVS("ZGWLS", z));
    EXPECT_EQ(z, 1.5f);
    QLineEdit shown;
    ASSERT_TRUE(v->DTFTT("ZGWLS", shown));
    EXPECT_EQ(shown.text(), QStringLiteral("1,5"));
}

TEST_F(ControlMembers, FailuresShowTheDataErrorBox)
{
    auto v = view("E1");
    QLineEdit txt("Pfahl 1");
    answer({MsgResult::OK, MsgResult::OK});
    EXPECT_FALSE(v->DFTTT("XYZ", txt));
    auto missing = view("E9");
    EXPECT_FALSE(missing->DTFTT("KEN", txt));
    EXPECT_EQ(txt.text(), QStringLiteral("Pfahl 1"));
    ASSERT_EQ(boxes().size(), 2u);
    ExpectDataError(boxes()[0], "Wert Pfahl 1 kann nicht in die Spalte XYZ der Tabelle E1 gespeichert werden!");
    ExpectDataError(boxes()[1], "Wert  kann nicht aus der Spalte KEN der Tabelle E9 eingelesen werden!");
}

TEST_F(ControlMembers, ListIndexAndEntries)
{
    auto v = view("TC");
    QListWidget lst;
    QComboBox cbo;
    for (const char* entry : {"a", "b", "c"}) {
        AddItem(lst, entry);
        AddItem(cbo, entry);
    }
    SetListIndex(lst, 2);
    ASSERT_TRUE(v->DFTIL("C", lst));
    EXPECT_EQ(stored(), QStringList{"7|2|Null|Null"});
    SetListIndex(cbo, -1);
    ASSERT_TRUE(v->DFTML("C", cbo));
    EXPECT_EQ(stored(), QStringList{"7|-1|Null|Null"});
    // Nothing selected: the list entry is empty and stored as Null.
    SetListIndex(cbo, 1);
    ASSERT_TRUE(v->DFTMS("T", cbo));
    EXPECT_EQ(stored(), QStringList{"7|-1|b|Null"});
    SetListIndex(cbo, -1);
    ASSERT_TRUE(v->DFTMS("T", cbo));
    EXPECT_EQ(stored(), QStringList{"7|-1|Null|Null"});
    SetListIndex(lst, 0);
    ASSERT_TRUE(v->DFTI("T", lst));
    EXPECT_EQ(stored(), QStringList{"7|-1|a|Null"});
    SetListIndex(lst, -1);
    ASSERT_TRUE(v->DFTI("T", lst));
    EXPECT_EQ(stored(), QStringList{"7|-1|Null|Null"});
    SetListIndex(cbo, 1);

    exec("UPDATE TC SET C = 1");
    ASSERT_TRUE(v->DTFIL("C", lst));
    ASSERT_TRUE(v->DTFML("C", cbo));
    EXPECT_EQ(ListIndex(lst), 1);
    EXPECT_EQ(ListIndex(cbo), 1);
    // An empty list takes no index; an index beyond the last entry is refused.
    QListWidget none;
    EXPECT_TRUE(v->DTFIL("C", none));
    EXPECT_EQ(ListIndex(none), -1);
    exec("UPDATE TC SET C = 3");
    EXPECT_EQ(VbErrorOf([&] { v->DTFIL("C", lst); }), VbErr::InvalidProperty);
    EXPECT_EQ(VbErrorOf([&] { v->DTFML("C", cbo); }), VbErr::InvalidProperty);
    // A missing value selects entry 0.
    exec("UPDATE TC SET C = NULL");
    EXPECT_TRUE(v->DTFML("C", cbo));
    EXPECT_EQ(ListIndex(cbo), 0);

    ASSERT_TRUE(v->DTFMS("T", cbo));   // Null: an empty entry
    exec("UPDATE TC SET T = 'b'");
    ASSERT_TRUE(v->DTFMS("T", cbo));
    EXPECT_EQ(List(cbo, 3), QString());
    EXPECT_EQ(List(cbo, 4), QStringLiteral("b"));
}

TEST_F(ControlMembers, ComboTextAndDropDownList)
{
    exec("INSERT INTO TC (ID, T) VALUES (7, 'b')");
    auto v = view("TC");
    QComboBox list;   // drop-down list
    for (const char* entry : {"a", "B", "b"})
        AddItem(list, entry);
    SetListIndex(list, 0);
    EXPECT_TRUE(v->DTFMT("T", list));
    EXPECT_EQ(ListIndex(list), 2) << "letter case counts";
    exec("UPDATE TC SET T = 'x'");
    EXPECT_TRUE(v->DTFMT("T", list));
    EXPECT_EQ(ListIndex(list), 2) << "no equal entry: selection kept";
    EXPECT_EQ(VbErrorOf([&] { v->DTFM("T", list); }), VbErr::ReadOnlyProperty);

    QComboBox editable;
    SetComboStyle(editable, 0);
    AddItem(editable, "a");
    EXPECT_TRUE(v->DTFMT("T", editable));
    EXPECT_EQ(ComboText(editable), QStringLiteral("x"));
    exec("UPDATE TC SET T = 'y'");
    EXPECT_TRUE(v->DTFM("T", editable));
    EXPECT_EQ(ComboText(editable), QStringLiteral("y"));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(ControlMembers, WholeListIntoAComboBox)
{
    exec("INSERT INTO TC (ID, C, T) VALUES (7, 0, 'a'), (7, 1, NULL), (7, 2, 'c'), (8, 0, 'z')");
    auto v = view("TC");
    QComboBox cbo;
    AddItem(cbo, "vorher");
    EXPECT_TRUE(v->DTFMM("T", cbo, "C"));
    EXPECT_TRUE(v->DTFMM("T", cbo, "C"));
    QStringList all;
    for (int i = 0; i < ListCount(cbo); ++i)
        all << List(cbo, i);
    EXPECT_EQ(all, QStringList({"vorher", "a", "c", "a", "c"}));

    QComboBox nulls;
    EXPECT_TRUE(v->DTFMM("B", nulls, "C"));
    EXPECT_EQ(ListCount(nulls), 0);
    EXPECT_TRUE(boxes().empty());
}

// A failing list read shows its message; OK runs to the end without a chain of
// boxes, Cancel ends with False.
TEST_F(ControlMembers, FailingWholeListEnds)
{
    auto v = view("T9");
    QComboBox cbo;
    p.dialogs().msgAnswers.assign(5, MsgResult::OK);
    EXPECT_TRUE(v->DTFMM("X", cbo));
    ASSERT_EQ(boxes().size(), 5u);
    const MsgBoxRequest box = boxes()[0];
    EXPECT_EQ(box.text, QStringLiteral("Werte der Spalte X der Tabelle T9 eingelesen werden!"));
    EXPECT_EQ(box.title, QStringLiteral("Datenfehler"));
    EXPECT_EQ(box.buttons, MsgButtons::OKCancel);
    EXPECT_EQ(box.icon, MsgIcon::Exclamation);

    p.dialogs().shown.clear();
    answer({MsgResult::Cancel});
    EXPECT_FALSE(v->DTFMM("X", cbo));
    EXPECT_EQ(boxes().size(), 1u);
    EXPECT_EQ(ListCount(cbo), 0);
}

TEST_F(ControlMembers, CaptionsAndLabelIndex)
{
    auto v = view("TC");
    QCheckBox chk("Haken");
    ASSERT_TRUE(v->DFTCC("T", chk));
    QRadioButton opt;
    ASSERT_TRUE(v->DTFOC("T", opt));
    EXPECT_EQ(opt.text(), QStringLiteral("Haken"));
    ASSERT_TRUE(v->DFTOC("T", opt));
    ASSERT_TRUE(v->DTFCC("T", chk));
    EXPECT_EQ(chk.text(), QStringLiteral("Haken"));

    QLabel single;
    EXPECT_EQ(VbErrorOf([&] { v->DFTLI("C", single); }), 343);
    QLabel inArray;
    SetLabelIndex(inArray, 3);
    ASSERT_TRUE(v->DFTLI("C", inArray));
    EXPECT_EQ(stored(), QStringList{"7|3|Haken|Null"});
    // A check box takes 0, 1 or 2 only.
    QCheckBox box;
    EXPECT_EQ(VbErrorOf([&] { v->DTFC("C", box); }), VbErr::InvalidProperty);
}

TEST(Controls, ListsAndProperties)
{
    QListWidget lst;
    AddItem(lst, "b");
    AddItem(lst, "a");
    EXPECT_EQ(List(lst, 0), QStringLiteral("b")) << "no sorting";
    EXPECT_EQ(List(lst, -1), QString());
    EXPECT_EQ(VbErrorOf([&] { List(lst, 2); }), 381);
    SetItemData(lst, 1, 42);
    EXPECT_EQ(ItemData(lst, 1), 42);
    SetListIndex(lst, 1);
    SetListIndex(lst, -1);
    EXPECT_EQ(ListIndex(lst), -1);
    EXPECT_EQ(VbErrorOf([&] { SetListIndex(lst, -2); }), VbErr::InvalidProperty);

    QComboBox cbo;
    EXPECT_EQ(ComboStyle(cbo), 2);
    EXPECT_EQ(VbErrorOf([&] { SetComboText(cbo, "x"); }), VbErr::ReadOnlyProperty);
    AddItem(cbo, "x");
    SetItemData(cbo, 0, -7);
    EXPECT_EQ(ItemData(cbo, 0), -7);
    EXPECT_EQ(ComboText(cbo), QStringLiteral("x"));

    QCheckBox chk;
    for (int value : {0, 1, 2}) {
        SetCheckValue(chk, value);
        EXPECT_EQ(CheckValue(chk), value);
    }
    EXPECT_EQ(VbErrorOf([&] { SetCheckValue(chk, 3); }), VbErr::InvalidProperty);

    QRadioButton a, b;
    QButtonGroup group;
    group.addButton(&a);
    group.addButton(&b);
    SetOptionValue(a, true);
    SetOptionValue(b, true);
    EXPECT_FALSE(OptionValue(a));
    SetOptionValue(b, false);
    EXPECT_FALSE(OptionValue(b));

    QLineEdit txt;
    SetTag(txt, "merk");
    EXPECT_EQ(Tag(txt), QStringLiteral("merk"));
}

} // namespace
