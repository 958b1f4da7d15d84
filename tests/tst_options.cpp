#include "mainwindow.h"
#include "optionspage.h"
#include "testsupport.h"
#include "windowrules.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSlider>
#include <QSpinBox>
#include <QStandardPaths>
#include <QtTest>

Q_DECLARE_METATYPE(JobOption::Id)
Q_DECLARE_METATYPE(FrameSelection::Mode)
Q_DECLARE_METATYPE(IndexFormat)

class tst_Options : public QObject
{
    Q_OBJECT

public:
    tst_Options() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void init();
    void cleanup();

    void formatList_keepsFixedOrderAndCase_data();
    void formatList_keepsFixedOrderAndCase();
    void formatList_offersTheWritersPresentHere();
    void naming_followsEntryAndCustomName_data();
    void naming_followsEntryAndCustomName();
    void customName_refusesUnsafeCharacters_data();
    void customName_refusesUnsafeCharacters();
    void customName_survivesLeavingCustomEntry();
    void quality_labelShowsSliderValue_data();
    void quality_labelShowsSliderValue();
    void bitDepth_describesAndStoresAtOnce_data();
    void bitDepth_describesAndStoresAtOnce();
    void depthNote_saysWhatTheFormatCannotKeep_data();
    void depthNote_saysWhatTheFormatCannotKeep();
    void addedOption_isReadStoredRestoredAndReset_data();
    void addedOption_isReadStoredRestoredAndReset();
    void controls_takeTheirRangeAndDefaultFromTheOptions_data();
    void controls_takeTheirRangeAndDefaultFromTheOptions();
    void besideImages_choicesReachTheJobAndAreKept_data();
    void besideImages_choicesReachTheJobAndAreKept();
    void selection_readsEachChoiceWhereItApplies_data();
    void selection_readsEachChoiceWhereItApplies();

private:
    // The pattern in force, as the window saves it on closing.
    QString savedPattern();

    MainWindow *window = nullptr;
};

void tst_Options::init()
{
    wipeSettings();
    window = new MainWindow;
    window->show();
}

void tst_Options::cleanup()
{
    delete window;
    window = nullptr;
    wipeSettings();
}

QString tst_Options::savedPattern()
{
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
    return mainStore().value("customNamePattern").toString();
}

void tst_Options::formatList_keepsFixedOrderAndCase_data()
{
    QTest::addColumn<QList<QByteArray>>("writers");
    QTest::addColumn<QStringList>("formats");

    using B = QList<QByteArray>;
    QTest::newRow("common writers") << B {"jpg", "jpeg", "png", "bmp", "ppm"}
                                    << QStringList {"JPG", "JPEG", "PNG", "BMP", "PPM"};
    QTest::newRow("writer order does not matter")
        << B {"ppm", "png", "jpg"} << QStringList {"JPG", "PNG", "PPM"};
    QTest::newRow("capitals") << B {"JPEG", "Png"} << QStringList {"JPEG", "PNG"};
    QTest::newRow("duplicates listed once") << B {"png", "PNG", "png"} << QStringList {"PNG"};
    QTest::newRow("tif matches nothing") << B {"tif"} << QStringList {};
    QTest::newRow("tiff matches TIFF") << B {"tif", "tiff"} << QStringList {"TIFF"};
    QTest::newRow("whole names only") << B {"jp", "pngx", "xbmp"} << QStringList {};
    QTest::newRow("mixed case kept") << B {"webp", "tga"} << QStringList {"WebP", "TGA"};
    QTest::newRow("unknown writers ignored") << B {"xpm", "ico", "cur", "pbm"} << QStringList {};
    QTest::newRow("none") << B {} << QStringList {};
}

void tst_Options::formatList_keepsFixedOrderAndCase()
{
    QFETCH(QList<QByteArray>, writers);
    QTEST(ImageFormats::buildFormatList(writers), "formats");
}

