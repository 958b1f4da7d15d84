#include "aboutdialog.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QBoxLayout>
#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QGraphicsView>
#include <QLabel>
#include <QLayout>
#include <QProgressBar>
#include <QSpacerItem>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QtTest>

#include <memory>

// Checks the main window's widget tree against its design: names, classes, parents,
// layouts with their items in order, properties and source texts.
class tst_MainWindowForm : public QObject
{
    Q_OBJECT

public:
    tst_MainWindowForm() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void initTestCase()
    {
        wipeSettings();
        window = new MainWindow;
    }
    void cleanupTestCase()
    {
        delete window;
        wipeSettings();
    }

    void widgets_haveClassAndParent_data();
    void widgets_haveClassAndParent();
    void layouts_holdTheirItemsInOrder_data();
    void layouts_holdTheirItemsInOrder();
    void properties_haveDesignValues_data();
    void properties_haveDesignValues();
    void texts_areSourceTexts_data();
    void texts_areSourceTexts();
    void icons_comeFromTheBundle_data();
    void icons_comeFromTheBundle();
    void focusChain_followsCreationOrder();
    void buttonGroup_isExclusiveWithBothNavigationButtons();
    void buttons_haveANameForScreenReaders_data();
    void buttons_haveANameForScreenReaders();

private:
    MainWindow *window = nullptr;
};

void tst_MainWindowForm::widgets_haveClassAndParent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");

    const char *rows[][3] = {
        {"centralwidget", "QWidget", "MainWindow"},
        {"frameMian", "QFrame", "centralwidget"},
        {"frameMenu", "QFrame", "frameMian"},
        {"logoButton", "QPushButton", "frameMenu"},
        {"homeButton", "QToolButton", "frameMenu"},
        {"configButton", "QToolButton", "frameMenu"},
        {"headerFrame", "QFrame", "frameMian"},
        {"label_6", "QLabel", "headerFrame"},
        {"statusLabel", "QLabel", "headerFrame"},
        {"menuButton", "QPushButton", "headerFrame"},
        {"minButton", "QPushButton", "headerFrame"},
        {"closeButton", "QPushButton", "headerFrame"},
        {"stackedWidget", "QStackedWidget", "frameMian"},
        {"page", "QWidget", "stackedWidget"},
        {"videoLineEdit", "QLineEdit", "page"},
        {"selectVideoButton", "QPushButton", "page"},
        {"videoView", "QGraphicsView", "page"},
        {"frame", "QFrame", "page"},
        {"label", "QLabel", "frame"},
        {"outputLineEdit", "QLineEdit", "frame"},
        {"selectOutputButton", "QPushButton", "frame"},
        {"timeLabel", "QLabel", "page"},
        {"label_5", "QLabel", "page"},
        {"durationLabel", "QLabel", "page"},
        {"playPauseButton", "QPushButton", "page"},
        {"stopButton", "QPushButton", "page"},
        {"saveFrameButton", "QPushButton", "page"},
        {"markStartButton", "QPushButton", "page"},
        {"markEndButton", "QPushButton", "page"},
        {"stopCButton", "QPushButton", "frame"},
        {"startButton", "QPushButton", "frame"},
        {"progressBar", "QProgressBar", "page"},
        {"page_2", "QWidget", "stackedWidget"},
        {"selectionGroupBox", "QGroupBox", "page_2"},
        {"pictureGroupBox", "QGroupBox", "page_2"},
        {"filesGroupBox", "QGroupBox", "page_2"},
        {"label_8", "QLabel", "pictureGroupBox"},
        {"bitDepthComboBox", "QComboBox", "pictureGroupBox"},
        {"bitDepthLabel", "QLabel", "pictureGroupBox"},
        {"label_9", "QLabel", "filesGroupBox"},
        {"namingPatternComboBox", "QComboBox", "filesGroupBox"},
        {"customNameEdit", "QLineEdit", "filesGroupBox"},
        {"subfolderCheckBox", "QCheckBox", "filesGroupBox"},
        {"timeInNamesCheckBox", "QCheckBox", "filesGroupBox"},
        {"label_3", "QLabel", "pictureGroupBox"},
        {"qualitySlider", "QSlider", "pictureGroupBox"},
        {"qualityValueLabel", "QLabel", "pictureGroupBox"},
        {"selectionModeLabel", "QLabel", "selectionGroupBox"},
        {"selectionModeComboBox", "QComboBox", "selectionGroupBox"},
        {"label_2", "QLabel", "selectionGroupBox"},
        {"frameRateSpinBox", "QSpinBox", "selectionGroupBox"},
        {"everySecondsLabel", "QLabel", "selectionGroupBox"},
        {"everySecondsSpinBox", "QDoubleSpinBox", "selectionGroupBox"},
        {"sceneSensitivityLabel", "QLabel", "selectionGroupBox"},
        {"sceneSensitivitySpinBox", "QSpinBox", "selectionGroupBox"},
        {"startTimeLabel", "QLabel", "selectionGroupBox"},
        {"startTimeEdit", "QLineEdit", "selectionGroupBox"},
        {"endTimeLabel", "QLabel", "selectionGroupBox"},
        {"endTimeEdit", "QLineEdit", "selectionGroupBox"},
        {"label_4", "QLabel", "pictureGroupBox"},
        {"formatComboBox", "QComboBox", "pictureGroupBox"},
        {"buttonGroup", "QButtonGroup", "MainWindow"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[0] << row[1] << row[2];
}

void tst_MainWindowForm::widgets_haveClassAndParent()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);

    if (name == u"centralwidget")
        QCOMPARE(window->objectName(), QStringLiteral("MainWindow"));
    const QList<QObject *> found = window->findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    QObject *object = found.first();
    QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
    QVERIFY(object->parent());
    QCOMPARE(object->parent()->objectName(), parentName);
    if (auto *stack = qobject_cast<QStackedWidget *>(object->parent()))
        QCOMPARE(stack->indexOf(qobject_cast<QWidget *>(object)), name == u"page" ? 0 : 1);
}

