#include "aboutdialog.h"

#include <QBoxLayout>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTranslator>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace {

const QString siteUrl = QStringLiteral("https://www.example.com/oskivo");
const QByteArray unconnectedSlotWarning
    = "QMetaObject::connectSlotsByName: No matching signal for on_buttonBox_accepted()";

// Stands in for the system's URL handler.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

// Marks every text it is asked for with its context and records the requests.
class MarkingTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char *, int) const override
    {
        const QString ctx = QString::fromUtf8(context);
        const QString source = QString::fromUtf8(sourceText);
        requests << ctx + u'|' + source;
        return u'[' + ctx + u']' + source;
    }
    bool isEmpty() const override { return false; }

    mutable QStringList requests;
};

} // namespace

class tst_AboutDialog : public QObject
{
    Q_OBJECT

public:
    tst_AboutDialog() { QStandardPaths::setTestModeEnabled(true); }

private slots:
    void init();
    void cleanup();

    void objects_haveClassAndParent_data();
    void objects_haveClassAndParent();
    void layout_stacksSixWidgetsWithoutSpacing();
    void properties_haveFormValues_data();
    void properties_haveFormValues();
    void texts_areSourceTexts_data();
    void texts_areSourceTexts();
    void texts_areTranslatedInAboutDialogContext_data();
    void texts_areTranslatedInAboutDialogContext();
    void constructor_keepsParentAndDialogFlags();
    void buttonBoxSlot_isConnectedToNothingButClosesWhenCalled();
    void windowIcon_fromAnAbsentPathShowsNothing();
    void aboutButton_showsTheLogoAndDoesNothing();
    void link_opensThroughTheSystemHandler_data();
    void link_opensThroughTheSystemHandler();
    void linkText_isSelectableByDraggingWithoutOpening();
    void resizing_leavesContentInPlace_data();
    void resizing_leavesContentInPlace();
    void closing_rejectsAndEndsExec_data();
    void closing_rejectsAndEndsExec();

private:
    // Every dialog logs the by-name connection's miss for its unconnected slot.
    static std::unique_ptr<AboutDialog> makeDialog(QWidget *parent = nullptr)
    {
        QTest::ignoreMessage(QtWarningMsg, unconnectedSlotWarning.constData());
        return std::make_unique<AboutDialog>(parent);
    }
    static std::unique_ptr<AboutDialog> makeShownDialog()
    {
        auto dialog = makeDialog();
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog.get()))
            return nullptr;
        return dialog;
    }

    UrlCatcher catcher;
};

void tst_AboutDialog::init()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    catcher.urls.clear();
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
}

void tst_AboutDialog::cleanup()
{
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
}

void tst_AboutDialog::objects_haveClassAndParent_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("parentName");

    const char *rows[][3] = {
        {"centralWidget", "QWidget", "AboutDialog"},
        {"verticalLayout", "QVBoxLayout", "centralWidget"},
        {"aboutButton", "QPushButton", "centralWidget"},
        {"titleLabel", "QLabel", "centralWidget"},
        {"versionLabel", "QLabel", "centralWidget"},
        {"descriptionLabel", "QLabel", "centralWidget"},
        {"websiteLabel", "QLabel", "centralWidget"},
        {"copyrightLabel", "QLabel", "centralWidget"},
    };
    for (const auto &row : rows)
        QTest::newRow(row[0]) << row[0] << row[1] << row[2];
}

void tst_AboutDialog::objects_haveClassAndParent()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, parentName);

    const auto dialog = makeDialog();
    QCOMPARE(dialog->objectName(), QStringLiteral("AboutDialog"));
    const QList<QObject *> found = dialog->findChildren<QObject *>(name);
    QCOMPARE(found.size(), 1);
    QCOMPARE(QString::fromLatin1(found.first()->metaObject()->className()), className);
    QVERIFY(found.first()->parent());
    QCOMPARE(found.first()->parent()->objectName(), parentName);
}

