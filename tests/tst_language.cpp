#include "mainwindow.h"
#include "startup.h"
#include "testsupport.h"
#include "videoprocessor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLayout>
#include <QLibraryInfo>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStyleOptionComboBox>
#include <QStyleOptionFrame>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include <memory>

class tst_Language : public QObject
{
    Q_OBJECT

public:
    tst_Language() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void init() { wipeSettings(); }
    void cleanup()
    {
        window.reset();
        wipeSettings();
        QLocale::setDefault(QLocale::system());
    }

    void catalogs_translateEveryTextOfTheCode_data();
    void catalogs_translateEveryTextOfTheCode();
    void simplifiedCatalog_holdsNoMessages();
    void switch_toLanguageInForce_doesNothing();
    void switch_roundTrip_retextsAndKeepsValues();
    void unknownStoredCode_fallsBackToSimplifiedChinese();
    void systemLanguages_giveTheFirstOneSpoken_data();
    void systemLanguages_giveTheFirstOneSpoken();
    void firstStart_followsTheSystemUnlessAChoiceIsStored_data();
    void firstStart_followsTheSystemUnlessAChoiceIsStored();
    void storedEnglish_isInForceWhenShown();
    void startLanguage_bringsQtsOwnTexts_data();
    void startLanguage_bringsQtsOwnTexts();
    void engineMessages_comeInNewLanguage();
    void menu_isBuiltOnceAndShowsLanguages();
    void menu_checkMarkStaysAfterReset();
    void about_opensModallyInCurrentLanguage();
    void texts_fitWholeAtTheWindowsSize_data();
    void texts_fitWholeAtTheWindowsSize();

private:
    void start()
    {
        window = std::make_unique<MainWindow>();
        window->show();
    }
    void invoke(const char *slot) { QVERIFY(QMetaObject::invokeMethod(window.get(), slot)); }
    QString storedLanguage() const { return languageStore().value("language").toString(); }
    // Opens the popup menu and runs `inMenu` while it is shown, then closes it.
    void withMenu(const std::function<void(QMenu *)> &inMenu);

    std::unique_ptr<MainWindow> window;
};

void tst_Language::catalogs_translateEveryTextOfTheCode_data()
{
    QTest::addColumn<QString>("context");
    QTest::addColumn<QString>("source");

    // Extract the texts from the code as it is now, so that a text added without
    // a translation fails here.
    static QTemporaryDir dir;
    const QString ts = dir.filePath("extracted.ts");
    QProcess lupdate;
    lupdate.start(QStringLiteral(LUPDATE_PATH),
        {"-silent", "-locations", "none", QStringLiteral(OSKIVO_SOURCE_DIR "/src"), "-ts", ts});
    QVERIFY(lupdate.waitForFinished(120000));
    QCOMPARE(lupdate.exitCode(), 0);

    QFile file(ts);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString context;
    int count = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == u"name") {
            context = xml.readElementText();
        } else if (xml.name() == u"source") {
            const QString source = xml.readElementText();
            QTest::addRow("%s %d", qPrintable(context), ++count) << context << source;
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY(count > 80);
}

void tst_Language::catalogs_translateEveryTextOfTheCode()
{
    QFETCH(QString, context);
    QFETCH(QString, source);

    for (const char *code : {"en_US", "zh_TW"}) {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/translations/lang_%1.qm").arg(code)));
        const QString translation
            = translator.translate(context.toUtf8().constData(), source.toUtf8().constData());
        QVERIFY2(!translation.isEmpty(),
            qPrintable(QStringLiteral("%1 lacks %2: %3").arg(code, context, source)));
    }
}

void tst_Language::simplifiedCatalog_holdsNoMessages()
{
    QFile catalog(":/translations/lang_zh_CN.qm");
    QVERIFY(catalog.open(QIODevice::ReadOnly));
    QCOMPARE(catalog.size(), 26);
    QTranslator translator;
    QVERIFY(translator.load(catalog.fileName()));
    QVERIFY(translator.isEmpty());
    QCOMPARE(translator.language(), QStringLiteral("zh_CN"));
}

void tst_Language::switch_toLanguageInForce_doesNothing()
{
    start();
    w<QLabel>("statusLabel")->setText("kept");
    invoke("switchToChineseSimplified");
    QCOMPARE(w<QLabel>("statusLabel")->text(), QStringLiteral("kept"));
    QVERIFY(!languageStore().contains("language"));
}

