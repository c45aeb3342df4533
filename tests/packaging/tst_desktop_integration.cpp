// SPDX-License-Identifier: MIT
// The desktop entry, the MIME package and the metainfo agree on the program's
// id and its file types, and a desktop that has the MIME package installed
// recognises the game files by their names and their first bytes.
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kAppId = QStringLiteral(TOBX_APP_ID);

// The value of KEY in the desktop entry's main group.
QString desktopValue(const QString& key)
{
    QFile file(QStringLiteral(TOBX_DESKTOP_ENTRY));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    const QString prefix = key + QLatin1Char('=');
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(prefix))
            return line.mid(prefix.size());
    }
    return {};
}

// Every text of the elements NAME, or of their attribute ATTRIBUTE.
QStringList xmlValues(const QString& path, const QString& name, const QString& attribute = {})
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList values;
    QXmlStreamReader xml(&file);
    while (!xml.atEnd()) {
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == name)
            values << (attribute.isEmpty() ? xml.readElementText() : xml.attributes().value(attribute).toString());
    }
    return values;
}

QSet<QString> asSet(const QStringList& list)
{
    return QSet<QString>(list.cbegin(), list.cend());
}

} // namespace

class DesktopIntegrationTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void oneIdEverywhere();
    void oneSetOfTypesEverywhere();
    void typeOfFile_data();
    void typeOfFile();

private:
    QTemporaryDir m_dataDir;
};

// A data folder of our own with the MIME package compiled into it, searched
// before the system's, as after the package's installation.
void DesktopIntegrationTest::initTestCase()
{
    QVERIFY(m_dataDir.isValid());
    const QString mimeDir = m_dataDir.filePath(QStringLiteral("mime"));
    QVERIFY(QDir().mkpath(mimeDir + QStringLiteral("/packages")));
    QVERIFY(QFile::copy(QStringLiteral(TOBX_MIME_PACKAGE), mimeDir + QStringLiteral("/packages/") + kAppId
                        + QStringLiteral(".xml")));
    QProcess update;
    update.start(QStringLiteral("update-mime-database"), {mimeDir});
    QVERIFY2(update.waitForFinished(), "update-mime-database (shared-mime-info) did not run");
    QVERIFY2(update.exitCode() == 0, update.readAllStandardError().constData());
    QVERIFY(QFile::exists(mimeDir + QStringLiteral("/mime.cache")));

    qputenv("XDG_DATA_HOME", m_dataDir.filePath(QStringLiteral("home")).toLocal8Bit());
    qputenv("XDG_DATA_DIRS", (m_dataDir.path() + QStringLiteral(":/usr/local/share:/usr/share")).toLocal8Bit());
}

void DesktopIntegrationTest::oneIdEverywhere()
{
    QCOMPARE(desktopValue(QStringLiteral("Icon")), kAppId);
    QCOMPARE(xmlValues(QStringLiteral(TOBX_METAINFO), QStringLiteral("id")), QStringList{kAppId});
    QCOMPARE(xmlValues(QStringLiteral(TOBX_METAINFO), QStringLiteral("launchable")),
             QStringList{kAppId + QStringLiteral(".desktop")});
    QCOMPARE(desktopValue(QStringLiteral("Exec")), QStringLiteral("tobextractor %F"));
}

void DesktopIntegrationTest::oneSetOfTypesEverywhere()
{
    const QSet<QString> packaged =
        asSet(xmlValues(QStringLiteral(TOBX_MIME_PACKAGE), QStringLiteral("mime-type"), QStringLiteral("type")));
    QCOMPARE(packaged.size(), 5);
    QCOMPARE(asSet(desktopValue(QStringLiteral("MimeType")).split(QLatin1Char(';'), Qt::SkipEmptyParts)), packaged);
    QCOMPARE(asSet(xmlValues(QStringLiteral(TOBX_METAINFO), QStringLiteral("mediatype"))), packaged);
}

void DesktopIntegrationTest::typeOfFile_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("comment");

    const QByteArray tob("VXBG\x02\x00\x00\x00", 8);
    const QByteArray img("GT20\x00\x10\x00\x00", 8);
    const QByteArray records(32, '\x01');
    QTest::newRow("tob") << "data.tob" << tob << "application/x-tobrava2-archive" << "Tobrava II archive";
    QTest::newRow("TOB") << "DATA.TOB" << tob << "application/x-tobrava2-archive" << "Tobrava II archive";
    QTest::newRow("tob by magic") << "data.bin" << tob << "application/x-tobrava2-archive" << "Tobrava II archive";
    // The raw disk image claims *.img too; the magic settles it.
    QTest::newRow("img") << "RC.IMG" << img << "application/x-rollcage-image" << "Rollcage archive image";
    QTest::newRow("img by magic") << "rc.dat" << img << "application/x-rollcage-image" << "Rollcage archive image";
    QTest::newRow("idx") << "RC.IDX" << records << "application/x-rollcage-index" << "Rollcage archive index";
    QTest::newRow("toj") << "PIC01.TOJ" << QByteArray("\x00\x10JFIF\x00", 7) << "application/x-tobrava1-picture"
                         << "Tobrava I picture";
    QTest::newRow("lst") << "data.lst" << QByteArray("data.tob\r\n\r\nsub\\a.bin\r\n") << "application/x-tobextractor-list"
                         << "TobExtractor list file";
}

void DesktopIntegrationTest::typeOfFile()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, type);
    QFETCH(QString, comment);
    const QString path = m_dataDir.filePath(name);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
    file.close();

    const QMimeType mime = QMimeDatabase().mimeTypeForFile(path);
    QCOMPARE(mime.name(), type);
    QCOMPARE(mime.comment(), comment);
    // A list file opens in every text editor as well.
    QCOMPARE(mime.inherits(QStringLiteral("text/plain")), type == QLatin1String("application/x-tobextractor-list"));
}

QTEST_GUILESS_MAIN(DesktopIntegrationTest)
#include "tst_desktop_integration.moc"