void tst_AboutDialog::layout_stacksSixWidgetsWithoutSpacing()
{
    const auto dialog = makeDialog();
    // Only the inner widget is laid out; the dialog itself has no layout to stretch it.
    QVERIFY(!dialog->layout());
    auto *central = dialog->findChild<QWidget *>("centralWidget");
    QVERIFY(central);
    auto *layout = qobject_cast<QVBoxLayout *>(central->layout());
    QVERIFY(layout);
    QCOMPARE(layout->objectName(), QStringLiteral("verticalLayout"));
    QCOMPARE(layout->spacing(), 0);
    QCOMPARE(layout->contentsMargins(), QMargins(15, 15, 15, 15));

    const QStringList expected {"aboutButton", "titleLabel", "versionLabel", "descriptionLabel",
        "websiteLabel", "copyrightLabel"};
    QCOMPARE(layout->count(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        QVERIFY(item->widget());
        QCOMPARE(item->widget()->objectName(), expected.at(i));
        QCOMPARE(item->alignment(), Qt::Alignment());
        QCOMPARE(layout->stretch(i), 0);
    }
}

void tst_AboutDialog::properties_haveFormValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("property");
    QTest::addColumn<QVariant>("expected");

    auto row = [](const char *name, const char *property, const QVariant &value) {
        QTest::addRow("%s %s", name, property) << name << QByteArray(property) << value;
    };
    const QVariant leftCentred
        = QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    const char *labels[]
        = {"titleLabel", "versionLabel", "descriptionLabel", "websiteLabel", "copyrightLabel"};

    row("AboutDialog", "size", QSize(282, 315));
    row("AboutDialog", "modal", false);
    row("centralWidget", "geometry", QRect(0, 0, 281, 315));
    row("aboutButton", "minimumSize", QSize(80, 80));
    row("aboutButton", "maximumSize", QSize(80, 80));
    row("aboutButton", "iconSize", QSize(60, 60));
    for (const char *label : labels) {
        row(label, "alignment", leftCentred);
        row(label, "wordWrap", qstrcmp(label, "descriptionLabel") == 0);
        row(label, "openExternalLinks", false);
    }
    row("websiteLabel", "textInteractionFlags",
        QVariant::fromValue(
            Qt::TextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse)));
}

void tst_AboutDialog::properties_haveFormValues()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, property);
    QFETCH(QVariant, expected);

    const auto dialog = makeDialog();
    QObject *object = name == u"AboutDialog" ? dialog.get() : dialog->findChild<QObject *>(name);
    QVERIFY(object);
    QVariant actual = object->property(property.constData());
    QVERIFY2(actual.isValid(), property.constData());
    if (expected.metaType() != actual.metaType() && actual.canConvert(expected.metaType()))
        actual.convert(expected.metaType());
    QCOMPARE(actual, expected);
}

void tst_AboutDialog::texts_areSourceTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("window title") << "AboutDialog" << QStringLiteral("关于Oskivo");
    QTest::newRow("logo button") << "aboutButton" << QString();
    // The zero-width spaces belong to the Chinese heading.
    QTest::newRow("heading") << "titleLabel" << QStringLiteral("<h2>\u200B\u200BOskivo</h2>");
    // The version is the project's, the one oskivo-cli --version and the package give.
    QTest::newRow("version") << "versionLabel" << QStringLiteral("版本: " OSKIVO_VERSION);
    QTest::newRow("description")
        << "descriptionLabel"
        << QStringLiteral("高效便捷的视频帧提取工具，支持多种输出格式，将动态影像转换为高质量静态"
                          "图片，助您轻松获取每一帧画面。");
    QTest::newRow("link") << "websiteLabel"
                          << QStringLiteral("<a href=\"https://www.example.com/oskivo\">"
                                            "访问官方网站</a>");
    QTest::newRow("legal notice") << "copyrightLabel"
                                  << QStringLiteral("© 2026 QuelvaneLabs 版权所有");
}

void tst_AboutDialog::texts_areSourceTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    const auto dialog = makeDialog();
    if (name == u"AboutDialog") {
        QCOMPARE(dialog->windowTitle(), text);
        return;
    }
    QObject *object = dialog->findChild<QObject *>(name);
    QVERIFY(object);
    QCOMPARE(object->property("text").toString(), text);
}