void tst_Language::switch_roundTrip_retextsAndKeepsValues()
{
    start();
    auto *formats = w<QComboBox>("formatComboBox");
    QStringList entries;
    for (int i = 0; i < formats->count(); ++i)
        entries << formats->itemText(i);
    formats->setCurrentIndex(2);
    w<QSlider>("qualitySlider")->setValue(40);

    const struct
    {
        const char *slot;
        const char *code;
        const char *home;
        const char *start;
        const char *play;
        const char *depth;
    } steps[] = {
        {"switchToEnglish", "en_US", "Home", "Conversion", "Play",
            "Standard 24-bit RGB (8 bits per channel), suitable for most purposes"},
        {"switchToChineseTraditional", "zh_TW", "首頁", "開始轉換", "播放",
            "標準24位元RGB（每通道8位元），適合大多數用途"},
        {"switchToChineseSimplified", "zh_CN", "首页", "开始转换", "播放",
            "标准24位RGB（每通道8位），适合大多数用途"},
    };
    for (const auto &step : steps) {
        invoke(step.slot);
        QCOMPARE(storedLanguage(), QString::fromLatin1(step.code));
        QCOMPARE(w<QToolButton>("homeButton")->text(), QString::fromUtf8(step.home));
        QCOMPARE(w<QPushButton>("startButton")->text(), QString::fromUtf8(step.start));
        QCOMPARE(w<QPushButton>("playPauseButton")->accessibleName(), QString::fromUtf8(step.play));
        QCOMPARE(w<QLabel>("bitDepthLabel")->text(), QString::fromUtf8(step.depth));
        QCOMPARE(w<QLabel>("qualityValueLabel")->text(), QStringLiteral("40%"));
        QCOMPARE(w<QLabel>("timeLabel")->text(), QStringLiteral("00:00:00"));
        QStringList now;
        for (int i = 0; i < formats->count(); ++i)
            now << formats->itemText(i);
        QCOMPARE(now, entries);
        QCOMPARE(formats->currentIndex(), 2);
    }
}

void tst_Language::unknownStoredCode_fallsBackToSimplifiedChinese()
{
    languageStore().setValue("language", "fr_FR");
    QTest::ignoreMessage(
        QtWarningMsg, "Translation file not found: \":/translations/lang_fr_FR.qm\"");
    start();
    QCOMPARE(storedLanguage(), QStringLiteral("zh_CN"));
    QCOMPARE(w<QToolButton>("homeButton")->text(), QStringLiteral("首页"));
}

void tst_Language::systemLanguages_giveTheFirstOneSpoken_data()
{
    QTest::addColumn<QStringList>("uiLanguages");
    QTest::addColumn<QString>("code"); // empty: none of the three

    QTest::newRow("American English") << QStringList {"en-US"} << "en_US";
    QTest::newRow("British English") << QStringList {"en-GB", "en"} << "en_US";
    QTest::newRow("mainland China") << QStringList {"zh-CN"} << "zh_CN";
    QTest::newRow("Singapore") << QStringList {"zh-SG"} << "zh_CN";
    QTest::newRow("Chinese without a place") << QStringList {"zh"} << "zh_CN";
    QTest::newRow("Taiwan") << QStringList {"zh-TW"} << "zh_TW";
    QTest::newRow("Hong Kong") << QStringList {"zh-HK"} << "zh_TW";
    QTest::newRow("Traditional script") << QStringList {"zh-Hant"} << "zh_TW";
    QTest::newRow("Simplified script in Hong Kong") << QStringList {"zh-Hans-HK"} << "zh_CN";
    QTest::newRow("German, then English") << QStringList {"de-DE", "en"} << "en_US";
    QTest::newRow("Traditional before English") << QStringList {"zh-TW", "en-US"} << "zh_TW";
    QTest::newRow("French only") << QStringList {"fr-FR", "fr"} << "";
    QTest::newRow("the C locale") << QStringList {"C"} << "";
    QTest::newRow("nothing") << QStringList {} << "";
}