void tst_Options::formatList_offersTheWritersPresentHere()
{
    auto *combo = w<QComboBox>("formatComboBox");
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i)
        entries << combo->itemText(i);
    QCOMPARE(entries, ImageFormats::buildFormatList(QImageWriter::supportedImageFormats()));
    // Debian's image format plug-ins are part of the set-up; Qt has no TGA writer.
    QCOMPARE(entries, (QStringList {"JPG", "JPEG", "PNG", "BMP", "WebP", "TIFF", "PPM"}));
    QCOMPARE(combo->currentIndex(), 0);
}

void tst_Options::naming_followsEntryAndCustomName_data()
{
    QTest::addColumn<QList<int>>("indexes"); // naming entries chosen in turn
    QTest::addColumn<QString>("typed"); // typed into the custom edit afterwards
    QTest::addColumn<bool>("thenEmptied");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("editVisible");

    using I = QList<int>;
    QTest::newRow("frame") << I {1, 0} << "" << false << "frame_%1" << false;
    QTest::newRow("image") << I {1} << "" << false << "image_%1" << false;
    QTest::newRow("video") << I {2} << "" << false << "video_%1" << false;
    QTest::newRow("custom entry alone keeps image")
        << I {1, 3} << "" << false << "image_%1" << true;
    QTest::newRow("custom name") << I {3} << "my-clip_2" << false << "my-clip_2_%1" << true;
    QTest::newRow("emptied custom name") << I {3} << "abc" << true << "frame_%1" << true;
    QTest::newRow("fixed entry after custom name")
        << I {3, 2} << "" << false << "video_%1" << false;
    QTest::newRow("no entry keeps pattern") << I {1, -1} << "" << false << "image_%1" << false;
}

void tst_Options::naming_followsEntryAndCustomName()
{
    QFETCH(QList<int>, indexes);
    QFETCH(QString, typed);
    QFETCH(bool, thenEmptied);
    QFETCH(bool, editVisible);

    auto *combo = w<QComboBox>("namingPatternComboBox");
    auto *edit = w<QLineEdit>("customNameEdit");
    for (int index : indexes)
        combo->setCurrentIndex(index);
    if (!typed.isEmpty())
        QTest::keyClicks(edit, typed);
    if (thenEmptied) {
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString());
    }

    QCOMPARE(!edit->isHidden(), editVisible);
    QTEST(savedPattern(), "pattern");
}

void tst_Options::customName_refusesUnsafeCharacters_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("accepted");

    QTest::newRow("space") << "my clip"
                           << "myclip";
    QTest::newRow("dot") << "a.b"
                         << "ab";
    QTest::newRow("percent") << "x%1"
                             << "x1";
    QTest::newRow("slash and backslash") << "a/b\\c"
                                         << "abc";
    QTest::newRow("non-ASCII letter") << "caf\u00e9"
                                      << "caf";
    QTest::newRow("CJK") << "视频x"
                         << "x";
    QTest::newRow("allowed set") << "Az09_-"
                                 << "Az09_-";
}

void tst_Options::customName_refusesUnsafeCharacters()
{
    QFETCH(QString, typed);
    QFETCH(QString, accepted);

    w<QComboBox>("namingPatternComboBox")->setCurrentIndex(3);
    auto *edit = w<QLineEdit>("customNameEdit");
    // Typed as text, so that letters without a key of their own arrive too.
    for (const QChar c : typed)
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    QCOMPARE(edit->text(), accepted);
    QCOMPARE(savedPattern(), accepted + "_%1");
}

void tst_Options::customName_survivesLeavingCustomEntry()
{
    auto *combo = w<QComboBox>("namingPatternComboBox");
    auto *edit = w<QLineEdit>("customNameEdit");
    combo->setCurrentIndex(3);
    QTest::keyClicks(edit, "clip");
    combo->setCurrentIndex(1);
    QVERIFY(edit->isHidden());
    QCOMPARE(edit->text(), QStringLiteral("clip"));
    QCOMPARE(savedPattern(), QStringLiteral("image_%1"));
    // Coming back shows the old text but does not re-apply it.
    combo->setCurrentIndex(3);
    QVERIFY(!edit->isHidden());
    QCOMPARE(edit->text(), QStringLiteral("clip"));
    QCOMPARE(savedPattern(), QStringLiteral("image_%1"));
}

