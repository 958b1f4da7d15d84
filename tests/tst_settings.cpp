#include "joboption.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QMediaPlayer>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Two stores, main and language, in the test-mode settings location.
class tst_Settings : public QObject
{
    Q_OBJECT

public:
    tst_Settings() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void init() { wipeSettings(); }
    void cleanup()
    {
        window.reset();
        wipeSettings();
    }

    void firstStart_usesDefaults();
    void roundTrip_restoresEveryChoice();
    void selection_restoredAfterRestartAndReset_data();
    void selection_restoredAfterRestartAndReset();
    void restore_handlesStoredValues_data();
    void restore_handlesStoredValues();
    void restore_keepsMissingVideoPathWithoutLoading();
    void save_writesEveryKeyInOrder();
    void bitDepth_changeSurvivesEndWithoutClose();
    void reset_answeredNo_changesNothing();
    void reset_clearsStoresAndReturnsToDefaults();
    void reset_thenRestart_hasEmptyPaths();

private:
    static QVariant stored(const QString &key) { return mainStore().value(key); }
    static void store(const QString &key, const QVariant &value)
    {
        mainStore().setValue(key, value);
    }
    void start()
    {
        window = std::make_unique<MainWindow>();
        window->show();
    }
    // Which of the selections' settings are shown.
    static QStringList shownSelectionSettings()
    {
        QStringList shown;
        for (const char *name : {"frameRateSpinBox", "everySecondsSpinBox",
                 "sceneSensitivitySpinBox", "countOptionControl", "sharpestOptionControl"}) {
            if (!w(name)->isHidden())
                shown << name;
        }
        return shown;
    }
    QString savedPattern()
    {
        QCloseEvent close;
        QApplication::sendEvent(window.get(), &close);
        return stored("customNamePattern").toString();
    }

    std::unique_ptr<MainWindow> window;
};

void tst_Settings::firstStart_usesDefaults()
{
    start();
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), QString());
    QCOMPARE(w<QLineEdit>("outputLineEdit")->text(),
        QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + "/VideoFrames");
    QCOMPARE(w<QSpinBox>("frameRateSpinBox")->value(), 5);
    QCOMPARE(w<QSlider>("qualitySlider")->value(), 90);
    QCOMPARE(w<QLabel>("qualityValueLabel")->text(), QStringLiteral("90%"));
    QCOMPARE(w<QComboBox>("formatComboBox")->currentIndex(), 0);
    QCOMPARE(w<QComboBox>("bitDepthComboBox")->currentIndex(), 2);
    QCOMPARE(w<QLabel>("bitDepthLabel")->text(),
        QStringLiteral("标准24位RGB（每通道8位），适合大多数用途"));
    QCOMPARE(w<QComboBox>("namingPatternComboBox")->currentIndex(), 0);
    QVERIFY(w("customNameEdit")->isHidden());
    QVERIFY(w<QCheckBox>("subfolderCheckBox")->isChecked());
    QCOMPARE(savedPattern(), QStringLiteral("frame_%1"));
    // Only the bit depth is written during start-up.
    QCOMPARE(stored("bitDepth").toInt(), 2);
}

void tst_Settings::roundTrip_restoresEveryChoice()
{
    QTemporaryDir dir;
    const QString output = dir.filePath("frames");
    QVERIFY(QDir().mkpath(output));
    start();
    {
        DialogChooser chooser(output);
        w<QPushButton>("selectOutputButton")->click();
    }
    w<QSpinBox>("frameRateSpinBox")->setValue(12);
    w<QSlider>("qualitySlider")->setValue(40);
    w<QComboBox>("formatComboBox")->setCurrentIndex(2);
    w<QComboBox>("bitDepthComboBox")->setCurrentIndex(3);
    w<QComboBox>("namingPatternComboBox")->setCurrentIndex(3);
    QTest::keyClicks(w<QLineEdit>("customNameEdit"), "holiday");
    w<QCheckBox>("subfolderCheckBox")->setChecked(false);
    window->close();
    window.reset();

    start();
    QCOMPARE(w<QLineEdit>("outputLineEdit")->text(), output);
    QCOMPARE(w<QSpinBox>("frameRateSpinBox")->value(), 12);
    QCOMPARE(w<QSlider>("qualitySlider")->value(), 40);
    QCOMPARE(w<QLabel>("qualityValueLabel")->text(), QStringLiteral("40%"));
    QCOMPARE(w<QComboBox>("formatComboBox")->currentIndex(), 2);
    QCOMPARE(w<QComboBox>("bitDepthComboBox")->currentIndex(), 2); // always 24 bits at start
    QCOMPARE(w<QComboBox>("namingPatternComboBox")->currentIndex(), 3);
    QVERIFY(!w("customNameEdit")->isHidden());
    QCOMPARE(w<QLineEdit>("customNameEdit")->text(), QStringLiteral("holiday"));
    QVERIFY(!w<QCheckBox>("subfolderCheckBox")->isChecked());
    QCOMPARE(savedPattern(), QStringLiteral("holiday_%1"));
}