void tst_AboutDialog::texts_areTranslatedInAboutDialogContext_data()
{
    texts_areSourceTexts_data();
}

void tst_AboutDialog::texts_areTranslatedInAboutDialogContext()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    MarkingTranslator translator;
    QVERIFY(qApp->installTranslator(&translator));
    const auto dialog = makeDialog();
    qApp->removeTranslator(&translator);

    // The logo button's empty text is set as it is, without a catalog look-up.
    const QString expected = text.isEmpty() ? QString() : "[AboutDialog]" + text;
    if (name == u"AboutDialog")
        QCOMPARE(dialog->windowTitle(), expected);
    else
        QCOMPARE(dialog->findChild<QObject *>(name)->property("text").toString(), expected);
    QCOMPARE(translator.requests.count(QStringLiteral("AboutDialog|")), 0);
    // The version is filled into its translated text.
    const QString source = name == u"versionLabel" ? QStringLiteral("版本: %1") : text;
    if (!text.isEmpty())
        QCOMPARE(translator.requests.count("AboutDialog|" + source), 1);
}

void tst_AboutDialog::constructor_keepsParentAndDialogFlags()
{
    QWidget parent;
    const auto dialog = makeDialog(&parent);
    QCOMPARE(dialog->parentWidget(), &parent);
    QCOMPARE(dialog->windowFlags(), QDialog(&parent).windowFlags());
    QVERIFY(dialog->isWindow());
}

void tst_AboutDialog::buttonBoxSlot_isConnectedToNothingButClosesWhenCalled()
{
    // makeDialog() fails the test unless the by-name connection reports the slot unmatched.
    const auto dialog = makeShownDialog();
    QVERIFY(dialog);
    QVERIFY(!dialog->findChild<QObject *>("buttonBox"));
    QVERIFY(dialog->isVisible());

    QVERIFY(QMetaObject::invokeMethod(dialog.get(), "on_buttonBox_accepted"));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
}

void tst_AboutDialog::windowIcon_fromAnAbsentPathShowsNothing()
{
    QVERIFY(!QFile::exists(QStringLiteral(":/icons/logo.ico")));

    const auto dialog = makeShownDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->windowHandle());
    // The form names an icon from a path that holds nothing: neither the dialog nor the
    // window the window system is given has an image at any size.
    for (const QIcon &icon : {dialog->windowIcon(), dialog->windowHandle()->icon()}) {
        QVERIFY(icon.availableSizes().isEmpty());
        for (int extent : {16, 32, 48, 256})
            QVERIFY2(icon.pixmap(extent).isNull(), qPrintable(QString::number(extent)));
    }
}

void tst_AboutDialog::aboutButton_showsTheLogoAndDoesNothing()
{
    const auto dialog = makeShownDialog();
    QVERIFY(dialog);
    auto *button = dialog->findChild<QPushButton *>("aboutButton");
    QVERIFY(button);

    const QSize size(60, 60);
    const QImage shown = button->icon().pixmap(size).toImage();
    QVERIFY(!shown.isNull());
    QCOMPARE(shown, QIcon(QStringLiteral(":/image/logo.svg")).pixmap(size).toImage());
    QCOMPARE(button->size(), QSize(80, 80));

    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(dialog->isVisible());
    QVERIFY(catcher.urls.isEmpty());
}

void tst_AboutDialog::link_opensThroughTheSystemHandler_data()
{
    QTest::addColumn<QString>("activated"); // empty: click the label's link
    QTest::addColumn<QUrl>("opened");

    QTest::newRow("click on the link") << QString() << QUrl(siteUrl);
    QTest::newRow("activated address opens as given")
        << "https://www.example.com/a/b?c=d#e" << QUrl("https://www.example.com/a/b?c=d#e");
    QTest::newRow("space is parsed tolerantly")
        << "https://www.example.com/new page" << QUrl("https://www.example.com/new%20page");
}