void tst_MainWindowForm::layouts_holdTheirItemsInOrder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("owner"); // widget it is set on, or "" when nested
    QTest::addColumn<QStringList>("items"); // object names; "|" a vertical, "-" a horizontal spacer
    QTest::addColumn<int>("spacing"); // -1: left at the default
    QTest::addColumn<QList<int>>("margins"); // empty: left at the default

    using L = QList<int>;
    QTest::newRow("verticalLayout")
        << "verticalLayout"
        << "QVBoxLayout"
        << "centralwidget" << QStringList {"frameMian"} << 0 << L {10, 10, 10, 10};
    QTest::newRow("verticalLayout_3")
        << "verticalLayout_3"
        << "QVBoxLayout"
        << "frameMian" << QStringList {"horizontalLayout_2"} << 0 << L {0, 0, 0, 0};
    QTest::newRow("horizontalLayout_2")
        << "horizontalLayout_2"
        << "QHBoxLayout"
        << "" << QStringList {"frameMenu", "verticalLayout_9"} << -1 << L {};
    QTest::newRow("verticalLayout_6")
        << "verticalLayout_6"
        << "QVBoxLayout"
        << "frameMenu" << QStringList {"logoButton", "homeButton", "configButton", "|"} << 0
        << L {0, 0, 0, 0};
    QTest::newRow("verticalLayout_9")
        << "verticalLayout_9"
        << "QVBoxLayout"
        << "" << QStringList {"headerFrame", "stackedWidget"} << -1 << L {};
    QTest::newRow("horizontalLayout")
        << "horizontalLayout"
        << "QHBoxLayout"
        << "headerFrame"
        << QStringList {"label_6", "statusLabel", "-", "menuButton", "minButton", "closeButton"}
        << -1 << L {};
    QTest::newRow("verticalLayout_2")
        << "verticalLayout_2"
        << "QVBoxLayout"
        << "page" << QStringList {"horizontalLayout_6", "videoLayout", "progressBar"} << -1
        << L {10, 0, 10, 10};
    QTest::newRow("horizontalLayout_6")
        << "horizontalLayout_6"
        << "QHBoxLayout"
        << "" << QStringList {"videoLineEdit", "selectVideoButton"} << -1 << L {};
    QTest::newRow("videoLayout") << "videoLayout"
                                 << "QVBoxLayout"
                                 << ""
                                 << QStringList {"videoView", "positionSlider", "playerLayout",
                                        "frame"}
                                 << 10 << L {0, 0, 0, 0};
    QTest::newRow("playerLayout") << "playerLayout"
                                  << "QHBoxLayout"
                                  << ""
                                  << QStringList {"playPauseButton", "stopButton",
                                         "saveFrameButton", "markStartButton", "markEndButton", "-",
                                         "timeLabel", "label_5", "durationLabel"}
                                  << -1 << L {};
    QTest::newRow("horizontalLayout_4")
        << "horizontalLayout_4"
        << "QHBoxLayout"
        << "frame" << QStringList {"controlLayout"} << 5 << L {0, 0, 0, 0};
    QTest::newRow("controlLayout")
        << "controlLayout"
        << "QHBoxLayout"
        << "" << QStringList {"horizontalLayout_5", "stopCButton", "startButton"} << -1 << L {};
    QTest::newRow("horizontalLayout_5")
        << "horizontalLayout_5"
        << "QHBoxLayout"
        << "" << QStringList {"label", "outputLineEdit", "selectOutputButton"} << -1 << L {};
    QTest::newRow("verticalLayout_5")
        << "verticalLayout_5"
        << "QVBoxLayout"
        << "page_2" << QStringList {"optionColumnsLayout"} << 10 << L {15, 0, 15, 15};
    QTest::newRow("optionColumnsLayout")
        << "optionColumnsLayout"
        << "QHBoxLayout"
        << "" << QStringList {"optionLeftColumnLayout", "optionRightColumnLayout"} << 15 << L {};
    QTest::newRow("optionLeftColumnLayout")
        << "optionLeftColumnLayout"
        << "QVBoxLayout"
        << "" << QStringList {"selectionGroupBox", "|"} << -1 << L {};
    QTest::newRow("optionRightColumnLayout")
        << "optionRightColumnLayout"
        << "QVBoxLayout"
        << "" << QStringList {"pictureGroupBox", "filesGroupBox", "|"} << -1 << L {};
    QTest::newRow("horizontalLayout_7")
        << "horizontalLayout_7"
        << "QHBoxLayout"
        << "" << QStringList {"qualitySlider", "qualityValueLabel"} << -1 << L {};
}

