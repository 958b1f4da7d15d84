#include "startup.h"

#include <QApplication>
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QTranslator>
#include <QtTest>

class tst_Startup : public QObject
{
    Q_OBJECT

public:
    tst_Startup() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void cleanup() { qApp->setStyleSheet(QString()); }

    void loadStyleSheet_appliesBundledSheet();
    void loadStyleSheet_failsWithoutUsableSheet_data();
    void loadStyleSheet_failsWithoutUsableSheet();
    void warning_isFixedChineseBoxWithOneOkButton();
    void startupTranslator_findsNothingForAnyLanguage_data();
    void startupTranslator_findsNothingForAnyLanguage();
    void arguments_keepExistingFilesAndWarnAboutTheRest_data();
    void arguments_keepExistingFilesAndWarnAboutTheRest();

private:
    QTemporaryDir dir;
};

void tst_Startup::loadStyleSheet_appliesBundledSheet()
{
    QFile sheet(QString::fromLatin1(defaultStyleSheetPath));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    const QString expected = QString::fromUtf8(sheet.readAll());
    QVERIFY(!expected.isEmpty());

    QVERIFY(loadStyleSheet(*qApp));
    QCOMPARE(qApp->styleSheet(), expected);
}

void tst_Startup::loadStyleSheet_failsWithoutUsableSheet_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("logged");

    QVERIFY(dir.isValid());
    QFile empty(dir.filePath("empty.css"));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();
    QVERIFY(QDir(dir.path()).mkpath("folder.css"));

    QTest::newRow("missing resource") << ":/qss/missing.css" << "无法打开样式表:";
    QTest::newRow("missing file") << dir.filePath("nothing.css") << "无法打开样式表:";
    // A directory exists but cannot be opened as a file, whoever runs the test.
    QTest::newRow("unopenable") << dir.filePath("folder.css") << "无法打开样式表:";
    QTest::newRow("empty") << dir.filePath("empty.css") << "样式表为空！";
}

void tst_Startup::loadStyleSheet_failsWithoutUsableSheet()
{
    QFETCH(QString, path);
    QFETCH(QString, logged);

    qApp->setStyleSheet(QStringLiteral("QWidget { color: red; }"));
    const QRegularExpression line(QRegularExpression::escape(logged));
    QTest::ignoreMessage(logged.startsWith(u"样式表为空") ? QtWarningMsg : QtCriticalMsg, line);
    if (logged.startsWith(u"无法打开"))
        QTest::ignoreMessage(QtCriticalMsg, QRegularExpression("^当前工作目录:"));

    QVERIFY(!loadStyleSheet(*qApp, path));
    QCOMPARE(qApp->styleSheet(), QStringLiteral("QWidget { color: red; }"));
}

void tst_Startup::warning_isFixedChineseBoxWithOneOkButton()
{
    QString title, text;
    QList<QAbstractButton *> buttons;
    bool modal = false;
    bool hasParent = true;
    bool answered = false;
    // Poll until the box is up; it runs its own event loop.
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll.stop();
        title = box->windowTitle();
        text = box->text();
        buttons = box->buttons();
        modal = box->isModal();
        hasParent = box->parentWidget() != nullptr;
        answered = true;
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(10);

    showStyleSheetWarning();

    QVERIFY(answered);
    QCOMPARE(title, QStringLiteral("警告"));
    QCOMPARE(text, QStringLiteral("无法加载样式表，将使用默认外观。\n这可能会影响应用程序的外观，但功能不受影响。"));
    QCOMPARE(buttons.size(), 1);
    QVERIFY(modal);
    QVERIFY(!hasParent);
}

void tst_Startup::startupTranslator_findsNothingForAnyLanguage_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::newRow("none") << QStringList();
    QTest::newRow("Chinese") << QStringList{"zh-Hans-CN", "zh-CN", "zh"};
    QTest::newRow("Traditional Chinese") << QStringList{"zh-Hant-TW", "zh-TW"};
    QTest::newRow("English") << QStringList{"en-US", "en"};
}

void tst_Startup::startupTranslator_findsNothingForAnyLanguage()
{
    QFETCH(QStringList, uiLanguages);
    QTranslator translator;
    QVERIFY(!installStartupTranslator(*qApp, translator, uiLanguages));
    QVERIFY(translator.isEmpty());
    QCOMPARE(QCoreApplication::translate("MainWindow", "首页"), QStringLiteral("首页"));
}

void tst_Startup::arguments_keepExistingFilesAndWarnAboutTheRest_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QStringList>("kept");
    QTest::addColumn<QStringList>("warnings");

    QVERIFY(dir.isValid());
    const QDir videos(dir.filePath("videos"));
    QVERIFY(videos.mkpath("folder.mp4"));
    for (const char *name : {"a.mp4", "b b.mkv", "-h"}) {
        QFile clip(videos.filePath(name));
        QVERIFY(clip.open(QIODevice::WriteOnly));
    }
    const QString a = videos.filePath("a.mp4");
    const QString b = videos.filePath("b b.mkv");
    const QString missing = videos.filePath("missing.mp4");
    const QString folder = videos.filePath("folder.mp4");
    const QString url = QStringLiteral("http://127.0.0.1:9/clip.mp4");
    const QString missingUrl = QUrl::fromLocalFile(missing).toString();

    QTest::newRow("two clips among a missing path, a URL and a folder")
        << QStringList{b, missing, url, folder, a} << QStringList{b, a}
        << QStringList{"文件不存在: " + missing, "不是本地文件: " + url, "这是文件夹: " + folder};
    QTest::newRow("file URLs are their files")
        << QStringList{QUrl::fromLocalFile(b).toString(), missingUrl} << QStringList{b}
        << QStringList{"文件不存在: " + missingUrl};
    // Relative to the working folder, which the test sets to the clips' folder.
    QTest::newRow("dashes are paths, not options")
        << QStringList{"-h", "--help"} << QStringList{videos.filePath("-h")}
        << QStringList{"文件不存在: --help"};
    QTest::newRow("nothing") << QStringList() << QStringList() << QStringList();
#ifdef Q_OS_UNIX
    QFile colon(videos.filePath("take:2.mp4"));
    QVERIFY(colon.open(QIODevice::WriteOnly));
    QTest::newRow("a file name with a colon is no URL")
        << QStringList{"take:2.mp4"} << QStringList{colon.fileName()} << QStringList();
    QTest::newRow("a device") << QStringList{"/dev/null"} << QStringList()
                              << QStringList{"不是普通文件: /dev/null"};
#endif
}

void tst_Startup::arguments_keepExistingFilesAndWarnAboutTheRest()
{
    QFETCH(QStringList, arguments);
    QFETCH(QStringList, kept);
    QFETCH(QStringList, warnings);

    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.filePath("videos")));
    for (const QString &warning : warnings)
        QTest::ignoreMessage(QtWarningMsg, qPrintable("忽略启动参数，" + warning));
    QTest::failOnWarning(QRegularExpression("."));

    const QStringList paths = videoPathsFromArguments(arguments);
    QDir::setCurrent(previous);
    QCOMPARE(paths, kept);
}

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
