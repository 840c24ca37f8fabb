// Every text of the main window, the preview window and the fixed-colour dialog, in each of the
// windows' languages, read as a user sees it on a real X server: each one translated into
// English, none clipped, and no access key used twice in a window. The font is the one the
// session's fontconfig offers (TIDEPOOL_TEST_FONT names the family expected), so the same test runs
// once for each Japanese font the package accepts.
#include "cli/theme_names.h"
#include "imagefile/codec_library.h"
#include "imagefile/program_folder.h"
#include "render/settings/render_settings.h"
#include "ui/fixedcolour/fixed_colour_dialog.h"
#include "ui/main/control_inventory.h"
#include "ui/main/main_window.h"
#include "ui/parts/window_language.h"
#include "ui/preview/preview_window.h"
#include "wallpaper/core/wallpaper_report.h"

#include "tests/support/accessible_names.h"

#include <QAbstractButton>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <QtMath>

using namespace tidepool;
using testing::AccessibleName;

Q_DECLARE_METATYPE(tidepool::WindowLanguage)

namespace {

bool InJapanese(const QString& text) {
    static const QRegularExpression kana(QStringLiteral("[\\p{Hiragana}\\p{Katakana}\\p{Han}]"));
    return text.contains(kana);
}

// Whether the control, given more room to the right (and a label above and below too), draws
// anything outside the part of it that shows (its panels cut it off, and so does a control over
// it): its text was cut. A pixel and a half above and below is left: with IPA Gothic, which the
// places were drawn with, a bracket or a descender reaches so far past a label.
bool InkOutside(QWidget& control) {
    const QRect place = control.geometry();
    const QRect shows = control.visibleRegion().boundingRect();
    const int spare = qobject_cast<QLabel*>(&control) != nullptr ? 20 : 0;
    control.setGeometry(place.adjusted(0, -spare, 100, spare));
    const QImage grown = control.grab().toImage();
    control.setGeometry(place);
    const qreal ratio = grown.devicePixelRatio();
    const QRectF leeway = QRectF(shows.translated(0, spare)).adjusted(0, -1.5, 0, 1.5);
    const QRect kept = QRectF(leeway.topLeft() * ratio, leeway.size() * ratio).toAlignedRect();
    const QRgb background = grown.pixel(grown.width() - 1, grown.height() / 2);
    for (int y = 0; y < grown.height(); ++y)
        for (int x = 0; x < grown.width(); ++x)
            if (!kept.contains(x, y) && grown.pixel(x, y) != background)
                return true;
    return false;
}

// A push button's caption wraps at its words when one line is too wide; then its lines must fit.
bool CaptionCut(const QPushButton& button) {
    const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
    const QFontMetrics metrics = button.fontMetrics();
    if (metrics.boundingRect(button.rect(), flags, button.text()).width() <= button.width())
        return false;
    return !button.rect().contains(
        metrics.boundingRect(button.rect(), flags | Qt::TextWordWrap, button.text()));
}

class Reader {
  public:
    Reader(QWidget& window, bool english) : window_(window), english_(english) {
        read(window, "title", window.windowTitle());
    }

    void read(QWidget& widget, const char* what, const QString& text) {
        if (english_ && InJapanese(text))
            problems << QStringLiteral("%1: %2 \"%3\" is not in English")
                            .arg(widget.objectName(), what, text);
        const int key = QKeySequence::mnemonic(text)[0].toCombined();
        if (key != 0 && keys_.contains(key))
            problems << QStringLiteral("%1: access key of \"%2\" taken by \"%3\"")
                            .arg(widget.objectName(), text, keys_[key]);
        if (key != 0)
            keys_[key] = text;
    }

    void cut(QWidget& widget, const QString& text) {
        problems << QStringLiteral("%1: \"%2\" is cut").arg(widget.objectName(), text);
    }

    void readAll() {
        for (QWidget* widget : window_.findChildren<QWidget*>()) {
            // A dialog the window owns is a window of its own.
            if (!widget->isVisibleTo(&window_) || widget->window() != &window_)
                continue;
            read(*widget, "name", AccessibleName(widget));
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                read(*label, "caption", label->text());
                if (InkOutside(*label))
                    cut(*label, label->text());
            } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
                read(*button, "caption", button->text());
                if (CaptionCut(*button))
                    cut(*button, button->text());
            } else if (auto* option = qobject_cast<QAbstractButton*>(widget)) {
                read(*option, "caption", option->text());
                if (!qobject_cast<QToolButton*>(option) && InkOutside(*option))
                    cut(*option, option->text());
            } else if (auto* list = qobject_cast<QListWidget*>(widget)) {
                for (int row = 0; row < list->count(); ++row)
                    read(*list, "item", list->item(row)->text());
                // An item wider than the list shows only with the scroll bar across.
                if (list->horizontalScrollBar()->isVisible())
                    cut(*list, QStringLiteral("an item"));
            } else if (auto* bar = qobject_cast<QMenuBar*>(widget)) {
                for (QAction* action : bar->actions()) {
                    read(*bar, "command", action->text());
                    if (!bar->rect().contains(bar->actionGeometry(action)))
                        cut(*bar, action->text());
                }
            }
        }
    }

    QStringList problems;

  private:
    QWidget& window_;
    bool english_;
    QHash<int, QString> keys_;
};

// No way put the wallpaper on the desktop.
WallpaperReport UnsetWallpaper() {
    WallpaperReport report;
    report.tried.push_back({Way::DesktopTool, false, WayReason::ToolMissing, "gsettings", "", ""});
    report.tried.push_back({Way::Portal, false, WayReason::NoPortal, "", "", ""});
    return report;
}