void tst_AboutDialog::link_opensThroughTheSystemHandler()
{
    QFETCH(QString, activated);
    QFETCH(QUrl, opened);

    const auto dialog = makeShownDialog();
    QVERIFY(dialog);
    auto *label = dialog->findChild<QLabel *>("websiteLabel");
    QVERIFY(label);

    if (activated.isEmpty()) {
        // The text sits at the left and is centred vertically, so this lands on the first glyph.
        const QRect text = label->contentsRect();
        QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(text.left() + 3, text.center().y()));
    } else {
        emit label->linkActivated(activated);
    }

    QCOMPARE(catcher.urls, QList<QUrl> {opened});
    QVERIFY(dialog->isVisible());
}

void tst_AboutDialog::linkText_isSelectableByDraggingWithoutOpening()
{
    const auto dialog = makeShownDialog();
    QVERIFY(dialog);
    auto *label = dialog->findChild<QLabel *>("websiteLabel");
    QVERIFY(label);
    QVERIFY(!label->hasSelectedText());

    const QRect text = label->contentsRect();
    const int y = text.center().y();
    QTest::mousePress(label, Qt::LeftButton, {}, QPoint(text.left() + 1, y));
    QTest::mouseMove(label, QPoint(text.center().x(), y));
    QTest::mouseMove(label, QPoint(text.right() - 1, y));
    QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(text.right() - 1, y));

    QCOMPARE(label->selectedText(), QStringLiteral("访问官方网站"));
    QVERIFY(catcher.urls.isEmpty());
}

void tst_AboutDialog::resizing_leavesContentInPlace_data()
{
    QTest::addColumn<QSize>("size");

    QTest::newRow("larger") << QSize(640, 480);
    QTest::newRow("smaller") << QSize(160, 120);
    QTest::newRow("wider only") << QSize(500, 315);
    QTest::newRow("taller only") << QSize(282, 600);
}

void tst_AboutDialog::resizing_leavesContentInPlace()
{
    QFETCH(QSize, size);

    const auto dialog = makeShownDialog();
    QVERIFY(dialog);
    auto *central = dialog->findChild<QWidget *>("centralWidget");
    QVERIFY(central);
    const QList<QWidget *> content = central->findChildren<QWidget *>();
    QCOMPARE(content.size(), 6);
    QList<QRect> before;
    for (const QWidget *widget : content)
        before << widget->geometry();

    dialog->resize(size);
    QTRY_COMPARE(dialog->size(), size);
    QCoreApplication::sendPostedEvents();

    QCOMPARE(central->geometry(), QRect(0, 0, 281, 315));
    for (int i = 0; i < content.size(); ++i)
        QCOMPARE(content.at(i)->geometry(), before.at(i));
}

void tst_AboutDialog::closing_rejectsAndEndsExec_data()
{
    QTest::addColumn<bool>("escape"); // false: the window system's close request

    QTest::newRow("Escape key") << true;
    QTest::newRow("close button") << false;
}

void tst_AboutDialog::closing_rejectsAndEndsExec()
{
    QFETCH(bool, escape);

    QWidget owner;
    auto *ownerButton = new QPushButton(QStringLiteral("owner"), &owner);
    owner.resize(200, 100);
    owner.show();
    QVERIFY(QTest::qWaitForWindowExposed(&owner));
    QSignalSpy ownerClicks(ownerButton, &QPushButton::clicked);
    const QPoint onButton = ownerButton->mapTo(&owner, ownerButton->rect().center());
    QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, onButton);
    QCOMPARE(ownerClicks.size(), 1);

    const auto dialog = makeDialog(&owner);
    bool wasActiveModal = false;
    bool stillOpen = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        wasActiveModal = QApplication::activeModalWidget() == dialog.get();
        // The owner is blocked while the dialog runs.
        QTest::mouseClick(owner.windowHandle(), Qt::LeftButton, {}, onButton);
        if (escape)
            QTest::keyClick(dialog->windowHandle(), Qt::Key_Escape);
        else
            dialog->windowHandle()->close();
        stillOpen = dialog->isVisible();
        if (stillOpen)
            dialog->done(-1); // so that a failure cannot leave exec() running
    });

    const int result = dialog->exec();
    QVERIFY(wasActiveModal);
    QVERIFY(!stillOpen);
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(ownerClicks.size(), 1);
}

QTEST_MAIN(tst_AboutDialog)
#include "tst_aboutdialog.moc"