void tst_Options::quality_labelShowsSliderValue_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("label");
    QTest::newRow("lowest") << 1 << "1%";
    QTest::newRow("middle") << 75 << "75%";
    QTest::newRow("highest") << 100 << "100%";
    QTest::newRow("below range") << -5 << "1%";
    QTest::newRow("above range") << 250 << "100%";
}

void tst_Options::quality_labelShowsSliderValue()
{
    QFETCH(int, value);
    QCOMPARE(w<QLabel>("qualityValueLabel")->text(), QStringLiteral("90%"));
    w<QSlider>("qualitySlider")->setValue(value);
    QTEST(w<QLabel>("qualityValueLabel")->text(), "label");
}

void tst_Options::bitDepth_describesAndStoresAtOnce_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("description");
    QTest::newRow("8-bit") << 0 << "标准8位色彩深度，文件较小";
    QTest::newRow("16-bit") << 1 << "16位色彩深度，更好的色彩表现";
    QTest::newRow("24-bit") << 2 << "标准24位RGB（每通道8位），适合大多数用途";
    QTest::newRow("32-bit") << 3 << "32位色彩深度，最高质量，文件较大";
    QTest::newRow("no entry") << -1 << "";
}

void tst_Options::bitDepth_describesAndStoresAtOnce()
{
    QFETCH(int, index);
    QFETCH(QString, description);

    auto *combo = w<QComboBox>("bitDepthComboBox");
    QCOMPARE(combo->currentIndex(), 2); // every start selects 24 bits
    // Leave 24 bits first so that every row is a change.
    combo->setCurrentIndex(index == 0 ? 1 : 0);
    combo->setCurrentIndex(index);

    QCOMPARE(w<QLabel>("bitDepthLabel")->text(), description);
    QCOMPARE(mainStore().value("bitDepth").toInt(), index);
    // Nothing else reaches the store before the window saves.
    QVERIFY(!mainStore().contains("quality"));
}

void tst_Options::depthNote_saysWhatTheFormatCannotKeep_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("depth"); // the list's index
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("note"); // empty: hidden

    QTest::newRow("JPG, 16 bits") << "JPG" << 1 << "zh_CN"
                                  << "JPG 不能保存每通道 16 位，图片将以每通道 8 位写入";
    QTest::newRow("BMP with alpha") << "BMP" << 3 << "zh_CN"
                                    << "BMP 不能保存透明度，图片将不带透明度写入";
    QTest::newRow("WebP, 16 bits, in English")
        << "WebP" << 1 << "en_US"
        << "WebP cannot keep 16 bits a channel: the images are written with 8 bits a channel";
    QTest::newRow("PNG, 16 bits") << "PNG" << 1 << "zh_CN"
                                  << "";
    QTest::newRow("WebP with alpha") << "WebP" << 3 << "zh_CN"
                                     << "";
    QTest::newRow("JPG, 24 bits") << "JPG" << 2 << "zh_CN"
                                  << "";
    QTest::newRow("JPG, gray") << "JPG" << 0 << "zh_CN"
                               << "";
}

void tst_Options::depthNote_saysWhatTheFormatCannotKeep()
{
    QFETCH(QString, format);
    QFETCH(int, depth);
    QFETCH(QString, language);
    QFETCH(QString, note);

    auto *formats = w<QComboBox>("formatComboBox");
    if (formats->findText(format) < 0)
        QSKIP("Qt cannot write this format here");
    QVERIFY(QMetaObject::invokeMethod(window, "switchLanguage", Q_ARG(QString, language)));
    // Both ways round: the depth after the format, and the format after the depth.
    formats->setCurrentText(format);
    w<QComboBox>("bitDepthComboBox")->setCurrentIndex(depth);
    auto *label = w<QLabel>("depthNoteLabel");
    QCOMPARE(!label->isHidden(), !note.isEmpty());
    if (!note.isEmpty())
        QCOMPARE(label->text(), note);
    formats->setCurrentIndex(formats->findText(format) == 0 ? 1 : 0);
    formats->setCurrentText(format);
    QCOMPARE(!label->isHidden(), !note.isEmpty());
    if (!note.isEmpty())
        QCOMPARE(label->text(), note);
}

