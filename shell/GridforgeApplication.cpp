#include "shell/GridforgeApplication.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

GridforgeApplication::GridforgeApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("Gridforge");

    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Japanese, QLocale::Japan), "qtbase", "_",
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);

    // The windows ask for the classic proportional gothic; use the installed
    // metric-compatible one.
    QFont::insertSubstitution("ＭＳ Ｐゴシック", "IPAPGothic");
    QFont::insertSubstitution("ＭＳ ゴシック", "IPAGothic");
    setFont(QFont("ＭＳ Ｐゴシック", 9));
}
