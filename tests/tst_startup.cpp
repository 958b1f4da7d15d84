#include "startup.h"

#include <QApplication>
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
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

QTEST_MAIN(tst_Startup)
#include "tst_startup.moc"