void tst_Settings::selection_restoredAfterRestartAndReset_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("frames per second") << 0 << QStringList {"frameRateSpinBox"};
    QTest::newRow("every N seconds")
        << 1 << QStringList {"everySecondsSpinBox", "sharpestOptionControl"};
    QTest::newRow("keyframes") << 2 << QStringList {};
    QTest::newRow("scene changes") << 3 << QStringList {"sceneSensitivitySpinBox"};
    QTest::newRow("a number of images")
        << 4 << QStringList {"countOptionControl", "sharpestOptionControl"};
}

void tst_Settings::selection_restoredAfterRestartAndReset()
{
    QFETCH(int, mode);
    start();
    w<QComboBox>("selectionModeComboBox")->setCurrentIndex(mode);
    w<QDoubleSpinBox>("everySecondsSpinBox")->setValue(2.5);
    w<QSpinBox>("sceneSensitivitySpinBox")->setValue(80);
    w<QCheckBox>("timeInNamesCheckBox")->setChecked(true);
    w<QLineEdit>("startTimeEdit")->setText("0:00:01.000");
    w<QLineEdit>("endTimeEdit")->setText("0:00:02.000");
    window->close();
    window.reset();

    start();
    QCOMPARE(w<QComboBox>("selectionModeComboBox")->currentIndex(), mode);
    QTEST(shownSelectionSettings(), "shown");
    QCOMPARE(w<QDoubleSpinBox>("everySecondsSpinBox")->value(), 2.5);
    QCOMPARE(w<QSpinBox>("sceneSensitivitySpinBox")->value(), 80);
    QVERIFY(w<QCheckBox>("timeInNamesCheckBox")->isChecked());
    // The range belonged to the video of the last run.
    QCOMPARE(w<QLineEdit>("startTimeEdit")->text(), QStringLiteral("0:00:00.000"));
    QCOMPARE(w<QLineEdit>("endTimeEdit")->text(), QString());

    w<QLineEdit>("endTimeEdit")->setText("0:00:02.000");
    BoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
    QMetaObject::invokeMethod(window.get(), "resetApplication");
    QCOMPARE(answers.boxes.size(), 2);
    QCOMPARE(w<QComboBox>("selectionModeComboBox")->currentIndex(), 0);
    QCOMPARE(shownSelectionSettings(), QStringList {"frameRateSpinBox"});
    QCOMPARE(w<QDoubleSpinBox>("everySecondsSpinBox")->value(), 10.0);
    QCOMPARE(w<QSpinBox>("sceneSensitivitySpinBox")->value(), 50);
    QVERIFY(!w<QCheckBox>("timeInNamesCheckBox")->isChecked());
    QCOMPARE(w<QLineEdit>("endTimeEdit")->text(), QString());
}