// Dialogs that answer at once, keeping every message and list of file types they are shown.
MainWindowServices StandIns(QStringList& shown) {
    MainWindowServices services;
    services.showMessage = [&shown](QWidget*, std::string_view text) {
        shown << QString::fromUtf8(text);
    };
    services.pickColour = [](QWidget*, Colour, const SystemPalette&) { return kColourCancelled; };
    services.save.askName = [&shown](QWidget*, const QStringList& types, int, const QString&,
                                     const QString&) {
        shown << types;
        return std::optional<SaveDialogAnswer>({"/nonexistent folder/wallpaper", 1});
    };
    services.save.askReplace = [](QWidget*, const QString&) { return false; };
    services.open = [&shown](QWidget*, const QStringList& filters, int, const QString&) {
        shown << filters;
        return std::optional<OpenDialogAnswer>();
    };
    services.setWallpaper = [](const DrawingSurface&, const std::filesystem::path&,
                               const std::vector<Screen>&,
                               std::shared_ptr<const Cutoff>) { return UnsetWallpaper(); };
    // Kept, so that the menu bar shows the longer caption of the two.
    services.memory.remember = [](const WallpaperRecipe&) { return std::string(); };
    services.memory.kept = [] { return true; };
    return services;
}

} // namespace

class WindowTextsTest : public QObject {
    Q_OBJECT

  private slots:
    void everyTextReadsWhole_data() {
        QTest::addColumn<WindowLanguage>("language");
        QTest::newRow("Japanese") << WindowLanguage::Japanese;
        QTest::newRow("English") << WindowLanguage::English;
    }

    void everyTextReadsWhole() {
        QFETCH(WindowLanguage, language);
        const bool english = language == WindowLanguage::English;
        const WindowTranslations translations(language, QCoreApplication::applicationDirPath());
        QVERIFY(translations.found());
        // Qt's own buttons speak the same language.
        QCOMPARE(InJapanese(QCoreApplication::translate("QPlatformTheme", "Cancel")), !english);

        RenderSettings render;
        CodecLibrary codec(ProgramFolder());
        QStringList shown;
        MainWindow window(render, codec, StandIns(shown));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(window.findChild<QAction*>(QStringLiteral("MNU_KeepWallpaper"))->isChecked());
        QCOMPARE(QFontInfo(window.controls().draw->font()).family(),
                 qEnvironmentVariable("TIDEPOOL_TEST_FONT"));
        FixedColourDialog dialog(render, MainSettings{}, nullptr, &window);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QStringList problems;
        for (QWidget* shownWindow :
             {static_cast<QWidget*>(&window), static_cast<QWidget*>(&window.preview()),
              static_cast<QWidget*>(&dialog)}) {
            Reader reader(*shownWindow, english);
            reader.readAll();
            problems << reader.problems;
        }
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(QLatin1Char('\n'))));
        dialog.close();
        // The English list names each theme as tidepool-render --theme takes it.
        for (int row = 0; english && row < window.controls().themes->count(); ++row)
            QVERIFY(cli::IsEnglishThemeName(
                row + 1, window.controls().themes->item(row)->text().toStdString()));

        // The messages and the file types, asked for as a user asks, by Enter and access keys:
        // a missing picture, the save types and a failed save, the picture types, the wallpaper.
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.controls().background[1]->setChecked(true);
        window.controls().picturePath->setText(QStringLiteral("/nonexistent/picture.bmp"));
        QTest::keyClick(window.controls().picturePath, Qt::Key_Return);
        for (const Qt::Key key : {Qt::Key_S, Qt::Key_B, Qt::Key_W})
            QTest::keyClick(&window, key, Qt::AltModifier);
        QTRY_COMPARE(shown.size(), codec.present() ? 1 + 4 + 1 + 7 + 1 : 1 + 1 + 1 + 6 + 1);
        if (!english)
            return;
        for (const QString& text : shown)
            QVERIFY2(!InJapanese(text), qPrintable(text));
        // The window's lines of the report are the command line's, for every way and reason.
        for (const std::string& line : ReportLines(UnsetWallpaper()))
            QVERIFY2(!shown.filter(QString::fromStdString(line)).isEmpty(), line.c_str());
        WallpaperReport every{{{Way::Portal, true, WayReason::None, "", "", "read back"}}};
        for (int reason = 0; reason <= static_cast<int>(WayReason::CannotStore); ++reason)
            every.tried.push_back({Way::DesktopTool, false, WayReason(reason), "t", "why", ""});
        QVERIFY(WindowReportLines(every) == ReportLines(every));
    }

    // The Japanese layout is the one its places were drawn for, with IPA Gothic.
    void japaneseWithIpaGothicKeepsEveryPlace() {
        if (qEnvironmentVariable("TIDEPOOL_TEST_FONT") != QLatin1String("IPAPGothic"))
            QSKIP("another font makes room where it needs it");
        RenderSettings render;
        CodecLibrary codec(ProgramFolder());
        QStringList shown;
        MainWindow window(render, codec, StandIns(shown));
        QCOMPARE(window.centralWidget()->size(), QSize(kMainClientWidth, kMainClientHeight));
        for (const ControlPlace& place : kMainWindowControls)
            QCOMPARE(window.findChild<QWidget*>(QString::fromUtf8(place.objectName))->geometry(),
                     QRect(place.x, place.y, place.width, place.height));
    }
};

QTEST_MAIN(WindowTextsTest)
#include "window_texts_test.moc"
