#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QFrame>
#include <QGroupBox>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QResource>
#include <QScrollArea>
#include <QSlider>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

const char styleSheetPath[] = ":/qss/default.css";

const QStringList indicatorNames = {
    "checkbox_unchecked",
    "checkbox_unchecked_disable",
    "checkbox_checked",
    "checkbox_checked_disable",
    "checkbox_parcial",
    "checkbox_parcial_disable",
    "radiobutton_unchecked",
    "radiobutton_unchecked_disable",
    "radiobutton_checked",
    "radiobutton_checked_disable",
    "add_top",
    "add_bottom",
    "add_left",
    "add_right",
    "branch_open",
    "branch_close",
    "calendar_prevmonth",
    "calendar_nextmonth",
};

QString indicatorPath(const QString &name)
{
    return QStringLiteral(":/qss/default/%1.png").arg(name);
}

struct Entry
{
    QString path;
    QResource::Compression compression;
};

// Everything the bundle holds, and how each entry is stored.
QList<Entry> bundleEntries()
{
    const auto zlib = QResource::ZlibCompression;
    const auto plain = QResource::NoCompression;

    QList<Entry> entries {{QString::fromLatin1(styleSheetPath), zlib}};
    for (const QString &name : indicatorNames)
        entries.append({indicatorPath(name), plain});
    for (const char *name : {"logo", "home", "home-hover", "setting", "setting-hover", "nav", "min",
             "close", "snapshot", "play", "pause", "stop", "mark-in", "mark-out"})
        entries.append({QStringLiteral(":/image/%1.svg").arg(QLatin1String(name)), plain});
    entries.append({QStringLiteral(":/image/logo.ico"), zlib});
    for (const char *lang : {"en_US", "zh_TW", "zh_CN"}) {
        const QString base = QStringLiteral(":/translations/lang_%1").arg(QLatin1String(lang));
        entries.append({base + ".qm", plain});
        entries.append({base + ".ts", zlib});
    }
    return entries;
}

QByteArray readResource(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

struct Rule
{
    QString selector;
    QStringList declarations;
};

// Splits a style sheet into its selector-list { ... } blocks. Qt style sheets have no nested
// blocks, so the first '}' after a '{' closes it. Anything left after the last block (an
// unclosed rule, say) goes into `rest`.
QList<Rule> parseRules(QString text, QString *rest = nullptr)
{
    static const QRegularExpression comment(
        QStringLiteral("/\\*.*?\\*/"), QRegularExpression::DotMatchesEverythingOption);
    text.remove(comment);
    QList<Rule> rules;
    qsizetype pos = 0;
    for (;;) {
        const qsizetype open = text.indexOf(QLatin1Char('{'), pos);
        const qsizetype close = open < 0 ? -1 : text.indexOf(QLatin1Char('}'), open);
        if (close < 0)
            break;
        Rule rule;
        rule.selector = text.mid(pos, open - pos).simplified();
        const QStringList parts = text.mid(open + 1, close - open - 1).split(QLatin1Char(';'));
        for (const QString &part : parts) {
            const QString declaration = part.simplified();
            if (!declaration.isEmpty())
                rule.declarations << declaration;
        }
        rules << rule;
        pos = close + 1;
    }
    if (rest)
        *rest = text.mid(pos).simplified();
    return rules;
}

QString styleSheet()
{
    return QString::fromUtf8(readResource(QString::fromLatin1(styleSheetPath)));
}

QStringList capturedMessages;

void captureMessage(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        capturedMessages << message;
}

// Mean absolute difference of the premultiplied channels of two images of one size.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q))
                + std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    }
    return sum / (4.0 * x.width() * x.height());
}

bool containsColour(const QImage &image, QColor colour, int tolerance = 0)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int row = 0; row < argb.height(); ++row) {
        for (int col = 0; col < argb.width(); ++col) {
            const QRgb p = argb.pixel(col, row);
            if (qAlpha(p) == 255 && std::abs(qRed(p) - colour.red()) <= tolerance
                && std::abs(qGreen(p) - colour.green()) <= tolerance
                && std::abs(qBlue(p) - colour.blue()) <= tolerance)
                return true;
        }
    }
    return false;
}

} // namespace