void tst_Settings::restore_handlesStoredValues_data()
{
    QTest::addColumn<QVariantMap>("values");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QVariant>("shown"); // the widget's value; for the edit, its visibility too
    QTest::addColumn<QString>("pattern");

    QTest::newRow("bit depth 0 becomes 2")
        << QVariantMap {{"bitDepth", 0}} << "bitDepthComboBox" << QVariant(2) << "frame_%1";
    QTest::newRow("custom name restored")
        << QVariantMap {{"namingPattern", 3}, {"customNamePattern", "my-clip_%1"}}
        << "customNameEdit" << QVariant("my-clip") << "my-clip_%1";
    QTest::newRow("image entry keeps edit hidden")
        << QVariantMap {{"namingPattern", 1}, {"customNamePattern", "image_%1"}} << "customNameEdit"
        << QVariant() << "image_%1";
    QTest::newRow("format beyond the list")
        << QVariantMap {{"format", 42}} << "formatComboBox" << QVariant(-1) << "frame_%1";
    QTest::newRow("naming beyond the list keeps stored pattern")
        << QVariantMap {{"namingPattern", 9}, {"customNamePattern", "video_%1"}}
        << "namingPatternComboBox" << QVariant(-1) << "video_%1";
    QTest::newRow("rate out of range")
        << QVariantMap {{"frameRate", 500}} << "frameRateSpinBox" << QVariant(60) << "frame_%1";
    QTest::newRow("selection beyond the list: frames per second")
        << QVariantMap {{"selectionMode", 7}} << "selectionModeComboBox" << QVariant(0)
        << "frame_%1";
    QTest::newRow("quality not a number")
        << QVariantMap {{"quality", "lots"}} << "qualitySlider" << QVariant(1) << "frame_%1";
    QTest::newRow("pattern with a slash")
        << QVariantMap {{"namingPattern", 3}, {"customNamePattern", "../../etc/x_%1"}}
        << "customNameEdit" << QVariant("frame") << "frame_%1";
    QTest::newRow("pattern with a backslash")
        << QVariantMap {{"namingPattern", 1}, {"customNamePattern", "sub\\x_%1"}}
        << "namingPatternComboBox" << QVariant(1) << "frame_%1";
    QTest::newRow("pattern climbing out")
        << QVariantMap {{"namingPattern", 0}, {"customNamePattern", "..%1"}}
        << "namingPatternComboBox" << QVariant(0) << "frame_%1";
}

void tst_Settings::restore_handlesStoredValues()
{
    QFETCH(QVariantMap, values);
    QFETCH(QString, widget);
    QFETCH(QVariant, shown);

    for (auto it = values.cbegin(); it != values.cend(); ++it)
        store(it.key(), it.value());
    start();

    QWidget *target = w(widget.toLatin1());
    QVERIFY(target);
    if (auto *combo = qobject_cast<QComboBox *>(target)) {
        QCOMPARE(combo->currentIndex(), shown.toInt());
    } else if (auto *spin = qobject_cast<QSpinBox *>(target)) {
        QCOMPARE(spin->value(), shown.toInt());
    } else if (auto *slider = qobject_cast<QSlider *>(target)) {
        QCOMPARE(slider->value(), shown.toInt());
    } else if (auto *edit = qobject_cast<QLineEdit *>(target)) {
        QCOMPARE(!edit->isHidden(), shown.isValid());
        if (shown.isValid())
            QCOMPARE(edit->text(), shown.toString());
    }
    if (widget == u"bitDepthComboBox")
        QCOMPARE(stored("bitDepth").toInt(), 2);
    QTEST(savedPattern(), "pattern");
}

void tst_Settings::restore_keepsMissingVideoPathWithoutLoading()
{
    const QString gone = QDir::temp().filePath("oskivo-no-such-video.mp4");
    store("videoPath", gone);
    QTest::ignoreMessage(QtDebugMsg, "No valid video file to load from settings");
    start();
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), gone);
    QCOMPARE(window->findChild<QMediaPlayer *>()->source(), QUrl());
    window->close();
    QCOMPARE(stored("videoPath").toString(), gone);
}

void tst_Settings::save_writesEveryKeyInOrder()
{
    start();
    window->close();
    const QStringList keys = mainStore().allKeys();
    QStringList expected;
    for (const Preferences::Key key : Preferences::keys())
        expected << Preferences::name(key);
    // And each option whose control the advanced page added, under the option's name.
    for (const JobOption &row : JobOption::all()) {
        if (window->findChild<QWidget *>(QLatin1String(row.name) + "OptionControl"))
            expected << QLatin1String(row.name);
    }
    QCOMPARE(keys.size(), expected.size());
    for (const QString &key : expected)
        QVERIFY2(keys.contains(key), qPrintable(key));
    QVERIFY(!stored("geometry").toByteArray().isEmpty());
    QVERIFY(!stored("windowState").toByteArray().isEmpty());
}

