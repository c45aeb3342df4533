// SPDX-License-Identifier: MIT
// The window's icon comes from the PNGs rendered from the desktop icon and
// embedded in the program: every size is there and holds a picture.
#include "ui/AppIcon.h"
#include "ui/frmTobExtractor.h"

#include <QImage>
#include <QTest>

using namespace tobx;

class AppIconTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everySizeIsDrawn_data();
    void everySizeIsDrawn();
    void windowShowsIt();
};

void AppIconTest::everySizeIsDrawn_data()
{
    QTest::addColumn<int>("size");
    for (const int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%d", size) << size;
}

void AppIconTest::everySizeIsDrawn()
{
    QFETCH(int, size);
    const QSize wanted(size, size);
    const QIcon icon = AppIcon();
    // A resource that was not linked in leaves an icon that only knows the
    // file names it was given: availableSizes stays empty then.
    QVERIFY(icon.availableSizes().contains(wanted));
    const QImage image = icon.pixmap(wanted).toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(image.size(), wanted);
    // Transparent corners around an opaque middle: a drawing, not a blank square.
    QCOMPARE(qAlpha(image.pixel(0, size - 1)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

void AppIconTest::windowShowsIt()
{
    frmTobExtractor window;
    const QIcon icon = window.windowIcon();
    QCOMPARE(icon.availableSizes(), AppIcon().availableSizes());
    QCOMPARE(icon.pixmap(QSize(48, 48)).toImage(), AppIcon().pixmap(QSize(48, 48)).toImage());
}

QTEST_MAIN(AppIconTest)
#include "tst_ui_appicon.moc"