class tst_Resources : public QObject
{
    Q_OBJECT

private slots:
    void entry_isStoredAsListed_data();
    void entry_isStoredAsListed();
    void bundle_holdsNothingElse();

    void indicator_is20x20WithAlpha_data();
    void indicator_is20x20WithAlpha();

    void svgIcon_rendersInItsColours_data();
    void svgIcon_rendersInItsColours();

    void logoIco_holdsThirteenImagesOfListedSizesAndDepths();
    void logoIco_decodesAndMatchesSvgLogo();

    void styleSheet_startsWithProgramRules_data();
    void styleSheet_startsWithProgramRules();
    void styleSheet_has132Rules();
    void styleSheet_imagesAreInBundle();
    void styleSheet_isAcceptedByApplication_data();
    void styleSheet_isAcceptedByApplication();
    void styleSheet_paintsItsColoursAndIndicators();

    void cleanup();
};

void tst_Resources::cleanup()
{
    qApp->setStyleSheet(QString());
}

void tst_Resources::entry_isStoredAsListed_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QResource::Compression>("compression");

    for (const Entry &entry : bundleEntries())
        QTest::newRow(qPrintable(entry.path)) << entry.path << entry.compression;
}

void tst_Resources::entry_isStoredAsListed()
{
    QFETCH(QString, path);
    QFETCH(QResource::Compression, compression);

    const QResource resource(path);
    QVERIFY2(resource.isValid(), qPrintable(path + " is not in the bundle"));
    QVERIFY(QFileInfo(path).isFile());
    QCOMPARE(resource.compressionAlgorithm(), compression);

    // Reading through QFile must give the whole, decompressed content.
    const QByteArray content = readResource(path);
    QVERIFY(!content.isEmpty());
    QCOMPARE(content.size(), resource.uncompressedSize());
    if (compression == QResource::NoCompression)
        QCOMPARE(resource.size(), resource.uncompressedSize());
    else
        QVERIFY(resource.size() < resource.uncompressedSize());
}

