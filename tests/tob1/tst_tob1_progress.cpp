// SPDX-License-Identifier: MIT
// The converter's one picture per run: its "File Exist" with the answers for
// all, and a cancel before the picture is written.

#include "Samples.h"
#include "TestSupport.h"
#include "tob1/Tob1Converter.h"

#include <QTest>

using namespace tobx;
using namespace tobx::test;

Q_DECLARE_METATYPE(tobx::MsgResult)

class Tob1ProgressTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersForAll_data();
    void answersForAll();
    void cancelled_data();
    void cancelled();
};

void Tob1ProgressTest::answersForAll_data()
{
    QTest::addColumn<MsgResult>("pressed");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("yes to all replaces") << MsgResult::YesToAll << Outcome::Done << true;
    QTest::newRow("no to all keeps") << MsgResult::NoToAll << Outcome::Cancelled << false;
}

void Tob1ProgressTest::answersForAll()
{
    QFETCH(MsgResult, pressed);
    QFETCH(Outcome, outcome);
    QFETCH(bool, replaced);
    Harness h;
    const QByteArray toj = samples::MakeToj(200, 3);
    const QString chosen = h.write("pics/title.toj", toj);
    h.write("pics/title.jpg", "old picture");
    h.box.expect(QStringLiteral("File Exist"), QStringLiteral("File: title.jpg exist.\nDo you want to overwrite?"), pressed);
    QCOMPARE(ConvertTob1Picture(h.state, chosen, QStringLiteral("title.toj")), outcome);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.box.shown.first().buttons, MsgButtons::YesNoToAll);
    QCOMPARE(h.read("pics/title.jpg"), replaced ? h.state.SrcSig[2] + toj : QByteArray("old picture"));
}

void Tob1ProgressTest::cancelled_data()
{
    QTest::addColumn<bool>("existing");
    QTest::newRow("no picture yet") << false;
    QTest::newRow("over an old picture") << true;
}

void Tob1ProgressTest::cancelled()
{
    QFETCH(bool, existing);
    Harness h;
    const QString chosen = h.write("pics/title.toj", samples::MakeToj(200, 4));
    if (existing) {
        h.write("pics/title.jpg", "old picture");
        h.box.expect(QStringLiteral("File Exist"), QString(), MsgResult::Yes);
    }
    CancelAfter cancel(0);
    h.state.progress.attach(nullptr, &cancel);
    QCOMPARE(ConvertTob1Picture(h.state, chosen, QStringLiteral("title.toj")), Outcome::Cancelled);
    TOBX_VERIFY_BOXES(h.box);
    QCOMPARE(h.exists("pics/title.jpg"), existing);
    if (existing)
        QCOMPARE(h.read("pics/title.jpg"), QByteArray("old picture"));
}

QTEST_GUILESS_MAIN(Tob1ProgressTest)
#include "tst_tob1_progress.moc"
