// SPDX-License-Identifier: MIT
// The Tobrava I converter's file step: the ten bytes put back in front, the
// two plain refusals, and the files it must not destroy.

#include "Samples.h"
#include "TestSupport.h"
#include "tob1/Tob1Converter.h"

#include <QTest>

using namespace tobx;
using namespace tobx::test;

namespace {
const QByteArray kJfifPrefix = QByteArray::fromHex("FFD8FFE000104A464946");
const QString kProgram = QStringLiteral("TobExtractor");
} // namespace

class Tob1ConverterTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void convert_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QByteArray>("input");    // null: no such file
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("existing"); // null: no output file yet
        QTest::addColumn<QString>("box");         // "title|text|answer", empty: none
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<bool>("written");

        const QByteArray toj11 = samples::MakeToj(11, 1);
        const QByteArray toj300 = samples::MakeToj(300, 2);
        const QByteArray none;
        QTest::newRow("11-byte picture") << "title.toj" << toj11 << "title.jpg" << none << QString() << Outcome::Done << true;
        QTest::newRow("10 bytes are too small")
            << "title.toj" << toj11.left(10) << "title.jpg" << none << "TobExtractor|File too small or...|" << Outcome::Stopped << false;
        QTest::newRow("missing file")
            << "gone.toj" << none << "gone.jpg" << none << "TobExtractor|File too small or...|" << Outcome::Stopped << false;
        QTest::newRow("name of four characters")
            << "a.tj" << toj300 << "a.jpg" << none << "TobExtractor|extension problem...|" << Outcome::Stopped << false;
        QTest::newRow("older longer jpg replaced on Yes")
            << "title.toj" << toj11 << "title.jpg" << samples::Filler(500, 3)
            << "File Exist|File: title.jpg exist.\nDo you want to overwrite?|Yes" << Outcome::Done << true;
        QTest::newRow("jpg kept on No")
            << "title.toj" << toj300 << "title.jpg" << QByteArray("keep me")
            << "File Exist|File: title.jpg exist.|No" << Outcome::Cancelled << false;
        QTest::newRow("a .jpg chosen is not converted onto itself")
            << "photo.jpg" << toj300 << "photo.jpg" << none
            << "ERROR|would replace the chosen file itself|" << Outcome::Stopped << false;
        QTest::newRow("name without an extension") << "readme" << toj300 << "reajpg" << none << QString() << Outcome::Done << true;
    }

    void convert()
    {
        QFETCH(QString, chosen);
        QFETCH(QByteArray, input);
        QFETCH(QString, output);
        QFETCH(QByteArray, existing);
        QFETCH(QString, box);
        QFETCH(Outcome, outcome);
        QFETCH(bool, written);

        Harness h;
        if (!input.isNull())
            h.write("pics/" + chosen, input);
        if (!existing.isNull())
            h.write("pics/" + output, existing);
        if (!box.isEmpty()) {
            const MsgResult answer = box.section('|', 2) == QLatin1String("Yes") ? MsgResult::Yes : MsgResult::No;
            h.box.expect(box.section('|', 0, 0), box.section('|', 1, 1), answer);
        }
        QCOMPARE(ConvertTob1Picture(h.state, h.path("pics/" + chosen), chosen), outcome);
        TOBX_VERIFY_BOXES(h.box);
        if (!box.isEmpty()) {
            const Message& shown = h.box.shown.first();
            const QString title = shown.shownTitle();
            const MsgIcon icon = title == kProgram ? MsgIcon::None
                : title == QLatin1String("ERROR")  ? MsgIcon::Critical
                                                   : MsgIcon::Question;
            QCOMPARE(shown.icon, icon);
            if (icon == MsgIcon::Question) {
                QCOMPARE(shown.buttons, MsgButtons::YesNoToAll);
                QCOMPARE(shown.defaultButton, MsgResult::No);
            }
        }
        if (!input.isNull())
            QCOMPARE(h.read("pics/" + chosen), input);
        if (written)
            QCOMPARE(h.read("pics/" + output), kJfifPrefix + input);
        else if (output != chosen)
            QCOMPARE(h.exists("pics/" + output) ? h.read("pics/" + output) : QByteArray(), existing);
    }

    void convertingTwiceGivesTheSameFile()
    {
        Harness h;
        const QByteArray toj = samples::MakeToj(1000, 9);
        const QString chosen = h.write("pics/title.toj", toj);
        QCOMPARE(ConvertTob1Picture(h.state, chosen, QStringLiteral("title.toj")), Outcome::Done);
        const QByteArray first = h.read("pics/title.jpg");
        h.box.expect(QStringLiteral("File Exist"), QString(), MsgResult::Yes);
        QCOMPARE(ConvertTob1Picture(h.state, chosen, QStringLiteral("title.toj")), Outcome::Done);
        TOBX_VERIFY_BOXES(h.box);
        QCOMPARE(h.read("pics/title.jpg"), first);
        QCOMPARE(first.size(), toj.size() + 10);
    }
};

QTEST_APPLESS_MAIN(Tob1ConverterTest)
#include "tst_tob1_converter.moc"