void tst_Resources::bundle_holdsNothingElse()
{
    QStringList expected;
    for (const Entry &entry : bundleEntries())
        expected << entry.path;

    QStringList found;
    for (const char *root : {":/qss", ":/image", ":/translations"}) {
        QDirIterator it(QString::fromLatin1(root), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << it.next();
    }
    std::sort(expected.begin(), expected.end());
    std::sort(found.begin(), found.end());
    QCOMPARE(found, expected);
}

void tst_Resources::indicator_is20x20WithAlpha_data()
{
    QTest::addColumn<QString>("name");
    // Which half of the image holds more of the drawing; an arrow's head is heavier than its
    // shaft, a triangle's base heavier than its tip.
    QTest::addColumn<Qt::Edge>("heavierSide");
    QTest::addColumn<bool>("dark");

    const Qt::Edge none = Qt::Edge(0);
    QTest::newRow("empty box") << "checkbox_unchecked" << none << false;
    QTest::newRow("empty box, pale") << "checkbox_unchecked_disable" << none << false;
    QTest::newRow("check mark") << "checkbox_checked" << none << true;
    QTest::newRow("check mark, pale") << "checkbox_checked_disable" << none << false;
    QTest::newRow("partly checked") << "checkbox_parcial" << none << true;
    QTest::newRow("partly checked, pale") << "checkbox_parcial_disable" << none << false;
    QTest::newRow("empty circle") << "radiobutton_unchecked" << none << false;
    QTest::newRow("empty circle, pale") << "radiobutton_unchecked_disable" << none << false;
    QTest::newRow("circle with dot") << "radiobutton_checked" << none << true;
    QTest::newRow("circle with dot, pale") << "radiobutton_checked_disable" << none << false;
    QTest::newRow("triangle up") << "add_top" << Qt::BottomEdge << false;
    QTest::newRow("triangle down") << "add_bottom" << Qt::TopEdge << false;
    QTest::newRow("triangle left") << "add_left" << Qt::RightEdge << false;
    QTest::newRow("triangle right") << "add_right" << Qt::LeftEdge << false;
    QTest::newRow("plus") << "branch_open" << none << true;
    QTest::newRow("minus") << "branch_close" << none << true;
    QTest::newRow("arrow left") << "calendar_prevmonth" << Qt::LeftEdge << true;
    QTest::newRow("arrow right") << "calendar_nextmonth" << Qt::RightEdge << true;
}

void tst_Resources::indicator_is20x20WithAlpha()
{
    QFETCH(QString, name);
    QFETCH(Qt::Edge, heavierSide);
    QFETCH(bool, dark);

    const QImage image(indicatorPath(name));
    QVERIFY2(!image.isNull(), qPrintable(name + ".png does not load"));
    QCOMPARE(image.size(), QSize(20, 20));
    QVERIFY(image.hasAlphaChannel());

    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(qAlpha(argb.pixel(0, 0)), 0); // drawn on a see-through ground

    int top = 0, bottom = 0, left = 0, right = 0;
    bool hasDark = false;
    for (int row = 0; row < 20; ++row) {
        for (int col = 0; col < 20; ++col) {
            const QRgb p = argb.pixel(col, row);
            if (qAlpha(p) < 128)
                continue;
            (row < 10 ? top : bottom) += 1;
            (col < 10 ? left : right) += 1;
            if (qGray(p) < 100)
                hasDark = true;
        }
    }
    QVERIFY2(top + bottom > 0, "nothing is drawn");
    QCOMPARE(hasDark, dark);

    switch (heavierSide) {
    case Qt::TopEdge:
        QVERIFY(top > bottom);
        break;
    case Qt::BottomEdge:
        QVERIFY(bottom > top);
        break;
    case Qt::LeftEdge:
        QVERIFY(left > right);
        break;
    case Qt::RightEdge:
        QVERIFY(right > left);
        break;
    default:
        QVERIFY2(std::abs(top - bottom) <= 2 && std::abs(left - right) <= 4,
            qPrintable(QStringLiteral("expected a balanced drawing: top %1 bottom %2 "
                                      "left %3 right %4")
                           .arg(top)
                           .arg(bottom)
                           .arg(left)
                           .arg(right)));
    }
}

void tst_Resources::svgIcon_rendersInItsColours_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QList<QColor>>("colours");
    QTest::addColumn<QRectF>("viewBox");

    const QRectF icon(0, 0, 24, 24);
    const QColor grey("#707c88");
    const QColor accent("#00b688");
    QTest::newRow("logo") << ":/image/logo.svg"
                          << QList<QColor> {QColor("#FFAA00"), QColor("#00CA97")}
                          << QRectF(0, 0, 32, 32);
    QTest::newRow("home") << ":/image/home.svg" << QList<QColor> {grey} << icon;
    QTest::newRow("home, hover") << ":/image/home-hover.svg" << QList<QColor> {accent} << icon;
    QTest::newRow("setting") << ":/image/setting.svg" << QList<QColor> {grey} << icon;
    QTest::newRow("setting, hover")
        << ":/image/setting-hover.svg" << QList<QColor> {accent} << icon;
    QTest::newRow("nav") << ":/image/nav.svg" << QList<QColor> {grey} << icon;
    QTest::newRow("min") << ":/image/min.svg" << QList<QColor> {grey} << icon;
    QTest::newRow("close") << ":/image/close.svg" << QList<QColor> {grey} << icon;
    QTest::newRow("snapshot") << ":/image/snapshot.svg" << QList<QColor> {grey} << icon;
    for (const char *name : {"play", "pause", "stop", "mark-in", "mark-out"})
        QTest::newRow(name) << QStringLiteral(":/image/%1.svg").arg(QLatin1String(name))
                            << QList<QColor> {grey} << icon;
}

void tst_Resources::svgIcon_rendersInItsColours()
{
    QFETCH(QString, path);
    QFETCH(QList<QColor>, colours);
    QFETCH(QRectF, viewBox);

    QSvgRenderer renderer(path);
    QVERIFY2(renderer.isValid(), qPrintable(path + " is not a valid SVG"));
    QCOMPARE(renderer.viewBoxF(), viewBox);

    QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();

    for (const QColor &colour : colours)
        QVERIFY2(containsColour(image, colour),
            qPrintable(QStringLiteral("%1 draws nothing in %2").arg(path, colour.name())));
    // Icons sit on a see-through ground.
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);

    const QIcon icon(path);
    QVERIFY(!icon.isNull());
    QCOMPARE(icon.pixmap(32, 32).size(), QSize(32, 32));
}