void tst_Options::addedOption_isReadStoredRestoredAndReset_data()
{
    QTest::addColumn<JobOption::Id>("option");
    QTest::addColumn<QVariant>("chosen");

    QTest::newRow("a number") << JobOption::Id::Writers << QVariant(3);
    QTest::newRow("a choice") << JobOption::Id::Depth << QVariant("8");
    QTest::newRow("a number unset by default") << JobOption::Id::Height << QVariant(720);
}

void tst_Options::addedOption_isReadStoredRestoredAndReset()
{
    QFETCH(JobOption::Id, option);
    QFETCH(QVariant, chosen);
    const JobOption &row = JobOption::row(option);
    const auto addTo = [&](MainWindow *to) {
        auto *page = to->findChild<OptionsPage *>();
        QWidget *control = page->addOptionControl(option, w<QFormLayout>("filesFormLayout"));
        return std::make_pair(page, control);
    };

    auto [page, control] = addTo(window);
    QVERIFY(control);
    QCOMPARE(control->toolTip(), row.help());
    QCOMPARE(row.get(page->jobOptions()), row.defaultValue);
    if (auto *box = qobject_cast<QSpinBox *>(control)) {
        // One below the range stands for an option left unset.
        QCOMPARE(box->minimum(), int(row.minimum) - (row.defaultValue.isNull() ? 1 : 0));
        QCOMPARE(box->maximum(), int(row.maximum));
        box->setValue(chosen.toInt());
    } else if (auto *box = qobject_cast<QComboBox *>(control)) {
        QCOMPARE(box->count(), row.choiceNames().size());
        box->setCurrentIndex(box->findData(chosen));
    }
    QCOMPARE(row.get(page->jobOptions()), chosen);

    // Stored under the option's name at closing, restored on the next load.
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
    QCOMPARE(mainStore().value(QLatin1String(row.name)), chosen);
    auto *next = new MainWindow;
    auto [nextPage, nextControl] = addTo(next);
    QCOMPARE(row.get(nextPage->jobOptions()), row.defaultValue);
    nextPage->load(Preferences());
    QCOMPARE(row.get(nextPage->jobOptions()), chosen);
    nextPage->reset();
    QCOMPARE(row.get(nextPage->jobOptions()), row.defaultValue);
    Q_UNUSED(nextControl);
    delete next;
}

void tst_Options::controls_takeTheirRangeAndDefaultFromTheOptions_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<JobOption::Id>("option");

    QTest::newRow("frames a second") << "frameRateSpinBox" << JobOption::Id::Rate;
    QTest::newRow("quality") << "qualitySlider" << JobOption::Id::Quality;
    QTest::newRow("seconds apart") << "everySecondsSpinBox" << JobOption::Id::Every;
    QTest::newRow("scene sensitivity") << "sceneSensitivitySpinBox" << JobOption::Id::Scenes;
}

void tst_Options::controls_takeTheirRangeAndDefaultFromTheOptions()
{
    QFETCH(QString, control);
    QFETCH(JobOption::Id, option);
    const JobOption &row = JobOption::row(option);
    QWidget *widget = w(control);
    QVERIFY(widget);
    // A value past each end is brought back to it, on a first start.
    widget->setProperty("value", row.maximum + 1);
    QCOMPARE(widget->property("value").toDouble(), row.maximum);
    widget->setProperty("value", row.minimum - 1);
    QCOMPARE(widget->property("value").toDouble(), row.minimum);
    // Closing stores what it shows; a first start has nothing stored.
    delete window;
    wipeSettings();
    window = new MainWindow;
    QCOMPARE(w(control)->property("value").toDouble(), row.defaultValue.toDouble());
    QVERIFY(!w(control)->toolTip().isEmpty());
}

void tst_Options::besideImages_choicesReachTheJobAndAreKept_data()
{
    QTest::addColumn<JobOption::Id>("option");
    QTest::addColumn<QVariant>("chosen");
    QTest::addColumn<IndexFormat>("index");
    QTest::addColumn<bool>("metadata");
    QTest::addColumn<bool>("sheet");

    QTest::newRow("an index in JSON")
        << JobOption::Id::Index << QVariant("json") << IndexFormat::Json << true << false;
    QTest::newRow("a contact sheet")
        << JobOption::Id::Sheet << QVariant(true) << IndexFormat::None << true << true;
    QTest::newRow("no capture metadata")
        << JobOption::Id::NoMetadata << QVariant(true) << IndexFormat::None << false << false;
}

