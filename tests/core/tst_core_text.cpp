// SPDX-License-Identifier: MIT
// The string builder, list-field reading, name mapping and the elapsed time.
#include "core/Clock.h"
#include "core/ListFile.h"
#include "core/Names.h"
#include "core/StringConcat.h"

#include <QStringDecoder>
#include <QTest>

#include <memory>

using namespace tobx;

class CoreTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void stringConcatStartsEmpty();
    void stringConcatGrowth_data();
    void stringConcatGrowth();
    void stringConcatReuseKeepsRoom();
    void stringConcatKeepsZeroBytes();

    void listFields_data();
    void listFields();
    void skipRestOfLine();

    void nameMapping_data();
    void nameMapping();
    void everyCodePageByteRoundTrips();
    void everyByteReadsAsTheCodePage();

    void safeNames_data();
    void safeNames();
    void unsafeNameReasons_data();
    void unsafeNameReasons();
    void namesForMessages_data();
    void namesForMessages();
    void namesForLists_data();
    void namesForLists();

    void elapsed_data();
    void elapsed();
};

void CoreTextTest::stringConcatStartsEmpty()
{
    StringConcat s;
    QCOMPARE(s.GetStr(), QByteArray());
    QCOMPARE(s.lngAllocated, 0);
    QCOMPARE(s.lngUsed, 0);
    QCOMPARE(s.lngAllocSize, 1000);
    s.Add("");
    QCOMPARE(s.lngAllocated, 0);
}

void CoreTextTest::stringConcatGrowth_data()
{
    // Pieces added one after another to a builder with step 100, and the room
    // reserved after each.
    QTest::addColumn<QList<int>>("pieces");
    QTest::addColumn<QList<int>>("allocated");
    QTest::newRow("worked example") << QList<int>{1, 250, 49} << QList<int>{100, 300, 300};
    QTest::newRow("exactly one step reserves two") << QList<int>{100} << QList<int>{200};
    QTest::newRow("filling the room exactly") << QList<int>{99, 1} << QList<int>{100, 100};
    QTest::newRow("one past the room") << QList<int>{100, 101} << QList<int>{200, 300};
    QTest::newRow("many small pieces") << QList<int>{60, 60, 60} << QList<int>{100, 200, 200};
}

void CoreTextTest::stringConcatGrowth()
{
    QFETCH(QList<int>, pieces);
    QFETCH(QList<int>, allocated);
    StringConcat s;
    s.lngAllocSize = 100;
    QByteArray expected;
    for (int i = 0; i < pieces.size(); ++i) {
        const QByteArray piece(pieces[i], char('a' + i));
        s.Add(piece);
        expected += piece;
        QCOMPARE(s.lngAllocated, allocated[i]);
    }
    QCOMPARE(s.lngUsed, expected.size());
    QCOMPARE(s.GetStr(), expected);
}

void CoreTextTest::stringConcatReuseKeepsRoom()
{
    StringConcat s;
    s.Add("abc");
    const qint32 room = s.lngAllocated;
    s.lngUsed = 0;
    s.Add("x");
    QCOMPARE(s.GetStr(), QByteArray("x"));
    QCOMPARE(s.lngAllocated, room);
}

void CoreTextTest::stringConcatKeepsZeroBytes()
{
    StringConcat s;
    s.Add(QByteArray("a\0b", 3));
    s.Add(QByteArray(1, '\0'));
    QCOMPARE(s.GetStr(), QByteArray("a\0b\0", 4));
}

void CoreTextTest::listFields_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<QByteArray>>("fields");
    using L = QList<QByteArray>;
    QTest::newRow("extraction layout") << QByteArray("data.tob\r\n\r\na\\b.txt\r\n") << L{"data.tob", "", "a\\b.txt"};
    QTest::newRow("comma splits") << QByteArray("a,b\r\n") << L{"a", "b"};
    QTest::newRow("leading blanks skipped, trailing kept") << QByteArray("  a , \tb\r\n") << L{"a ", "b"};
    QTest::newRow("no final line break") << QByteArray("a\r\nb") << L{"a", "b"};
    QTest::newRow("bare LF and CR") << QByteArray("a\nb\rc") << L{"a", "b", "c"};
    QTest::newRow("comma at line end") << QByteArray("a,\r\nb\r\n") << L{"a", "", "b"};
    QTest::newRow("comma at text end") << QByteArray("a,") << L{"a", ""};
    QTest::newRow("quotes are plain") << QByteArray("\"a b\"\r\n") << L{"\"a b\""};
    QTest::newRow("empty text") << QByteArray() << L{};
    QTest::newRow("bytes above 127 kept") << QByteArray("\xE9\x81\r\n") << L{"\xE9\x81"};
}