void tst_Language::systemLanguages_giveTheFirstOneSpoken()
{
    QFETCH(QStringList, uiLanguages);
    QFETCH(QString, code);
    QCOMPARE(Preferences::languageFor(uiLanguages), code);
}

void tst_Language::firstStart_followsTheSystemUnlessAChoiceIsStored_data()
{
    QTest::addColumn<QString>("system"); // the default locale's name
    QTest::addColumn<QString>("stored"); // empty: nothing stored
    QTest::addColumn<QString>("home"); // the home button's text
    QTest::addColumn<QString>("storedAfter"); // empty: still nothing stored

    QTest::newRow("English system, nothing stored") << "en_US"
                                                    << ""
                                                    << "Home"
                                                    << "";
    QTest::newRow("Taiwanese system, nothing stored") << "zh_TW"
                                                      << ""
                                                      << "首頁"
                                                      << "";
    QTest::newRow("German system, nothing stored") << "de_DE"
                                                   << ""
                                                   << "首页"
                                                   << "";
    QTest::newRow("stored Simplified Chinese wins") << "en_US"
                                                    << "zh_CN"
                                                    << "首页"
                                                    << "zh_CN";
    QTest::newRow("stored English wins") << "zh_TW"
                                         << "en_US"
                                         << "Home"
                                         << "en_US";
}

void tst_Language::firstStart_followsTheSystemUnlessAChoiceIsStored()
{
    QFETCH(QString, system);
    QFETCH(QString, stored);
    QFETCH(QString, home);
    QFETCH(QString, storedAfter);

    QLocale::setDefault(QLocale(system));
    if (!stored.isEmpty())
        languageStore().setValue("language", stored);
    start();
    QCOMPARE(w<QToolButton>("homeButton")->text(), home);
    QCOMPARE(languageStore().value("language").toString(), storedAfter);

    // The language taken from the system is the one in force: choosing it again changes nothing.
    w<QLabel>("statusLabel")->setText("kept");
    const QString inForce = storedAfter.isEmpty() ? Preferences::language() : storedAfter;
    QVERIFY(QMetaObject::invokeMethod(window.get(), "switchLanguage", Q_ARG(QString, inForce)));
    QCOMPARE(w<QLabel>("statusLabel")->text(), QStringLiteral("kept"));
}

void tst_Language::storedEnglish_isInForceWhenShown()
{
    languageStore().setValue("language", "en_US");
    start();
    QCOMPARE(window->windowTitle(), QStringLiteral("Oskivo"));
    QCOMPARE(w<QToolButton>("configButton")->text(), QStringLiteral("Advanced"));
    QCOMPARE(w<QLabel>("label")->text(), QStringLiteral("Output Directory:"));
    // Qt's own catalog is installed too where Debian ships it.
    QCOMPARE(QCoreApplication::translate("MainWindow", "警告"), QStringLiteral("Warning"));
}

void tst_Language::startLanguage_bringsQtsOwnTexts_data()
{
    QTest::addColumn<QString>("stored"); // empty: nothing stored, a first start
    QTest::addColumn<QString>("yes"); // the Yes button of the window's question

    QTest::newRow("first start, Simplified Chinese") << ""
                                                     << "是(&Y)";
    QTest::newRow("stored Simplified Chinese") << "zh_CN"
                                               << "是(&Y)";
    QTest::newRow("stored Traditional Chinese") << "zh_TW"
                                                << "是(&Y)";
    QTest::newRow("stored English") << "en_US"
                                    << "&Yes";
}