void tst_Resources::logoIco_holdsThirteenImagesOfListedSizesAndDepths()
{
    const QByteArray ico = readResource(":/image/logo.ico");
    const auto *data = reinterpret_cast<const uchar *>(ico.constData());
    QVERIFY(ico.size() >= 6);
    QCOMPARE(qFromLittleEndian<quint16>(data), quint16(0)); // reserved
    QCOMPARE(qFromLittleEndian<quint16>(data + 2), quint16(1)); // icon, not cursor
    const int count = qFromLittleEndian<quint16>(data + 4);
    QCOMPARE(count, 13);
    QVERIFY(ico.size() >= 6 + 16 * count);

    QMultiMap<int, int> depthsBySize;
    for (int i = 0; i < count; ++i) {
        const uchar *entry = data + 6 + 16 * i;
        const int size = entry[0] == 0 ? 256 : entry[0];
        const QString what = QStringLiteral("image %1 (%2 px)").arg(i).arg(size);
        QCOMPARE(int(entry[1] == 0 ? 256 : entry[1]), size); // square
        const int colours = entry[2];
        const int bits = qFromLittleEndian<quint16>(entry + 6);
        const quint32 length = qFromLittleEndian<quint32>(entry + 8);
        const quint32 offset = qFromLittleEndian<quint32>(entry + 12);
        QVERIFY2(offset + quint64(length) <= quint64(ico.size()), qPrintable(what));
        QCOMPARE(colours, bits == 4 ? 16 : 0);
        depthsBySize.insert(size, bits);

        const uchar *image = data + offset;
        if (ico.mid(offset, 8) == QByteArray("\x89PNG\r\n\x1a\n", 8)) {
            QCOMPARE(qFromBigEndian<quint32>(image + 16), quint32(size)); // IHDR width
            QCOMPARE(qFromBigEndian<quint32>(image + 20), quint32(size)); // IHDR height
            QCOMPARE(int(image[24]), 8); // 8 bits per channel
            QCOMPARE(int(image[25]), 6); // RGBA: 32 bits a pixel
            QCOMPARE(bits, 32);
        } else {
            QCOMPARE(qFromLittleEndian<quint32>(image), quint32(40)); // BITMAPINFOHEADER
            QCOMPARE(qFromLittleEndian<qint32>(image + 4), qint32(size));
            QCOMPARE(qFromLittleEndian<qint32>(image + 8), qint32(2 * size)); // with its mask
            QCOMPARE(int(qFromLittleEndian<quint16>(image + 14)), bits);
            const int palette = bits <= 8 ? (1 << bits) * 4 : 0;
            const int rowBytes = ((size * bits + 31) / 32) * 4;
            const int maskRowBytes = ((size + 31) / 32) * 4;
            QCOMPARE(length, quint32(40 + palette + (rowBytes + maskRowBytes) * size));
        }
    }

    const QList<int> sizes = depthsBySize.uniqueKeys();
    QCOMPARE(sizes, (QList<int> {16, 20, 24, 32, 40, 48, 64, 256}));
    QSet<int> depths;
    for (int size : sizes) {
        QVERIFY2(depthsBySize.values(size).contains(32),
            qPrintable(QStringLiteral("no 32-bit image of %1 px").arg(size)));
        for (int bits : depthsBySize.values(size))
            depths.insert(bits);
    }
    QCOMPARE(depths, (QSet<int> {4, 8, 32}));
}