void CoreTextTest::listFields()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<QByteArray>, fields);
    ListFieldReader reader(text);
    QList<QByteArray> read;
    QByteArray field;
    while (reader.next(field))
        read.append(field);
    QCOMPARE(read, fields);
    QCOMPARE(FirstListField(text), fields.value(0));

    // Read in place, the fields are the same, and the reader's own copy of
    // the text keeps them valid after the caller's text is gone.
    auto owned = std::make_unique<QByteArray>(text);
    ListFieldReader inPlace(*owned);
    owned.reset();
    QList<QByteArray> viewed;
    QByteArrayView view;
    while (inPlace.next(view))
        viewed.append(view.toByteArray());
    QCOMPARE(viewed, fields);
}

void CoreTextTest::skipRestOfLine()
{
    ListFieldReader reader(QByteArray("rc.idx,junk,more\r\n-, 0\r\n"));
    QByteArray field;
    QVERIFY(reader.next(field));
    QCOMPARE(field, QByteArray("rc.idx"));
    reader.skipRestOfLine();
    QVERIFY(reader.next(field));
    QCOMPARE(field, QByteArray("-"));
    QVERIFY(reader.next(field));
    QCOMPARE(field, QByteArray("0"));
    QVERIFY(!reader.next(field));
}

void CoreTextTest::nameMapping_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("path");
    QTest::newRow("backslashes") << QByteArray("x\\y\\z.dat") << "x/y/z.dat";
    QTest::newRow("slash separates too") << QByteArray("x/y.dat") << "x/y.dat";
    QTest::newRow("latin letters") << QByteArray("caf\xE9.txt") << QString::fromUtf8("café.txt");
    QTest::newRow("euro sign") << QByteArray("\x80.txt") << QString::fromUtf8("€.txt");
}

void CoreTextTest::nameMapping()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, path);
    QCOMPARE(NameToPath(name), path);
    QByteArray back = PathToName(path);
    back.replace('/', '\\');
    QByteArray expected = name;
    expected.replace('/', '\\');
    QCOMPARE(back, expected);
}

void CoreTextTest::everyCodePageByteRoundTrips()
{
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(char(b));
    QCOMPARE(PathToName(NameToText(all)), all);
}

// Plain ASCII names take a shorter way than the others; alone or in a name
// with a byte above 0x7F, every byte must read as the code page has it.
void CoreTextTest::everyByteReadsAsTheCodePage()
{
    QStringDecoder codePage("windows-1252", QStringConverter::Flag::Stateless);
    for (int b = 0; b < 256; ++b) {
        const QByteArray alone(1, char(b));
        const QByteArray mixed = "x" + alone + "\xe9";
        QCOMPARE(NameToText(alone), QString(codePage.decode(alone)));
        QCOMPARE(NameToText(mixed), QString(codePage.decode(mixed)));
    }
    QCOMPARE(NameToText("A\\b.txt"), QStringLiteral("A\\b.txt"));
    QCOMPARE(NameToText("\x80\xe9"), QStringLiteral("\u20ac\u00e9"));
}

void CoreTextTest::safeNames_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("safe");
    QTest::newRow("plain") << QByteArray("a.txt") << true;
    QTest::newRow("nested") << QByteArray("sub\\deeper\\f.bin") << true;
    QTest::newRow("dots inside a name") << QByteArray("a..b\\c.") << true;
    QTest::newRow("empty") << QByteArray() << false;
    QTest::newRow("parent level") << QByteArray("..\\evil.txt") << false;
    QTest::newRow("parent level inside") << QByteArray("a\\..\\..\\evil.txt") << false;
    QTest::newRow("parent level with slash") << QByteArray("a/../../evil.txt") << false;
    QTest::newRow("current level") << QByteArray("a\\.\\b") << false;
    QTest::newRow("absolute backslash") << QByteArray("\\etc\\passwd") << false;
    QTest::newRow("absolute slash") << QByteArray("/etc/passwd") << false;
    QTest::newRow("drive letter") << QByteArray("C:\\x.txt") << false;
    QTest::newRow("drive relative") << QByteArray("C:x.txt") << false;
    QTest::newRow("empty level") << QByteArray("a\\\\b") << false;
    QTest::newRow("trailing separator") << QByteArray("a\\") << false;
    QTest::newRow("zero byte inside") << QByteArray("a\0b", 3) << false;
    QTest::newRow("CR LF inside") << QByteArray("a\r\nb.txt") << false;
    QTest::newRow("tab inside") << QByteArray("a\tb.txt") << false;
    QTest::newRow("0x1F") << QByteArray("a\x1f") << false;
    QTest::newRow("blank and 0x7F") << QByteArray("a b\x7f") << true;
}