void tst_MainWindowForm::layouts_holdTheirItemsInOrder()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, owner);
    QFETCH(QStringList, items);
    QFETCH(int, spacing);
    QFETCH(QList<int>, margins);

    auto *layout = w<QLayout>(name);
    QVERIFY(layout);
    QCOMPARE(QString::fromLatin1(layout->metaObject()->className()), className);
    if (owner.isEmpty()) {
        QVERIFY2(qobject_cast<QLayout *>(layout->parent()), "a nested layout sits in a layout");
    } else {
        QVERIFY(layout->parentWidget());
        QCOMPARE(layout->parentWidget()->objectName(), owner);
        QCOMPARE(layout->parentWidget()->layout(), layout);
    }

    QCOMPARE(layout->count(), items.size());
    auto *box = qobject_cast<QBoxLayout *>(layout);
    for (int i = 0; i < items.size(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        const QString expected = items.at(i);
        QVERIFY(!item->alignment());
        QCOMPARE(box->stretch(i), 0);
        if (expected == u"|" || expected == u"-") {
            QSpacerItem *spacer = item->spacerItem();
            QVERIFY2(spacer, qPrintable(QString("item %1 is a spacer").arg(i)));
            const bool vertical = expected == u"|";
            QCOMPARE(spacer->sizeHint(), vertical ? QSize(20, 40) : QSize(40, 20));
            const QSizePolicy policy = spacer->sizePolicy();
            QCOMPARE(policy.horizontalPolicy(),
                vertical ? QSizePolicy::Minimum : QSizePolicy::Expanding);
            QCOMPARE(
                policy.verticalPolicy(), vertical ? QSizePolicy::Expanding : QSizePolicy::Minimum);
        } else if (item->widget()) {
            QCOMPARE(item->widget()->objectName(), expected);
        } else {
            QVERIFY(item->layout());
            QCOMPARE(item->layout()->objectName(), expected);
        }
    }

    if (spacing >= 0)
        QCOMPARE(layout->spacing(), spacing);
    if (!margins.isEmpty()) {
        const QMargins m = layout->contentsMargins();
        QCOMPARE((QList<int> {m.left(), m.top(), m.right(), m.bottom()}), margins);
    }
}