void tst_Resources::logoIco_decodesAndMatchesSvgLogo()
{
    QImageReader reader(":/image/logo.ico", "ico");
    if (!QImageReader::supportedImageFormats().contains("ico"))
        QSKIP("Qt's ICO image plug-in is not installed");
    QCOMPARE(reader.imageCount(), 13);

    QImage logo32;
    for (int i = 0; i < reader.imageCount(); ++i) {
        QVERIFY(reader.jumpToImage(i));
        const QImage image = reader.read();
        QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
        QVERIFY(QList<int>({16, 20, 24, 32, 40, 48, 64, 256}).contains(image.width()));
        QCOMPARE(image.height(), image.width());
        if (image.width() == 32 && image.hasAlphaChannel() && logo32.isNull()
            && image.depth() == 32)
            logo32 = image;
    }
    QVERIFY(!logo32.isNull());

    // The icon file shows the same picture as the SVG logo.
    QSvgRenderer renderer(QStringLiteral(":/image/logo.svg"));
    QImage svg(32, 32, QImage::Format_ARGB32_Premultiplied);
    svg.fill(Qt::transparent);
    QPainter painter(&svg);
    renderer.render(&painter);
    painter.end();
    const double difference = meanDifference(svg, logo32);
    QVERIFY2(difference < 6.0, qPrintable(QStringLiteral("mean difference %1").arg(difference)));

    // ...and differs clearly from another picture, so the comparison above can fail.
    QImage other(32, 32, QImage::Format_ARGB32_Premultiplied);
    other.fill(Qt::transparent);
    QPainter otherPainter(&other);
    QSvgRenderer(QStringLiteral(":/image/setting-hover.svg")).render(&otherPainter);
    otherPainter.end();
    QVERIFY(meanDifference(other, logo32) > 3 * difference);
}

void tst_Resources::styleSheet_startsWithProgramRules_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("selector");
    QTest::addColumn<QStringList>("declarations");

    int index = 0;
    const auto row = [&index](const char *selector, const QStringList &declarations) {
        QTest::newRow(selector) << index++ << QString::fromLatin1(selector) << declarations;
    };
    row("*", {"outline: 0px", "color: #34495e"});
    row("QMainWindow, QDialog", {"background-color: #f9f9f9"});
    row("#centralwidget", {});
    row("#frameMian", {"background-color: #f9f9f9", "border-radius: 0"});
    row("#logoButton",
        {"background-color: transparent", "border-radius: 0", "width: 100%", "height: 50px",
            "border: none", "padding-left: 5px", "padding-right: 5px"});
    row("#logoButton:hover", {"background: transparent"});
    row("#headerFrame",
        {"border: none", "border-radius: 0", "height: 50px", "color: #666",
            "background-color: #f9f9f9", "font-weight: bold"});
    row("#headerFrame QPushButton",
        {"border-radius: 0", "color: #b2bbcc", "padding: 10px", "font-size: 12px", "border: none",
            "background: rgba(255,255,255,0.03)"});
    row("#headerFrame QPushButton:hover", {"background: rgba(0,0,0,0.03)"});
    row("#title_label", {"font-size: 14px", "font-weight: bold"});
    row("#frameMenu", {"background: #f9f9f9", "border-radius: 0"});
    row("#frameMenu QToolButton",
        {"border-radius: 0", "color: #34495e", "width: 100%", "height: 48px", "font-size: 12px",
            "border: none", "padding-left: 5px", "padding-right: 5px", "background: transparent"});
    row("#frameMenu QToolButton:hover", {});
    row("#frameMenu QToolButton:checked", {"background: transparent", "color: #00b688"});
    row("#frameMenu QToolButton::disabled", {"color: #cccccc"});
    row("#aboutButton", {"background: transparent", "border: none"});
}

void tst_Resources::styleSheet_startsWithProgramRules()
{
    QFETCH(int, index);
    QFETCH(QString, selector);
    QFETCH(QStringList, declarations);

    const QList<Rule> rules = parseRules(styleSheet());
    QVERIFY(index < rules.size());
    QCOMPARE(rules.at(index).selector, selector);
    QCOMPARE(rules.at(index).declarations, declarations);
}

