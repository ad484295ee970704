#include "shell/GridforgeApplication.h"

#include "shell/FocusFrameStyle.h"
#include "shell/KeyboardCues.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QSettings>
#include <QTranslator>

namespace {
// Where settings would go: a resource folder, which can be neither read from
// disk nor written.
const char* const NoSettingsPath = ":/no-settings";
}  // namespace

GridforgeApplication::GridforgeApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Gridforge");

    // The program keeps no settings. Qt's file dialog keeps its own (history,
    // last folder, column widths) in a file shared by Qt programs; it finds
    // none and writes none.
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, QString::fromLatin1(NoSettingsPath));

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);

    // Buttons show their text only, without the style's icons, and a clear
    // frame while they have the keyboard focus.
    setStyle(new FocusFrameStyle);
    installEventFilter(new KeyboardCues(this));

    // The windows ask for the classic proportional gothic; use the installed
    // metric-compatible one.
    QFont::insertSubstitution("ＭＳ Ｐゴシック", "IPAPGothic");
    QFont::insertSubstitution("ＭＳ ゴシック", "IPAGothic");
    setFont(QFont("ＭＳ Ｐゴシック", 9));
}