void tst_Options::besideImages_choicesReachTheJobAndAreKept()
{
    QFETCH(JobOption::Id, option);
    QFETCH(QVariant, chosen);
    QFETCH(IndexFormat, index);
    QFETCH(bool, metadata);
    QFETCH(bool, sheet);
    const JobOption &row = JobOption::row(option);
    const auto choose = [&](MainWindow *in) {
        QWidget *control = in->findChild<QWidget *>(QLatin1String(row.name) + "OptionControl");
        if (auto *box = qobject_cast<QComboBox *>(control))
            box->setCurrentIndex(box->findData(chosen));
        else if (auto *box = qobject_cast<QCheckBox *>(control))
            box->setChecked(chosen.toBool());
        return control != nullptr;
    };
    const auto job = [](MainWindow *of) {
        return of->findChild<OptionsPage *>()->jobOptions();
    };

    // Off by default but for the metadata, which is written unless turned off.
    QCOMPARE(job(window).index, IndexFormat::None);
    QVERIFY(job(window).captureMetadata);
    QVERIFY(!job(window).contactSheet);
    QVERIFY2(choose(window), row.name);
    QCOMPARE(job(window).index, index);
    QCOMPARE(job(window).captureMetadata, metadata);
    QCOMPARE(job(window).contactSheet, sheet);

    // Kept for the next start.
    QCloseEvent close;
    QApplication::sendEvent(window, &close);
    auto *next = new MainWindow;
    next->findChild<OptionsPage *>()->load(Preferences());
    QCOMPARE(job(next).index, index);
    QCOMPARE(job(next).captureMetadata, metadata);
    QCOMPARE(job(next).contactSheet, sheet);
    delete next;
}

void tst_Options::selection_readsEachChoiceWhereItApplies_data()
{
    using Mode = FrameSelection::Mode;
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("sharpestChecked");
    QTest::addColumn<Mode>("mode");
    QTest::addColumn<bool>("sharpest");

    QTest::newRow("count, the last of the list") << 4 << false << Mode::Count << false;
    QTest::newRow("count, sharpest") << 4 << true << Mode::Count << true;
    QTest::newRow("every few seconds, sharpest") << 1 << true << Mode::EverySeconds << true;
    // The box is hidden there; what it still holds must not make a job the
    // engine refuses.
    QTest::newRow("a rate: sharpest left out") << 0 << true << Mode::FramesPerSecond << false;
    QTest::newRow("keyframes: sharpest left out") << 2 << true << Mode::Keyframes << false;
}

void tst_Options::selection_readsEachChoiceWhereItApplies()
{
    using Mode = FrameSelection::Mode;
    QFETCH(int, index);
    QFETCH(bool, sharpestChecked);
    QFETCH(Mode, mode);
    QFETCH(bool, sharpest);

    auto *page = window->findChild<OptionsPage *>();
    w<QComboBox>("selectionModeComboBox")->setCurrentIndex(index);
    w<QSpinBox>("countOptionControl")->setValue(25);
    w<QCheckBox>("sharpestOptionControl")->setChecked(sharpestChecked);
    w<QCheckBox>("distinctOptionControl")->setChecked(true);
    w<QCheckBox>("skip-blackOptionControl")->setChecked(true);
    w<QSpinBox>("distinct-sensitivityOptionControl")->setValue(70);
    const ExtractionJob job = page->jobOptions();
    QCOMPARE(job.selection.mode, mode);
    QCOMPARE(job.selection.count, 25);
    QCOMPARE(job.selection.sharpest, sharpest);
    QVERIFY(job.selection.distinct);
    QVERIFY(job.selection.skipBlack);
    QCOMPARE(job.selection.distinctSensitivity, 70);
    const std::optional<OptionProblem> problem = job.validate();
    QVERIFY2(!problem, qPrintable(problem ? problem->message() : QString()));
}

QTEST_MAIN(tst_Options)
#include "tst_options.moc"