void tst_Resources::styleSheet_has132Rules()
{
    QString rest;
    const QList<Rule> rules = parseRules(styleSheet(), &rest);
    QVERIFY2(rest.isEmpty(), qPrintable("text after the last rule: " + rest));
    QCOMPARE(rules.size(), 132);
    for (const Rule &rule : rules)
        QVERIFY2(!rule.selector.isEmpty(), "a rule without selector");

    // The disabled look comes last.
    QCOMPARE(rules.at(130).selector, QStringLiteral("*:disabled"));
    QCOMPARE(rules.at(131).selector, QStringLiteral("QSlider::sub-page:horizontal:disabled"));
}

void tst_Resources::styleSheet_imagesAreInBundle()
{
    static const QRegularExpression url(QStringLiteral("url\\(([^)]*)\\)"));
    QSet<QString> referenced;
    for (const QRegularExpressionMatch &match : url.globalMatch(styleSheet())) {
        const QString path = match.captured(1).trimmed();
        QVERIFY2(QFile::exists(path), qPrintable(path + " is named but not in the bundle"));
        QVERIFY2(!QImage(path).isNull(), qPrintable(path + " is no image"));
        referenced.insert(path);
    }

    // Every indicator but the left and right triangles is drawn by the sheet.
    QSet<QString> expected;
    for (const QString &name : indicatorNames) {
        if (name != QLatin1String("add_left") && name != QLatin1String("add_right"))
            expected.insert(indicatorPath(name));
    }
    QCOMPARE(referenced, expected);
}

void tst_Resources::styleSheet_isAcceptedByApplication_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("bundled sheet") << styleSheet() << true;
    // Proves that the check below notices a sheet that Qt rejects.
    QTest::newRow("unclosed rule") << "QWidget { color: red; " << false;
}

void tst_Resources::styleSheet_isAcceptedByApplication()
{
    QFETCH(QString, sheet);
    QFETCH(bool, accepted);

    capturedMessages.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    qApp->setStyleSheet(sheet);

    // Qt parses the application sheet when it first styles a widget.
    QMainWindow window;
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addWidget(new QPushButton("push"));
    layout->addWidget(new QToolButton);
    layout->addWidget(new QCheckBox("check"));
    layout->addWidget(new QRadioButton("radio"));
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QSpinBox);
    layout->addWidget(new QComboBox);
    layout->addWidget(new QSlider(Qt::Horizontal));
    layout->addWidget(new QProgressBar);
    layout->addWidget(new QGroupBox("group"));
    layout->addWidget(new QTreeWidget);
    layout->addWidget(new QListWidget);
    layout->addWidget(new QTableWidget(2, 2));
    layout->addWidget(new QScrollArea);
    window.setCentralWidget(central);
    window.resize(400, 800);
    window.grab();
    QMenu menu;
    menu.addAction("item");
    menu.grab();

    qInstallMessageHandler(previous);

    bool parseFailed = false;
    for (const QString &message : std::as_const(capturedMessages)) {
        if (message.contains(QLatin1String("Could not parse")))
            parseFailed = true;
    }
    QVERIFY2(parseFailed != accepted, qPrintable(capturedMessages.join('\n')));
}

void tst_Resources::styleSheet_paintsItsColoursAndIndicators()
{
    qApp->setStyleSheet(styleSheet());

    QMainWindow window;
    auto *frame = new QFrame;
    frame->setObjectName("frameMian");
    auto *layout = new QVBoxLayout(frame);
    auto *label = new QLabel("text");
    layout->addWidget(label);
    window.setCentralWidget(frame);
    window.resize(120, 80);

    // #frameMian is filled with the window grey, and every text takes the theme colour.
    const QImage shot = window.grab().toImage();
    QCOMPARE(QColor(shot.pixel(shot.width() - 2, shot.height() - 2)), QColor("#f9f9f9"));
    label->ensurePolished();
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor("#34495e"));

    // The check box indicator is drawn from the bundled images: only the checked one has a
    // dark mark in it.
    QCheckBox box;
    box.resize(20, 20);
    box.setChecked(false);
    const QImage unchecked = box.grab().toImage();
    box.setChecked(true);
    const QImage checked = box.grab().toImage();
    QVERIFY(!containsColour(unchecked, QColor("#34495e"), 40));
    QVERIFY(containsColour(checked, QColor("#34495e"), 40));
}

QTEST_MAIN(tst_Resources)
#include "tst_resources.moc"