void tst_MainWindowForm::properties_haveDesignValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");

    const int max = QWIDGETSIZE_MAX;
    auto row = [](const char *name, const char *property, const QVariant &value) {
        QTest::addRow("%s %s", name, property) << name << QByteArray(property) << value;
    };
    const QVariant styled = QVariant::fromValue(QFrame::StyledPanel);
    const QVariant raised = QVariant::fromValue(QFrame::Raised);

    row("frameMian", "minimumSize", QSize(0, 0));
    row("frameMian", "frameShape", styled);
    row("frameMian", "frameShadow", raised);
    row("frameMenu", "minimumSize", QSize(0, 0));
    row("frameMenu", "maximumSize", QSize(60, max));
    row("frameMenu", "frameShape", styled);
    row("frameMenu", "frameShadow", raised);
    row("logoButton", "minimumSize", QSize(0, 32));
    row("logoButton", "maximumSize", QSize(max, 50));
    row("logoButton", "iconSize", QSize(32, 32));
    row("homeButton", "iconSize", QSize(24, 24));
    row("homeButton", "checkable", true);
    row("homeButton", "checked", true);
    row("homeButton", "toolButtonStyle", QVariant::fromValue(Qt::ToolButtonIconOnly));
    row("configButton", "iconSize", QSize(24, 24));
    row("configButton", "checkable", true);
    row("configButton", "checked", false);
    row("headerFrame", "minimumSize", QSize(0, 50));
    row("headerFrame", "maximumSize", QSize(max, 50));
    row("headerFrame", "frameShape", styled);
    row("headerFrame", "frameShadow", raised);
    row("stackedWidget", "minimumSize", QSize(0, 0));
    row("stackedWidget", "currentIndex", 0);
    row("frame", "frameShape", styled);
    row("frame", "frameShadow", raised);
    for (const char *button : {"playPauseButton", "stopButton", "saveFrameButton",
             "markStartButton", "markEndButton", "stopCButton", "startButton"})
        row(button, "minimumSize", QSize(0, 40));
    row("progressBar", "value", 0);
    row("progressBar", "textDirection", QVariant::fromValue(QProgressBar::BottomToTop));
    row("bitDepthComboBox", "count", 4);
    row("bitDepthComboBox", "minimumSize", QSize(80, 0));
    row("bitDepthLabel", "styleSheet", QStringLiteral("color: #666; font-size: 11px;"));
    row("namingPatternComboBox", "count", 4);
    row("namingPatternComboBox", "minimumSize", QSize(120, 0));
    row("subfolderCheckBox", "checked", true);
    row("qualitySlider", "minimum", 1);
    row("qualitySlider", "maximum", 100);
    row("qualitySlider", "value", 90);
    row("qualitySlider", "orientation", QVariant::fromValue(Qt::Horizontal));
    row("frameRateSpinBox", "minimumSize", QSize(80, 0));
    row("frameRateSpinBox", "minimum", 1);
    row("frameRateSpinBox", "maximum", 60);
    row("frameRateSpinBox", "value", 5);
    row("formatComboBox", "minimumSize", QSize(180, 0));
}

void tst_MainWindowForm::properties_haveDesignValues()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);

    QObject *object = name == u"MainWindow" ? window : w<QObject>(name);
    QVERIFY(object);
    QVariant actual = object->property(property.constData());
    QVERIFY2(actual.isValid(), property.constData());
    if (expected.metaType() != actual.metaType() && actual.canConvert(expected.metaType()))
        actual.convert(expected.metaType());
    QCOMPARE(actual, expected);
}