// Each refusal says which rule the name breaks.
void CoreTextTest::unsafeNameReasons_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("safe") << QByteArray("sub\\a.txt") << QString();
    QTest::newRow("empty") << QByteArray() << "empty name";
    QTest::newRow("control byte before a parent level") << QByteArray("..\\a\x01") << "a control character (byte below 0x20) in the name";
    QTest::newRow("absolute") << QByteArray("/a") << "absolute path";
    QTest::newRow("drive") << QByteArray("C:a") << "drive letter";
    QTest::newRow("empty level") << QByteArray("a\\\\b") << "empty folder level";
    QTest::newRow("parent level") << QByteArray("a\\..\\b") << "\"..\" level";
    QTest::newRow("dot level") << QByteArray(".\\a.txt") << "\".\" level";
}

void CoreTextTest::unsafeNameReasons()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, reason);
    QCOMPARE(UnsafeNameReason(name), reason);
}

void CoreTextTest::namesForMessages_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("plain") << QByteArray("caf\xe9\\a.txt") << QString::fromUtf8("café\\a.txt");
    QTest::newRow("CR LF") << QByteArray("a\r\nb") << "a<0D><0A>b";
    QTest::newRow("at both ends") << QByteArray("\x1a\x80\x1f") << QString::fromUtf8("<1A>€<1F>");
    QTest::newRow("zero byte") << QByteArray("a\0", 2) << "a<00>";
}

void CoreTextTest::namesForMessages()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    QCOMPARE(NameForMessage(name), shown);
}

// File names that become a list's first line.
void CoreTextTest::namesForLists_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");
    QTest::newRow("Windows-1252 letters") << QString::fromUtf8("café€.tob") << QString();
    QTest::newRow("decomposed accent") << QString::fromUtf8("cafe\u0301.tob") << QString();
    QTest::newRow("letters it lacks") << QString::fromUtf8("日本é日.tob")
                                      << QString::fromUtf8("A list file holds names in Windows-1252, which has no character for \"日本\".");
    QTest::newRow("outside the BMP") << QString::fromUtf8("\U0001F600.idx")
                                     << QString::fromUtf8("A list file holds names in Windows-1252, which has no character for \"\U0001F600\".");
    QTest::newRow("control character") << QStringLiteral("a\x1a.tob")
                                       << "The name holds a control character, which a list line cannot carry.";
}

void CoreTextTest::namesForLists()
{
    QFETCH(QString, name);
    QFETCH(QString, problem);
    QCOMPARE(ListNameProblem(name), problem);
    if (problem.isEmpty())
        QCOMPARE(NameToText(PathToName(name)), name.normalized(QString::NormalizationForm_C));
}

void CoreTextTest::safeNames()
{
    QFETCH(QByteArray, name);
    QFETCH(bool, safe);
    QCOMPARE(IsSafeRelativeName(name), safe);
}

void CoreTextTest::elapsed_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<double>("now");
    QTest::addColumn<QString>("text");
    QTest::newRow("quarter second") << 100.0 << 100.25 << "0.250";
    QTest::newRow("twelve seconds") << 5.0 << 17.0 << "12.000";
    QTest::newRow("across midnight") << 86399.5 << 0.75 << "1.250";
}

void CoreTextTest::elapsed()
{
    QFETCH(double, start);
    QFETCH(double, now);
    QFETCH(QString, text);
    QCOMPARE(FormatElapsed(ElapsedSeconds(start, now)), text);
}

QTEST_GUILESS_MAIN(CoreTextTest)
#include "tst_core_text.moc"
