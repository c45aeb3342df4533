// SPDX-License-Identifier: MIT
// A long extraction from the window: it runs on the worker thread, the window
// goes on answering events, the progress display shows after its delay, and
// Cancel or closing the window stops the run at the next entry.

#include "UiTestSupport.h"
#include "core/Names.h"
#include "ui/ProgressDisplay.h"

#include "Samples.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMutex>
#include <QProgressBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>

using namespace tobx;
using namespace tobx::test;

namespace {

constexpr int kEntries = 40;
constexpr int kAskedAt = 4; // the first entry that exists already

// Tells on which thread the operation reads the time.
class ThreadNotingClock final : public Clock {
public:
    double secondsSinceMidnight() const override
    {
        QMutexLocker lock(&m_mutex);
        m_threads.append(QThread::currentThread());
        return 0;
    }
    QList<QThread*> threads() const
    {
        QMutexLocker lock(&m_mutex);
        return m_threads;
    }

private:
    mutable QMutex m_mutex;
    mutable QList<QThread*> m_threads;
};

// Every box goes to `onBox`, which answers it; on the window's thread.
class HandlingBox final : public MessageBox {
public:
    std::function<MsgResult(const Message&)> onBox;
    QList<Message> shown;
    QList<bool> onWindowThread;
    MsgResult show(const Message& message) override
    {
        shown.append(message);
        onWindowThread.append(QThread::currentThread() == qApp->thread());
        return onBox(message);
    }
};

class PaintCounter final : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

struct LongExtraction {
    QList<samples::TobEntry> entries;
    QString archive;
};

LongExtraction prepare(WindowHarness& w)
{
    LongExtraction run;
    for (int i = 0; i < kEntries; ++i)
        run.entries.append({"part" + QByteArray::number(i) + ".bin", samples::Filler(256 * 1024, quint32(i))});
    run.archive = w.write("games/data.tob", samples::MakeTobArchive(run.entries));
    QDir().mkpath(w.path("out"));
    w.openFolder(ExtractPane, w.path("out"));
    for (int i = kAskedAt; i < kEntries; ++i)
        w.write(QStringLiteral("out/part%1.bin").arg(i), "old");
    w.selectSource(ExtractPane, run.archive);
    return run;
}

ProgressDisplay* displayOf(const WindowHarness& w)
{
    return w.window->findChild<ProgressDisplay*>(QStringLiteral("progressDisplay"));
}

} // namespace

class ProgressWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void longExtractionCancelled();
    void closingDuringRunAsksAndCancels();
};

void ProgressWindowTest::longExtractionCancelled()
{
    HandlingBox box;
    ThreadNotingClock clock;
    WindowHarness w(&box);
    // The harness's window with the clock that notes threads.
    w.window = std::make_unique<frmTobExtractor>(WindowServices{&box, &w.files, &clock});
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    const LongExtraction run = prepare(w);

    PaintCounter painted;
    w.window->installEventFilter(&painted);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(5);

    bool sawDisplay = false;
    QString shownName;
    QString shownCounts;
    bool goDisabled = false;
    bool aboutEnabled = false;
    bool moved = false;
    bool repainted = false;
    box.onBox = [&](const Message& message) {
        if (message.shownTitle() != QLatin1String("File Exist"))
            return message.defaultButton;
        // The run waits here; the display comes once it has lasted long enough.
        ProgressDisplay* display = displayOf(w);
        sawDisplay = QTest::qWaitFor([&] { return display && display->isVisible(); }, 5000);
        if (sawDisplay) {
            shownName = display->findChild<QLabel*>(QStringLiteral("lblProgressName"))->text();
            shownCounts = display->findChild<QLabel*>(QStringLiteral("lblProgressCounts"))->text();
        }
        goDisabled = !w.control<QAbstractButton>("cmdGo_0")->isEnabled();
        aboutEnabled = w.control<QAbstractButton>("cmdAbout")->isEnabled();
        const QPoint before = w.window->pos();
        w.window->move(before + QPoint(20, 10));
        moved = QTest::qWaitFor([&] { return w.window->pos() != before; }, 2000);
        const int paintsBefore = painted.paints;
        w.window->update();
        repainted = QTest::qWaitFor([&] { return painted.paints > paintsBefore; }, 2000);
        // The user clicks Cancel, then answers the question in front of it.
        if (display)
            display->findChild<QAbstractButton*>(QStringLiteral("cmdProgressCancel"))->click();
        return MsgResult::YesToAll;
    };

    w.click("cmdGo_0");

    QVERIFY(sawDisplay);
    QCOMPARE(shownName, QStringLiteral("part%1.bin").arg(kAskedAt));
    QVERIFY2(shownCounts.startsWith(QStringLiteral("Entries: %1 of %2").arg(kAskedAt).arg(kEntries)), qPrintable(shownCounts));
    QVERIFY(goDisabled);
    QVERIFY(aboutEnabled);
    QVERIFY(moved);
    QVERIFY(repainted);
    QVERIFY(ticks > 0);
    // The operation ran on a thread of its own; its boxes came to the window's.
    const QList<QThread*> threads = clock.threads();
    QVERIFY(!threads.isEmpty());
    for (QThread* thread : threads)
        QVERIFY(thread != qApp->thread());
    QCOMPARE(box.onWindowThread, QList<bool>{true});

    // Stopped at the next entry: the answered one written, none after it, no DONE.
    for (int i = 0; i < kEntries; ++i) {
        const QByteArray expected = i <= kAskedAt ? run.entries[i].content : QByteArray("old");
        QCOMPARE(w.read(QStringLiteral("out/part%1.bin").arg(i)), expected);
    }
    QCOMPARE(box.shown.size(), 1);
    QVERIFY(!displayOf(w)->isVisible());
    QVERIFY(w.control<QAbstractButton>("cmdGo_0")->isEnabled());
    QCOMPARE(w.control<QListWidget>("lstSrcFiles_0")->count(), kAskedAt + 1);
    QCOMPARE(w.state().lstSrcFiles[ExtractPane].size(), kAskedAt + 1);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(QDir::currentPath(), w.startDir());
}

void ProgressWindowTest::closingDuringRunAsksAndCancels()
{
    HandlingBox box;
    WindowHarness w(&box);
    w.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.window.get()));
    const LongExtraction run = prepare(w);
    bool stayedOpen = false;
    box.onBox = [&](const Message& message) {
        if (message.shownTitle() == QLatin1String("File Exist")) {
            w.window->close(); // asks first, below
            stayedOpen = w.window->isVisible();
            return MsgResult::Yes;
        }
        if (message.text.startsWith(QLatin1String("An operation is still running.")))
            return MsgResult::Yes;
        return message.defaultButton;
    };
    w.click("cmdGo_0");
    QVERIFY(stayedOpen);
    QCOMPARE(box.shown.size(), 2);
    QCOMPARE(box.shown[1].buttons, MsgButtons::YesNo);
    QCOMPARE(box.shown[1].defaultButton, MsgResult::No);
    // The run stopped at the next entry, then the window closed.
    QCOMPARE(w.read(QStringLiteral("out/part%1.bin").arg(kAskedAt)), run.entries[kAskedAt].content);
    QCOMPARE(w.read(QStringLiteral("out/part%1.bin").arg(kAskedAt + 1)), QByteArray("old"));
    QVERIFY(QTest::qWaitFor([&] { return !w.window->isVisible(); }, 5000));
}

QTEST_MAIN(ProgressWindowTest)
#include "tst_ui_progress.moc"
