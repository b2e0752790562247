// Linked into every window test: when the test's QApplication starts, every font the windows ask
// for becomes the DejaVu Sans Mono shipped with the tests, so that sizes, row heights and scroll
// ranges are the same on every machine, whatever fonts it has installed.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace {

void PinTestFonts() {
    QString family;
    for (const char* file : {"DejaVuSansMono.ttf", "DejaVuSansMono-Bold.ttf"}) {
        const int id = QFontDatabase::addApplicationFont(
            QStringLiteral(TALVERON_TEST_FONT_DIR "/") + QLatin1String(file));
        if (id < 0) qFatal("cannot load the test font %s from %s", file, TALVERON_TEST_FONT_DIR);
        family = QFontDatabase::applicationFontFamilies(id).value(0);
    }
    // The generic names the windows use would otherwise go to fontconfig's choice.
    for (const char* generic : {"Sans Serif", "Serif", "Monospace"}) {
        QFont::insertSubstitution(QLatin1String(generic), family);
    }
    QApplication::setFont(QFont(family, 9));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(PinTestFonts)