void tst_Settings::bitDepth_changeSurvivesEndWithoutClose()
{
    start();
    w<QComboBox>("bitDepthComboBox")->setCurrentIndex(1);
    // A second window reads the store while the first never closed.
    QCOMPARE(mainStore().value("bitDepth").toInt(), 1);
}

void tst_Settings::reset_answeredNo_changesNothing()
{
    store("frameRate", 20);
    start();
    w<QSlider>("qualitySlider")->setValue(33);
    BoxAnswerer no(QMessageBox::No);
    QMetaObject::invokeMethod(window.get(), "resetApplication");
    QCOMPARE(no.boxes.size(), 1);
    QCOMPARE(no.title, QStringLiteral("确认重置"));
    QCOMPARE(no.text, QStringLiteral("确定要重置应用程序吗？\n这将清除所有设置和播放列表。"));
    QCOMPARE(no.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(no.parent, window.get());
    QCOMPARE(w<QSlider>("qualitySlider")->value(), 33);
    QCOMPARE(w<QSpinBox>("frameRateSpinBox")->value(), 20);
    QCOMPARE(stored("frameRate").toInt(), 20);
}

void tst_Settings::reset_clearsStoresAndReturnsToDefaults()
{
    store("frameRate", 20);
    store("namingPattern", 3);
    store("customNamePattern", "clip_%1");
    start();
    w<QSlider>("qualitySlider")->setValue(33);
    w<QComboBox>("formatComboBox")->setCurrentIndex(2);
    w<QComboBox>("bitDepthComboBox")->setCurrentIndex(1);
    auto *player = window->findChild<QMediaPlayer *>();

    BoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
    QMetaObject::invokeMethod(window.get(), "resetApplication");
    QCOMPARE(answers.boxes.size(), 2);
    QCOMPARE(answers.boxes.at(1).title, QStringLiteral("重置完成"));
    QCOMPARE(answers.boxes.at(1).text, QStringLiteral("应用程序已重置为初始状态。"));
    QCOMPARE(answers.boxes.at(1).icon, QMessageBox::Information);

    QCOMPARE(w<QLineEdit>("outputLineEdit")->text(), QString());
    QCOMPARE(w<QLineEdit>("videoLineEdit")->text(), QString());
    QCOMPARE(w<QSpinBox>("frameRateSpinBox")->value(), 5);
    QCOMPARE(w<QSlider>("qualitySlider")->value(), 90);
    QCOMPARE(w<QLabel>("qualityValueLabel")->text(), QStringLiteral("90%"));
    QCOMPARE(w<QComboBox>("formatComboBox")->currentIndex(), 0);
    QCOMPARE(w<QComboBox>("namingPatternComboBox")->currentIndex(), 0);
    QVERIFY(w("customNameEdit")->isHidden());
    QCOMPARE(w<QLineEdit>("customNameEdit")->text(), QString());
    QVERIFY(!w("progressBar")->isVisible());
    QCOMPARE(w<QLabel>("timeLabel")->text(), QStringLiteral("00:00:00"));
    QVERIFY(window->findChild<QMediaPlayer *>());
    QVERIFY(window->findChild<QMediaPlayer *>() != player);
    // The store holds only what the handlers wrote since.
    QCOMPARE(mainStore().allKeys(), QStringList {"bitDepth"});
    QCOMPARE(stored("bitDepth").toInt(), 2);
    QVERIFY(!languageStore().contains("language"));
    QCOMPARE(savedPattern(), QStringLiteral("frame_%1"));
}

void tst_Settings::reset_thenRestart_hasEmptyPaths()
{
    start();
    {
        BoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
        QMetaObject::invokeMethod(window.get(), "resetApplication");
        QCOMPARE(answers.boxes.size(), 2);
    }
    window->close();
    window.reset();
    start();
    QCOMPARE(w<QLineEdit>("outputLineEdit")->text(), QString());
    QCOMPARE(window->findChild<QMediaPlayer *>()->source(), QUrl());
}

QTEST_MAIN(tst_Settings)
#include "tst_settings.moc"