void tst_MainWindowForm::texts_areSourceTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("item"); // -1: the widget's own text
    QTest::addColumn<QString>("text");

    auto row = [](const char *name, int item, const QString &text) {
        QTest::addRow("%s %d", name, item) << name << item << text;
    };
    row("MainWindow", -1, "Oskivo");
    row("logoButton", -1, "");
    row("homeButton", -1, "首页");
    row("configButton", -1, "高级");
    row("label_6", -1, "Oskivo");
    row("statusLabel", -1, "");
    row("menuButton", -1, "");
    row("minButton", -1, "");
    row("closeButton", -1, "");
    row("selectVideoButton", -1, "选择源视频");
    row("label", -1, "输出目录:");
    row("selectOutputButton", -1, "浏览...");
    row("timeLabel", -1, "00:00:00");
    row("label_5", -1, "/");
    row("durationLabel", -1, "00:00:00");
    // The player's buttons show icons; their names are for screen readers.
    for (const char *button :
        {"playPauseButton", "stopButton", "saveFrameButton", "markStartButton", "markEndButton"})
        row(button, -1, "");
    row("stopCButton", -1, "停止转换");
    row("startButton", -1, "开始转换");
    row("label_8", -1, "位深度:");
    const QStringList depths {"8位", "16位", "24位", "32位"};
    for (int i = 0; i < depths.size(); ++i)
        row("bitDepthComboBox", i, depths.at(i));
    // bitDepthLabel's design text is replaced at start-up by the 24-bit description.
    row("label_9", -1, "命名模式:");
    const QStringList patterns {"frame_000001", "image_000001", "video_000001", "自定义..."};
    for (int i = 0; i < patterns.size(); ++i)
        row("namingPatternComboBox", i, patterns.at(i));
    row("subfolderCheckBox", -1, "为每个视频创建子文件夹");
    row("timeInNamesCheckBox", -1, "文件名包含时间");
    row("label_3", -1, "质量");
    row("qualityValueLabel", -1, "90%");
    row("selectionModeLabel", -1, "提取方式:");
    const QStringList modes {"每秒帧数", "每隔 N 秒", "仅关键帧", "场景变化"};
    for (int i = 0; i < modes.size(); ++i)
        row("selectionModeComboBox", i, modes.at(i));
    row("label_2", -1, "帧率 (fps):");
    row("everySecondsLabel", -1, "间隔 (秒):");
    row("sceneSensitivityLabel", -1, "灵敏度:");
    row("startTimeLabel", -1, "起始时间:");
    row("endTimeLabel", -1, "结束时间:");
    row("label_4", -1, "格式");
}

void tst_MainWindowForm::texts_areSourceTexts()
{
    QFETCH(QString, name);
    QFETCH(int, item);
    QFETCH(QString, text);

    if (name == u"MainWindow") {
        QCOMPARE(window->windowTitle(), text);
        return;
    }
    QObject *object = w<QObject>(name);
    QVERIFY(object);
    if (item >= 0) {
        auto *combo = qobject_cast<QComboBox *>(object);
        QVERIFY(combo);
        QCOMPARE(combo->itemText(item), text);
    } else {
        QCOMPARE(object->property("text").toString(), text);
    }
}

void tst_MainWindowForm::icons_comeFromTheBundle_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("offIcon");
    QTest::addColumn<QString>("onIcon");

    QTest::newRow("logo") << "logoButton"
                          << ":/image/logo.svg"
                          << "";
    QTest::newRow("home") << "homeButton"
                          << ":/image/home.svg"
                          << ":/image/home-hover.svg";
    QTest::newRow("config") << "configButton"
                            << ":/image/setting.svg"
                            << ":/image/setting-hover.svg";
    QTest::newRow("menu") << "menuButton"
                          << ":/image/nav.svg"
                          << "";
    QTest::newRow("minimise") << "minButton"
                              << ":/image/min.svg"
                              << "";
    QTest::newRow("close") << "closeButton"
                           << ":/image/close.svg"
                           << "";
    const char *player[][2]
        = {{"playPauseButton", "play"}, {"stopButton", "stop"}, {"saveFrameButton", "snapshot"},
            {"markStartButton", "mark-in"}, {"markEndButton", "mark-out"}};
    for (const auto &button : player)
        QTest::newRow(button[0]) << button[0]
                                 << QStringLiteral(":/image/%1.svg").arg(QLatin1String(button[1]))
                                 << "";
}