void tst_Language::startLanguage_bringsQtsOwnTexts()
{
    QFETCH(QString, stored);
    QFETCH(QString, yes);

    const QString code = stored.isEmpty() ? QStringLiteral("zh_CN") : stored;
    if (!QFile::exists(
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_" + code + ".qm"))
        QSKIP("Qt's own catalogs are not installed");
    if (!stored.isEmpty())
        languageStore().setValue("language", stored);
    start();

    QString shown;
    BoxAnswerer no(QMessageBox::No);
    no.beforeAnswer = [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        shown = box->button(QMessageBox::Yes)->text();
    };
    w<QAbstractButton>("closeButton")->click();
    QVERIFY(no.seen);
    QCOMPARE(shown, yes);
}

void tst_Language::engineMessages_comeInNewLanguage()
{
    start();
    invoke("switchToEnglish");
    auto *processor = window->findChild<VideoProcessor *>();
    QSignalSpy error(processor, &VideoProcessor::error);
    QTemporaryDir dir;
    window->chooseVideos({dir.filePath("missing.mp4")});
    auto *output = w<QLineEdit>("outputLineEdit");
    output->setText(dir.path());
    emit output->editingFinished();
    BoxAnswerer failed;
    w<QPushButton>("startButton")->click();
    QVERIFY(error.wait(10000));
    QTRY_VERIFY(failed.seen);
    QCOMPARE(error.first().first().toString(), QStringLiteral("Unable to open video file"));
    QCOMPARE(failed.title, QStringLiteral("Error"));
    QCOMPARE(failed.text,
        QStringLiteral("An error occurred during processing: Unable to open video file"));
}

void tst_Language::withMenu(const std::function<void(QMenu *)> &inMenu)
{
    bool shown = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        poll.stop();
        shown = true;
        inMenu(menu);
        menu->close();
    });
    poll.start(10);
    w<QPushButton>("menuButton")->click();
    QVERIFY(shown);
}

void tst_Language::menu_isBuiltOnceAndShowsLanguages()
{
    languageStore().setValue("language", "en_US");
    start();
    // Room to the right of the button, so that the screen edge does not push the menu.
    window->move(-640, 0);
    QMenu *first = nullptr;
    QStringList texts;
    QList<bool> checked;
    QPoint pos;
    withMenu([&](QMenu *menu) {
        first = menu;
        pos = menu->pos();
        for (QAction *action : menu->actions()) {
            texts << action->text();
            checked << action->isChecked();
        }
        QCOMPARE(menu->styleSheet().size(), 178);
        QCOMPARE(menu->parent(), window.get());
    });
    QCOMPARE(texts,
        (QStringList {"简体中文", "繁體中文", "English", "", "One-click Reset", "About Us"}));
    QCOMPARE(checked, (QList<bool> {false, false, true, false, false, false}));
    auto *button = w<QPushButton>("menuButton");
    QCOMPARE(pos, button->mapToGlobal(QPoint(0, button->height())));

    // Choosing Traditional Chinese moves the check and re-texts the same menu.
    withMenu([&](QMenu *menu) {
        QCOMPARE(menu, first);
        menu->actions().at(1)->trigger();
    });
    QCOMPARE(storedLanguage(), QStringLiteral("zh_TW"));
    withMenu([&](QMenu *menu) {
        QCOMPARE(menu, first);
        QCOMPARE(menu->actions().size(), 6);
        QVERIFY(menu->actions().at(1)->isChecked());
        QVERIFY(!menu->actions().at(2)->isChecked());
        QCOMPARE(menu->actions().at(4)->text(), QStringLiteral("一鍵重置"));
        QCOMPARE(menu->actions().at(5)->text(), QStringLiteral("關於我們"));
    });
}

void tst_Language::menu_checkMarkStaysAfterReset()
{
    start();
    withMenu([](QMenu *menu) { menu->actions().at(2)->trigger(); });
    QCOMPARE(storedLanguage(), QStringLiteral("en_US"));
    {
        BoxAnswerer answers({QMessageBox::Yes, QMessageBox::Ok});
        withMenu([](QMenu *menu) { menu->actions().at(4)->trigger(); });
        QCOMPARE(answers.boxes.size(), 2);
        QCOMPARE(answers.boxes.at(0).title, QStringLiteral("Confirm Reset"));
    }
    QCOMPARE(storedLanguage(), QStringLiteral("zh_CN"));
    withMenu([](QMenu *menu) {
        QVERIFY(menu->actions().at(2)->isChecked());
        QCOMPARE(menu->actions().at(4)->text(), QStringLiteral("一键重置"));
    });
}

void tst_Language::about_opensModallyInCurrentLanguage()
{
    start();
    invoke("switchToEnglish");
    QString title;
    QWidget *parent = nullptr;
    QTimer poll;
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != u"AboutDialog")
            return;
        poll.stop();
        title = dialog->windowTitle();
        parent = dialog->parentWidget();
        dialog->reject();
    });
    poll.start(10);
    withMenu([](QMenu *menu) { menu->actions().at(5)->trigger(); });
    QCOMPARE(title, QStringLiteral("About Oskivo"));
    QCOMPARE(parent, window.get());
    QCOMPARE(window->findChildren<QDialog *>().size(), 0); // gone once closed
}

namespace {

// What of `widget`'s texts does not fit in it as laid out: a button or label
// narrower than its text needs, a list entry wider than the closed list, a
// placeholder wider than its field. Each as "name: text".
QStringList clippedTexts(QWidget *widget)
{
    QStringList clipped;
    const auto note = [&](const QString &text, int needs, int has) {
        clipped << QStringLiteral("%1: \"%2\" needs %3 px, has %4")
                       .arg(widget->objectName(), text)
                       .arg(needs)
                       .arg(has);
    };
    if (auto *tool = qobject_cast<QToolButton *>(widget);
        tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
        return clipped;
    if (auto *button = qobject_cast<QAbstractButton *>(widget)) {
        if (!button->text().isEmpty() && button->width() < button->sizeHint().width())
            note(button->text(), button->sizeHint().width(), button->width());
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty())
            return clipped;
        if (label->wordWrap()) {
            if (label->height() < label->heightForWidth(label->width()))
                note(label->text(), label->heightForWidth(label->width()), label->height());
        } else if (label->width() < label->sizeHint().width()) {
            note(label->text(), label->sizeHint().width(), label->width());
        }
    } else if (auto *combo = qobject_cast<QComboBox *>(widget)) {
        for (int i = 0; i < combo->count(); ++i) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            option.currentText = combo->itemText(i);
            const QSize text(combo->fontMetrics().horizontalAdvance(option.currentText),
                combo->fontMetrics().height());
            const int needs = combo->style()
                                  ->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo)
                                  .width();
            if (combo->width() < needs)
                note(option.currentText, needs, combo->width());
        }
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        if (edit->placeholderText().isEmpty())
            return clipped;
        QStyleOptionFrame option;
        option.initFrom(edit);
        option.lineWidth = edit->hasFrame()
            ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
            : 0;
        const QRect contents = edit->style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &option, edit)
                                   .marginsRemoved(edit->textMargins());
        // QLineEdit keeps two pixels of its own on either side of the text.
        const int room = contents.width() - 4;
        const int needs = edit->fontMetrics().horizontalAdvance(edit->placeholderText());
        if (room < needs)
            note(edit->placeholderText(), needs, room);
    }
    return clipped;
}

// The texts that do not fit among the shown widgets of the window's current page
// and its frame.
QStringList clippedTextsShown(QWidget *window)
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QStringList clipped;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (widget->isVisibleTo(window) && widget->window() == window)
            clipped << clippedTexts(widget);
    }
    return clipped;
}

} // namespace

void tst_Language::texts_fitWholeAtTheWindowsSize_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("page");

    for (const char *code : {"zh_CN", "zh_TW", "en_US"}) {
        QTest::addRow("%s, home page", code) << code << 0;
        QTest::addRow("%s, advanced page", code) << code << 1;
    }
}

void tst_Language::texts_fitWholeAtTheWindowsSize()
{
    QFETCH(QString, code);
    QFETCH(int, page);

    // As the program starts: the style sheet sets the buttons' font and padding.
    QVERIFY(loadStyleSheet(*qApp));
    const auto plain = qScopeGuard([] { qApp->setStyleSheet(QString()); });
    languageStore().setValue("language", code);
    start();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QCOMPARE(window->size(), QSize(960, 640));
    w<QAbstractButton>(page == 0 ? "homeButton" : "configButton")->click();
    QCOMPARE(w<QStackedWidget>("stackedWidget")->currentIndex(), page);

    QStringList clipped = clippedTextsShown(window.get());
    // Each way of choosing frames shows settings of its own, each depth a
    // description, and a depth JPG cannot keep a note.
    for (const char *list : {"selectionModeComboBox", "bitDepthComboBox"}) {
        auto *entries = page == 1 ? w<QComboBox>(list) : nullptr;
        for (int entry = 0; entries && entry < entries->count(); ++entry) {
            entries->setCurrentIndex(entry);
            clipped << clippedTextsShown(window.get());
        }
    }
    clipped.removeDuplicates();
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1Char('\n'))));
}

QTEST_MAIN(tst_Language)
#include "tst_language.moc"