void tst_MainWindowForm::icons_comeFromTheBundle()
{
    QFETCH(QString, name);
    QFETCH(QString, offIcon);
    QFETCH(QString, onIcon);

    auto *button = w<QAbstractButton>(name);
    QVERIFY(button);
    const QSize size(24, 24);
    const QImage off = button->icon().pixmap(size, QIcon::Normal, QIcon::Off).toImage();
    QVERIFY(!off.isNull());
    QCOMPARE(off, QIcon(offIcon).pixmap(size).toImage());
    if (!onIcon.isEmpty()) {
        const QImage on = button->icon().pixmap(size, QIcon::Normal, QIcon::On).toImage();
        QCOMPARE(on, QIcon(onIcon).pixmap(size).toImage());
        QVERIFY(on != off);
    }
}

void tst_MainWindowForm::focusChain_followsCreationOrder()
{
    // No tab order is set, so the focus chain is the order in which the widgets were made.
    const QStringList expected {"logoButton", "homeButton", "configButton", "menuButton",
        "minButton", "closeButton", "videoLineEdit", "selectVideoButton", "videoView",
        "positionSlider", "playPauseButton", "stopButton", "saveFrameButton", "markStartButton",
        "markEndButton", "outputLineEdit", "selectOutputButton", "stopCButton", "startButton",
        "selectionModeComboBox", "frameRateSpinBox", "everySecondsSpinBox",
        "sceneSensitivitySpinBox", "startTimeEdit", "endTimeEdit", "formatComboBox",
        "qualitySlider", "bitDepthComboBox", "namingPatternComboBox", "customNameEdit",
        "subfolderCheckBox", "timeInNamesCheckBox"};
    QStringList chain;
    QWidget *w = window;
    do {
        w = w->nextInFocusChain();
        if (expected.contains(w->objectName()))
            chain << w->objectName();
    } while (w != window && chain.size() < 100);
    QCOMPARE(chain, expected);
}

void tst_MainWindowForm::buttonGroup_isExclusiveWithBothNavigationButtons()
{
    auto *group = w<QButtonGroup>("buttonGroup");
    QVERIFY(group);
    QVERIFY(group->exclusive());
    QCOMPARE(group->buttons(),
        (QList<QAbstractButton *> {
            w<QAbstractButton>("homeButton"), w<QAbstractButton>("configButton")}));
    QVERIFY(group->id(group->buttons().at(0)) < -1); // automatically assigned ids
}

void tst_MainWindowForm::buttons_haveANameForScreenReaders_data()
{
    QTest::addColumn<bool>("about");
    QTest::newRow("main window") << false;
    QTest::newRow("About box") << true;
}

void tst_MainWindowForm::buttons_haveANameForScreenReaders()
{
    QFETCH(bool, about);

    // A name is what a screen reader reads out; a tooltip is not one.
    std::unique_ptr<AboutDialog> dialog;
    if (about)
        dialog = std::make_unique<AboutDialog>(window);
    const QList<QAbstractButton *> buttons = about ? dialog->findChildren<QAbstractButton *>()
                                                   : window->findChildren<QAbstractButton *>();
    QVERIFY(!buttons.isEmpty());
    for (QAbstractButton *button : buttons) {
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(button);
        QVERIFY(accessible);
        QVERIFY2(!accessible->text(QAccessible::Name).isEmpty(),
            qPrintable(button->objectName() + QStringLiteral(" has no name")));
    }
}

QTEST_MAIN(tst_MainWindowForm)
#include "tst_mainwindowform.moc"
